#include "output/IndexFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "input/FileKinds.h"
#include "input/InputDocument.h"
#include "input/TextFile.h"
#include "output/Compressor.h"
#include "output/Concordance.h"
#include "output/Md5.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Program.h"
#include "shared/ScratchFile.h"
#include "ui/MainWindow.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);

// The widest position field: ten digits hold every 32-bit position.
constexpr int64_t kMaxPositionDigits = 10;
// The shortest word line: "a*0*1*0*" and one digit.
constexpr int64_t kShortestWordLine = 9;
// How much larger than its input an index text may expand (positions of one-letter
// words take five times their text at most); a stream that claims more is damaged.
constexpr long long kMaxExpansion = 32;
constexpr long long kExpansionSlack = 1 << 20;

// A field of a word line: 1 to 10 decimal digits, at most INT32_MAX.
bool ParseField(std::string_view s, int64_t* value) {
  if (s.empty() || s.size() > 10) return false;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > INT32_MAX) return false;
  *value = v;
  return true;
}

// A number line: the value between spaces, perhaps with a minus sign.
bool ParseNumberLine(std::string_view s, int64_t* value) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const size_t last = s.find_last_not_of(' ');
  std::string_view digits = s.substr(first, last - first + 1);
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  if (!ParseField(digits, value)) return false;
  if (negative) *value = -*value;
  return true;
}

int DigitsOf(int64_t v) {
  int digits = 1;
  while (v >= 10) {
    v /= 10;
    ++digits;
  }
  return digits;
}

// Lines of a file, split as the program's line input splits them (at CR, a LF after
// it dropped).
class LineReader {
 public:
  explicit LineReader(const std::string& path) : reader_(Files().OpenRead(path, &error_)) {}
  bool ok() const { return reader_ != nullptr; }
  bool failed() const { return failed_; }

  bool Next(std::string& line) {
    line.clear();
    while (true) {
      if (at_ == size_ && !Fill()) {
        // Characters after the last CR make a last line of their own.
        const bool last = pendingLine_;
        pendingLine_ = false;
        return last;
      }
      if (skipLf_) {
        skipLf_ = false;
        if (buffer_[at_] == '\n' && ++at_ == size_) continue;
      }
      const char* start = buffer_.data() + at_;
      const void* cr = std::memchr(start, '\r', size_ - at_);
      if (cr == nullptr) {
        line.append(start, size_ - at_);
        at_ = size_;
        pendingLine_ = true;
        continue;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(cr) - buffer_.data());
      line.append(start, end - at_);
      at_ = end + 1;
      skipLf_ = true;
      pendingLine_ = false;
      return true;
    }
  }

 private:
  bool Fill() {
    if (reader_ == nullptr || eof_) return false;
    const long long n = reader_->Read(buffer_.data(), buffer_.size(), &error_);
    if (n <= 0) {
      failed_ = n < 0;
      eof_ = true;
      return false;
    }
    at_ = 0;
    size_ = static_cast<size_t>(n);
    return true;
  }

  FileError error_;
  std::unique_ptr<FileReader> reader_;
  std::vector<char> buffer_ = std::vector<char>(1 << 20);
  size_t at_ = 0;
  size_t size_ = 0;
  bool skipLf_ = false;
  bool pendingLine_ = false;  // characters were read since the last CR
  bool eof_ = false;
  bool failed_ = false;
};

std::string InputDigest(const Program& p) {
  int32_t error = 0;
  std::string errorText;
  return FileMD5(p.frmMain.txbFile[0].text, error, errorText);
}

void EmptyWordTable(Program& p) {
  p.arrWords.assign(1, WordRecord{});
  p.wordIndex.Clear();
  p.lngNumWords = 0;
  p.lngFirstFreq = 0;
  p.blnWordsGot = false;
}

// True when every stored position lies in the document text.
bool PositionsFitTheText(const Program& p) {
  const int64_t length = static_cast<int64_t>(p.strLine1.size());
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    for (int32_t position : p.arrWords[static_cast<size_t>(i)].positions) {
      if (position > length) return false;
    }
  }
  return true;
}

}  // namespace

