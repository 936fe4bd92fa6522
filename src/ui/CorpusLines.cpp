#include "ui/CorpusLines.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <unordered_map>

#include "corpus/TokenRuns.h"
#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/HugePages.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// Document order: by document and token, then as a run of the document orders the
// words of one token: by their place in it (under the Unicode rules, where a token of a
// script written without spaces holds several words), by the place the scanner gives
// them, the end of the token less the word's length (the whole hyphenated word first,
// then its longer part), then by the words' byte order.
struct DocumentOrder {
  const CorpusIndex& index;
  bool operator()(const CorpusLine& a, const CorpusLine& b) const {
    if (a.document != b.document) return a.document < b.document;
    if (a.token != b.token) return a.token < b.token;
    if (a.place != b.place) return a.place < b.place;
    if (a.span != 0 || b.span != 0) return a.span > b.span;  // (a query's: one a token)
    const size_t la = index.words()[static_cast<size_t>(a.word)].word.size();
    const size_t lb = index.words()[static_cast<size_t>(b.word)].word.size();
    return la != lb ? la > lb : a.word < b.word;
  }
};

}  // namespace

ExploreQuery CorpusQuery(std::string_view keywords, WordRuleSet rules) {
  if (rules == WordRuleSet::kUnicode) return ExploreQuery(LowerUnicodeText(keywords), true);
  std::string text;
  Utf8ToCp1252(std::string(keywords), &text);
  return ExploreQuery(LowerCaseAccented(std::move(text)), false);
}

CorpusLines::CorpusLines(const CorpusIndex& index, const Subcorpus& subcorpus,
                         const std::vector<uint32_t>& frequency)
    : index_(index), subcorpus_(subcorpus), frequency_(frequency) {}

void CorpusLines::Select(const std::vector<int32_t>& words) {
  lines_.clear();
  for (int32_t w : words) {
    for (const DocumentHits& h : index_.Hits(static_cast<size_t>(w))) {
      if (!subcorpus_.Has(h.document)) continue;
      for (int32_t t : h.positions) lines_.push_back({h.document, t, w});
    }
  }
  // (One word's lines come in document order already.)
  if (!std::is_sorted(lines_.begin(), lines_.end(), DocumentOrder{index_}))
    std::sort(lines_.begin(), lines_.end(), DocumentOrder{index_});
  if (index_.rules() == WordRuleSet::kUnicode) PlaceInTokens();
}

void CorpusLines::PlaceInTokens() {
  // A token's words as the scanner finds them in its spelling, with their offsets, once
  // a spelling; the k-th line of a word in a token is its k-th occurrence there.
  UnicodeWordScanner scanner(UnicodeWordOptions{false, 1 << 20});
  std::unordered_map<uint32_t, std::vector<std::pair<std::string, int32_t>>> segments;
  for (size_t begin = 0; begin < lines_.size();) {
    size_t end = begin + 1;
    while (end < lines_.size() && lines_[end].document == lines_[begin].document &&
           lines_[end].token == lines_[begin].token)
      ++end;
    const CorpusDocument& d = index_.documents()[lines_[begin].document];
    const uint32_t id = index_.TokenAt(d.firstToken + static_cast<uint64_t>(lines_[begin].token));
    const std::string_view spelling =
        id == CorpusIndex::kNoToken ? std::string_view() : index_.tokenTypes()[id].spelling;
    const auto [at, fresh] = segments.try_emplace(id);
    std::vector<std::pair<std::string, int32_t>>& words = at->second;
    if (fresh) {
      scanner.Scan(" " + std::string(spelling) + " ", [&words](std::string_view w, int32_t place) {
        words.emplace_back(std::string(w), place - 2);
        return true;
      });
    }
    std::map<int32_t, int> seen;  // word -> its lines so far in this token
    for (size_t i = begin; i < end; ++i) {
      const std::string_view word = index_.words()[static_cast<size_t>(lines_[i].word)].word;
      int k = seen[lines_[i].word]++;
      lines_[i].place = std::max<int32_t>(0, static_cast<int32_t>(spelling.size() - word.size()));
      for (const auto& [w, offset] : words) {
        if (w == word && k-- == 0) {
          lines_[i].place = offset;
          break;
        }
      }
    }
    begin = end;
  }
  std::sort(lines_.begin(), lines_.end(), DocumentOrder{index_});
}

