#include "tools/regex_tools.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

#include "text/regex.h"
#include "text/scan.h"
#include "tools/limits.h"
#include "tools/replace.h"

namespace quillet::tools {
namespace {

unsigned char folded(unsigned char byte, bool fold) {
  return fold && byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// A set of byte strings found all at once in a text (Aho-Corasick): each place where one of
// them ends is reported.
class PatternSet {
 public:
  explicit PatternSet(const std::vector<std::string>& patterns) : nodes_(1) {
    for (std::size_t id = 0; id < patterns.size(); ++id) {
      int node = 0;
      for (const char c : patterns[id]) node = add_child(node, static_cast<unsigned char>(c));
      nodes_[static_cast<std::size_t>(node)].id = static_cast<int>(id);
    }
    link();
  }

  // hit(id, end): pattern id ends just before end. Bytes are folded first when fold is set.
  template <class Hit>
  void scan(std::string_view text, bool fold, Hit&& hit) const {
    int state = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (state == 0) {  // over the bytes that begin no pattern, quickly
        while (i < text.size() && root_[folded(static_cast<unsigned char>(text[i]), fold)] == 0) ++i;
        if (i == text.size()) break;
      }
      state = move(state, folded(static_cast<unsigned char>(text[i]), fold));
      const Node& node = nodes_[static_cast<std::size_t>(state)];
      for (int out = node.id >= 0 ? state : node.next_output; out > 0;
           out = nodes_[static_cast<std::size_t>(out)].next_output) {
        hit(nodes_[static_cast<std::size_t>(out)].id, i + 1);
      }
    }
  }

 private:
  struct Node {
    std::vector<std::pair<unsigned char, int>> children;  // sorted by byte
    int fail = 0;
    int id = -1;
    int next_output = -1;  // the nearest node on the fail chain that ends a pattern
  };

  int child(int node, unsigned char c) const {
    if (node == 0) return root_[c];
    const auto& children = nodes_[static_cast<std::size_t>(node)].children;
    const auto it = std::lower_bound(children.begin(), children.end(), std::make_pair(c, 0));
    return it != children.end() && it->first == c ? it->second : -1;
  }

  int move(int state, unsigned char c) const {
    for (;;) {
      const int next = child(state, c);
      if (next > 0) return next;
      if (state == 0) return 0;
      state = nodes_[static_cast<std::size_t>(state)].fail;
    }
  }

  int add_child(int node, unsigned char c) {
    auto& children = nodes_[static_cast<std::size_t>(node)].children;
    const auto it = std::lower_bound(children.begin(), children.end(), std::make_pair(c, 0));
    if (it != children.end() && it->first == c) return it->second;
    const int fresh = static_cast<int>(nodes_.size());
    nodes_[static_cast<std::size_t>(node)].children.insert(it, {c, fresh});
    nodes_.emplace_back();
    if (node == 0) root_[c] = fresh;
    return fresh;
  }

  void link() {
    std::vector<int> queue;
    for (const auto& [c, next] : nodes_[0].children) queue.push_back(next);
    for (std::size_t head = 0; head < queue.size(); ++head) {
      const int node = queue[head];
      for (const auto& [c, next] : nodes_[static_cast<std::size_t>(node)].children) {
        int fail = nodes_[static_cast<std::size_t>(node)].fail;
        int target = child(fail, c);
        while (target <= 0 && fail != 0) {
          fail = nodes_[static_cast<std::size_t>(fail)].fail;
          target = child(fail, c);
        }
        Node& linked = nodes_[static_cast<std::size_t>(next)];
        linked.fail = target > 0 ? target : 0;
        const Node& fallback = nodes_[static_cast<std::size_t>(linked.fail)];
        linked.next_output = fallback.id >= 0 ? linked.fail : fallback.next_output;
        queue.push_back(next);
      }
    }
  }

  std::vector<Node> nodes_;
  std::array<int, 256> root_{};
};

// The literal way, one pass over the whole document per find text. It gives up (none) once its
// work would pass its bound, or its document the largest allowed: a replacement that holds its
// find text doubles the document with every turn.
std::optional<std::string> replace_literally(std::string document, const std::vector<std::string_view>& finds,
                                             std::size_t from_step, std::string_view replacement, bool match_case,
                                             const InTurnBounds& bounds) {
  std::uint64_t work = 0;
  for (std::size_t k = from_step; k < finds.size(); ++k) {
    if (finds[k].empty()) continue;
    work += document.size() + 1;
    if (work > bounds.work) return std::nullopt;
    std::optional<std::string> replaced = replace_all(document, finds[k], replacement, match_case, bounds.size);
    if (!replaced) return std::nullopt;
    document = std::move(*replaced);
  }
  return document;
}

// Replacing every find text in turn, done once over the document where that is sure to give the
// same text. The document is the original with some stretches replaced ("dead" stretches, each
// standing for one copy of the replacement). An occurrence of a find text in the document as it
// stands is then either one of the original's occurrences that no replacement has touched, or
// one that a replacement made (it overlaps a copy of the replacement, or straddles the place
// where a deleted stretch was). So:
// - every find text's occurrences in the original are found at once;
// - find texts are taken in the order of their first turn; a find text's turn takes its
//   untouched occurrences left to right without overlap, as one pass of the literal way would;
// - after each replacement the text around the new copy is searched for every find text whose
//   last turn is still to come; if one is there, the replacement made an occurrence, and the
//   rest is done the literal way from that turn on;
// - with no occurrence ever made, a find text's later turns find nothing left, and are skipped.
// Character boundaries stay those of the original when every find text and the replacement end
// where a character ends (seen from their own starts); otherwise the literal way does it all.
class TurnByTurn {
 public:
  TurnByTurn(std::string_view document, const std::vector<std::string_view>& finds, std::string_view replacement,
             bool match_case, const InTurnBounds& bounds)
      : text_(document), finds_(finds), replacement_(replacement), fold_(!match_case), bounds_(bounds) {}

