#include "tools/generators.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "text/conversion.h"
#include "tools/limits.h"
#include "tools/paragraphs.h"

namespace quillet::tools {
namespace {

constexpr std::string_view kPairSeparator = "\xA1\xAA\xA1\xAA\xA1\xAA\xA1\xAA";  // ————

// Decimal digits of a number of 0 or more.
std::uint64_t digit_count(std::uint64_t value) {
  std::uint64_t digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// The digits of every number in [low, high], both 0 or more.
std::uint64_t digits_from(std::uint64_t low, std::uint64_t high) {
  std::uint64_t total = 0;
  for (std::uint64_t decade_start = low; decade_start <= high;) {
    const std::uint64_t digits = digit_count(decade_start);
    std::uint64_t decade_end = 9;  // the largest number with these digits
    for (std::uint64_t d = 1; d < digits; ++d) decade_end = decade_end * 10 + 9;
    const std::uint64_t last = std::min(decade_end, high);
    total += (last - decade_start + 1) * digits;
    decade_start = last + 1;
  }
  return total;
}

// The bytes of every number in [low, high] as written, minus signs included.
std::uint64_t written_size(std::int64_t low, std::int64_t high) {
  if (low > high) return 0;
  if (low >= 0) return digits_from(static_cast<std::uint64_t>(low), static_cast<std::uint64_t>(high));
  const std::int64_t negative_high = std::min<std::int64_t>(high, -1);
  const std::uint64_t negatives = static_cast<std::uint64_t>(negative_high - low + 1);
  std::uint64_t total = negatives + digits_from(static_cast<std::uint64_t>(-negative_high), static_cast<std::uint64_t>(-low));
  if (high >= 0) total += digits_from(0, static_cast<std::uint64_t>(high));
  return total;
}

// The running numbers of a run of lines, first_number counting up as a double would.
class RunningNumber {
 public:
  explicit RunningNumber(std::int64_t first) : next_(first) {}
  void put_next(std::string& out) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, next_++);
    out.append(digits, written.ptr);
  }

 private:
  std::int64_t next_;
};

// The size of count lines of the parts with extra bytes besides; none past the limit.
std::optional<std::uint64_t> lines_size(const LineParts& parts, std::uint64_t count, std::uint64_t extra) {
  const std::uint64_t size = numbered_lines_size(parts, count) + extra;
  if (size > kLargestDocument) return std::nullopt;
  return size;
}

// The kind's draw, then the character's draw in the range of that kind. The three candidates
// are all worked out and one is picked, as the kind is a coin toss no branch can predict.
char random_character(text::RandomDraws& draws, CharacterKind kind) {
  const std::int32_t kind_drawn = kind == CharacterKind::Letters ? draws.draw(1, 2) : draws.draw(1, 3);
  const std::uint32_t drawn = draws.next();
  const char upper = static_cast<char>('A' + drawn % 26), lower = static_cast<char>('a' + drawn % 26);
  const char digit = static_cast<char>('0' + drawn % 10);
  return kind_drawn == 1 ? upper : kind_drawn == 2 ? lower : digit;
}

// The longest text the rule can make.
std::uint64_t longest_under(const RandomTextRule& rule) {
  if (rule.choice == LengthChoice::FixedContent) return rule.content.size();
  const std::int32_t length =
      rule.choice == LengthChoice::Fixed ? rule.length : text::largest_random_number(rule.shortest, rule.longest);
  return static_cast<std::uint64_t>(std::max(length, rule.letter_first ? 1 : 0));
}

// count texts under the rule, one after another, with where each ends.
struct TextList {
  std::string bytes;
  std::vector<std::size_t> ends;
  std::string_view at(std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : ends[i - 1];
    return std::string_view(bytes).substr(start, ends[i] - start);
  }
};

TextList texts_under(const RandomTextRule& rule, std::size_t count) {
  TextList list;
  list.bytes.reserve(count * longest_under(rule));  // within the limit, checked before
  list.ends.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    list.bytes += random_text_under(rule);
    list.ends.push_back(list.bytes.size());
  }
  return list;
}

}  // namespace

