#include "ui/RunDriver.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

#include "engine/Collation.h"
#include "engine/WordRules.h"
#include "engine/WordScanner.h"
#include "engine/WordTable.h"
#include "input/Markup.h"
#include "input/TextFile.h"
#include "output/IndexFile.h"
#include "output/KeywordSearch.h"
#include "output/Kwic.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/PageMap.h"
#include "ui/Concordance.h"
#include "ui/DocxReader.h"
#include "ui/IndexFiles.h"
#include "ui/InputDocument.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/ListRules.h"
#include "ui/ListedWords.h"
#include "ui/Listing.h"
#include "ui/Program.h"
#include "ui/Progress.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

std::string StoppedWithText(int32_t lngNumWords) {
  return "Stopped with" + NumberText(lngNumWords, true) + " word" + (lngNumWords == 1 ? "" : "s") +
         " found.";
}

int16_t PositionDigits(size_t length) {
  if (length == 0) return 1;  // ln 0 has no value; an empty text needs one digit
  if (length >= (size_t{1} << 31)) {
    return static_cast<int16_t>(std::floor(std::log(static_cast<double>(length)) / std::log(10.0)) +
                                1);
  }
  // Below 2^31 the quotient of the logarithms differs from the count of digits only at
  // 1,000, 1,000,000 and 1,000,000,000, where it falls just short of 3, 6 and 9.
  int16_t digits = 1;
  for (size_t power = 10; power <= length; power *= 10) ++digits;
  if (length == 1000 || length == 1000000 || length == 1000000000) --digits;
  return digits;
}

void cmdListWords_Click(Program& p) {
  MainControls& m = p.frmMain;
  const bool create = m.optCreate.value;
  p.strRunTitle = p.GetProgramText(create ? 19 : 20);
  ClearOutput(p);
  p.intContextSize = static_cast<int16_t>(m.cboContextSize.listIndex);
  p.intThresholdFrequency = static_cast<int16_t>(p.frmParams.cboThresholdFrequency.listIndex + 2);
  p.blnShowFrequencies = m.chkFrequencies.checked();
  p.blnShowLineBreaks = m.chkShowLineBreaks.checked();

  const std::string stop = p.GetProgramText(74);
  if (m.cmdListWords.caption == stop) {
    if (p.blnReadingFile) {
      p.blnStop = true;
    } else if (MsgBox(p, p.GetProgramText(75), MsgButtons::kYesNo, MsgIcon::kNone, stop, 2) !=
               MsgResult::kNo) {
      p.blnStop = true;
    }
    return;
  }
  if (create) {
    StartRun(p);
  } else {
    for (int i : {1, 2}) m.txbFile[i].text = TrimSpaces(m.txbFile[i].text);
    m.txbExtraKeywords.text = TrimSpaces(m.txbExtraKeywords.text);
    if (m.txbFile[2].text.empty() && m.txbExtraKeywords.text.empty()) {
      MsgBox(p, p.GetProgramText(21) + std::string(kCrLf) + p.GetProgramText(22), MsgButtons::kOK,
             MsgIcon::kInformation, "Search");
      return;
    }
    // An empty box means no extra keywords, whatever the box held before.
    if (m.txbExtraKeywords.text.empty()) {
      p.intNumExtraKeywords = 0;
    } else if (!GetExtraKeywords(p)) {
      return;
    }
    StartRun(p);
  }
  EnableControls(p, true);
  p.blnElapsedTimeRunning = false;
  if (p.lngSecondsElapsed < 3) m.lblTimeElapsed.caption.clear();
}

