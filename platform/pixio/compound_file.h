#ifndef PLATFORM_PIXIO_COMPOUND_FILE_H
#define PLATFORM_PIXIO_COMPOUND_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pixio {

/// A 16-byte class id in its stored byte order.
struct ClassId {
  uint8_t bytes[16] = {};
  /// From the usual text form's fields: data1-data2-data3-data4[8].
  static ClassId Make(uint32_t d1, uint16_t d2, uint16_t d3, const uint8_t d4[8]);
  bool operator==(const ClassId& o) const;
};

/// Reads a compound file (OLE structured storage, version 3 or 4) held in
/// memory. Every sector chain, directory walk and stream length is bounded,
/// so a hostile file cannot loop or read outside the buffer.
class CompoundFileReader {
 public:
  /// False when the header, the allocation tables or the directory are bad.
  bool Open(const uint8_t* data, size_t size);
  /// Directory entry of the root storage (0).
  static constexpr uint32_t kRoot = 0;
  /// The child named `name` (compared without case, as the format says) of
  /// the storage `parent`; false when there is none.
  bool Find(uint32_t parent, const std::u16string& name, uint32_t* entry) const;
  /// The stored class id of an entry.
  ClassId ClassOf(uint32_t entry) const;
  /// True when the entry is a stream.
  bool IsStream(uint32_t entry) const;
  /// A stream's bytes (at most `limit`); false when its chain is broken.
  bool ReadStream(uint32_t entry, std::vector<uint8_t>* out, size_t limit) const;

 private:
  struct Entry {
    std::u16string name;
    int type = 0;
    uint32_t left = 0xFFFFFFFFu, right = 0xFFFFFFFFu, child = 0xFFFFFFFFu;
    ClassId clsid;
    uint32_t start = 0;
    uint64_t size = 0;
  };
  bool Chain(const std::vector<uint32_t>& table, uint32_t first, std::vector<uint32_t>* out) const;
  bool ReadChain(const std::vector<uint32_t>& table, uint32_t first, size_t unit,
                 const uint8_t* base, size_t baseSize, uint64_t length,
                 std::vector<uint8_t>* out) const;

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t sectorSize_ = 512;
  size_t miniSectorSize_ = 64;
  uint32_t miniCutoff_ = 4096;
  std::vector<uint32_t> fat_;
  std::vector<uint32_t> miniFat_;
  std::vector<Entry> entries_;
  std::vector<uint8_t> miniStream_;
};

/// Builds a version 3 compound file (512-byte sectors) in memory: storages and
/// streams in a tree, streams under 4096 bytes in the mini stream.
class CompoundFileWriter {
 public:
  CompoundFileWriter();
  /// Adds a storage under `parent` (0 is the root); returns its id.
  int AddStorage(int parent, const std::u16string& name, const ClassId& clsid);
  /// Adds a stream under `parent` with its contents.
  void AddStream(int parent, const std::u16string& name, std::vector<uint8_t> bytes);
  /// Sets the root storage's class id.
  void SetRootClass(const ClassId& clsid);
  /// The whole file; false when it would not fit the format's limits.
  bool Finish(std::vector<uint8_t>* out);

 private:
  struct Node {
    std::u16string name;
    int type;  // 1 storage, 2 stream, 5 root
    ClassId clsid;
    std::vector<uint8_t> bytes;
    std::vector<int> children;
    uint32_t left = 0xFFFFFFFFu, right = 0xFFFFFFFFu, child = 0xFFFFFFFFu;
    bool red = false;
    uint32_t start = 0xFFFFFFFEu;
    uint64_t size = 0;
  };
  std::vector<Node> nodes_;
};

}  // namespace pixio

#endif  // PLATFORM_PIXIO_COMPOUND_FILE_H
