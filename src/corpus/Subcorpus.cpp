#include "corpus/Subcorpus.h"

#include <cstdlib>
#include <thread>

namespace quillmoor {
namespace {

bool AsNumber(const std::string& s, double* v) {
  if (s.empty()) return false;
  char* end = nullptr;
  *v = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string ColumnOf(const CorpusDocument& d, const std::string& column, bool* has) {
  *has = true;
  const size_t slash = d.path.rfind('/');
  if (column == "name") return slash == std::string::npos ? d.path : d.path.substr(slash + 1);
  if (column == "path") return d.path;
  if (column == "folder") return slash == std::string::npos ? "" : d.path.substr(0, slash);
  *has = d.HasMetadata(column);
  return d.Metadata(column);
}

}  // namespace

bool ParseDocumentFilter(std::string_view text, DocumentFilter* filter, std::string* problem) {
  static constexpr struct {
    std::string_view symbol;
    DocumentFilter::Op op;
  } kOps[] = {{"!=", DocumentFilter::kNotEqual}, {">=", DocumentFilter::kAtLeast},
              {"<=", DocumentFilter::kAtMost},   {"=", DocumentFilter::kEqual},
              {">", DocumentFilter::kMore},      {"<", DocumentFilter::kLess},
              {"~", DocumentFilter::kHolds}};
  const size_t at = text.find_first_of("=!<>~");
  if (at == std::string_view::npos || at == 0) {
    *problem = "'" + std::string(text) +
               "' is not a filter: it takes COLUMN, one of = != >= <= > < ~, and a value "
               "(year>=1900)";
    return false;
  }
  for (const auto& [symbol, op] : kOps) {
    if (text.substr(at, symbol.size()) != symbol) continue;
    filter->column = std::string(text.substr(0, at));
    while (!filter->column.empty() && filter->column.back() == ' ') filter->column.pop_back();
    filter->op = op;
    filter->value = std::string(text.substr(at + symbol.size()));
    while (!filter->value.empty() && filter->value.front() == ' ') filter->value.erase(0, 1);
    if (filter->column.empty()) break;
    return true;
  }
  *problem = "'" + std::string(text) +
             "' is not a filter: it takes COLUMN, one of = != >= <= > < ~, and a value "
             "(year>=1900)";
  return false;
}

bool PassesFilter(const DocumentFilter& f, const CorpusDocument& d) {
  bool has = false;
  const std::string value = ColumnOf(d, f.column, &has);
  if (!has) return f.op == DocumentFilter::kNotEqual;
  double a = 0, b = 0;
  const bool numbers = AsNumber(value, &a) && AsNumber(f.value, &b);
  const int order = numbers ? (a < b ? -1 : a > b ? 1 : 0) : value.compare(f.value);
  switch (f.op) {
    case DocumentFilter::kEqual:
      return value == f.value;
    case DocumentFilter::kNotEqual:
      return value != f.value;
    case DocumentFilter::kAtLeast:
      return order >= 0;
    case DocumentFilter::kAtMost:
      return order <= 0;
    case DocumentFilter::kMore:
      return order > 0;
    case DocumentFilter::kLess:
      return order < 0;
    case DocumentFilter::kHolds:
      return Lower(value).find(Lower(f.value)) != std::string::npos;
  }
  return false;
}

Subcorpus::Subcorpus(const CorpusIndex& index, const std::vector<DocumentFilter>& filters)
    : index_(index), keep_(index.documents().size(), true) {
  for (size_t i = 0; i < keep_.size(); ++i) {
    const CorpusDocument& d = index.documents()[i];
    for (const DocumentFilter& f : filters) {
      if (!PassesFilter(f, d)) {
        keep_[i] = false;
        whole_ = false;
        break;
      }
    }
    if (keep_[i]) {
      ++count_;
      words_ += d.words;
      tokens_ += d.tokens;
    }
  }
}

void Subcorpus::CountWords(std::vector<uint32_t>* frequency, std::vector<uint32_t>* range) const {
  const auto& words = index_.words();
  frequency->assign(words.size(), 0);
  range->assign(words.size(), 0);
  if (whole_) {
    for (size_t w = 0; w < words.size(); ++w) {
      (*frequency)[w] = words[w].frequency;
      (*range)[w] = words[w].range;
    }
    return;
  }
  // The words [from, to), each list's pieces read by their heads alone: a document's
  // distance, its count and the length of its positions, which are passed over.
  const auto count = [&](size_t from, size_t to) {
    for (size_t w = from; w < to; ++w) {
      const std::string_view bytes = words[w].postings;
      size_t at = 0;
      uint64_t document = 0, step = 0, n = 0, size = 0;
      bool first = true;
      while (at < bytes.size() && ReadVarint(bytes, &at, &step) && ReadVarint(bytes, &at, &n) &&
             ReadVarint(bytes, &at, &size) && size <= bytes.size() - at) {
        document = first ? step - 1 : document + step;
        first = false;
        if (step == 0 || document >= keep_.size()) break;
        if (keep_[document]) {
          (*frequency)[w] += static_cast<uint32_t>(n);
          ++(*range)[w];
        }
        at += size;
      }
    }
  };
  // Two halves by bytes of lists, one on a thread of its own, when there is much to read.
  uint64_t total = 0;
  for (const CorpusIndex::Word& w : words) total += w.postings.size();
  size_t middle = 0;
  for (uint64_t sum = 0; middle < words.size() && sum < total / 2; ++middle)
    sum += words[middle].postings.size();
  if (total < (uint64_t{16} << 20)) {
    count(0, words.size());
    return;
  }
  std::thread other(count, middle, words.size());
  count(0, middle);
  other.join();
}

}  // namespace quillmoor
