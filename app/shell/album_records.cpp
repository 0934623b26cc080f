#include "album_records.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "folders.h"

namespace vmd {

namespace {

constexpr size_t kPathOffset = 8;
constexpr size_t kRelativeOffset = 264;

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool ReadHeader(FILE* file, AlbumHeader* header) {
  uint8_t bytes[kAlbumHeaderSize];
  if (fseek(file, 0, SEEK_SET) != 0) return false;
  if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return false;
  if (memcmp(bytes, "PALM", 4) != 0) return false;
  header->totalLength = ReadU32(bytes + 4);
  header->count = ReadU32(bytes + 8);
  header->dataStart = ReadU32(bytes + 12);
  return true;
}

}  // namespace

std::string AlbumRecord::Path() const {
  const char* text = reinterpret_cast<const char*>(bytes + kPathOffset);
  return std::string(text, strnlen(text, kAlbumPathField));
}

bool AlbumRecord::SetPath(const std::string& path) {
  if (path.size() >= kAlbumPathField) return false;
  memset(bytes + kPathOffset, 0, kAlbumPathField);
  memcpy(bytes + kPathOffset, path.data(), path.size());
  return true;
}

bool AlbumRecord::IsRelative() const {
  return (bytes[kRelativeOffset] | bytes[kRelativeOffset + 1] << 8) == 1;
}

void AlbumRecord::SetRelative(bool relative) {
  bytes[kRelativeOffset] = relative ? 1 : 0;
  bytes[kRelativeOffset + 1] = 0;
}

bool ReadAlbumHeader(const std::string& path, AlbumHeader* header) {
  UniqueFile file(fopen(path.c_str(), "rb"));
  return file && ReadHeader(file.get(), header);
}

bool RewriteAlbumRecords(const std::string& path, const std::function<bool(AlbumRecord&)>& visit,
                         int* rewritten) {
  if (rewritten != nullptr) *rewritten = 0;
  UniqueFile file(fopen(path.c_str(), "r+b"));
  AlbumHeader header;
  if (!file || !ReadHeader(file.get(), &header)) return false;
  uint32_t count = header.count < kAlbumMaxItems ? header.count : kAlbumMaxItems;
  for (uint32_t i = 0; i < count; ++i) {
    long offset = static_cast<long>(kAlbumHeaderSize + kAlbumRecordSize * i);
    AlbumRecord record;
    if (fseek(file.get(), offset, SEEK_SET) != 0) break;
    if (fread(record.bytes, 1, kAlbumRecordSize, file.get()) != kAlbumRecordSize) break;
    if (!visit(record)) continue;
    if (fseek(file.get(), offset, SEEK_SET) != 0) break;
    if (fwrite(record.bytes, 1, kAlbumRecordSize, file.get()) != kAlbumRecordSize) break;
    if (rewritten != nullptr) ++*rewritten;
  }
  return true;
}

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
      if (!record.IsRelative()) return false;
      // A name that would not fit with the folder keeps its relative form.
      if (!record.SetPath(JoinPath(programFolder, record.Path()))) return false;
      record.SetRelative(false);
      return true;
    });
  } while (FindNextFileA(search, &found));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  return complete;
}

}  // namespace vmd
