#ifndef TESTS_APP_SHELL_SCRATCH_SETTINGS_H
#define TESTS_APP_SHELL_SCRATCH_SETTINGS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings.h"

namespace vmd::test {

/// Points the settings at a scratch registry branch (user and machine-wide
/// both under HKCU\Software\VmdTests\<run>) and scratch folders under the
/// temporary folder; removes everything afterwards. The user's own branch and
/// folders are never touched.
class ScratchSettings : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Creates a file with the given bytes (folders created as needed).
  static void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
  static std::vector<unsigned char> ReadFile(const std::string& path);

  std::string root_;        // scratch folder of this test
  std::string runKey_;      // HKCU\Software\VmdTests\<run>
  std::string userBranch_;  // the settings branch under HKCU
  std::string machineBranch_;
  SettingsEnvironment environment_;

  // What the scratch folder service answers; empty = no path.
  static std::string s_appData, s_documents, s_desktop, s_commonDesktop;
  static bool ScratchFolder(SpecialFolderKind kind, std::string* path);
};

/// An album file image: a header and `count` records (paths given), each with
/// a 4-byte data block, laid out as the program writes them.
std::vector<unsigned char> MakeAlbumBytes(const std::vector<std::string>& paths,
                                          const std::vector<bool>& relative = {},
                                          uint32_t headerCount = 0);
/// The path stored in record i of an album image.
std::string RecordPath(const std::vector<unsigned char>& album, size_t i);
bool RecordRelative(const std::vector<unsigned char>& album, size_t i);

}  // namespace vmd::test

#endif  // TESTS_APP_SHELL_SCRATCH_SETTINGS_H
