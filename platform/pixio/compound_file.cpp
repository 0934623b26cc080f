#include "compound_file.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "reader.h"

namespace pixio {

namespace {

constexpr uint32_t kFree = 0xFFFFFFFFu;
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFatSector = 0xFFFFFFFDu;
constexpr uint32_t kDifatSector = 0xFFFFFFFCu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint32_t U32At(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

/// The order the format keeps siblings in: shorter names first, then by
/// upper-cased code units.
int CompareNames(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    const char16_t x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace

ClassId ClassId::Make(uint32_t d1, uint16_t d2, uint16_t d3, const uint8_t d4[8]) {
  ClassId id;
  for (int i = 0; i < 4; ++i) id.bytes[i] = static_cast<uint8_t>(d1 >> (8 * i));
  id.bytes[4] = static_cast<uint8_t>(d2);
  id.bytes[5] = static_cast<uint8_t>(d2 >> 8);
  id.bytes[6] = static_cast<uint8_t>(d3);
  id.bytes[7] = static_cast<uint8_t>(d3 >> 8);
  std::memcpy(id.bytes + 8, d4, 8);
  return id;
}

bool ClassId::operator==(const ClassId& o) const { return std::memcmp(bytes, o.bytes, 16) == 0; }

bool CompoundFileReader::Open(const uint8_t* data, size_t size) {
  data_ = data;
  size_ = size;
  if (size < 512 || std::memcmp(data, kSignature, 8) != 0) return false;
  Reader h(data, 512);
  h.Seek(26);
  const uint16_t major = h.U16LE();
  const uint16_t order = h.U16LE();
  const uint16_t shift = h.U16LE();
  const uint16_t miniShift = h.U16LE();
  if (order != 0xFFFE || miniShift != 6) return false;
  if (!((major == 3 && shift == 9) || (major == 4 && shift == 12))) return false;
  sectorSize_ = size_t(1) << shift;
  miniSectorSize_ = 64;
  h.Seek(44);
  const uint32_t fatCount = h.U32LE();
  const uint32_t firstDir = h.U32LE();
  h.U32LE();
  miniCutoff_ = h.U32LE();
  const uint32_t firstMiniFat = h.U32LE();
  h.U32LE();
  uint32_t difatNext = h.U32LE();
  const uint32_t difatCount = h.U32LE();
  if (h.Failed() || miniCutoff_ != 4096) return false;
  if (size < sectorSize_) return false;
  const size_t sectors = (size - sectorSize_ + sectorSize_ - 1) / sectorSize_;
  const size_t perSector = sectorSize_ / 4;
  if (fatCount > sectors) return false;

  // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain.
  std::vector<uint32_t> fatSectors;
  for (uint32_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i) {
    fatSectors.push_back(U32At(data + 76 + 4 * i));
  }
  for (uint32_t d = 0; d < difatCount && fatSectors.size() < fatCount; ++d) {
    if (difatNext >= sectors) return false;
    const uint8_t* s = data + (size_t(difatNext) + 1) * sectorSize_;
    if ((size_t(difatNext) + 2) * sectorSize_ > size) return false;
    for (size_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i) {
      fatSectors.push_back(U32At(s + 4 * i));
    }
    difatNext = U32At(s + 4 * (perSector - 1));
  }
  if (fatSectors.size() != fatCount) return false;
  try {
    fat_.clear();
    fat_.reserve(size_t(fatCount) * perSector);
    for (uint32_t s : fatSectors) {
      if (s >= sectors || (size_t(s) + 2) * sectorSize_ > size) return false;
      const uint8_t* p = data + (size_t(s) + 1) * sectorSize_;
      for (size_t i = 0; i < perSector; ++i) fat_.push_back(U32At(p + 4 * i));
    }
    // Only sectors that exist may appear in chains.
    if (fat_.size() > sectors) fat_.resize(sectors);

    std::vector<uint8_t> dir;
    if (!ReadChain(fat_, firstDir, sectorSize_, data_ + sectorSize_, size_ - sectorSize_,
                   UINT64_MAX, &dir))
      return false;
    entries_.clear();
    for (size_t off = 0; off + 128 <= dir.size(); off += 128) {
      const uint8_t* e = dir.data() + off;
      Entry entry;
      const int nameBytes = e[64] | (e[65] << 8);
      if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0) {
        for (int i = 0; i + 2 < nameBytes; i += 2) entry.name.push_back(char16_t(e[i] | (e[i + 1] << 8)));
      }
      entry.type = e[66];
      entry.left = U32At(e + 68);
      entry.right = U32At(e + 72);
      entry.child = U32At(e + 76);
      std::memcpy(entry.clsid.bytes, e + 80, 16);
      entry.start = U32At(e + 116);
      entry.size = U32At(e + 120);
      if (major == 4) entry.size |= uint64_t(U32At(e + 124)) << 32;
      entries_.push_back(entry);
    }
    if (entries_.empty() || entries_[0].type != 5) return false;
    miniFat_.clear();
    std::vector<uint8_t> miniFatBytes;
    if (firstMiniFat != kEndOfChain && firstMiniFat != kFree) {
      if (!ReadChain(fat_, firstMiniFat, sectorSize_, data_ + sectorSize_, size_ - sectorSize_,
                     UINT64_MAX, &miniFatBytes))
        return false;
      for (size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4) miniFat_.push_back(U32At(&miniFatBytes[i]));
    }
    miniStream_.clear();
    if (entries_[0].size > 0) {
      if (!ReadChain(fat_, entries_[0].start, sectorSize_, data_ + sectorSize_, size_ - sectorSize_,
                     entries_[0].size, &miniStream_))
        return false;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool CompoundFileReader::Chain(const std::vector<uint32_t>& table, uint32_t first,
                               std::vector<uint32_t>* out) const {
  out->clear();
  uint32_t s = first;
  while (s != kEndOfChain) {
    if (s >= table.size() || out->size() >= table.size()) return false;  // broken or looping
    out->push_back(s);
    s = table[s];
  }
  return true;
}

bool CompoundFileReader::ReadChain(const std::vector<uint32_t>& table, uint32_t first, size_t unit,
                                   const uint8_t* base, size_t baseSize, uint64_t length,
                                   std::vector<uint8_t>* out) const {
  std::vector<uint32_t> chain;
  if (!Chain(table, first, &chain)) return false;
  const uint64_t available = uint64_t(chain.size()) * unit;
  if (length != UINT64_MAX && length > available) return false;
  const size_t total = static_cast<size_t>(length == UINT64_MAX ? available : length);
  out->clear();
  out->reserve(total);
  for (uint32_t s : chain) {
    if (out->size() >= total) break;
    const size_t offset = size_t(s) * unit;
    const size_t take = std::min(unit, total - out->size());
    if (offset > baseSize || take > baseSize - offset) return false;
    out->insert(out->end(), base + offset, base + offset + take);
  }
  return out->size() == total;
}

bool CompoundFileReader::Find(uint32_t parent, const std::u16string& name, uint32_t* entry) const {
  if (parent >= entries_.size()) return false;
  // Walk every sibling rather than trusting the tree's order; a visited mark
  // keeps a cyclic tree from looping.
  std::vector<bool> seen(entries_.size(), false);
  std::vector<uint32_t> stack{entries_[parent].child};
  while (!stack.empty()) {
    const uint32_t id = stack.back();
    stack.pop_back();
    if (id >= entries_.size() || seen[id]) continue;
    seen[id] = true;
    const Entry& e = entries_[id];
    if (CompareNames(e.name, name) == 0 && (e.type == 1 || e.type == 2)) {
      *entry = id;
      return true;
    }
    stack.push_back(e.left);
    stack.push_back(e.right);
  }
  return false;
}

ClassId CompoundFileReader::ClassOf(uint32_t entry) const {
  return entry < entries_.size() ? entries_[entry].clsid : ClassId();
}

bool CompoundFileReader::IsStream(uint32_t entry) const {
  return entry < entries_.size() && entries_[entry].type == 2;
}

bool CompoundFileReader::ReadStream(uint32_t entry, std::vector<uint8_t>* out, size_t limit) const {
  if (!IsStream(entry)) return false;
  const Entry& e = entries_[entry];
  if (e.size > limit) return false;
  try {
    if (e.size == 0) {
      out->clear();
      return true;
    }
    if (e.size < miniCutoff_) {
      return ReadChain(miniFat_, e.start, miniSectorSize_, miniStream_.data(), miniStream_.size(),
                       e.size, out);
    }
    return ReadChain(fat_, e.start, sectorSize_, data_ + sectorSize_, size_ - sectorSize_, e.size,
                     out);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

CompoundFileWriter::CompoundFileWriter() {
  Node root;
  root.name = u"Root Entry";
  root.type = 5;
  nodes_.push_back(root);
}

int CompoundFileWriter::AddStorage(int parent, const std::u16string& name, const ClassId& clsid) {
  Node n;
  n.name = name;
  n.type = 1;
  n.clsid = clsid;
  nodes_.push_back(n);
  const int id = static_cast<int>(nodes_.size() - 1);
  nodes_[parent].children.push_back(id);
  return id;
}

void CompoundFileWriter::AddStream(int parent, const std::u16string& name, std::vector<uint8_t> bytes) {
  Node n;
  n.name = name;
  n.type = 2;
  n.bytes = std::move(bytes);
  nodes_.push_back(std::move(n));
  nodes_[parent].children.push_back(static_cast<int>(nodes_.size() - 1));
}

void CompoundFileWriter::SetRootClass(const ClassId& clsid) { nodes_[0].clsid = clsid; }

bool CompoundFileWriter::Finish(std::vector<uint8_t>* out) {
  constexpr size_t kSector = 512;
  constexpr size_t kPer = kSector / 4;
  // Sibling trees: balanced from the sorted children; when the deepest level
  // is incomplete its nodes are red, which keeps every path's black count equal.
  for (Node& storage : nodes_) {
    std::vector<int> kids = storage.children;
    if (kids.empty()) continue;
    std::sort(kids.begin(), kids.end(),
              [&](int a, int b) { return CompareNames(nodes_[a].name, nodes_[b].name) < 0; });
    int maxDepth = 0;
    std::function<uint32_t(int, int, int)> build = [&](int lo, int hi, int depth) -> uint32_t {
      if (lo > hi) return kNoStream;
      const int mid = (lo + hi) / 2;
      Node& n = nodes_[kids[mid]];
      maxDepth = std::max(maxDepth, depth);
      n.left = build(lo, mid - 1, depth + 1);
      nodes_[kids[mid]].right = build(mid + 1, hi, depth + 1);
      return static_cast<uint32_t>(kids[mid]);
    };
    storage.child = build(0, static_cast<int>(kids.size()) - 1, 0);
    const size_t full = (size_t(1) << (maxDepth + 1)) - 1;
    if (maxDepth > 0 && kids.size() != full) {
      std::function<void(uint32_t, int)> paint = [&](uint32_t id, int depth) {
        if (id == kNoStream) return;
        nodes_[id].red = depth == maxDepth;
        paint(nodes_[id].left, depth + 1);
        paint(nodes_[id].right, depth + 1);
      };
      paint(storage.child, 0);
    }
  }

  // Small streams go to the mini stream, 64 bytes a unit.
  std::vector<uint8_t> mini;
  std::vector<uint32_t> miniFat;
  std::vector<int> big;
  for (size_t i = 1; i < nodes_.size(); ++i) {
    Node& n = nodes_[i];
    if (n.type != 2) continue;
    n.size = n.bytes.size();
    if (n.size > 0xFFFFFFFFu) return false;
    if (n.size == 0) {
      n.start = kEndOfChain;
    } else if (n.size < 4096) {
      const size_t units = (n.bytes.size() + 63) / 64;
      n.start = static_cast<uint32_t>(miniFat.size());
      for (size_t u = 0; u < units; ++u) {
        miniFat.push_back(u + 1 < units ? static_cast<uint32_t>(miniFat.size() + 1) : kEndOfChain);
      }
      mini.insert(mini.end(), n.bytes.begin(), n.bytes.end());
      mini.resize(miniFat.size() * 64, 0);
    } else {
      big.push_back(static_cast<int>(i));
    }
  }
  auto sectorsFor = [](size_t bytes) { return (bytes + kSector - 1) / kSector; };
  // Layout: big streams, mini stream, directory, mini FAT, DIFAT, FAT.
  size_t next = 0;
  for (int id : big) {
    nodes_[id].start = static_cast<uint32_t>(next);
    next += sectorsFor(nodes_[id].bytes.size());
  }
  const size_t miniStart = next;
  const size_t miniSectors = sectorsFor(mini.size());
  next += miniSectors;
  nodes_[0].start = miniSectors ? static_cast<uint32_t>(miniStart) : kEndOfChain;
  nodes_[0].size = mini.size();
  const size_t dirStart = next;
  const size_t dirSectors = sectorsFor(nodes_.size() * 128);
  next += dirSectors;
  const size_t miniFatStart = next;
  const size_t miniFatSectors = sectorsFor(miniFat.size() * 4);
  next += miniFatSectors;
  size_t fatSectors = 1, difatSectors = 0;
  for (;;) {
    const size_t total = next + fatSectors + difatSectors;
    const size_t needFat = (total + kPer - 1) / kPer;
    const size_t needDifat = needFat > 109 ? (needFat - 109 + kPer - 2) / (kPer - 1) : 0;
    if (needFat == fatSectors && needDifat == difatSectors) break;
    fatSectors = needFat;
    difatSectors = needDifat;
  }
  const size_t difatStart = next;
  const size_t fatStart = difatStart + difatSectors;
  const size_t totalSectors = fatStart + fatSectors;
  if (totalSectors >= 0xFFFFFFF0u) return false;

  std::vector<uint32_t> fat(fatSectors * kPer, kFree);
  auto chain = [&](size_t first, size_t count) {
    for (size_t s = 0; s < count; ++s) {
      fat[first + s] = s + 1 < count ? static_cast<uint32_t>(first + s + 1) : kEndOfChain;
    }
  };
  for (int id : big) chain(nodes_[id].start, sectorsFor(nodes_[id].bytes.size()));
  chain(miniStart, miniSectors);
  chain(dirStart, dirSectors);
  chain(miniFatStart, miniFatSectors);
  for (size_t s = 0; s < difatSectors; ++s) fat[difatStart + s] = kDifatSector;
  for (size_t s = 0; s < fatSectors; ++s) fat[fatStart + s] = kFatSector;

  Writer w(out);
  try {
    out->reserve(out->size() + (totalSectors + 1) * kSector);
    // Header.
    w.Put(kSignature, 8);
    w.Fill(0, 16);
    w.U16LE(0x003E);
    w.U16LE(3);
    w.U16LE(0xFFFE);
    w.U16LE(9);
    w.U16LE(6);
    w.Fill(0, 6);
    w.U32LE(0);
    w.U32LE(static_cast<uint32_t>(fatSectors));
    w.U32LE(static_cast<uint32_t>(dirStart));
    w.U32LE(0);
    w.U32LE(4096);
    w.U32LE(miniFatSectors ? static_cast<uint32_t>(miniFatStart) : kEndOfChain);
    w.U32LE(static_cast<uint32_t>(miniFatSectors));
    w.U32LE(difatSectors ? static_cast<uint32_t>(difatStart) : kEndOfChain);
    w.U32LE(static_cast<uint32_t>(difatSectors));
    for (size_t i = 0; i < 109; ++i) w.U32LE(i < fatSectors ? static_cast<uint32_t>(fatStart + i) : kFree);
    auto pad = [&]() { w.Fill(0, (kSector - w.Size() % kSector) % kSector); };
    for (int id : big) {
      w.Put(nodes_[id].bytes.data(), nodes_[id].bytes.size());
      pad();
    }
    w.Put(mini.data(), mini.size());
    pad();
    for (const Node& n : nodes_) {
      uint8_t e[128] = {};
      const size_t chars = std::min<size_t>(n.name.size(), 31);
      for (size_t i = 0; i < chars; ++i) {
        e[2 * i] = static_cast<uint8_t>(n.name[i]);
        e[2 * i + 1] = static_cast<uint8_t>(n.name[i] >> 8);
      }
      const size_t nameBytes = (chars + 1) * 2;
      e[64] = static_cast<uint8_t>(nameBytes);
      e[66] = static_cast<uint8_t>(n.type);
      e[67] = n.red ? 0 : 1;
      auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) e[at + i] = static_cast<uint8_t>(v >> (8 * i));
      };
      put32(68, n.left);
      put32(72, n.right);
      put32(76, n.child);
      std::memcpy(e + 80, n.clsid.bytes, 16);
      put32(116, n.type == 1 ? 0 : n.start);
      put32(120, static_cast<uint32_t>(n.type == 1 ? 0 : n.size));
      w.Put(e, sizeof e);
    }
    for (size_t i = nodes_.size(); i < dirSectors * 4; ++i) {
      uint8_t e[128] = {};
      std::memset(e + 68, 0xFF, 12);
      w.Put(e, sizeof e);
    }
    for (uint32_t v : miniFat) w.U32LE(v);
    for (size_t i = miniFat.size(); i < miniFatSectors * kPer; ++i) w.U32LE(kFree);
    for (size_t d = 0; d < difatSectors; ++d) {
      for (size_t i = 0; i + 1 < kPer; ++i) {
        const size_t k = 109 + d * (kPer - 1) + i;
        w.U32LE(k < fatSectors ? static_cast<uint32_t>(fatStart + k) : kFree);
      }
      w.U32LE(d + 1 < difatSectors ? static_cast<uint32_t>(difatStart + d + 1) : kEndOfChain);
    }
    for (uint32_t v : fat) w.U32LE(v);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace pixio
