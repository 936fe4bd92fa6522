// The interface of quillmoor-pdf.so, the module that reads the text of a PDF document
// with poppler. The programs load it only when a PDF is read: poppler and the many
// libraries it needs cost every other run nothing.
//
// Only plain values cross: the CLI has its own C++ runtime linked in and the module
// uses the system's, so neither frees what the other allocated.
#ifndef QUILLMOOR_INPUT_PDFMODULE_H_
#define QUILLMOOR_INPUT_PDFMODULE_H_

#include <cstddef>

namespace quillmoor {

inline constexpr const char* kPdfModule = "quillmoor-pdf.so";
inline constexpr const char* kPdfSymbol = "quillmoor_pdf_text";

// What quillmoor_pdf_text found.
enum PdfModuleStatus : int {
  kPdfModuleRead = 0,     // every page was handed on
  kPdfModuleLocked = 1,   // the document needs a password
  kPdfModuleDamaged = 2,  // the document cannot be opened (reason says why)
  kPdfModuleStopped = 3,  // the page sink asked to stop
};

// page(context, number, text, size): the UTF-8 text of page `number` (1-based) in
// reading order, lines ending in "\n"; false stops the reading.
using PdfPageSink = bool(void* context, int number, const char* text, size_t size);
// reason(context, text, size): a message of poppler's (the last one tells why a
// document could not be opened).
using PdfReasonSink = void(void* context, const char* text, size_t size);
// Reads `path` (a file name in the system's encoding); the page count goes to *pages
// as soon as the document is open.
using PdfTextFunction = int(const char* path, int* pages, PdfPageSink* page, PdfReasonSink* reason,
                            void* context);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_PDFMODULE_H_
