#include "tools/replace.h"

#include "text/scan.h"
#include "text/search.h"
#include "tools/paragraphs.h"

namespace quillet::tools {

std::optional<std::string> replace_all(std::string_view document, std::string_view find, std::string_view replacement,
                                       bool match_case, std::uint64_t largest) {
  // Only a longer replacement can grow the document, by at most its growth for every place a
  // find text could fit; the occurrences are counted when that bound passes the limit.
  if (replacement.size() > find.size() && !find.empty()) {
    const std::uint64_t growth = std::uint64_t{replacement.size() - find.size()} * (document.size() / find.size());
    if (document.size() + growth > largest && text::replaced_size(document, find, replacement, match_case) > largest) {
      return std::nullopt;
    }
  } else if (document.size() > largest && text::replaced_size(document, find, replacement, match_case) > largest) {
    return std::nullopt;  // no larger than the document, which is larger than the limit already
  }
  std::string out;
  out.reserve(document.size());
  text::append_replacing_all(out, document, find, replacement, match_case);
  return out;
}

std::optional<std::string> replace_around_separator(std::string_view document, const AroundSeparator& context) {
  std::string find(context.find_before);
  if (context.separator_in_find) find += context.separator;
  find += context.find_after;
  std::string replacement(context.replace_before);
  if (context.separator_in_replacement) replacement += context.separator;
  replacement += context.replace_after;
  return replace_all(document, find, replacement, context.match_case);
}

// Replacing the pairs of adjacent line breaks again and again until none is left halves each
// run per pass and ends with one line break per run. The line breaks are ASCII, so a
// replacement never moves a character boundary, and one pass that keeps the first line break
// of every run and drops the rest gives the same text.
std::string collapse_line_breaks(std::string_view document) {
  std::string out;
  out.reserve(document.size());
  const char* copied = document.data();
  const char* end = copied + document.size();
  const auto more_breaks = [end](const char* p) { return end - p >= 2 && p[0] == '\r' && p[1] == '\n'; };
  text::LineBreaks breaks(copied, end);
  for (const char* found = breaks.next(copied); found != nullptr;) {
    const char* after = found + kLineBreak.size();
    if (more_breaks(after)) {
      out.append(copied, static_cast<std::size_t>(after - copied));
      while (more_breaks(after)) after += kLineBreak.size();
      copied = after;
    }
    found = breaks.next(after);
  }
  out.append(copied, static_cast<std::size_t>(end - copied));
  return out;
}

std::string merge_paragraphs(std::string_view document) {
  std::string out;
  out.reserve(document.size());
  for_each_paragraph(document, [&out](std::string_view paragraph) { out.append(paragraph); });
  return out;
}

}  // namespace quillet::tools
