// quillmoor-pdf.so: the text of a PDF document's pages, through poppler's C++
// interface, in its reading order (columns one after the other, not line by line
// across the page).
#include "input/PdfModule.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Reasons {
  quillmoor::PdfReasonSink* sink;
  void* context;
};

void PassOn(const std::string& message, void* closure) {
  const Reasons* reasons = static_cast<const Reasons*>(closure);
  reasons->sink(reasons->context, message.data(), message.size());
}

void Ignore(const std::string&, void*) {}

// The text of one page in reading order ("" for a page poppler cannot make).
std::string PageText(const poppler::document& document, int index) {
  std::unique_ptr<poppler::page> p(document.create_page(index));
  if (p == nullptr) return std::string();
  const poppler::byte_array utf8 =
      p->text(poppler::rectf(), poppler::page::non_raw_non_physical_layout).to_utf8();
  return std::string(utf8.data(), utf8.size());
}

}  // namespace

// The pages are read in batches, the batch's pages shared by two threads, each with a
// document of its own (poppler's objects are not shared between threads); each batch is
// handed on in page order, so the sink can stop the reading between batches.
extern "C" __attribute__((visibility("default"))) int quillmoor_pdf_text(
    const char* path, int* pages, quillmoor::PdfPageSink* page, quillmoor::PdfReasonSink* reason,
    void* context) {
  using namespace quillmoor;
  Reasons reasons{reason, context};
  poppler::set_debug_error_function(PassOn, &reasons);
  struct Quiet {
    ~Quiet() { poppler::set_debug_error_function(Ignore, nullptr); }
  } quiet;
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
  if (document == nullptr) return kPdfModuleDamaged;
  if (document->is_locked()) return kPdfModuleLocked;
  *pages = document->pages();
  constexpr int kBatch = 16;
  // The second thread's document, opened once more when there is more than a batch.
  std::unique_ptr<poppler::document> second;
  if (*pages > kBatch && std::thread::hardware_concurrency() > 1) {
    second.reset(poppler::document::load_from_file(path));
    if (second != nullptr && second->is_locked()) second.reset();
  }
  std::vector<std::string> texts(kBatch);
  for (int first = 0; first < *pages; first += kBatch) {
    const int count = std::min(kBatch, *pages - first);
    const auto read = [&](const poppler::document& d, int from, int step) {
      for (int i = from; i < count; i += step)
        texts[static_cast<size_t>(i)] = PageText(d, first + i);
    };
    if (second != nullptr && count > 1) {
      std::thread other(read, std::cref(*second), 1, 2);
      read(*document, 0, 2);
      other.join();
    } else {
      read(*document, 0, 1);
    }
    for (int i = 0; i < count; ++i) {
      const std::string& text = texts[static_cast<size_t>(i)];
      if (!page(context, first + i + 1, text.data(), text.size())) return kPdfModuleStopped;
    }
  }
  return kPdfModuleRead;
}