void CorpusLines::SelectMatches(const std::vector<QueryMatch>& matches) {
  lines_.clear();
  matchTexts_.clear();
  matchCounts_.clear();
  const bool unicode = index_.rules() == WordRuleSet::kUnicode;
  // A match's text is made once for each sequence of token ids (its bytes in the
  // stream, which the index maps), and the sequences of one text share its number.
  // (A sequence of up to seven bytes is one number: its bytes and its length.)
  std::unordered_map<uint64_t, int32_t> ofShortIds;
  struct Recent {
    uint64_t key = 0;
    int32_t* id = nullptr;  // (an entry of ofShortIds: its place stays)
  };
  std::vector<Recent> recents(256);
  std::unordered_map<std::string_view, int32_t> ofIds;
  std::unordered_map<std::string, int32_t> number;
  const std::vector<CorpusDocument>& documents = index_.documents();
  ReserveHuge(&lines_, matches.size());
  uint32_t d = 0;
  std::string text;
  // (The matches' tokens, spread over the stream, are asked for a few matches ahead.)
  constexpr size_t kAhead = 16;
  const std::string_view stream = index_.StreamBytes(0, index_.tokenCount());
  for (size_t i = 0; i < matches.size(); ++i) {
    const QueryMatch& m = matches[i];
    if (i + kAhead < matches.size() && matches[i + kAhead].first < index_.tokenCount())
      __builtin_prefetch(stream.data() + matches[i + kAhead].first * index_.width());
    while (d < documents.size() && documents[d].firstToken + documents[d].tokens <= m.first) ++d;
    if (d == documents.size()) break;
    const std::string_view ids = index_.StreamBytes(m.first, m.length);
    int32_t* known = nullptr;
    bool unseen = false;
    if (ids.size() <= 7) {
      // (Put together in a register: bytes stored one by one and read back as one
      // number would wait for each other.)
      uint64_t key = static_cast<uint64_t>(ids.size()) << 56;
      for (size_t b = 0; b < ids.size(); ++b)
        key |= static_cast<uint64_t>(static_cast<uint8_t>(ids[b])) << (8 * b);
      // (The sequences met lately, in a small table before the map.)
      Recent& recent = recents[(key * 0x9E3779B97F4A7C15u) >> 56];
      if (recent.id != nullptr && recent.key == key) {
        known = recent.id;
      } else {
        const auto [at, fresh] = ofShortIds.try_emplace(key, 0);
        known = &at->second;
        unseen = fresh;
        recent = {key, known};
      }
    } else {
      const auto [at, fresh] = ofIds.try_emplace(ids, 0);
      known = &at->second;
      unseen = fresh;
    }
    if (unseen) {
      text.clear();
      for (uint64_t t = m.first; t < m.first + m.length; ++t) {
        const uint32_t id = index_.TokenAt(t);
        if (id == CorpusIndex::kNoToken) continue;
        const std::string_view spelling = index_.tokenTypes()[id].spelling;
        if (!text.empty()) text += ' ';
        text += LowerIn(unicode, spelling);
      }
      const auto [at, fresh] = number.try_emplace(text, static_cast<int32_t>(matchTexts_.size()));
      if (fresh) {
        matchTexts_.push_back(text);
        matchCounts_.push_back(0);
      }
      *known = at->second;
    }
    ++matchCounts_[static_cast<size_t>(*known)];
    lines_.push_back({d, static_cast<int32_t>(m.first - documents[d].firstToken), *known, -1,
                      static_cast<int32_t>(m.length)});
  }
}

