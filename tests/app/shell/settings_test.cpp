// Settings against a scratch registry branch and scratch folders.
#include "settings.h"

#include <gtest/gtest.h>

#include "registry_key.h"
#include "scratch_settings.h"

namespace vmd::test {
namespace {

class SettingsTest : public ScratchSettings {};

TEST_F(SettingsTest, NewUserGetsTheBranchAndItsKeys) {
  ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, userBranch_));
  LoadSettings();
  for (const char* key : {"PHOTOS", "ALBUMPOS", "ALBUMHEAD", "ALBUMCUR", "USER", "UPDATE"})
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, userBranch_ + "\\" + key)) << key;
  std::string folder;
  ASSERT_TRUE(ReadLastFolder(&folder, 1));
  EXPECT_EQ(folder, s_documents);
  ASSERT_TRUE(ReadLastFolder(&folder, 0));
  EXPECT_EQ(folder, s_documents);
  EXPECT_TRUE(FolderExists(s_documents)) << "the documents folder is created when missing";
  DWORD version = 0;
  ASSERT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "VERSION", &version));
  EXPECT_EQ(version, environment_.osVersion);
  std::string recorded;
  ASSERT_TRUE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "DESKTOP", &recorded));
  EXPECT_EQ(recorded, s_desktop);
  ASSERT_TRUE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "WINDOWS", &recorded));
  EXPECT_EQ(recorded, environment_.windowsFolder);
}

TEST_F(SettingsTest, NewUserTakesMachineWideStartValues) {
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, machineBranch_ + "\\ALBUMCUR", "CURRENT", 4));
  ASSERT_TRUE(WriteStringValue(HKEY_CURRENT_USER, machineBranch_ + "\\PHOTOS", "album2.abm",
                               "Holidays"));
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, machineBranch_ + "\\ALBUMPOS",
                              "photos_album2.abm", 7));
  ASSERT_TRUE(WriteStringValue(HKEY_CURRENT_USER, machineBranch_ + "\\USER", "FILELASTDIR",
                               "D:\\Shared photos"));
  // A value longer than the copy's 260 bytes is left out, not cut.
  ASSERT_TRUE(WriteStringValue(HKEY_CURRENT_USER, machineBranch_ + "\\PHOTOS", "album9.abm",
                               std::string(300, 'x')));
  LoadSettings();

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (userBranch_ + "\\ALBUMCUR").c_str(), 0, KEY_READ,
                          &key),
            ERROR_SUCCESS);
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegQueryValueExA(key, "CURRENT", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(value, 4u);

  std::string title;
  ASSERT_TRUE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\PHOTOS", "album2.abm", &title));
  EXPECT_EQ(title, "Holidays");
  DWORD position = 0;
  ASSERT_TRUE(
      ReadDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\ALBUMPOS", "photos_album2.abm", &position));
  EXPECT_EQ(position, 7u);
  std::string folder;
  ASSERT_TRUE(ReadLastFolder(&folder, 1));
  EXPECT_EQ(folder, "D:\\Shared photos") << "the machine-wide value replaces the documents folder";
  EXPECT_FALSE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\PHOTOS", "album9.abm", &title,
                               400));
}

TEST_F(SettingsTest, ExistingUserKeepsOwnValues) {
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\ALBUMCUR", "CURRENT", 2));
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, machineBranch_ + "\\ALBUMCUR", "CURRENT", 9));
  LoadSettings();
  DWORD current = 0;
  ASSERT_TRUE(ReadSettingDword(Setting::kAlbumCurrent, &current));
  EXPECT_EQ(current, 2u);
}

