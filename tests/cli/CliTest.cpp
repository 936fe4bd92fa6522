// End-to-end runs of quillmoor-cli on real files: what the command line adds to the
// core (options, the question policy, standard output, exit status).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "cli/Cli.h"
#include "cli/Terminal.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "support/TestFiles.h"
#include "support/Text.h"
#include "support/ZipFiles.h"
#include "ui/Concordance.h"
#include "ui/Defaults.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using testing::Has;
using testing::ReadWholeFile;
using testing::TempDir;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a shell command with its standard output and error captured.
CliRun Shell(const std::string& command) {
  TempDir dir;
  const std::string out = dir.path() + "/out", err = dir.path() + "/err";
  const int raw = std::system(("( " + command + " ) >" + Quote(out) + " 2>" + Quote(err)).c_str());
  return CliRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out), ReadWholeFile(err)};
}

const std::string kCli = "LC_ALL=C " + Quote(QUILLMOOR_CLI_PATH) + " ";

CliRun Cli(const std::string& args) { return Shell(kCli + args + " </dev/null"); }

std::string Data(const std::string& name) {
  return Quote(std::string(QUILLMOOR_TEST_DATA) + "/" + name);
}

// A concordance below its header.
std::string Listing(const std::string& out) { return out.substr(out.find("\n\n")); }

// An output file without what changes from run to run: its first line (the input's
// path) and the date. `eol` is the file's line end.
std::string Stable(const std::string& file, const std::string& eol = "\r\n") {
  std::string rest = file.substr(file.find(eol) + eol.size());
  size_t date = rest.find("): ");
  return rest.substr(0, date + 3) + rest.substr(rest.find(eol, date));
}

// The golden files are Windows-1252 with CR LF, what --windows-text writes; by default
// the same text comes as UTF-8 with LF line ends.
void ExpectGolden(const std::string& golden, const std::string& args) {
  const std::string expected =
      ReadWholeFile(std::string(QUILLMOOR_TEST_DATA) + "/golden/" + golden);
  CliRun windows = Cli("--windows-text " + args);
  ASSERT_EQ(windows.status, 0) << golden << windows.err;
  EXPECT_EQ(Stable(windows.out), expected) << golden;
  CliRun run = Cli(args);
  ASSERT_EQ(run.status, 0) << golden << run.err;
  EXPECT_EQ(Stable(run.out, "\n"), ReplaceAll(Cp1252ToUtf8(expected), "\r\n", "\n")) << golden;
}

TEST(CliReadTest, DocumentTextRefusalsAndUsage) {
  CliRun ansi = Cli("read " + Data("ansi.txt"));
  EXPECT_EQ(ansi.status, 0);
  EXPECT_EQ(
      ansi.out,
      "The first line. / The second line, with \xE2\x80\x9Cquotes\xE2\x80\x9D and caf\xC3\xA9.\n");
  EXPECT_TRUE(ansi.err.ends_with("\nReading the input file ...\nConverting UTF-8 ...\n"))
      << ansi.err;
  EXPECT_EQ(Cli("read " + Data("utf16.txt")).out, "Hi\n");  // converted from UTF-16
  EXPECT_EQ(Cli("read " + Data("page.html")).out,
            "   T      Fish & chips for \xC3\x89mile &euro;5    end   \n");
  for (const auto& [file, message] :
       {std::pair<const char*, const char*>{"letter.txt", "is an RTF file."},
        {"missing.txt", "missing.txt: Input file does not exist."}}) {
    CliRun run = Cli("read " + Data(file));
    EXPECT_EQ(run.status, 1) << file;
    EXPECT_EQ(run.out, "") << file;
    EXPECT_TRUE(Has(run.err, message)) << file << ": " << run.err;
  }
  // A usage error: what is wrong, on one line, and where help is.
  for (const auto& [args, what] : std::vector<std::pair<const char*, const char*>>{
           {"", "no input file given"},
           {"read", "no input file given"},
           {"read a b", "more than one input file given"},
           {"read --yes --no x", "--yes and --no cannot be given together"},
           {"read --colour x", "unknown option '--colour'"},
           {"-x a", "unknown option '-x'"},
           {"--context=10 x", "--context takes a whole number from 0 to 9, not '10'"},
           {"wordlist -m 1 x", "-m takes a whole number from 2 to 20, not '1'"},
           {"--order size x", "--order takes alpha or freq, not 'size'"},
           {"--output", "option '--output' needs a value"},
           {"--quiet=yes x", "option '--quiet' takes no value"},
           {"create --keywords love x",
            "create does not take --keywords (an option of search, kwic, collocates, ngrams or "
            "dispersion)"},
           {"kwic --sort R9 x",
            "--sort takes up to three of L5..L1, KW, R1..R5, POS separated by commas, not 'R9'"},
           {"read -qc3 x", "read does not take -c (an option of create or search)"},
           {"search --stop-words none x",
            "search does not take --stop-words (an option of wordlist, create, kwic, collocates, "
            "ngrams, dispersion or keywords)"},
           {"search x", "search needs --keywords or --keywords-file"},
           {"collocates x", "collocates needs --keywords or --keywords-file"},
           {"dispersion -k river --svg - x",
            "--svg needs a file name (the table goes to standard output)"},
           {"collocates -k river --window 0L,0R x",
            "--window takes the words on each side as in 5L,5R (0 to 20 each), not '0L,0R'"},
           {"collocates -k river --measure dice x",
            "--measure takes logdice, mi, t or ll, not 'dice'"},
           {"ngrams -n 7 x", "-n takes a whole number from 2 to 6, not '7'"},
           {"-q ngrams -n 3 x",
            "more than one input file given"},  // -n is --size only right after ngrams
           {"kwic --window 2L x", "kwic does not take --window (an option of collocates)"},
           {"--index -", "--index needs a named input file, not standard input"},
           {"--word-rules cp1250 x",
            "--word-rules takes automatic, unicode or windows-1252, not 'cp1250'"},
           {"--encoding FOO-9 x",
            "--encoding takes the name of an encoding, such as ISO-8859-2, KOI8-R or Shift_JIS, "
            "not 'FOO-9'"}}) {
    CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.err, std::string("quillmoor-cli: ") + what +
                           "\nTry 'quillmoor-cli --help' for more information.\n");
  }
  CliRun help = Cli("wordlist --help x");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: quillmoor-cli [COMMAND] [OPTIONS] FILE\n"));
  CliRun version = Cli("-V");
  EXPECT_EQ(version.out, std::string("quillmoor-cli (Quillmoor) ") + ProgramVersion() +
                             "\nThe files it writes are headed \"Quillmoor (V." + VersionText() +
                             ")\".\n"
                             "License GPLv3+: GNU GPL version 3 or later "
                             "<https://gnu.org/licenses/gpl.html>.\n"
                             "This is free software: you are free to change and redistribute it.\n"
                             "There is NO WARRANTY, to the extent permitted by law.\n");
}