std::string_view CorpusLines::ContextToken(const CorpusLine& line, int offset) const {
  const CorpusDocument& d = index_.documents()[line.document];
  // (To the right of a match: from its last token.)
  const int64_t at =
      static_cast<int64_t>(line.token) + offset + (offset > 0 && line.span > 1 ? line.span - 1 : 0);
  if (at < 0 || at >= static_cast<int64_t>(d.tokens)) return {};
  const uint32_t id = index_.TokenAt(d.firstToken + static_cast<uint64_t>(at));
  return id == CorpusIndex::kNoToken ? std::string_view() : index_.tokenTypes()[id].spelling;
}

void CorpusLines::GroupBy(const std::function<std::string(const CorpusDocument&)>& key) {
  std::unordered_map<uint32_t, std::string> keys;
  for (const CorpusLine& l : lines_) {
    if (!keys.contains(l.document)) keys[l.document] = key(index_.documents()[l.document]);
  }
  std::stable_sort(lines_.begin(), lines_.end(), [&keys](const CorpusLine& a, const CorpusLine& b) {
    return keys[a.document] < keys[b.document];
  });
}

void CorpusLines::Sort(const std::vector<SortLevel>& levels) {
  if (!std::is_sorted(lines_.begin(), lines_.end(), DocumentOrder{index_}))
    std::sort(lines_.begin(), lines_.end(), DocumentOrder{index_});
  if (levels.empty() || lines_.empty()) return;
  const bool unicode = index_.rules() == WordRuleSet::kUnicode;
  std::vector<std::vector<uint32_t>> ranks;
  for (const SortLevel& level : levels) {
    std::vector<uint32_t> rank(lines_.size(), 0);
    if (level.kind == SortLevel::kPosition) {
      std::iota(rank.begin(), rank.end(), 0u);  // document order, as they are
    } else if (level.kind == SortLevel::kKeyword) {
      // word (or a query's text) -> id from 0, by a table as long as the words are many
      constexpr uint32_t kNone = UINT32_MAX;
      std::vector<uint32_t> ids(std::max(index_.words().size(), matchTexts_.size()), kNone);
      std::vector<std::string> keys;
      for (size_t i = 0; i < lines_.size(); ++i) {
        uint32_t& id = ids[static_cast<size_t>(lines_[i].word)];
        if (id == kNone) {
          id = static_cast<uint32_t>(keys.size());
          const std::string_view w = lines_[i].span > 0
                                         ? std::string_view(MatchText(lines_[i]))
                                         : index_.words()[static_cast<size_t>(lines_[i].word)].word;
          keys.push_back(SortKeyIn(unicode, w));
        }
        rank[i] = id;
      }
      const std::vector<uint32_t> keyRank = RanksOf(keys);
      for (uint32_t& r : rank) r = keyRank[r];
    } else {
      // A context token's key is made once for each spelling.
      const int offset = level.kind == SortLevel::kLeft ? -level.distance : level.distance;
      std::unordered_map<std::string_view, uint32_t> ids;  // spelling -> id from 1
      std::vector<std::string> keys(1);                    // keys[0] "": no token there
      for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view spelling = ContextToken(lines_[i], offset);
        if (spelling.empty()) continue;
        const auto [at, fresh] = ids.try_emplace(spelling, static_cast<uint32_t>(keys.size()));
        if (fresh) keys.push_back(SortKeyOf(spelling));
        rank[i] = at->second;
      }
      const std::vector<uint32_t> keyRank = RanksOf(keys);
      for (uint32_t& r : rank) r = r == 0 ? 0 : keyRank[r];
    }
    // A level that tells no two lines apart (one keyword's) orders nothing.
    if (std::any_of(rank.begin(), rank.end(), [&rank](uint32_t r) { return r != rank[0]; }))
      ranks.push_back(std::move(rank));
  }
  if (ranks.empty()) return;
  std::vector<uint32_t> order(lines_.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&ranks](uint32_t a, uint32_t b) {
    for (const std::vector<uint32_t>& r : ranks) {
      if (r[a] != r[b]) return r[a] < r[b];
    }
    return false;
  });
  std::vector<CorpusLine> sorted(lines_.size());
  for (size_t i = 0; i < order.size(); ++i) sorted[i] = lines_[order[i]];
  lines_ = std::move(sorted);
}

