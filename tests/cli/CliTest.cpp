// End-to-end runs of quillmoor-cli on real files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <csignal>

#include "cli/Cli.h"
#include "settings/Defaults.h"
#include "shared/Program.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

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

CliRun RunCliProcess(const std::string& args) {
  TempDir dir;
  std::string out = dir.path() + "/out", err = dir.path() + "/err";
  std::string command = "LC_ALL=C " + Quote(QUILLMOOR_CLI_PATH) + " " + args + " >" + Quote(out) +
                        " 2>" + Quote(err) + " </dev/null";
  int raw = std::system(command.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadWholeFile(out);
  run.err = ReadWholeFile(err);
  return run;
}

std::string Data(const std::string& name) { return Quote(std::string(QUILLMOOR_TEST_DATA) + "/" + name); }

TEST(CliReadTest, PrintsTheDocumentTextInUtf8) {
  CliRun ansi = RunCliProcess("read " + Data("ansi.txt"));
  EXPECT_EQ(ansi.status, 0);
  EXPECT_EQ(ansi.out,
            "The first line. / The second line, with \xE2\x80\x9Cquotes\xE2\x80\x9D and caf\xC3\xA9.\n");
  // Start-up loads the English stop words, then the input is read.
  EXPECT_NE(ansi.err.find("stop words loaded from "), std::string::npos);
  EXPECT_TRUE(ansi.err.ends_with("\nReading the input file ...\nConverting UTF-8 ...\n")) << ansi.err;

  // A UTF-8 file named like a typed path checks the UTF-8 box, so no question comes.
  CliRun utf8 = RunCliProcess("read " + Data("utf8.txt"));
  EXPECT_EQ(utf8.status, 0);
  EXPECT_EQ(utf8.out, "\xC3\xAF\xC2\xBB\xC2\xBFNa\xC3\xAFve caf\xC3\xA9  --  \"quoted\".\n");
  EXPECT_EQ(utf8.err.find("UTF-8 or ANSI"), std::string::npos);
}

TEST(CliReadTest, HtmlLosesItsTagsAndKnownEntities) {
  CliRun run = RunCliProcess("read " + Data("page.html"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "   T      Fish & chips for \xC3\x89mile &euro;5    end   \n");
  EXPECT_NE(run.err.find("File read successfully.  Now removing tags ..."), std::string::npos);
}

TEST(CliReadTest, RefusedFilesExitWithOneAndSayWhy) {
  struct Case {
    const char* file;
    const char* message;
  };
  for (const Case& c : {Case{"letter.txt", "is an RTF file."},
                        Case{"utf16.txt", "is a Unicode file but not UTF-8 encoded."},
                        Case{"tiny.txt", "contains only from 1 to 4 bytes."},
                        Case{"empty.txt", "Empty file: Input file is zero-length."},
                        Case{"missing.txt", "File not found: Input file does not exist."}}) {
    CliRun run = RunCliProcess("read " + Data(c.file));
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_EQ(run.out, "") << c.file;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.file << ": " << run.err;
  }
  // The refusal is printed once although the file is checked twice.
  CliRun rtf = RunCliProcess("read " + Data("letter.txt"));
  EXPECT_EQ(rtf.err.find("RTF"), rtf.err.rfind("RTF"));
}

TEST(CliReadTest, QuestionsFollowTheAnswerPolicy) {
  TempDir dir;
  std::string text(300000, 'a');
  for (size_t i = 70; i < text.size(); i += 71) text[i] = '\n';
  std::string path = dir.Write("unix.txt", text);
  // The default button of "continue processing?" is No.
  CliRun no = RunCliProcess("read " + Quote(path));
  EXPECT_EQ(no.status, 1);
  EXPECT_NE(no.err.find("Do you wish to continue processing this file? [Yes/No] -> No"),
            std::string::npos);
  EXPECT_NE(no.err.find("Operation canceled."), std::string::npos);
  CliRun yes = RunCliProcess("--yes read " + Quote(path));
  EXPECT_EQ(yes.status, 0);
  EXPECT_EQ(yes.out.size(), text.size() + 1);  // LF stays inside the one long line
  // An ANSI file read with the box checked would be asked about; --no is not needed
  // here, but it is accepted before or after the file.
  EXPECT_EQ(RunCliProcess("read " + Data("ansi.txt") + " --no").status, 0);
}

TEST(CliReadTest, UsageErrorsExitWithTwo) {
  for (const char* args : {"", "read", "frobnicate x", "read a b", "read --yes --no x",
                           "read --colour x", "a b"}) {
    CliRun run = RunCliProcess(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("usage: quillmoor-cli"), std::string::npos) << args;
  }
  EXPECT_EQ(RunCliProcess("--help").status, 0);
}

TEST(CliReadTest, MissingProgramTextEndsTheProgramWithItsMessage) {
  TempDir dir;
  std::string copy = dir.path() + "/quillmoor-cli";
  ASSERT_EQ(std::system(("cp " + Quote(QUILLMOOR_CLI_PATH) + " " + Quote(copy)).c_str()), 0);
  std::string err = dir.path() + "/err";
  int raw = std::system((Quote(copy) + " read " + Data("ansi.txt") + " >/dev/null 2>" +
                         Quote(err)).c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(ReadWholeFile(err), "Cannot open file containing program text.\n" + dir.path() +
                                    "/quillmoor.dat\n");
}

TEST(CliWordListTest, ListsTheWordsInTheChosenOrder) {
  TempDir dir;
  std::string path = dir.Write("doc.txt",
                               "The cats and the dogs. The well-known 4x4 cat.\r\n"
                               "Caf\xE9 and cafe and CAFE, ZEBRA zebra.\r\n");
  CliRun alpha = RunCliProcess("wordlist --stop-words none " + Quote(path));
  EXPECT_EQ(alpha.status, 0);
  // "caf\xE9" and "cafe" share a key; the table's quicksort puts them in this order.
  EXPECT_EQ(alpha.out, "and\t3\ncaf\xC3\xA9\t1\ncafe\t2\ncat\t2\ndog\t1\nknown\t1\nthe\t3\n"
                       "well\t1\nwell-known\t1\nzebra\t2\n");
  EXPECT_NE(alpha.err.find("Scanning the words ...\n"), std::string::npos);
  EXPECT_TRUE(alpha.err.ends_with("Words: 10\nOccurrences: 17\n")) << alpha.err;

  CliRun freq = RunCliProcess("wordlist --order freq --no-hyphens --numerals --stop-words none " +
                              Quote(path));
  EXPECT_EQ(freq.status, 0);
  EXPECT_EQ(freq.out, "and\t3\nthe\t3\ncafe\t2\ncat\t2\nzebra\t2\n4x4\t1\ncaf\xC3\xA9\t1\n"
                      "dog\t1\nknown\t1\nwell\t1\n");

  CliRun frequent = RunCliProcess("wordlist --min-frequency 3 --stop-words none " + Quote(path));
  EXPECT_EQ(frequent.out, "and\t3\nthe\t3\n");
  // The English stop words of a fresh start leave out "and", "the" and "well".
  CliRun english = RunCliProcess("wordlist " + Quote(path));
  EXPECT_EQ(english.out, "caf\xC3\xA9\t1\ncafe\t2\ncat\t2\ndog\t1\nknown\t1\nwell-known\t1\nzebra\t2\n");
  CliRun extra = RunCliProcess("wordlist --extra-stop-words 'Zebra, DOG' " + Quote(path));
  EXPECT_EQ(extra.out, "caf\xC3\xA9\t1\ncafe\t2\ncat\t2\nknown\t1\nwell-known\t1\n");
}

TEST(CliWordListTest, RefusalsAndBadOptions) {
  CliRun rtf = RunCliProcess("wordlist " + Data("letter.txt"));
  EXPECT_EQ(rtf.status, 1);
  EXPECT_EQ(rtf.out, "");
  CliRun none = RunCliProcess("wordlist " + Data("missing.txt"));
  EXPECT_EQ(none.status, 1);
  for (const char* args : {"wordlist --min-frequency 1 x", "wordlist --min-frequency 21 x",
                           "wordlist --min-frequency two x", "wordlist --order size x",
                           "wordlist --order"}) {
    CliRun run = RunCliProcess(args);
    EXPECT_EQ(run.status, 2) << args;
  }
  EXPECT_NE(RunCliProcess("wordlist --min-frequency 1 x").err.find(
                "--min-frequency takes a whole number from 2 to 20, not '1'"),
            std::string::npos);
  // A document without words lists nothing.
  TempDir dir;
  CliRun empty = RunCliProcess("wordlist " + Quote(dir.Write("e.txt", "... !!! 123\r\n")));
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_TRUE(empty.err.ends_with("Words: 0\n"));
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
  EXPECT_EQ(RunWordList(p), kExitRefused);
  EXPECT_EQ(p.frmMain.txbOutput.text, "Stopped when reading file.");
  std::signal(SIGINT, SIG_DFL);
}

// The concordance file without what changes from run to run: its first line (the
// input's path) and the date of the third.
std::string Stable(const std::string& file) {
  std::string rest = file.substr(file.find("\r\n") + 2);
  size_t date = rest.find("): ");
  size_t end = rest.find("\r\n", date);
  return rest.substr(0, date + 3) + rest.substr(end);
}

TEST(CliCreateTest, ConcordancesMatchTheGoldenFiles) {
  struct Case {
    const char* golden;
    std::string args;
  };
  const std::vector<Case> cases = {
      {"river.a5.txt", Data("river.txt")},
      {"river.f2.txt", "--order freq --context 2 --no-line-breaks --no-frequencies " + Data("river.txt")},
      {"river.a0.txt", "--context 0 --stop-words none --numerals " + Data("river.txt")},
      {"riviere.a3.txt", "--context 3 " + Data("riviere.html")},
      {"river.a9.txt", "--context 9 --min-frequency 2 --extra-stop-words 'mill miller' " + Data("river.txt")},
  };
  for (const Case& c : cases) {
    CliRun run = RunCliProcess("--output - " + c.args);
    ASSERT_EQ(run.status, 0) << c.golden << run.err;
    EXPECT_EQ(Stable(run.out), ReadWholeFile(std::string(QUILLMOOR_TEST_DATA) + "/golden/" + c.golden))
        << c.golden;
  }
}

TEST(CliCreateTest, WritesBesideTheInputAndNeverReplacesUnasked) {
  TempDir dir;
  const std::string input = dir.Write("book", "The river ran past the old mill.\r\n");
  const std::string name = input + ".oxn.con_a5.txt";  // no extension: the whole suffix
  CliRun first = RunCliProcess(Quote(input));
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.err.find("Concordance file: " + name), std::string::npos);
  const std::string written = ReadWholeFile(name);
  EXPECT_TRUE(written.starts_with("Input file: " + input + "\r\nMD5 message digest of input file: "));
  // ("mill" is a Roman numeral by the letter test.)
  EXPECT_NE(written.find("\r\n\r\n[old 1]\r\n... The river ran past the old mill. \r\n"), std::string::npos);

  dir.Write("book.oxn.con_a5.txt", "keep me");
  CliRun again = RunCliProcess("create " + Quote(input));
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("already exists.  Do you wish to overwrite it? [Yes/No] -> No"), std::string::npos);
  EXPECT_NE(again.err.find("exists and was not replaced"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(name), "keep me");
  EXPECT_EQ(RunCliProcess("--overwrite " + Quote(input)).status, 0);
  EXPECT_NE(ReadWholeFile(name), "keep me");
  dir.Write("book.oxn.con_a5.txt", "keep me");
  EXPECT_EQ(RunCliProcess("--yes " + Quote(input)).status, 0);
  EXPECT_NE(ReadWholeFile(name), "keep me");
  // --no declines writing at all.
  dir.Write("book.oxn.con_a5.txt", "keep me");
  EXPECT_EQ(RunCliProcess("--no " + Quote(input)).status, 1);
  EXPECT_EQ(ReadWholeFile(name), "keep me");
}

TEST(CliCreateTest, OutputOptionsAndFailures) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "Rivers and more rivers.\r\n");
  CliRun other = RunCliProcess("--output " + Quote(dir.path() + "/other.txt") + " " + Quote(input));
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_TRUE(ReadWholeFile(dir.path() + "/other.txt").starts_with("Input file: "));
  // A folder that does not exist: the file output error, and nothing claimed.
  CliRun bad = RunCliProcess("--output /nonexistent-folder/x.txt " + Quote(input));
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("File output error: Error 76: Path not found"), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("An error occurred when creating the concordance file."), std::string::npos);
  EXPECT_EQ(bad.err.find("Concordance file: "), std::string::npos);
  // Stop-word choices.
  CliRun none = RunCliProcess("--output - --stop-words none --context 0 " + Quote(input));
  EXPECT_TRUE(none.out.ends_with("\r\n\r\nand 1\r\nmore 1\r\nriver 2\r\n\r\n")) << none.out;
  CliRun missing = RunCliProcess("--stop-words " + Quote(dir.path() + "/nope.txt") + " " + Quote(input));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("File not found: The stop-words file does not exist."), std::string::npos);
  CliRun forbidden = RunCliProcess("--no-hyphens --extra-stop-words 'well-known' " + Quote(input));
  EXPECT_EQ(forbidden.status, 1);
  EXPECT_NE(forbidden.err.find("Character not allowed: The character - occurs in some stop word"),
            std::string::npos);
  for (const char* args : {"--context 10 x", "--context x x", "--output", "--stop-words '' x"}) {
    EXPECT_EQ(RunCliProcess(args).status, 2) << args;
  }
  // Only stop words: nothing is listed, nothing is written.
  CliRun empty = RunCliProcess(Quote(dir.Write("the.txt", "the and of\r\n")));
  EXPECT_EQ(empty.status, 0);
  EXPECT_NE(empty.err.find("No word is listed"), std::string::npos);
}

