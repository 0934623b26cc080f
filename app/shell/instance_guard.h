#ifndef APP_SHELL_INSTANCE_GUARD_H
#define APP_SHELL_INSTANCE_GUARD_H

#include <windows.h>

#include <string>

namespace vmd {

/// The names of the two instance-guard mutexes, made from the program path.
struct GuardNames {
  std::string global;  ///< "Global\<path>" on Windows 2000 or later, else the bare text
  std::string local;   ///< the text followed by "local"
};

/// Every colon and backslash of the program path becomes an underscore; both
/// names are cut to 259 characters.
GuardNames MakeGuardNames(const std::string& programPath, bool windows2000OrLater);

/// True on the NT family from version 5 (Windows 2000) on.
bool IsWindows2000OrLater(DWORD version);

enum class GuardResult {
  kProceed,             ///< no other user's session runs the program
  kOtherUserSession,    ///< the global mutex is refused while the local one is new
};

/// Creates both mutexes (not owned) and keeps their handles until process
/// exit. A refused global name while the local one is new means another
/// user's session runs the program.
GuardResult CreateInstanceGuard(const GuardNames& names);

}  // namespace vmd

#endif  // APP_SHELL_INSTANCE_GUARD_H
