#include "engine/WordScanner.h"

#include <sys/mman.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "input/Markup.h"
#include "shared/Prefetch.h"

namespace quillmoor {
namespace {

// Words ending in "s" that keep it (besides those ending in "ics").
bool IsPluralException(std::string_view lower) {
  static constexpr std::string_view kKeep[] = {"maths",   "stats",  "arms",
                                               "dickens", "always", "perhaps"};
  for (std::string_view word : kKeep) {
    if (lower == word) return true;
  }
  return false;
}

}  // namespace

std::string_view ScanWord(std::string_view text, int32_t& lngLP) {
  const size_t begin = static_cast<size_t>(lngLP - 1);
  size_t end = begin;
#if defined(__SSE2__)
  // Sixteen characters at a time while they are small ASCII letters, digits or
  // hyphens; the table decides from the first other character on.
  const __m128i a = _mm_set1_epi8('a' - 1), z = _mm_set1_epi8('z' + 1),
                zero = _mm_set1_epi8('0' - 1), nine = _mm_set1_epi8('9' + 1),
                hyphen = _mm_set1_epi8('-');
  while (end + 16 <= text.size()) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + end));
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(chunk, a), _mm_cmplt_epi8(chunk, z));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(chunk, zero), _mm_cmplt_epi8(chunk, nine));
    const __m128i word = _mm_or_si128(_mm_or_si128(letter, digit), _mm_cmpeq_epi8(chunk, hyphen));
    const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
    if (others != 0) {
      end += static_cast<size_t>(__builtin_ctz(others));
      break;
    }
    end += 16;
  }
#endif
  while (end < text.size() && IsWordStartChar(text[end])) ++end;
  if (end == begin) return {};
  lngLP += static_cast<int32_t>(end - begin);
  std::string_view s = text.substr(begin, end - begin);
  if (!IsLetterChar(s[0]) && ContainsNoLetter(s)) return {};
  // Leading and trailing hyphens go; inner hyphens stay.
  while (!s.empty() && s.front() == '-') s.remove_prefix(1);
  while (!s.empty() && s.back() == '-') s.remove_suffix(1);
  // A plural "s" goes, unless the word ends in "ss", a vowel and "s", or is an exception.
  const size_t n = s.size();
  if (n >= 3 && s.back() == 's' && s[n - 2] != 's' && s[n - 2] != '\'' &&
      !IsAccentAwareVowel(s[n - 2])) {
    char lower[8];
    bool exception = LowerCaseChar(s[n - 3]) == 'i' && LowerCaseChar(s[n - 2]) == 'c';
    if (!exception && n <= 7) {
      for (size_t i = 0; i < n; ++i) lower[i] = LowerCaseChar(s[i]);
      exception = IsPluralException(std::string_view(lower, n));
    }
    if (!exception) s.remove_suffix(1);
  }
  if (s.size() == 1 && (LowerCaseChar(s[0]) == 's' || LowerCaseChar(s[0]) == 't')) return {};
  // (A run of word characters holds no space.)
  if (s.size() <= 7 && !s.empty() && LowerCaseChar(s.back()) == 'n' && IsContractionStemOfWord(s))
    return {};
  return s;
}

std::string GetWord(DocumentText& d) { return std::string(ScanWord(d.strLine, d.lngLP)); }

bool IsAcceptedWord(std::string_view w, int maxLength) {
  const int len = static_cast<int>(w.size());
  if (len < 3 || len > maxLength) return false;
  // Most words settle both questions at their first two characters (when no space
  // stands at either end for the tests to trim).
  const bool trimmed = w.front() != ' ' && w.back() != ' ';
  const char first = UpperCaseChar(w[0]);
  const bool mayRepeat = !trimmed || w[1] == w[0];
  const bool mayBeNumeral = !trimmed || first == 'I' || first == 'V' || first == 'X' ||
                            first == 'L' || first == 'C' || first == 'D' || first == 'M';
  return !(mayRepeat && IsRepeatedChar(w)) && !(mayBeNumeral && IsRomanNumeral(w, false));
}

