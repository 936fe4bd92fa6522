#include "ui/Corpora.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "engine/UnicodeWords.h"
#include "engine/WordTable.h"
#include "input/Documents.h"
#include "input/TextFile.h"
#include "output/Md5.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

constexpr const char* kIndexFileName = "corpus.qci";

std::string CorporaFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data != nullptr && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = JoinPath(home != nullptr ? home : "/tmp", ".local/share");
  }
  return JoinPath(base, "quillmoor/corpora");
}

bool IsReadDocument(const std::string& path) {
  static const std::set<std::string> kKinds = {"txt", "text", "htm", "html", "xml", "docx",
                                               "pdf", "epub", "odt", "ott",  "rtf"};
  return kKinds.contains(GetFileExtension(path, true));
}

void Walk(const std::string& folder, std::vector<std::string>* out) {
  std::vector<std::string> names = Files().List(folder);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = JoinPath(folder, name);
    if (Files().FolderExists(path)) {
      Walk(path, out);
    } else if (IsReadDocument(path)) {
      out->push_back(path);
    }
  }
}

struct FileStamp {
  int64_t size = -1;
  int64_t modified = 0;
};

FileStamp StampOf(const std::string& path) {
  struct stat s;
  if (::stat(path.c_str(), &s) != 0) return {};
  return {static_cast<int64_t>(s.st_size), static_cast<int64_t>(s.st_mtime)};
}

// Scans one document as a wordlist run does; its words and the rules they are under.
bool ScanDocument(Program& p, const std::string& path, DocumentWords* words, WordRuleSet* rules) {
  MainControls& m = p.frmMain;
  m.txbFile[0].text = path;
  m.chkUTF8[0].value = 0;
  if (!InputFileLostFocus(p, 0)) return false;
  p.blnStopAfterCounts = true;
  p.blnNoDisplayCopy = true;
  cmdListWords_Click(p);
  p.blnNoDisplayCopy = false;
  if (!p.blnWordsGot) return false;
  words->clear();
  words->reserve(static_cast<size_t>(p.lngNumWords));
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    words->emplace_back(std::move(r.strWord), std::move(r.positions));
  }
  *rules = p.wordRules;
  p.blnWordsGot = false;
  return true;
}

}  // namespace

bool ReadFrequencyList(const std::string& path, WordRuleSet rules,
                       std::unordered_map<std::string, uint64_t>* counts, uint64_t* total,
                       std::string* problem) {
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(path, -1, &bytes, &error)) {
    *problem = path + ": " + error.description;
    return false;
  }
  *total = 0;
  int line = 0;
  for (const std::string_view view : SplitLines(bytes)) {
    const std::string text(view);
    ++line;
    const size_t tab = text.find('\t');
    const bool counted = tab != std::string::npos && tab + 1 < text.size() &&
                         text.find_first_not_of("0123456789", tab + 1) == std::string::npos;
    if (text.empty() || (line == 1 && !counted)) continue;  // a blank line, or a header
    if (!counted) {
      *problem = path + ": line " + std::to_string(line) + " is not word<TAB>count";
      return false;
    }
    std::string word = text.substr(0, tab);
    if (rules == WordRuleSet::kWindows1252) {
      std::string cp;
      Utf8ToCp1252(word, &cp);
      word = std::move(cp);
    }
    const uint64_t n = std::strtoull(text.c_str() + tab + 1, nullptr, 10);
    (*counts)[word] += n;
    *total += n;
  }
  return true;
}

std::string CorpusFolderOf(const std::string& name) {
  if (name.find('/') != std::string::npos) return AbsolutePath(name);
  return JoinPath(CorporaFolder(), name);
}

std::string CorpusIndexFileOf(const std::string& name) {
  return JoinPath(CorpusFolderOf(name), kIndexFileName);
}

