#include "tools/paragraphs.h"

#include <algorithm>
#include <cstring>

#include "text/search.h"

namespace quillet::tools {
namespace {

// Output built in a string sized ahead and written through a cursor, for passes that append
// many short pieces of one source: a short piece of the source is copied in 16-byte strokes,
// which may read past it (never past the source's end) and write past it (into the room kept
// spare).
class Writer {
 public:
  Writer(std::size_t expected, const char* source_end, std::size_t pad = 0)
      : bytes_(expected + kSpare, '\0'), source_end_(source_end), pad_(pad) {}
  // A piece of the source.
  void copy(const char* from, std::size_t count) {
    char* to = room(count);
    if (count > 64 || source_end_ - from < static_cast<std::ptrdiff_t>(count + kSpare)) {
      std::memcpy(to, from, count);
    } else {
      for (std::size_t done = 0; done < count; done += 16) std::memcpy(to + done, from + done, 16);
    }
  }
  // Anything else.
  void put(std::string_view piece) { std::memcpy(room(piece.size()), piece.data(), piece.size()); }
  // The pad of spaces.
  void put_pad() { std::memset(room(pad_), ' ', pad_); }
  std::string take() {
    bytes_.resize(at_);
    return std::move(bytes_);
  }

 private:
  static constexpr std::size_t kSpare = 16;
  char* room(std::size_t count) {
    if (bytes_.size() - at_ < count + kSpare) bytes_.resize(2 * bytes_.size() + count + kSpare);
    char* to = bytes_.data() + at_;
    at_ += count;
    return to;
  }

  std::string bytes_;
  std::size_t at_ = 0;
  const char* source_end_;
  std::size_t pad_;
};

bool is_full_width_space(const char* p, const char* end) {
  return end - p >= 2 && static_cast<unsigned char>(p[0]) == 0xA1 && static_cast<unsigned char>(p[1]) == 0xA1;
}

// The end of the spaces starting at p, a character boundary.
const char* skip_spaces(const char* p, const char* end) {
  for (;;) {
    if (p < end && *p == ' ') {
      p += 1;
    } else if (is_full_width_space(p, end)) {
      p += 2;
    } else {
      return p;
    }
  }
}

// A document rebuilt paragraph by paragraph, where most paragraphs come out as they went in:
// the stretches that do not change are copied whole, not a paragraph at a time.
class Rebuilt {
 public:
  explicit Rebuilt(std::string_view document) : copied_(document.data()), end_(document.data() + document.size()) {
    out_.reserve(document.size() + kLineBreak.size());
  }
  // Everything before cut is copied; what lies in [cut, resume) is left out.
  void leave_out(const char* cut, const char* resume) {
    out_.append(copied_, static_cast<std::size_t>(cut - copied_));
    copied_ = resume;
  }
  // The rest, and the line break that every paragraph ends with when the last one had none.
  std::string finish(bool last_paragraph_unended) {
    out_.append(copied_, static_cast<std::size_t>(end_ - copied_));
    if (last_paragraph_unended) out_.append(kLineBreak);
    return std::move(out_);
  }

 private:
  std::string out_;
  const char* copied_;
  const char* end_;
};

// Applies cut(paragraph) -> the part to keep, a view inside it, to every paragraph.
template <class Cut>
std::string rebuild_paragraphs(std::string_view document, Cut&& cut) {
  Rebuilt rebuilt(document);
  const char* end = document.data() + document.size();
  bool unended = false;
  for_each_paragraph(document, [&](std::string_view paragraph) {
    const std::string_view kept = cut(paragraph);
    const char* paragraph_end = paragraph.data() + paragraph.size();
    if (kept.data() != paragraph.data()) rebuilt.leave_out(paragraph.data(), kept.data());
    if (kept.data() + kept.size() != paragraph_end) rebuilt.leave_out(kept.data() + kept.size(), paragraph_end);
    unended = paragraph_end == end;
  });
  return rebuilt.finish(unended);
}

// Only the last paragraph can end in a lone lead byte (anywhere else the byte after it would
// be the line break's CR, which it would take as its trail), so a paragraph whose last byte
// cannot end a space needs no closer look.
std::string_view without_trailing(std::string_view paragraph, const char* document_end) {
  if (paragraph.empty()) return paragraph;
  const auto last = static_cast<unsigned char>(paragraph.back());
  if (last != ' ' && last != 0xA1 && paragraph.data() + paragraph.size() != document_end) return paragraph;
  return text::without_trailing_spaces(paragraph);
}

}  // namespace

std::optional<std::string> split_at(std::string_view document, std::string_view separator, std::uint64_t largest) {
  const std::uint64_t size = document.size();
  if (document.empty()) return std::string();
  if (separator.empty()) {
    if (size + kLineBreak.size() > largest) return std::nullopt;
    return std::string(document) + "\r\n";
  }
  // Each separator becomes a line break, so only a one-byte separator makes the text grow, by a
  // byte a piece; the pieces are counted when the most it could grow passes the limit.
  const std::uint64_t most = separator.size() == 1 ? 2 * size + kLineBreak.size() : size + kLineBreak.size();
  if (most > largest) {
    std::uint64_t exact = 0;
    for_each_piece(document, separator, [&exact](std::string_view piece) { exact += piece.size() + kLineBreak.size(); });
    if (exact > largest) return std::nullopt;
  }
  std::string out;
  out.reserve(document.size() + document.size() / 8 + kLineBreak.size());
  for_each_piece(document, separator, [&out](std::string_view piece) {
    out.append(piece);
    out.append(kLineBreak);
  });
  return out;
}

namespace {

// The size of what a Writer would be handed, without the bytes.
class SizeCounter {
 public:
  explicit SizeCounter(std::uint64_t pad) : pad_(pad) {}
  void copy(const char*, std::size_t count) { size_ += count; }
  void put(std::string_view piece) { size_ += piece.size(); }
  void put_pad() { size_ += pad_; }
  std::uint64_t size() const { return size_; }