void StartRun(Program& p) {
  MainControls& m = p.frmMain;
  const bool create = m.optCreate.value;
  if (!CheckAllowedExtraChars(p)) {
    p.host.ShowWindow(WindowId::kParameters, true);
    return;
  }
  SetExtraWordChars(p);
  p.blnReadingWords = p.blnScanStopped = p.blnCharacterEntitiesPossible = false;
  if (create) {
    p.blnConcordanceFileCreated = false;
  } else {
    p.blnSearchResultsFileCreated = false;
  }
  for (TextBox& box : m.txbFile) box.text = TrimSpaces(box.text);
  auto endWithCleared = [&p] {
    ClearOutput(p);
    RefreshOutput(p);
  };
  if (m.txbFile[0].text.empty()) {
    MsgBox(p, "Input file not specified.", MsgButtons::kOK, MsgIcon::kExclamation,
           p.GetProgramText(34));
    endWithCleared();
    return;
  }
  if (!CheckInputFile(p, m.txbFile[0].text)) {
    endWithCleared();
    return;
  }
  if (!create && !m.txbFile[1].text.empty() &&
      (m.txbFile[1].text == m.txbFile[0].text || SameFile(m.txbFile[1].text, m.txbFile[0].text))) {
    MsgBox(p, "The search results file cannot be the same as the input file.", MsgButtons::kOK,
           MsgIcon::kExclamation, p.GetProgramText(34));
    endWithCleared();
    return;
  }
  if (!p.blnWordsGot && !p.blnIndexFileCurrent) {
    if (!ScanInputFile(p)) {
      if (p.blnStop && p.blnReadingFile) {
        m.txbOutput.text = "Stopped when reading file.";
        RefreshOutput(p);
        p.blnStop = false;
      }
      return;
    }
    OrderWordTable(p);
    if (p.blnStop) {
      p.blnStop = false;
      p.blnScanStopped = true;
      p.blnElapsedTimeRunning = false;
      m.txbOutput.text = StoppedWithText(p.lngNumWords);
      RefreshOutput(p);
      ConcealNumWords(p, false);
      return;
    }
    p.blnWordsGot = !p.blnScanStopped;
  }
  m.cmdListWords.caption = "Stop";
  p.host.Refresh("cmdListWords", m.cmdListWords.caption);
  m.cmdListWords.enabled = false;
  MarkAndCountWords(p);
  if (!p.blnStopAfterCounts) ListWords(p);
  if (create && !p.blnIndexFileCurrent && m.chkCreateIndexFile.checked()) {
    // An index file holds its words in the default alphabetical order.
    if (p.frmParams.strSortLanguage.empty()) {
      WriteIndexFile(p);
    } else {
      StatusText(p, "No index file is written for a listing in a language's alphabetical order.");
    }
  }
  EnableControls(p, true);
  SetListWordsCaption(p, "");
  m.lblTwirler.caption = " ";
  SetTheFocus(p);
}

void OrderWordTable(Program& p) {
  if (const std::string& language = p.frmParams.strSortLanguage; !language.empty()) {
    std::string problem;
    if (ApplySortLanguage(p, language, &problem)) {
      StatusText(p, "Alphabetical order: " + language + ".");
    } else {
      StatusText(p, "The default alphabetical order is used: " + problem + ".");
    }
  }
  SortWordTable(p.arrWords, 1, p.lngNumWords, 1);
}

void MarkAndCountWords(Program& p) {
  PutListsInRules(p, p, p.wordRules);
  StatusLine(p, 77);
  MarkIncludedWords(p);
  StatusLine(p, 78);
  CountIncludedWords(p);
  StatusLine(p, 79);
  {
    RunWatch watch(p);
    LinkWordsByFrequency(p, watch);
  }
  ShowWordCounts(p);
}

void NormalizeDocumentText(Program& p) {
  std::string& s = p.strLine;
  if (static_cast<int32_t>(s.size()) > kLargeDocumentChars) StatusLine(p, 81);
  // One pass, in place: tabs become spaces and every run of spaces one space (the text
  // only shrinks, so what is written never overtakes what is still to be read). Eight
  // characters at a time while they hold no tab and no space that would go.
  const size_t collapsed = [&s] {
    char* text = s.data();
    const size_t n = s.size();
    size_t in = 0, out = 0;
    bool space = false;  // the last character written is a space
    // The bytes of v that are zero, as their high bits (exactly those).
    const auto zeroBytes = [](uint64_t v) {
      constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
      return ~(((v & kLow7) + kLow7) | v | kLow7);
    };
    while (in < n) {
      if (in + 8 <= n) {
        uint64_t block;
        std::memcpy(&block, text + in, 8);
        const uint64_t spaces = zeroBytes(block ^ 0x2020202020202020ull);
        const uint64_t tabs = zeroBytes(block ^ 0x0909090909090909ull);
        static_assert(std::endian::native == std::endian::little,
                      "the first character is the lowest byte");
        if (tabs == 0 && (spaces & (spaces << 8)) == 0 && !(space && (spaces & 0x80))) {
          if (out != in) std::memcpy(text + out, &block, 8);
          out += 8;
          in += 8;
          space = (spaces >> 63) != 0;
          continue;
        }
      }
      const char c = text[in] == '\t' ? ' ' : text[in];
      text[out] = c;
      out += !(space && c == ' ');
      space = c == ' ';
      ++in;
    }
    return out;
  }();
  p.host.DoEvents();
  // The width of a stored position counts the text before its ends are trimmed.
  p.intPositionDigits = PositionDigits(collapsed);
  // The blanks and control characters at either end go; one space stands at each end.
  size_t first = 0, last = collapsed;
  while (first < last && Byte(s[first]) < 33) ++first;
  while (last > first && Byte(s[last - 1]) < 33) --last;
  // One space at each end, made where the text lies; the display copy is the same text
  // (a word list's run, which shows no text, makes none).
  if (first == 0) {
    s.resize(last + 1);
    std::memmove(s.data() + 1, s.data(), last);
  } else {
    std::memmove(s.data() + 1, s.data() + first, last - first);
  }
  s[0] = ' ';
  s.resize(last - first + 2);
  s.back() = ' ';
  p.pages = TakePageMarks(s, p.firstPage, p.markPages);
  if (p.blnNoDisplayCopy) {
    p.strLine1.clear();
  } else {
    p.strLine1 = s;
  }
}