TEST(CliReadTest, LineEndsAndEncodingsReadAlike) {
  // LF, CR LF and CR files of any size, and a UTF-8 and a Windows-1252 copy of a French
  // text, give one document text and one concordance, without a question.
  TempDir dir;
  std::string text;
  for (int i = 0; i < 6000; ++i)
    text += "Le c\xC5\x93ur de l'\xC3\xA9t\xC3\xA9 " + std::to_string(i % 7) + "\n";
  const std::string ansi = ReplaceAll(ReplaceAll(text, "\xC5\x93", "\x9C"), "\xC3\xA9", "\xE9");
  const std::vector<std::string> files = {dir.Write("lf.txt", text),
                                          dir.Write("crlf.txt", ReplaceAll(text, "\n", "\r\n")),
                                          dir.Write("cr.txt", ReplaceAll(text, "\n", "\r")),
                                          dir.Write("ansi.txt", ReplaceAll(ansi, "\n", "\r\n"))};
  const CliRun first = Cli("read " + Quote(files[0]));
  EXPECT_TRUE(first.out.starts_with("Le c\xC5\x93ur de l'\xC3\xA9t\xC3\xA9 0 / Le c"))
      << first.out.substr(0, 40);
  const std::string concordance = Listing(Cli("--output - " + Quote(files[0])).out);
  EXPECT_TRUE(concordance.starts_with("\n\n[c\xC5\x93ur 6000]\n...  Le c")) << concordance;
  for (const std::string& file : files) {
    const CliRun read = Cli("read " + Quote(file));
    EXPECT_TRUE(read.out == first.out) << file;
    EXPECT_FALSE(Has(read.err, "?")) << read.err;  // no question, no notice
    EXPECT_TRUE(Listing(Cli("--output - " + Quote(file)).out) == concordance) << file;
  }
}

TEST(CliWordListTest, ListsTheWordsInTheChosenOrder) {
  TempDir dir;
  const std::string path = Quote(dir.Write("doc.txt",
                                           "The cats and the dogs. The well-known 4x4 cat.\r\n"
                                           "Caf\xE9 and cafe and CAFE, ZEBRA zebra.\r\n"));
  CliRun alpha = Cli("wordlist --stop-words none " + path);
  // "caf\xE9" and "cafe" share a key; the table's quicksort puts them in this order.
  EXPECT_EQ(alpha.out,
            "and\t3\ncaf\xC3\xA9\t1\ncafe\t2\ncat\t2\ndog\t1\nknown\t1\nthe\t3\n"
            "well\t1\nwell-known\t1\nzebra\t2\n");
  EXPECT_TRUE(alpha.err.ends_with("Words: 10\nOccurrences: 17\n")) << alpha.err;
  EXPECT_FALSE(Has(alpha.err, "stop words loaded")) << alpha.err;  // no list is read first
  EXPECT_EQ(Cli("wordlist --order freq --no-hyphens --numerals --stop-words none " + path).out,
            "and\t3\nthe\t3\ncafe\t2\ncat\t2\nzebra\t2\n4x4\t1\ncaf\xC3\xA9\t1\ndog\t1\nknown\t1\nw"
            "ell\t1\n");
  EXPECT_EQ(Cli("wordlist --extra-stop-words 'Zebra, DOG' " + path).out,
            "caf\xC3\xA9\t1\ncafe\t2\ncat\t2\nknown\t1\nwell-known\t1\n");
}

TEST(CliWordListTest, CtrlCPressesStop) {
  CliHost host(std::tmpfile());
  Program p(host);
  ASSERT_TRUE(p.texts.LoadProgramText(host, QUILLMOOR_DATA_DIR));
  FillLists(p);
  InitializeVariables(p);
  p.blnStartUpCompleted = true;
  p.frmMain.txbFile[0].text = std::string(QUILLMOOR_TEST_DATA) + "/ansi.txt";
  CliHost::CatchInterrupts();
  host.set_on_interrupt([&p, &host] { PressStopFromTerminal(p, host); });
  std::raise(SIGINT);  // reaches the run at its first chance to look, while reading
  const CliOptions options;
  Terminal terminal;
  CommandRun run{p, host, options, terminal};
  EXPECT_EQ(RunWordList(run), kExitRefused);
  EXPECT_EQ(p.frmMain.txbOutput.text, "Stopped when reading file.");
  std::signal(SIGINT, SIG_DFL);
}

TEST(CliCreateTest, ConcordancesMatchTheGoldenFiles) {
  ExpectGolden("river.a5.txt", "--output - " + Data("river.txt"));
  ExpectGolden(
      "river.f2.txt",
      "--output - --order freq --context 2 --no-line-breaks --no-frequencies " + Data("river.txt"));
  ExpectGolden("river.a0.txt",
               "--output - --context 0 --stop-words none --numerals " + Data("river.txt"));
  ExpectGolden("riviere.a3.txt", "--output - --context 3 " + Data("riviere.html"));
  ExpectGolden("river.a9.txt",
               "--output - --context 9 --min-frequency 2 --extra-stop-words 'mill miller' " +
                   Data("river.txt"));
}

TEST(CliCreateTest, WritesBesideTheInputAndNeverReplacesUnasked) {
  TempDir dir;
  const std::string input = dir.Write("book", "The river ran past the old mill.\r\n");
  const std::string name = input + ".oxn.con_a5.txt";  // no extension: the whole suffix
  CliRun first = Cli(Quote(input));
  EXPECT_TRUE(Has(first.err, "Concordance file: " + name)) << first.err;
  EXPECT_TRUE(ReadWholeFile(name).starts_with("Input file: " + input +
                                              "\nMD5 message digest of input file: "));
  dir.Write("book.oxn.con_a5.txt", "keep me");
  CliRun again = Cli("create " + Quote(input));
  EXPECT_EQ(again.status, 1);
  EXPECT_TRUE(Has(again.err, "already exists.  Do you wish to overwrite it? [Yes/No] -> No"));
  EXPECT_EQ(Cli("--no " + Quote(input)).status, 1);  // keeps the existing file
  EXPECT_EQ(ReadWholeFile(name), "keep me");
  EXPECT_EQ(Cli("--overwrite " + Quote(input)).status, 0);
  EXPECT_NE(ReadWholeFile(name), "keep me");
  // A folder that does not exist: the file output error, and nothing claimed.
  CliRun bad = Cli("--output /nonexistent-folder/x.txt " + Quote(input));
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(Has(bad.err, "File output error: Error 76: Path not found")) << bad.err;
  EXPECT_FALSE(Has(bad.err, "Concordance file: "));
  // Only stop words: nothing is listed, nothing is written.
  CliRun empty = Cli(Quote(dir.Write("the.txt", "the and of\r\n")));
  EXPECT_EQ(empty.status, 0);
  EXPECT_TRUE(Has(empty.err, "No word is listed"));
}

TEST(CliSearchTest, SearchResultsMatchTheGoldenFiles) {
  ExpectGolden("river.search.a5.txt",
               "search --keywords 'riv* miller+said* ?at own*+cafe' " + Data("river.txt"));
  ExpectGolden("river.search.f0.txt", "search --order freq --context 0 --keywords-file " +
                                          Data("keywords.txt") + " " + Data("river.txt"));
  ExpectGolden("river.search.a2.txt",
               "search --context 2 --numerals --no-frequencies --keywords '18## the+bridge' "
               "--keywords-file " +
                   Data("keywords.txt") + " " + Data("river.txt"));
}