bool CorpusLines::Cut(size_t begin, size_t end, int width, const TextSource& texts,
                      std::vector<CorpusCut>* out, std::string* problem) const {
  // Each document of the lines is opened once; lines whose contexts lie near each other
  // are cut from one stretch of its text.
  const bool utf8 = index_.rules() == WordRuleSet::kUnicode;
  width = std::clamp(width, 1, kMaxCutWidth);
  // Tokens read on each side of a line's: its context words and a word of slack.
  const int64_t margin = width + 2;
  std::map<uint32_t, std::vector<size_t>> byDocument;
  for (size_t i = begin; i < end; ++i) byDocument[lines_[i].document].push_back(i);
  out->assign(end - begin, CorpusCut());
  // The documents a batch at a time: all of a batch's texts opened, then all their
  // stretches asked for, then read, so that a cold disk serves them together.
  std::vector<std::pair<uint32_t, std::vector<size_t>>> documents(
      std::make_move_iterator(byDocument.begin()), std::make_move_iterator(byDocument.end()));
  constexpr size_t kBatch = 64;
  for (size_t b = 0; b < documents.size(); b += kBatch) {
    const size_t batch = std::min(kBatch, documents.size() - b);
    std::vector<KeptText> kept(batch);
    std::vector<std::vector<StretchGroup>> groups(batch);
    for (size_t i = 0; i < batch; ++i) {
      if (!texts(documents[b + i].first, &kept[i], problem)) return false;
    }
    for (size_t i = 0; i < batch; ++i) {
      std::vector<size_t>& members = documents[b + i].second;
      if (!kept[i].Load(problem)) return false;
      std::stable_sort(members.begin(), members.end(),
                       [this](size_t x, size_t y) { return lines_[x].token < lines_[y].token; });
      for (size_t k = 0; k < members.size();) {
        // Members [k, j) share a stretch.
        const int64_t first = lines_[members[k]].token - margin;
        int64_t last = lines_[members[k]].token + lines_[members[k]].span + margin;
        size_t j = k + 1;
        for (; j < members.size(); ++j) {
          const int64_t token = lines_[members[j]].token;
          if (!kept[i].whole(utf8) && token - margin > last + kTokensAMark) break;
          last = std::max(last, token + lines_[members[j]].span + margin);
        }
        groups[i].push_back({k, j, first, last});
        kept[i].Prefetch(first, last, utf8);
        k = j;
      }
    }
    for (size_t i = 0; i < batch; ++i) {
      if (!CutDocument(documents[b + i].first, documents[b + i].second, groups[i], kept[i], width,
                       begin, out, problem))
        return false;
    }
  }
  return true;
}