std::string IndexFileNameFor(const std::string& input) {
  if (input.empty()) return "";
  const size_t dot = input.rfind('.');
  return dot == std::string::npos ? input + ".oxn.ndx" : input.substr(0, dot + 1) + "oxn.ndx";
}

void SetIndexFileName(Program& p) {
  TextBox& box = p.frmMain.txbFile[0];
  box.text = TrimSpaces(box.text);
  p.strIndexFile = IndexFileNameFor(box.text);
  if (p.strIndexFile.empty()) p.blnIndexFileCurrent = false;
}

std::string UniqueFileName(const std::string& name) {
  for (int64_t n = 1;; ++n) {
    std::string candidate = name + std::to_string(n);
    if (!PathTaken(candidate)) return candidate;
  }
}

bool DeleteFile(const std::string& name, bool, bool, bool) {
  if (name.empty() || !Files().FileExists(name)) return true;
  FileError error;
  return Files().Remove(name, &error);
}

std::string NumberLine(int64_t value) { return " " + std::to_string(value) + " "; }

bool WriteIndexText(const Program& p, const std::string& digest, const std::string& date,
                    FileWriter& out, FileError* error) {
  // Every position must fit its field: the width is widened when one would not.
  int64_t widest = 1;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    for (int32_t position : p.arrWords[static_cast<size_t>(i)].positions)
      widest = std::max<int64_t>(widest, position);
  }
  const int width = std::max(static_cast<int>(p.intPositionDigits), DigitsOf(widest));
  std::string buffer = digest + kCRLF + date + kCRLF + NumberLine(p.lngNumWords) + kCRLF +
                       NumberLine(width) + kCRLF + NumberLine(p.lngFirstFreq) + kCRLF;
  bool ok = true;
  auto flush = [&] {
    ok = ok && out.Write(buffer.data(), buffer.size(), error);
    buffer.clear();
  };
  // A zero-padded field: `width` digits, the last ones the position's.
  std::string field(static_cast<size_t>(width), '0');
  auto appendPosition = [&buffer, &field, width](int32_t position) {
    std::fill(field.begin(), field.end(), '0');
    for (int k = width - 1; k >= 0 && position > 0; --k, position /= 10) {
      field[static_cast<size_t>(k)] = static_cast<char>('0' + position % 10);
    }
    buffer += field;
  };
  for (int32_t i = 1; i <= p.lngNumWords && ok; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    buffer += r.strWord;
    buffer += '*';
    buffer += std::to_string(r.lngFreqRank);
    buffer += '*';
    buffer += std::to_string(r.lngFrequency);
    buffer += '*';
    buffer += std::to_string(r.lngNextByFreq);
    buffer += '*';
    for (int32_t position : r.positions) appendPosition(position);
    buffer += kCRLF;
    if (buffer.size() >= (1 << 20)) flush();
  }
  flush();
  return ok;
}