TEST(CliSearchTest, WritesOnlyTheResultsFileAndSaysWhyItRefuses) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "Love and death. Love is blind.\r\n");
  const std::string results = dir.path() + "/found.txt";
  CliRun run = Cli("search --keywords 'lov*' --output " + Quote(results) + " " + Quote(input));
  EXPECT_TRUE(Has(run.err, "Making the word table first")) << run.err;
  EXPECT_TRUE(Has(ReadWholeFile(results), "[love 2]\n... Love and death."));
  // The concordance made for the search is gone: nothing else beside the input.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  EXPECT_EQ(Cli("search --keywords blind --output " + Quote(results) + " " + Quote(input)).status,
            1);
  EXPECT_FALSE(Has(ReadWholeFile(results), "[blind"));  // kept unless replacing is allowed
  CliRun none = Cli("search --keywords zebra " + Quote(input));
  EXPECT_EQ(none.status, kExitNoMatch);
  EXPECT_TRUE(Has(none.err, "No result"));
  // A bad keyword is refused before anything is scanned.
  CliRun comma = Cli("search --keywords 'love,death' " + Quote(input));
  EXPECT_EQ(comma.status, 1);
  EXPECT_TRUE(
      Has(comma.err,
          "quillmoor-cli: --keywords: Invalid input: The extra keywords textbox contains an "
          "inadmissable character: ,\n"))
      << comma.err;
  EXPECT_FALSE(Has(comma.err, "Scanning the words"));
  EXPECT_EQ(ReadWholeFile(input), "Love and death. Love is blind.\r\n");
}

// A write that fails says why, exits non-zero and leaves the earlier file as it was.
TEST(CliFileSafetyTest, WriteFailuresAreReportedWithTheirCause) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Word" + std::to_string(i) + " and the river ran on.\n";
  const std::string input = dir.Write("book.txt", text);
  const std::string name = dir.Write("book.txt.oxn.con_a5.txt", "keep me");
  for (const char* command : {"wordlist", "create --output -", "search --keywords river"}) {
    CliRun full = Shell(kCli + command + " " + Quote(input) + " >/dev/full");
    EXPECT_EQ(full.status, 1) << command;
    EXPECT_TRUE(Has(full.err, "quillmoor-cli: standard output: Disk full")) << full.err;
  }
  // The file size limit ends the run; the scratch file goes with it. Started with the
  // signal ignored, the write fails and says so. (Standard error goes through a pipe:
  // the limit would cut a file short.)
  auto limited = [&](const std::string& setup) {
    return Shell("( " + setup + "ulimit -f 1; " + kCli + "create --overwrite " + Quote(input) +
                 "; echo \"exit $?\" ) 2>&1 | cat")
        .out;
  };
  const std::string killed = limited("");
  EXPECT_TRUE(
      killed.ends_with("quillmoor-cli: the file size limit was reached; the file being written was "
                       "removed\nexit 153\n"))
      << killed;
  const std::string ignored = limited("trap '' XFSZ; ");
  EXPECT_TRUE(Has(ignored, "File output error: Error 57: File too large\n")) << ignored;
  EXPECT_TRUE(ignored.ends_with("exit 1\n")) << ignored;
  EXPECT_EQ(ReadWholeFile(name), "keep me");
  // An output that cannot replace what is there (a folder) is an error, not a refusal.
  std::filesystem::create_directories(dir.path() + "/out.txt/sub");
  CliRun folder =
      Cli("create --overwrite --output " + Quote(dir.path() + "/out.txt") + " " + Quote(input));
  EXPECT_EQ(folder.status, 1);
  EXPECT_TRUE(Has(folder.err, "File output error: Error 75: Path/File access error")) << folder.err;
  EXPECT_FALSE(Has(folder.err, "was not replaced")) << folder.err;
  // So is an index that cannot be written, after the concordance was.
  std::filesystem::create_directories(dir.path() + "/book.oxn.ndx/sub");
  CliRun index = Cli("create --overwrite --index " + Quote(input));
  EXPECT_EQ(index.status, 1);
  EXPECT_TRUE(
      Has(index.err, "the index file " + dir.path() + "/book.oxn.ndx could not be written: "))
      << index.err;
  EXPECT_NE(ReadWholeFile(name), "keep me");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

// An output that is the input, by its name or through a link, is refused before the
// run; so is one of the program's own files as input.
TEST(CliFileSafetyTest, TheInputIsNeverAnOutput) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "Love and death. Love is blind.\r\n");
  std::filesystem::create_symlink(input, dir.path() + "/link.txt");
  for (const char* command : {"search --keywords love", "create --overwrite", "create --yes"}) {
    for (const std::string& output : {input, dir.path() + "/link.txt"}) {
      CliRun same = Cli(std::string(command) + " --output " + Quote(output) + " " + Quote(input));
      EXPECT_EQ(same.status, 2) << command;
      EXPECT_TRUE(Has(same.err, ": is the input file; name another output file")) << same.err;
    }
  }
  EXPECT_EQ(ReadWholeFile(input), "Love and death. Love is blind.\r\n");
  for (const auto& [name, why] :
       {std::pair<std::string, std::string>{"x.OXN.NDX", "This is an OXN index file."},
        {"doc.txt.oxn.con_f3.txt", "This is an OXN concordance file."}}) {
    CliRun own = Cli("create " + Quote(dir.Write(name, "Love and death.\n")));
    EXPECT_EQ(own.status, 1);
    EXPECT_TRUE(Has(own.err, name + ": " + why)) << own.err;
  }
}

TEST(CliFileSafetyTest, APipeIsWrittenIntoNotReplaced) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "Love and death. Love is blind.\n");
  const std::string pipe = dir.path() + "/pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string command : {"wordlist -f -o", "create -f -o", "dispersion -k love --svg"}) {
    // Open for reading first (without waiting for a writer); the outputs fit the
    // pipe's buffer, so they are read after the run.
    const int fd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    const CliRun run = Cli(command + " " + Quote(pipe) + " " + Quote(input));
    EXPECT_EQ(run.status, 0) << command << run.err;
    std::string got;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
      got.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    struct stat st;
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << command;
    EXPECT_TRUE(Has(got, "love")) << command << got;
  }
}

// Standard input, --quiet, the silent window-only questions, messages that name
// their file, and wordlist --output.
TEST(CliConventionsTest, TheCommandLineBehavesAsATerminalToolShould) {
  TempDir dir, temp;
  const std::string input =
      dir.Write("book.txt", "The river ran past the old mill. The river ran on.\n");
  const std::string env = "TMPDIR=" + Quote(temp.path()) + " ";
  // "-" reads standard input; its concordance goes to standard output, and the copy
  // of the input is removed.
  const CliRun piped = Shell(env + kCli + "-q - <" + Quote(input));
  ASSERT_EQ(piped.status, 0);
  EXPECT_TRUE(
      piped.out.starts_with("Input file: (standard input)\nMD5 message digest of input file: "));
  EXPECT_TRUE(
      Has(piped.out, "\n[old 1]\n... The river ran past the old mill. The river ran on.\n"));
  EXPECT_EQ(piped.err, "");  // --quiet: nothing but errors
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
  // Questions that concern only the window are not printed; a person's are.
  CliRun create = Cli(Quote(input));
  EXPECT_EQ(create.status, 0);
  EXPECT_FALSE(Has(create.err, "textbox")) << create.err;
  CliRun again = Cli(Quote(input));
  EXPECT_TRUE(
      Has(again.err,
          "\nquillmoor-cli: File exists: A concordance file " + input +
              ".oxn.con_a5.txt already exists.  Do you wish to overwrite it? [Yes/No] -> No\n"))
      << again.err;
  // Every message names the file it concerns.
  const std::string folder = dir.path() + "/texts";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(Cli(Quote(folder)).err, "quillmoor-cli: " + folder + ": is a folder, not a file\n");
  const std::string binary = dir.Write("words.bin", std::string("\0\1\2\3 stop words", 16));
  CliRun stop = Cli("-s " + Quote(binary) + " " + Quote(input));
  EXPECT_EQ(stop.status, 1);
  EXPECT_TRUE(Has(stop.err, binary)) << stop.err;
  // wordlist --output writes the list to a file and keeps an existing one unasked.
  const std::string list = dir.path() + "/words.txt";
  EXPECT_EQ(Cli("wordlist -q --output=" + Quote(list) + " " + Quote(input)).status, 0);
  EXPECT_EQ(ReadWholeFile(list), "old\t1\nran\t2\nriver\t2\n");
  CliRun kept = Cli("wordlist -o " + Quote(list) + " --order freq " + Quote(input));
  EXPECT_EQ(kept.status, 1);
  EXPECT_TRUE(Has(kept.err, "quillmoor-cli: " + list + " exists and was not replaced")) << kept.err;
  EXPECT_EQ(Cli("wordlist -qf -o " + Quote(list) + " --order freq " + Quote(input)).status, 0);
  EXPECT_TRUE(ReadWholeFile(list).starts_with("ran\t2\n"));
}