bool CorpusLines::CutDocument(uint32_t number, const std::vector<size_t>& members,
                              const std::vector<StretchGroup>& groups, KeptText& kept, int width,
                              size_t begin, std::vector<CorpusCut>* out,
                              std::string* problem) const {
  const bool utf8 = index_.rules() == WordRuleSet::kUnicode;
  const WordRuleSet rules = index_.rules();
  const CorpusDocument& d = index_.documents()[number];
  const std::string name = FileNameOf(d.path);
  std::vector<CorpusCut>& cut = *out;
  TextStretch stretch;
  std::vector<TokenRun> runs;
  for (const StretchGroup& g : groups) {
    const size_t k = g.from, j = g.to;
    if (!kept.Stretch(g.first, g.last, utf8, &stretch, problem)) return false;
    FindTokenRuns(stretch.text, utf8, &runs);
    // A small word table of the lines' words, for the explorer's cutting.
    std::vector<WordRecord> table(1);
    std::unordered_map<int32_t, int32_t> entry;
    std::unordered_map<std::string, int32_t> matchEntry;
    std::vector<KwicRow> rows;
    for (size_t m = k; m < j; ++m) {
      const CorpusLine& l = lines_[members[m]];
      const int64_t token = l.token - stretch.firstToken;
      if (l.span > 0) {
        // A query's match: a record of the text it spans (its word found at its place
        // by its length).
        const size_t first = static_cast<size_t>(std::max<int64_t>(token, 0));
        const size_t lastToken = std::min(runs.size(), first + static_cast<size_t>(l.span)) - 1;
        std::string word;
        if (first < runs.size()) {
          word = stretch.text.substr(
              runs[first].begin, runs[lastToken].begin + runs[lastToken].size - runs[first].begin);
        }
        const auto [at, fresh] = matchEntry.try_emplace(word, static_cast<int32_t>(table.size()));
        if (fresh) {
          WordRecord& r = table.emplace_back();
          r.strWord = word;
          r.lngFrequency = static_cast<int32_t>(matchCounts_[static_cast<size_t>(l.word)]);
        }
        rows.push_back(
            {at->second, first < runs.size() ? static_cast<int32_t>(runs[first].begin) + 1 : 1});
        continue;
      }
      const auto [at, fresh] = entry.try_emplace(l.word, static_cast<int32_t>(table.size()));
      if (fresh) {
        WordRecord& r = table.emplace_back();
        r.strWord = index_.words()[static_cast<size_t>(l.word)].word;
        r.lngFrequency = static_cast<int32_t>(frequency_[static_cast<size_t>(l.word)]);
      }
      // Where the scanner put the word: its place in the token, or the end of its run
      // less its length.
      int32_t position = 1;
      if (token >= 0 && static_cast<size_t>(token) < runs.size() && l.place >= 0) {
        position = static_cast<int32_t>(runs[static_cast<size_t>(token)].begin) + 1 + l.place;
      } else if (token >= 0 && static_cast<size_t>(token) < runs.size()) {
        const TokenRun& run = runs[static_cast<size_t>(token)];
        position = std::max<int32_t>(
            static_cast<int32_t>(run.begin + 1),
            static_cast<int32_t>(run.begin + run.size + 1) -
                static_cast<int32_t>(table[static_cast<size_t>(at->second)].strWord.size()));
      }
      rows.push_back({at->second, position});
    }
    ExploreSource source;
    source.words = &table;
    source.numWords = static_cast<int32_t>(table.size() - 1);
    source.text = stretch.text;
    source.utf8 = utf8;
    const KwicRows kwic(source);
    for (size_t m = k; m < j; ++m) {
      const KwicRow& row = rows[m - k];
      const KwicCut c = kwic.Cut(row, width);
      CorpusCut& line = cut[members[m] - begin];
      AppendEngineTextAsUtf8(rules, c.left, &line.left);
      AppendEngineTextAsUtf8(rules, c.keyword, &line.keyword);
      AppendEngineTextAsUtf8(rules, c.right, &line.right);
      const CorpusLine& l = lines_[members[m]];
      // (A match's word: its text in lower case, as over one document.)
      AppendEngineTextAsUtf8(rules, l.span == 0 ? kwic.word(row).strWord : LowerIn(utf8, c.keyword),
                             &line.word);
      line.document = name;
      line.line = kwic.LineOf(row.position) + static_cast<int32_t>(stretch.lines);
      line.position = row.position + static_cast<int32_t>(stretch.begin);
      line.frequency = static_cast<uint32_t>(kwic.word(row).lngFrequency);
    }
  }
  return true;
}

