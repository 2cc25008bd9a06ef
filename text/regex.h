// Regular expressions: the regex object (one compiled expression) and the SearchResult object
// (the groups of one match), used through object cells and the calling frame.
//
// Double-byte contract: the library sees every byte as one character, so a double-byte
// character is two characters to it; a literal double-byte character in a pattern matches the
// same two bytes, while "." or a class can match half of one. All offsets are 0-based bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "text/call_frame.h"

namespace quillet::text {

// One entry per group of the pattern, group 0 being the whole match.
struct MatchGroup {
  std::int32_t start;
  std::int32_t length;
  bool matched;
};
using SearchResultEntries = std::vector<MatchGroup>;

void RegexConstruct(ValueRecord* result, std::int32_t count, ValueRecord* args);         // cell
void RegexDestroy(ValueRecord* result, std::int32_t count, ValueRecord* args);           // cell
void Create(ValueRecord* result, std::int32_t count, ValueRecord* args);                 // cell, pattern, [case-sensitive]
void SearchAll(ValueRecord* result, std::int32_t count, ValueRecord* args);              // cell, text
void SearchResultDestroy(ValueRecord* result, std::int32_t count, ValueRecord* args);    // cell
void MatchText(ValueRecord* result, std::int32_t count, ValueRecord* args);              // cell, text, [start variable]
void SubMatchText(ValueRecord* result, std::int32_t count, ValueRecord* args);           // cell, text, group, [start variable]

// Every match SearchAll finds, as spans of the text, for callers outside the calling frame: the
// pattern compiled with the case rule as Create compiles it. complete is false when the search
// gave up on the pattern's complexity; the spans found until then are kept.
struct MatchSpan {
  std::size_t start;
  std::size_t length;
  bool operator==(const MatchSpan&) const = default;
};
struct RegexMatches {
  bool compiled = false;
  bool complete = true;
  std::vector<MatchSpan> spans;
};
RegexMatches find_all_matches(std::string_view pattern, bool case_sensitive, std::string_view text);

// The entries of a SearchResult, for code that reads them directly (tests, the fuzzer).
const SearchResultEntries& search_result_entries(const void* search_result);

// The application's side: a regex variable, and the owned result of SearchAll, which destroys
// each SearchResult and then releases the array.
class RegexVariable {
 public:
  RegexVariable();
  ~RegexVariable();
  RegexVariable(const RegexVariable&) = delete;
  RegexVariable& operator=(const RegexVariable&) = delete;
  ValueRecord record() { return object_record(&cell_, type_code::kRegex); }

 private:
  ObjectCell cell_{};
};

struct ReleaseSearchResults {
  void operator()(void* array) const;
};
using OwnedSearchResults = std::unique_ptr<void, ReleaseSearchResults>;

namespace call {
inline bool create(RegexVariable& regex, const char* pattern, std::optional<bool> case_sensitive = {}) {
  return bool_value(invoke(Create, regex.record(), pattern, case_sensitive));
}
inline OwnedSearchResults search_all(RegexVariable& regex, const char* text) {
  return OwnedSearchResults(pointer_value(invoke(SearchAll, regex.record(), text)));
}
// The cell of the i-th SearchResult of a SearchAll result.
inline ValueRecord search_result(void* results, std::size_t index) {
  return pointer_record(static_cast<void**>(array_elements(results))[index], type_code::kSearchResult);
}
inline OwnedText match_text(const ValueRecord& search_result, const char* text, std::int32_t* start = nullptr) {
  return take_text(invoke(MatchText, search_result, text, start ? int_variable_record(start) : omitted()));
}
inline OwnedText sub_match_text(const ValueRecord& search_result, const char* text, std::int32_t group,
                                std::int32_t* start = nullptr) {
  return take_text(invoke(SubMatchText, search_result, text, group, start ? int_variable_record(start) : omitted()));
}
}  // namespace call

}  // namespace quillet::text
