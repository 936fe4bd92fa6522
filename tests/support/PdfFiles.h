// A PDF document made by hand for the tests: one line of Helvetica text per page.
#ifndef QUILLMOOR_TESTS_SUPPORT_PDFFILES_H_
#define QUILLMOOR_TESTS_SUPPORT_PDFFILES_H_

#include <string>
#include <vector>

namespace quillmoor::testing {

// The bytes of a PDF whose page i shows lines[i] (ASCII without parentheses or
// backslashes).
inline std::string MinimalPdf(const std::vector<std::string>& lines) {
  const int pages = static_cast<int>(lines.size());
  std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
  std::string kids;
  for (int i = 0; i < pages; ++i) {
    const int page = 4 + 2 * i;
    kids += std::to_string(page) + " 0 R ";
    const std::string stream =
        "BT /F1 12 Tf 72 720 Td (" + lines[static_cast<size_t>(i)] + ") Tj ET";
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                      std::to_string(page + 1) + " 0 R /Resources << /Font << /F1 3 0 R >> >> >>");
    objects.push_back("<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream +
                      "\nendstream");
  }
  objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
  objects.insert(objects.begin() + 2, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  std::string out = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(out.size());
    out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = out.size();
  out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    std::string number = std::to_string(offset);
    out += std::string(10 - number.size(), '0') + number + " 00000 n \n";
  }
  out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return out;
}

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_PDFFILES_H_
