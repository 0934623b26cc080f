#ifndef APP_ALBUM_ALBUM_ITEM_H
#define APP_ALBUM_ALBUM_ITEM_H

#include <cstdint>
#include <string>

#include "album_records.h"
#include "win32_api.h"

namespace vmd {

/// An album item: one movable block holding the 288-byte record followed by
/// its data, the thumbnail as a packed 24-bit DIB.

/// The thumbnail of a photo: the photo's own size when its larger side is
/// under 70 pixels; otherwise the larger side becomes 69 and the other
/// (other x 69 + larger / 2) / larger, at least 1.
void AlbumThumbnailSize(int width, int height, int* thumbWidth, int* thumbHeight);

/// Size and time of a photo file as the record keeps them: bytes, and the
/// creation time (where the file system has one, else the last change) in
/// seconds since 1970-01-01.
struct PhotoFileFacts {
  uint32_t size = 0;
  uint32_t time = 0;
};
/// False (facts zero) when the file cannot be found.
bool ReadPhotoFileFacts(const std::string& path, PhotoFileFacts* facts);

/// A new item for a photo DIB of 1, 4, 8, 16, 24 or 32 bits: the record
/// (path, type text, the three values, the photo's depth and size, the
/// thumbnail's size and data length) and the thumbnail sampled by nearest
/// neighbour, always 24 bits. Null when the DIB is not usable (no pixels,
/// sides beyond 16 bits, a block shorter than its rows), the path does not
/// fit the record, or the memory cannot be had.
HGLOBAL MakeAlbumItemFromFacts(HGLOBAL photo, const std::string& path, const std::string& typeText,
                               uint16_t value0, uint16_t value1, uint16_t value2,
                               const PhotoFileFacts& facts);
/// The same, reading the photo file's size and time.
HGLOBAL MakeAlbumItem(HGLOBAL photo, const std::string& path, const std::string& typeText,
                      uint16_t value0, uint16_t value1, uint16_t value2);

/// A new item from a record and its data (an album file's), or null.
HGLOBAL MakeAlbumItemFromRecord(const AlbumRecord& record, const uint8_t* data, size_t length);

/// A new item with the same record and data as `item`, or null.
HGLOBAL CopyAlbumItem(HGLOBAL item);

/// The record of an item; false for a handle that is not an item.
bool ReadItemRecord(HGLOBAL item, AlbumRecord* record);
/// Replaces the record of an item (its data length stays the item's own).
bool WriteItemRecord(HGLOBAL item, const AlbumRecord& record);

/// A new 24-bit DIB holding an item's thumbnail, when its header is sound
/// (40 bytes, 24 bits, uncompressed, sides 1 to 69 that match the record,
/// rows inside the data); else null. The window draws from this copy.
HGLOBAL ItemThumbnailDib(HGLOBAL item);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_ITEM_H
