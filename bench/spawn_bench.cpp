// Times short whole processes started directly (posix_spawn, no shell in between), in
// alternating rounds so that both commands meet the same minutes of a shared machine's
// load. Before each run the files the command writes are removed (untimed).
//
// Usage: quillmoor-spawn-bench ROUNDS RUNS CMD [CMD...]
// Each CMD is one argument: its words are split at spaces; a word ">FILE" sends the
// standard output to FILE. FILE, and the word after a "-o", are the files removed.
// Prints for each command the fastest run, the first quartile and the median of all its
// runs in microseconds, and its median over the first command's median.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
  std::string text;
  std::vector<std::string> words;
  std::string stdoutFile;            // "" = /dev/null
  std::vector<std::string> written;  // removed before each run
  std::vector<double> micros;
};

Command Parse(const std::string& text) {
  Command c;
  c.text = text;
  std::istringstream in(text);
  std::string word;
  bool output = false;
  while (in >> word) {
    if (word.size() > 1 && word[0] == '>') {
      c.stdoutFile = word.substr(1);
      c.written.push_back(c.stdoutFile);
      continue;
    }
    if (output) c.written.push_back(word);
    output = word == "-o";
    c.words.push_back(word);
  }
  return c;
}

// One run's wall time in microseconds, or a negative number when it could not start or
// failed.
double Run(const Command& c) {
  for (const std::string& f : c.written) ::unlink(f.c_str());
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = c.stdoutFile.empty() ? "/dev/null" : c.stdoutFile;
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& w : c.words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double micros =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? micros : -1;
}

double At(std::vector<double> v, double fraction) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(fraction * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s ROUNDS RUNS CMD [CMD...]\n", argv[0]);
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const int runs = std::atoi(argv[2]);
  if (rounds < 1 || runs < 1) {
    std::fprintf(stderr, "%s: ROUNDS and RUNS must be positive numbers\n", argv[0]);
    return 2;
  }
  std::vector<Command> commands;
  for (int i = 3; i < argc; ++i) commands.push_back(Parse(argv[i]));
  for (int round = 0; round < rounds; ++round) {
    for (Command& c : commands) {
      for (int run = 0; run < runs; ++run) {
        const double micros = Run(c);
        if (micros < 0) {
          std::fprintf(stderr, "%s: failed: %s\n", argv[0], c.text.c_str());
          return 1;
        }
        c.micros.push_back(micros);
      }
    }
  }
  for (const Command& c : commands)
    for (const std::string& f : c.written) ::unlink(f.c_str());
  const double first = At(commands[0].micros, 0.5);
  for (const Command& c : commands) {
    std::printf("%8.0f %8.0f %8.0f %6.2fx  %s\n", At(c.micros, 0), At(c.micros, 0.25),
                At(c.micros, 0.5), At(c.micros, 0.5) / first, c.text.c_str());
  }
  return 0;
}
