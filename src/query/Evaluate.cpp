#include "query/Evaluate.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <thread>

#include "engine/WordTable.h"
#include "query/TypeScan.h"
#include "query/WordMatch.h"
#include "shared/HugePages.h"

namespace quillmoor {
namespace {

// A set of token types.
struct TypeSet {
  std::vector<uint64_t> bits;
  uint64_t frequency = 0;  // of its types, in all
  bool Has(uint32_t type) const {
    const size_t word = type >> 6;
    return word < bits.size() && ((bits[word] >> (type & 63)) & 1) != 0;
  }
  void Add(uint32_t type) { bits[type >> 6] |= uint64_t{1} << (type & 63); }
  // Calls f(type) for each type of the set, ascending, while it returns true.
  template <typename F>
  void Each(F f) const {
    for (size_t w = 0; w < bits.size(); ++w) {
      for (uint64_t b = bits[w]; b != 0; b &= b - 1) {
        if (!f(static_cast<uint32_t>(w * 64 + static_cast<size_t>(__builtin_ctzll(b))))) return;
      }
    }
  }
};

// A state of a unit's automaton: a token of `set`, which may be left out (`optional`)
// and, when `loop`, repeated any number of times.
struct Item {
  uint32_t set = 0;
  bool optional = false, loop = false;
};

// The spellings as the patterns see them: in lower case unless the case counts.
class Lexicon {
 public:
  Lexicon(const QueryTokens& tokens, bool caseSensitive)
      : tokens_(tokens), caseSensitive_(caseSensitive) {}
  const std::vector<std::string_view>& ForWildcards() {
    if (caseSensitive_) return tokens_.spellings;
    if (lowered_.empty() && !tokens_.spellings.empty()) {
      store_.reserve(tokens_.spellings.size());
      for (const std::string_view s : tokens_.spellings) store_.push_back(Lower(s));
      lowered_.assign(store_.begin(), store_.end());
    }
    return lowered_;
  }
  std::string Lower(std::string_view s) const { return LowerIn(tokens_.utf8, s); }
  const QueryTokens& tokens() const { return tokens_; }

 private:
  const QueryTokens& tokens_;
  bool caseSensitive_;
  std::vector<std::string> store_;
  std::vector<std::string_view> lowered_;
};

}  // namespace

struct QueryEvaluator::Node {
  QueryNode::Kind kind = QueryNode::Kind::kWord;
  std::vector<TypeSet> sets;
  std::vector<Item> items;  // kWord, kPhrase, kTokens
  int anchor = -1;          // the rarest of the leading fixed items; -1: none
  // When the stream has two bytes a token and the anchor's types are few: the leading
  // fixed items of few types (the anchor among them), looked for together by
  // query/TypeScan.h, and the largest of their offsets.
  std::vector<ScanItem> scan;
  uint32_t scanReach = 0;
  bool fixed = false;  // every item is fixed (a word, a phrase)
  bool withinLine = false;
  // kNear (and a "head+tail" word): `first` kept where `second` lies within `distance`.
  std::unique_ptr<Node> first, second;
  int distance = 0;
  QueryNode::Side side = QueryNode::Side::kEither;
};

namespace {

using Node = QueryEvaluator::Node;

class Compiler {
 public:
  Compiler(const QueryTokens& tokens, const QueryOptions& options, QueryError* error)
      : lexicon_(tokens, options.caseSensitive), options_(options), error_(error) {}

