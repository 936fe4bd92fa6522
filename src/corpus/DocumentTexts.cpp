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

// A text of the first version: the magic, then the text. Of this one: the magic, the
// text's size (8 bytes), the marks' size (4), 1 for the Unicode rules' tokens (1), the
// marks, the text.
constexpr char kMagic[8] = {'Q', 'M', ' ', 't', 'e', 'x', 't', '\n'};
constexpr char kMarkedMagic[8] = {'Q', 'M', ' ', 't', 'x', 't', '2', '\n'};
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

std::string DocumentTexts::FileOf(const std::string& digest) const {
  return TextsFolder(folder_) + "/" + digest + ".txt";
}

bool DocumentTexts::Has(const std::string& digest) const {
  struct stat s;
  return ::stat(FileOf(digest).c_str(), &s) == 0;
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
  uint64_t token = 0, offset = 0;
  size_t mark = text.find(" / ");
  for (uint64_t t : chosen) {
    uint64_t breaks = 0;
    for (; mark < runs[t].begin; mark = text.find(" / ", mark + 3)) ++breaks;
    AppendVarint(t - token, &marks);
    AppendVarint(runs[t].begin - offset, &marks);
    AppendVarint(breaks, &marks);
    token = t;
    offset = runs[t].begin;
  }
  return marks;
}

bool DocumentTexts::Save(const std::string& digest, std::string_view text, std::string_view marks,
                         bool utf8, std::string* problem) const {
  ::mkdir(TextsFolder(folder_).c_str(), 0777);
  const std::string file = FileOf(digest), temporary = file + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  char header[kHeaderSize];
  std::memcpy(header, kMarkedMagic, 8);
  const uint64_t textSize = text.size();
  const uint32_t marksSize = static_cast<uint32_t>(marks.size());
  std::memcpy(header + 8, &textSize, 8);
  std::memcpy(header + 16, &marksSize, 4);
  header[20] = utf8 ? 1 : 0;
  bool ok = f != nullptr && std::fwrite(header, 1, sizeof header, f) == sizeof header &&
            std::fwrite(marks.data(), 1, marks.size(), f) == marks.size() &&
            std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), file.c_str()) != 0) {
    *problem = file + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

KeptText::~KeptText() {
  if (fd_ >= 0) ::close(fd_);
}

bool KeptText::Open(const DocumentTexts& texts, const std::string& digest, std::string* problem) {
  file_ = texts.FileOf(digest);
  fd_ = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    *problem = file_ + ": " + std::strerror(errno) + " (index the corpus again)";
    return false;
  }
  struct stat s;
  char header[kHeaderSize];
  const uint64_t size = ::fstat(fd_, &s) == 0 ? static_cast<uint64_t>(s.st_size) : 0;
  const auto damaged = [this, problem] {
    *problem = file_ + ": it is not a kept text (index the corpus again)";
    return false;
  };
  if (size < 8 || !ReadAt(fd_, 0, 8, header)) return damaged();
  if (std::memcmp(header, kMagic, 8) == 0) {  // the first version: no marks
    textStart_ = 8;
    textSize_ = size - 8;
    return true;
  }
  uint32_t marksSize = 0;
  if (std::memcmp(header, kMarkedMagic, 8) != 0 || size < kHeaderSize ||
      !ReadAt(fd_, 0, kHeaderSize, header))
    return damaged();
  std::memcpy(&textSize_, header + 8, 8);
  std::memcpy(&marksSize, header + 16, 4);
  utf8_ = header[20] == 1;
  textStart_ = kHeaderSize + marksSize;
  if (header[20] > 1 || marksSize > size - kHeaderSize || textSize_ != size - textStart_)
    return damaged();
  std::string marks(marksSize, '\0');
  if (!ReadAt(fd_, kHeaderSize, marksSize, marks.data())) return damaged();
  size_t at = 0;
  uint64_t count = 0, token = 0, offset = 0, lines = 0;
  if (!ReadVarint(marks, &at, &count) || count > marks.size()) return damaged();
  tokens_.assign(1, 0);
  offsets_.assign(1, 0);
  lines_.assign(1, 0);
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
  return at == marks.size() ? true : damaged();
}

bool KeptText::Stretch(int64_t first, int64_t last, bool utf8, TextStretch* out,
                       std::string* problem) {
  uint64_t begin = 0, end = textSize_;
  out->lines = 0;
  out->firstToken = 0;
  if (!whole(utf8)) {  // from the mark at or before `first` to the one after `last`
    const size_t from = static_cast<size_t>(
        std::upper_bound(tokens_.begin() + 1, tokens_.end(), first) - tokens_.begin() - 1);
    const size_t to = static_cast<size_t>(std::upper_bound(tokens_.begin(), tokens_.end(), last) -
                                          tokens_.begin());
    begin = offsets_[from];
    if (to < offsets_.size()) end = offsets_[to];
    out->lines = lines_[from];
    out->firstToken = tokens_[from];
  }
  return Read(begin, end, out, problem);
}

bool KeptText::Read(uint64_t begin, uint64_t end, TextStretch* out, std::string* problem) {
  out->begin = begin;
  out->text.resize(end - begin);
  if (!ReadAt(fd_, textStart_ + begin, end - begin, out->text.data())) {
    *problem = file_ + ": it cannot be read to its end (index the corpus again)";
    return false;
  }
  return true;
}

void DocumentTexts::RemoveAllBut(const std::set<std::string>& keep) const {
  const std::string folder = TextsFolder(folder_);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() < 5 || name.substr(name.size() - 4) != ".txt") continue;
    if (!keep.contains(name.substr(0, name.size() - 4))) std::remove((folder + "/" + name).c_str());
  }
  ::closedir(dir);
}

}  // namespace quillmoor