namespace {

// One accepted word: where it stands (in the text, or in its batch's own text) and
// the scan position after its run.
struct FoundWord {
  int32_t offset;
  int32_t length;
  int32_t lngLP;
};

// The words found in a stretch of the text. Under the Unicode rules a word is not a
// stretch of the text (it is in lower case): the batch keeps the words' text.
struct FoundBatch {
  std::vector<FoundWord> words;
  std::string own;        // the words' text under the Unicode rules
  bool chunkEnd = false;  // the last batch of a stretch (FoundWords)
  std::string_view Word(std::string_view text, const FoundWord& f) const {
    return (own.empty() ? text : std::string_view(own))
        .substr(static_cast<size_t>(f.offset), static_cast<size_t>(f.length));
  }
  // The text before this offset is not read again.
  size_t Passed() const {
    const FoundWord& last = words.back();
    return static_cast<size_t>(own.empty() ? last.offset : last.lngLP - last.length - 1);
  }
};

// Finds the accepted words of a text on another thread, a batch at a time, ahead of
// the thread that enters them into the table. Runs are independent of each other, so
// the words and their scan positions are those the one-thread scan finds.
class WordFinder {
 public:
  // Under the Unicode rules (`unicode` given) the finder takes the stretches
  // `chunks` of the text, one after the other, and ends each with a chunkEnd batch.
  WordFinder(std::string_view text, int maxLength, const UnicodeWordOptions* unicode,
             std::vector<std::pair<size_t, size_t>> chunks = {})
      : text_(text), maxLength_(maxLength), chunks_(std::move(chunks)) {
    if (unicode != nullptr) unicode_ = *unicode;
    thread_ = std::thread([this, u = unicode != nullptr] { u ? RunUnicode() : Run(); });
  }
  ~WordFinder() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      cancelled_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  // The next batch; empty when the text is done.
  FoundBatch Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !batches_.empty() || done_; });
    if (batches_.empty()) return {};
    FoundBatch batch = std::move(batches_.front());
    batches_.pop_front();
    changed_.notify_all();
    return batch;
  }

 private:
  static constexpr size_t kBatch = 4096;
  static constexpr size_t kBatchesAhead = 24;

  void Push(FoundBatch& batch) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return cancelled_ || batches_.size() < kBatchesAhead; });
      batches_.push_back(std::move(batch));
      changed_.notify_all();
    }
    batch = FoundBatch{};
    batch.words.reserve(kBatch);
  }
  void Finish(FoundBatch& batch) {
    if (!batch.words.empty()) Push(batch);
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
    changed_.notify_all();
  }
  void Run() {
    FoundBatch batch;
    batch.words.reserve(kBatch);
    const int32_t length = static_cast<int32_t>(text_.size());
    int32_t lngLP = 1;
    while (lngLP < length && !cancelled_) {
      if (IsWordStartChar(text_[static_cast<size_t>(lngLP - 1)])) {
        const std::string_view w = ScanWord(text_, lngLP);
        if (IsAcceptedWord(w, maxLength_)) {
          batch.words.push_back({static_cast<int32_t>(w.data() - text_.data()),
                                 static_cast<int32_t>(w.size()), lngLP});
          if (batch.words.size() == kBatch) Push(batch);
        }
      }
      lngLP = NextNonSpace(text_, lngLP + 1);
      if (lngLP == 0) break;
    }
    Finish(batch);
  }
  void RunUnicode() {
    FoundBatch batch;
    batch.words.reserve(kBatch);
    UnicodeWordScanner scanner(unicode_);
    for (const auto& [begin, end] : chunks_) {
      const auto base = static_cast<int32_t>(begin);
      const bool whole =
          scanner.Scan(text_.substr(begin, end - begin), [&](std::string_view w, int32_t position) {
            const auto size = static_cast<int32_t>(w.size());
            batch.words.push_back(
                {static_cast<int32_t>(batch.own.size()), size, base + position + size});
            batch.own.append(w);
            if (batch.words.size() == kBatch) Push(batch);
            return !cancelled_;
          });
      if (!whole) break;
      batch.chunkEnd = true;
      Push(batch);
    }
    Finish(batch);
  }

  const std::string_view text_;
  const int maxLength_;
  const std::vector<std::pair<size_t, size_t>> chunks_;
  UnicodeWordOptions unicode_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<FoundBatch> batches_;
  bool done_ = false;
  std::atomic<bool> cancelled_{false};
  std::thread thread_;
};

