// What the command line's commands share: the subject of their messages, their
// temporary files, writing their output (to a file, asking before replacing one, or to
// standard output), the exit status of a file not written, and the keywords.
#ifndef QUILLMOOR_CLI_COMMANDSUPPORT_H_
#define QUILLMOOR_CLI_COMMANDSUPPORT_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Terminal.h"
#include "explore/KwicRows.h"
#include "query/Evaluate.h"
#include "shared/FileSystem.h"
#include "shared/ScratchFile.h"
#include "ui/QuerySearch.h"

namespace quillmoor {

// Messages shown while this object lives concern the file `shown` (at `path`).
class Concerning {
 public:
  Concerning(CliHost& host, const std::string& shown, const std::string& path)
      : host_(host), shown_(host.subject()), path_(host.subject_path()) {
    host.set_subject(shown, path);
  }
  ~Concerning() { host_.set_subject(shown_, path_); }
  Concerning(const Concerning&) = delete;
  Concerning& operator=(const Concerning&) = delete;

 private:
  CliHost& host_;
  const std::string shown_, path_;
};

// A new empty file in the temporary folder, removed when the run ends (or a signal
// ends it); null when none could be made (after a message).
std::unique_ptr<ScratchFile> TemporaryFile(Terminal& terminal, const char* what);
// Copies the file at `path` to standard output; with `inputShown`, its header names
// the input so.
int CopyToStdout(Terminal& terminal, const std::string& path, const std::string& inputShown = "");
// After a write refused by the folder (no permission, a read-only file system): where
// the output can go instead ("" for another failure).
std::string WhereToWrite(const std::string& file, const FileError& error);
// The exit status of a run that wrote no file: a failed write was told by its message
// box; a file kept because the overwrite question was answered No is said here.
int NotWritten(Terminal& terminal, const Program& p, const std::string& file);
// After a run with --index: an index that could not be written is an error.
int IndexWritten(Terminal& terminal, const Program& p, int status);

using Producer = std::function<void(const PieceWriter&)>;
// Writes what `produce` gives to the file `target` names (asking before replacing one,
// as a run does), or to standard output when it is "" or "-". `kind` names the file in
// the question and in the status line ("word list", "lines", "plot").
int WriteTo(CommandRun& run, const std::string& target, const std::string& kind,
            const Producer& produce);
// The same for the --output file.
int WriteOutput(CommandRun& run, const std::string& kind, const Producer& produce);

// The keywords are checked before anything is scanned: a bad one costs no
// concordance. False after the message.
bool KeywordsAreValid(CommandRun& run);
// The word table of a kwic or an analysis run, the display text its positions point
// into (p.strLine1), and the words asked about: those the keywords select (as a
// search, whatever the listing's filters), or the words the run lists. False after
// the message (refused or stopped).
bool TableToExplore(CommandRun& run, ExploreQuery* query, std::vector<int32_t>* words);
// The search options of the query language the command line gives.
QueryOptions QueryOptionsOf(const CliOptions& options);
// After TableToExplore, the matches of a query of the query language (--keywords) in the
// document the run read, and their table; false after the message.
bool QueryToExplore(CommandRun& run, DocumentMatches* matches);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_COMMANDSUPPORT_H_
