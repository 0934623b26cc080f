#include "album_records.h"

#include <cstring>
#include <vector>

#include "path_text.h"

namespace vmd {

namespace {

constexpr size_t kPathOffset = 8;
constexpr size_t kTypeOffset = 136;
constexpr size_t kRelativeOffset = 264;

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

bool AlbumRecord::IsRelative() const { return ReadU16(bytes, kRelativeOffset) == 1; }

void AlbumRecord::SetRelative(bool relative) { WriteU16(bytes, kRelativeOffset, relative ? 1 : 0); }

std::string AlbumRecord::TypeText() const {
  const char* text = reinterpret_cast<const char*>(bytes + kTypeOffset);
  return std::string(text, strnlen(text, kAlbumTypeField - 1));
}

void AlbumRecord::SetTypeText(const std::string& text) {
  memset(bytes + kTypeOffset, 0, kAlbumTypeField);
  memcpy(bytes + kTypeOffset, text.data(), text.size() < kAlbumTypeField ? text.size() : kAlbumTypeField - 1);
}

bool RewriteAlbumRecords(const std::string& path, const std::function<bool(AlbumRecord&)>& visit,
                         int* rewritten) {
  if (rewritten != nullptr) *rewritten = 0;
  std::vector<uint8_t> file;
  PalmContainer album;
  if (!ReadWholeFile(path, &file) ||
      ReadPalmContainer(file.data(), file.size(), &album) == PalmReadResult::kNotContainer)
    return false;
  int changed = 0;
  for (size_t i = 0; i < album.records.size(); ++i) {
    AlbumRecord record;
    memcpy(record.bytes, album.records[i].fields, kAlbumRecordSize);
    if (!visit(record)) continue;
    memcpy(file.data() + kAlbumHeaderSize + kAlbumRecordSize * i, record.bytes, kAlbumRecordSize);
    ++changed;
  }
  if (changed > 0 && !ReplaceFileContents(path, file)) return true;
  if (rewritten != nullptr) *rewritten = changed;
  return true;
}

bool ResolveSampleRecord(AlbumRecord& record, const std::string& programFolder) {
  if (!record.IsRelative()) return false;
  if (!record.SetPath(JoinPath(programFolder, record.Path()))) return false;
  record.SetRelative(false);
  return true;
}

}  // namespace vmd
