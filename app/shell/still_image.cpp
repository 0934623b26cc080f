#include "still_image.h"

#include <windows.h>
#include <sti.h>

namespace vmd {

namespace {

HMODULE g_stiLibrary = nullptr;

using CreateInstanceFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, IStillImageW**, LPUNKNOWN);

/// Releases a COM interface when it goes out of scope.
struct StillImageRef {
  IStillImageW* sti = nullptr;
  ~StillImageRef() {
    if (sti != nullptr) sti->Release();
  }
};

}  // namespace

bool QueryStillImageLaunch(std::string* source) {
  source->clear();
  if (g_stiLibrary == nullptr) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    g_stiLibrary = LoadLibraryA("STI.DLL");
    SetCursor(previous);
  }
  if (g_stiLibrary == nullptr) return false;
  auto create = reinterpret_cast<CreateInstanceFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(g_stiLibrary, "StiCreateInstance")));
  if (create == nullptr) return false;
  StillImageRef ref;
  if (FAILED(create(GetModuleHandleA(nullptr), STI_VERSION_REAL | STI_VERSION_FLAG_UNICODE,
                    &ref.sti, nullptr)) ||
      ref.sti == nullptr)
    return false;
  WCHAR device[STI_MAX_INTERNAL_NAME_LENGTH + 1] = {};
  WCHAR event[64] = {};
  DWORD eventCode = 0;
  if (FAILED(ref.sti->GetSTILaunchInformation(device, &eventCode, event))) return false;
  BYTE data[512] = {};
  DWORD type = 0;
  DWORD size = sizeof data - sizeof(WCHAR);
  WCHAR valueName[] = L"TwainDS";
  if (FAILED(ref.sti->GetDeviceValue(device, valueName, &type, data, &size))) return false;
  // The value is wide text; the program keeps names as zero-terminated bytes.
  char narrow[512] = {};
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(data), -1, narrow,
                      sizeof narrow - 1, nullptr, nullptr);
  *source = narrow;
  return !source->empty();
}

void FreeStillImageLibrary() {
  if (g_stiLibrary != nullptr) FreeLibrary(g_stiLibrary);
  g_stiLibrary = nullptr;
}

}  // namespace vmd
