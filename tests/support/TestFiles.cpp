#include "support/TestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace quillmoor::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillmoor-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  path_ = made ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::string file = path_ + "/" + name;
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

class FailingReader : public FileReader {
 public:
  FailingReader(std::unique_ptr<FileReader> inner, long long okBytes)
      : inner_(std::move(inner)), left_(okBytes) {}
  long long Read(char* buffer, size_t size, FileError* error) override {
    if (left_ <= 0) {
      *error = {kErrDeviceIO, "Device I/O error"};
      return -1;
    }
    long long n = inner_->Read(buffer, std::min<size_t>(size, static_cast<size_t>(left_)), error);
    if (n > 0) left_ -= n;
    return n;
  }

 private:
  std::unique_ptr<FileReader> inner_;
  long long left_;
};

class FailingWriter : public FileWriter {
 public:
  FailingWriter(std::unique_ptr<FileWriter> inner, FaultyFileSystem::WriteFault fault)
      : inner_(std::move(inner)), fault_(std::move(fault)) {}
  bool Write(const char* data, size_t size, FileError* error) override {
    if (written_ + static_cast<long long>(size) > fault_.writeOkBytes) {
      size_t ok = static_cast<size_t>(std::max(0LL, fault_.writeOkBytes - written_));
      inner_->Write(data, ok, error);
      written_ += static_cast<long long>(ok);
      *error = fault_.writeError;
      return false;
    }
    written_ += static_cast<long long>(size);
    return inner_->Write(data, size, error);
  }
  bool Close(FileError* error, bool sync) override { return inner_->Close(error, sync); }

 private:
  std::unique_ptr<FileWriter> inner_;
  FaultyFileSystem::WriteFault fault_;
  long long written_ = 0;
};

class PausingWriter : public FileWriter {
 public:
  PausingWriter(std::unique_ptr<FileWriter> inner, std::function<void()> then)
      : inner_(std::move(inner)), then_(std::move(then)) {}
  bool Write(const char* data, size_t size, FileError* error) override {
    const bool ok = inner_->Write(data, size, error);
    if (then_) std::exchange(then_, nullptr)();
    return ok;
  }
  bool Close(FileError* error, bool sync) override { return inner_->Close(error, sync); }

 private:
  std::unique_ptr<FileWriter> inner_;
  std::function<void()> then_;
};

}  // namespace

std::unique_ptr<FileWriter> FaultyFileSystem::CreateNew(const std::string& path, FileError* error) {
  if (meanwhile) {
    std::unique_ptr<FileWriter> inner = RealFileSystem().CreateNew(path, error);
    if (!inner) return nullptr;
    return std::make_unique<PausingWriter>(std::move(inner), std::exchange(meanwhile, nullptr));
  }
  for (const auto& [prefix, fault] : writeFaults) {
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    if (!fault.openError.ok()) {
      *error = fault.openError;
      return nullptr;
    }
    std::unique_ptr<FileWriter> inner = RealFileSystem().CreateNew(path, error);
    if (!inner) return nullptr;
    return std::make_unique<FailingWriter>(std::move(inner), fault);
  }
  return RealFileSystem().CreateNew(path, error);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to, FileError* error) {
  return RealFileSystem().Rename(from, to, error);
}

bool FaultyFileSystem::Remove(const std::string& path, FileError* error) {
  return RealFileSystem().Remove(path, error);
}

std::vector<std::string> FaultyFileSystem::List(const std::string& folder) {
  return RealFileSystem().List(folder);
}

bool FaultyFileSystem::FileExists(const std::string& path) {
  return RealFileSystem().FileExists(path);
}

bool FaultyFileSystem::FolderExists(const std::string& path) {
  return RealFileSystem().FolderExists(path);
}

long long FaultyFileSystem::FileLength(const std::string& path, FileError* error) {
  auto it = faults.find(path);
  if (it != faults.end() && it->second.length >= 0) return it->second.length;
  return RealFileSystem().FileLength(path, error);
}

std::unique_ptr<FileReader> FaultyFileSystem::OpenRead(const std::string& path, FileError* error) {
  auto it = faults.find(path);
  if (it != faults.end() && !it->second.openError.ok()) {
    *error = it->second.openError;
    return nullptr;
  }
  std::unique_ptr<FileReader> reader = RealFileSystem().OpenRead(path, error);
  if (reader && it != faults.end() && it->second.readOkBytes >= 0) {
    return std::make_unique<FailingReader>(std::move(reader), it->second.readOkBytes);
  }
  return reader;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_ = true;
    saved_ = old;
  }
  ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_) {
    ::setenv(name_.c_str(), saved_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace quillmoor::testing
