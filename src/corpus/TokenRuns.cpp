#include "corpus/TokenRuns.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <string>

#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "input/Markup.h"
#include "shared/Utf8.h"

namespace quillmoor {

namespace {

// Windows-1252 characters by class: 0 none of a word's, 1 a hyphen, 2 a letter or digit.
struct WordClasses {
  uint8_t of[256] = {};
  WordClasses() {
    for (int c = 0; c < 256; ++c) {
      if (IsWordStartChar(static_cast<char>(c))) of[c] = c == '-' ? 1 : 2;
    }
  }
};
const WordClasses kClasses;

// The runs from `at` on, a character at a time, with the state of a run under way.
struct RunState {
  bool in = false;
  size_t begin = 0;
  uint8_t seen = 0;  // the classes the run holds
};

inline void ScanBytes(const unsigned char* s, size_t at, size_t end, RunState& r,
                      std::vector<TokenRun>* runs) {
  for (; at < end; ++at) {
    const uint8_t c = kClasses.of[s[at]];
    if (c != 0) {
      if (!r.in) {
        r.in = true;
        r.begin = at;
        r.seen = 0;
      }
      r.seen |= c;
    } else if (r.in) {
      r.in = false;
      if (r.seen & 2)
        runs->push_back({static_cast<uint32_t>(r.begin), static_cast<uint32_t>(at - r.begin)});
    }
  }
}

// The runs of a chunk of kWidth ASCII characters at `at`, from the masks of its word
// characters and of those of them that are not hyphens (bit i: character at + i), the
// run under way at its start carried in and the one at its end carried out.
template <unsigned kWidth>
[[gnu::always_inline]] inline void ChunkRuns(uint64_t word, uint64_t other, size_t at, RunState& r,
                                             std::vector<TokenRun>* runs) {
  constexpr uint64_t kFull = kWidth == 64 ? ~uint64_t{0} : (uint64_t{1} << kWidth) - 1;
  const auto below = [](uint64_t bit) { return (uint64_t{1} << bit) - 1; };
  uint64_t bit = 0;  // the bits below `bit` are done
  if (r.in) {
    const uint64_t stop = ~word & kFull;
    if (stop == 0) {
      r.seen |= other != 0 ? 2 : 1;
      return;
    }
    const auto end = static_cast<uint64_t>(__builtin_ctzll(stop));
    if ((other & below(end)) != 0) r.seen |= 2;
    r.in = false;
    if (r.seen & 2)
      runs->push_back({static_cast<uint32_t>(r.begin), static_cast<uint32_t>(at + end - r.begin)});
    bit = end;
  }
  word &= ~below(bit);
  while (word != 0) {
    const auto begin = static_cast<uint64_t>(__builtin_ctzll(word));
    const uint64_t stop = ~word & kFull & ~below(begin);
    if (stop == 0) {  // the run goes on into the next chunk
      r.in = true;
      r.begin = at + begin;
      r.seen = (other & ~below(begin)) != 0 ? 2 : 1;
      return;
    }
    const auto end = static_cast<uint64_t>(__builtin_ctzll(stop));
    const uint64_t span = below(end) & ~below(begin);
    if ((other & span) != 0)
      runs->push_back({static_cast<uint32_t>(at + begin), static_cast<uint32_t>(end - begin)});
    word &= ~span;
  }
}

#if defined(__x86_64__)
// Thirty-two characters at a time, where the processor has AVX2; returns where it
// stopped (fewer than 32 characters before `n`).
[[gnu::target("avx2")]] size_t ScanAvx2(const unsigned char* s, size_t n, RunState& r,
                                        std::vector<TokenRun>* runs) {
  const __m256i a = _mm256_set1_epi8('a' - 1), z = _mm256_set1_epi8('z' + 1),
                ua = _mm256_set1_epi8('A' - 1), uz = _mm256_set1_epi8('Z' + 1),
                zero = _mm256_set1_epi8('0' - 1), nine = _mm256_set1_epi8('9' + 1),
                hyphen = _mm256_set1_epi8('-');
  size_t at = 0;
  for (; at + 32 <= n; at += 32) {
    const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + at));
    if (_mm256_movemask_epi8(chunk) != 0) {  // a character beyond ASCII: the table decides
      ScanBytes(s, at, at + 32, r, runs);
      continue;
    }
    const __m256i lower =
        _mm256_and_si256(_mm256_cmpgt_epi8(chunk, a), _mm256_cmpgt_epi8(z, chunk));
    const __m256i upper =
        _mm256_and_si256(_mm256_cmpgt_epi8(chunk, ua), _mm256_cmpgt_epi8(uz, chunk));
    const __m256i digit =
        _mm256_and_si256(_mm256_cmpgt_epi8(chunk, zero), _mm256_cmpgt_epi8(nine, chunk));
    const __m256i hy = _mm256_cmpeq_epi8(chunk, hyphen);
    const auto word = static_cast<uint32_t>(_mm256_movemask_epi8(
        _mm256_or_si256(_mm256_or_si256(lower, upper), _mm256_or_si256(digit, hy))));
    const uint32_t other = word & ~static_cast<uint32_t>(_mm256_movemask_epi8(hy));
    ChunkRuns<32>(word, other, at, r, runs);
  }
  return at;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

void FindWindows1252Runs(std::string_view text, bool wide, std::vector<TokenRun>* runs) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  RunState r;
  size_t at = 0;
#if defined(__x86_64__)
  if (wide && HasAvx2()) at = ScanAvx2(s, n, r, runs);
#else
  (void)wide;
#endif
#if defined(__SSE2__)
  // Sixteen characters at a time while they are ASCII: a mask of the word characters
  // and one of the hyphens, the runs read off their bits.
  const __m128i a = _mm_set1_epi8('a' - 1), z = _mm_set1_epi8('z' + 1), ua = _mm_set1_epi8('A' - 1),
                uz = _mm_set1_epi8('Z' + 1), zero = _mm_set1_epi8('0' - 1),
                nine = _mm_set1_epi8('9' + 1), hyphen = _mm_set1_epi8('-');
  for (; at + 16 <= n; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
    if (_mm_movemask_epi8(chunk) != 0) {  // a character beyond ASCII: the table decides
      ScanBytes(s, at, at + 16, r, runs);
      continue;
    }
    const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(chunk, a), _mm_cmplt_epi8(chunk, z));
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(chunk, ua), _mm_cmplt_epi8(chunk, uz));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(chunk, zero), _mm_cmplt_epi8(chunk, nine));
    const __m128i hy = _mm_cmpeq_epi8(chunk, hyphen);
    const auto word = static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(lower, upper), _mm_or_si128(digit, hy))));
    const uint32_t other = word & ~static_cast<uint32_t>(_mm_movemask_epi8(hy));
    ChunkRuns<16>(word, other, at, r, runs);
  }
