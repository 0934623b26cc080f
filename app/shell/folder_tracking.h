#ifndef APP_SHELL_FOLDER_TRACKING_H
#define APP_SHELL_FOLDER_TRACKING_H

#include "win32_api.h"

#include <string>

#include "folder_names.h"

namespace vmd {

/// The four folders recorded under UPDATE so that stored photo paths can
/// follow them when the operating system is upgraded.
struct TrackedFolders {
  std::string appData;
  std::string windows;
  std::string documents;
  std::string desktop;
};

/// GetVersion's top bit marks Windows 95, 98 and ME.
inline bool IsWindows9x(DWORD version) { return (version & 0x80000000u) != 0; }
/// Windows 95 is version 4.0 of that family.
inline bool IsWindows95(DWORD version) {
  return IsWindows9x(version) && LOBYTE(LOWORD(version)) == 4 && HIBYTE(LOWORD(version)) == 0;
}

/// Which desktop folder is recorded: on the NT family the user's own, except
/// the all-users desktop while the stored version still names a 95/98/ME
/// system; on 95/98/ME the user's own.
SpecialFolderKind DesktopFolderToRecord(DWORD currentVersion, DWORD storedVersion);

/// Rewrites one stored photo path after an upgrade: the old folders are
/// compared with the path's start, without regard to case, in the order
/// application data, desktop, documents, Windows; the first that matches at a
/// folder boundary is replaced by its new folder and the rest of the path is
/// kept in lower case. Empty old folders never match. False: no match.
bool RewriteTrackedPath(const std::string& storedPath, const TrackedFolders& oldFolders,
                        const TrackedFolders& newFolders, std::string* rewritten);

}  // namespace vmd

#endif  // APP_SHELL_FOLDER_TRACKING_H