// A folder that cannot be written: the message says where the output can go.
TEST(CliConventionsTest, AnUnwritableFolderPointsToOutput) {
  TempDir dir;
  const std::string input = dir.Write("book.txt", "The river ran past the old mill.\n");
  testing::FaultyFileSystem fs;
  fs.writeFaults[dir.path() + "/"] =
      testing::FaultyFileSystem::WriteFault{{kErrPermissionDenied, "Permission denied"}};
  ScopedFileSystem scoped(&fs);
  ::testing::internal::CaptureStderr();
  const int status = RunCli({"create", "-q", input}, QUILLMOOR_DATA_DIR);
  const std::string err = ::testing::internal::GetCapturedStderr();
  std::signal(SIGINT, SIG_DFL);
  EXPECT_EQ(status, kExitRefused);
  EXPECT_TRUE(Has(err, "quillmoor-cli: " + input +
                           ".oxn.con_a5.txt: File output error: Error 70: Permission "
                           "denied\n"))
      << err;
  EXPECT_TRUE(Has(err, "quillmoor-cli: " + dir.path() +
                           " cannot be written: name another output file with "
                           "--output FILE, or --output - for standard output\n"))
      << err;
}

// The progress line: drawn on a terminal once a run has gone on for half a second,
// from the window's progress bar, and erased before any other text.
TEST(CliHostTest, TheProgressLineFollowsTheBar) {
  std::FILE* err = std::tmpfile();
  CliHost host(err);
  double now = 0;
  host.set_progress(true, [&now] { return now; });
  host.Refresh("txbOutput", "Reading the input file ...\r\nScanning the words ...\r\n");
  host.Refresh("lblTotalNumOccurrences", "[---->     ]");  // too early: nothing drawn
  now = 1.25;
  host.Refresh("lblTotalNumOccurrences", "[------->  ]");
  host.Refresh(
      "txbOutput",
      "Reading the input file ...\r\nScanning the words ...\r\nCounting the words ...\r\n");
  host.Refresh("lblTotalNumOccurrences", "[--------->]");
  host.EndProgressLine();
  std::rewind(err);
  std::string text;
  for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
  std::fclose(err);
  EXPECT_EQ(text,
            "Reading the input file ...\nScanning the words ...\n"
            "\rScanning the words 80% (1.2 s)\x1b[K\r\x1b[K"
            "Counting the words ...\n"
            "\rCounting the words 100% (1.2 s)\x1b[K\r\x1b[K");
}

// kwic on a web page: the contexts show the entities decoded, and the keywords stand
// where the scan found them, after an entity too.
TEST(CliKwicTest, AWebPagesLinesLineUpPastItsEntities) {
  TempDir dir;
  const std::string page = dir.Write(
      "page.html",
      "<p>He said &quot;river&quot; twice &amp; then &quot;river bank&quot; again.</p>\n");
  CliRun run = Cli("kwic -q -s none -w 1 --format tsv " + Quote(page));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\nsaid \"\triver\t\" twice\triver\t2\t1\t")) << run.out;
  EXPECT_TRUE(Has(run.out, "\nthen \"\triver\t bank\triver\t2\t1\t")) << run.out;
  EXPECT_EQ(Cli("kwic -q -k zebra " + Quote(page)).status, kExitNoMatch);
}

TEST(CliAnalysesTest, TheAnalysesTakeTheRunOptionsAndSayWhenNothingMatches) {
  const std::string river = Data("river.txt");
  const CliRun none = Cli("dispersion -k zebra " + river);
  EXPECT_EQ(none.status, kExitNoMatch);
  EXPECT_TRUE(Has(none.err, "no word of the input matches the keywords")) << none.err;
  // The analyses take the run's options: a stop word is a collocate only when no
  // stop-word list is loaded, and -m keeps the frequent.
  const CliRun withStops = Cli("collocates -q -s none -k river --format tsv " + river);
  const CliRun without = Cli("collocates -q -k river --format tsv " + river);
  ASSERT_EQ(withStops.status, 0) << withStops.err;
  EXPECT_TRUE(Has(withStops.out, "\nthe\t")) << withStops.out;
  EXPECT_FALSE(Has(without.out, "\nthe\t")) << without.out;
  const CliRun bigrams = Cli("ngrams -n 2 -m 2 -q --format csv " + river);
  ASSERT_EQ(bigrams.status, 0) << bigrams.err;
  EXPECT_TRUE(bigrams.out.starts_with("ngram,frequency,first_line,last_line\r\n")) << bigrams.out;
  size_t rows = 0;
  for (size_t at = bigrams.out.find("\r\n"); at + 2 < bigrams.out.size();
       at = bigrams.out.find("\r\n", at + 2)) {
    const size_t comma = bigrams.out.find(',', at);
    EXPECT_GE(std::stoi(bigrams.out.substr(comma + 1)), 2) << bigrams.out.substr(at, 40);
    ++rows;
  }
  EXPECT_GE(rows, 3u);
}

TEST(CliCreateTest, AnyFileNameServes) {
  // The program, its data files, the input, the keywords and stop-word files, the
  // settings file, the output and the temporary folder under Cyrillic and Greek names.
  TempDir dir;
  const std::string home =
      dir.path() + "/\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";
  const std::string prefix =
      dir.path() + "/\xCF\x80\xCF\x81\xCF\x8C\xCE\xB3\xCF\x81\xCE\xB1\xCE\xBC\xCE\xBC\xCE\xB1";
  std::filesystem::create_directories(home + "/tmp");
  std::filesystem::create_directories(prefix);
  const std::filesystem::path cli = QUILLMOOR_CLI_PATH;
  for (const auto& entry : std::filesystem::directory_iterator(cli.parent_path())) {
    std::filesystem::copy(entry.path(), prefix + "/" + entry.path().filename().string());
  }
  const std::string input = home + "/gpl-\xC3\xA9t\xC3\xA9.txt";
  dir.Write(input.substr(dir.path().size() + 1),
            "The river ran past the old mill.\nThe river ran on.\n");
  dir.Write(home.substr(dir.path().size() + 1) + "/\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xB0.txt",
            "past\n");
  auto run = [&](const std::string& args) {
    return Shell("TMPDIR=" + Quote(home + "/tmp") + " " + Quote(prefix + "/quillmoor-cli") + " " +
                 args);
  };
  const std::string words = Quote(home + "/\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xB0.txt");
  const CliRun create = run("--stop-words " + words + " --save-settings " +
                            Quote(home + "/\xD1\x8F.kvf") + " " + Quote(input));
  ASSERT_EQ(create.status, 0) << create.err;
  EXPECT_TRUE(Has(create.err, "One stop word loaded from " + Utf8Lower(home))) << create.err;
  const std::string concordance = ReadWholeFile(input + ".oxn.con_a5.txt");
  EXPECT_TRUE(concordance.starts_with("Input file: " + input + "\n")) << concordance;
  EXPECT_FALSE(Has(concordance, "[past"));
  EXPECT_TRUE(
      Has(concordance, "[old 1]\n... The river ran past the old mill. / The river ran on.\n"));
  EXPECT_EQ(run("wordlist --settings " + Quote(home + "/\xD1\x8F.kvf") + " " + Quote(input)).out,
            "old\t1\nran\t2\nriver\t2\nthe\t3\n");
  const CliRun search = run("search --keywords-file " + words + " " + Quote(input));
  EXPECT_TRUE(Has(search.out, "[past 1]")) << search.err;
  // A word-processor document is unpacked in the temporary folder (TMPDIR).
  std::filesystem::copy(std::string(QUILLMOOR_TEST_DATA) + "/heron.docx",
                        home + "/\xD1\x86\xD0\xB0\xD0\xBF\xD0\xBB\xD1\x8F.docx");
  const CliRun docx =
      run("wordlist " + Quote(home + "/\xD1\x86\xD0\xB0\xD0\xBF\xD0\xBB\xD1\x8F.docx"));
  EXPECT_EQ(docx.status, 0) << docx.err;
  EXPECT_TRUE(Has(docx.out, "heron\t"));
  EXPECT_TRUE(std::filesystem::is_empty(home + "/tmp"));
  // The file that is not there is named.
  EXPECT_TRUE(Has(run(Quote(home + "/\xD0\xBD\xD0\xB5\xD1\x82.txt")).err,
                  "\xD0\xBD\xD0\xB5\xD1\x82.txt: Input file does not exist."));
}

