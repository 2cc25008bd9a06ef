#include "tools/find.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/mman.h>
#endif

#include <cstring>
#include <random>
#include <vector>

#include "text/text_test_support.h"
#include "tools/reference.h"

namespace quillet::tools {
namespace {

constexpr auto kForward = SearchDirection::Forward;
constexpr auto kBackward = SearchDirection::Backward;

TEST(FindTool, WalksForwardFromMatchToMatchWithoutWrapping) {
  const std::string document = "abcabc";
  EXPECT_EQ(find_next(document, "abc", {0, 0}, kForward, false), 0u);
  EXPECT_EQ(find_next(document, "abc", {0, 3}, kForward, false), 3u);
  EXPECT_EQ(find_next(document, "abc", {3, 3}, kForward, false), std::nullopt);
  EXPECT_EQ(find_next(document, "abc", {6, 0}, kForward, false), std::nullopt);
  EXPECT_EQ(find_next(document, "abc", {100, 5}, kForward, false), std::nullopt);
}

TEST(FindTool, BackwardTakesTheLastMatchEndingAtTheSelectionStart) {
  const std::string document = "abcabc";
  EXPECT_EQ(find_next(document, "abc", {3, 3}, kBackward, false), 0u);
  EXPECT_EQ(find_next(document, "abc", {0, 3}, kBackward, false), std::nullopt);
  EXPECT_EQ(find_next(document, "abc", {0, 0}, kBackward, false), std::nullopt);  // caret at the start
  EXPECT_EQ(find_next(document, "abc", {5, 1}, kBackward, false), 0u);  // the second one ends after 5
  EXPECT_EQ(find_next(document, "abc", {6, 0}, kBackward, false), 3u);
  EXPECT_EQ(find_next(document, "abc", {1000, 0}, kBackward, false), 3u);
}

TEST(FindTool, CaseAndEmptyText) {
  EXPECT_EQ(find_next("xabc", "ABC", {0, 0}, kForward, true), std::nullopt);
  EXPECT_EQ(find_next("xabc", "ABC", {0, 0}, kForward, false), 1u);
  EXPECT_EQ(find_next("xabc", "ABC", {4, 0}, kBackward, false), 1u);
  EXPECT_EQ(find_next("abc", "", {0, 0}, kForward, false), std::nullopt);
  EXPECT_EQ(find_next("", "a", {0, 0}, kForward, false), std::nullopt);
}

TEST(FindTool, NeverMatchesAcrossACharacterBoundary) {
  // B0 41 is one character: "AB" (its trail byte and the next byte) is not there to find.
  const std::string document = "\xB0" "AB\xB0\xA1";
  EXPECT_EQ(find_next(document, "AB", {0, 0}, kForward, true), std::nullopt);
  EXPECT_EQ(find_next(document, "AB", {4, 0}, kBackward, true), std::nullopt);
  EXPECT_EQ(find_next(document, "B", {0, 0}, kForward, true), 2u);
  EXPECT_EQ(find_next(document, "\xB0\xA1", {0, 0}, kForward, true), 3u);
  // Ignoring case folds trail bytes as well: B0 61 matches B0 41.
  EXPECT_EQ(find_next(document, "\xB0" "a", {0, 0}, kForward, false), 0u);
  EXPECT_EQ(find_next(document, "\xB0" "a", {0, 0}, kForward, true), std::nullopt);
}

#if !defined(_WIN32)
// A document past 4 GiB, most of it never touched: an anonymous mapping reads as zeros without
// taking memory (in huge zero pages where the system has them). Positions past 2^31 and 2^32
// are found as they are, and a start past 2^32 does not wrap round to the matches near the
// beginning. The searches start near their matches, so that little is read (backward would read
// the whole mapping from its start).
TEST(FindTool, PositionsPastFourGibibytes) {
  constexpr std::size_t kSize = (std::size_t{1} << 32) + 4096;
  void* mapped = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) GTEST_SKIP() << "no room for a mapping of 4 GiB";
  madvise(mapped, kSize, MADV_HUGEPAGE);
  char* bytes = static_cast<char*>(mapped);
  const std::string_view document(bytes, kSize);
  constexpr std::size_t kPast2G = (std::size_t{1} << 31) + 5, kPast4G = (std::size_t{1} << 32) + 10;
  std::memcpy(bytes + 20, "abc", 3);
  std::memcpy(bytes + kPast2G, "abc", 3);
  std::memcpy(bytes + kPast4G, "abc", 3);
  EXPECT_EQ(find_next(document, "abc", {kPast2G - 100, 0}, kForward, true), kPast2G);
  EXPECT_EQ(find_next(document, "abc", {kPast4G - 100, 50}, kForward, true), kPast4G);
  EXPECT_EQ(find_next(document, "abc", {kPast4G, 3}, kForward, true), std::nullopt);
  EXPECT_EQ(find_next(document, "abc", {kPast4G + 1, 0}, kForward, true), std::nullopt);
  EXPECT_EQ(find_next(document, "abc", {std::size_t{1} << 32, 20}, kForward, true), std::nullopt);
  munmap(mapped, kSize);
}
#endif

// The matches of a text over an input that arrives in pieces of any sizes, as a reader of
// blocks hands them over (what a piece leaves comes again in front of the next), are those of
// the walk over the whole input.
TEST(FindTool, MatchesInPiecesAreTheMatchesOfTheWholeInput) {
  std::mt19937 rng(9);
  for (int round = 0; round < 20000; ++round) {
    const std::string input = text::random_mixed_bytes(rng, rng() % 60);
    std::string wanted;
    if (!input.empty() && rng() % 3 != 0) {
      const std::size_t from = rng() % input.size();
      wanted = input.substr(from, 1 + rng() % 3);
    } else {
      wanted = text::random_mixed_bytes(rng, 1 + rng() % 2);
    }
    const bool match_case = rng() % 2 == 0;
    std::vector<std::uint64_t> whole;
    for (ByteRange from{0, 0}; const auto at = find_next(input, wanted, from, kForward, match_case);) {
      whole.push_back(*at);
      from = {*at, wanted.size()};
    }
    MatchesInPieces finder(wanted, match_case);
    std::vector<std::uint64_t> pieces;
    std::string pending;
    for (std::size_t read = 0; read < input.size() || !pending.empty();) {
      const std::size_t more = std::min<std::size_t>(input.size() - read, rng() % 5);
      pending += input.substr(read, more);
      read += more;
      const bool at_end = read == input.size();
      const std::size_t taken = finder.feed(pending, at_end, [&](std::uint64_t at) { pieces.push_back(at); });
      ASSERT_LE(taken, pending.size());
      pending.erase(0, taken);
      if (at_end) {
        ASSERT_TRUE(pending.empty());
        break;
      }
    }
    ASSERT_EQ(pieces, whole) << round << " " << testing::PrintToString(input) << " / " << testing::PrintToString(wanted);
  }
}

TEST(FindTool, MatchesTheStepByStepSearchOnRandomDoubleByteText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20000; ++round) {
    const std::string document = text::random_mixed_bytes(rng, rng() % 24);
    std::string needle;
    if (!document.empty() && rng() % 2 == 0) {
      const std::size_t from = rng() % document.size();
      needle = document.substr(from, 1 + rng() % 3);
    } else {
      needle = text::random_mixed_bytes(rng, 1 + rng() % 3);
    }
    const ByteRange selection{rng() % (document.size() + 3), rng() % 4};
    const SearchDirection direction = rng() % 2 == 0 ? kForward : kBackward;
    const bool match_case = rng() % 2 == 0;
    const std::optional<std::size_t> found = find_next(document, needle, selection, direction, match_case);
    ASSERT_EQ(found, reference::find_next(document, needle, selection, direction, match_case))
        << round << " " << selection.start << "+" << selection.length;
    if (found && direction == kBackward) {
      // A backward match is a character start of the whole document and ends before the selection.
      ASSERT_TRUE(text::boundaries_by_stepping(document)[*found]) << round;
      ASSERT_LE(*found + needle.size(), selection.start) << round;
    }
  }
}

}  // namespace
}  // namespace quillet::tools
