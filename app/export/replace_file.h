#ifndef APP_EXPORT_REPLACE_FILE_H
#define APP_EXPORT_REPLACE_FILE_H

#include <string>

namespace vmd {

/// Writes `bytes` to a new file beside `path` and only then puts it in the
/// place of `path`, so a failed write leaves no half-written file and keeps
/// an existing one. True when `path` now holds exactly `bytes`.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);

/// The whole content of a file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string* bytes);

/// Copies a file over another through WriteFileReplacing.
bool CopyFileReplacing(const std::string& from, const std::string& to);

}  // namespace vmd

#endif  // APP_EXPORT_REPLACE_FILE_H
