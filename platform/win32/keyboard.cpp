// The keyboard of the native build: no device, only the keys tests hold down.
#include "win32_subset.h"

#include <atomic>

namespace {

std::atomic<unsigned char> g_keysDown[256];

}  // namespace

extern "C" {

SHORT GetAsyncKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return g_keysDown[virtualKey].load() ? static_cast<SHORT>(0x8000) : 0;
}

void VmdSubsetSetKeyDown(int virtualKey, int down) {
  if (virtualKey < 0 || virtualKey > 255) return;
  g_keysDown[virtualKey].store(down ? 1 : 0);
}

}  // extern "C"