TEST(CliSearchTest, SearchResultsMatchTheGoldenFiles) {
  struct Case {
    const char* golden;
    std::string args;
  };
  const std::vector<Case> cases = {
      {"river.search.a5.txt", "--keywords 'riv* miller+said* ?at own*+cafe' " + Data("river.txt")},
      {"river.search.f0.txt", "--order freq --context 0 --keywords-file " + Data("keywords.txt") + " " +
                                  Data("river.txt")},
      {"river.search.a2.txt", "--context 2 --numerals --no-frequencies --keywords '18## the+bridge' "
                              "--keywords-file " + Data("keywords.txt") + " " + Data("river.txt")},
  };
  for (const Case& c : cases) {
    CliRun run = RunCliProcess("search " + c.args);  // standard output by default
    ASSERT_EQ(run.status, 0) << c.golden << run.err;
    EXPECT_TRUE(run.out.starts_with("Input file: ")) << c.golden;
    EXPECT_EQ(Stable(run.out), ReadWholeFile(std::string(QUILLMOOR_TEST_DATA) + "/golden/" + c.golden))
        << c.golden;
    EXPECT_NE(run.err.find("Making the concordance first"), std::string::npos);
  }
}

TEST(CliSearchTest, WritesOnlyTheResultsFileAndSaysWhyItRefuses) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "Love and death. Love is blind.\r\n");
  const std::string results = dir.path() + "/found.txt";
  CliRun run = RunCliProcess("search --keywords 'lov*' --output " + Quote(results) + " " + Quote(input));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Search results file: " + results), std::string::npos);
  EXPECT_NE(ReadWholeFile(results).find("[love 2]\r\n... Love and death."), std::string::npos);
  // The concordance made for the search is gone: nothing else beside the input.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2u);
  // An existing results file is kept unless replacing is allowed.
  EXPECT_EQ(RunCliProcess("search --keywords blind --output " + Quote(results) + " " + Quote(input)).status, 1);
  EXPECT_EQ(ReadWholeFile(results).find("[blind"), std::string::npos);
  EXPECT_EQ(RunCliProcess("search --overwrite --keywords blind --output " + Quote(results) + " " + Quote(input))
                .status,
            0);
  EXPECT_NE(ReadWholeFile(results).find("[blind 1]"), std::string::npos);

  CliRun none = RunCliProcess("search --keywords zebra " + Quote(input));
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("No result"), std::string::npos);
  CliRun comma = RunCliProcess("search --keywords 'love,death' " + Quote(input));
  EXPECT_EQ(comma.status, 1);
  EXPECT_NE(comma.err.find("Invalid input: The extra keywords textbox contains an inadmissable character: ,"),
            std::string::npos);
  CliRun plus = RunCliProcess("search --keywords 'a+b+c' " + Quote(input));
  EXPECT_EQ(plus.status, 1);
  EXPECT_NE(plus.err.find("A keyword cannot contain more then one '+'."), std::string::npos);
  CliRun missing = RunCliProcess("search --keywords-file " + Quote(dir.path() + "/none.txt") + " " + Quote(input));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("File not found: The keywords file does not exist."), std::string::npos);
  CliRun same = RunCliProcess("search --keywords love --output " + Quote(input) + " " + Quote(input));
  EXPECT_EQ(same.status, 1);
  EXPECT_NE(same.err.find("The search results file cannot be the same as the input file."), std::string::npos);
  EXPECT_EQ(same.err.find("was not replaced"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(input), "Love and death. Love is blind.\r\n");
  // Keywords belong to the search; a search needs keywords.
  EXPECT_EQ(RunCliProcess("create --keywords love " + Quote(input)).status, 2);
  EXPECT_EQ(RunCliProcess("search " + Quote(input)).status, 2);
}

