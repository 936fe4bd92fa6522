#include "query/Query.h"

#include <cctype>

namespace quillmoor {
namespace {

// The longest repetition and distance a query may ask for.
constexpr int kMostRepeats = 100;
constexpr int kMostDistance = 1000;

class Parser {
 public:
  Parser(std::string_view text, QueryError* error) : s_(text), error_(error) {}

  bool Parse(Query* query) {
    SkipSpaces();
    while (at_ < s_.size()) {
      QueryNode node;
      if (!Alternative(&node)) return false;
      query->alternatives.push_back(std::move(node));
      SkipSpaces();
    }
    if (query->alternatives.empty()) return Fail(0, "a word, a phrase or a token pattern");
    return true;
  }

 private:
  bool Fail(size_t at, const char* expected) {
    error_->at = at;
    error_->expected = expected;
    return false;
  }
  bool AtSpace() const { return at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t'); }
  void SkipSpaces() {
    while (AtSpace()) ++at_;
  }
  bool Next(std::string_view word) const { return s_.substr(at_).starts_with(word); }
  // A number of at most `most`, at at_.
  bool Number(int most, int* value) {
    const size_t from = at_;
    int64_t n = 0;
    while (at_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[at_])) != 0) {
      n = n * 10 + (s_[at_++] - '0');
      if (n > most) return Fail(from, "a smaller number");
    }
    if (at_ == from) return Fail(from, "a number");
    *value = static_cast<int>(n);
    return true;
  }

  bool Alternative(QueryNode* node) {
    if (!Unit(node)) return false;
    const size_t before = at_;
    SkipSpaces();
    static constexpr struct {
      std::string_view word;
      QueryNode::Side side;
    } kOperators[] = {{"NEAR/", QueryNode::Side::kEither},
                      {"FOLLOWED/", QueryNode::Side::kAfter},
                      {"PRECEDED/", QueryNode::Side::kBefore}};
    for (const auto& op : kOperators) {
      if (!Next(op.word)) continue;
      auto first = std::make_unique<QueryNode>(std::move(*node));
      *node = QueryNode();
      node->kind = QueryNode::Kind::kNear;
      node->at = first->at;
      node->side = op.side;
      at_ += op.word.size();
      if (!Number(kMostDistance, &node->distance)) return false;
      if (node->distance == 0) return Fail(at_ - 1, "a distance of at least 1");
      SkipSpaces();
      if (at_ >= s_.size())
        return Fail(at_, "a word, a phrase or a token pattern after the operator");
      node->first = std::move(first);
      node->second = std::make_unique<QueryNode>();
      return Unit(node->second.get());
    }
    at_ = before;
    return true;
  }

  bool Unit(QueryNode* node) {
    node->at = at_;
    const char c = s_[at_];
    if (c == '"') {
      node->kind = QueryNode::Kind::kPhrase;
      return Phrase(node);
    }
    if (c == '[') {
      node->kind = QueryNode::Kind::kTokens;
      return Tokens(node);
    }
    if (c == ']' || c == '{' || c == '}') return Fail(at_, "a word, a phrase or a token pattern");
    // No word begins so: a structural tag or a group of another query language.
    if (c == '<')
      return Fail(at_, "a word, a phrase or a token pattern (tags such as <s> are not known)");
    if (c == '(')
      return Fail(at_, "a word, a phrase or a token pattern (groups in parentheses are not known)");
    node->kind = QueryNode::Kind::kWord;
    return Word(&node->word, false);
  }

  // A word pattern at at_, ending at a space (or, inside a phrase, a '"').
  bool Word(WordPattern* word, bool inPhrase) {
    word->at = at_;
    if (s_[at_] == '/') return Regex(word);
    const size_t from = at_;
    while (at_ < s_.size() && !AtSpace() && !(inPhrase && s_[at_] == '"')) ++at_;
    const std::string_view text = s_.substr(from, at_ - from);
    const size_t plus = text.find('+');
    word->kind = WordPattern::Kind::kWildcard;
    word->text = text.substr(0, plus);
    word->coWord = plus != std::string_view::npos;
    if (word->coWord) word->tail = text.substr(plus + 1);
    return true;
  }

