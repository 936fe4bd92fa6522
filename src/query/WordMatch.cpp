#include "query/WordMatch.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cctype>
#include <thread>

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
  bool jit = false;
  std::vector<bool> firsts;  // by a word's first byte, ASCII: whether a match may begin so
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

bool WordMatcher::Compile(const WordPattern& pattern, bool utf8, QueryError* error,
                          bool wholeWord) {
  pattern_ = pattern;
  utf8_ = utf8;
  regex_.reset();
  overrun_ = false;
  if (pattern.kind == WordPattern::Kind::kWildcard) {
    if (!wholeWord) {
      if (!pattern_.text.starts_with('*')) pattern_.text.insert(0, 1, '*');
      if (!pattern_.text.ends_with('*')) pattern_.text += '*';
    }
    return true;
  }
  auto regex = std::make_unique<Regex>();
  int code = 0;
  PCRE2_SIZE offset = 0;
  uint32_t options = PCRE2_UTF | PCRE2_UCP;
  if (wholeWord) options |= PCRE2_ANCHORED | PCRE2_ENDANCHORED;
  if (!pattern.caseSensitive) options |= PCRE2_CASELESS;
  regex->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.text.data()),
                              pattern.text.size(), options, &code, &offset, nullptr);
  if (regex->code == nullptr) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof message);
    error->problem = reinterpret_cast<const char*>(message);
    // The place in the query: after the opening slash, each "/" of the expression
    // written there as "\/".
    size_t slashes = 0;
    for (size_t i = 0; i < offset && i < pattern.text.size(); ++i)
      slashes += pattern.text[i] == '/';
    error->at = pattern.at + 1 + offset + slashes;
    return false;
  }
  regex->jit = pcre2_jit_compile(regex->code, PCRE2_JIT_COMPLETE) == 0;  // (else interpreted)
  // The bytes a match can begin with, when PCRE2 knows them: other words are passed
  // over without a call.
  uint32_t firstType = 2;  // (a match inside a word may begin anywhere)
  if (wholeWord) pcre2_pattern_info(regex->code, PCRE2_INFO_FIRSTCODETYPE, &firstType);
  if (firstType == 1) {
    uint32_t unit = 0;
    pcre2_pattern_info(regex->code, PCRE2_INFO_FIRSTCODEUNIT, &unit);
    // (Both cases of an ASCII letter: "(?i)" may make a "c" pattern caseless; a byte
    // beyond ASCII may stand for a letter with other cases.)
    if (unit < 0x80) {
      regex->firsts.assign(256, false);
      regex->firsts[unit] = true;
      if (std::isalpha(static_cast<int>(unit)) != 0) {
        regex->firsts[static_cast<unsigned char>(std::tolower(static_cast<int>(unit)))] = true;
        regex->firsts[static_cast<unsigned char>(std::toupper(static_cast<int>(unit)))] = true;
      }
    }
  } else if (firstType == 0) {
    const uint8_t* bitmap = nullptr;
    pcre2_pattern_info(regex->code, PCRE2_INFO_FIRSTBITMAP, &bitmap);
    if (bitmap != nullptr) {
      regex->firsts.assign(256, false);
      for (int b = 0; b < 256; ++b) regex->firsts[b] = (bitmap[b / 8] >> (b % 8)) & 1;
    }
  }
  regex->data = pcre2_match_data_create_from_pattern(regex->code, nullptr);
  regex->context = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(regex->context, kMatchLimit);
  pcre2_set_depth_limit(regex->context, kDepthLimit);
  regex_ = std::move(regex);
  return true;
}

bool WordMatcher::Matches(std::string_view word) const {
  return MatchesWith(word, regex_ == nullptr ? nullptr : regex_->data, &scratch_, &overrun_);
}

bool WordMatcher::MatchesWith(std::string_view word, pcre2_match_data_8* data, std::string* scratch,
                              bool* overrun) const {
  if (regex_ == nullptr) return MatchesPatternIn(utf8_, word, pattern_.text);
  if (!regex_->firsts.empty() && !word.empty() && static_cast<unsigned char>(word[0]) < 0x80 &&
      !regex_->firsts[static_cast<unsigned char>(word[0])])
    return false;
  // An ASCII word is UTF-8 already, and valid: PCRE2 need not check it.
  bool ascii = true;
  for (const char c : word) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!ascii && !utf8_) {
    scratch->clear();
    AppendCp1252AsUtf8(word, scratch);
    word = *scratch;
  }
  const auto subject = reinterpret_cast<PCRE2_SPTR>(word.data());
  const uint32_t options = ascii || !utf8_ ? PCRE2_NO_UTF_CHECK : 0;
  const int rc =
      regex_->jit && options != 0
          ? pcre2_jit_match(regex_->code, subject, word.size(), 0, options, data, regex_->context)
          : pcre2_match(regex_->code, subject, word.size(), 0, options, data, regex_->context);
  if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
      rc == PCRE2_ERROR_JIT_STACKLIMIT)
    *overrun = true;
  return rc >= 0;
}

std::vector<uint32_t> WordMatcher::MatchAll(const std::vector<std::string_view>& words) const {
  // A large lexicon in two halves, the second on a thread of its own with match data of
  // its own.
  const size_t half = words.size() >= (size_t{1} << 16) ? words.size() / 2 : words.size();
  std::vector<uint32_t> first, second;
  bool overrun = false;
  const auto range = [&](size_t begin, size_t end, pcre2_match_data_8* data, std::string* scratch,
                         bool* over, std::vector<uint32_t>* found) {
    for (size_t i = begin; i < end; ++i) {
      if (MatchesWith(words[i], data, scratch, over)) found->push_back(static_cast<uint32_t>(i));
    }
  };
  if (half == words.size()) {
    range(0, words.size(), regex_ == nullptr ? nullptr : regex_->data, &scratch_, &overrun_,
          &first);
    return first;
  }
  pcre2_match_data* data =
      regex_ == nullptr ? nullptr : pcre2_match_data_create_from_pattern(regex_->code, nullptr);
  std::string scratch;
  std::thread other(range, half, words.size(), data, &scratch, &overrun, &second);
  range(0, half, regex_ == nullptr ? nullptr : regex_->data, &scratch_, &overrun_, &first);
  other.join();
  overrun_ = overrun_ || overrun;
  pcre2_match_data_free(data);
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace quillmoor