TEST(CliIndexTest, AnIndexWrittenByCreateServesLaterRuns) {
  TempDir dir;
  const std::string input = dir.Write("book.txt", "Love and death. Love is blind; the river runs.\r\n");
  const CliRun scanned = RunCliProcess("wordlist " + Quote(input));
  CliRun create = RunCliProcess("create --index " + Quote(input));
  EXPECT_EQ(create.status, 0) << create.err;
  const std::string index = dir.path() + "/book.oxn.ndx";
  ASSERT_TRUE(std::filesystem::exists(index));
  // Later runs take the word table from it (the question's default is Yes).
  CliRun list = RunCliProcess("wordlist " + Quote(input));
  EXPECT_NE(list.err.find("Index file found: "), std::string::npos) << list.err;
  EXPECT_EQ(list.err.find("Scanning the words"), std::string::npos) << list.err;
  EXPECT_EQ(list.out, scanned.out);
  CliRun search = RunCliProcess("search --keywords 'lov*' " + Quote(input));
  EXPECT_EQ(search.status, 0) << search.err;
  EXPECT_NE(search.err.find("Using the index file " + index), std::string::npos) << search.err;
  EXPECT_EQ(search.err.find("Making the concordance first"), std::string::npos);
  EXPECT_NE(search.out.find("[love 2]"), std::string::npos);
  // A settings file saved in Search mode (with extra keywords) does not make wordlist
  // search, although the index allows Search mode.
  const std::string kvf = dir.Write("search.kvf", "\"" + input + "\"\r\n\"\"\r\n\"\"\r\n0\r\n1\r\n\"\"\r\n0\r\n0\r\n"
                                                  "1\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n5\r\n\"\"\r\n\"love\"\r\n0\r\n");
  CliRun settings = RunCliProcess("wordlist --settings " + Quote(kvf) + " " + Quote(input));
  EXPECT_EQ(settings.status, 0) << settings.err;
  EXPECT_NE(settings.out.find("river\t1\n"), std::string::npos) << settings.out;  // not only "love"
  EXPECT_NE(settings.out.find("the\t1\n"), std::string::npos);  // (the file names no stop words)
  // Reading the document has no use for it.
  CliRun read = RunCliProcess("read " + Quote(input));
  EXPECT_EQ(read.err.find("Index file found"), std::string::npos);
  // --no declines it (and keeps it); the run scans.
  CliRun declined = RunCliProcess("--no wordlist " + Quote(input));
  EXPECT_NE(declined.err.find("Scanning the words"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(index));
  // A changed input makes it stale: deleted, with the notice.
  dir.Write("book.txt", "Something else entirely.\r\n");
  CliRun stale = RunCliProcess("wordlist " + Quote(input));
  EXPECT_NE(stale.err.find("Bad index file: "), std::string::npos) << stale.err;
  EXPECT_FALSE(std::filesystem::exists(index));
}

TEST(CliDocxTest, AWordProcessorDocumentListsAsItsText) {
  // heron.docx was saved by a word processor from the text of heron.txt.
  auto listing = [](const std::string& run) {
    return run.substr(run.find("\r\n\r\n"));  // below the header
  };
  CliRun docx = RunCliProcess("--output - --stop-words none " + Data("heron.docx"));
  ASSERT_EQ(docx.status, 0) << docx.err;
  EXPECT_NE(docx.err.find("Extracting the text of the docx file ..."), std::string::npos);
  CliRun text = RunCliProcess("--output - --stop-words none --no-line-breaks " + Data("heron.txt"));
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(listing(docx.out), listing(text.out));
  EXPECT_NE(docx.out.find("[caf\xE9 1]\r\n... the village remembers. The miller's caf\xE9 by the old "
                          "bridge was\r\n"),
            std::string::npos);
}

TEST(CliSettingsTest, SettingsFilesAreLoadedAndWritten) {
  TempDir dir;
  const std::string input = dir.Write("doc.txt", "The rivers and the 4x4 rivers ran.\r\n");
  const std::string kvf = dir.path() + "/run.kvf";
  // A run's options saved ...
  CliRun save = RunCliProcess("wordlist --numerals --order freq --stop-words none --save-settings " +
                              Quote(kvf) + " " + Quote(input));
  EXPECT_EQ(save.status, 0) << save.err;
  const std::string saved = ReadWholeFile(kvf);
  EXPECT_NE(saved.find("\r\n1\r\n1\r\n"), std::string::npos);  // numerals checked, warn on
  // ... and used again: the same list.
  CliRun load = RunCliProcess("wordlist --settings " + Quote(kvf) + " " + Quote(input));
  EXPECT_EQ(load.status, 0) << load.err;
  EXPECT_EQ(load.out, save.out);
  EXPECT_EQ(load.out, "river\t2\nthe\t2\n4x4\t1\nand\t1\nran\t1\n");
  // Options on the command line win, wherever they stand.
  CliRun over = RunCliProcess("wordlist --no-numerals " + Quote(input) + " --settings " + Quote(kvf));
  EXPECT_EQ(over.out.find("4x4\t"), std::string::npos) << over.out;
  EXPECT_NE(over.out.find("the\t2"), std::string::npos) << over.out;
  // A damaged settings file is refused with its reason.
  CliRun bad = RunCliProcess("wordlist --settings " + Quote(dir.Write("bad.kvf", "\"x\"\r\n")) + " " +
                             Quote(input));
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("Load settings: Error when attempting to restore settings: Input past end of file"),
            std::string::npos) << bad.err;
}

TEST(CliOptionsTest, ParsesCommandFileAndPolicy) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"read", "--no", "a.txt"}, &options, &error));
  EXPECT_EQ(options.command, "read");
  EXPECT_EQ(options.file, "a.txt");
  EXPECT_EQ(options.policy, AnswerPolicy::kNo);
  ASSERT_TRUE(ParseCliOptions({"read", "--", "-odd.txt"}, &options, &error));
  EXPECT_EQ(options.file, "-odd.txt");
  EXPECT_FALSE(ParseCliOptions({"read", ""}, &options, &error));
  EXPECT_EQ(error, "the input file name is empty");
}

TEST(CliHostTest, AnswersByPolicy) {
  MessageBox box;
  box.buttons = MsgButtons::kYesNo;
  box.defaultButton = 2;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kDefault), MsgResult::kNo);
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kYes), MsgResult::kYes);
  box.buttons = MsgButtons::kYesNoCancel;
  box.defaultButton = 1;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kDefault), MsgResult::kYes);
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kNo), MsgResult::kNo);
  box.buttons = MsgButtons::kOK;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kNo), MsgResult::kOK);
}

}  // namespace
}  // namespace quillmoor