TEST(CliIndexTest, AnIndexWrittenByCreateServesLaterRuns) {
  TempDir dir;
  const std::string input =
      dir.Write("book.txt", "Love and death. Love is blind; the river runs.\r\n");
  const CliRun scanned = Cli("wordlist " + Quote(input));
  EXPECT_EQ(Cli("create --index " + Quote(input)).status, 0);
  const std::string index = dir.path() + "/book.oxn.ndx";
  ASSERT_TRUE(std::filesystem::exists(index));
  // Later runs take the word table from it (the question's default is Yes).
  CliRun list = Cli("wordlist " + Quote(input));
  EXPECT_TRUE(Has(list.err, "Index file found: ")) << list.err;
  EXPECT_FALSE(Has(list.err, "Scanning the words"));
  EXPECT_FALSE(Has(list.err, "Reading the input file"));  // a word list needs the table alone
  EXPECT_EQ(list.out, scanned.out);
  CliRun search = Cli("search --keywords 'lov*' " + Quote(input));
  EXPECT_TRUE(Has(search.err, "Using the index file " + index)) << search.err;
  EXPECT_TRUE(Has(search.out, "[love 2]"));
  // A settings file saved in Search mode (with extra keywords) does not make wordlist
  // search, although the index allows Search mode.
  const std::string kvf = dir.Write(
      "search.kvf", "\"" + input +
                        "\"\r\n\"\"\r\n\"\"\r\n0\r\n1\r\n\"\"\r\n0\r\n0\r\n"
                        "1\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n5\r\n\"\"\r\n\"love\"\r\n0\r\n");
  EXPECT_TRUE(Has(Cli("wordlist --settings " + Quote(kvf) + " " + Quote(input)).out, "river\t1\n"));
  EXPECT_FALSE(Has(Cli("read " + Quote(input)).err, "Index file found"));
  // --no declines it, and keeps it.
  EXPECT_TRUE(Has(Cli("--no wordlist " + Quote(input)).err, "Scanning the words"));
  EXPECT_TRUE(std::filesystem::exists(index));
}

TEST(CliUnicodeTest, EveryScriptIsReadListedIndexedAndOrdered) {
  TempDir dir;
  // Polish, Russian and Greek in UTF-8: the Unicode rules, every character kept.
  const std::string text =
      "J\xC4\x99zyk pow\xC5\x82oki, je\xC5\x9Bli j\xC4\x99zyka. "
      "\xD0\xB4\xD0\xBB\xD1\x8F \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\xD0\xB0 "
      "\xCE\x9F\xCE\x94\xCE\xA5\xCE\xA3\xCE\xA3\xCE\x95\xCE\xA5\xCE\xA3\n";
  const std::string input = Quote(dir.Write("pl.txt", text));
  const CliRun list = Cli("wordlist -s none " + input);
  EXPECT_EQ(list.out,
            "je\xC5\x9Bli\t1\nj\xC4\x99zyk\t1\nj\xC4\x99zyka\t1\npow\xC5\x82oki\t1\n"
            "\xCE\xBF\xCE\xB4\xCF\x85\xCF\x83\xCF\x83\xCE\xB5\xCF\x85\xCF\x82\t1\n"
            "\xD0\xB4\xD0\xBB\xD1\x8F\t1\n\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\xD0\xB0\t1\n");
  EXPECT_TRUE(Has(list.err, "Word rules: unicode.")) << list.err;
  EXPECT_TRUE(Has(Cli("kwic -k 'j?zyk*' " + input).out, "j\xC4\x99zyka")) << "wildcards";
  EXPECT_FALSE(Has(Cli("wordlist -s ru " + input).out, "\xD0\xB4\xD0\xBB\xD1\x8F\t"));
  EXPECT_TRUE(Has(Cli("wordlist --word-rules windows-1252 " + input).err,
                  "are not in the Windows-1252 character set"));
  // An index of its own kind serves the next run.
  EXPECT_EQ(Cli("create -s none --index " + input).status, 0);
  const CliRun indexed = Cli("wordlist -s none " + input);
  EXPECT_TRUE(Has(indexed.err, "Index file found: ")) << indexed.err;
  EXPECT_EQ(indexed.out, list.out);
  // Windows text marks what the code page lacks, and says how much.
  EXPECT_TRUE(Has(Cli("create -s none --windows-text --overwrite " + input).err,
                  "characters that Windows-1252 lacks written as \"?\"."));
  // A language's order; a legacy code page named, or hinted at.
  const std::string sv = Quote(dir.Write("sv.txt", "zebra \xC3\xA5ngest \xC3\xB6ra apa\n"));
  EXPECT_EQ(Cli("wordlist -s none " + sv).out,
            "\xC3\xA5ngest\t1\napa\t1\n\xC3\xB6ra\t1\nzebra\t1\n");
  EXPECT_EQ(Cli("wordlist -s none --sort-language sv " + sv).out,
            "apa\t1\nzebra\t1\n\xC3\xA5ngest\t1\n\xC3\xB6ra\t1\n");
  std::string koi8;
  for (int i = 0; i < 40; ++i)
    koi8 += "\xD7\xD9\xD7\xCF\xC4\xC9\xD4\xD8 \xC6\xC1\xCA\xCC\xD9 \xD0\xCF \xC9\xCD\xC5\xCE\xC9. ";
  const std::string russian = Quote(dir.Write("ru.txt", koi8));
  EXPECT_TRUE(Has(Cli("wordlist " + russian).err, "looks like KOI8-R")) << "hint";
  EXPECT_TRUE(Has(Cli("wordlist -s none --encoding KOI8-R " + russian).out,
                  "\xD0\xB2\xD1\x8B\xD0\xB2\xD0\xBE\xD0\xB4\xD0\xB8\xD1\x82\xD1\x8C\t40\n"));
}

