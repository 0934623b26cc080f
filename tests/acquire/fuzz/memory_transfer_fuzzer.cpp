// libFuzzer target: a source manager whose answers come from the input drives
// a session through memory (or native) transfers. Whatever the source says
// about its pictures and strips, the session must neither crash nor read or
// write outside its buffers, and must end closed.
#include <cstdint>
#include <cstring>
#include <vector>

#include "twain_session.h"

namespace {

const uint8_t* g_data = nullptr;
size_t g_left = 0;

template <typename T>
T Take() {
  T value{};
  const size_t n = g_left < sizeof value ? g_left : sizeof value;
  std::memcpy(&value, g_data, n);
  g_data += n;
  g_left -= n;
  return value;
}

using namespace vmd;

TW_UINT16 VMD_TWAIN_CALL FuzzedEntry(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16 dat, TW_UINT16 msg,
                                     TW_MEMREF data) {
  if (g_left == 0) return TWRC_FAILURE;
  switch (dat) {
    case DAT_EVENT:
      static_cast<TW_EVENT*>(data)->TWMessage = MSG_XFERREADY;
      return TWRC_DSEVENT;
    case DAT_IMAGEINFO:
      *static_cast<TW_IMAGEINFO*>(data) = Take<TW_IMAGEINFO>();
      return Take<uint8_t>() % 8;
    case DAT_SETUPMEMXFER: {
      TW_SETUPMEMXFER setup = Take<TW_SETUPMEMXFER>();
      setup.MinBufSize %= 4096;
      setup.MaxBufSize %= 8192;
      setup.Preferred %= 8192;
      *static_cast<TW_SETUPMEMXFER*>(data) = setup;
      return Take<uint8_t>() % 8;
    }
    case DAT_IMAGEMEMXFER: {
      auto* strip = static_cast<TW_IMAGEMEMXFER*>(data);
      const TW_MEMORY memory = strip->Memory;
      *strip = Take<TW_IMAGEMEMXFER>();
      strip->Memory = memory;
      const size_t n = g_left < memory.Length ? g_left : memory.Length;
      std::memcpy(memory.TheMem, g_data, n);
      g_data += n;
      g_left -= n;
      return Take<uint8_t>() % 8;
    }
    case DAT_IMAGENATIVEXFER:
      return TWRC_CANCEL;
    case DAT_PENDINGXFERS:
      static_cast<TW_PENDINGXFERS*>(data)->Count = Take<uint8_t>() % 3;
      return Take<uint8_t>() % 3 == 0 ? TWRC_FAILURE : TWRC_SUCCESS;
    default:
      (void)msg;
      return TWRC_SUCCESS;
  }
}

void Free(HGLOBAL image, void*) { GlobalFree(image); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_data = data;
  g_left = size;
  TwainSession session(FuzzedEntry, ProgramIdentity());
  if (session.OpenManager(nullptr) && session.ChooseSource() == SourceChoice::kChosen && session.OpenSource() &&
      session.EnableSource(true, false, nullptr)) {
    int message = 0;
    SourceEvent event;
    session.ProcessEvent(&message, &event);
    session.TransferAll(true, Free, nullptr);
  }
  session.Close();
  if (session.State() != TwainState::kManagerClosed) __builtin_trap();
  return 0;
}
