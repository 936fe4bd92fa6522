// The pages of a paged document (a PDF): where each begins in the document text, so
// that an occurrence can be cited as "p. N".
//
// A reader puts kPageMark between the text of two pages, written " \x01 " (the line
// break " / " with the mark for its "/"); once the text is in its final form, with
// every position the word table will hold, TakePageMarks turns the marks into line
// breaks and records where they were. No other reading puts the mark in a text.
#ifndef QUILLMOOR_SHARED_PAGEMAP_H_
#define QUILLMOOR_SHARED_PAGEMAP_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

inline constexpr char kPageMark = '\x01';
inline constexpr std::string_view kPageBreak = " \x01 ";

struct PageMap {
  std::vector<int32_t> starts;   // 1-based positions in the text, ascending
  std::vector<int32_t> numbers;  // the page numbers from starts[i] on
  bool empty() const { return starts.empty(); }
  // The page a 1-based position lies on; 0 for a text without pages.
  int32_t PageOf(int32_t position) const;
};

// "p. N" for a page number, "" for 0.
std::string PageLabel(int32_t page);

// Replaces each kPageMark of `text` by "/", and returns where the pages begin: the
// text's first page is `firstPage`, the page after mark i is markPages[i]. With no
// firstPage (0) the text has no pages, and nothing is changed.
PageMap TakePageMarks(std::string& text, int32_t firstPage, const std::vector<int32_t>& markPages);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_PAGEMAP_H_