TEST(CliDocxTest, AWordProcessorDocumentListsAsItsText) {
  // heron.docx was saved by a word processor from the text of heron.txt.
  CliRun docx = Cli("--output - --stop-words none " + Data("heron.docx"));
  ASSERT_EQ(docx.status, 0) << docx.err;
  CliRun text = Cli("--output - --stop-words none --no-line-breaks " + Data("heron.txt"));
  EXPECT_EQ(Listing(docx.out), Listing(text.out));
  EXPECT_TRUE(Has(
      docx.out,
      "[caf\xC3\xA9 1]\n... the village remembers. The miller's caf\xC3\xA9 by the old bridge"));
}

// The same Polish text as RTF (in Windows-1250), OpenDocument and EPUB: listed alike
// under the Unicode rules; an .odt that is no archive is refused.
TEST(CliDocumentsTest, TheWordProcessorsAndBooksListAsTheirText) {
  TempDir dir;
  const std::string words = "zielona \xC5\xBC\xC3\xB3\xC5\x82w";  // zielona żółw
  const std::string rtf = dir.Write("a.rtf",
                                    "{\\rtf1\\ansi\\ansicpg1250 Zielona \\'bf\\'f3\\'b3w\\par "
                                    "zielona \\u380?\\u243?\\u322?w}");
  const std::string odt = dir.path() + "/a.odt";
  testing::WriteZip(odt,
                    {{"content.xml", "<office:body><text:p>Zielona " + words.substr(8) +
                                         "</text:p><text:p>" + words + "</text:p></office:body>"}});
  const std::string epub = dir.path() + "/a.epub";
  testing::WriteZip(
      epub, {{"META-INF/container.xml", "<container><rootfile full-path='b.opf'/></container>"},
             {"b.opf",
              "<package><manifest><item id='c' href='c.xhtml' "
              "media-type='application/xhtml+xml'/></manifest><spine><itemref "
              "idref='c'/></spine></package>"},
             {"c.xhtml", "<html><body><p>Zielona &#380;&oacute;&#x142;w</p><p>" + words +
                             "</p></body></html>"}});
  for (const std::string& path : {rtf, odt, epub}) {
    CliRun run = Cli("wordlist --stop-words none " + Quote(path));
    EXPECT_EQ(run.status, 0) << path << run.err;
    EXPECT_EQ(run.out, "zielona\t2\n\xC5\xBC\xC3\xB3\xC5\x82w\t2\n") << path;
    EXPECT_TRUE(Has(run.err, "Word rules: unicode.")) << run.err;
  }
  CliRun text = Cli("read -q " + Quote(dir.Write("b.odt", "Not an archive.")));
  EXPECT_EQ(text.status, 1);
  EXPECT_TRUE(Has(text.err, "is not a readable OpenDocument text: ")) << text.err;
}

// A corpus of one document lists that document's words; of two, the sums, with the
// range; an update scans only what changed; keywords against a word list file.
TEST(CliCorpusTest, ACorpusListsTheSumOfItsDocuments) {
  TempDir dir;
  const std::string env = "XDG_DATA_HOME=" + Quote(dir.path() + "/data") + " ";
  const std::string a = dir.Write("a.txt", "The heron stood in the river. The heron flew.\r\n");
  const std::string b = dir.Write("b.txt", "A river ran past; the rivers ran.\r\n");
  ASSERT_EQ(Shell(env + kCli + "corpus index -q one " + Quote(a)).status, 0);
  const CliRun single = Cli("wordlist -q -s none --order freq " + Quote(a));
  CliRun one = Shell(env + kCli + "wordlist -q -s none --order freq --corpus one");
  ASSERT_EQ(one.status, 0) << one.err;
  std::string expected = "word\tfrequency\trange\tper_million\n";
  for (const auto& [word, count] : std::vector<std::pair<std::string, std::string>>{
           {"the", "3"}, {"heron", "2"}, {"flew", "1"}, {"river", "1"}, {"stood", "1"}}) {
    EXPECT_TRUE(Has(single.out, word + "\t" + count + "\n")) << single.out;
    // Per million of the document's 8 words.
    expected += word + "\t" + count + "\t1\t" + std::to_string(std::stoi(count) * 125000) + ".00\n";
  }
  EXPECT_EQ(one.out, expected);
  CliRun two = Shell(env + kCli + "corpus index two " + Quote(a) + " " + Quote(b));
  EXPECT_TRUE(Has(two.err, "2 documents (2 scanned, 0 kept)")) << two.err;
  CliRun list = Shell(env + kCli + "wordlist -q -s none --per-document --corpus two");
  // Of 14 words: "rivers" is "river".
  EXPECT_TRUE(Has(list.out, "\nriver\t3\t2\t214285.71\t1\t2\n")) << list.out;
  EXPECT_TRUE(Has(list.out, "\nthe\t4\t2\t285714.29\t3\t1\n")) << list.out;
  dir.Write("b.txt", "Herons ran.\r\n");
  CliRun update = Shell(env + kCli + "corpus add two");
  EXPECT_TRUE(Has(update.err, "2 documents (1 scanned, 1 kept)")) << update.err;
  EXPECT_TRUE(Has(Shell(env + kCli + "wordlist -q -s none --corpus two").out, "\nheron\t3\t2\t"));
  const std::string reference = dir.Write("ref.tsv", "word\tcount\nthe\t5000\nheron\t1\n");
  CliRun keywords =
      Shell(env + kCli + "keywords -q -s none --corpus two --reference " + Quote(reference));
  ASSERT_EQ(keywords.status, 0) << keywords.err;
  EXPECT_TRUE(keywords.out.starts_with("word\tfrequency\tper_million\trange\t")) << keywords.out;
  EXPECT_TRUE(Has(keywords.out, "\nheron\t3\t")) << keywords.out;
  EXPECT_FALSE(Has(keywords.out, "\nthe\t")) << keywords.out;
  // A document that needs the Unicode rules: every document is scanned under them.
  const std::string ru = dir.Write("ru.txt",
                                   "\xd0\xa6\xd0\xb0\xd0\xbf\xd0\xbb\xd1\x8f "
                                   "\xd1\x81\xd1\x82\xd0\xbe\xd1\x8f\xd0\xbb\xd0\xb0.\n");
  CliRun mixed = Shell(env + kCli + "corpus index mixed " + Quote(a) + " " + Quote(ru));
  ASSERT_EQ(mixed.status, 0) << mixed.err;
  EXPECT_TRUE(Has(mixed.err, "every document is scanned under them")) << mixed.err;
  EXPECT_TRUE(Has(Shell(env + kCli + "corpus info mixed").out, "word rules\tunicode\n"));
  EXPECT_TRUE(Has(Shell(env + kCli + "wordlist -q -s none --corpus mixed").out, "\nheron\t2\t1\t"));
  // The English document's kept text is the one scanned under them, not the first pass's.
  EXPECT_TRUE(Has(Shell(env + kCli + "kwic -q -s none -k stood --format tsv --corpus mixed").out,
                  "The heron \tstood\t in the river."));
  // A web page's lines: its character entities decoded, as a run of it shows them.
  const std::string page = dir.Write(
      "p.html", "<html><body><p>heron &amp; river, heron &amp; stone</p></body></html>\n");
  ASSERT_EQ(Shell(env + kCli + "corpus index -q web " + Quote(page)).status, 0);
  const CliRun web = Shell(env + kCli + "kwic -q -s none --format tsv -k heron --corpus web");
  EXPECT_TRUE(Has(web.out, "heron & river, \theron\t & stone")) << web.out;
  // The page's spellings, met first there, serve a plain document after it.
  const std::string later = dir.Write("later.txt", "Stone, heron and river.\n");
  ASSERT_EQ(Shell(env + kCli + "corpus index -q both " + Quote(page) + " " + Quote(later)).status,
            0);
  const CliRun both = Shell(env + kCli + "wordlist -q -s none --corpus both");
  EXPECT_TRUE(Has(both.out, "\nheron\t3\t2\t") && Has(both.out, "\nstone\t2\t2\t")) << both.out;
  // No such corpus; a damaged index.
  EXPECT_TRUE(Has(Shell(env + kCli + "wordlist --corpus none").err, "There is no corpus none"));
  dir.Write("data/quillmoor/corpora/one/corpus.qci", "Quillmoor corpus index\n\x05");
  EXPECT_TRUE(Has(Shell(env + kCli + "wordlist --corpus one").err,
                  "cannot be read: it was written in another version of the corpus index"));
}

