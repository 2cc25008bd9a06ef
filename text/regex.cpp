#include "text/regex.h"

#include "text/regex_config.h"
#include "text/text_builder.h"

namespace quillet::text {
namespace {

// Pathological patterns (nested or many unbounded repeats) can backtrack for minutes over a
// large text: Boost's own complexity limit grows with the square of the text length, so it
// does not bind on documents of a megabyte. The search therefore walks the text through an
// iterator that counts every step and gives up, like the library's own limit, by throwing
// once a budget proportional to the text is spent. Ordinary patterns take a few steps per
// byte; the budget allows far more.
thread_local std::int64_t steps_left = 0;

constexpr std::int64_t kBaseSteps = 50'000'000;
constexpr std::int64_t kStepsPerByte = 64;

struct SearchBudgetSpent {};

class CountingIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator() = default;
  explicit CountingIterator(const char* p) : p_(p) {}
  const char* base() const { return p_; }

  reference operator*() const { return *p_; }
  reference operator[](difference_type n) const { return p_[n]; }
  CountingIterator& operator++() { return step(1); }
  CountingIterator& operator--() { return step(-1); }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    step(1);
    return before;
  }
  CountingIterator operator--(int) {
    CountingIterator before = *this;
    step(-1);
    return before;
  }
  CountingIterator& operator+=(difference_type n) { return step(n); }
  CountingIterator& operator-=(difference_type n) { return step(-n); }
  friend CountingIterator operator+(CountingIterator it, difference_type n) { return it += n; }
  friend CountingIterator operator+(difference_type n, CountingIterator it) { return it += n; }
  friend CountingIterator operator-(CountingIterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(CountingIterator a, CountingIterator b) { return a.p_ - b.p_; }
  friend auto operator<=>(CountingIterator a, CountingIterator b) = default;

 private:
  // A jump costs one step: only walking, which is where backtracking spends its time, adds up.
  CountingIterator& step(difference_type n) {
    if (--steps_left < 0) throw SearchBudgetSpent{};
    p_ += n;
    return *this;
  }
  const char* p_ = nullptr;
};

struct RegexObject {
  std::optional<Expression> expression;  // empty until a pattern compiles
};

struct SearchResultObject {
  SearchResultEntries entries;
};

RegexObject* regex_of(const ValueRecord& record) {
  ObjectCell* cell = object_cell(record);
  return cell != nullptr ? static_cast<RegexObject*>(cell->object) : nullptr;
}

// A SearchResult cell may be a full object cell or the pointer-sized cell of an array element:
// only its first word, the object pointer, is read or written.
SearchResultObject* search_result_of(const ValueRecord& record) {
  auto* cell = static_cast<void**>(pointer_value(record));
  return cell != nullptr ? static_cast<SearchResultObject*>(*cell) : nullptr;
}

void* new_result_cell(const boost::match_results<CountingIterator>& match, const char* buffer) {
  auto* object = new SearchResultObject;
  object->entries.reserve(match.size());
  for (std::size_t group = 0; group < match.size(); ++group) {
    const auto& sub = match[static_cast<int>(group)];
    object->entries.push_back({sub.matched ? static_cast<std::int32_t>(sub.first.base() - buffer) : 0,
                               sub.matched ? static_cast<std::int32_t>(sub.length()) : 0, sub.matched});
  }
  auto* cell = static_cast<void**>(runtime::allocate(sizeof(void*)));
  *cell = object;
  return cell;
}

// Pulls the text of one group out of the searched text; writes the start variable only for a
// group that took part in the match.
void group_text(ValueRecord* result, const ValueRecord& cell, std::string_view text, std::int32_t group,
                const ValueRecord* start_variable) {
  const SearchResultObject* object = search_result_of(cell);
  if (object == nullptr || group < 0 || static_cast<std::size_t>(group) >= object->entries.size()) return;
  const MatchGroup& entry = object->entries[static_cast<std::size_t>(group)];
  if (!entry.matched) return;
  if (start_variable != nullptr) {
    if (auto* variable = static_cast<std::int32_t*>(pointer_value(*start_variable))) *variable = entry.start;
  }
  if (entry.start < 0 || static_cast<std::size_t>(entry.start) > text.size()) return;
  return_text(result, make_text(text.substr(static_cast<std::size_t>(entry.start), static_cast<std::size_t>(entry.length))));
}

}  // namespace

void RegexConstruct(ValueRecord*, std::int32_t, ValueRecord* args) {
  ObjectCell* cell = object_cell(args[0]);
  cell->object = new RegexObject;
  cell->constructed = 1;
}

void RegexDestroy(ValueRecord*, std::int32_t, ValueRecord* args) {
  ObjectCell* cell = object_cell(args[0]);
  delete static_cast<RegexObject*>(cell->object);
  cell->object = nullptr;
  cell->constructed = 0;
}

void Create(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  RegexObject* regex = regex_of(args[0]);
  if (regex == nullptr) return;
  const std::string_view pattern = text_argument(args[1]);
  boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
  if (!optional_bool(count, args, 2).value_or(true)) flags |= boost::regex_constants::icase;
  try {
    Expression compiled(pattern.data(), pattern.data() + pattern.size(), flags);
    regex->expression = std::move(compiled);
    return_bool(result, true);
  } catch (...) {
    // A rejected pattern leaves the expression compiled before, if any.
  }
}

// Each further search starts where the previous match ended, with that position as the
// beginning of the text: ^ and \A match there and nothing before it is looked at. An empty
// match is reported and then ends the search: at offset 0 that is the rule, and elsewhere the
// next search would find the same empty match again.
void SearchAll(ValueRecord* result, std::int32_t, ValueRecord* args) {
  TextBuilder cells;
  const RegexObject* regex = regex_of(args[0]);
  const std::string buffer(text_argument(args[1]));
  if (regex != nullptr && regex->expression && !buffer.empty()) {
    const char* begin = buffer.data();
    const CountingIterator end(begin + buffer.size());
    CountingIterator from(begin);
    steps_left = kBaseSteps + kStepsPerByte * static_cast<std::int64_t>(buffer.size());
    try {
      boost::match_results<CountingIterator> match;
      while (boost::regex_search(from, end, match, *regex->expression, boost::match_default)) {
        cells.append_pointer(new_result_cell(match, begin));
        if (match[0].length() == 0) break;
        from = match[0].second;
      }
    } catch (...) {
      // Too complex, over budget, out of memory: keep the matches found so far.
    }
  }
  return_array(result, cells.take_block_array());
}

void SearchResultDestroy(ValueRecord*, std::int32_t, ValueRecord* args) {
  auto* cell = static_cast<void**>(pointer_value(args[0]));
  if (cell == nullptr) return;
  delete static_cast<SearchResultObject*>(*cell);
  *cell = nullptr;
}

void MatchText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  group_text(result, args[0], text_argument(args[1]), 0, given_argument(count, args, 2));
}

void SubMatchText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  group_text(result, args[0], text_argument(args[1]), int_value(args[2]), given_argument(count, args, 3));
}

const SearchResultEntries& search_result_entries(const void* search_result) {
  return static_cast<const SearchResultObject*>(search_result)->entries;
}

RegexVariable::RegexVariable() { invoke(RegexConstruct, record()); }
RegexVariable::~RegexVariable() { invoke(RegexDestroy, record()); }

void ReleaseSearchResults::operator()(void* array) const {
  if (array == nullptr) return;
  for (std::size_t i = 0; i < array_element_count(array); ++i) invoke(SearchResultDestroy, call::search_result(array, i));
  release_block_array(array);
}

}  // namespace quillet::text
