#include "text/regex.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "text/regex_config.h"
#include "text/clock.h"
#include "text/regex_start.h"
#include "text/text_builder.h"

namespace quillet::text {
namespace {

// Pathological patterns (nested or many unbounded repeats) can backtrack for minutes over a
// large text: Boost's own complexity limit grows with the square of the text length, so it
// does not bind on documents of a megabyte. The search therefore walks the text through an
// iterator that counts every step and gives up, like the library's own limit, by throwing
// once a budget proportional to the text is spent. Ordinary patterns take a few steps per
// byte; the budget allows far more.
constexpr std::int64_t kBaseSteps = 50'000'000;
constexpr std::int64_t kStepsPerByte = 64;
// A search that recurses spends its time in the library's own bookkeeping, where the text is
// not walked (below). As a last bound, the search also gives up once it has run for longer
// than its budget is worth at a generous rate (a step takes some 20 ns where it is dearest): 1.5
// seconds, and 40 ns for each step the text's length adds. An ordinary pattern never comes near.
constexpr std::uint32_t kBaseMilliseconds = 1500;
constexpr std::int64_t kStepsPerMillisecond = 25'000;

struct SearchBudgetSpent {};

// The search running on this thread, for what the library does without walking the text: a
// pattern that recurses ((?R), (?1), (?&name)) can try its alternatives at one place for
// minutes. Each level of recursion copies the match found so far through the match's allocator
// and keeps the copy while it lasts, and entering a level looks back over the levels entered
// before; so each allocation is charged a few steps and one more for every copy still held, and
// is where the clock is read.
struct ChargedSearch {
  std::int64_t* budget = nullptr;
  std::int64_t held = 0;  // blocks allocated and not yet given back
  std::uint32_t started_ms = 0;
  std::uint32_t allowed_ms = 0;
  bool overrun() const { return tick_count_ms() - started_ms > allowed_ms; }
};
thread_local ChargedSearch current_search;
constexpr std::int64_t kStepsPerCopy = 16;
constexpr std::int64_t kStepsBetweenClockReadings = 1 << 14;


// Walks the text and spends one step of its search's budget per move. The budget is the
// search's own, reached through a pointer that every copy of the iterator carries.
class CountingIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator() = default;
  CountingIterator(const char* p, std::int64_t* budget) : p_(p), budget_(budget) {}
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
  friend bool operator==(CountingIterator a, CountingIterator b) { return a.p_ == b.p_; }
  friend auto operator<=>(CountingIterator a, CountingIterator b) { return a.p_ <=> b.p_; }

 private:
  // A jump costs one step: only walking, which is where backtracking spends its time, adds up.
  CountingIterator& step(difference_type n) {
    if (budget_ != nullptr && (--*budget_ < 0 || ((*budget_ & (kStepsBetweenClockReadings - 1)) == 0 && current_search.overrun()))) {
      throw SearchBudgetSpent{};
    }
    p_ += n;
    return *this;
  }
  const char* p_ = nullptr;
  std::int64_t* budget_ = nullptr;
};

template <class T>
struct ChargingAllocator {
  using value_type = T;
  using propagate_on_container_copy_assignment = std::true_type;
  ChargingAllocator() = default;
  template <class U>
  ChargingAllocator(const ChargingAllocator<U>&) {}
  T* allocate(std::size_t n) {
    ChargedSearch& search = current_search;
    if (search.budget != nullptr && ((*search.budget -= kStepsPerCopy + search.held) < 0 || search.overrun())) {
      throw SearchBudgetSpent{};
    }
    T* block = std::allocator<T>().allocate(n);
    ++search.held;
    return block;
  }
  void deallocate(T* p, std::size_t n) {
    --current_search.held;
    std::allocator<T>().deallocate(p, n);
  }
  friend bool operator==(const ChargingAllocator&, const ChargingAllocator&) { return true; }
};

using Match = boost::match_results<CountingIterator, ChargingAllocator<boost::sub_match<CountingIterator>>>;

// Makes the search's budget the one its allocations are charged to, for as long as it runs.
class ChargedTo {
 public:
  explicit ChargedTo(std::int64_t* budget)
      : previous_(std::exchange(current_search,
                                ChargedSearch{budget, 0, tick_count_ms(),
                                              kBaseMilliseconds + static_cast<std::uint32_t>(std::min<std::int64_t>(
                                                                      (*budget - kBaseSteps) / kStepsPerMillisecond,
                                                                      std::int64_t{1} << 30))})) {}
  ~ChargedTo() { current_search = previous_; }
  ChargedTo(const ChargedTo&) = delete;
  ChargedTo& operator=(const ChargedTo&) = delete;

