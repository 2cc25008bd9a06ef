// Fuzzes (pattern, text) pairs: whatever the library does, every reported match lies inside the
// text, every group inside its match, matches come in order, and the search always ends; and
// a search that skips to the bytes that can begin a match finds what asking everywhere finds.
#include <string>
#include <vector>

#include "text/fuzz_input.h"
#include "text/regex.h"
#include "text/regex_config.h"
#include "text/text_test_support.h"

using namespace quillet::text;
using fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input input(data, size);
  const std::string pattern = input.next_text();
  const std::string text = input.next_text();
  RegexVariable regex;
  if (!call::create(regex, pattern.c_str(), !input.flag(0))) return 0;
  OwnedSearchResults results = call::search_all(regex, text.c_str());
  std::int32_t previous_end = 0;
  for (std::size_t i = 0; i < array_element_count(results.get()); ++i) {
    const ValueRecord cell = call::search_result(results.get(), i);
    const SearchResultEntries& entries = search_result_entries(*static_cast<void**>(pointer_value(cell)));
    check(!entries.empty() && entries[0].matched);
    const MatchGroup& whole = entries[0];
    check(whole.start >= previous_end && whole.length >= 0);
    check(static_cast<std::size_t>(whole.start) + static_cast<std::size_t>(whole.length) <= text.size());
    for (const MatchGroup& group : entries) {
      if (!group.matched) continue;
      // A group may lie before the match start only through look-behind, which the fresh start
      // of each continued search rules out; look-ahead may reach past the match end.
      check(group.start >= 0 && static_cast<std::size_t>(group.start) + static_cast<std::size_t>(group.length) <= text.size());
    }
    std::int32_t start = -1;
    OwnedText whole_text = call::match_text(cell, text.c_str(), &start);
    check(start == whole.start && text_length(whole_text.get()) == static_cast<std::size_t>(whole.length));
    previous_end = whole.start + whole.length;
  }

  const bool case_sensitive = !input.flag(0);
  const RegexMatches found = find_all_matches(pattern, case_sensitive, text);
  if (!found.complete || text.empty()) return 0;
  boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
  if (!case_sensitive) flags |= boost::regex_constants::icase;
  std::vector<MatchSpan> everywhere;
  try {
    const Expression expression(pattern.data(), pattern.data() + pattern.size(), flags);
    const char* from = text.data();
    boost::match_results<const char*> match;
    while (boost::regex_search(from, text.data() + text.size(), match, expression, boost::match_default)) {
      everywhere.push_back({static_cast<std::size_t>(match[0].first - text.data()), static_cast<std::size_t>(match[0].length())});
      if (match[0].length() == 0) break;
      from = match[0].second;
    }
  } catch (...) {
    return 0;  // too complex when asked everywhere: nothing to compare
  }
  check(found.spans == everywhere);
  return 0;
}
