#include "album_registry.h"

#include <windows.h>

#include <vector>

#include "registry_key.h"
#include "settings.h"

namespace vmd {

namespace {

constexpr DWORD kTitleBytes = 260;
constexpr DWORD kValueNameBytes = 260;

std::string PlaceKey(AlbumPlace which) {
  if (which == AlbumPlace::kPosition) return SettingKeyPath("ALBUMPOS");
  return Settings().olderBranch + "\\ALBUMHEAD";
}

}  // namespace

AlbumList& Albums() {
  static AlbumList list;
  return list;
}

void LoadAlbumList() {
  std::vector<AlbumListValue> values;
  UniqueHKey key = OpenKey(Settings().userRoot, SettingKeyPath("PHOTOS"));
  for (DWORD i = 0; key && values.size() < static_cast<size_t>(kAlbumListMax); ++i) {
    char name[kValueNameBytes];
    BYTE data[kTitleBytes + 1] = {};
    DWORD nameLength = sizeof name, dataLength = kTitleBytes, type = 0;
    LONG status = RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, data, &dataLength);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_SZ) continue;
    values.emplace_back(std::string(name, nameLength),
                        std::string(reinterpret_cast<char*>(data),
                                    strnlen(reinterpret_cast<char*>(data), dataLength)));
  }
  Albums().Place(values);
}

bool SaveAlbumList() {
  HKEY root = Settings().userRoot;
  const std::string path = SettingKeyPath("PHOTOS");
  DeleteKeyTree(root, path);
  UniqueHKey key = CreateKey(root, path);
  if (!key) return false;
  bool all = true;
  for (const AlbumListValue& value : Albums().Values()) {
    BYTE title[kTitleBytes] = {};
    memcpy(title, value.second.data(),
           value.second.size() < kTitleBytes ? value.second.size() : kTitleBytes - 1);
    all = RegSetValueExA(key.get(), value.first.c_str(), 0, REG_SZ, title, kTitleBytes) ==
              ERROR_SUCCESS && all;
  }
  return all;
}

int AlbumCount() { return Albums().Count(); }
std::string AlbumFileName(int index) { return Albums().FileName(index); }
std::string AlbumTitle(int index) { return Albums().Title(index); }

bool SetAlbumTitle(int index, const std::string& title) {
  return Albums().SetTitle(index, title) && SaveAlbumList();
}

int FindAlbum(const std::string& fileName) { return Albums().Find(fileName); }

std::string AlbumPath(int index) { return JoinPath(AlbumFolder(), AlbumFileName(index)); }

int NewAlbum(const std::string& title) {
  const int index = Albums().Append(title, [](const std::string& fileName) {
    return GetFileAttributesA(JoinPath(AlbumFolder(), fileName).c_str()) != INVALID_FILE_ATTRIBUTES;
  });
  if (index >= 0) SaveAlbumList();
  return index;
}

bool DeleteAlbum(int index) {
  if (index < 0 || index >= AlbumCount()) return false;
  DeleteFileA(AlbumPath(index).c_str());
  Albums().Remove(index);
  return SaveAlbumList();
}

int CurrentAlbum() {
  DWORD value = 0;
  ReadSettingDword(Setting::kAlbumCurrent, &value);
  return static_cast<int>(value);
}

bool SetCurrentAlbum(int index) {
  return WriteSettingDword(Setting::kAlbumCurrent, static_cast<DWORD>(index));
}

std::string AlbumPlaceName(const std::string& fileName) { return "photos_" + fileName; }

int AlbumPosition(int album, AlbumPlace which) {
  DWORD value = 0;
  if (!ReadDwordValue(Settings().userRoot, PlaceKey(which),
                      AlbumPlaceName(AlbumFileName(album)).c_str(), &value))
    return 0;
  return static_cast<int>(value);
}

bool SetAlbumPosition(int album, AlbumPlace which, int value) {
  if (album < 0 || album >= AlbumCount()) return false;
  return WriteDwordValue(Settings().userRoot, PlaceKey(which),
                         AlbumPlaceName(AlbumFileName(album)).c_str(), static_cast<DWORD>(value));
}

int AddPhotoToAlbum(int album, int currentAlbum, const std::string& path, HGLOBAL given,
                    AlbumPhotoReader read, int columns, int rowsShown) {
  bool owned = false;
  int message = 0;
  HGLOBAL photo = ReadPhotoForAlbum(path, given, read, &owned, &message);
  if (photo == nullptr) return -1;
  const bool other = album != currentAlbum;
  if (other) OpenSecondAlbum(AlbumPath(album));
  AlbumItems& items = CurrentAlbumItems();
  items.SetSampleFolder(AlbumFolder());
  const int index = PutPhotoIntoAlbum(items, path, photo);
  if (owned) GlobalFree(photo);
  if (other) {
    if (index >= 0) {
      SaveAlbum(AlbumPath(album));
      SetAlbumPosition(album, AlbumPlace::kPosition, index);
      SetAlbumPosition(album, AlbumPlace::kHeadRow,
                       HeadRowKeepingLastVisible(items.Count(), columns, rowsShown));
    }
    CloseSecondAlbum();
  } else if (index >= 0) {
    items.SetChanged(true);
  }
  return index;
}

}  // namespace vmd
