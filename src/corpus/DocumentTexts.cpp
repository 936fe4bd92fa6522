#include "corpus/DocumentTexts.h"

#include <dirent.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quillmoor {
namespace {

constexpr char kMagic[4] = {'Q', 'M', 'T', '1'};  // then the text's length, 8 bytes

std::string TextsFolder(const std::string& folder) { return folder + "/texts"; }

}  // namespace

std::string DocumentTexts::FileOf(const std::string& digest) const {
  return TextsFolder(folder_) + "/" + digest + ".z";
}

bool DocumentTexts::Has(const std::string& digest) const {
  struct stat s;
  return ::stat(FileOf(digest).c_str(), &s) == 0;
}

bool DocumentTexts::Save(const std::string& digest, std::string_view text,
                         std::string* problem) const {
  ::mkdir(TextsFolder(folder_).c_str(), 0777);
  const std::string file = FileOf(digest), temporary = file + ".new";
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<unsigned char> out(sizeof kMagic + 8 + size);
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  const uint64_t length = text.size();
  std::memcpy(out.data() + sizeof kMagic, &length, 8);
  if (compress2(out.data() + sizeof kMagic + 8, &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                1) != Z_OK) {
    *problem = file + ": the text cannot be compressed";
    return false;
  }
  out.resize(sizeof kMagic + 8 + size);
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  bool ok = f != nullptr && std::fwrite(out.data(), 1, out.size(), f) == out.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), file.c_str()) != 0) {
    *problem = file + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool DocumentTexts::Load(const std::string& digest, std::string* text,
                         std::string* problem) const {
  const std::string file = FileOf(digest);
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) {
    *problem = file + ": " + std::strerror(errno) + " (index the corpus again)";
    return false;
  }
  std::string bytes;
  char buffer[1 << 16];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  uint64_t length = 0;
  if (bytes.size() < sizeof kMagic + 8 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    *problem = file + ": it is not a kept text (index the corpus again)";
    return false;
  }
  std::memcpy(&length, bytes.data() + sizeof kMagic, 8);
  // zlib expands at most about 1032 to 1.
  if (length > (bytes.size() - 12) * 1032 + 64) {
    *problem = file + ": it is damaged (index the corpus again)";
    return false;
  }
  text->resize(length);
  uLongf size = static_cast<uLongf>(length);
  if (uncompress(reinterpret_cast<Bytef*>(text->data()), &size,
                 reinterpret_cast<const Bytef*>(bytes.data() + 12),
                 static_cast<uLong>(bytes.size() - 12)) != Z_OK ||
      size != length) {
    *problem = file + ": it is damaged (index the corpus again)";
    text->clear();
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
    if (name.size() < 3 || name.substr(name.size() - 2) != ".z") continue;
    if (!keep.contains(name.substr(0, name.size() - 2))) std::remove((folder + "/" + name).c_str());
  }
  ::closedir(dir);
}

}  // namespace quillmoor
