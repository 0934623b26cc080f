#ifndef APP_SHELL_FOLDER_NAMES_H
#define APP_SHELL_FOLDER_NAMES_H

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

/// The folder name made from a product version text: cut at its second
/// character that is neither a blank, a digit nor a letter; such a character
/// before the cut becomes "." ("3.0.0.17" -> "3.0", "3,0,0,1" -> "3.0").
std::string VersionFolderName(const std::string& productVersion);

}  // namespace vmd

#endif  // APP_SHELL_FOLDER_NAMES_H
