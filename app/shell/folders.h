#ifndef APP_SHELL_FOLDERS_H
#define APP_SHELL_FOLDERS_H

#include <windows.h>

#include <string>

#include "path_text.h"

namespace vmd {

/// The special folders the program records and uses.
enum class SpecialFolderKind {
  kAppData,        ///< the user's application data folder (created if missing)
  kDocuments,      ///< the user's documents folder (created if missing)
  kDesktop,        ///< the user's desktop folder
  kCommonDesktop,  ///< the all-users desktop folder
};

/// Asks the shell's folder service for a folder; false when it gives none.
/// "SHGetSpecialFolderPathA" of "Shell32.dll" when present, otherwise
/// "SHGetFolderPathA" of "shfolder.dll"; both loaded at run time.
bool ShellSpecialFolder(SpecialFolderKind kind, std::string* path);

/// A special-folder lookup, replaceable so tests never see the user's folders.
using SpecialFolderFn = bool (*)(SpecialFolderKind kind, std::string* path);


/// The folder of the running program, without the trailing backslash.
std::string ProgramFolder();

/// The folder name made from a product version text: cut at its second
/// character that is neither a blank, a digit nor a letter; such a character
/// before the cut becomes "." ("3.0.0.17" -> "3.0", "3,0,0,1" -> "3.0").
std::string VersionFolderName(const std::string& productVersion);

/// ProductName and ProductVersion of a module's version resource; false when
/// it has none.
bool ReadProductVersion(HMODULE module, std::string* productName, std::string* productVersion);

/// Creates a folder and every missing folder above it; true when it exists.
bool CreateFolderChain(const std::string& folder);

bool FolderExists(const std::string& folder);

}  // namespace vmd

#endif  // APP_SHELL_FOLDERS_H
