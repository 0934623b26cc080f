#ifndef APP_SHELL_SETTINGS_TABLE_H
#define APP_SHELL_SETTINGS_TABLE_H

#include <windows.h>

namespace vmd {

/// Every registry value of the user branch, by name. The order is the row
/// order of kRegistrySettings.
enum class Setting {
  kFileLastDir,
  kAlbumLastDir,
  kCameraDate,
  kCameraNum,
  kStiDeviceName,
  kAlbumCurrent,
  kUpdateVersion,
  kUpdateAppData,
  kUpdateWindows,
  kUpdateDocument,
  kUpdateDesktop,
  kCount
};

/// Where a value's default comes from.
enum class SettingDefaultKind {
  kNone,             ///< no default: absent stays absent
  kNumber,           ///< the row's number
  kDocumentsFolder,  ///< the user's documents folder
  kAppDataFolder,    ///< the user's application data folder
  kWindowsFolder,    ///< the Windows folder
  kDesktopFolder,    ///< the desktop folder chosen by folder tracking
  kOsVersion,        ///< the operating system's version number (GetVersion)
};

/// One registry value: key under the branch, value name, type, default.
struct SettingRow {
  Setting id;
  const char* key;
  const char* value;
  DWORD type;  ///< REG_SZ or REG_DWORD
  SettingDefaultKind defaultKind;
  DWORD number;  ///< the default when defaultKind is kNumber
};

extern const SettingRow kRegistrySettings[static_cast<int>(Setting::kCount)];

const SettingRow& SettingRowOf(Setting id);

/// The keys a new user gets, in creation order; the same keys take the
/// machine-wide start values.
extern const char* const kNewUserKeys[5];

/// The two profile files.
enum class ProfileFile {
  kSet,  ///< "vmd3.set" in the program folder
  kIni,  ///< "vmd3.ini", a bare name the profile functions look up
};

/// Every profile switch, by name; the order is the row order of kProfileSettings.
enum class ProfileSetting {
  kNoLumacove,
  kNoGif,
  kUrl,
  kDefaultTwainDir,
  kFor640,
  kMemoryScan,
  kMultiScan,
  kCount
};

/// One profile key of section "USER": an integer (textDefault null) or a text.
struct ProfileRow {
  ProfileSetting id;
  ProfileFile file;
  const char* key;
  int intDefault;
  const char* textDefault;  ///< nullptr for integer keys
};

extern const ProfileRow kProfileSettings[static_cast<int>(ProfileSetting::kCount)];

const ProfileRow& ProfileRowOf(ProfileSetting id);

/// The section of every profile key.
constexpr const char* kProfileSection = "USER";

}  // namespace vmd

#endif  // APP_SHELL_SETTINGS_TABLE_H
