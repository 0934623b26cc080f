#include "settings.h"

#include "album_records.h"
#include "sample_albums.h"
#include "photo_naming.h"
#include "registry_key.h"

namespace vmd {

namespace {

SettingsEnvironment& MutableSettings() {
  static SettingsEnvironment environment = DefaultSettingsEnvironment();
  return environment;
}

bool g_noGif = false;
bool g_noLumacove = false;

std::string ProfilePath(ProfileFile file) {
  return file == ProfileFile::kSet ? SetFilePath() : Settings().iniFile;
}

Setting LastFolderSetting(int which) { return which == 1 ? Setting::kFileLastDir : Setting::kAlbumLastDir; }

/// The stored value of a row, without falling back to its default.
bool ReadStoredString(Setting id, std::string* value, size_t limit) {
  const SettingRow& row = SettingRowOf(id);
  return ReadStringValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value, limit);
}

bool ReadStoredDword(Setting id, DWORD* value) {
  const SettingRow& row = SettingRowOf(id);
  return ReadDwordValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value);
}

}  // namespace

SettingsEnvironment DefaultSettingsEnvironment() {
  SettingsEnvironment environment;
  environment.programFolder = ProgramFolder();
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  environment.windowsFolder = windows;
  if (!environment.windowsFolder.empty() && environment.windowsFolder.back() == '\\')
    environment.windowsFolder.pop_back();
  std::string name, version;
  if (ReadProductVersion(nullptr, &name, &version)) {
    if (!name.empty()) environment.productName = name;
    if (!version.empty()) environment.productVersion = version;
  }
  environment.osVersion = GetVersion();
  environment.setFile = JoinPath(environment.programFolder, "vmd3.set");
  return environment;
}

const SettingsEnvironment& Settings() { return MutableSettings(); }

void SetSettingsEnvironment(const SettingsEnvironment& environment) {
  MutableSettings() = environment;
}

std::string SettingKeyPath(const char* key) { return Settings().branch + "\\" + key; }

bool SettingDefaultString(Setting id, std::string* value) {
  const SettingRow& row = SettingRowOf(id);
  switch (row.defaultKind) {
    case SettingDefaultKind::kDocumentsFolder:
      *value = SpecialFolder(SpecialFolderKind::kDocuments);
      return true;
    case SettingDefaultKind::kAppDataFolder:
      *value = SpecialFolder(SpecialFolderKind::kAppData);
      return true;
    case SettingDefaultKind::kWindowsFolder:
      *value = Settings().windowsFolder;
      return true;
    case SettingDefaultKind::kDesktopFolder:
      *value = SpecialFolder(SpecialFolderKind::kDesktop);
      return true;
    default:
      return false;
  }
}

bool SettingDefaultDword(Setting id, DWORD* value) {
  const SettingRow& row = SettingRowOf(id);
  if (row.defaultKind == SettingDefaultKind::kNumber) {
    *value = row.number;
    return true;
  }
  if (row.defaultKind == SettingDefaultKind::kOsVersion) {
    *value = Settings().osVersion;
    return true;
  }
  return false;
}

bool ReadSettingString(Setting id, std::string* value) {
  const SettingRow& row = SettingRowOf(id);
  if (ReadStringValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value)) return true;
  return SettingDefaultString(id, value);
}

bool ReadSettingDword(Setting id, DWORD* value) {
  const SettingRow& row = SettingRowOf(id);
  if (ReadDwordValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value)) return true;
  return SettingDefaultDword(id, value);
}

bool WriteSettingString(Setting id, const std::string& value) {
  const SettingRow& row = SettingRowOf(id);
  return WriteStringValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value);
}

bool WriteSettingDword(Setting id, DWORD value) {
  const SettingRow& row = SettingRowOf(id);
  return WriteDwordValue(Settings().userRoot, SettingKeyPath(row.key), row.value, value);
}

int ReadProfileSettingInt(ProfileSetting id) {
  const ProfileRow& row = ProfileRowOf(id);
  return static_cast<int>(GetPrivateProfileIntA(kProfileSection, row.key, row.intDefault,
                                                ProfilePath(row.file).c_str()));
}

