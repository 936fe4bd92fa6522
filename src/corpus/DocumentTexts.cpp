#include "corpus/DocumentTexts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "corpus/CorpusIndex.h"

namespace quillmoor {
namespace {

// A text's record in a pack: the magic, the text's size (8 bytes), the marks' size (4),
// 1 for the Unicode rules' tokens (1), the marks, the text.
constexpr char kRecordMagic[8] = {'Q', 'M', ' ', 't', 'x', 't', '2', '\n'};
constexpr size_t kHeaderSize = 8 + 8 + 4 + 1;

// Reads `size` bytes at `offset`; false when the file ends first.
bool ReadAt(int fd, uint64_t offset, size_t size, char* out) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (n <= 0) return false;
    out += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

std::string TextsFolder(const std::string& folder) { return folder + "/texts"; }

}  // namespace

std::string DocumentTexts::PackFile(uint32_t pack) const {
  return TextsFolder(folder_) + "/" + std::to_string(pack) + ".pack";
}

namespace {

// The pack number of a file's name ("12.pack"), or 0.
uint32_t PackNumberOf(const std::string& name) {
  if (name.size() < 6 || name.substr(name.size() - 5) != ".pack") return 0;
  uint64_t n = 0;
  for (size_t i = 0; i + 5 < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > UINT32_MAX / 10) return 0;
    n = n * 10 + static_cast<uint64_t>(name[i] - '0');
  }
  return n <= UINT32_MAX ? static_cast<uint32_t>(n) : 0;
}

}  // namespace

uint32_t DocumentTexts::NewPack() const {
  uint32_t last = 0;
  if (DIR* dir = ::opendir(TextsFolder(folder_).c_str())) {
    while (const dirent* e = ::readdir(dir)) last = std::max(last, PackNumberOf(e->d_name));
    ::closedir(dir);
  }
  return last + 1;
}

void DocumentTexts::RemovePacksBut(const std::set<uint32_t>& keep) const {
  const std::string folder = TextsFolder(folder_);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> gone;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    const uint32_t pack = PackNumberOf(name);
    // (The texts of an older version were one file a document, DIGEST.txt.)
    if ((pack != 0 && !keep.contains(pack)) || name.ends_with(".txt") || name.ends_with(".new"))
      gone.push_back(folder + "/" + name);
  }
  ::closedir(dir);
  for (const std::string& file : gone) std::remove(file.c_str());
}

TextPackWriter::TextPackWriter(const DocumentTexts& texts, uint32_t pack)
    : file_(texts.PackFile(pack)), pack_(pack) {}

TextPackWriter::~TextPackWriter() {
  if (out_ != nullptr) std::fclose(out_);
}

bool TextPackWriter::Append(std::string_view text, std::string_view marks, bool utf8,
                            TextPlace* place, std::string* problem) {
  if (out_ == nullptr && !failed_) {
    const size_t slash = file_.rfind('/');
    ::mkdir(file_.substr(0, slash).c_str(), 0777);
    out_ = std::fopen(file_.c_str(), "wb");
    failed_ = out_ == nullptr;
  }
  char header[kHeaderSize];
  std::memcpy(header, kRecordMagic, 8);
  const uint64_t textSize = text.size();
  const uint32_t marksSize = static_cast<uint32_t>(marks.size());
  std::memcpy(header + 8, &textSize, 8);
  std::memcpy(header + 16, &marksSize, 4);
  header[20] = utf8 ? 1 : 0;
  failed_ = failed_ || std::fwrite(header, 1, sizeof header, out_) != sizeof header ||
            std::fwrite(marks.data(), 1, marks.size(), out_) != marks.size() ||
            std::fwrite(text.data(), 1, text.size(), out_) != text.size();
  if (failed_) {
    *problem = file_ + ": " + std::strerror(errno);
    return false;
  }
  *place = {pack_, offset_};
  offset_ += sizeof header + marks.size() + text.size();
  behind_.Wrote(out_, offset_);
  return true;
}

bool TextPackWriter::Finish(std::string* problem) {
  if (out_ == nullptr) return !failed_;
  const bool ok = std::fclose(out_) == 0 && !failed_;
  out_ = nullptr;
  if (!ok) *problem = file_ + ": " + std::strerror(errno);
  return ok;
}

void TextPackWriter::Abandon() {
  if (out_ != nullptr) std::fclose(out_);
  out_ = nullptr;
  std::remove(file_.c_str());
}

std::string TextMarksOf(std::string_view text, const std::vector<TokenRun>& runs) {
  // A stretch from a mark must cut the tokens the whole text does: the double hyphen
  // that parts words is not one in a text's first two characters, so a mark's token
  // neither begins with a hyphen nor has one after its first character. The first such
  // token of every kTokensAMark gets the mark.
  std::string marks;
  std::vector<uint64_t> chosen;
  for (size_t block = kTokensAMark; block < runs.size(); block += kTokensAMark) {
    for (size_t t = block; t < std::min(runs.size(), block + kTokensAMark); ++t) {
      const size_t begin = runs[t].begin;
      if (text[begin] != '-' && text.compare(begin + 1, 2, "--") != 0) {
        chosen.push_back(t);
        break;
      }
    }
  }
  AppendVarint(chosen.size(), &marks);
  // The line-break marks " / ", found by their slash (spaces are everywhere).
  const auto nextMark = [text](size_t from) {
    for (size_t at = text.find('/', from + 1); at != std::string_view::npos;
         at = text.find('/', at + 1)) {
      if (text[at - 1] == ' ' && at + 1 < text.size() && text[at + 1] == ' ') return at - 1;
    }
    return std::string_view::npos;
  };
  uint64_t token = 0, offset = 0;
  size_t mark = nextMark(0);
  for (uint64_t t : chosen) {
    uint64_t breaks = 0;
    for (; mark < runs[t].begin; mark = nextMark(mark + 3)) ++breaks;
    AppendVarint(t - token, &marks);
    AppendVarint(runs[t].begin - offset, &marks);
    AppendVarint(breaks, &marks);
    token = t;
    offset = runs[t].begin;
  }
  return marks;
}

