#include "instance_guard.h"

namespace vmd {

bool IsWindows2000OrLater(DWORD version) {
  return (version & 0x80000000u) == 0 && LOBYTE(LOWORD(version)) >= 5;
}

GuardNames MakeGuardNames(const std::string& programPath, bool windows2000OrLater) {
  std::string text = programPath;
  for (char& c : text)
    if (c == ':' || c == '\\') c = '_';
  GuardNames names;
  names.global = windows2000OrLater ? "Global\\" + text : text;
  names.local = text + "local";
  if (names.global.size() > 259) names.global.resize(259);
  if (names.local.size() > 259) names.local.resize(259);
  return names;
}

namespace {

/// Both handles live until the process ends; the system releases them then.
struct GuardHandles {
  HANDLE global = nullptr;
  HANDLE local = nullptr;
  ~GuardHandles() {
    if (global != nullptr) CloseHandle(global);
    if (local != nullptr) CloseHandle(local);
  }
};

GuardHandles g_guard;

}  // namespace

GuardResult CreateInstanceGuard(const GuardNames& names) {
  g_guard.global = CreateMutexA(nullptr, FALSE, names.global.c_str());
  bool globalRefused = g_guard.global == nullptr && GetLastError() == ERROR_ACCESS_DENIED;
  g_guard.local = CreateMutexA(nullptr, FALSE, names.local.c_str());
  bool localNew = g_guard.local != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  return globalRefused && localNew ? GuardResult::kOtherUserSession : GuardResult::kProceed;
}

}  // namespace vmd
