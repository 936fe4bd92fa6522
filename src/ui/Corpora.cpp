#include "ui/Corpora.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "corpus/DocumentTexts.h"
#include "corpus/TokenRuns.h"
#include "corpus/TokenWords.h"
#include "engine/UnicodeWords.h"
#include "engine/WordTable.h"
#include "input/Documents.h"
#include "input/TextFile.h"
#include "output/Md5.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/DocxReader.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Snapshot.h"

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

// One scanned document: its words with the tokens they stand in, its tokens (runs of
// `text`) and the rules it was scanned under.
struct ScannedDocument {
  std::string text;
  std::string marks;  // TextMarksOf its tokens
  DocumentWords words;
  std::vector<TokenRun> runs;
  WordRuleSet rules = WordRuleSet::kWindows1252;
};

// Scans one document as a wordlist run does.
bool ScanDocument(Program& p, const std::string& path, ScannedDocument* out) {
  MainControls& m = p.frmMain;
  m.txbFile[0].text = path;
  m.chkUTF8[0].value = 0;
  if (!InputFileLostFocus(p, 0)) return false;
  p.blnStopAfterCounts = true;
  p.blnNoDisplayCopy = false;  // the tokens are cut from the display copy
  cmdListWords_Click(p);
  if (!p.blnWordsGot) return false;
  out->rules = p.wordRules;
  // The text the explorer shows, character entities decoded as the scan decoded them.
  out->text = ExploreText(p);
  p.strLine1.clear();
  std::vector<TokenRun>& runs = out->runs;
  FindTokenRuns(out->text, out->rules == WordRuleSet::kUnicode, &runs);
  out->marks = TextMarksOf(out->text, runs);
  out->words.clear();
  out->words.reserve(static_cast<size_t>(p.lngNumWords));
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    std::vector<int32_t> tokens(r.positions.size());
    for (size_t k = 0; k < r.positions.size(); ++k) {
      const size_t offset = static_cast<size_t>(std::max(r.positions[k], 1) - 1);
      tokens[k] = static_cast<int32_t>(TokenAtOffset(runs, offset));
    }
    out->words.emplace_back(std::move(r.strWord), std::move(tokens));
  }
  p.blnWordsGot = false;
  return true;
}

// Reads one document as a run reads it, into out->text (normalised, in its own case),
// and says whether the scan of it may be left to the token finder: the Windows-1252
// rules, no character entities.
bool ReadDocument(Program& p, const std::string& path, std::string* text, bool* byTokens) {
  MainControls& m = p.frmMain;
  m.txbFile[0].text = path;
  m.chkUTF8[0].value = 0;
  if (!InputFileLostFocus(p, 0)) return false;
  p.blnStopAfterCounts = true;
  p.blnNoDisplayCopy = true;
  const bool ok = ReadInputText(p);
  p.blnNoDisplayCopy = false;
  if (p.blnDocxInput) DeleteTempFolder(p);
  if (!ok) return false;
  *text = std::move(p.strLine);
  p.strLine.clear();
  *byTokens = p.textRules == WordRuleSet::kWindows1252 && !p.blnCharacterEntitiesPossible;
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
  std::string why;
  if (!index->Open(file, &why)) {
    *problem = file + " cannot be read: " + why + ".";
    return false;
  }
  return true;
}

namespace {

struct Planned {
  CorpusDocument document;
  int64_t old = -1;   // its number in the old index, or -1
  bool same = false;  // unchanged since the old index
};

// One step of a build on a thread of its own: the jobs handed to it are done in order
// (at most kWaiting waiting), by `work`, until it fails.
template <typename Job>
class BuildStage {
 public:
  // Enough that a step slower for a document or two does not hold up the others.
  static constexpr size_t kWaiting = 6;
  explicit BuildStage(std::function<bool(Job&)> work)
      : work_(std::move(work)), thread_([this] { Run(); }) {}
  ~BuildStage() { Close(); }
  // False once the work has failed.
  bool Push(Job job) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.size() < kWaiting || failed_; });
    if (failed_) return false;
    jobs_.push_back(std::move(job));
    changed_.notify_all();
    return true;
  }
  // Waits for the jobs; false when the work failed.
  bool Close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
      changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    return !failed_;
  }

 private:
  void Run() {
    while (true) {
      Job job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !jobs_.empty() || closed_; });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
        changed_.notify_all();
      }
      if (!work_(job)) {
        std::lock_guard<std::mutex> lock(mutex_);
        failed_ = true;
        changed_.notify_all();
        return;
      }
    }
  }

  std::function<bool(Job&)> work_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  bool closed_ = false, failed_ = false;
  std::thread thread_;
};

