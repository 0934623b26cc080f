#ifndef APP_ALBUM_PATH_TEXT_H
#define APP_ALBUM_PATH_TEXT_H

#include <string>

namespace vmd {

/// The folder of a file path, without the trailing backslash ("C:\a\b.exe" ->
/// "C:\a"; "C:\b.exe" -> "C:"); empty when the path has no backslash.
std::string FolderOfPath(const std::string& path);

/// Joins a folder and a name with exactly one backslash between them.
std::string JoinPath(const std::string& folder, const std::string& name);

/// The name after the last backslash (or slash); the whole text without one.
std::string FileNameOfPath(const std::string& path);

/// The text in lower case (ASCII letters only, as the program's paths are
/// compared).
std::string LowerCase(std::string text);

/// True when both texts are equal without regard to case.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vmd

#endif  // APP_ALBUM_PATH_TEXT_H