  bool Regex(WordPattern* word) {
    word->kind = WordPattern::Kind::kRegex;
    const size_t open = at_++;
    std::string expression;
    while (at_ < s_.size() && s_[at_] != '/') {
      // "\/" is a slash of the expression; any other escape is the expression's.
      if (s_[at_] == '\\' && at_ + 1 < s_.size()) {
        if (s_[at_ + 1] != '/') expression += '\\';
        ++at_;
      }
      expression += s_[at_++];
    }
    if (at_ >= s_.size()) return Fail(at_, "the '/' that ends the regular expression");
    if (expression.empty()) return Fail(open + 1, "a regular expression between the slashes");
    ++at_;
    while (at_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[at_])) != 0) {
      if (s_[at_] != 'c') return Fail(at_, "the flag c (letter case as written) or nothing");
      word->caseSensitive = true;
      ++at_;
    }
    if (at_ < s_.size() && !AtSpace() && s_[at_] != '"')
      return Fail(at_, "a space after the regular expression");
    word->text = std::move(expression);
    return true;
  }

  bool Phrase(QueryNode* node) {
    ++at_;
    while (true) {
      SkipSpaces();
      if (at_ >= s_.size()) return Fail(at_, "a closing '\"'");
      if (s_[at_] == '"') break;
      WordPattern word;
      if (!Word(&word, true)) return false;
      node->phrase.push_back(std::move(word));
    }
    if (node->phrase.empty()) return Fail(at_, "a word inside the quotes");
    ++at_;
    if (at_ < s_.size() && !AtSpace()) return Fail(at_, "a space after the phrase");
    return true;
  }

  bool Tokens(QueryNode* node) {
    while (at_ < s_.size() && s_[at_] == '[') {
      TokenStep step;
      if (!Step(&step)) return false;
      node->tokens.push_back(std::move(step));
      const size_t before = at_;
      SkipSpaces();
      if (at_ >= s_.size() || s_[at_] != '[') {
        at_ = before;
        break;
      }
    }
    const size_t before = at_;
    SkipSpaces();
    if (Next("within")) {
      at_ += 6;
      SkipSpaces();
      if (!Next("line")) return Fail(at_, "line (the only unit a pattern keeps within)");
      at_ += 4;
      node->withinLine = true;
    } else {
      at_ = before;
    }
    if (at_ < s_.size() && !AtSpace()) return Fail(at_, "a space after the token pattern");
    return true;
  }

  bool Step(TokenStep* step) {
    step->at = at_++;
    SkipSpaces();
    if (at_ < s_.size() && s_[at_] != ']') {
      std::vector<TokenCondition> all;
      while (true) {
        TokenCondition condition;
        if (!Condition(&condition)) return false;
        all.push_back(std::move(condition));
        SkipSpaces();
        if (at_ < s_.size() && s_[at_] == '&') {
          ++at_;
        } else if (at_ < s_.size() && s_[at_] == '|') {
          ++at_;
          step->alternatives.push_back(std::move(all));
          all.clear();
        } else {
          break;
        }
        SkipSpaces();
      }
      step->alternatives.push_back(std::move(all));
    }
    if (at_ >= s_.size() || s_[at_] != ']') return Fail(at_, "a closing ']'");
    ++at_;
    return Repeat(step);
  }

  bool Condition(TokenCondition* condition) {
    condition->at = at_;
    if (!Next("word")) {
      const bool name = at_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[at_])) != 0;
      return Fail(at_, name ? "the attribute word (no other attribute is known)"
                            : "a condition such as word=\"...\"");
    }
    at_ += 4;
    SkipSpaces();
    if (Next("!=")) {
      condition->negated = true;
      at_ += 2;
    } else if (Next("=")) {
      ++at_;
    } else {
      return Fail(at_, "= or !=");
    }
    SkipSpaces();
    if (at_ >= s_.size() || s_[at_] != '"') return Fail(at_, "a value in double quotes");
    const size_t open = at_++;
    while (at_ < s_.size() && s_[at_] != '"') {
      if (s_[at_] == '\\' && at_ + 1 < s_.size() && s_[at_ + 1] == '"') ++at_;
      condition->regex += s_[at_++];
    }
    if (at_ >= s_.size()) return Fail(at_, "a closing '\"'");
    if (condition->regex.empty()) return Fail(open + 1, "a regular expression inside the quotes");
    ++at_;
    return true;
  }

  bool Repeat(TokenStep* step) {
    if (at_ >= s_.size()) return true;
    switch (s_[at_]) {
      case '?':
        step->least = 0;
        ++at_;
        return true;
      case '*':
        step->least = 0;
        step->most = -1;
        ++at_;
        return true;
      case '+':
        step->most = -1;
        ++at_;
        return true;
      case '{':
        break;
      default:
        return true;
    }
    ++at_;
    if (!Number(kMostRepeats, &step->least)) return false;
    step->most = step->least;
    if (at_ < s_.size() && s_[at_] == ',') {
      ++at_;
      step->most = -1;
      if (at_ < s_.size() && s_[at_] != '}') {
        const size_t from = at_;
        if (!Number(kMostRepeats, &step->most)) return false;
        if (step->most < step->least) return Fail(from, "a number no smaller than the first");
      }
    }
    if (at_ >= s_.size() || s_[at_] != '}') return Fail(at_, "a closing '}'");
    ++at_;
    if (step->most == 0) return Fail(at_ - 1, "a repetition of at least one token");
    return true;
  }

  std::string_view s_;
  QueryError* error_;
  size_t at_ = 0;
};