std::string ReadProfileSettingText(ProfileSetting id) {
  const ProfileRow& row = ProfileRowOf(id);
  char buffer[MAX_PATH] = {};
  GetPrivateProfileStringA(kProfileSection, row.key, row.textDefault ? row.textDefault : "", buffer,
                           sizeof buffer, ProfilePath(row.file).c_str());
  return buffer;
}

int ReadProfileInt(const char* key, int defaultValue) {
  return static_cast<int>(
      GetPrivateProfileIntA(kProfileSection, key, defaultValue, Settings().iniFile.c_str()));
}

bool NoGif() { return g_noGif; }
bool NoLumacove() { return g_noLumacove; }

void ReadStartSwitches() {
  g_noLumacove = ReadProfileSettingInt(ProfileSetting::kNoLumacove) != 0;
  g_noGif = ReadProfileSettingInt(ProfileSetting::kNoGif) != 0;
}

const std::string& SetFilePath() { return Settings().setFile; }

std::string SpecialFolder(SpecialFolderKind kind) {
  std::string path;
  if (Settings().specialFolder != nullptr && Settings().specialFolder(kind, &path)) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
  }
  if (kind == SpecialFolderKind::kAppData) return Settings().programFolder;
  return std::string();
}

std::string UserDataFolder() {
  if (IsWindows95(Settings().osVersion)) return Settings().programFolder;
  std::string folder = JoinPath(SpecialFolder(SpecialFolderKind::kAppData), "Quorvex");
  folder = JoinPath(folder, Settings().productName);
  return JoinPath(folder, VersionFolderName(Settings().productVersion));
}

std::string UserDataPath(const std::string& name) { return JoinPath(UserDataFolder(), name); }

std::string AlbumFolder() { return UserDataPath("palbums"); }

bool ReadLastFolder(std::string* folder, int which) {
  folder->clear();
  return ReadStoredString(LastFolderSetting(which), folder, 256);
}

bool WriteLastFolder(const std::string& filePath, int which) {
  size_t slash = filePath.find_last_of('\\');
  std::string folder = slash == std::string::npos ? filePath : filePath.substr(0, slash);
  return WriteSettingString(LastFolderSetting(which), folder);
}

bool ReadStiDeviceName(std::string* name) {
  name->clear();
  return ReadStoredString(Setting::kStiDeviceName, name, 512);
}

bool WriteStiDeviceName(const std::string& name) {
  return WriteSettingString(Setting::kStiDeviceName, name);
}