  std::optional<std::string> run() {
    // Places are kept in 32 bits, for memory: a longer document goes the literal way.
    if (text_.size() > kLargestPlace || !collect_patterns()) return replace_literally(std::string(text_), finds_, 0, replacement_, !fold_, bounds_);
    find_occurrences();
    for (std::size_t id = 0; id < patterns_.size(); ++id) {
      if (take_turn(id)) continue;
      // The turns before this one are done; a one-byte find text among them dropped the lone
      // lead byte at the end.
      dropped_last_ = drops_lone_lead_ && first_one_byte_turn_ < first_turn_[id];
      return replace_literally(current(), finds_, first_turn_[id], replacement_, !fold_, bounds_);
    }
    // A one-byte find text lets the literal scan reach a lone lead byte at the very end, which
    // it then drops; no find text here can take that byte in an occurrence of its own.
    dropped_last_ = drops_lone_lead_;
    if (text_.size() - dead_bytes_ + std::uint64_t{stretches_} * replacement_.size() > bounds_.size) {
      return std::nullopt;
    }
    return current();
  }

 private:
  bool clean(std::string_view bytes) const {
    return !text::ends_with_lone_lead(bytes.data(), bytes.data() + bytes.size());
  }

  // The distinct find texts (folded when case does not count), with their first and last turns;
  // false when the way of this class does not apply.
  bool collect_patterns() {
    if (!clean(replacement_)) return false;
    std::unordered_map<std::string, std::size_t> ids;
    for (std::size_t k = 0; k < finds_.size(); ++k) {
      if (finds_[k].empty()) continue;
      if (!clean(finds_[k])) return false;
      if (finds_[k].size() == 1) first_one_byte_turn_ = std::min(first_one_byte_turn_, k);
      std::string key(finds_[k]);
      for (char& c : key) c = static_cast<char>(folded(static_cast<unsigned char>(c), fold_));
      const auto [it, added] = ids.emplace(key, patterns_.size());
      if (added) {
        patterns_.push_back(std::move(key));
        first_turn_.push_back(k);
        last_turn_.push_back(k);
      } else {
        last_turn_[it->second] = k;
      }
    }
    drops_lone_lead_ = first_one_byte_turn_ != kNone && text::ends_with_lone_lead(text_.data(), text_.data() + text_.size());
    for (const std::string& pattern : patterns_) longest_ = std::max(longest_, pattern.size());
    set_.emplace(patterns_);
    return true;
  }

