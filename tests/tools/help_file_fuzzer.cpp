// libFuzzer target for the WinHelp container reader and the map writer. Any
// input may be refused; none may make them read or write out of bounds, or
// loop. Seed: the built vmd3.hlp.
#include <cstdint>
#include <vector>

#include "help_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  helpfile::Bytes file(data, data + size);
  std::vector<helpfile::TopicTitle> titles;
  std::vector<helpfile::ContextMapEntry> map;
  uint32_t offset = 0;
  helpfile::ReadTopicTitles(file, &titles);
  helpfile::ReadContextMap(file, &map);
  helpfile::LookUpContext(file, helpfile::ContextHash("home"), &offset);
  if (helpfile::WriteContextMap(&file, {{1000, 0}, {2000, 1}}) == helpfile::kHelpOk) {
    if (helpfile::ReadContextMap(file, &map) != helpfile::kHelpOk || map.size() != 2)
      __builtin_trap();
  }
  return 0;
}
