#include "folder_names.h"

#include <cctype>

namespace vmd {

std::string FolderOfPath(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

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
