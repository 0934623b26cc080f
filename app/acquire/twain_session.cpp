#include "twain_session.h"

#include <cstring>

#include "memory_image.h"

namespace vmd {

namespace {

void CopyName(char (&field)[34], const char* text) {
  std::memset(field, 0, sizeof field);
  std::strncpy(field, text, sizeof field - 1);
}

std::string NameOf(const TW_IDENTITY& identity) {
  return std::string(identity.ProductName, strnlen(identity.ProductName, sizeof identity.ProductName));
}

// Memory transfers: the buffer the source fills, when it states no
// preference, and the most we hand it.
constexpr TW_UINT32 kDefaultStripBytes = 64 * 1024;
constexpr TW_UINT32 kLargestStripBytes = 16 * 1024 * 1024;

}  // namespace

TW_IDENTITY ProgramIdentity() {
  TW_IDENTITY identity = {};
  identity.Version.MajorNum = 3;
  identity.Version.MinorNum = 0;
  identity.Version.Language = TWLG_USA;
  identity.Version.Country = TWCY_USA;
  CopyName(identity.Version.Info, "3.0");
  identity.ProtocolMajor = TWON_PROTOCOLMAJOR;
  identity.ProtocolMinor = TWON_PROTOCOLMINOR;
  identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyName(identity.Manufacturer, "Quorvex");
  CopyName(identity.ProductFamily, "Vistameld");
  CopyName(identity.ProductName, "Vistameld 3.0");
  return identity;
}

TwainSession::TwainSession(DsmEntryFn entry, const TW_IDENTITY& application)
    : entry_(entry), application_(application) {}

TwainSession::~TwainSession() { Close(); }

std::string TwainSession::SourceName() const { return sourceChosen_ ? NameOf(source_) : std::string(); }

TW_UINT16 TwainSession::Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message,
                             void* data) {
  if (entry_ == nullptr) return TWRC_FAILURE;
  return entry_(&application_, destination, group, type, message, data);
}

bool TwainSession::OpenManager(void* window) {
  if (state_ != TwainState::kManagerClosed) return false;
  window_ = window;
  // The manager takes a pointer to the parent window's handle.
  void* parent = window;
  if (Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent) != TWRC_SUCCESS) return false;
  state_ = TwainState::kManagerOpen;
  return true;
}

SourceChoice TwainSession::ChooseSource() {
  if (state_ != TwainState::kManagerOpen) return SourceChoice::kFailed;
  TW_IDENTITY chosen = {};
  const TW_UINT16 rc = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen);
  if (rc == TWRC_CANCEL) return SourceChoice::kCancelled;
  if (rc != TWRC_SUCCESS) return SourceChoice::kFailed;
  source_ = chosen;
  sourceChosen_ = true;
  return SourceChoice::kChosen;
}

std::vector<std::string> TwainSession::ListSources(size_t limit) {
  listed_.clear();
  std::vector<std::string> names;
  if (state_ != TwainState::kManagerOpen) return names;
  TW_UINT16 message = MSG_GETFIRST;
  while (listed_.size() < limit) {
    TW_IDENTITY identity = {};
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, message, &identity) != TWRC_SUCCESS) break;
    listed_.push_back(identity);
    names.push_back(NameOf(identity));
    message = MSG_GETNEXT;
  }
  return names;
}

bool TwainSession::SelectSource(size_t index) {
  if (state_ != TwainState::kManagerOpen || index >= listed_.size()) return false;
  source_ = listed_[index];
  sourceChosen_ = true;
  return true;
}

bool TwainSession::OpenSource() {
  if (state_ != TwainState::kManagerOpen || !sourceChosen_) return false;
  if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_) != TWRC_SUCCESS) return false;
  state_ = TwainState::kSourceOpen;
  return true;
}

bool TwainSession::SetTransferMechanism(TW_UINT16 mechanism) {
  HGLOBAL container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
  if (container == nullptr) return false;
  auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(container));
  value->ItemType = TWTY_UINT16;
  value->Item = mechanism;
  GlobalUnlock(container);
  TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_ONEVALUE, container};
  const bool set = Call(&source_, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability) == TWRC_SUCCESS;
  GlobalFree(container);
  return set;
}

