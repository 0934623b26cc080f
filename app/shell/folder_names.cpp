#include "folder_names.h"

#include <cctype>

namespace vmd {

std::string VersionFolderName(const std::string& productVersion) {
  std::string result;
  int separators = 0;
  for (char c : productVersion) {
    bool plain = c == ' ' || std::isalnum(static_cast<unsigned char>(c));
    if (plain) {
      result.push_back(c);
      continue;
    }
    if (++separators == 2) break;
    result.push_back('.');
  }
  return result;
}

}  // namespace vmd