// Kwic lines in TSV as "field|...|" lines, the frequency column (the document's, or the
// corpus's) left out, `document` appended when given.
std::string LineFields(const std::string& tsv, const std::string& document) {
  std::string out;
  for (std::string_view line : SplitLines(tsv)) {
    if (line.empty() || line.starts_with("left\t")) continue;
    std::vector<std::string> fields;
    for (size_t at = 0;;) {
      const size_t tab = line.find('\t', at);
      fields.emplace_back(line.substr(at, tab == std::string_view::npos ? tab : tab - at));
      if (tab == std::string_view::npos) break;
      at = tab + 1;
    }
    if (!document.empty()) fields.push_back(document);
    fields.erase(fields.begin() + 4);
    for (const std::string& f : fields) out += f + "|";
    out += "\n";
  }
  return out;
}

// Documents under the Unicode rules: a token of Han characters holds several words, and
// each line centres its own word, in the order of the document's lines.
TEST(CliCorpusTest, ACorpusOfChineseDocumentsCentresEachWord) {
  static const char* const kWords[] = {"审计文件", "文件", "如果文件不存在", "，", "。", "\n",
                                       "Река",     "реки", "wtmp文件",       "和", " "};
  TempDir dir;
  const std::string env = "XDG_DATA_HOME=" + Quote(dir.path() + "/data") + " ";
  std::mt19937 random(29);
  std::vector<std::string> docs;
  std::string expected;
  for (int d = 0; d < 2; ++d) {
    std::string text;
    for (int n = 0; n < 400; ++n) text += kWords[random() % std::size(kWords)];
    const std::string name = "z" + std::to_string(d) + ".txt";
    docs.push_back(dir.Write(name, text));
    expected +=
        LineFields(Cli("kwic -q -s none --sort POS --format tsv " + Quote(docs.back())).out, name);
  }
  ASSERT_EQ(
      Shell(env + kCli + "corpus index -q zh " + Quote(docs[0]) + " " + Quote(docs[1])).status, 0);
  const CliRun lines = Shell(env + kCli + "kwic -q -s none --sort POS --format tsv --corpus zh");
  ASSERT_EQ(lines.status, 0) << lines.err;
  EXPECT_NE(expected.find("|文件|"), std::string::npos) << expected;
  EXPECT_EQ(LineFields(lines.out, ""), expected);
}

// Random documents as a corpus: its lines are the union of theirs in document order,
// its word list their sum, its dispersion and subcorpora by document; a corpus of one
// document gives that document's collocates.
TEST(CliCorpusTest, ACorpusIsTheUnionOfItsDocuments) {
  static const char* const kWords[] = {"river", "Rivers", "heron", "the", "to-day", "well-known",
                                       "in",    "a",      "ran",   "--",  "1611",   "Heron's",
                                       "stood", "past",   ",",     ".",   "\r\n"};
  TempDir dir;
  const std::string env = "XDG_DATA_HOME=" + Quote(dir.path() + "/data") + " ";
  std::mt19937 random(30);
  std::vector<std::string> docs;
  std::string meta = "file\tyear\n";
  for (int d = 0; d < 3; ++d) {
    std::string text;
    for (int n = 0; n < 700; ++n) text += std::string(kWords[random() % std::size(kWords)]) + " ";
    const std::string name = "d" + std::to_string(d) + ".txt";
    docs.push_back(dir.Write(name, text));
    meta += name + "\t" + std::to_string(1900 + d) + "\n";
  }
  const std::string metadata = dir.Write("meta.tsv", meta);
  ASSERT_EQ(Shell(env + kCli + "corpus index -q three " + Quote(docs[0]) + " " + Quote(docs[1]) +
                  " " + Quote(docs[2]) + " --metadata " + Quote(metadata))
                .status,
            0);
  // The lines, in document order (POS), with the document in a last column.
  std::string expected;
  for (int d = 0; d < 3; ++d) {
    expected += LineFields(
        Cli("kwic -q -s none --sort POS --format tsv " + Quote(docs[static_cast<size_t>(d)])).out,
        "d" + std::to_string(d) + ".txt");
  }
  const CliRun lines = Shell(env + kCli + "kwic -q -s none --sort POS --format tsv --corpus three");
  ASSERT_EQ(lines.status, 0) << lines.err;
  EXPECT_EQ(LineFields(lines.out, ""), expected);
  // The word list: the sum of theirs.
  std::map<std::string, int> sum;
  for (const std::string& doc : docs) {
    const std::string list = Cli("wordlist -q -s none " + Quote(doc)).out;
    for (std::string_view line : SplitLines(list)) {
      const size_t tab = line.find('\t');
      if (tab != std::string_view::npos)
        sum[std::string(line.substr(0, tab))] +=
            std::atoi(std::string(line.substr(tab + 1)).c_str());
    }
  }
  std::map<std::string, int> listed;
  const std::string corpusList = Shell(env + kCli + "wordlist -q -s none --corpus three").out;
  for (std::string_view line : SplitLines(corpusList)) {
    const size_t tab = line.find('\t'), next = line.find('\t', tab + 1);
    if (tab != std::string_view::npos && !line.starts_with("word\t"))
      listed[std::string(line.substr(0, tab))] =
          std::atoi(std::string(line.substr(tab + 1, next - tab - 1)).c_str());
  }
  EXPECT_EQ(listed, sum);
  // A subcorpus: the lines of the documents it keeps.
  const CliRun later = Shell(
      env + kCli + "kwic -q -s none --sort POS --format tsv --corpus three --where 'year>=1901'");
  EXPECT_EQ(LineFields(later.out, ""), expected.substr(expected.rfind("d0.txt|\n") + 8));
  EXPECT_TRUE(Has(Shell(env + kCli + "kwic --corpus three --where 'year>3000'").err,
                  "No document of corpus three passes the filters."));
  EXPECT_TRUE(Has(Shell(env + kCli + "kwic --corpus three --where 'year'").err, "is not a filter"));
  // A search lists the word once, with the lines of all three documents.
  int herons = 0;
  for (const std::string& doc : docs) {
    const std::string found = Cli("search -q -k heron " + Quote(doc)).out;
    const size_t at = found.find("[heron ");
    ASSERT_NE(at, std::string::npos) << found;
    herons += std::atoi(found.c_str() + at + 7);
  }
  const CliRun search = Shell(env + kCli + "search -q --corpus three -k heron");
  ASSERT_EQ(search.status, 0) << search.err;
  EXPECT_TRUE(Has(search.out, "\n[heron " + std::to_string(herons) + "]\n")) << search.out;
  int searched = 0;
  for (std::string_view line : SplitLines(search.out)) searched += line.starts_with("d") ? 1 : 0;
  EXPECT_EQ(searched, herons);
  EXPECT_TRUE(Has(Shell(env + kCli + "search --corpus three -K " + Quote(docs[0])).err,
                  "over a corpus, give --keywords"));
  // Dispersion over the three documents: "heron" is in all of them.
  const CliRun dp =
      Shell(env + kCli + "dispersion -q -s none --format tsv --corpus three -k heron");
  EXPECT_TRUE(Has(dp.out, "\nheron\t")) << dp.out;
  EXPECT_TRUE(Has(dp.out, "\t3\t3\t")) << dp.out;  // range, documents
  // One document's collocates.
  ASSERT_EQ(Shell(env + kCli + "corpus index -q one " + Quote(docs[1])).status, 0);
  for (const char* k : {"heron", "river"}) {
    EXPECT_EQ(Shell(env + kCli + "collocates -q --format tsv --corpus one -k " + k).out,
              Cli(std::string("collocates -q --format tsv -k ") + k + " " + Quote(docs[1])).out)
        << k;
  }
  // And its n-grams: the same, with ranges in place of lines.
  const auto firstTwo = [](const std::string& tsv) {
    std::string out;
    for (std::string_view line : SplitLines(tsv)) {
      const size_t tab = line.find('\t'), next = line.find('\t', tab + 1);
      if (tab != std::string_view::npos) out += std::string(line.substr(0, next)) + "\n";
    }
    return out;
  };
  const std::string grams = Shell(env + kCli + "ngrams -q -n 3 --format tsv --corpus one").out;
  EXPECT_GT(SplitLines(grams).size(), 20u);
  EXPECT_EQ(firstTwo(grams), firstTwo(Cli("ngrams -q -n 3 --format tsv " + Quote(docs[1])).out));
}

