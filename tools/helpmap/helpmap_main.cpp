// vmd3-helpmap: gives the topics of a WinHelp file the context numbers that a
// program passes with HELP_CONTEXT.
//   vmd3-helpmap FILE.hlp NUMBER=CONTEXT-NAME ...
// Each CONTEXT-NAME is a topic's name in the help source. The file is
// rewritten only when every name is found; a failed write leaves it as it was.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "help_file.h"

namespace {

bool ReadWhole(const char* path, helpfile::Bytes* out) {
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  out->clear();
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    out->insert(out->end(), buffer, buffer + got);
  bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

/// Writes beside the file, then renames over it.
bool WriteWhole(const std::string& path, const helpfile::Bytes& bytes) {
  std::string temporary = path + ".new";
  FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

/// "1000=home" into its number and name.
bool ParsePair(const std::string& word, int32_t* number, std::string* name) {
  size_t equals = word.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == word.size()) return false;
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (end != word.c_str() + equals) return false;
  *number = static_cast<int32_t>(value);
  *name = word.substr(equals + 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vmd3-helpmap FILE.hlp NUMBER=CONTEXT-NAME ...\n");
    return 2;
  }
  helpfile::Bytes file;
  if (!ReadWhole(argv[1], &file)) {
    std::fprintf(stderr, "vmd3-helpmap: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<helpfile::ContextMapEntry> entries;
  for (int i = 2; i < argc; ++i) {
    helpfile::ContextMapEntry entry;
    std::string name;
    if (!ParsePair(argv[i], &entry.number, &name)) {
      std::fprintf(stderr, "vmd3-helpmap: expected NUMBER=CONTEXT-NAME, got \"%s\"\n", argv[i]);
      return 2;
    }
    helpfile::HelpResult found =
        helpfile::LookUpContext(file, helpfile::ContextHash(name), &entry.topicOffset);
    if (found != helpfile::kHelpOk) {
      std::fprintf(stderr, "vmd3-helpmap: %s: topic \"%s\": %s\n", argv[1], name.c_str(),
                   helpfile::HelpResultText(found));
      return 1;
    }
    entries.push_back(entry);
  }
  helpfile::HelpResult written = helpfile::WriteContextMap(&file, entries);
  if (written != helpfile::kHelpOk) {
    std::fprintf(stderr, "vmd3-helpmap: %s: %s\n", argv[1], helpfile::HelpResultText(written));
    return 1;
  }
  if (!WriteWhole(argv[1], file)) {
    std::fprintf(stderr, "vmd3-helpmap: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