// The words of a text in text order, found ahead on other threads: one finder under
// the Windows-1252 rules; under the Unicode rules (whose words cost more to find) two,
// taking turns at stretches of the text that end at a space.
class FoundWords {
 public:
  FoundWords(std::string_view text, int maxLength, const UnicodeWordOptions* unicode) {
    if (unicode == nullptr) {
      finders_.push_back(std::make_unique<WordFinder>(text, maxLength, nullptr));
      return;
    }
    constexpr size_t kStretch = 192 * 1024;  // what a finder's batches ahead hold, or less
    std::vector<std::pair<size_t, size_t>> turns[2];
    for (size_t begin = 0, k = 0; begin < text.size(); ++k) {
      size_t end = begin + kStretch >= text.size() ? text.size() : text.find(' ', begin + kStretch);
      if (end == std::string_view::npos) end = text.size();
      turns[k % 2].emplace_back(begin, end);
      begin = end;
    }
    for (auto& chunks : turns) {
      if (!chunks.empty()) {
        finders_.push_back(
            std::make_unique<WordFinder>(text, maxLength, unicode, std::move(chunks)));
      }
    }
  }
  // The next batch; empty when the text is done.
  FoundBatch Next() {
    while (true) {
      FoundBatch batch = finders_[turn_]->Next();
      if (!batch.chunkEnd) return batch;  // words, or the end
      turn_ = (turn_ + 1) % finders_.size();
      if (!batch.words.empty()) return batch;
    }
  }

 private:
  std::vector<std::unique_ptr<WordFinder>> finders_;
  size_t turn_ = 0;
};

// Hands the pages of a text the scan has passed back to the system (they read as
// zeros afterwards: nothing may read them again).
class PassedTextRelease {
 public:
  // Enabled for a text of `minLength` characters or more; hands back an eighth of that
  // (a page at least) at a time.
  PassedTextRelease(std::string& text, size_t minLength)
      : base_(reinterpret_cast<uintptr_t>(text.data())), enabled_(text.size() >= minLength) {
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    mask_ = page - 1;
    step_ = std::max<uintptr_t>(minLength / 8, page);
    released_ = (base_ + mask_) & ~mask_;
  }
  // The text before `offset` is not read again.
  void Passed(size_t offset) {
    if (!enabled_) return;
    const uintptr_t end = (base_ + offset) & ~mask_;
    if (end < released_ + step_) return;
    ::madvise(reinterpret_cast<void*>(released_), end - released_, MADV_DONTNEED);
    released_ = end;
    any_ = true;
  }
  bool any() const { return any_; }

 private:
  const uintptr_t base_;
  const bool enabled_;
  uintptr_t mask_ = 0;
  uintptr_t step_ = 0;
  uintptr_t released_ = 0;
  bool any_ = false;
};

}  // namespace

