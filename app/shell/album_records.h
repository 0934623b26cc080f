#ifndef APP_SHELL_ALBUM_RECORDS_H
#define APP_SHELL_ALBUM_RECORDS_H

#include <cstdint>
#include <functional>
#include <string>

namespace vmd {

/// The fixed part of an album file ("PALM" container): a 144-byte header,
/// then one 288-byte record per photo, then the data area with thumbnails.
/// This module reads and rewrites records in place; it never moves data.
constexpr size_t kAlbumHeaderSize = 144;
constexpr size_t kAlbumRecordSize = 288;
constexpr size_t kAlbumPathField = 128;  ///< bytes of the path, terminator included
constexpr int kAlbumMaxItems = 1000;

/// One record as stored, with the fields the shell rewrites.
struct AlbumRecord {
  uint8_t bytes[kAlbumRecordSize];

  /// The stored path (record offset 8), up to its terminator.
  std::string Path() const;
  /// Clears the 128-byte path field and stores `path`; false (record
  /// unchanged) when it does not fit with its terminator.
  bool SetPath(const std::string& path);
  /// Offset 264: 1 = the path is a name inside the sample folder.
  bool IsRelative() const;
  void SetRelative(bool relative);
};

/// Header fields that the record walk needs.
struct AlbumHeader {
  uint32_t totalLength = 0;
  uint32_t count = 0;
  uint32_t dataStart = 0;
};

/// Reads the header; false when the file is not openable, shorter than the
/// header, or without the "PALM" magic.
bool ReadAlbumHeader(const std::string& path, AlbumHeader* header);

/// Offers every record (the header's count, at most 1000; a short read ends
/// the walk) to `visit`; a record for which `visit` returns true is written
/// back in place. Returns false when the file is no album; `rewritten`
/// (optional) counts the records written back.
bool RewriteAlbumRecords(const std::string& path, const std::function<bool(AlbumRecord&)>& visit,
                         int* rewritten = nullptr);

/// The first-run copy: every "*.abm" of programFolder\palbums is copied into
/// userDataFolder\palbums (created, existing files replaced); in the copies,
/// relative names become "programFolder\name" with the flag cleared. True when
/// the source listing ended normally.
bool CopySampleAlbums(const std::string& programFolder, const std::string& userDataFolder);

}  // namespace vmd

#endif  // APP_SHELL_ALBUM_RECORDS_H