bool CorpusLines::Export(size_t first, size_t last, int width, KwicFormat format,
                         const TextSource& texts,
                         const std::function<void(std::string_view)>& write,
                         std::string* problem) const {
  const char* separator = format == KwicFormat::kCsv ? "," : "\t";
  const char* lineEnd = format == KwicFormat::kCsv ? "\r\n" : "\n";
  static constexpr const char* kColumns[] = {"left",      "keyword", "right",  "word",
                                             "frequency", "line",    "offset", "document"};
  if (format == KwicFormat::kTsv || format == KwicFormat::kCsv) {
    std::string header;
    for (const char* column : kColumns)
      header += (header.empty() ? "" : separator) + std::string(column);
    write(header + lineEnd);
  } else if (format == KwicFormat::kHtml) {
    write(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Concordance lines</title>\n"
        "<style>td.left{text-align:right}td.keyword{text-align:center}mark{background:#ffe08a}</"
        "style></head>\n<body><table>\n<tr><th>left</th><th>keyword</th><th>right</th>"
        "<th>word</th><th>frequency</th><th>line</th><th>offset</th><th>document</th></tr>\n");
  }
  // A chunk of lines at a time: cut, then written. A chunk opens each of its documents
  // once: a word's lines in all but the largest corpora fit one (some 30 MB of lines).
  constexpr size_t kChunk = 131072;
  std::string out;
  std::vector<CorpusCut> cut;
  for (size_t begin = first; begin < last; begin += kChunk) {
    const size_t end = std::min(last, begin + kChunk);
    if (!Cut(begin, end, width, texts, &cut, problem)) return false;
    size_t nameWidth = 0, leftWidth = 0;
    if (format == KwicFormat::kText) {
      for (const CorpusCut& l : cut) {
        nameWidth = std::max(nameWidth, Utf8Length(l.document));
        leftWidth = std::max(leftWidth, Utf8Length(l.left));
      }
    }
    out.clear();
    for (const CorpusCut& l : cut) {
      const std::string numbers[] = {std::to_string(l.frequency), std::to_string(l.line),
                                     std::to_string(l.position)};
      const std::string* texts5[] = {&l.left, &l.keyword, &l.right, &l.word};
      switch (format) {
        case KwicFormat::kText:
          out += l.document;
          out.append(nameWidth - Utf8Length(l.document) + 2, ' ');
          out.append(leftWidth - Utf8Length(l.left), ' ');
          out += l.left + "  " + l.keyword + "  " + l.right + "\n";
          break;
        case KwicFormat::kTsv:
        case KwicFormat::kCsv:
          for (size_t f = 0; f < 8; ++f) {
            if (f > 0) out += separator;
            const std::string& value = f < 4 ? *texts5[f] : f < 7 ? numbers[f - 4] : l.document;
            out += format == KwicFormat::kCsv ? CsvField(value) : value;
          }
          out += lineEnd;
          break;
        case KwicFormat::kJsonl:
          out += '{';
          for (size_t f = 0; f < 8; ++f) {
            if (f > 0) out += ',';
            out += JsonString(kColumns[f]);
            out += ':';
            out += f < 4 ? JsonString(*texts5[f]) : f < 7 ? numbers[f - 4] : JsonString(l.document);
          }
          out += "}\n";
          break;
        case KwicFormat::kHtml:
          out += "<tr><td class=\"left\">" + HtmlEscaped(l.left) +
                 "</td><td class=\"keyword\"><mark>" + HtmlEscaped(l.keyword) + "</mark></td><td>" +
                 HtmlEscaped(l.right) + "</td><td>" + HtmlEscaped(l.word) + "</td><td>" +
                 numbers[0] + "</td><td>" + numbers[1] + "</td><td>" + numbers[2] + "</td><td>" +
                 HtmlEscaped(l.document) + "</td></tr>\n";
          break;
      }
    }
    write(out);
  }
  if (format == KwicFormat::kHtml) write("</table></body></html>\n");
  return true;
}

}  // namespace quillmoor