bool TwainSession::EnableSource(bool memory, bool showUi, void* window) {
  if (state_ != TwainState::kSourceOpen) return false;
  memory_ = memory && SetTransferMechanism(TWSX_MEMORY);
  TW_USERINTERFACE ui = {static_cast<TW_BOOL>(showUi ? 1 : 0), 0, window};
  const TW_UINT16 rc = Call(&source_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
  // A source that cannot leave its interface out says so and enables with it.
  if (rc != TWRC_SUCCESS && rc != TWRC_CHECKSTATUS) return false;
  state_ = TwainState::kSourceEnabled;
  return true;
}

bool TwainSession::ProcessEvent(void* message, SourceEvent* event) {
  *event = SourceEvent::kNone;
  if (!SourceEnabled()) return false;
  TW_EVENT twEvent = {message, MSG_NULL};
  const bool taken = Call(&source_, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &twEvent) == TWRC_DSEVENT;
  if (twEvent.TWMessage == MSG_XFERREADY && state_ == TwainState::kSourceEnabled) {
    state_ = TwainState::kTransferReady;
    *event = SourceEvent::kTransferReady;
  } else if (twEvent.TWMessage == MSG_CLOSEDSREQ || twEvent.TWMessage == MSG_CLOSEDSOK) {
    *event = SourceEvent::kCloseRequest;
  }
  return taken;
}

TransferResult TwainSession::TransferNative(HGLOBAL* image) {
  TW_HANDLE handle = nullptr;
  const TW_UINT16 rc = Call(&source_, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
  if (rc == TWRC_XFERDONE && handle != nullptr) {
    *image = static_cast<HGLOBAL>(handle);
    return TransferResult::kDone;
  }
  if (handle != nullptr) GlobalFree(static_cast<HGLOBAL>(handle));
  return rc == TWRC_CANCEL ? TransferResult::kCancelled : TransferResult::kFailed;
}

TransferResult TwainSession::TransferMemory(HGLOBAL* image) {
  TW_IMAGEINFO info = {};
  if (Call(&source_, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info) != TWRC_SUCCESS) return TransferResult::kFailed;
  TW_SETUPMEMXFER setup = {};
  if (Call(&source_, DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup) != TWRC_SUCCESS)
    return TransferResult::kFailed;
  TW_UINT32 size = setup.Preferred != 0 ? setup.Preferred : kDefaultStripBytes;
  if (size < setup.MinBufSize) size = setup.MinBufSize;
  if (setup.MaxBufSize != 0 && size > setup.MaxBufSize) size = setup.MaxBufSize;
  if (size == 0 || size > kLargestStripBytes) return TransferResult::kFailed;
  MemoryImage picture;
  if (!picture.Begin(info)) return TransferResult::kFailed;
  std::vector<uint8_t> buffer(size);
  // A source makes progress with every strip; one that does not is given up.
  const long limit = 2L * info.ImageLength + 2;
  for (long call = 0; call < limit; ++call) {
    TW_IMAGEMEMXFER strip = {};
    strip.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, size, buffer.data()};
    const TW_UINT16 rc = Call(&source_, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
    if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE)
      return rc == TWRC_CANCEL ? TransferResult::kCancelled : TransferResult::kFailed;
    const size_t written = strip.BytesWritten < size ? strip.BytesWritten : size;
    if (!picture.AddStrip(strip, buffer.data(), written)) return TransferResult::kFailed;
    if (rc == TWRC_XFERDONE) {
      *image = picture.Finish();
      return TransferResult::kDone;
    }
  }
  return TransferResult::kFailed;
}

void TwainSession::EndTransfer(TransferResult result) {
  TW_PENDINGXFERS pending = {};
  const TW_UINT16 rc = Call(&source_, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
  if (rc != TWRC_SUCCESS || result == TransferResult::kFailed) {
    StopTransfers();
    return;
  }
  state_ = pending.Count == 0 ? TwainState::kSourceEnabled : TwainState::kTransferReady;
}

TransferResult TwainSession::Transfer(HGLOBAL* image) {
  *image = nullptr;
  if (state_ != TwainState::kTransferReady) return TransferResult::kFailed;
  const TransferResult result = memory_ ? TransferMemory(image) : TransferNative(image);
  EndTransfer(result);
  return result;
}

void TwainSession::StopTransfers() {
  if (state_ != TwainState::kTransferReady) return;
  TW_PENDINGXFERS pending = {};
  Call(&source_, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
  state_ = TwainState::kSourceEnabled;
}

int TwainSession::TransferAll(bool several, void (*deliver)(HGLOBAL image, void* context), void* context) {
  int delivered = 0;
  while (state_ == TwainState::kTransferReady) {
    HGLOBAL image = nullptr;
    const TransferResult result = Transfer(&image);
    if (result == TransferResult::kDone) {
      ++delivered;
      if (deliver != nullptr) {
        deliver(image, context);
      } else {
        GlobalFree(image);
      }
    }
    if (result != TransferResult::kDone || !several) StopTransfers();
  }
  Close();
  return delivered;
}

void TwainSession::Close() {
  StopTransfers();
  if (state_ == TwainState::kSourceEnabled) {
    TW_USERINTERFACE ui = {0, 0, window_};
    Call(&source_, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    state_ = TwainState::kSourceOpen;
  }
  if (state_ == TwainState::kSourceOpen) {
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_);
    state_ = TwainState::kManagerOpen;
  }
  if (state_ == TwainState::kManagerOpen) {
    void* parent = window_;
    Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    state_ = TwainState::kManagerClosed;
  }
  memory_ = false;
}

}  // namespace vmd
