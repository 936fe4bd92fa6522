#include "corpus/DocumentTexts.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quillmoor {
namespace {

constexpr char kMagic[8] = {'Q', 'M', ' ', 't', 'e', 'x', 't', '\n'};

std::string TextsFolder(const std::string& folder) { return folder + "/texts"; }

}  // namespace

std::string DocumentTexts::FileOf(const std::string& digest) const {
  return TextsFolder(folder_) + "/" + digest + ".txt";
}

bool DocumentTexts::Has(const std::string& digest) const {
  struct stat s;
  return ::stat(FileOf(digest).c_str(), &s) == 0;
}

bool DocumentTexts::Save(const std::string& digest, std::string_view text,
                         std::string* problem) const {
  ::mkdir(TextsFolder(folder_).c_str(), 0777);
  const std::string file = FileOf(digest), temporary = file + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  bool ok = f != nullptr && std::fwrite(kMagic, 1, sizeof kMagic, f) == sizeof kMagic &&
            std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), file.c_str()) != 0) {
    *problem = file + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool DocumentTexts::Load(const std::string& digest, std::string* text, std::string* problem) const {
  const std::string file = FileOf(digest);
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) {
    *problem = file + ": " + std::strerror(errno) + " (index the corpus again)";
    return false;
  }
  char magic[sizeof kMagic];
  bool ok = std::fread(magic, 1, sizeof magic, f) == sizeof magic &&
            std::memcmp(magic, kMagic, sizeof magic) == 0;
  text->clear();
  if (ok) {
    struct stat s;
    if (::fstat(::fileno(f), &s) == 0 && s.st_size > 8)
      text->reserve(static_cast<size_t>(s.st_size) - 8);
    char buffer[1 << 16];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text->append(buffer, n);
  }
  std::fclose(f);
  if (!ok) {
    *problem = file + ": it is not a kept text (index the corpus again)";
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
