#ifndef APP_SHELL_REGISTRY_KEY_H
#define APP_SHELL_REGISTRY_KEY_H

#include <windows.h>

#include <string>

namespace vmd {

/// An open registry key, closed when it goes out of scope. Keys are opened
/// and closed around each read or write.
class UniqueHKey {
 public:
  UniqueHKey() = default;
  explicit UniqueHKey(HKEY key) : key_(key) {}
  UniqueHKey(UniqueHKey&& other) noexcept : key_(other.release()) {}
  UniqueHKey& operator=(UniqueHKey&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHKey(const UniqueHKey&) = delete;
  UniqueHKey& operator=(const UniqueHKey&) = delete;
  ~UniqueHKey() { reset(); }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void reset(HKEY key = nullptr) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

/// Opens root\path for reading (or for reading and writing); empty on failure.
UniqueHKey OpenKey(HKEY root, const std::string& path, bool writable = false);
/// Opens or creates root\path; `created` (optional) tells whether it is new.
UniqueHKey CreateKey(HKEY root, const std::string& path, bool* created = nullptr);
bool KeyExists(HKEY root, const std::string& path);

/// Reads a REG_SZ (or REG_EXPAND_SZ) value into `out`; false when absent,
/// of another type, or longer than `maxBytes` including its terminator.
bool ReadStringValue(HKEY root, const std::string& path, const char* name, std::string* out,
                     size_t maxBytes = 260);
bool ReadDwordValue(HKEY root, const std::string& path, const char* name, DWORD* out);
/// Writes a value, creating the key when missing.
bool WriteStringValue(HKEY root, const std::string& path, const char* name,
                      const std::string& value);
bool WriteDwordValue(HKEY root, const std::string& path, const char* name, DWORD value);

/// Copies every value of `from` into `to` (created when missing) with its own
/// type and data length. Names and data are limited to 260 bytes each; values
/// that do not fit are left out rather than cut. Returns the number copied.
int CopyKeyValues(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to);

/// Deletes root\path with all its subkeys; true when it is gone afterwards.
bool DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace vmd

#endif  // APP_SHELL_REGISTRY_KEY_H