// The steps of a build after a document is read, each on a thread of its own, the
// documents going through them in order (each read, and its digest taken, before): the
// tokens (their runs, marks and ids: the spellings' side), the words (TokenWordEntry),
// the writing (the kept text, the lists).
class BuildThreads {
 public:
  struct Job {
    CorpusDocument document;
    int64_t old = -1;       // keep document `old` of the base index
    bool byTokens = false;  // the words are to be entered from the tokens
    std::string text;       // to keep beside the index
    // The scanner's (unless byTokens): the text's marks, tokens and words.
    std::string marks;
    std::vector<TokenRun> runs;
    DocumentWords words;
    // The tokens' step's: their ids and what the spellings taught.
    std::vector<uint32_t> ids;
    LearnedWords learned;
    // The words' step's: their pieces (byTokens) or their ids.
    std::string bytes;
    DocumentPieces pieces;
    DocumentWordIds wordIds;
  };
  // `spellings` knows the base index's spellings; `places`: the texts kept already, by
  // digest (a document with one of them keeps it).
  BuildThreads(CorpusWriter& writer, TextPackWriter& pack, TokenSpellings& spellings,
               std::unordered_map<std::string, TextPlace> places, int maxLength)
      : writer_(writer),
        pack_(pack),
        spellings_(spellings),
        places_(std::move(places)),
        entry_(maxLength),
        writing_([this](Job& job) { return Write(job); }),
        entering_([this](Job& job) { return Enter(job) && writing_.Push(std::move(job)); }),
        cutting_([this](Job& job) { return Cut(job) && entering_.Push(std::move(job)); }) {}
  // False once the writing has failed.
  bool Push(Job job) { return cutting_.Push(std::move(job)); }
  // Waits for the jobs; false with *problem when the writing failed.
  bool Close(std::string* problem) {
    cutting_.Close();
    entering_.Close();
    if (writing_.Close()) return true;
    *problem = problem_;
    return false;
  }

 private:
  bool Cut(Job& job) {
    if (job.old >= 0) return true;
    if (job.byTokens) {
      FindTokenRuns(job.text, false, &job.runs);
      job.marks = TextMarksOf(job.text, job.runs);
    }
    // Under the Windows-1252 rules every document's spellings are learned in the order
    // of their ids, a scanned one's too: a later document's tokens may be entered by them.
    const auto intern = [this](std::string_view text, const std::vector<TokenRun>& runs,
                               uint32_t* ids) { writer_.InternAll(text, runs, ids); };
    if (writer_.rules() == WordRuleSet::kWindows1252) {
      spellings_.Identify(job.text, job.runs, &job.ids, intern);
      job.learned = spellings_.TakeLearned();
    } else {
      job.ids.resize(job.runs.size());
      intern(job.text, job.runs, job.ids.data());
    }
    std::vector<TokenRun>().swap(job.runs);
    return true;
  }
  bool Enter(Job& job) {
    if (job.old >= 0) return true;
    entry_.Absorb(std::move(job.learned));
    if (job.byTokens) {
      entry_.Enter(job.ids, &job.bytes, &job.pieces,
                   [this](const std::string& w) { return writer_.WordId(w); });
    } else {
      for (auto& [word, tokens] : job.words)
        job.wordIds.emplace_back(writer_.WordId(word), std::move(tokens));
    }
    return true;
  }
  bool Write(Job& job) {
    if (job.old >= 0) return writer_.Keep(std::move(job.document), static_cast<uint32_t>(job.old));
    const auto [known, fresh] = places_.try_emplace(job.document.digest);
    if (fresh && !pack_.Append(job.text, job.marks, writer_.rules() == WordRuleSet::kUnicode,
                               &known->second, &problem_))
      return false;
    job.document.textPack = known->second.pack;
    job.document.textOffset = known->second.offset;
    if (job.byTokens) return writer_.AddPieces(std::move(job.document), job.pieces, job.ids);
    return writer_.Add(std::move(job.document), job.wordIds, job.ids);
  }

  CorpusWriter& writer_;
  TextPackWriter& pack_;
  TokenSpellings& spellings_;
  std::unordered_map<std::string, TextPlace> places_;
  TokenWordEntry entry_;
  std::string problem_;
  // The last step first: each hands its jobs on to the next.
  BuildStage<Job> writing_;
  BuildStage<Job> entering_;
  BuildStage<Job> cutting_;
};

