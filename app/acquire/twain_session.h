#ifndef APP_ACQUIRE_TWAIN_SESSION_H
#define APP_ACQUIRE_TWAIN_SESSION_H

/// One TWAIN session of the program, as a plain state machine over the
/// source manager's entry point: open the manager, pick a source (the
/// manager's own dialog, or by name from the list of sources), open and
/// enable it, take the messages it claims, transfer its pictures (native or
/// memory transfers), and unwind every step it made, whatever the state.

#include <string>
#include <vector>

#include "twain_types.h"
#include "win32_api.h"

namespace vmd {

/// The states of the TWAIN protocol the session passes through.
enum class TwainState {
  kManagerClosed = 2,  ///< manager loaded, not opened
  kManagerOpen = 3,
  kSourceOpen = 4,
  kSourceEnabled = 5,
  kTransferReady = 6,  ///< the source has pictures to give
};

enum class SourceChoice { kChosen, kCancelled, kFailed };
enum class SourceEvent { kNone, kTransferReady, kCloseRequest };
enum class TransferResult { kDone, kCancelled, kFailed };

/// The identity the program gives the source manager ("Vistameld 3.0").
TW_IDENTITY ProgramIdentity();

class TwainSession {
 public:
  TwainSession(DsmEntryFn entry, const TW_IDENTITY& application);
  ~TwainSession();
  TwainSession(const TwainSession&) = delete;
  TwainSession& operator=(const TwainSession&) = delete;

  TwainState State() const { return state_; }
  /// Whether the session is in the states where the source sees messages first.
  bool SourceEnabled() const { return state_ >= TwainState::kSourceEnabled; }
  /// The source chosen or opened (its product name), empty before.
  std::string SourceName() const;

  /// Opens the manager with `window` as the parent of its dialogs (2 -> 3).
  bool OpenManager(void* window);
  /// The manager's "Select Source" dialog (state 3).
  SourceChoice ChooseSource();
  /// The product names of the sources the manager knows, at most `limit`
  /// (state 3); the identities are kept for SelectSource.
  std::vector<std::string> ListSources(size_t limit);
  /// Takes entry `index` of the last list as the source to open.
  bool SelectSource(size_t index);
  /// Opens the chosen source (3 -> 4).
  bool OpenSource();
  /// Asks for memory transfers when `memory` (native ones when the source
  /// refuses), then enables the source (4 -> 5).
  bool EnableSource(bool memory, bool showUi, void* window);
  /// Whether transfers go through memory after EnableSource.
  bool MemoryTransfers() const { return memory_; }

  /// Offers an application message to the enabled source. True when the
  /// source took it; `event` tells what the source asks for.
  bool ProcessEvent(void* message, SourceEvent* event);

  /// One picture (state 6): its DIB in `image` on kDone (the caller owns
  /// it). Ends the transfer; the state is 6 again while the source has more
  /// pictures, else 5.
  TransferResult Transfer(HGLOBAL* image);
  /// Drops the pictures the source still has (6 -> 5).
  void StopTransfers();
  /// Pictures one after another while the source has them (only the first
  /// with `several` false), each handed to `deliver`, which owns it; then the
  /// session closes. The number delivered.
  int TransferAll(bool several, void (*deliver)(HGLOBAL image, void* context), void* context);

  /// Unwinds from any state to a closed manager (disables and closes the
  /// source, closes the manager).
  void Close();

 private:
  TW_UINT16 Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, void* data);
  bool SetTransferMechanism(TW_UINT16 mechanism);
  TransferResult TransferNative(HGLOBAL* image);
  TransferResult TransferMemory(HGLOBAL* image);
  void EndTransfer(TransferResult result);

  DsmEntryFn entry_;
  TW_IDENTITY application_;
  TW_IDENTITY source_ = {};
  bool sourceChosen_ = false;
  std::vector<TW_IDENTITY> listed_;
  TwainState state_ = TwainState::kManagerClosed;
  void* window_ = nullptr;  ///< the parent handed to the manager (an HWND)
  bool memory_ = false;
};

}  // namespace vmd

#endif  // APP_ACQUIRE_TWAIN_SESSION_H
