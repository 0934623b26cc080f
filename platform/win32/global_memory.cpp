// Movable global memory for the native build. Handles are entries of a table,
// not addresses, so code that treats a handle as a pointer, forgets to lock, or
// frees twice fails here as it would on Windows.
#include "win32_subset.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

struct VmdGlobalBlock {
  unsigned char* bytes;
  size_t size;
  unsigned lockCount;
};

namespace {

std::mutex& TableMutex() {
  static std::mutex m;
  return m;
}

// Owned by the table: each live handle maps to its block record.
std::unordered_map<HGLOBAL, VmdGlobalBlock*>& Table() {
  static auto* table = new std::unordered_map<HGLOBAL, VmdGlobalBlock*>();
  return *table;
}

std::atomic<int> g_allocationsBeforeFailure{-1};

// Handles are numbers handed out from a counter, never addresses.
uintptr_t g_nextHandle = 0x10000;

bool ShouldFailAllocation() {
  int left = g_allocationsBeforeFailure.load();
  while (left >= 0) {
    if (left == 0) return true;
    if (g_allocationsBeforeFailure.compare_exchange_weak(left, left - 1)) return false;
  }
  return false;
}

VmdGlobalBlock* Find(HGLOBAL handle) {
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : it->second;
}

// Blocks above 1 GiB are refused, as a 32-bit process would refuse them.
constexpr size_t kLargestBlock = size_t(1) << 30;

}  // namespace

extern "C" {

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes > kLargestBlock || ShouldFailAllocation()) return nullptr;
  auto* block = new (std::nothrow) VmdGlobalBlock{nullptr, bytes, 0};
  if (!block) return nullptr;
  // malloc(0) may return null; a zero-size block still gets a distinct address.
  block->bytes = static_cast<unsigned char*>(std::malloc(bytes ? bytes : 1));
  if (!block->bytes) {
    delete block;
    return nullptr;
  }
  if (flags & GMEM_ZEROINIT) std::memset(block->bytes, 0, bytes);
  std::lock_guard<std::mutex> lock(TableMutex());
  g_nextHandle += 16;
  auto handle = reinterpret_cast<HGLOBAL>(g_nextHandle);
  Table()[handle] = block;
  return handle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  VmdGlobalBlock* block;
  {
    std::lock_guard<std::mutex> lock(TableMutex());
    block = Find(handle);
    if (!block) return handle;
    Table().erase(handle);
  }
  std::free(block->bytes);
  delete block;
  return nullptr;
}

LPVOID GlobalLock(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(TableMutex());
  VmdGlobalBlock* block = Find(handle);
  if (!block) return nullptr;
  if (block->lockCount < 0xFF) ++block->lockCount;
  return block->bytes;
}

BOOL GlobalUnlock(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(TableMutex());
  VmdGlobalBlock* block = Find(handle);
  if (!block || block->lockCount == 0) return FALSE;
  --block->lockCount;
  return block->lockCount != 0;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(TableMutex());
  VmdGlobalBlock* block = Find(handle);
  return block ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(TableMutex());
  VmdGlobalBlock* block = Find(handle);
  return block ? (block->lockCount & GMEM_LOCKCOUNT) : GMEM_INVALID_HANDLE;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
  if (bytes > kLargestBlock || ShouldFailAllocation()) return nullptr;
  std::lock_guard<std::mutex> lock(TableMutex());
  VmdGlobalBlock* block = Find(handle);
  if (!block) return nullptr;
  auto* grown = static_cast<unsigned char*>(std::realloc(block->bytes, bytes ? bytes : 1));
  if (!grown) return nullptr;
  if ((flags & GMEM_ZEROINIT) && bytes > block->size)
    std::memset(grown + block->size, 0, bytes - block->size);
  block->bytes = grown;
  block->size = bytes;
  return handle;
}

void VmdSubsetFailAllocationsAfter(int count) { g_allocationsBeforeFailure.store(count); }

long VmdSubsetLiveBlocks() {
  std::lock_guard<std::mutex> lock(TableMutex());
  return static_cast<long>(Table().size());
}

}  // extern "C"
