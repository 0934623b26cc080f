// Querying DIBs, whole-block copies, allocation with the memory message, and
// the small helpers of the image operations.
#include <cstring>

#include "dib_access.h"
#include "image_ops.h"

namespace vmd {

#if defined(_WIN32)
void ShowMemoryMessageBox();  // dib_win.cpp
#endif

namespace {

void DefaultMemoryMessage() {
#if defined(_WIN32)
  ShowMemoryMessageBox();
#endif
}

MemoryMessageFn g_memoryMessage = DefaultMemoryMessage;
bool g_escapeCancels = false;

}  // namespace

int DibSize(HGLOBAL dib, int* width, int* height) {
  if (dib == nullptr) return 0;
  void* block = GlobalLock(dib);
  if (block == nullptr) return 0;
  if (GlobalSize(dib) < sizeof(BITMAPINFOHEADER)) {
    GlobalUnlock(dib);
    return 0;
  }
  const auto* header = static_cast<const BITMAPINFOHEADER*>(block);
  if (width != nullptr) *width = static_cast<WORD>(header->biWidth);
  if (height != nullptr) *height = static_cast<WORD>(header->biHeight);
  GlobalUnlock(dib);
  return 1;
}

int IsGrayDib(HGLOBAL dib) {
  LockedDib d(dib);
  return d.ok && d.IsGray() ? 1 : 0;
}

int DibKind(HGLOBAL dib) {
  LockedDib d(dib);
  if (!d.ok) return kDibOther;
  switch (d.bitCount) {
    case 24:
      return kDibRgb24;
    case 8:
      return d.IsGray() ? kDibGray8 : kDibPalette8;
    case 4:
      return kDibPalette4;
    case 1:
      return kDibPalette1;
    default:
      return kDibOther;
  }
}

HGLOBAL DuplicateDib(HGLOBAL dib) { return CopyBlockPart(nullptr, dib, 0, 0); }

HGLOBAL CopyBlockPart(HGLOBAL target, HGLOBAL source, size_t offset, size_t length) {
  if (source == nullptr) return nullptr;
  size_t sourceSize = GlobalSize(source);
  if (offset > sourceSize) return nullptr;
  if (length == 0) length = sourceSize - offset;
  if (length > sourceSize - offset) return nullptr;
  HGLOBAL out = target;
  if (out == nullptr) {
    // A whole copy keeps the block's size exactly; the memory message comes as
    // for every image block.
    out = GlobalAlloc(GHND, length);
    if (out == nullptr) {
      g_memoryMessage();
      return nullptr;
    }
  } else if (GlobalSize(out) < length) {
    return nullptr;
  }
  const auto* from = static_cast<const uint8_t*>(GlobalLock(source));
  auto* to = static_cast<uint8_t*>(GlobalLock(out));
  if (from != nullptr && to != nullptr && length > 0) std::memcpy(to, from + offset, length);
  if (from != nullptr) GlobalUnlock(source);
  if (to != nullptr) GlobalUnlock(out);
  if (from == nullptr || to == nullptr) {
    if (target == nullptr) GlobalFree(out);
    return nullptr;
  }
  return out;
}

HGLOBAL AllocImageBlock(size_t size) {
  HGLOBAL block = nullptr;
  if (size <= SIZE_MAX - 10) block = GlobalAlloc(GHND, size + 10);
  if (block == nullptr) g_memoryMessage();
  return block;
}

MemoryMessageFn SetMemoryMessageHandler(MemoryMessageFn handler) {
  MemoryMessageFn previous = g_memoryMessage;
  g_memoryMessage = handler != nullptr ? handler : DefaultMemoryMessage;
  return previous;
}

void SetEscapeCancels(bool enabled) { g_escapeCancels = enabled; }

int EscapePressed() {
  if (!g_escapeCancels) return 0;
  return GetAsyncKeyState(VK_ESCAPE) != 0 ? 1 : 0;
}

bool PointInRect(POINT point, const RECT& rect) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
         point.y < rect.bottom;
}

bool RectInside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

}  // namespace vmd
