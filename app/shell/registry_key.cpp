#include "registry_key.h"

#include <vector>

namespace vmd {

UniqueHKey OpenKey(HKEY root, const std::string& path, bool writable) {
  HKEY key = nullptr;
  REGSAM access = writable ? (KEY_READ | KEY_WRITE) : KEY_READ;
  if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return UniqueHKey();
  return UniqueHKey(key);
}

UniqueHKey CreateKey(HKEY root, const std::string& path, bool* created) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS) {
    if (created != nullptr) *created = false;
    return UniqueHKey();
  }
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return UniqueHKey(key);
}

bool KeyExists(HKEY root, const std::string& path) { return static_cast<bool>(OpenKey(root, path)); }

bool ReadStringValue(HKEY root, const std::string& path, const char* name, std::string* out,
                     size_t maxBytes) {
  UniqueHKey key = OpenKey(root, path);
  if (!key) return false;
  std::vector<char> buffer(maxBytes + 1, '\0');
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(maxBytes);
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  buffer[size < maxBytes ? size : maxBytes] = '\0';
  *out = buffer.data();
  return true;
}

bool ReadDwordValue(HKEY root, const std::string& path, const char* name, DWORD* out) {
  UniqueHKey key = OpenKey(root, path);
  if (!key) return false;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || size != sizeof value) return false;
  *out = value;
  return true;
}

bool WriteStringValue(HKEY root, const std::string& path, const char* name,
                      const std::string& value) {
  UniqueHKey key = CreateKey(root, path);
  if (!key) return false;
  return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteDwordValue(HKEY root, const std::string& path, const char* name, DWORD value) {
  UniqueHKey key = CreateKey(root, path);
  if (!key) return false;
  return RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

int CopyKeyValues(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to) {
  UniqueHKey source = OpenKey(fromRoot, from);
  if (!source) return 0;
  UniqueHKey target = CreateKey(toRoot, to);
  if (!target) return 0;
  int copied = 0;
  for (DWORD index = 0;; ++index) {
    char name[260];
    BYTE data[260];
    DWORD nameLength = sizeof name;
    DWORD dataLength = sizeof data;
    DWORD type = 0;
    LONG result = RegEnumValueA(source.get(), index, name, &nameLength, nullptr, &type, data,
                                &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;  // too long for the copy: left out
    if (RegSetValueExA(target.get(), name, 0, type, data, dataLength) == ERROR_SUCCESS) ++copied;
  }
  return copied;
}

bool DeleteKeyTree(HKEY root, const std::string& path) {
  UniqueHKey key = OpenKey(root, path, true);
  if (!key) return true;
  for (;;) {
    char name[260];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    if (!DeleteKeyTree(root, path + "\\" + name)) return false;
  }
  key.reset();
  RegDeleteKeyA(root, path.c_str());
  return !KeyExists(root, path);
}

}  // namespace vmd