TEST_F(SettingsTest, AbsentValuesReadAsTheirDefaults) {
  DWORD number = 0;
  ASSERT_TRUE(ReadSettingDword(Setting::kCameraNum, &number));
  EXPECT_EQ(number, 1u);
  DWORD current = 99;
  ASSERT_TRUE(ReadSettingDword(Setting::kAlbumCurrent, &current));
  EXPECT_EQ(current, 0u);
  DWORD date = 0;
  EXPECT_FALSE(ReadSettingDword(Setting::kCameraDate, &date)) << "CAMERA_DATE has no default";
  std::string folder;
  ASSERT_TRUE(ReadSettingString(Setting::kFileLastDir, &folder));
  EXPECT_EQ(folder, s_documents);
  DWORD version = 0;
  ASSERT_TRUE(ReadSettingDword(Setting::kUpdateVersion, &version));
  EXPECT_EQ(version, environment_.osVersion);
}

TEST_F(SettingsTest, EveryTableRowHasATypeMatchingItsDefault) {
  for (const SettingRow& row : kRegistrySettings) {
    bool folderDefault = row.defaultKind == SettingDefaultKind::kDocumentsFolder ||
                         row.defaultKind == SettingDefaultKind::kAppDataFolder ||
                         row.defaultKind == SettingDefaultKind::kWindowsFolder ||
                         row.defaultKind == SettingDefaultKind::kDesktopFolder;
    bool numberDefault = row.defaultKind == SettingDefaultKind::kNumber ||
                         row.defaultKind == SettingDefaultKind::kOsVersion;
    EXPECT_TRUE(!folderDefault || row.type == REG_SZ) << row.value;
    EXPECT_TRUE(!numberDefault || row.type == REG_DWORD) << row.value;
    EXPECT_EQ(&SettingRowOf(row.id), &row) << "rows are in id order";
  }
  for (const ProfileRow& row : kProfileSettings) EXPECT_EQ(&ProfileRowOf(row.id), &row);
}

struct LastFolderCase {
  const char* filePath;
  const char* stored;
};

class LastFolderTest : public SettingsTest, public ::testing::WithParamInterface<LastFolderCase> {};

TEST_P(LastFolderTest, StoresTheFolderWithoutTrailingBackslash) {
  ASSERT_TRUE(WriteLastFolder(GetParam().filePath, 1));
  std::string folder;
  ASSERT_TRUE(ReadLastFolder(&folder, 1));
  EXPECT_EQ(folder, GetParam().stored);
  EXPECT_FALSE(ReadLastFolder(&folder, 0)) << "the album folder is a separate value";
  EXPECT_EQ(folder, "");
}

INSTANTIATE_TEST_SUITE_P(Paths, LastFolderTest,
                         ::testing::Values(LastFolderCase{"C:\\photos\\beach\\a.jpg", "C:\\photos\\beach"},
                                           LastFolderCase{"C:\\x.jpg", "C:"},
                                           LastFolderCase{"\\\\server\\share\\b.tif", "\\\\server\\share"}));

TEST_F(SettingsTest, LastFolderLongerThanTheReadBufferIsUnread) {
  std::string longFolder = "C:\\" + std::string(300, 'd');
  ASSERT_TRUE(WriteLastFolder(longFolder + "\\a.jpg", 0));
  std::string folder = "stale";
  EXPECT_FALSE(ReadLastFolder(&folder, 0));
  EXPECT_EQ(folder, "");
}

TEST_F(SettingsTest, StillImageDeviceNameRoundTrips) {
  std::string name = "left over";
  EXPECT_FALSE(ReadStiDeviceName(&name));
  EXPECT_EQ(name, "");
  ASSERT_TRUE(WriteStiDeviceName("Acme Scanner 2000"));
  ASSERT_TRUE(ReadStiDeviceName(&name));
  EXPECT_EQ(name, "Acme Scanner 2000");
}

