#include "shared/KeptFiles.h"

#include <algorithm>
#include <atomic>

namespace quillmoor {
namespace {

std::atomic<KeptFiles*> g_active{nullptr};

}  // namespace

std::shared_ptr<const std::string> KeptFiles::Find(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return e.path == path; });
  if (it == entries_.end()) return nullptr;
  std::rotate(it, it + 1, entries_.end());  // now the most recently used
  return entries_.back().bytes;
}

void KeptFiles::Keep(const std::string& path, std::shared_ptr<const std::string> bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.path == path; });
  if (entries_.size() >= kKeptFiles) entries_.erase(entries_.begin());
  entries_.push_back(Entry{path, std::move(bytes)});
}

void KeptFiles::Forget(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.path == path; });
}

KeptFiles* ActiveKeptFiles() { return g_active.load(std::memory_order_acquire); }

ScopedFileKeeping::ScopedFileKeeping() {
  if (ActiveKeptFiles() != nullptr) return;
  owned_ = std::make_unique<KeptFiles>();
  g_active.store(owned_.get(), std::memory_order_release);
}

ScopedFileKeeping::~ScopedFileKeeping() {
  if (owned_ != nullptr) g_active.store(nullptr, std::memory_order_release);
}

}  // namespace quillmoor
