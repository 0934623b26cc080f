#ifndef APP_ALBUM_ALBUM_RECORDS_H
#define APP_ALBUM_ALBUM_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "palm_container.h"

namespace vmd {

/// An album file is a "PALM" container: one 288-byte record per photo, each
/// with a packed 24-bit DIB thumbnail as its data.
constexpr size_t kAlbumHeaderSize = kPalmHeaderSize;
constexpr size_t kAlbumRecordSize = kPalmRecordSize;
constexpr size_t kAlbumPathField = 128;  ///< bytes of the path, terminator included
constexpr size_t kAlbumTypeField = 16;   ///< bytes of the type text, terminator included
constexpr int kAlbumMaxItems = kPalmMaxRecords;

/// The type text of photos added from files. It has 16 characters, one more
/// than the field holds with its terminator: it is stored cut to 15.
constexpr const char* kStillImageType = "Still Image File";

/// One record as stored, with its fields by name.
///   0 file size; 4 file time (seconds since 1970); 8 path (128 bytes);
///   136 type text (16 bytes); 152, 154, 156 three 16-bit values (1);
///   264 relative-path flag; 266 bits per pixel; 268 width; 270 height;
///   272 data offset; 276 thumbnail width; 278 thumbnail height;
///   280 data length.
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

  std::string TypeText() const;
  /// Stores at most 15 characters and the terminator.
  void SetTypeText(const std::string& text);
  uint32_t FileSize() const { return ReadU32(bytes, 0); }
  uint32_t FileTime() const { return ReadU32(bytes, 4); }
  uint16_t Value(int which) const { return ReadU16(bytes, 152 + 2 * which); }
  uint16_t BitCount() const { return ReadU16(bytes, 266); }
  uint16_t Width() const { return ReadU16(bytes, 268); }
  uint16_t Height() const { return ReadU16(bytes, 270); }
  uint16_t ThumbWidth() const { return ReadU16(bytes, 276); }
  uint16_t ThumbHeight() const { return ReadU16(bytes, 278); }
  uint32_t DataLength() const { return ReadU32(bytes, kPalmDataLengthField); }
};

/// Offers every record that an album file holds soundly (see
/// ReadPalmContainer: the header's count, at most 1000, up to the first
/// record whose bytes or data run past the end) to `visit`. When `visit`
/// changed any record (returned true), the file is written again with those
/// records replaced in place and every other byte as it was, through a
/// temporary file, so a failed write leaves the old file. Returns false when
/// the file is no album; `rewritten` (optional) counts the records replaced.
bool RewriteAlbumRecords(const std::string& path, const std::function<bool(AlbumRecord&)>& visit,
                         int* rewritten = nullptr);

/// The first-run fix-up of one sample record: a relative name becomes
/// "programFolder\name" with the flag cleared. False (record unchanged) for a
/// full path, or a name that would not fit with the folder.
bool ResolveSampleRecord(AlbumRecord& record, const std::string& programFolder);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_RECORDS_H
