#include "sample_albums.h"

#include <windows.h>

#include "album_records.h"
#include "folders.h"

namespace vmd {

bool CopySampleAlbums(const std::string& programFolder, const std::string& userDataFolder) {
  std::string source = JoinPath(programFolder, "palbums");
  std::string target = JoinPath(userDataFolder, "palbums");
  CreateFolderChain(target);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(source, "*.abm").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string copy = JoinPath(target, found.cFileName);
    if (!CopyFileA(JoinPath(source, found.cFileName).c_str(), copy.c_str(), FALSE)) continue;
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);  // sample files may be read-only
    RewriteAlbumRecords(copy, [&](AlbumRecord& record) {
      return ResolveSampleRecord(record, programFolder);
    });
  } while (FindNextFileA(search, &found));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  return complete;
}

}  // namespace vmd
