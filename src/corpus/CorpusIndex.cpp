#include "corpus/CorpusIndex.h"

#include <algorithm>

namespace quillmoor {
namespace {

void AppendString(std::string_view s, std::string* out) {
  AppendVarint(s.size(), out);
  out->append(s);
}

// A checked reading of the index's bytes: every read says whether it fitted.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Number(uint64_t* v) { return ReadVarint(bytes_, &at_, v); }
  bool Number32(uint32_t* v) {
    uint64_t n = 0;
    if (!Number(&n) || n > UINT32_MAX) return false;
    *v = static_cast<uint32_t>(n);
    return true;
  }
  bool String(std::string_view* s) {
    uint64_t n = 0;
    if (!Number(&n) || n > bytes_.size() - at_) return false;
    *s = bytes_.substr(at_, n);
    at_ += n;
    return true;
  }
  bool Literal(std::string_view s) {
    if (bytes_.substr(at_, s.size()) != s) return false;
    at_ += s.size();
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }
  size_t left() const { return bytes_.size() - at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

void AppendVarint(uint64_t value, std::string* out) {
  while (value >= 0x80) {
    out->push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<char>(value));
}

bool ReadVarint(std::string_view bytes, size_t* at, uint64_t* value) {
  uint64_t v = 0;
  for (int shift = 0; shift < 70; shift += 7) {
    if (*at >= bytes.size()) return false;
    const uint8_t b = static_cast<uint8_t>(bytes[(*at)++]);
    if (shift == 63 && b > 1) return false;
    v |= static_cast<uint64_t>(b & 0x7F) << shift;
    if ((b & 0x80) == 0) {
      *value = v;
      return true;
    }
  }
  return false;
}

std::string CorpusDocument::Metadata(std::string_view column) const {
  for (const auto& [key, value] : metadata) {
    if (key == column) return value;
  }
  return "";
}

void CorpusBuilder::Add(CorpusDocument document, const DocumentWords& words) {
  const uint32_t index = static_cast<uint32_t>(documents_.size());
  uint32_t total = 0;
  for (const auto& [word, positions] : words) {
    if (positions.empty()) continue;
    auto [found, fresh] = lookup_.try_emplace(word, types_.size());
    if (fresh) types_.emplace_back(word, Type());
    Type& t = types_[found->second].second;
    // The document's distance from the type's last one (the first: its index + 1).
    AppendVarint(t.range == 0 ? index + 1 : index - t.lastDocument, &t.postings);
    AppendVarint(positions.size(), &t.postings);
    int32_t last = 0;
    for (int32_t position : positions) {
      AppendVarint(static_cast<uint32_t>(position - last), &t.postings);
      last = position;
    }
    t.lastDocument = index;
    t.frequency += static_cast<uint32_t>(positions.size());
    ++t.range;
    total += static_cast<uint32_t>(positions.size());
  }
  document.words = total;
  documents_.push_back(std::move(document));
}

std::string CorpusBuilder::Serialize() const {
  std::string out(kCorpusMagic);
  AppendVarint(kCorpusVersion, &out);
  AppendVarint(rules_ == WordRuleSet::kUnicode ? 1 : 0, &out);
  AppendVarint(documents_.size(), &out);
  uint64_t words = 0;
  for (const CorpusDocument& d : documents_) {
    AppendString(d.path, &out);
    AppendString(d.digest, &out);
    AppendVarint(static_cast<uint64_t>(d.size), &out);
    AppendVarint(static_cast<uint64_t>(d.modified), &out);
    AppendVarint(d.words, &out);
    AppendVarint(d.metadata.size(), &out);
    for (const auto& [key, value] : d.metadata) {
      AppendString(key, &out);
      AppendString(value, &out);
    }
    words += d.words;
  }
  std::vector<size_t> order(types_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [this](size_t a, size_t b) { return types_[a].first < types_[b].first; });
  AppendVarint(types_.size(), &out);
  for (size_t i : order) {
    const auto& [word, t] = types_[i];
    AppendString(word, &out);
    AppendVarint(t.frequency, &out);
    AppendVarint(t.range, &out);
    AppendString(t.postings, &out);
  }
  AppendVarint(words, &out);
  out += "end\n";
  return out;
}

bool CorpusIndex::Parse(std::string bytes, std::string* problem) {
  bytes_ = std::move(bytes);
  documents_.clear();
  types_.clear();
  const auto fail = [problem](const char* what) {
    *problem = what;
    return false;
  };
  Reader r(bytes_);
  if (!r.Literal(kCorpusMagic)) return fail("it is not a corpus index of this program");
  uint64_t version = 0, rules = 0, count = 0;
  if (!r.Number(&version) || version != kCorpusVersion) {
    return fail("it was written in another version of the corpus index");
  }
  if (!r.Number(&rules) || rules > 1) return fail("its word rules are unknown");
  rules_ = WordRuleSetOf(rules == 1);
  // Each document takes at least 7 bytes, each type at least 4: counts beyond what the
  // file can hold are damage, not a reason to reserve memory.
  if (!r.Number(&count) || count > r.left() / 7) return fail("its list of documents is damaged");
  uint64_t sum = 0;
  for (uint64_t i = 0; i < count; ++i) {
    CorpusDocument d;
    std::string_view path, digest;
    uint64_t size = 0, modified = 0, meta = 0;
    if (!r.String(&path) || !r.String(&digest) || !r.Number(&size) || !r.Number(&modified) ||
        !r.Number32(&d.words) || !r.Number(&meta) || meta > r.left() / 2) {
      return fail("its list of documents is damaged");
    }
    d.path = path;
    d.digest = digest;
    d.size = static_cast<int64_t>(size);
    d.modified = static_cast<int64_t>(modified);
    for (uint64_t k = 0; k < meta; ++k) {
      std::string_view key, value;
      if (!r.String(&key) || !r.String(&value)) return fail("its metadata are damaged");
      d.metadata.emplace_back(key, value);
    }
    sum += d.words;
    documents_.push_back(std::move(d));
  }
  if (!r.Number(&count) || count > r.left() / 4) return fail("its lexicon is damaged");
  types_.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    Type t;
    if (!r.String(&t.word) || !r.Number32(&t.frequency) || !r.Number32(&t.range) ||
        !r.String(&t.postings) || t.range > documents_.size() || t.range > t.frequency) {
      return fail("its lexicon is damaged");
    }
    if (!types_.empty() && !(types_.back().word < t.word))
      return fail("its lexicon is out of order");
    types_.push_back(t);
  }
  if (!r.Number(&words_) || words_ != sum || !r.Literal("end\n") || !r.AtEnd()) {
    return fail("it is incomplete or damaged at its end");
  }
  return true;
}

int64_t CorpusIndex::Find(std::string_view word) const {
  const auto at = std::lower_bound(types_.begin(), types_.end(), word,
                                   [](const Type& t, std::string_view w) { return t.word < w; });
  return at != types_.end() && at->word == word ? at - types_.begin() : -1;
}

std::vector<DocumentHits> CorpusIndex::Hits(size_t index) const {
  std::vector<DocumentHits> hits;
  const std::string_view bytes = types_[index].postings;
  size_t at = 0;
  uint64_t document = 0;
  bool first = true;
  while (at < bytes.size()) {
    uint64_t step = 0, count = 0;
    // A damaged list ends where it stops making sense.
    if (!ReadVarint(bytes, &at, &step) || !ReadVarint(bytes, &at, &count) ||
        count > bytes.size() - at) {
      break;
    }
    document = first ? step - 1 : document + step;
    first = false;
    if (step == 0 && hits.size() > 0) break;
    if (document >= documents_.size()) break;
    DocumentHits h;
    h.document = static_cast<uint32_t>(document);
    h.positions.reserve(count);
    uint64_t position = 0;
    for (uint64_t k = 0; k < count; ++k) {
      uint64_t delta = 0;
      if (!ReadVarint(bytes, &at, &delta) || position + delta > INT32_MAX) return hits;
      position += delta;
      h.positions.push_back(static_cast<int32_t>(position));
    }
    hits.push_back(std::move(h));
  }
  return hits;
}

std::vector<DocumentWords> CorpusIndex::AllDocumentWords() const {
  std::vector<DocumentWords> all(documents_.size());
  for (size_t i = 0; i < types_.size(); ++i) {
    for (DocumentHits& h : Hits(i)) {
      all[h.document].emplace_back(std::string(types_[i].word), std::move(h.positions));
    }
  }
  return all;
}

}  // namespace quillmoor