KeptText::~KeptText() {
  if (fd_ >= 0) ::close(fd_);
}

bool KeptText::Open(const DocumentTexts& texts, TextPlace place, std::string* problem) {
  file_ = texts.PackFile(place.pack);
  place_ = place;
  if (place.pack == 0) {
    *problem = file_ + ": a kept text is missing or damaged (index the corpus again)";
    return false;
  }
  fd_ = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    *problem = file_ + ": " + std::strerror(errno) + " (index the corpus again)";
    return false;
  }
  // Its head and marks are asked for now and read when first needed: a view opens the
  // texts of its lines first, so that their reads go to the disk together.
  ::posix_fadvise(fd_, static_cast<off_t>(place.offset), 4096, POSIX_FADV_WILLNEED);
  return true;
}

bool KeptText::Load(std::string* problem) {
  if (loaded_) return true;
  const TextPlace place = place_;
  const auto damaged = [this, problem] {
    *problem = file_ + ": a kept text is missing or damaged (index the corpus again)";
    return false;
  };
  struct stat s;
  char header[kHeaderSize];
  const uint64_t size = ::fstat(fd_, &s) == 0 ? static_cast<uint64_t>(s.st_size) : 0;
  if (place.offset > size || size - place.offset < kHeaderSize ||
      !ReadAt(fd_, place.offset, kHeaderSize, header) || std::memcmp(header, kRecordMagic, 8) != 0)
    return damaged();
  uint32_t marksSize = 0;
  std::memcpy(&textSize_, header + 8, 8);
  std::memcpy(&marksSize, header + 16, 4);
  utf8_ = header[20] == 1;
  const uint64_t room = size - place.offset - kHeaderSize;
  if (header[20] > 1 || marksSize > room || textSize_ > room - marksSize) return damaged();
  textStart_ = place.offset + kHeaderSize + marksSize;
  std::string marks(marksSize, '\0');
  if (!ReadAt(fd_, place.offset + kHeaderSize, marksSize, marks.data())) return damaged();
  size_t at = 0;
  uint64_t count = 0, token = 0, offset = 0, lines = 0;
  if (!ReadVarint(marks, &at, &count) || count > marks.size()) return damaged();
  tokens_.assign(1, 0);
  offsets_.assign(1, 0);
  lines_.assign(1, 0);
  tokens_.reserve(count + 1);
  offsets_.reserve(count + 1);
  lines_.reserve(count + 1);
  for (uint64_t k = 0; k < count; ++k) {
    uint64_t tokenStep = 0, step = 0, breaks = 0;
    if (!ReadVarint(marks, &at, &tokenStep) || !ReadVarint(marks, &at, &step) ||
        !ReadVarint(marks, &at, &breaks) || tokenStep == 0 || tokenStep > textSize_ || step == 0 ||
        step > textSize_ - offset || breaks > textSize_)
      return damaged();
    token += tokenStep;
    offset += step;
    lines += breaks;
    tokens_.push_back(static_cast<int64_t>(token));
    offsets_.push_back(offset);
    lines_.push_back(static_cast<int64_t>(lines));
  }
  if (at != marks.size()) return damaged();
  loaded_ = true;
  return true;
}

size_t KeptText::MarkAtOrBefore(int64_t token) const {
  return static_cast<size_t>(std::upper_bound(tokens_.begin() + 1, tokens_.end(), token) -
                             tokens_.begin() - 1);
}

void KeptText::Range(int64_t first, int64_t last, bool utf8, uint64_t* begin, uint64_t* end,
                     size_t* from) const {
  *begin = 0;
  *end = textSize_;
  *from = 0;
  if (whole(utf8)) return;
  // From the mark at or before `first` to the one after `last`.
  *from = MarkAtOrBefore(first);
  const size_t to = MarkAtOrBefore(last) + 1;
  *begin = offsets_[*from];
  if (to < offsets_.size()) *end = offsets_[to];
}

void KeptText::Prefetch(int64_t first, int64_t last, bool utf8) const {
  if (!loaded_) return;
  uint64_t begin = 0, end = 0;
  size_t from = 0;
  Range(first, last, utf8, &begin, &end, &from);
  ::posix_fadvise(fd_, static_cast<off_t>(textStart_ + begin), static_cast<off_t>(end - begin),
                  POSIX_FADV_WILLNEED);
}

bool KeptText::Stretch(int64_t first, int64_t last, bool utf8, TextStretch* out,
                       std::string* problem) {
  if (!Load(problem)) return false;
  uint64_t begin = 0, end = 0;
  size_t from = 0;
  Range(first, last, utf8, &begin, &end, &from);
  out->lines = whole(utf8) ? 0 : lines_[from];
  out->firstToken = whole(utf8) ? 0 : tokens_[from];
  return Read(begin, end, out, problem);
}

bool KeptText::Read(uint64_t begin, uint64_t end, TextStretch* out, std::string* problem) {
  if (!Load(problem)) return false;
  end = std::min(end, textSize_);
  begin = std::min(begin, end);
  out->begin = begin;
  out->text.resize(end - begin);
  if (!ReadAt(fd_, textStart_ + begin, end - begin, out->text.data())) {
    *problem = file_ + ": it cannot be read to its end (index the corpus again)";
    return false;
  }
  return true;
}

}  // namespace quillmoor
