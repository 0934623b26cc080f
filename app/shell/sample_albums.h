#ifndef APP_SHELL_SAMPLE_ALBUMS_H
#define APP_SHELL_SAMPLE_ALBUMS_H

#include <windows.h>

#include <string>

namespace vmd {

/// The first-run copy: every "*.abm" of programFolder\palbums is copied into
/// userDataFolder\palbums (created, existing files replaced); in the copies,
/// relative names become "programFolder\name" with the flag cleared. True when
/// the source listing ended normally.
bool CopySampleAlbums(const std::string& programFolder, const std::string& userDataFolder);

/// The start values of the album list where no installer wrote machine-wide
/// ones: when the user's PHOTOS key (`photosKey` under `root`) has no values,
/// every entry "file=title" of section PHOTOS of the file "samples.ini" in
/// the program folder's "palbums" whose album file lies in userAlbumFolder
/// becomes a value, in the file's order. Returns the number of albums listed.
int ListSampleAlbums(HKEY root, const std::string& photosKey, const std::string& programFolder,
                     const std::string& userAlbumFolder);

}  // namespace vmd

#endif  // APP_SHELL_SAMPLE_ALBUMS_H