bool ReadInputText(Program& p) {
  MainControls& m = p.frmMain;
  const std::string& input = m.txbFile[0].text;
  p.strInputExtension = GetFileExtension(input, true);
  p.blnDocxInput = false;
  if (m.optCreate.value) p.blnConcordanceFileCreated = false;
  ClearOutput(p);
  RefreshOutput(p);
  p.blnElapsedTimeRunning = true;

  bool utf8 = false, ok = false;
  ReadInputDocument(p, utf8, ok);
  if (!ok) return false;
  // The concordance's header needs the input's digest: it is made meanwhile.
  if (m.optCreate.value && !p.blnStopAfterCounts) p.inputDigest.Start(input);
  StatusLine(p, 80);
  ConcealNumWords(p, true);

  StartWordTable(p);
  SelectMarkupHandling(p.blnCharacterEntitiesPossible, p.strInputExtension);
  p.blnStop = false;
  p.host.DoEvents();
  if (p.blnStop) return false;
  NormalizeDocumentText(p);
  return true;
}

bool ScanInputFile(Program& p) {
  if (!ReadInputText(p)) return false;
  MainControls& m = p.frmMain;
  const std::string& input = m.txbFile[0].text;
  StatusLine(p, 82);
  // Under the Unicode rules the scanner lower-cases each word.
  if (p.textRules == WordRuleSet::kWindows1252) {
    p.strLine = LowerCaseAccented(std::move(p.strLine), [&p] { p.host.DoEvents(); });
  }
  p.turkish = p.frmParams.strSortLanguage == "tr";

  p.blnReadingFile = false;
  m.lblTimeElapsed.visible = true;
  p.blnElapsedTimeRunning = true;
  p.lngSecondsElapsed = 0;
  StatusLine(p, 83);
  FileError error;
  if (Files().FileLength(input, &error) > kScanProgressMinBytes) {
    SetTotalNumOccurrencesForFileProgressBar(p);
  }
  {
    RunWatch watch(p);
    GetWords(p, p, p.blnCharacterEntitiesPossible, watch);
  }
  if (p.blnDocxInput) DeleteTempFolder(p);
  FinishWordTable(p);
  ResetProgressLabel(p);
  m.lblTwirler.caption = " ";
  return true;
}

namespace {

// Prepares the listing progress bar when the table is large enough to need one, and
// room for the listing: about 14 characters a context word and line (address space
// only: pages are used as the listing grows).
void PrepareListing(Program& p) {
  ResetProgressLabel(p);
  if (p.lngNumWords > 100) SetTotalNumOccurrencesForFileProgressBar(p);
  p.strOutputBuffer.clear();
  const size_t perLine = static_cast<size_t>(p.intContextSize) * 2 * 7 + 16;
  const size_t estimate = static_cast<size_t>(std::max(p.lngNumOccurrences, 0)) * perLine +
                          static_cast<size_t>(std::max(p.lngNumWordsIncluded, 0)) * 24;
  // A draft takes all but the output box's part (in slices of a megabyte or so).
  const size_t most = p.concordanceDraft != nullptr
                          ? static_cast<size_t>(std::max(p.lngMaxTextboxChars, 0)) + (2 << 20)
                          : 8 * p.strLine1.size() + 4096;
  p.strOutputBuffer.reserve(std::min(estimate, most));
}

// Entries with context are made on worker threads ahead of the listing loop when the
// machine has more than one core and the listing is long enough to gain from it.
std::unique_ptr<EntryPipeline> StartEntryPipeline(const Program& p, std::vector<int32_t> order) {
  // Threads cost more than they save on a short listing (a letter, an article).
  constexpr int32_t kPipelineOccurrences = 20000;
  if (p.intContextSize == 0 || order.size() < 64 || p.lngNumOccurrences < kPipelineOccurrences)
    return nullptr;
  const unsigned cores = std::thread::hardware_concurrency();
  if (cores < 2) return nullptr;
  return std::make_unique<EntryPipeline>(p.arrWords, p.strLine1, ListingOptions(p), SearchOf(p),
                                         std::move(order), static_cast<int>(std::min(cores, 4u)));
}

// The listing starts at its first visible character: the blanks before it are dropped
// while the listing holds only its first entry, not by moving the whole listing when it
// is finished. True once the listing has begun.
bool DropLeadingBlanks(std::string& buffer) {
  size_t first = 0;
  while (first < buffer.size() && Byte(buffer[first]) <= 32) ++first;
  buffer.erase(0, first);
  return !buffer.empty();
}

}  // namespace

