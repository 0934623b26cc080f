#include "settings_table.h"

namespace vmd {

const SettingRow kRegistrySettings[] = {
    {Setting::kFileLastDir, "USER", "FILELASTDIR", REG_SZ, SettingDefaultKind::kDocumentsFolder, 0},
    {Setting::kAlbumLastDir, "USER", "ALBUMLASTDIR", REG_SZ, SettingDefaultKind::kDocumentsFolder, 0},
    {Setting::kCameraDate, "USER", "CAMERA_DATE", REG_DWORD, SettingDefaultKind::kNone, 0},
    {Setting::kCameraNum, "USER", "CAMERA_NUM", REG_DWORD, SettingDefaultKind::kNumber, 1},
    {Setting::kStiDeviceName, "USER", "StiDeviceNAME", REG_SZ, SettingDefaultKind::kNone, 0},
    {Setting::kAlbumCurrent, "ALBUMCUR", "CURRENT", REG_DWORD, SettingDefaultKind::kNumber, 0},
    {Setting::kUpdateVersion, "UPDATE", "VERSION", REG_DWORD, SettingDefaultKind::kOsVersion, 0},
    {Setting::kUpdateAppData, "UPDATE", "APPDATA", REG_SZ, SettingDefaultKind::kAppDataFolder, 0},
    {Setting::kUpdateWindows, "UPDATE", "WINDOWS", REG_SZ, SettingDefaultKind::kWindowsFolder, 0},
    {Setting::kUpdateDocument, "UPDATE", "DOCUMENT", REG_SZ, SettingDefaultKind::kDocumentsFolder, 0},
    {Setting::kUpdateDesktop, "UPDATE", "DESKTOP", REG_SZ, SettingDefaultKind::kDesktopFolder, 0},
};

const SettingRow& SettingRowOf(Setting id) { return kRegistrySettings[static_cast<int>(id)]; }

const char* const kNewUserKeys[5] = {"PHOTOS", "ALBUMPOS", "ALBUMHEAD", "ALBUMCUR", "USER"};

const ProfileRow kProfileSettings[] = {
    {ProfileSetting::kNoLumacove, ProfileFile::kSet, "NOLUMACOVE", 0, nullptr},
    {ProfileSetting::kNoGif, ProfileFile::kSet, "NOGIF", 0, nullptr},
    {ProfileSetting::kUrl, ProfileFile::kSet, "URL", 0, "http://www.quorvex.com/photos/"},
    {ProfileSetting::kDefaultTwainDir, ProfileFile::kSet, "DefaultTwainDir", 0, ""},
    {ProfileSetting::kFor640, ProfileFile::kIni, "FOR_640", 0, nullptr},
    {ProfileSetting::kMemoryScan, ProfileFile::kIni, "MemoryScan", 0, nullptr},
    {ProfileSetting::kMultiScan, ProfileFile::kIni, "MultiScan", 0, nullptr},
};

const ProfileRow& ProfileRowOf(ProfileSetting id) { return kProfileSettings[static_cast<int>(id)]; }

}  // namespace vmd
