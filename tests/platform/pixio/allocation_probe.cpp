#include "allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> g_largest{0};

}  // namespace

namespace pixio_test {

void ResetLargestAllocation() { g_largest.store(0); }
size_t LargestAllocation() { return g_largest.load(); }

}  // namespace pixio_test

namespace {

void* Take(size_t size) {
  size_t seen = g_largest.load();
  while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
  }
  return std::malloc(size ? size : 1);
}

}  // namespace

// Every form that ends in the operator delete below is replaced, the nothrow
// one too (the global-memory blocks' records use it): a sanitizer runtime's
// own new paired with this delete would be a mismatch.
void* operator new(size_t size) {
  if (void* p = Take(size)) return p;
  throw std::bad_alloc();
}

void* operator new(size_t size, const std::nothrow_t&) noexcept { return Take(size); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
