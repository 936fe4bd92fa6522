#include "query/WordMatch.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "engine/WildcardMatch.h"
#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

// A match may take this many steps of PCRE2's, and nest this deep: far more than any
// word needs, far less than a pattern that backtracks without end would take.
constexpr uint32_t kMatchLimit = 1000000;
constexpr uint32_t kDepthLimit = 10000;

}  // namespace

struct WordMatcher::Regex {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  pcre2_match_context* context = nullptr;
  ~Regex() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
};

WordMatcher::WordMatcher() = default;
WordMatcher::~WordMatcher() = default;
WordMatcher::WordMatcher(WordMatcher&&) noexcept = default;
WordMatcher& WordMatcher::operator=(WordMatcher&&) noexcept = default;

bool WordMatcher::Compile(const WordPattern& pattern, bool utf8, QueryError* error) {
  pattern_ = pattern;
  utf8_ = utf8;
  regex_.reset();
  overrun_ = false;
  if (pattern.kind == WordPattern::Kind::kWildcard) return true;
  auto regex = std::make_unique<Regex>();
  int code = 0;
  PCRE2_SIZE offset = 0;
  uint32_t options = PCRE2_ANCHORED | PCRE2_ENDANCHORED | PCRE2_UTF | PCRE2_UCP;
  if (!pattern.caseSensitive) options |= PCRE2_CASELESS;
  regex->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.text.data()), pattern.text.size(),
                              options, &code, &offset, nullptr);
  if (regex->code == nullptr) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof message);
    error->problem = reinterpret_cast<const char*>(message);
    // The place in the query: after the opening slash, each "/" of the expression
    // written there as "\/".
    size_t slashes = 0;
    for (size_t i = 0; i < offset && i < pattern.text.size(); ++i) slashes += pattern.text[i] == '/';
    error->at = pattern.at + 1 + offset + slashes;
    return false;
  }
  pcre2_jit_compile(regex->code, PCRE2_JIT_COMPLETE);  // (without a JIT, it interprets)
  regex->data = pcre2_match_data_create_from_pattern(regex->code, nullptr);
  regex->context = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(regex->context, kMatchLimit);
  pcre2_set_depth_limit(regex->context, kDepthLimit);
  regex_ = std::move(regex);
  return true;
}

bool WordMatcher::Matches(std::string_view word) const {
  if (regex_ == nullptr) return MatchesPatternIn(utf8_, word, pattern_.text);
  std::string converted;
  if (!utf8_) {
    converted = Cp1252ToUtf8(word);
    word = converted;
  }
  const int rc = pcre2_match(regex_->code, reinterpret_cast<PCRE2_SPTR>(word.data()), word.size(),
                             0, 0, regex_->data, regex_->context);
  if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT) overrun_ = true;
  return rc >= 0;
}

std::vector<uint32_t> WordMatcher::MatchAll(const std::vector<std::string_view>& words) const {
  std::vector<uint32_t> found;
  for (size_t i = 0; i < words.size(); ++i) {
    if (Matches(words[i])) found.push_back(static_cast<uint32_t>(i));
  }
  return found;
}

}  // namespace quillmoor