bool ParseIndexBody(const std::function<bool(std::string&)>& nextLine, int64_t maxWords,
                    int maxWordLength, IndexContents* out) {
  std::string line;
  int64_t count = 0, width = 0, first = 0;
  if (!nextLine(line) || !ParseNumberLine(line, &count) || count < 0 || count > maxWords ||
      count >= INT32_MAX) {
    return false;
  }
  if (!nextLine(line) || !ParseNumberLine(line, &width) || width < 1 ||
      width > kMaxPositionDigits) {
    return false;
  }
  if (!nextLine(line) || !ParseNumberLine(line, &first) || first < 0 || first > count) return false;
  std::vector<WordRecord> words(1);
  words.reserve(static_cast<size_t>(count) + 1);
  std::unordered_set<std::string_view> seen;
  seen.reserve(static_cast<size_t>(count));
  std::string previousKey;
  for (int64_t i = 1; i <= count; ++i) {
    if (!nextLine(line)) return false;
    // word*rank*frequency*next*positions: exactly four stars.
    size_t stars[4];
    size_t from = 0;
    for (size_t& star : stars) {
      star = line.find('*', from);
      if (star == std::string::npos) return false;
      from = star + 1;
    }
    if (line.find('*', from) != std::string::npos || stars[0] == 0) return false;
    const std::string_view text(line);
    auto field = [&](int k) { return text.substr(stars[k] + 1, stars[k + 1] - stars[k] - 1); };
    int64_t rank = 0, frequency = 0, next = 0;
    if (!ParseField(field(0), &rank) || rank > count || !ParseField(field(1), &frequency) ||
        frequency < 1 || !ParseField(field(2), &next) || next > count) {
      return false;
    }
    // A word as the scanner stores it: printable, not too long, in table order and
    // only once.
    const std::string_view word = text.substr(0, stars[0]);
    if (static_cast<int64_t>(word.size()) > maxWordLength) return false;
    for (char c : word) {
      if (Byte(c) < 32 || Byte(c) == 127) return false;
    }
    std::string key = SortKeyOf(word);
    if (key < previousKey) return false;
    previousKey = std::move(key);
    const std::string_view positions = text.substr(stars[3] + 1);
    if (static_cast<int64_t>(positions.size()) != frequency * width) return false;
    WordRecord r;
    r.strWord.assign(text.substr(0, stars[0]));
    r.lngFreqRank = static_cast<int32_t>(rank);
    r.lngFrequency = static_cast<int32_t>(frequency);
    r.lngNextByFreq = static_cast<int32_t>(next);
    r.blnIncluded = true;
    r.positions.reserve(static_cast<size_t>(frequency));
    for (size_t at = 0; at < positions.size(); at += static_cast<size_t>(width)) {
      int64_t position = 0;
      if (!ParseField(positions.substr(at, static_cast<size_t>(width)), &position) ||
          position < 1) {
        return false;
      }
      r.positions.push_back(static_cast<int32_t>(position));
    }
    words.push_back(std::move(r));
  }
  for (size_t i = 1; i < words.size(); ++i) {
    if (!seen.insert(words[i].strWord).second) return false;
  }
  // Exactly `count` records, and a frequency chain that visits each at most once.
  if (nextLine(line)) return false;
  std::vector<bool> visited(words.size(), false);
  for (int64_t i = first; i != 0; i = words[static_cast<size_t>(i)].lngNextByFreq) {
    if (visited[static_cast<size_t>(i)]) return false;
    visited[static_cast<size_t>(i)] = true;
  }
  out->lngNumWords = static_cast<int32_t>(count);
  out->intPositionDigits = static_cast<int16_t>(width);
  out->lngFirstFreq = static_cast<int32_t>(first);
  out->words = std::move(words);
  return true;
}

void WriteIndexFile(Program& p) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (p.strIndexFile.empty()) return;
  // The text goes to a new file beside the index, is compressed there and then
  // replaces the index: an earlier index stays whole until the new one is.
  FileError& error = p.indexError;
  error = FileError{};
  std::unique_ptr<ScratchFile> text = ScratchFile::Numbered(p.strIndexFile, &error);
  if (text == nullptr || !WriteIndexText(p, InputDigest(p), DateStamp(), text->writer(), &error) ||
      !text->Close(&error, false)) {
    return;
  }
  if (OpenCompressor() == 0) {
    DeleteFile(p.strIndexFile);  // without the component no index file remains
    return;
  }
  const bool compressed = CompressFile(text->path(), UniqueFileName(p.strIndexFile), 1, &error);
  CloseCompressor();
  if (!compressed || !text->CommitTo(p.strIndexFile, &error)) return;
  p.blnIndexFileCurrent = true;
}