  bool Unit(const QueryNode& q, Node* node) {
    node->kind = q.kind;
    node->withinLine = options_.withinLine;
    switch (q.kind) {
      case QueryNode::Kind::kWord: {
        if (q.word.coWord) return CoWord(q.word, node);
        uint32_t set = 0;
        if (!WordSet(q.word, node, &set)) return false;
        node->items.push_back({set, false, false});
        break;
      }
      case QueryNode::Kind::kPhrase:
        for (const WordPattern& w : q.phrase) {
          uint32_t set = 0;
          if (!WordSet(w, node, &set)) return false;
          node->items.push_back({set, false, false});
        }
        break;
      case QueryNode::Kind::kTokens:
        node->withinLine = node->withinLine || q.withinLine;
        for (const TokenStep& step : q.tokens) {
          const size_t tokens = static_cast<size_t>(step.most < 0 ? step.least + 1 : step.most);
          if (node->items.size() + tokens > QueryEvaluator::kMostPatternTokens) {
            error_->at = step.at;
            error_->expected =
                "a shorter token pattern (at most 2,000 tokens, its repetitions counted)";
            return false;
          }
          uint32_t set = 0;
          if (!StepSet(step, node, &set)) return false;
          for (int i = 0; i < step.least; ++i) node->items.push_back({set, false, false});
          if (step.most < 0) {
            node->items.push_back({set, true, true});
          } else {
            for (int i = step.least; i < step.most; ++i) node->items.push_back({set, true, false});
          }
        }
        break;
      case QueryNode::Kind::kNear:
        node->first = std::make_unique<Node>();
        node->second = std::make_unique<Node>();
        if (!Unit(*q.first, node->first.get()) || !Unit(*q.second, node->second.get()))
          return false;
        node->distance = q.distance;
        node->side = q.side;
        return true;
    }
    // The anchor: the rarest item of those at a fixed place from the start.
    node->fixed = std::none_of(node->items.begin(), node->items.end(),
                               [](const Item& item) { return item.optional || item.loop; });
    uint64_t rarest = UINT64_MAX;
    for (size_t i = 0; i < node->items.size(); ++i) {
      const Item& item = node->items[i];
      if (item.optional || item.loop) break;
      if (node->sets[item.set].frequency < rarest) {
        rarest = node->sets[item.set].frequency;
        node->anchor = static_cast<int>(i);
      }
    }
    if (node->anchor >= 0 && lexicon_.tokens().width == 2) Scan(node);
    return true;
  }