// The keyword column of kwic's TSV lines, "|" after each.
std::string Keywords(const std::string& tsv) {
  std::string out;
  for (std::string_view line : SplitLines(tsv)) {
    if (line.empty() || line.starts_with("left\t")) continue;
    const size_t tab = line.find('\t');
    out += std::string(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1)) + "|";
  }
  return out;
}

TEST(CliQueryTest, AQueryCentresItsWholeMatchInOneDocumentAndInACorpus) {
  TempDir dir;
  const std::string env = "XDG_DATA_HOME=" + Quote(dir.path() + "/data") + " ";
  const std::string river = Data("river.txt");
  ASSERT_EQ(Shell(env + kCli + "corpus index -q river " + river).status, 0);
  static const struct {
    const char* query;
    const char* options;
    const char* keywords;
  } kCases[] = {
      {"\"by the river\"", "", "by the river|by the river|"},  // "by" and "the" are words too
      {"\"the * mill\"", "", "the old mill|"},
      {"/mill(er)?/", "--sort R1", "mill|miller|miller|mill|mill|"},  // "." "s" "said"...
      {"/caf./", "", "Caf\xc3\xa9|cafe|"},
      {"/CAF./c", "", ""},
      {"\"the old\" FOLLOWED/3 mill", "", "the old|"},
      {"ran PRECEDED/2 river", "", "ran|ran|"},
      {"[word=\"and\"] []{1,2} [word=\"the\"]", "", "and brown -- and the|"},
      {"\"the river\"", "--case-sensitive",
       "the river|the river|the river|the river|the river|"
       "the river|"},
      {"/owner/", "--inside-words", "owners|owners|"},
  };
  for (const auto& c : kCases) {
    const std::string args = std::string("kwic -q -s none -w 1 --format tsv ") + c.options +
                             " -k " + Quote(c.query) + " ";
    const CliRun one = Cli(args + river);
    EXPECT_EQ(one.status, *c.keywords != 0 ? 0 : kExitNoMatch) << c.query << one.err;
    EXPECT_EQ(Keywords(one.out), c.keywords) << c.query;
    // Over a corpus of that document, the same lines with its name.
    const CliRun corpus = Shell(env + kCli + args + "--corpus river");
    EXPECT_EQ(LineFields(corpus.out, ""), LineFields(one.out, "river.txt")) << c.query;
  }
  // Collocates around the whole phrase, never inside it; the dispersion of each text.
  const CliRun collocates =
      Cli("collocates -q -s none --format tsv --window 1L,1R -k '\"the old\"' " + river);
  EXPECT_TRUE(Has(collocates.out, "\nriver\t3\t1\t2\t")) << collocates.out;
  EXPECT_FALSE(Has(collocates.out, "\nold\t")) << collocates.out;
  const CliRun dispersion = Cli("dispersion -q --format tsv -k '\"the old\" /mill/' " + river);
  EXPECT_TRUE(Has(dispersion.out, "\nthe old\t3\t") && Has(dispersion.out, "\nmill\t3\t"))
      << dispersion.out;
  const CliRun search = Cli("search -q -k '\"the old river\"' " + river);
  ASSERT_EQ(search.status, 0) << search.err;
  EXPECT_TRUE(
      Has(search.out,
          "\n\n[the old river 2]\n... the old mill stood, and the old river ran past the\n"))
      << search.out;
  // Refusals: where the query goes wrong, and what a corpus cannot answer.
  const std::string longWord = Quote(dir.Write("long.txt", std::string(40, 'a') + "\n"));
  const struct {
    std::string args;
    const char* message;
  } kRefused[] = {
      {"kwic -k '[lemma=\"go\"]' ",
       "The query cannot be read: at character 2, the attribute word (no other attribute is "
       "known) was expected.\n  [lemma=\"go\"]\n   ^\n"},
      {"kwic -k '\"the river' ", "at character 11, a closing '\"' was expected."},
      {"kwic -k '/(\\w+)+\\d/' " + longWord, "The query was stopped: at character 1"},
      {"ngrams -k '\"the river\"' ", "ngrams takes keywords, not a query"},
      {"kwic --within-line -k '\"the river\"' --corpus river", "holds no line breaks"},
      {"kwic -K x.txt --case-sensitive ", "--keywords-file holds keywords"},
  };
  for (const auto& r : kRefused) {
    const std::string file = Has(r.args, "--corpus") || Has(r.args, "long.txt") ? "" : river;
    const CliRun run = Shell(env + kCli + "-q " + r.args + file);
    EXPECT_EQ(run.status, kExitRefused) << r.args;
    EXPECT_TRUE(Has(run.err, r.message)) << r.args << run.err;
  }
}

TEST(CliSettingsTest, SettingsFilesAreLoadedAndWritten) {
  TempDir dir;
  const std::string input = Quote(dir.Write("doc.txt", "The rivers and the 4x4 rivers ran.\r\n"));
  const std::string kvf = Quote(dir.path() + "/run.kvf");
  CliRun save = Cli("wordlist --numerals --order freq --stop-words none --save-settings " + kvf +
                    " " + input);
  CliRun load = Cli("wordlist --settings " + kvf + " " + input);
  EXPECT_EQ(load.out, save.out);
  EXPECT_EQ(load.out, "river\t2\nthe\t2\n4x4\t1\nand\t1\nran\t1\n");
  // Options on the command line win, wherever they stand.
  EXPECT_FALSE(Has(Cli("wordlist --no-numerals " + input + " --settings " + kvf).out, "4x4\t"));
  CliRun bad = Cli("wordlist --settings " + Quote(dir.Write("bad.kvf", "\"x\"\r\n")) + " " + input);
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(Has(
      bad.err, "Load settings: Error when attempting to restore settings: Input past end of file"));
}

}  // namespace
}  // namespace quillmoor