  // Every occurrence of every find text in the original that starts where a character starts,
  // grouped by find text in the order of their places.
  void find_occurrences() {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // (find text, start)
    set_->scan(text_, fold_, [&](int id, std::size_t end) {
      const std::size_t start = end - patterns_[static_cast<std::size_t>(id)].size();
      if (text::is_boundary_from(text_.data(), text_.data() + start)) {
        found.emplace_back(static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(start));
      }
    });
    first_occurrence_.assign(patterns_.size() + 1, 0);
    for (const auto& [id, start] : found) ++first_occurrence_[id + 1];
    for (std::size_t id = 0; id < patterns_.size(); ++id) first_occurrence_[id + 1] += first_occurrence_[id];
    occurrences_.resize(found.size());
    std::vector<std::size_t> next(first_occurrence_.begin(), first_occurrence_.end() - 1);
    for (const auto& [id, start] : found) occurrences_[next[id]++] = start;  // starts stay in order
  }

  // The first turn of find text id; false when it made an occurrence for a later turn (its
  // replacements are then undone).
  bool take_turn(std::size_t id) {
    const std::size_t length = patterns_[id].size();
    std::vector<std::uint32_t> made;
    std::size_t free_from = 0;
    for (std::size_t i = first_occurrence_[id]; i < first_occurrence_[id + 1]; ++i) {
      const std::uint32_t start = occurrences_[i];
      if (start < free_from || touches_dead(start, start + length)) continue;
      mark(start, start + length, true);
      made.push_back(start);
      free_from = start + length;
      if (!made_nothing(start, start + length, first_turn_[id])) {
        for (const std::uint32_t undone : made) mark(undone, undone + length, false);
        return false;
      }
    }
    return true;
  }

  // Marks [begin, end) as one replaced stretch, or clears it.
  void mark(std::size_t begin, std::size_t end, bool replaced) {
    if (dead_.empty()) dead_.assign(text_.size(), 0);
    dead_bytes_ = replaced ? dead_bytes_ + (end - begin) : dead_bytes_ - (end - begin);
    stretches_ = replaced ? stretches_ + 1 : stretches_ - 1;
    for (std::size_t i = begin; i < end; ++i) dead_[i] = replaced ? kDead : 0;
    if (replaced) dead_[begin] = kDeadStart;
  }

  bool touches_dead(std::size_t begin, std::size_t end) const {
    if (dead_.empty()) return false;
    for (std::size_t i = begin; i < end; ++i) {
      if (dead_[i] != 0) return true;
    }
    return false;
  }

  // Up to count bytes of the document as it stands just before original position at, and just
  // after original position at (nearest ones first when there are more).
  void before(std::size_t at, std::size_t count, std::string& out) const {
    out.clear();
    while (out.size() < count && at > 0) {
      if (dead_[at - 1] != 0) {
        out.append(replacement_.rbegin(), replacement_.rend());
        while (dead_[--at] != kDeadStart) {
        }
      } else {
        out += text_[--at];
      }
    }
    if (out.size() > count) out.resize(count);
    std::reverse(out.begin(), out.end());
  }
  void after(std::size_t at, std::size_t count, std::string& out) const {
    while (count > 0 && at < text_.size()) {
      if (dead_[at] == kDeadStart) {
        const std::size_t take = std::min(count, replacement_.size());
        out.append(replacement_.substr(0, take));
        count -= take;
        do {
          ++at;
        } while (at < text_.size() && dead_[at] == kDead);
      } else {
        out += text_[at++];
        --count;
      }
    }
  }

  // After [start, end) was replaced in turn: is there, in the text around the new copy of the
  // replacement, an occurrence over it of a find text with a turn still to come?
  bool made_nothing(std::size_t start, std::size_t end, std::size_t turn) {
    before(start, longest_ - 1, window_);
    const std::size_t copy_begin = window_.size(), copy_end = window_.size() + replacement_.size();
    window_.append(replacement_);
    after(end, longest_ - 1, window_);
    bool made = false;
    set_->scan(window_, fold_, [&](int id, std::size_t hit_end) {
      const std::size_t begin = hit_end - patterns_[static_cast<std::size_t>(id)].size();
      const bool over_copy = replacement_.empty() ? begin < copy_begin && hit_end > copy_begin
                                                  : begin < copy_end && hit_end > copy_begin;
      if (over_copy && last_turn_[static_cast<std::size_t>(id)] > turn) made = true;
    });
    return !made;
  }