 private:
  TypeSet NewSet() const {
    TypeSet set;
    set.bits.assign((lexicon_.tokens().spellings.size() + 63) / 64, 0);
    return set;
  }
  void Count(TypeSet* set) const {
    const std::vector<uint64_t>& f = lexicon_.tokens().frequencies;
    set->frequency = 0;
    if (f.empty()) return;
    set->Each([&](uint32_t type) {
      if (type < f.size()) set->frequency += f[type];
      return true;
    });
  }
  // The scan of a unit with an anchor (Node::scan).
  static void Scan(Node* node) {
    std::vector<ScanItem> scan;
    bool anchored = false;
    for (size_t i = 0; i < node->items.size(); ++i) {
      const Item& item = node->items[i];
      if (item.optional || item.loop) break;
      ScanItem few{static_cast<uint32_t>(i), {}};
      const TypeSet& set = node->sets[item.set];
      set.Each([&few](uint32_t type) {
        few.types.push_back(static_cast<uint16_t>(type));
        return few.types.size() <= kMostScanTypes;
      });
      if (few.types.empty() || few.types.size() > kMostScanTypes) continue;
      anchored = anchored || static_cast<int>(i) == node->anchor;
      scan.push_back(std::move(few));
    }
    if (!anchored) return;
    // The anchor and the rarest others, as many as a scan tests.
    const auto rarer = [node](const ScanItem& a, const ScanItem& b) {
      const auto f = [node](const ScanItem& x) {
        return static_cast<int>(x.offset) == node->anchor
                   ? 0
                   : 1 + node->sets[node->items[x.offset].set].frequency;
      };
      return f(a) < f(b);
    };
    std::sort(scan.begin(), scan.end(), rarer);
    if (scan.size() > kMostScanItems) scan.resize(kMostScanItems);
    for (const ScanItem& item : scan) node->scanReach = std::max(node->scanReach, item.offset);
    node->scan = std::move(scan);
  }
  // The types a word's pattern matches.
  bool Matching(const WordPattern& w, bool wholeWord, TypeSet* set) {
    WordPattern pattern = w;
    if (options_.caseSensitive) {
      pattern.caseSensitive = true;
    } else if (pattern.kind == WordPattern::Kind::kWildcard) {
      pattern.text = lexicon_.Lower(pattern.text);
    }
    WordMatcher matcher;
    if (!matcher.Compile(pattern, lexicon_.tokens().utf8, error_, wholeWord)) return false;
    const std::vector<std::string_view>& words = pattern.kind == WordPattern::Kind::kWildcard
                                                     ? lexicon_.ForWildcards()
                                                     : lexicon_.tokens().spellings;
    *set = NewSet();
    for (const uint32_t type : matcher.MatchAll(words)) set->Add(type);
    if (matcher.overrun()) {
      error_->at = w.at;
      error_->overrun = true;
      return false;
    }
    Count(set);
    return true;
  }
  bool WordSet(const WordPattern& w, Node* node, uint32_t* index) {
    TypeSet set;
    if (!Matching(w, options_.wholeWord, &set)) return false;
    *index = static_cast<uint32_t>(node->sets.size());
    node->sets.push_back(std::move(set));
    return true;
  }
  // A token pattern's step: any of its alternatives, each all of its conditions.
  bool StepSet(const TokenStep& step, Node* node, uint32_t* index) {
    TypeSet any = NewSet();
    if (step.alternatives.empty()) {
      for (size_t t = 0; t < lexicon_.tokens().spellings.size(); ++t)
        any.Add(static_cast<uint32_t>(t));
    }
    for (const std::vector<TokenCondition>& all : step.alternatives) {
      TypeSet met = NewSet();
      for (uint64_t& b : met.bits) b = ~uint64_t{0};
      for (const TokenCondition& c : all) {
        WordPattern pattern;
        pattern.kind = WordPattern::Kind::kRegex;
        pattern.text = c.regex;
        pattern.at = c.at;
        TypeSet these;
        if (!Matching(pattern, true, &these)) return false;
        for (size_t w = 0; w < met.bits.size(); ++w)
          met.bits[w] &= c.negated ? ~these.bits[w] : these.bits[w];
      }
      for (size_t w = 0; w < any.bits.size(); ++w) any.bits[w] |= met.bits[w];
    }
    // (Bits past the last type stay clear.)
    const size_t types = lexicon_.tokens().spellings.size();
    if (types % 64 != 0 && !any.bits.empty()) any.bits.back() &= (uint64_t{1} << (types % 64)) - 1;
    Count(&any);
    *index = static_cast<uint32_t>(node->sets.size());
    node->sets.push_back(std::move(any));
    return true;
  }
  // "head+tail": the head, kept where a token of its line matches the tail.
  bool CoWord(const WordPattern& w, Node* node) {
    node->kind = QueryNode::Kind::kNear;
    node->first = std::make_unique<Node>();
    node->second = std::make_unique<Node>();
    WordPattern head = w, tail = w;
    head.coWord = tail.coWord = false;
    tail.text = w.tail.empty() ? "*" : w.tail;
    QueryNode h, t;
    h.word = head;
    t.word = tail;
    if (!Unit(h, node->first.get()) || !Unit(t, node->second.get())) return false;
    node->distance = INT_MAX;
    node->withinLine = true;
    return true;
  }

  Lexicon lexicon_;
  QueryOptions options_;
  QueryError* error_;
};

}  // namespace

// What a search may still spend, shared by its threads.
struct QueryEvaluator::Budget {
  std::atomic<int64_t> left{0};
  std::atomic<bool> spent{false};
};

namespace {

// Finding, in one range.
class Finder {
 public:
  Finder(const QueryTokens& tokens, TokenRange range, QueryEvaluator::Budget* budget)
      : t_(tokens), range_(range), budget_(budget) {}
  ~Finder() { Spend(0); }

  void Find(const Node& node, std::vector<QueryMatch>* out) {
    if (node.kind == QueryNode::Kind::kNear) return Near(node, out);
    if (node.anchor >= 0) return Anchored(node, out);
    for (uint64_t at = range_.first; at < range_.last && !Stopped();) {
      const uint32_t length = Longest(node, at);
      if (length == 0) {
        ++at;
        continue;
      }
      out->push_back({at, length});
      at += length;
    }
  }

