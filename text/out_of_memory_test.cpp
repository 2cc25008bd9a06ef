// Running out of memory in the middle of a text command: with the heap exhausted from the k-th
// request on, for every k up to the requests the command makes, the program ends with the
// out-of-memory error; it never hands back part of a result. With one request more to spare,
// the result is the complete one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "runtime/memory.h"
#include "runtime/test_support.h"
#include "text/case_width.h"
#include "text/regex.h"
#include "text/search.h"
#include "text/text_test_support.h"
#include "text/values.h"

namespace quillet::text {
namespace {

// Some hundred bytes of mixed text: every command makes a request or more, and the ones that
// make a block per piece or match make dozens. Small enough that a death test per request
// stays quick where starting a process is slow (Wine).
std::string sample() {
  std::string text;
  for (int i = 0; i < 24; ++i) text += "ab \xD6\xD0\xCE\xC4 X,y\xA1\xA1z\r\n";
  return text;
}

std::string joined(void* array) {
  OwnedBlockArray holder(array);
  std::string all;
  for (std::size_t i = 0; i < array_element_count(array); ++i) {
    const char* piece = text_array_elements(array)[i];
    all += std::string(piece != nullptr ? piece : "") + "|";
  }
  return all;
}

struct Command {
  const char* name;
  std::function<std::string()> run;
};

const std::string& text() {
  static const std::string sampled = sample();
  return sampled;
}

const Command kCommands[] = {
    {"replace", [] { return take_string(replace_subtext(text(), "a", "\xBC\xD7\xD2\xD2", std::nullopt, std::nullopt, true)); }},
    {"replace ignoring case", [] { return take_string(replace_subtext(text(), "x", "", std::nullopt, std::nullopt, false)); }},
    {"split", [] { return joined(split_text(text(), ",")); }},
    {"remove spaces", [] { return take_string(remove_all_spaces(text())); }},
    {"upper case", [] { return take_string(to_upper(text())); }},
    {"full width", [] { return take_string(to_full_width(text())); }},
    {"half width", [] { return take_string(to_half_width(take_string(to_full_width(text())))); }},
    {"trim", [] { return take_string(trim_both("  " + text() + "  ")); }},
    {"regex search", [] {
       RegexVariable regex;
       call::create(regex, "[a-z]+");
       const OwnedSearchResults results = call::search_all(regex, text().c_str());
       return std::to_string(array_element_count(results.get()));
     }},
};

TEST(OutOfMemoryDeathTest, EveryCommandGivesItsWholeResultOrEndsTheProgram) {
  for (const Command& command : kCommands) {
    const std::string expected = command.run();
    const std::size_t before = runtime::allocation_count();
    ASSERT_EQ(command.run(), expected) << command.name;
    const std::size_t requests = runtime::allocation_count() - before;
    ASSERT_GE(requests, 1u) << command.name;
    for (std::size_t k = 1; k <= requests; ++k) {
      EXPECT_EXIT(
          {
            runtime::testing_support::answer_boxes_on_stderr();
            runtime::fail_allocations_from(k);
            const std::string result = command.run();
            std::exit(result == expected ? 0 : 1);  // a result: it must be the whole one
          },
          runtime::testing_support::exited_fatally(), testing::HasSubstr("\xB7\xD6\xC5\xE4"))  // 分配
          << command.name << ", request " << k << " of " << requests;
    }
    // The command's requests, and no others, were what the heap had to meet.
    runtime::fail_allocations_from(requests + 1);
    EXPECT_EQ(command.run(), expected) << command.name;
    runtime::fail_allocations_from(0);
  }
}

}  // namespace
}  // namespace quillet::text