void ReadIndexFile(Program& p) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (p.strIndexFile.empty()) return;
  if (OpenCompressor() == 0) {
    DeleteFile(p.strIndexFile);
    return;
  }
  // The input's digest is made while the index is expanded.
  BackgroundDigest digest;
  digest.Start(p.frmMain.txbFile[0].text);
  FileError error;
  std::unique_ptr<ScratchFile> scratch = ScratchFile::Numbered(p.strIndexFile, &error);
  const long long inputLength =
      std::max(0LL, Files().FileLength(p.frmMain.txbFile[0].text, &error));
  const bool expanded = scratch != nullptr &&
                        DecompressInto(p.strIndexFile, scratch->writer(),
                                       inputLength * kMaxExpansion + kExpansionSlack) &&
                        scratch->Close(&error, false);
  CloseCompressor();
  if (!expanded) return;
  const long long textLength = Files().FileLength(scratch->path(), &error);
  LineReader lines(scratch->path());
  std::string storedDigest, date;
  if (!lines.ok() || !lines.Next(storedDigest)) return;
  int32_t digestError = 0;
  std::string digestErrorText;
  if (digest.Take(p.frmMain.txbFile[0].text, digestError, digestErrorText) != storedDigest) {
    DeleteFile(p.strIndexFile);
    MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
    return;
  }
  if (!lines.Next(date)) return;
  const std::string question = p.GetProgramText(37) + " " + date + ", " + p.GetProgramText(38) +
                               kCRLF + kCRLF + p.GetProgramText(39);
  if (MsgBox(p, question, MsgButtons::kYesNo, MsgIcon::kNone, "Index file found") !=
      MsgResult::kYes) {
    if (MsgBox(p, p.GetProgramText(43), MsgButtons::kYesNo, MsgIcon::kNone, p.GetProgramText(44)) ==
        MsgResult::kYes) {
      DeleteFile(p.strIndexFile);
    }
    return;
  }
  IndexContents contents;
  const bool parsed = ParseIndexBody([&lines](std::string& line) { return lines.Next(line); },
                                     std::max(0LL, textLength) / kShortestWordLine,
                                     p.intMaxPermittedWordLength, &contents);
  if (lines.failed()) return;  // a read error: the index may be whole
  if (!parsed) {
    // Made for this input yet damaged: it goes, as a stale one does.
    DeleteFile(p.strIndexFile);
    MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
    return;
  }
  p.arrWords = std::move(contents.words);
  p.wordIndex.Clear();
  p.lngNumWords = contents.lngNumWords;
  p.intPositionDigits = contents.intPositionDigits;
  p.lngFirstFreq = contents.lngFirstFreq;
  p.blnIndexFileCurrent = true;
  p.blnWordsGot = true;
}

void LoadIndexIfPresent(Program& p, bool withText) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (!p.strIndexFile.empty() && !FileExists(p.strIndexFile)) p.strIndexFile.clear();
  if (!p.strIndexFile.empty()) {
    ReadIndexFile(p);
    if (p.blnIndexFileCurrent && !withText) {
      // The table alone: its digest matched the input's.
      p.frmMain.txbOutput.text = p.GetProgramText(11) + kCRLF + p.GetProgramText(12);
      RefreshOutput(p);
    } else if (p.blnIndexFileCurrent) {
      MainControls& m = p.frmMain;
      p.strInputExtension = GetFileExtension(m.txbFile[0].text, true);
      p.blnDocxInput = false;
      bool utf8 = false, ok = false;
      ReadInputDocument(p, utf8, ok);
      p.blnReadingFile = false;
      if (ok) {
        NormalizeDocumentText(p);
        p.strLine = LowerCaseAccented(std::move(p.strLine));
        ok = PositionsFitTheText(p);
        if (!ok) {
          // Made for this input (its digest matches) yet not fitting it: damaged.
          p.blnIndexFileCurrent = false;
          EmptyWordTable(p);
          DeleteFile(p.strIndexFile);
          MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
        } else {
          m.txbOutput.text = p.GetProgramText(11) + kCRLF + p.GetProgramText(12);
          RefreshOutput(p);
          if (!TrimSpaces(m.txbExtraKeywords.text).empty()) optSearch_Click(p);
        }
      } else {
        p.blnIndexFileCurrent = false;
        p.strIndexFile.clear();
        EmptyWordTable(p);
        MsgBox(p, p.GetProgramText(13), MsgButtons::kOK, MsgIcon::kInformation, "Index file");
      }
    }
  }
  EnableControls(p, true);
}

}  // namespace quillmoor