  std::string current() const {
    const std::size_t kept = text_.size() - (dropped_last_ ? 1 : 0);
    if (dead_.empty()) return std::string(text_.substr(0, kept));
    std::string out;
    out.reserve(text_.size());
    std::size_t at = 0;
    while (at < kept) {
      const std::size_t run_begin = at;
      while (at < kept && dead_[at] == 0) ++at;
      out.append(text_.substr(run_begin, at - run_begin));
      if (at < kept && dead_[at] == kDeadStart) {
        out.append(replacement_);
        do {
          ++at;
        } while (at < kept && dead_[at] == kDead);
      }
    }
    return out;
  }

  std::string_view text_;
  const std::vector<std::string_view>& finds_;
  std::string_view replacement_;
  bool fold_;
  InTurnBounds bounds_;
  std::vector<std::string> patterns_;
  std::vector<std::size_t> first_turn_, last_turn_;
  static constexpr std::size_t kNone = ~std::size_t{0};
  static constexpr std::size_t kLargestPlace = 0xFFFFFFFF;
  std::size_t longest_ = 0;
  std::size_t first_one_byte_turn_ = kNone;
  bool drops_lone_lead_ = false;
  bool dropped_last_ = false;
  std::optional<PatternSet> set_;
  std::vector<std::size_t> first_occurrence_;  // where each find text's occurrences begin
  std::vector<std::uint32_t> occurrences_;
  // For each byte of the original: kept (0), or in a replaced stretch, marked at its start.
  static constexpr std::uint8_t kDead = 1, kDeadStart = 2;
  std::vector<std::uint8_t> dead_;
  std::size_t dead_bytes_ = 0, stretches_ = 0;
  std::string window_;
};

}  // namespace

std::optional<std::string> replace_each_in_turn(std::string_view document, const std::vector<std::string_view>& finds,
                                                std::string_view replacement, bool match_case,
                                                const InTurnBounds& bounds) {
  if (document.empty()) return std::string();
  return TurnByTurn(document, finds, replacement, match_case, bounds).run();
}

std::optional<std::string> regex_replace(std::string_view document, std::string_view pattern,
                                         std::string_view replacement, bool match_case, const InTurnBounds& bounds) {
  const text::RegexMatches found = text::find_all_matches(pattern, match_case, document);
  if (!found.complete) return std::nullopt;
  std::vector<std::string_view> finds;
  finds.reserve(found.spans.size());
  for (const text::MatchSpan& span : found.spans) finds.push_back(document.substr(span.start, span.length));
  return replace_each_in_turn(document, finds, replacement, match_case, bounds);
}

std::optional<std::string> regex_extract(std::string_view document, std::string_view pattern, bool match_case,
                                         std::uint64_t largest) {
  const text::RegexMatches found = text::find_all_matches(pattern, match_case, document);
  if (!found.complete) return std::nullopt;
  std::uint64_t size = 0;
  for (const text::MatchSpan& span : found.spans) size += span.length + 2;
  if (size > largest) return std::nullopt;
  std::string out;
  out.reserve(size);
  for (const text::MatchSpan& span : found.spans) {
    out.append(document.substr(span.start, span.length));
    out.append("\r\n");
  }
  return out;
}

std::string cut_range(std::string_view document, std::int32_t start, std::int32_t length, RangeChoice choice) {
  // Worked out in 64 bits, where no start and length can overflow, and cut to the document.
  const std::int64_t size = static_cast<std::int64_t>(document.size());
  const auto within = [size](std::int64_t count) { return static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, size)); };
  if (choice == RangeChoice::Delete) {
    // What stays is the part before the range and the part after it. A negative length would
    // make the second reach back into the first and repeat bytes: it deletes nothing instead.
    const std::size_t before = within(std::int64_t{start} - 1);
    const std::size_t after = std::min(within(size - start - length + 1), document.size() - before);
    std::string out(document.substr(0, before));
    out.append(document.substr(document.size() - after));
    return out;
  }
  const std::int64_t from = std::int64_t{start} - 1;
  if (from < 0 || from >= size || length <= 0) return std::string();
  return std::string(document.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
}

}  // namespace quillet::tools