 private:
  bool SameLine(uint64_t a, uint64_t b) const {
    return t_.lines == nullptr || t_.lines[a] == t_.lines[b];
  }
  // From places where the anchor's set holds: its run of fixed items checked, then the
  // rest by the automaton.
  void Anchored(const Node& node, std::vector<QueryMatch>* out) {
    switch (t_.width) {
      case 1:
        return AnchoredBy<1>(node, out);
      case 2:
        return AnchoredBy<2>(node, out);
      case 3:
        return AnchoredBy<3>(node, out);
      default:
        return AnchoredBy<4>(node, out);
    }
  }
  // The same with tokens of `W` bytes: the scan for the anchor is the loop every query
  // of a large corpus spends its time in.
  template <int W>
  void AnchoredBy(const Node& node, std::vector<QueryMatch>* out) {
    const auto anchor = static_cast<uint64_t>(node.anchor);
    const TypeSet& set = node.sets[node.items[anchor].set];
    const uint64_t* bits = set.bits.data();
    const size_t words = set.bits.size();
    const char* stream = t_.stream.data();
    uint64_t next = range_.first;  // where the next match may begin
    // A match tried from `start` (where the anchor holds); false: stopped.
    const auto tryStart = [&](uint64_t start) {
      if (start < next) return true;
      const uint32_t length = node.fixed ? FixedBy<W>(node, start) : Longest(node, start);
      if (length == 0) return node.fixed || !Stopped();
      out->push_back({start, length});
      next = start + length;
      return true;
    };
    if constexpr (W == 2) {
      if (!node.scan.empty()) {
        if (range_.last - range_.first > node.scanReach)
          ForEachWhereTypesHold(stream, range_.first, range_.last - node.scanReach, node.scan,
                                tryStart);
        return;
      }
    }
    for (uint64_t at = range_.first + anchor; at < range_.last; ++at) {
      uint32_t type = 0;
      std::memcpy(&type, stream + at * W, W);
      if ((type >> 6) >= words || ((bits[type >> 6] >> (type & 63)) & 1) == 0) continue;
      if (!tryStart(at - anchor)) return;
    }
  }
  bool Stopped() const { return budget_->spent.load(std::memory_order_relaxed); }
  // Counts `steps` of an automaton, telling the budget a batch at a time; true while
  // some is left.
  bool Spend(int64_t steps) {
    spent_ += steps;
    if (steps != 0 && spent_ < (int64_t{1} << 16)) return true;
    const int64_t left = budget_->left.fetch_sub(spent_, std::memory_order_relaxed) - spent_;
    spent_ = 0;
    if (left < 0) budget_->spent.store(true, std::memory_order_relaxed);
    return left >= 0;
  }
  // A unit of fixed items only (a word, a phrase): its match from `start`, or 0.
  template <int W>
  uint32_t FixedBy(const Node& node, uint64_t start) const {
    const size_t n = node.items.size();
    if (start + n > range_.last) return 0;
    const char* stream = t_.stream.data() + start * W;
    for (size_t i = 0; i < n; ++i) {
      uint32_t type = 0;
      std::memcpy(&type, stream + i * W, W);
      if (!node.sets[node.items[i].set].Has(type)) return 0;
    }
    if (node.withinLine && !SameLine(start, start + n - 1)) return 0;
    return static_cast<uint32_t>(n);
  }
  // The longest match of the unit's automaton from `start`; 0 for none.
  uint32_t Longest(const Node& node, uint64_t start) {
    const size_t n = node.items.size();
    active_.assign(n + 1, 0);
    nextActive_.assign(n + 1, 0);
    active_[0] = 1;
    Close(node, &active_);
    uint32_t best = 0;
    const uint64_t end = std::min<uint64_t>(range_.last, start + kMostMatchTokens);
    for (uint64_t at = start; at < end; ++at) {
      if (node.withinLine && !SameLine(start, at)) break;
      if (!Spend(static_cast<int64_t>(n) + 1)) return 0;
      const uint32_t type = t_.TypeAt(at);
      std::fill(nextActive_.begin(), nextActive_.end(), 0);
      bool any = false;
      for (size_t i = 0; i < n; ++i) {
        if (active_[i] == 0) continue;
        const Item& item = node.items[i];
        if (!node.sets[item.set].Has(type)) continue;
        nextActive_[item.loop ? i : i + 1] = 1;
        any = true;
      }
      if (!any) break;
      Close(node, &nextActive_);
      active_.swap(nextActive_);
      if (active_[n] != 0) best = static_cast<uint32_t>(at - start + 1);
    }
    return best;
  }
  // Adds the states reached by leaving out optional items.
  static void Close(const Node& node, std::vector<uint8_t>* states) {
    for (size_t i = 0; i < node.items.size(); ++i) {
      if ((*states)[i] != 0 && node.items[i].optional) (*states)[i + 1] = 1;
    }
  }
  void Near(const Node& node, std::vector<QueryMatch>* out) {
    std::vector<QueryMatch> firsts, seconds;
    Finder(t_, range_, budget_).Find(*node.first, &firsts);
    if (firsts.empty()) return;
    Finder(t_, range_, budget_).Find(*node.second, &seconds);
    const bool within = node.withinLine;
    const auto d = static_cast<uint64_t>(node.distance);
    // `seconds` in order of their first token; the window of those that may be near
    // moves along with the firsts.
    size_t low = 0;
    for (const QueryMatch& a : firsts) {
      const uint64_t aLast = a.first + a.length - 1;
      const uint64_t from = a.first >= d ? a.first - d : 0;
      // (Within a line, those of earlier lines are passed, and those of later ones end it.)
      const auto lineOf = [this](uint64_t at) { return t_.lines == nullptr ? 0 : t_.lines[at]; };
      while (low < seconds.size() &&
             (seconds[low].first + seconds[low].length - 1 < from ||
              (within && lineOf(seconds[low].first + seconds[low].length - 1) < lineOf(a.first))))
        ++low;
      bool near = false;
      for (size_t i = low; i < seconds.size() && !near; ++i) {
        const QueryMatch& b = seconds[i];
        if (b.first > aLast && b.first - aLast > d) break;
        if (within && lineOf(b.first) > lineOf(aLast)) break;
        const uint64_t bLast = b.first + b.length - 1;
        const bool after = b.first > aLast && b.first - aLast <= d;
        const bool before = bLast < a.first && a.first - bLast <= d;
        const bool side = node.side == QueryNode::Side::kAfter    ? after
                          : node.side == QueryNode::Side::kBefore ? before
                                                                  : after || before;
        near = side && (!within || (SameLine(a.first, b.first) && SameLine(a.first, bLast) &&
                                    SameLine(a.first, aLast)));
      }
      if (near) out->push_back(a);
    }
  }