 private:
  ChargedSearch previous_;
};

// The first place in [p, end) whose byte is in the set, or end.
const char* next_start(const char* p, const char* end, const std::array<bool, 256>& starts, int only_byte) {
  if (only_byte >= 0) {
    const void* found = std::memchr(p, only_byte, static_cast<std::size_t>(end - p));
    return found != nullptr ? static_cast<const char*>(found) : end;
  }
  while (p < end && !starts[static_cast<unsigned char>(*p)]) ++p;
  return p;
}

// The search loop of SearchAll: each further search starts where the previous match ended,
// with that position as the beginning of the text (^ and \A match there, and nothing before it
// is looked at). An empty match is reported and then ends the search: at offset 0 that is the
// rule, and elsewhere the next search would find the same empty match again. found(match) is
// called for each match; false when the search gave up (too complex, over budget, out of
// memory) after the matches found so far.
//
// When the bytes that can begin a match are known, the library is asked for a match only
// where such a byte stands, anchored there with the beginning of the text where it would have
// been: the leftmost match it would have found by trying every place from there.
template <class Found>
bool each_match(const Expression& expression, const std::optional<ByteSet>& start_bytes, std::string_view text,
                Found&& found) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  std::int64_t budget = kBaseSteps + kStepsPerByte * static_cast<std::int64_t>(text.size());
  const CountingIterator last(end, &budget);
  const ChargedTo charged(&budget);
  Match match;
  try {
    if (!start_bytes) {
      CountingIterator from(begin, &budget);
      while (boost::regex_search(from, last, match, expression, boost::match_default)) {
        found(match);
        if (match[0].length() == 0) break;
        from = match[0].second;
      }
      return true;
    }
    std::array<bool, 256> starts{};
    int only_byte = -1;
    for (int b = 0; b < 256; ++b) {
      starts[static_cast<std::size_t>(b)] = start_bytes->test(static_cast<std::size_t>(b));
      if (starts[static_cast<std::size_t>(b)]) only_byte = start_bytes->count() == 1 ? b : -1;
    }
    const char* from = begin;
    for (const char* p = next_start(from, end, starts, only_byte); p < end; p = next_start(p, end, starts, only_byte)) {
      if (!boost::regex_search(CountingIterator(p, &budget), last, match, expression,
                               boost::match_default | boost::match_continuous, CountingIterator(from, &budget))) {
        ++p;
        continue;
      }
      found(match);
      // An empty match ends the search, as above; a known start byte leaves one only through \K.
      if (match[0].length() == 0) break;
      from = p = match[0].second.base();
    }
    return true;
  } catch (...) {
    return false;
  }
}

struct RegexObject {
  std::optional<Expression> expression;  // empty until a pattern compiles
  std::optional<ByteSet> start_bytes;    // where a match can begin, when the pattern tells
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

void* new_result_cell(const Match& match, const char* buffer) {
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

std::optional<Expression> compile(std::string_view pattern, bool case_sensitive) {
  boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
  if (!case_sensitive) flags |= boost::regex_constants::icase;
  try {
    return Expression(pattern.data(), pattern.data() + pattern.size(), flags);
  } catch (...) {
    return std::nullopt;
  }
}

void Create(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  RegexObject* regex = regex_of(args[0]);
  if (regex == nullptr) return;
  const std::string_view pattern = text_argument(args[1]);
  const bool case_sensitive = optional_bool(count, args, 2).value_or(true);
  std::optional<Expression> compiled = compile(pattern, case_sensitive);
  // A rejected pattern leaves the expression compiled before, if any.
  if (!compiled) return;
  regex->expression = std::move(compiled);
  regex->start_bytes = match_start_bytes(pattern, case_sensitive);
  return_bool(result, true);
}

void SearchAll(ValueRecord* result, std::int32_t, ValueRecord* args) {
  TextBuilder cells;
  const RegexObject* regex = regex_of(args[0]);
  const std::string buffer(text_argument(args[1]));
  if (regex != nullptr && regex->expression && !buffer.empty()) {
    each_match(*regex->expression, regex->start_bytes, buffer,
               [&](const Match& match) {
                 cells.append_pointer(new_result_cell(match, buffer.data()));
               });
  }
  return_array(result, cells.take_block_array());
}

RegexMatches find_all_matches(std::string_view pattern, bool case_sensitive, std::string_view text) {
  RegexMatches out;
  const std::optional<Expression> expression = compile(pattern, case_sensitive);
  if (!expression) return out;
  out.compiled = true;
  if (text.empty()) return out;
  out.complete = each_match(*expression, match_start_bytes(pattern, case_sensitive), text,
                            [&](const Match& match) {
                              const char* start = match[0].first.base();
                              out.spans.push_back({static_cast<std::size_t>(start - text.data()),
                                                   static_cast<std::size_t>(match[0].second.base() - start)});
                            });
  return out;
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
