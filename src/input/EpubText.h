// EPUB books: a ZIP of XHTML files. The package file that META-INF/container.xml
// names lists them in its spine, in reading order; each (X)HTML document of the
// spine is read from its body through the markup stripper of web pages
// (input/Markup.h), with its character entities decoded, and is a line of the text.
// Documents that are not in the spine (the navigation document, a cover page) are
// left out. The book's title is its metadata's first dc:title.
#ifndef QUILLMOOR_INPUT_EPUBTEXT_H_
#define QUILLMOOR_INPUT_EPUBTEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "input/Documents.h"

namespace quillmoor {

// What a package file (.opf) says: the title and the archive paths of the spine's
// (X)HTML documents, resolved against the package's own path.
struct EpubPackage {
  std::string title;
  std::vector<std::string> spine;
};
EpubPackage ParseEpubPackage(std::string_view opf, std::string_view opfPath);
// The package's path that container.xml names, or "".
std::string EpubPackagePath(std::string_view containerXml);
// The text of one (X)HTML document of the spine.
std::string EpubChapterText(std::string_view xhtml);

bool ReadEpubDocument(const std::string& path, const DocumentLimits& limits,
                      DocumentReading* reading);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_EPUBTEXT_H_
