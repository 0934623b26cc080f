#include "palm_container.h"

#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vmd {

namespace {

constexpr uint8_t kMagic[4] = {'P', 'A', 'L', 'M'};
constexpr size_t kCountField = 8;
constexpr size_t kPageCountField = 32;
constexpr size_t kPageTableField = 36;

}  // namespace

uint16_t ReadU16(const uint8_t* bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

uint32_t ReadU32(const uint8_t* bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

void WriteU16(uint8_t* bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void WriteU32(uint8_t* bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

PalmReadResult ReadPalmContainer(const uint8_t* bytes, size_t size, PalmContainer* out) {
  out->records.clear();
  out->pageStarts.clear();
  if (bytes == nullptr || size < kPalmHeaderSize || std::memcmp(bytes, kMagic, 4) != 0)
    return PalmReadResult::kNotContainer;

  const uint32_t headerCount = ReadU32(bytes, kCountField);
  const uint32_t count = headerCount < kPalmMaxRecords ? headerCount : kPalmMaxRecords;
  // The data area starts after every record the header announces, even those
  // past the limit; computed in 64 bits so a hostile count cannot wrap it.
  const uint64_t dataStart = kPalmHeaderSize + uint64_t{kPalmRecordSize} * headerCount;

  PalmReadResult result = PalmReadResult::kComplete;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = kPalmHeaderSize + uint64_t{kPalmRecordSize} * i;
    if (at + kPalmRecordSize > size) {
      result = PalmReadResult::kPartial;
      break;
    }
    PalmRecord record;
    std::memcpy(record.fields, bytes + at, kPalmRecordSize);
    const uint64_t dataAt = dataStart + ReadU32(record.fields, kPalmDataOffsetField);
    const uint64_t length = ReadU32(record.fields, kPalmDataLengthField);
    if (dataAt > size || length > size - dataAt) {
      result = PalmReadResult::kPartial;
      break;
    }
    record.data.assign(bytes + dataAt, bytes + dataAt + length);
    out->records.push_back(std::move(record));
  }

  const uint32_t pages = ReadU32(bytes, kPageCountField);
  uint32_t previous = 0;
  for (uint32_t k = 0; k < pages && k < kPalmMaxPages; ++k) {
    const uint32_t first = ReadU32(bytes, kPageTableField + 4 * k);
    if (first > out->records.size() || first < previous) break;
    out->pageStarts.push_back(first);
    previous = first;
  }
  return result;
}

bool WritePalmContainer(const PalmContainer& container, std::vector<uint8_t>* out) {
  out->clear();
  const size_t count = container.records.size();
  if (count > kPalmMaxRecords || container.pageStarts.size() > kPalmMaxPages) return false;
  for (uint32_t first : container.pageStarts)
    if (first > count) return false;

  uint64_t dataLength = 0;
  for (const PalmRecord& record : container.records) dataLength += record.data.size();
  const uint64_t dataStart = kPalmHeaderSize + uint64_t{kPalmRecordSize} * count;
  const uint64_t total = dataStart + dataLength;
  if (total > UINT32_MAX) return false;

  std::vector<uint8_t> file(static_cast<size_t>(total), 0);
  std::memcpy(file.data(), kMagic, 4);
  WriteU32(file.data(), 4, static_cast<uint32_t>(total));
  WriteU32(file.data(), kCountField, static_cast<uint32_t>(count));
  WriteU32(file.data(), 12, static_cast<uint32_t>(dataStart));
  WriteU32(file.data(), kPageCountField, static_cast<uint32_t>(container.pageStarts.size()));
  for (size_t k = 0; k < container.pageStarts.size(); ++k)
    WriteU32(file.data(), kPageTableField + 4 * k, container.pageStarts[k]);

  uint32_t offset = 0;
  for (size_t i = 0; i < count; ++i) {
    const PalmRecord& record = container.records[i];
    uint8_t* fields = file.data() + kPalmHeaderSize + kPalmRecordSize * i;
    std::memcpy(fields, record.fields, kPalmRecordSize);
    WriteU32(fields, kPalmDataOffsetField, offset);
    WriteU32(fields, kPalmDataLengthField, static_cast<uint32_t>(record.data.size()));
    if (!record.data.empty())
      std::memcpy(file.data() + dataStart + offset, record.data.data(), record.data.size());
    offset += static_cast<uint32_t>(record.data.size());
  }
  out->swap(file);
  return true;
}

bool PalmPageRange(const PalmContainer& container, size_t page, size_t* first, size_t* end) {
  if (page >= container.pageStarts.size()) return false;
  *first = container.pageStarts[page];
  *end = page + 1 < container.pageStarts.size() ? container.pageStarts[page + 1]
                                                : container.records.size();
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(size));
    ok = size == 0 || std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
  }
  std::fclose(file);
  if (!ok) bytes->clear();
  return ok;
}

bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes) {
#if defined(_WIN32)
  // A read-only file is not replaced (Wine would let the rename through).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
#endif
  const std::string temporary = path + ".new";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  if (ok) {
#if defined(_WIN32)
    ok = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    ok = std::rename(temporary.c_str(), path.c_str()) == 0;
#endif
  }
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

}  // namespace vmd
