#ifndef APP_SHELL_SAMPLE_ALBUMS_H
#define APP_SHELL_SAMPLE_ALBUMS_H

#include <string>

namespace vmd {

/// The first-run copy: every "*.abm" of programFolder\palbums is copied into
/// userDataFolder\palbums (created, existing files replaced); in the copies,
/// relative names become "programFolder\name" with the flag cleared. True when
/// the source listing ended normally.
bool CopySampleAlbums(const std::string& programFolder, const std::string& userDataFolder);

}  // namespace vmd

#endif  // APP_SHELL_SAMPLE_ALBUMS_H