void GetWords(DocumentText& d, WordTable& t, bool blnCharacterEntitiesPossible, WorkObserver& watch,
              size_t minParallelLength, size_t minReleaseLength) {
  d.strLine = RemoveDoubleHyphens(std::move(d.strLine));
  const bool unicode = d.textRules == WordRuleSet::kUnicode;
  if (blnCharacterEntitiesPossible) d.strLine = DecodeCharacterEntities(d.strLine, unicode);
  d.lngLP = 1;
  const int32_t length = static_cast<int32_t>(d.strLine.size());
  // The bar is drawn for a text of 10 KB or more, and only where it changes.
  constexpr int32_t kProgressMin = 10240;
  int32_t progressAt = 0;
  t.wordRules = unicode ? WordRuleSet::kUnicode : WordRuleSet::kWindows1252;
  const UnicodeWordOptions unicodeOptions{d.turkish, t.intMaxPermittedWordLength};
  if (unicode && d.strLine.size() < minParallelLength) {
    UnicodeWordScanner scanner(unicodeOptions);
    scanner.Scan(d.strLine, [&](std::string_view w, int32_t position) {
      d.lngLP = position + static_cast<int32_t>(w.size());
      AddWordToList(t, w, d.lngLP, watch);
      if (d.lngLP >= progressAt) {
        watch.Progress(d.lngLP, length, kProgressMin);
        progressAt = watch.NextProgressStep(length, kProgressMin);
      }
      watch.LetEventsRun();
      return !watch.StopRequested();
    });
    d.lngLP = length;
    return;
  }
  if (d.strLine.size() >= minParallelLength && std::thread::hardware_concurrency() > 1) {
    // The words are found on another thread; this one enters them, lets events run
    // and looks for a stop request after each, as the one-thread scan does.
    PassedTextRelease release(d.strLine, minReleaseLength);
    // The lower-case text, partly handed back, goes whichever way the scan ends (after
    // the finder has stopped: it is declared later).
    struct Drop {
      std::string& text;
      const PassedTextRelease& release;
      ~Drop() {
        if (release.any()) std::string().swap(text);
      }
    } drop{d.strLine, release};
    FoundWords finder(d.strLine, t.intMaxPermittedWordLength, unicode ? &unicodeOptions : nullptr);
    // A batch is entered in two passes: the first hashes its words and looks up those
    // the table holds already (their index slots asked for a few words ahead), the
    // second enters the occurrences in text order (their records asked for ahead), a
    // word the first pass did not find through AddWordToList. An entry, once made,
    // keeps its index, and a word entered earlier in the batch is found then.
    constexpr size_t kAhead = 8;
    std::vector<uint64_t> hashes;
    std::vector<int32_t> known;
    for (FoundBatch found = finder.Next(); !found.words.empty(); found = finder.Next()) {
      const std::vector<FoundWord>& batch = found.words;
      const size_t n = batch.size();
      const auto word = [&](const FoundWord& f) { return found.Word(d.strLine, f); };
      hashes.resize(n);
      known.resize(n);
      for (size_t k = 0; k < n; ++k) hashes[k] = WordIndex::Hash(word(batch[k]));
      for (size_t k = 0; k < std::min(n, kAhead); ++k) t.wordIndex.Prefetch(hashes[k]);
      for (size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) t.wordIndex.Prefetch(hashes[k + kAhead]);
        known[k] = t.wordIndex.Find(word(batch[k]), hashes[k], t.arrWords);
      }
      for (size_t k = 0; k < n; ++k) {
        const FoundWord& f = batch[k];
        if (k + kAhead < n && known[k + kAhead] != 0) {
          PrefetchLine(&t.arrWords[static_cast<size_t>(known[k + kAhead])]);
        }
        d.lngLP = f.lngLP;
        if (known[k] != 0) {
          AddOccurrence(t, known[k], f.lngLP - f.length);
        } else {
          AddWordToList(t, word(f), hashes[k], d.lngLP, watch);
        }
        if (d.lngLP >= progressAt) {
          watch.Progress(d.lngLP, length, kProgressMin);
          progressAt = watch.NextProgressStep(length, kProgressMin);
        }
        watch.LetEventsRun();
        if (watch.StopRequested()) return;
      }
      // The finder reads only ahead of the last word of the batch.
      release.Passed(found.Passed());
    }
    d.lngLP = length;
    return;
  }
  while (true) {
    if (d.lngLP >= length) break;
    watch.LetEventsRun();
    if (IsWordStartChar(d.strLine[static_cast<size_t>(d.lngLP - 1)])) {
      const std::string_view w = ScanWord(d.strLine, d.lngLP);
      if (IsAcceptedWord(w, t.intMaxPermittedWordLength)) {
        AddWordToList(t, w, d.lngLP, watch);
        if (d.lngLP >= progressAt) {
          watch.Progress(d.lngLP, length, kProgressMin);
          progressAt = watch.NextProgressStep(length, kProgressMin);
        }
        watch.LetEventsRun();
        if (watch.StopRequested()) break;
      }
    }
    d.lngLP = NextNonSpace(d.strLine, d.lngLP + 1);
    if (d.lngLP == 0) break;
  }
}

}  // namespace quillmoor