// One attempt at writing the corpus under `rules`; *unicode is set when a document
// turns out to need the Unicode rules that `rules` are not.
bool WriteCorpus(Program& p, const std::string& name, const CorpusUpdate& update,
                 std::vector<Planned>& plan, const CorpusIndex* old, WordRuleSet rules,
                 bool overwrite, bool* unicode, std::string* problem) {
  const auto say = [&update](const std::string& s) {
    if (update.say) update.say(s);
  };
  *unicode = false;
  const std::string file = CorpusIndexFileOf(name);
  const bool keepOld = old != nullptr && old->rules() == rules;
  CorpusWriter writer(rules, file + ".new", update.spillBytes, keepOld ? old : nullptr);
  if (!writer.Start(problem)) return false;
  const std::string before = p.frmParams.strWordRules;
  if (rules == WordRuleSet::kUnicode) p.frmParams.strWordRules = "unicode";
  size_t scanned = 0, kept = 0;
  const DocumentTexts texts(CorpusFolderOf(name));
  TextPackWriter pack(texts, texts.NewPack());
  TokenSpellings spellings(p.intMaxPermittedWordLength);
  // The old texts serve again unless the texts are written afresh (under other rules, or
  // for a new corpus).
  std::unordered_map<std::string, TextPlace> places;
  if (keepOld) {
    for (const CorpusIndex::Token& t : old->tokenTypes()) spellings.Know(t.spelling);
    if (!overwrite) {
      for (const CorpusDocument& d : old->documents())
        places.try_emplace(d.digest, TextPlace{d.textPack, d.textOffset});
    }
  }
  bool ok = true;
  {
    BuildThreads thread(writer, pack, spellings, std::move(places), p.intMaxPermittedWordLength);
    for (Planned& d : plan) {
      if (update.stopRequested && update.stopRequested()) {
        *problem = "Stopped: corpus " + name + " is as it was.";
        ok = false;
        break;
      }
      BuildThreads::Job job;
      job.document = d.document;
      if (d.same && keepOld) {
        job.old = d.old;
        ++kept;
      } else {
        say("Scanning " + d.document.path + " ...");
        if (rules == WordRuleSet::kWindows1252 &&
            !ReadDocument(p, d.document.path, &job.text, &job.byTokens)) {
          *problem = d.document.path + ": the document cannot be read (its message says why).";
          ok = false;
          break;
        }
        if (!job.byTokens) {
          ScannedDocument scan;
          if (!ScanDocument(p, d.document.path, &scan)) {
            *problem = d.document.path + ": the document cannot be read (its message says why).";
            ok = false;
            break;
          }
          if (scan.rules != rules) {  // only the Unicode rules differ from what was asked
            *unicode = true;
            ok = false;
            break;
          }
          job.words = std::move(scan.words);
          job.text = std::move(scan.text);
          job.marks = std::move(scan.marks);
          job.runs = std::move(scan.runs);
        }
        // The digest is taken here: of the four steps, reading has the least to do.
        if (job.document.digest.empty()) {
          int32_t err = 0;
          std::string errText;
          job.document.digest = FileMD5(job.document.path, err, errText);
        }
        ++scanned;
      }
      if (!thread.Push(std::move(job))) {
        ok = false;
        break;
      }
    }
    std::string failure;
    if (!thread.Close(&failure)) {
      ok = false;
      if (problem->empty()) *problem = failure;
    }
  }
  p.frmParams.strWordRules = before;
  // An index that replaces another is on the disk before it does.
  const bool replaces = FileExists(file);
  if (*unicode || !ok || !pack.Finish(problem) || !writer.Finish(problem, replaces)) {
    if (!*unicode && problem->empty()) writer.Finish(problem);
    pack.Abandon();
    return false;
  }
  if (std::rename((file + ".new").c_str(), file.c_str()) != 0) {
    *problem = file + ": " + std::strerror(errno);
    std::remove((file + ".new").c_str());
    pack.Abandon();
    return false;
  }
  std::set<uint32_t> packs;
  for (const CorpusDocument& d : writer.documentList()) packs.insert(d.textPack);
  texts.RemovePacksBut(packs);
  say("Corpus " + name + ": " + std::to_string(writer.documents()) + " documents (" +
      std::to_string(scanned) + " scanned, " + std::to_string(kept) + " kept).");
  return true;
}

}  // namespace