namespace {

void CreateNewUserBranch() {
  const SettingsEnvironment& env = Settings();
  if (!IsWindows95(env.osVersion)) CopySampleAlbums(env.programFolder, UserDataFolder());
  bool created = false;
  {
    UniqueHKey branch = CreateKey(env.userRoot, env.branch, &created);
    if (!branch) return;
  }
  if (created) {
    for (const char* key : kNewUserKeys) CreateKey(env.userRoot, SettingKeyPath(key));
    std::string documents = SpecialFolder(SpecialFolderKind::kDocuments);
    if (!documents.empty()) CreateFolderChain(documents);
    WriteSettingString(Setting::kFileLastDir, documents);
    WriteSettingString(Setting::kAlbumLastDir, documents);
  }
  if (KeyExists(env.machineRoot, env.machineBranch)) {
    for (const char* key : kNewUserKeys)
      CopyKeyValues(env.machineRoot, env.machineBranch + "\\" + key, env.userRoot,
                    SettingKeyPath(key));
  }
  // Without machine-wide albums the sample albums are listed, row first.
  if (!IsWindows95(env.osVersion))
    ListSampleAlbums(env.userRoot, SettingKeyPath("PHOTOS"), env.programFolder, AlbumFolder());
}

void StoreFolders(const TrackedFolders& folders) {
  WriteSettingString(Setting::kUpdateAppData, folders.appData);
  WriteSettingString(Setting::kUpdateWindows, folders.windows);
  WriteSettingString(Setting::kUpdateDocument, folders.documents);
  WriteSettingString(Setting::kUpdateDesktop, folders.desktop);
}

bool ReadStoredFolders(TrackedFolders* folders) {
  bool all = ReadStoredString(Setting::kUpdateAppData, &folders->appData, 260);
  all = ReadStoredString(Setting::kUpdateWindows, &folders->windows, 260) && all;
  all = ReadStoredString(Setting::kUpdateDocument, &folders->documents, 260) && all;
  all = ReadStoredString(Setting::kUpdateDesktop, &folders->desktop, 260) && all;
  return all;
}

void FixAlbumPaths(const TrackedFolders& oldFolders, const TrackedFolders& newFolders) {
  std::string albums = AlbumFolder();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(albums, "*.abm").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    RewriteAlbumRecords(JoinPath(albums, found.cFileName), [&](AlbumRecord& record) {
      if (record.IsRelative()) return false;
      std::string rewritten;
      if (!RewriteTrackedPath(LowerCase(record.Path()), oldFolders, newFolders, &rewritten))
        return false;
      return record.SetPath(rewritten);  // a path that no longer fits stays as it was
    });
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

TrackedFolders CurrentFolders(DWORD storedVersion) {
  TrackedFolders folders;
  folders.appData = SpecialFolder(SpecialFolderKind::kAppData);
  folders.windows = Settings().windowsFolder;
  folders.documents = SpecialFolder(SpecialFolderKind::kDocuments);
  folders.desktop = SpecialFolder(DesktopFolderToRecord(Settings().osVersion, storedVersion));
  return folders;
}

void TrackFolders() {
  const SettingsEnvironment& env = Settings();
  DWORD current = env.osVersion;
  const std::string update = SettingKeyPath(SettingRowOf(Setting::kUpdateVersion).key);
  DWORD stored = 0;
  if (!KeyExists(env.userRoot, update)) {
    CreateKey(env.userRoot, update);
    WriteSettingDword(Setting::kUpdateVersion, current);
    StoreFolders(CurrentFolders(current));
    return;
  }
  if (!ReadStoredDword(Setting::kUpdateVersion, &stored)) {
    // A key without a version: nothing to compare with, so start tracking now.
    WriteSettingDword(Setting::kUpdateVersion, current);
    StoreFolders(CurrentFolders(current));
    return;
  }
  if (stored == current) {
    StoreFolders(CurrentFolders(stored));
    return;
  }
  TrackedFolders oldFolders;
  ReadStoredFolders(&oldFolders);
  oldFolders.appData = LowerCase(oldFolders.appData);
  oldFolders.windows = LowerCase(oldFolders.windows);
  oldFolders.documents = LowerCase(oldFolders.documents);
  oldFolders.desktop = LowerCase(oldFolders.desktop);
  StoreFolders(CurrentFolders(stored));
  TrackedFolders newFolders;
  ReadStoredFolders(&newFolders);
  FixAlbumPaths(oldFolders, newFolders);
  WriteSettingDword(Setting::kUpdateVersion, current);
}

void LoadSettings() {
  const SettingsEnvironment& env = Settings();
  if (!KeyExists(env.userRoot, env.branch)) {
    CreateNewUserBranch();
  } else if (!IsWindows95(env.osVersion) && !FolderExists(AlbumFolder())) {
    CopySampleAlbums(env.programFolder, UserDataFolder());
  }
  if (!IsWindows95(env.osVersion)) TrackFolders();
}

std::string MakeAcquiredPhotoNameOn(const std::string& folder, const SYSTEMTIME& today) {
  CameraCounter counter;
  counter.hasDate = ReadStoredDword(Setting::kCameraDate, &counter.date);
  counter.hasNumber = ReadStoredDword(Setting::kCameraNum, &counter.number);
  AcquiredPhotoName name = NameAcquiredPhoto(counter, today);
  if (name.storeDate) WriteSettingDword(Setting::kCameraDate, name.date);
  WriteSettingDword(Setting::kCameraNum, name.nextNumber);
  return JoinPath(folder, name.fileName);
}

std::string MakeAcquiredPhotoName(const std::string& folder) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeAcquiredPhotoNameOn(folder, now);
}

}  // namespace vmd
