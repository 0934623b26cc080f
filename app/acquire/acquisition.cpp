#include "acquisition.h"

#include <memory>

#include "image_files.h"
#include "image_messages.h"
#include "messages.h"
#include "settings.h"
#include "source_names.h"
#include "twain_session.h"

namespace vmd {

namespace {

constexpr UINT kStringNoTwain = 5713;  ///< "Could not find TWAIN_32.DLL in your windows directory."

struct Acquisition {
  HMODULE manager = nullptr;
  DsmEntryFn entry = nullptr;
  TW_IDENTITY identity = {};
  bool memory = false;   ///< MemoryScan: memory transfers
  bool several = false;  ///< MultiScan: every picture the source has
  HWND main = nullptr;
  std::unique_ptr<TwainSession> session;
};
Acquisition g_acquisition;

void Deliver(HGLOBAL image, void*) {
  HGLOBAL rgb = TakeAs24(image, nullptr);
  if (rgb == nullptr) return;
  // The main window takes the picture over (and frees it).
  if (g_acquisition.main == nullptr || !IsWindow(g_acquisition.main)) {
    GlobalFree(rgb);
    return;
  }
  SendMessageA(g_acquisition.main, kMsgAcquiredImage, reinterpret_cast<WPARAM>(rgb), 0);
}

/// A fresh session with the manager open, or null (with a beep).
TwainSession* NewSession(HWND main) {
  g_acquisition.main = main;
  g_acquisition.session = std::make_unique<TwainSession>(g_acquisition.entry, g_acquisition.identity);
  if (g_acquisition.session->OpenManager(main)) return g_acquisition.session.get();
  g_acquisition.session.reset();
  MessageBeep(0);
  return nullptr;
}

void OpenAndEnable(HWND main, TwainSession* session) {
  if (session->OpenSource() && session->EnableSource(g_acquisition.memory, true, main)) return;
  session->Close();
  MessageBeep(0);
}

}  // namespace

void SetUpAcquisition(HWND main) {
  g_acquisition.main = main;
  g_acquisition.identity = ProgramIdentity();
  g_acquisition.memory = ReadProfileSettingInt(ProfileSetting::kMemoryScan) != 0;
  g_acquisition.several = ReadProfileSettingInt(ProfileSetting::kMultiScan) != 0;
  if (g_acquisition.manager == nullptr) g_acquisition.manager = LoadLibraryA("TWAIN_32.DLL");
  if (g_acquisition.manager != nullptr)
    g_acquisition.entry = reinterpret_cast<DsmEntryFn>(
        reinterpret_cast<void*>(GetProcAddress(g_acquisition.manager, "DSM_Entry")));
}

void AcquireFromChosenSource(HWND main) {
  if (AcquisitionRunning()) return;
  if (g_acquisition.entry == nullptr) {
    ShowImageWarning(main, kStringNoTwain);
    return;
  }
  TwainSession* session = NewSession(main);
  if (session == nullptr) return;
  if (session->ChooseSource() != SourceChoice::kChosen) {
    session->Close();
    return;
  }
  OpenAndEnable(main, session);
}

void AcquireFromNamedSource(HWND main, const std::string& name) {
  if (AcquisitionRunning()) return;
  if (g_acquisition.entry == nullptr) {
    MessageBeep(0);
    return;
  }
  TwainSession* session = NewSession(main);
  if (session == nullptr) return;
  const int index = FindSourceByName(session->ListSources(kMostSourceNames), name);
  if (index < 0 || !session->SelectSource(static_cast<size_t>(index))) {
    session->Close();
    MessageBeep(0);
    return;
  }
  OpenAndEnable(main, session);
}

bool AcquisitionRunning() {
  return g_acquisition.session != nullptr && g_acquisition.session->State() != TwainState::kManagerClosed;
}

bool OfferMessageToSource(MSG* message) {
  TwainSession* session = g_acquisition.session.get();
  if (session == nullptr || !session->SourceEnabled()) return false;
  SourceEvent event = SourceEvent::kNone;
  const bool taken = session->ProcessEvent(message, &event);
  if (event == SourceEvent::kTransferReady) {
    session->TransferAll(g_acquisition.several, Deliver, nullptr);
  } else if (event == SourceEvent::kCloseRequest) {
    session->Close();
  }
  return taken;
}

void EndAcquisition() {
  g_acquisition.session.reset();
  g_acquisition.main = nullptr;
  g_acquisition.entry = nullptr;
  if (g_acquisition.manager != nullptr) FreeLibrary(g_acquisition.manager);
  g_acquisition.manager = nullptr;
}

}  // namespace vmd