bool UpdateCorpus(Program& p, const std::string& name, const CorpusUpdate& update,
                  std::string* problem) {
  CorpusIndex old;
  const bool hasOld = !update.fresh && FileExists(CorpusIndexFileOf(name));
  if (hasOld && !LoadCorpus(name, &old, problem)) return false;
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> metadata;
  if (!update.metadataFile.empty() &&
      !ReadCorpusMetadata(update.metadataFile, &metadata, problem)) {
    return false;
  }
  // The documents in their order: the old ones still wanted, then the new ones.
  const std::set<std::string> removed(update.remove.begin(), update.remove.end());
  std::vector<Planned> plan;
  std::set<std::string> listed;
  for (size_t i = 0; i < old.documents().size(); ++i) {
    const CorpusDocument& d = old.documents()[i];
    if (removed.contains(d.path) || !listed.insert(d.path).second) continue;
    Planned entry;
    entry.document.path = d.path;
    entry.document.digest = d.digest;
    entry.document.metadata = d.metadata;
    entry.document.size = d.size;
    entry.document.modified = d.modified;
    entry.old = static_cast<int64_t>(i);
    plan.push_back(std::move(entry));
  }
  for (const std::string& path : update.add) {
    if (!listed.insert(path).second) continue;
    Planned entry;
    entry.document.path = path;
    plan.push_back(std::move(entry));
  }
  if (plan.empty()) {
    *problem = "The corpus would hold no document.";
    return false;
  }
  bool unicode = p.frmParams.strWordRules == "unicode";
  for (Planned& e : plan) {
    const FileStamp stamp = StampOf(e.document.path);
    if (stamp.size < 0) {
      *problem = e.document.path + ": Input file does not exist.";
      return false;
    }
    if (e.old >= 0) {
      e.same = e.document.size == stamp.size && e.document.modified == stamp.modified;
      if (!e.same) {
        int32_t err = 0;
        std::string errText;
        const std::string digest = FileMD5(e.document.path, err, errText);
        e.same = digest == e.document.digest;
        e.document.digest = digest;
      }
      if (e.same) unicode = unicode || old.rules() == WordRuleSet::kUnicode;
    }
    e.document.size = stamp.size;
    e.document.modified = stamp.modified;
    const auto meta = metadata.find(e.document.path);
    const auto metaByName = metadata.find(FileNameOf(e.document.path));
    if (meta != metadata.end())
      e.document.metadata = meta->second;
    else if (metaByName != metadata.end())
      e.document.metadata = metaByName->second;
  }
  if (!MakeFolders(CorpusFolderOf(name))) {
    *problem = CorpusFolderOf(name) + ": the folder cannot be made";
    return false;
  }
  // One rule set for all: when a document needs the Unicode rules, the corpus is
  // written again under them (unless the options hold to Windows-1252).
  const bool forced = p.frmParams.strWordRules == "windows-1252";
  WordRuleSet rules = WordRuleSetOf(unicode && !forced);
  bool needsUnicode = false;
  if (WriteCorpus(p, name, update, plan, hasOld ? &old : nullptr, rules, update.fresh,
                  &needsUnicode, problem))
    return true;
  if (!needsUnicode) return false;
  if (update.say)
    update.say("A document needs the Unicode rules: every document is scanned under them.");
  rules = WordRuleSet::kUnicode;
  return WriteCorpus(p, name, update, plan, hasOld ? &old : nullptr, rules, true, &needsUnicode,
                     problem);
}

bool CountDocumentWords(Program& p, const std::string& path, WordRuleSet rules,
                        std::unordered_map<std::string, uint64_t>* counts, uint64_t* total) {
  const std::string before = std::exchange(
      p.frmParams.strWordRules, rules == WordRuleSet::kUnicode ? "unicode" : "windows-1252");
  ScannedDocument scan;
  const bool ok = ScanDocument(p, path, &scan);
  p.frmParams.strWordRules = before;
  if (!ok) return false;
  *total = 0;
  for (const auto& [word, tokens] : scan.words) {
    (*counts)[word] += tokens.size();
    *total += tokens.size();
  }
  return true;
}

bool OpenCorpusText(const std::string& name, const CorpusDocument& document, KeptText* text,
                    std::string* problem) {
  return text->Open(DocumentTexts(CorpusFolderOf(name)),
                    TextPlace{document.textPack, document.textOffset}, problem);
}

void LoadCorpusTable(Program& p, const CorpusIndex& index, const std::vector<uint32_t>& frequency) {
  StartWordTable(p);
  const auto& words = index.words();
  p.arrWords.resize(1);
  p.arrWords.reserve(words.size() + 1);
  for (size_t i = 0; i < words.size(); ++i) {
    if (frequency[i] == 0) continue;
    WordRecord& r = p.arrWords.emplace_back();
    r.strWord = words[i].word;
    r.strSortKey = SortKeyIn(index.rules() == WordRuleSet::kUnicode, r.strWord);
    r.blnIncluded = true;
    r.lngFrequency = static_cast<int32_t>(std::min<uint32_t>(frequency[i], INT32_MAX));
  }
  p.lngNumWords = static_cast<int32_t>(p.arrWords.size() - 1);
  p.wordRules = index.rules();
  p.blnIndexFileCurrent = false;
  p.blnWordsGot = true;
}

}  // namespace quillmoor
