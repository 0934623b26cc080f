// Atom containers in the QuickTime layout: a 12-byte header (ten zero bytes
// and a lock count), then the root atom 'sean' of id 1. Every atom has a
// 20-byte header: size, type, id, 2 reserved bytes, its child count, 4
// reserved bytes; a leaf's data follows its header, a parent's children do.
// An atom is named by its offset in the container; inserting a child moves
// the atoms after it but never its ancestors.

#include <cstring>
#include <vector>

#include "movie_model.h"

namespace {

constexpr size_t kContainerHeader = 12;
constexpr size_t kAtomHeader = 20;
constexpr uint32_t kRootType = QtFourCC("sean");

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
uint16_t ChildCount(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>((b[at + 14] << 8) | b[at + 15]);
}

// The offsets from the root down to `target`; empty when no atom starts there.
std::vector<size_t> PathTo(const std::vector<uint8_t>& b, size_t target) {
  std::vector<size_t> path;
  size_t at = kContainerHeader;
  while (true) {
    if (at + kAtomHeader > b.size()) return {};
    path.push_back(at);
    if (at == target) return path;
    const size_t end = at + Get32(b, at);
    if (end > b.size() || ChildCount(b, at) == 0) return {};
    size_t child = at + kAtomHeader;
    bool found = false;
    for (uint16_t i = 0; i < ChildCount(b, at) && child < end; ++i) {
      const size_t size = Get32(b, child);
      if (size < kAtomHeader || child + size > end) return {};
      if (target >= child && target < child + size) {
        found = true;
        break;
      }
      child += size;
    }
    if (!found) return {};
    at = child;
  }
}

}  // namespace

QtErr QTL_CALL QtNewAtomContainer(QtHandle* container) {
  auto* h = new (std::nothrow) QtHandleRec;
  if (!h) return kQtMemFull;
  h->bytes.assign(kContainerHeader + kAtomHeader, 0);
  Put32(h->bytes, kContainerHeader, kAtomHeader);
  Put32(h->bytes, kContainerHeader + 4, kRootType);
  Put32(h->bytes, kContainerHeader + 8, 1);
  *container = h;
  return kQtNoErr;
}

QtErr QTL_CALL QtInsertChild(QtHandle container, QtAtom parent, QtType type, int32_t id, int16_t index,
                             int32_t size, const void* data, QtAtom* child) {
  if (!container || size < 0 || id < 0 || index < 0) return kQtParamErr;
  std::vector<uint8_t>& b = container->bytes;
  const size_t parentAt = parent == 0 ? kContainerHeader : static_cast<size_t>(parent);
  const std::vector<size_t> path = PathTo(b, parentAt);
  if (path.empty()) return kQtInvalidAtom;
  const size_t parentSize = Get32(b, parentAt);
  const uint16_t count = ChildCount(b, parentAt);
  if (count == 0 && parentSize > kAtomHeader) return kQtInvalidAtom;  // a leaf holding data
  // Walk the children: pick the place and the lowest free id of this type.
  size_t at = parentAt + kAtomHeader;
  size_t place = parentAt + parentSize;
  int sameType = 0;
  std::vector<int32_t> ids;
  for (uint16_t i = 0; i < count; ++i) {
    if (Get32(b, at + 4) == type) {
      ++sameType;
      if (index > 0 && sameType == index && place == parentAt + parentSize) place = at;
      ids.push_back(static_cast<int32_t>(Get32(b, at + 8)));
    }
    at += Get32(b, at);
  }
  if (id == 0) {
    id = 1;
    for (bool taken = true; taken;) {
      taken = false;
      for (int32_t used : ids)
        if (used == id) taken = true, ++id;
    }
  } else {
    for (int32_t used : ids)
      if (used == id) return -2113;  // an atom of this type and id exists
  }
  std::vector<uint8_t> atom(kAtomHeader + static_cast<size_t>(size), 0);
  Put32(atom, 0, static_cast<uint32_t>(atom.size()));
  Put32(atom, 4, type);
  Put32(atom, 8, static_cast<uint32_t>(id));
  if (size > 0 && data) std::memcpy(atom.data() + kAtomHeader, data, static_cast<size_t>(size));
  b.insert(b.begin() + place, atom.begin(), atom.end());
  for (size_t ancestor : path) Put32(b, ancestor, Get32(b, ancestor) + static_cast<uint32_t>(atom.size()));
  b[parentAt + 14] = static_cast<uint8_t>((count + 1) >> 8);
  b[parentAt + 15] = static_cast<uint8_t>(count + 1);
  if (child) *child = static_cast<QtAtom>(place);
  return kQtNoErr;
}

QtErr QTL_CALL QtGetAtomTypeAndID(QtHandle container, QtAtom atom, QtType* type, int32_t* id) {
  if (!container) return kQtParamErr;
  const size_t at = atom == 0 ? kContainerHeader : static_cast<size_t>(atom);
  if (PathTo(container->bytes, at).empty()) return kQtInvalidAtom;
  if (type) *type = Get32(container->bytes, at + 4);
  if (id) *id = static_cast<int32_t>(Get32(container->bytes, at + 8));
  return kQtNoErr;
}

QtErr QTL_CALL QtDisposeAtomContainer(QtHandle container) {
  delete container;
  return kQtNoErr;
}