  const QueryTokens& t_;
  TokenRange range_;
  QueryEvaluator::Budget* budget_;
  int64_t spent_ = 0;  // steps not told to the budget yet
  std::vector<uint8_t> active_, nextActive_;
};

// About how many matches a unit has in `share` of the stream (from the frequency of its
// anchor, or of its first unit; 0 when unknown).
uint64_t Estimate(const Node& node, double share) {
  if (node.kind == QueryNode::Kind::kNear) return Estimate(*node.first, share);
  if (node.anchor < 0) return 0;
  const uint64_t f = node.sets[node.items[static_cast<size_t>(node.anchor)].set].frequency;
  return static_cast<uint64_t>(static_cast<double>(f) * share);
}

// Merges the alternatives' matches: in stream order, one for a place (the longest).
void Merge(std::vector<QueryMatch>* all) {
  std::sort(all->begin(), all->end(), [](const QueryMatch& a, const QueryMatch& b) {
    return a.first != b.first ? a.first < b.first : a.length > b.length;
  });
  all->erase(
      std::unique(all->begin(), all->end(),
                  [](const QueryMatch& a, const QueryMatch& b) { return a.first == b.first; }),
      all->end());
}

}  // namespace

QueryEvaluator::QueryEvaluator() = default;
QueryEvaluator::~QueryEvaluator() = default;

bool QueryEvaluator::Prepare(const Query& query, const QueryTokens& tokens,
                             const QueryOptions& options, QueryError* error) {
  tokens_ = &tokens;
  options_ = options;
  alternatives_.clear();
  Compiler compiler(tokens, options, error);
  for (const QueryNode& q : query.alternatives) {
    auto node = std::make_unique<Node>();
    if (!compiler.Unit(q, node.get())) return false;
    alternatives_.push_back(std::move(node));
  }
  return true;
}

void QueryEvaluator::FindIn(const TokenRange& range, Budget* budget,
                            std::vector<QueryMatch>* out) const {
  const size_t from = out->size();
  for (const auto& node : alternatives_) Finder(*tokens_, range, budget).Find(*node, out);
  if (alternatives_.size() > 1) {
    std::vector<QueryMatch> these(out->begin() + static_cast<std::ptrdiff_t>(from), out->end());
    Merge(&these);
    out->resize(from);
    out->insert(out->end(), these.begin(), these.end());
  }
}

std::vector<QueryMatch> QueryEvaluator::Find(const std::vector<TokenRange>& ranges, bool* stopped,
                                             int64_t steps) const {
  // The ranges in two halves of about as many tokens, the second on a thread of its own.
  uint64_t total = 0;
  for (const TokenRange& r : ranges) total += r.last - r.first;
  Budget budget;
  budget.left = steps > 0 ? steps : std::max(kMostSteps, static_cast<int64_t>(total) * 16);
  size_t half = ranges.size();
  if (total >= (uint64_t{1} << 20) && ranges.size() > 1) {
    uint64_t sum = 0;
    for (half = 0; half < ranges.size() && sum < total / 2; ++half)
      sum += ranges[half].last - ranges[half].first;
  }
  const uint64_t whole = std::max<uint64_t>(tokens_->size(), 1);
  const auto some = [this, &ranges, whole, &budget](size_t begin, size_t end,
                                                    std::vector<QueryMatch>* out) {
    uint64_t tokens = 0, expected = 0;
    for (size_t i = begin; i < end; ++i) tokens += ranges[i].last - ranges[i].first;
    const double share = static_cast<double>(tokens) / static_cast<double>(whole);
    for (const auto& node : alternatives_) expected += Estimate(*node, share);
    ReserveHuge(out, static_cast<size_t>(std::min(expected + expected / 8 + 64, tokens)));
    for (size_t i = begin; i < end && !budget.spent.load(std::memory_order_relaxed); ++i)
      FindIn(ranges[i], &budget, out);
  };
  std::vector<QueryMatch> first, second;
  if (half == ranges.size()) {
    some(0, ranges.size(), &first);
  } else {
    std::thread other(some, half, ranges.size(), &second);
    some(0, half, &first);
    other.join();
  }
  if (stopped != nullptr) *stopped = budget.spent.load();
  if (second.empty()) return first;
  ReserveHuge(&first, first.size() + second.size());
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

bool QueryUsesLines(const Query& query, const QueryOptions& options) {
  if (options.withinLine) return true;
  const auto uses = [](const auto& self, const QueryNode& q) -> bool {
    switch (q.kind) {
      case QueryNode::Kind::kWord:
        return q.word.coWord;
      case QueryNode::Kind::kPhrase:
        return false;
      case QueryNode::Kind::kTokens:
        return q.withinLine;
      case QueryNode::Kind::kNear:
        return self(self, *q.first) || self(self, *q.second);
    }
    return false;
  };
  for (const QueryNode& q : query.alternatives) {
    if (uses(uses, q)) return true;
  }
  return false;
}

}  // namespace quillmoor