TEST_F(SettingsTest, ProfileSwitchesReadFromTheirFiles) {
  ReadStartSwitches();
  EXPECT_FALSE(NoGif());
  EXPECT_FALSE(NoLumacove());
  EXPECT_EQ(ReadProfileInt("FOR_640", 0), 0);
  EXPECT_EQ(ReadProfileSettingText(ProfileSetting::kDefaultTwainDir), "");
  EXPECT_FALSE(ReadProfileSettingText(ProfileSetting::kUrl).empty());

  WritePrivateProfileStringA("USER", "NOGIF", "1", SetFilePath().c_str());
  WritePrivateProfileStringA("USER", "DefaultTwainDir", "C:\\Scans", SetFilePath().c_str());
  WritePrivateProfileStringA("USER", "FOR_640", "1", environment_.iniFile.c_str());
  WritePrivateProfileStringA("USER", "MultiScan", "3", environment_.iniFile.c_str());
  ReadStartSwitches();
  EXPECT_TRUE(NoGif());
  EXPECT_FALSE(NoLumacove());
  EXPECT_EQ(ReadProfileSettingText(ProfileSetting::kDefaultTwainDir), "C:\\Scans");
  EXPECT_EQ(ReadProfileInt("FOR_640", 0), 1);
  EXPECT_EQ(ReadProfileSettingInt(ProfileSetting::kFor640), 1);
  EXPECT_EQ(ReadProfileSettingInt(ProfileSetting::kMultiScan), 3);
  EXPECT_EQ(ReadProfileSettingInt(ProfileSetting::kMemoryScan), 0);
  EXPECT_EQ(SetFilePath(), environment_.programFolder + "\\vmd3.set");
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, SetFilePath().c_str());  // flush
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, environment_.iniFile.c_str());
}

TEST_F(SettingsTest, UserDataFolderCarriesMakerProductAndVersion) {
  EXPECT_EQ(UserDataFolder(), s_appData + "\\Quorvex\\Vistameld\\3.0");
  EXPECT_EQ(AlbumFolder(), s_appData + "\\Quorvex\\Vistameld\\3.0\\palbums");
  EXPECT_EQ(UserDataPath("x.dat"), s_appData + "\\Quorvex\\Vistameld\\3.0\\x.dat");
}

TEST_F(SettingsTest, Windows95UsesTheProgramFolder) {
  environment_.osVersion = 0xC0000004;  // 9x family, version 4.0
  SetSettingsEnvironment(environment_);
  EXPECT_EQ(UserDataFolder(), environment_.programFolder);
}

TEST_F(SettingsTest, ProgramFolderStandsInForMissingApplicationData) {
  s_appData.clear();
  EXPECT_EQ(SpecialFolder(SpecialFolderKind::kAppData), environment_.programFolder);
  EXPECT_EQ(SpecialFolder(SpecialFolderKind::kDocuments), s_documents);
}

TEST_F(SettingsTest, NewUserGetsTheSampleAlbums) {
  WriteFile(environment_.programFolder + "\\palbums\\album1.abm",
            MakeAlbumBytes({"beach1.jpg", "D:\\other\\x.jpg"}, {true, false}));
  LoadSettings();
  std::vector<unsigned char> copy = ReadFile(AlbumFolder() + "\\album1.abm");
  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(RecordPath(copy, 0), environment_.programFolder + "\\beach1.jpg");
  EXPECT_FALSE(RecordRelative(copy, 0));
  EXPECT_EQ(RecordPath(copy, 1), "D:\\other\\x.jpg");
}

TEST_F(SettingsTest, ExistingUserWithoutAlbumFolderGetsTheSampleAlbums) {
  CreateKey(HKEY_CURRENT_USER, userBranch_);
  WriteFile(environment_.programFolder + "\\palbums\\album1.abm", MakeAlbumBytes({"a.jpg"}, {true}));
  LoadSettings();
  EXPECT_FALSE(ReadFile(AlbumFolder() + "\\album1.abm").empty());
  // Now present: a second start copies nothing over the user's own file.
  WriteFile(AlbumFolder() + "\\album1.abm", MakeAlbumBytes({"C:\\mine.jpg"}));
  LoadSettings();
  EXPECT_EQ(RecordPath(ReadFile(AlbumFolder() + "\\album1.abm"), 0), "C:\\mine.jpg");
}

}  // namespace
}  // namespace vmd::test