 private:
  std::uint64_t pad_;
  std::uint64_t size_ = 0;
};

// One pass that removes the spaces and cuts the paragraphs of what is left, handing out what
// the result is made of (out.copy for pieces of the document, out.put for line breaks,
// out.put_pad for a paragraph's spaces). A CR starts a line break when the next character that
// is not a space is an LF: the spaces between them go, and the two meet.
template <class Out>
void indent_into(Out& out, std::string_view document) {
  bool owes_pad = true;       // the current paragraph's pad is not written yet
  bool in_paragraph = false;  // text of the current paragraph was written
  const auto write = [&](const char* from, const char* to) {
    if (from == to) return;
    if (owes_pad) out.put_pad();
    owes_pad = false;
    in_paragraph = true;
    out.copy(from, static_cast<std::size_t>(to - from));
  };

  const char* end = document.data() + document.size();
  const char* copied = document.data();
  // Spaces and line breaks are whole characters: with them gone, the characters of the rest
  // are the ones a scan from the start sees, so the places that matter can be marked a block at
  // a time.
  for (text::BlockScanner scanner(copied, end); !scanner.done(); scanner.advance()) {
    const char* block = scanner.block();
    std::uint64_t places = (scanner.equal(' ') | scanner.equal('\r') | (scanner.equal(0xA1) & scanner.followed_by(0xA1))) &
                           ~scanner.trails();
    // Drops the places that what was handled has passed over.
    const auto passed = [&] {
      if (copied > block) places &= copied - block >= 64 ? 0 : ~std::uint64_t{0} << (copied - block);
    };
    for (passed(); places != 0; passed()) {
      const char* p = block + __builtin_ctzll(places);
      places &= places - 1;
      if (*p != '\r') {
        write(copied, p);
        copied = skip_spaces(p, end);
        continue;
      }
      const char* after = skip_spaces(p + 1, end);
      if (after == end || *after != '\n') continue;  // a CR of its own
      if (owes_pad) out.put_pad();  // an empty paragraph has its pad too
      if (after == p + 1) {
        out.copy(copied, static_cast<std::size_t>(after + 1 - copied));  // with its line break
      } else {
        out.copy(copied, static_cast<std::size_t>(p - copied));
        out.put(kLineBreak);
      }
      owes_pad = true;
      in_paragraph = false;
      copied = after + 1;
    }
  }
  write(copied, text::ends_with_lone_lead(copied, end) ? end - 1 : end);
  if (in_paragraph) out.put(kLineBreak);
}

}  // namespace

std::optional<std::string> indent_paragraphs(std::string_view document, std::int32_t spaces, std::uint64_t largest) {
  const std::uint64_t pad = spaces > 0 ? static_cast<std::uint64_t>(spaces) : 0;
  // Every line break ends in an LF, so there are at most that many paragraphs and one more, each
  // with its pad and a line break; past the limit, the result is measured exactly first.
  const std::uint64_t paragraphs = static_cast<std::uint64_t>(std::count(document.begin(), document.end(), '\n')) + 1;
  const std::uint64_t most = document.size() + paragraphs * (pad + kLineBreak.size());
  // Room for a paragraph every 16 bytes, within the most it can be.
  std::uint64_t expected = std::min(most, document.size() + document.size() / 16 * (pad + 2) + pad + 2);
  if (most > largest) {
    SizeCounter counted(pad);
    indent_into(counted, document);
    if (counted.size() > largest) return std::nullopt;
    expected = counted.size();
  }
  Writer out(static_cast<std::size_t>(expected), document.data() + document.size(), static_cast<std::size_t>(pad));
  indent_into(out, document);
  return out.take();
}

std::string delete_spaces(std::string_view document, SpacesToDelete which) {
  const char* end = document.data() + document.size();
  switch (which) {
    case SpacesToDelete::All: {
      std::string out;
      out.reserve(document.size());
      text::append_without_spaces(out, document);
      return out;
    }
    case SpacesToDelete::Leading:
      return rebuild_paragraphs(document, text::without_leading_spaces);
    case SpacesToDelete::Trailing:
      return rebuild_paragraphs(document, [end](std::string_view p) { return without_trailing(p, end); });
    case SpacesToDelete::BothEnds:
      return rebuild_paragraphs(document,
                                [end](std::string_view p) { return without_trailing(text::without_leading_spaces(p), end); });
  }
  return std::string(document);
}

}  // namespace quillet::tools