#endif
  ScanBytes(s, at, n, r, runs);
  if (r.in && (r.seen & 2))
    runs->push_back({static_cast<uint32_t>(r.begin), static_cast<uint32_t>(n - r.begin)});
}

}  // namespace

void FindTokenRuns(std::string_view text, bool utf8, std::vector<TokenRun>* runs) {
  FindTokenRunsBy(text, utf8, true, runs);
}

void FindTokenRunsBy(std::string_view text, bool utf8, bool wide, std::vector<TokenRun>* runs) {
  runs->clear();
  // The scanner reads a double hyphen as two spaces (comment marks aside).
  if (text.find("--") != std::string_view::npos) {
    const std::string spaced = RemoveDoubleHyphens(std::string(text));
    if (spaced != text) {
      FindTokenRunsBy(spaced, utf8, wide, runs);
      return;
    }
  }
  if (!utf8) {
    runs->reserve(text.size() / 5);
    FindWindows1252Runs(text, wide, runs);
    return;
  }
  const size_t n = text.size();
  size_t at = 0;
  // The length of the word character at `at` (0: not one).
  const auto wordChar = [&](size_t i) -> size_t {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!utf8 || c < 0x80) return IsWordStartChar(static_cast<char>(c)) ? 1 : 0;
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAtInline(text, i, &cp);
    if (len == 0) return 0;
    return ClassOfCodePoint(cp) != CharClass::kOther ? len : 0;
  };
  while (at < n) {
    size_t len = wordChar(at);
    if (len == 0) {
      ++at;
      continue;
    }
    const size_t begin = at;
    bool counts = false;
    do {
      counts |= text[at] != '-';
      at += len;
    } while (at < n && (len = wordChar(at)) != 0);
    if (counts) runs->push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(at - begin)});
  }
}

uint32_t TokenAtOffset(const std::vector<TokenRun>& runs, size_t offset) {
  const auto after = std::upper_bound(runs.begin(), runs.end(), offset,
                                      [](size_t o, const TokenRun& r) { return o < r.begin; });
  return after == runs.begin() ? 0 : static_cast<uint32_t>(after - runs.begin() - 1);
}

}  // namespace quillmoor
