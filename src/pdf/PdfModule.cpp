// quillmoor-pdf.so: the text of a PDF document's pages, through poppler's C++
// interface, in its reading order (columns one after the other, not line by line
// across the page).
#include "input/PdfModule.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <memory>
#include <string>

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

}  // namespace

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
  for (int i = 0; i < *pages; ++i) {
    std::unique_ptr<poppler::page> p(document->create_page(i));
    std::string text;
    if (p != nullptr) {
      const poppler::byte_array utf8 =
          p->text(poppler::rectf(), poppler::page::non_raw_non_physical_layout).to_utf8();
      text.assign(utf8.data(), utf8.size());
    }
    if (!page(context, i + 1, text.data(), text.size())) return kPdfModuleStopped;
  }
  return kPdfModuleRead;
}