std::string PatternText(const WordPattern& w) {
  if (w.kind == WordPattern::Kind::kWildcard) return w.coWord ? w.text + "+" + w.tail : w.text;
  std::string out = "/";
  for (const char c : w.text) {
    if (c == '/') out += '\\';
    out += c;
  }
  return out + (w.caseSensitive ? "/c" : "/");
}

std::string NodeText(const QueryNode& node) {
  switch (node.kind) {
    case QueryNode::Kind::kWord:
      return PatternText(node.word);
    case QueryNode::Kind::kPhrase: {
      std::string out = "\"";
      for (const WordPattern& w : node.phrase) out += (out.size() > 1 ? " " : "") + PatternText(w);
      return out + "\"";
    }
    case QueryNode::Kind::kTokens: {
      std::string out;
      for (const TokenStep& step : node.tokens) {
        if (!out.empty()) out += ' ';
        out += '[';
        for (size_t a = 0; a < step.alternatives.size(); ++a) {
          if (a > 0) out += " | ";
          for (size_t c = 0; c < step.alternatives[a].size(); ++c) {
            const TokenCondition& condition = step.alternatives[a][c];
            if (c > 0) out += " & ";
            out += condition.negated ? "word!=\"" : "word=\"";
            for (const char ch : condition.regex) {
              if (ch == '"') out += '\\';
              out += ch;
            }
            out += '"';
          }
        }
        out += ']';
        if (step.least == 0 && step.most == 1) {
          out += '?';
        } else if (step.least == 0 && step.most < 0) {
          out += '*';
        } else if (step.least == 1 && step.most < 0) {
          out += '+';
        } else if (step.least != 1 || step.most != 1) {
          out += '{' + std::to_string(step.least);
          if (step.most != step.least)
            out += ',' + (step.most < 0 ? std::string() : std::to_string(step.most));
          out += '}';
        }
      }
      return node.withinLine ? out + " within line" : out;
    }
    case QueryNode::Kind::kNear: {
      static constexpr const char* kNames[] = {" NEAR/", " FOLLOWED/", " PRECEDED/"};
      return NodeText(*node.first) + kNames[static_cast<int>(node.side)] +
             std::to_string(node.distance) + " " + NodeText(*node.second);
    }
  }
  return "";
}

}  // namespace

bool ParseQuery(std::string_view text, Query* query, QueryError* error) {
  *query = Query();
  return Parser(text, error).Parse(query);
}

std::string QueryErrorMessage(std::string_view text, const QueryError& error) {
  // The caret counts characters, not bytes (UTF-8's continuation bytes take no column).
  size_t column = 0;
  for (size_t i = 0; i < error.at && i < text.size(); ++i)
    column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
  if (error.overrun) {
    return "The query was stopped: at character " + std::to_string(column + 1) +
           ", the regular expression takes too long to match a word (it backtracks without "
           "end).\n  " +
           std::string(text) + "\n  " + std::string(column, ' ') + "^";
  }
  const std::string what = error.problem.empty()
                               ? error.expected + " was expected"
                               : "the regular expression is wrong: " + error.problem;
  return "The query cannot be read: at character " + std::to_string(column + 1) + ", " + what +
         ".\n  " + std::string(text) + "\n  " + std::string(column, ' ') + "^";
}

bool UsesQueryLanguage(std::string_view text) {
  return text.find_first_of("\"/[") != std::string_view::npos;
}

std::string QueryText(const Query& query) {
  std::string out;
  for (const QueryNode& node : query.alternatives) out += (out.empty() ? "" : " ") + NodeText(node);
  return out;
}

}  // namespace quillmoor
