#ifndef APP_SKIN_PALM_CONTAINER_H
#define APP_SKIN_PALM_CONTAINER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vmd {

/// The "PALM" container shared by album files and skin files: a 144-byte
/// header, fixed 288-byte records, then a data area holding each record's
/// bytes in record order. All integers are little-endian.
///
/// Header: 0 "PALM"; 4 total length; 8 record count; 12 start of the data area
/// (144 + 288 x count); 32 page count; 36 + 4k first record of page k.
/// Record: 272 offset of its data from the start of the data area; 280 length
/// of its data. Every other record byte belongs to the container's user.
constexpr size_t kPalmHeaderSize = 144;
constexpr size_t kPalmRecordSize = 288;
constexpr int kPalmMaxRecords = 1000;
constexpr int kPalmMaxPages = 27;  ///< page starts end before byte 144
constexpr size_t kPalmDataOffsetField = 272;
constexpr size_t kPalmDataLengthField = 280;

/// Little-endian field access inside a record or header.
uint16_t ReadU16(const uint8_t* bytes, size_t offset);
uint32_t ReadU32(const uint8_t* bytes, size_t offset);
void WriteU16(uint8_t* bytes, size_t offset, uint16_t value);
void WriteU32(uint8_t* bytes, size_t offset, uint32_t value);

/// One record with its data. `fields` holds all 288 bytes as stored; the
/// data offset and length fields are filled in by WritePalmContainer.
struct PalmRecord {
  uint8_t fields[kPalmRecordSize] = {};
  std::vector<uint8_t> data;
};

/// A whole container in memory.
struct PalmContainer {
  std::vector<PalmRecord> records;
  /// First record index of each page (empty for album files).
  std::vector<uint32_t> pageStarts;
};

enum class PalmReadResult {
  kComplete,     ///< every record up to the count (at most 1000) was read
  kPartial,      ///< a record or its data ran past the end: the sound ones before it were kept
  kNotContainer  ///< shorter than the header or without "PALM": nothing read
};

/// Reads a container from `size` bytes. The header's count is used up to
/// 1000; each record's data is found after all the header's records (its own
/// count, not the limited one) at the record's offset. Reading stops at the
/// first record whose 288 bytes or data lie outside the buffer. Page starts
/// past the records read are dropped, as are pages that do not ascend.
PalmReadResult ReadPalmContainer(const uint8_t* bytes, size_t size, PalmContainer* out);

/// The file bytes of `container`: the header (total length, count, data
/// start, page table), the records with their data offsets and lengths set,
/// then the data in record order. Returns false (and leaves `out` empty) when
/// there are more than 1000 records or 27 pages, or a page start lies past
/// the records.
bool WritePalmContainer(const PalmContainer& container, std::vector<uint8_t>* out);

/// The records [first, end) of page `page`: up to the next page's start, the
/// last page up to the record count. Returns false for a page that does not
/// exist.
bool PalmPageRange(const PalmContainer& container, size_t page, size_t* first, size_t* end);

/// Reads a whole file into `bytes`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

/// Writes `bytes` to `path` through a temporary file beside it that then
/// replaces the old file, so that a failed write never destroys the previous
/// file. False when the file could not be written.
bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vmd

#endif  // APP_SKIN_PALM_CONTAINER_H