std::vector<std::string> CorpusNames() {
  std::vector<std::string> names;
  const std::string folder = CorporaFolder();
  for (const std::string& name : Files().List(folder)) {
    if (FileExists(JoinPath(JoinPath(folder, name), kIndexFileName))) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool CorpusDocumentsOf(const std::vector<std::string>& given, std::vector<std::string>* documents,
                       std::string* problem) {
  std::set<std::string> seen;
  for (const std::string& g : given) {
    const std::string path = AbsolutePath(g);
    std::vector<std::string> found;
    if (Files().FolderExists(path)) {
      Walk(path, &found);
    } else if (FileExists(path)) {
      found.push_back(path);
    } else {
      *problem = g + ": no such file or folder";
      return false;
    }
    for (std::string& f : found) {
      if (seen.insert(f).second) documents->push_back(std::move(f));
    }
  }
  return true;
}

bool ReadCorpusMetadata(
    const std::string& path,
    std::map<std::string, std::vector<std::pair<std::string, std::string>>>* rows,
    std::string* problem) {
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(path, 64 << 20, &bytes, &error)) {
    *problem = path + ": " + error.description;
    return false;
  }
  std::vector<std::string> columns;
  int line = 0;
  for (const std::string_view view : SplitLines(bytes)) {
    const std::string text(view);
    ++line;
    if (text.empty()) continue;
    std::vector<std::string> fields;
    size_t at = 0;
    while (true) {
      const size_t tab = text.find('\t', at);
      fields.push_back(text.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
      if (tab == std::string::npos) break;
      at = tab + 1;
    }
    if (columns.empty()) {
      columns = std::move(fields);
      continue;
    }
    if (fields.size() != columns.size()) {
      *problem = path + ": line " + std::to_string(line) + " has " + std::to_string(fields.size()) +
                 " fields, the first line " + std::to_string(columns.size());
      return false;
    }
    auto& row = (*rows)[fields[0]];
    for (size_t i = 1; i < fields.size(); ++i) row.emplace_back(columns[i], fields[i]);
  }
  if (columns.size() < 2) {
    *problem = path + ": the first line names no columns besides the file's";
    return false;
  }
  return true;
}

bool LoadCorpus(const std::string& name, CorpusIndex* index, std::string* problem) {
  const std::string file = CorpusIndexFileOf(name);
  if (!FileExists(file)) {
    *problem = "There is no corpus " + name + " (" + file + " does not exist).";
    return false;
  }
  std::string bytes, why;
  FileError error;
  if (!ReadFilePrefix(file, -1, &bytes, &error)) {
    *problem = file + ": " + error.description;
    return false;
  }
  if (!index->Parse(std::move(bytes), &why)) {
    *problem = file + " cannot be read: " + why + ".";
    return false;
  }
  return true;
}

bool UpdateCorpus(Program& p, const std::string& name, const CorpusUpdate& update,
                  std::string* problem) {
  const auto say = [&update](const std::string& s) {
    if (update.say) update.say(s);
  };
  CorpusIndex old;
  std::vector<DocumentWords> oldWords;
  if (!update.fresh && FileExists(CorpusIndexFileOf(name))) {
    if (!LoadCorpus(name, &old, problem)) return false;
    oldWords = old.AllDocumentWords();
  }
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> metadata;
  if (!update.metadataFile.empty() &&
      !ReadCorpusMetadata(update.metadataFile, &metadata, problem)) {
    return false;
  }
  // The documents in their order: the old ones still wanted, then the new ones.
  const std::set<std::string> removed(update.remove.begin(), update.remove.end());
  std::vector<std::string> paths;
  std::set<std::string> listed;
  std::map<std::string, size_t> oldIndex;
  for (size_t i = 0; i < old.documents().size(); ++i) {
    const std::string& path = old.documents()[i].path;
    oldIndex[path] = i;
    if (!removed.contains(path) && listed.insert(path).second) paths.push_back(path);
  }
  for (const std::string& path : update.add) {
    if (listed.insert(path).second) paths.push_back(path);
  }
  if (paths.empty()) {
    *problem = "The corpus would hold no document.";
    return false;
  }
  struct Entry {
    CorpusDocument document;
    DocumentWords words;
    WordRuleSet rules = WordRuleSet::kWindows1252;
  };
  std::vector<Entry> entries(paths.size());
  bool unicode = p.frmParams.strWordRules == "unicode";
  size_t scanned = 0, kept = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    Entry& e = entries[i];
    const std::string& path = paths[i];
    const FileStamp stamp = StampOf(path);
    if (stamp.size < 0) {
      *problem = path + ": Input file does not exist.";
      return false;
    }
    e.document.path = path;
    e.document.size = stamp.size;
    e.document.modified = stamp.modified;
    const auto found = oldIndex.find(path);
    bool same = false;
    if (found != oldIndex.end()) {
      const CorpusDocument& before = old.documents()[found->second];
      e.document.digest = before.digest;
      e.document.metadata = before.metadata;
      same = before.size == stamp.size && before.modified == stamp.modified;
      if (!same) {
        int32_t err = 0;
        std::string errText;
        e.document.digest = FileMD5(path, err, errText);
        same = e.document.digest == before.digest;
      }
    }
    if (same) {
      e.words = std::move(oldWords[found->second]);
      e.rules = old.rules();
      ++kept;
    } else {
      say("Scanning " + path + " ...");
      if (!ScanDocument(p, path, &e.words, &e.rules)) {
        *problem = path + ": the document cannot be read (its message says why).";
        return false;
      }
      if (e.document.digest.empty() || found == oldIndex.end()) {
        int32_t err = 0;
        std::string errText;
        e.document.digest = FileMD5(path, err, errText);
      }
      ++scanned;
    }
    unicode = unicode || e.rules == WordRuleSet::kUnicode;
    const auto meta = metadata.find(path);
    const auto metaByName = metadata.find(FileNameOf(path));
    if (meta != metadata.end())
      e.document.metadata = meta->second;
    else if (metaByName != metadata.end())
      e.document.metadata = metaByName->second;
  }
  // One rule set for all: a document scanned under the other rules is scanned again.
  if (unicode && p.frmParams.strWordRules != "windows-1252") {
    const std::string before = std::exchange(p.frmParams.strWordRules, "unicode");
    for (Entry& e : entries) {
      if (e.rules == WordRuleSet::kUnicode) continue;
      say("Scanning " + e.document.path + " again under the Unicode rules ...");
      if (!ScanDocument(p, e.document.path, &e.words, &e.rules)) {
        p.frmParams.strWordRules = before;
        *problem = e.document.path + ": the document cannot be read (its message says why).";
        return false;
      }
      ++scanned;
    }
    p.frmParams.strWordRules = before;
  }
  CorpusBuilder builder(WordRuleSetOf(unicode && p.frmParams.strWordRules != "windows-1252"));
  for (Entry& e : entries) {
    builder.Add(std::move(e.document), e.words);
    DocumentWords().swap(e.words);
  }
  const std::string folder = CorpusFolderOf(name);
  FileError error;
  if (!MakeFolders(folder)) {
    *problem = folder + ": the folder cannot be made";
    return false;
  }
  const std::string bytes = builder.Serialize();
  if (!WriteFileAtomically(CorpusIndexFileOf(name), {bytes}, &error)) {
    *problem = CorpusIndexFileOf(name) + ": " + error.description;
    return false;
  }
  say("Corpus " + name + ": " + std::to_string(builder.documents()) + " documents (" +
      std::to_string(scanned) + " scanned, " + std::to_string(kept) + " kept).");
  return true;
}

void LoadCorpusTable(Program& p, const CorpusIndex& index) {
  StartWordTable(p);
  const auto& types = index.types();
  p.arrWords.resize(types.size() + 1);
  for (size_t i = 0; i < types.size(); ++i) {
    WordRecord& r = p.arrWords[i + 1];
    r.strWord = types[i].word;
    r.strSortKey =
        index.rules() == WordRuleSet::kUnicode ? UnicodeSortKey(r.strWord) : SortKeyOf(r.strWord);
    r.blnIncluded = true;
    r.lngFrequency = static_cast<int32_t>(std::min<uint64_t>(types[i].frequency, INT32_MAX));
  }
  p.lngNumWords = static_cast<int32_t>(types.size());
  p.wordRules = index.rules();
  p.blnIndexFileCurrent = false;
  p.blnWordsGot = true;
}

}  // namespace quillmoor
