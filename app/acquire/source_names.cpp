#include "source_names.h"

#include <cctype>

namespace vmd {

std::string SourceNameKey(const std::string& name) {
  std::string key;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isspace(byte)) continue;
    key.push_back(static_cast<char>(std::toupper(byte)));
  }
  return key;
}

int FindSourceByName(const std::vector<std::string>& names, const std::string& wanted) {
  const std::string key = SourceNameKey(wanted);
  if (key.empty()) return -1;
  const size_t count = names.size() < kMostSourceNames ? names.size() : kMostSourceNames;
  for (size_t i = 0; i < count; ++i)
    if (SourceNameKey(names[i]) == key) return static_cast<int>(i);
  return -1;
}

}  // namespace vmd
