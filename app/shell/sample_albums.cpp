#include "sample_albums.h"

#include <windows.h>

#include <cstring>

#include "album_records.h"
#include "folders.h"
#include "registry_key.h"

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

int ListSampleAlbums(HKEY root, const std::string& photosKey, const std::string& programFolder,
                     const std::string& userAlbumFolder) {
  UniqueHKey key = CreateKey(root, photosKey);
  if (!key) return 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      values != 0)
    return 0;
  char section[4096] = {};
  const std::string list = JoinPath(JoinPath(programFolder, "palbums"), "samples.ini");
  GetPrivateProfileSectionA("PHOTOS", section, sizeof section, list.c_str());
  int listed = 0;
  for (const char* entry = section; *entry != '\0'; entry += strlen(entry) + 1) {
    const char* equals = strchr(entry, '=');
    if (equals == nullptr) continue;
    const std::string name(entry, equals - entry);
    if (GetFileAttributesA(JoinPath(userAlbumFolder, name).c_str()) == INVALID_FILE_ATTRIBUTES)
      continue;
    BYTE title[260] = {};
    strncpy(reinterpret_cast<char*>(title), equals + 1, sizeof title - 1);
    if (RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, title, sizeof title) == ERROR_SUCCESS)
      ++listed;
  }
  return listed;
}

}  // namespace vmd