void ListWordsAlphabetically(Program& p) {
  PrepareListing(p);
  std::vector<int32_t> order;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    if (p.arrWords[static_cast<size_t>(i)].blnIncluded) order.push_back(i);
  }
  std::unique_ptr<EntryPipeline> pipeline = StartEntryPipeline(p, order);
  size_t k = 0;
  bool begun = false;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    if (p.arrWords[static_cast<size_t>(i)].blnIncluded) {
      if (p.lngNumWords > 100) UpdateProgressBar(p, i, p.lngNumWords, 0);
      if (pipeline) {
        pipeline->Append(k++, p.strOutputBuffer);
      } else {
        DisplayNextWord(p, i, p.strOutputBuffer);
      }
      if (!begun) begun = DropLeadingBlanks(p.strOutputBuffer);
      if (begun) SpillListing(p);
    }
    p.host.DoEvents();
    if (p.blnStop) break;
  }
}

void ListWordsByFrequency(Program& p) {
  PrepareListing(p);
  std::vector<int32_t> order;
  for (int32_t i = p.lngFirstFreq;
       i != 0 && static_cast<int32_t>(order.size()) < p.lngNumWordsIncluded;
       i = p.arrWords[static_cast<size_t>(i)].lngNextByFreq) {
    order.push_back(i);
  }
  std::unique_ptr<EntryPipeline> pipeline = StartEntryPipeline(p, order);
  bool begun = false;
  for (size_t k = 0; k < order.size(); ++k) {
    if (p.lngNumWords > 100) UpdateProgressBar(p, static_cast<int32_t>(k + 1), p.lngNumWords, 0);
    if (pipeline) {
      pipeline->Append(k, p.strOutputBuffer);
    } else {
      DisplayNextWord(p, order[k], p.strOutputBuffer);
    }
    if (!begun) begun = DropLeadingBlanks(p.strOutputBuffer);
    if (begun) SpillListing(p);
    p.host.DoEvents();
    if (p.blnStop) break;
  }
}

void ListWords(Program& p) {
  MainControls& m = p.frmMain;
  p.blnOutputFileCreated = false;
  if (p.lngNumWordsIncluded == 0) {
    ClearOutput(p);
    RefreshOutput(p);
    return;
  }
  p.intContextSize = static_cast<int16_t>(m.cboContextSize.listIndex);
  p.blnShowFrequencies = m.chkFrequencies.checked();
  p.blnShowLineBreaks = m.chkShowLineBreaks.checked();
  if (m.optCreate.value) {
    m.lblTimeElapsed.visible = true;
    p.blnElapsedTimeRunning = true;
    StatusText(p, "Creating concordance ...");
  } else {
    StatusText(p, "Getting search results ...");
    p.keywordSelection = KeywordSelection::Of(p);
  }
  StartConcordanceDraft(p);
  if (m.cboWordOrder.listIndex == 0) {
    ListWordsAlphabetically(p);
  } else {
    ListWordsByFrequency(p);
  }
  FinishListing(p);
  if (p.blnStop) {
    AppendOutput(p, std::string(kCrLf) + "Listing stopped." + std::string(kCrLf));
    RefreshOutput(p);
  }
}

void ShowWordCounts(Program& p) {
  MainControls& m = p.frmMain;
  m.lblNumberOfWords.caption = p.GetProgramText(91) + " " + FormatNumber(p.lngNumWordsIncluded, 0);
  m.lblNumberOfWords.visible = true;
  m.lblNumOccurrences.caption.clear();
  if (!p.blnScanStopped && p.lngNumOccurrences >= 1) {
    m.lblNumOccurrences.caption = p.GetProgramText(92) + " " + FormatNumber(p.lngNumOccurrences, 0);
  }
  m.lblNumOccurrences.visible = true;
  p.host.Refresh("Frame4", m.lblNumberOfWords.caption + " " + m.lblNumOccurrences.caption);
}

}  // namespace quillmoor