std::uint64_t numbered_lines_size(const LineParts& parts, std::uint64_t count) {
  std::uint64_t size = count * (parts.left.size() + parts.right.size() + kLineBreak.size());
  if (parts.numbered && count > 0) {
    const std::int64_t first = parts.first_number;
    size += written_size(first, first + static_cast<std::int64_t>(count) - 1);
  }
  return size;
}

std::optional<std::string> numbered_lines(const LineParts& parts, std::int32_t count) {
  const std::uint64_t lines = static_cast<std::uint64_t>(std::max(count, 0));
  const std::optional<std::uint64_t> size = lines_size(parts, lines, 0);
  if (!size) return std::nullopt;
  std::string out;
  out.reserve(*size);
  RunningNumber number(parts.first_number);
  for (std::uint64_t i = 0; i < lines; ++i) {
    out += parts.left;
    if (parts.numbered) number.put_next(out);
    out += parts.right;
    out += kLineBreak;
  }
  return out;
}

std::optional<std::string> insert_in_paragraphs(std::string_view document, Placement placement,
                                                const LineParts& parts) {
  std::uint64_t paragraphs = 0, paragraph_bytes = 0;
  for_each_paragraph(document, [&](std::string_view paragraph) {
    ++paragraphs;
    paragraph_bytes += paragraph.size();
  });
  const std::optional<std::uint64_t> size = lines_size(parts, paragraphs, paragraph_bytes);
  if (!size) return std::nullopt;
  std::string out;
  out.reserve(*size);
  RunningNumber number(parts.first_number);
  for_each_paragraph(document, [&](std::string_view paragraph) {
    if (placement == Placement::AfterParagraphs) out += paragraph;
    out += parts.left;
    if (parts.numbered) number.put_next(out);
    out += parts.right;
    if (placement == Placement::BeforeParagraphs) out += paragraph;
    out += kLineBreak;
  });
  return out;
}

std::string random_text(std::int32_t length, CharacterKind kind) {
  text::set_random_seed(std::nullopt);
  std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
  text::RandomDraws draws;
  for (char& c : out) c = random_character(draws, kind);
  return out;
}

std::string random_text_under(const RandomTextRule& rule) {
  if (rule.choice == LengthChoice::FixedContent) return std::string(rule.content);
  const std::int32_t length =
      rule.choice == LengthChoice::Fixed ? rule.length : text::random_number(rule.shortest, rule.longest);
  if (!rule.letter_first) return random_text(length, CharacterKind::LettersOrDigits);
  std::string out = random_text(1, CharacterKind::Letters);
  out += random_text(length > 0 ? length - 1 : 0, CharacterKind::LettersOrDigits);
  return out;
}

std::optional<std::string> accounts_and_passwords(const RandomTextRule& account, const RandomTextRule& password,
                                                  std::int32_t count) {
  const std::size_t pairs = static_cast<std::size_t>(std::max(count, 0));
  const std::uint64_t largest =
      pairs * (longest_under(account) + kPairSeparator.size() + longest_under(password) + kLineBreak.size());
  if (largest > kLargestDocument) return std::nullopt;
  text::set_random_seed(std::nullopt);
  const TextList accounts = texts_under(account, pairs);
  const TextList passwords = texts_under(password, pairs);
  std::string out;
  out.reserve(accounts.bytes.size() + passwords.bytes.size() + pairs * (kPairSeparator.size() + kLineBreak.size()));
  for (std::size_t i = 0; i < pairs; ++i) {
    out += accounts.at(i);
    out += kPairSeparator;
    out += passwords.at(i);
    out += kLineBreak;
  }
  return out;
}

}  // namespace quillet::tools
