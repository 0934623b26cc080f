#include "folder_tracking.h"

#include <cctype>

namespace vmd {

SpecialFolderKind DesktopFolderToRecord(DWORD currentVersion, DWORD storedVersion) {
  if (!IsWindows9x(currentVersion) && IsWindows9x(storedVersion))
    return SpecialFolderKind::kCommonDesktop;
  return SpecialFolderKind::kDesktop;
}

namespace {

/// True when `folder` is the start of `path` up to a backslash or the end.
bool StartsWithFolder(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (LowerCase(path.substr(0, folder.size())) != LowerCase(folder)) return false;
  return path.size() == folder.size() || folder.back() == '\\' || path[folder.size()] == '\\';
}

}  // namespace

bool RewriteTrackedPath(const std::string& storedPath, const TrackedFolders& oldFolders,
                        const TrackedFolders& newFolders, std::string* rewritten) {
  const std::string* pairs[4][2] = {{&oldFolders.appData, &newFolders.appData},
                                    {&oldFolders.desktop, &newFolders.desktop},
                                    {&oldFolders.documents, &newFolders.documents},
                                    {&oldFolders.windows, &newFolders.windows}};
  for (const auto& pair : pairs) {
    const std::string& from = *pair[0];
    if (!StartsWithFolder(storedPath, from)) continue;
    std::string rest = LowerCase(storedPath.substr(from.size()));
    const std::string& to = *pair[1];
    // Keep exactly one backslash at the joint.
    if (!to.empty() && to.back() == '\\' && !rest.empty() && rest.front() == '\\') rest.erase(0, 1);
    if (!to.empty() && to.back() != '\\' && from.back() == '\\') rest.insert(0, "\\");
    *rewritten = to + rest;
    return true;
  }
  return false;
}

}  // namespace vmd
