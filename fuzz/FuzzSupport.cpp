#include "FuzzSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "ui/Defaults.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "support/ScriptedHost.h"

namespace quillmoor::fuzz {

namespace {
ScriptedHost* g_host = new ScriptedHost;
}  // namespace

Program& StartedProgram() {
  ScriptedHost* host = g_host;
  // What one input recorded is not kept for the next.
  host->messages.clear();
  host->refreshed.clear();
  host->popUps.clear();
  host->dialogs.clear();
  host->opened.clear();
  static Program* p = [host] {
    auto* program = new Program(*host);
    SetNumberLocale({'.', ','});
    if (!program->texts.LoadProgramText(program->host, QUILLMOOR_DATA_DIR))
      Check(false, "program texts");
    FillLists(*program);
    InitializeVariables(*program);
    program->strProgramFolder = QUILLMOOR_DATA_DIR;
    program->blnStartUpCompleted = true;
    return program;
  }();
  return *p;
}

const std::string& WorkFolder() {
  // Made on the heap and never freed: the exit handler that removes the folder runs
  // after static objects are gone.
  static const std::string* folder = [] {
    auto* pattern = new std::string(JoinPath(TemporaryFolder(), "quillmoor-fuzz-XXXXXX"));
    if (::mkdtemp(pattern->data()) == nullptr) Check(false, "work folder");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*folder, ignored);
    });
    return pattern;
  }();
  return *folder;
}

std::string WriteFile(const std::string& name, std::string_view bytes) {
  const std::string path = JoinPath(WorkFolder(), name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr, "cannot write a work file");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

bool Like(const std::string& text, const std::string& pattern) {
  // memo[i][j]: 0 unknown, 1 false, 2 true, for text from i and pattern from j.
  std::vector<std::vector<uint8_t>> memo(text.size() + 1,
                                         std::vector<uint8_t>(pattern.size() + 1, 0));
  std::function<bool(size_t, size_t)> like = [&](size_t i, size_t j) -> bool {
    uint8_t& known = memo[i][j];
    if (known != 0) return known == 2;
    bool result;
    if (j == pattern.size()) {
      result = i == text.size();
    } else if (pattern[j] == '*') {
      result = like(i, j + 1) || (i < text.size() && like(i + 1, j));
    } else if (i == text.size()) {
      result = false;
    } else {
      const char c = text[i];
      const bool one =
          pattern[j] == '?' || (pattern[j] == '#' ? c >= '0' && c <= '9' : c == pattern[j]);
      result = one && like(i + 1, j + 1);
    }
    known = result ? 2 : 1;
    return result;
  };
  return like(0, 0);
}

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

TwoParts SplitInput(const uint8_t* data, size_t size) {
  TwoParts parts;
  if (size == 0) return parts;
  parts.selector = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t cut = rest.size() * parts.selector / 255;
  parts.first.assign(rest.substr(0, cut));
  parts.second.assign(rest.substr(cut));
  return parts;
}

}  // namespace quillmoor::fuzz
