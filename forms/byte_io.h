// Little-endian reading and writing of the form description block's fields: 32-bit words,
// counted strings and blobs (a 32-bit byte count, then the bytes) and terminated strings.
// The reader never reads past its end: a short block sets failed() and yields zeros and empty
// strings from then on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet::forms {

class ByteWriter {
 public:
  void word(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>(value >> (8 * i)));
  }
  void signed_word(std::int32_t value) { word(static_cast<std::uint32_t>(value)); }
  void half_word(std::uint16_t value) {
    bytes_.push_back(static_cast<char>(value));
    bytes_.push_back(static_cast<char>(value >> 8));
  }
  void counted(std::string_view text) {
    word(static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
  }
  void terminated(std::string_view text) {
    bytes_.append(text);
    bytes_.push_back('\0');
  }
  void raw(std::string_view bytes) { bytes_.append(bytes); }
  void zeros(std::size_t count) { bytes_.append(count, '\0'); }

  std::size_t size() const { return bytes_.size(); }
  const std::string& bytes() const { return bytes_; }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint32_t word() {
    if (!have(4)) return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return value;
  }
  std::int32_t signed_word() { return static_cast<std::int32_t>(word()); }
  std::uint16_t half_word() {
    if (!have(2)) return 0;
    const auto value = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes_[pos_]) |
                                                  static_cast<unsigned char>(bytes_[pos_ + 1]) << 8);
    pos_ += 2;
    return value;
  }
  std::string counted() { return std::string(take(word())); }
  std::string terminated() {
    const std::size_t end = bytes_.find('\0', pos_);
    if (end == std::string_view::npos) {
      failed_ = true;
      pos_ = bytes_.size();
      return {};
    }
    std::string text(bytes_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return text;
  }
  std::string_view take(std::size_t count) {
    if (!have(count)) return {};
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }
  void skip(std::size_t count) { take(count); }

  bool at_end() const { return pos_ >= bytes_.size(); }
  bool failed() const { return failed_; }
  std::size_t position() const { return pos_; }
  std::string_view rest() const { return bytes_.substr(pos_); }

 private:
  bool have(std::size_t count) {
    if (failed_ || bytes_.size() - pos_ < count) {
      failed_ = true;
      return false;
    }
    return true;
  }
  std::string_view bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace quillet::forms
