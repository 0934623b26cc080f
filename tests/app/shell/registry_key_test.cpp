// Registry helpers on a scratch branch.
#include "registry_key.h"

#include <gtest/gtest.h>

#include "folders.h"
#include "instance_guard.h"
#include "scratch_settings.h"

namespace vmd::test {
namespace {

class RegistryKeyTest : public ScratchSettings {};

TEST_F(RegistryKeyTest, CopyKeepsTypesAndOwnLengths) {
  std::string from = machineBranch_ + "\\USER";
  std::string to = userBranch_ + "\\USER";
  UniqueHKey key = CreateKey(HKEY_CURRENT_USER, from);
  ASSERT_TRUE(key);
  const BYTE binary[3] = {1, 0, 2};
  const char multi[] = "a\0bc\0";
  RegSetValueExA(key.get(), "BIN", 0, REG_BINARY, binary, sizeof binary);
  RegSetValueExA(key.get(), "MULTI", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi),
                 sizeof multi);
  RegSetValueExA(key.get(), "EMPTY", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  key.reset();
  EXPECT_EQ(CopyKeyValues(HKEY_CURRENT_USER, from, HKEY_CURRENT_USER, to), 3);

  UniqueHKey copy = OpenKey(HKEY_CURRENT_USER, to);
  ASSERT_TRUE(copy);
  BYTE data[16];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(copy.get(), "BIN", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(memcmp(data, binary, 3), 0);
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(copy.get(), "MULTI", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(size, sizeof multi);
  std::string empty = "x";
  EXPECT_TRUE(ReadStringValue(HKEY_CURRENT_USER, to, "EMPTY", &empty));
  EXPECT_EQ(empty, "");
}

TEST_F(RegistryKeyTest, CopyFromAMissingKeyCopiesNothing) {
  EXPECT_EQ(CopyKeyValues(HKEY_CURRENT_USER, machineBranch_ + "\\NONE", HKEY_CURRENT_USER,
                          userBranch_ + "\\NONE"),
            0);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userBranch_ + "\\NONE"));
}

TEST_F(RegistryKeyTest, ReadsRefuseTheWrongType) {
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, userBranch_, "N", 5));
  ASSERT_TRUE(WriteStringValue(HKEY_CURRENT_USER, userBranch_, "S", "five"));
  std::string text;
  DWORD number = 0;
  EXPECT_FALSE(ReadStringValue(HKEY_CURRENT_USER, userBranch_, "N", &text));
  EXPECT_FALSE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_, "S", &number));
  EXPECT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_, "N", &number));
  EXPECT_EQ(number, 5u);
}

TEST_F(RegistryKeyTest, CreateTellsWhetherTheKeyIsNew) {
  bool created = false;
  EXPECT_TRUE(CreateKey(HKEY_CURRENT_USER, userBranch_ + "\\K", &created));
  EXPECT_TRUE(created);
  EXPECT_TRUE(CreateKey(HKEY_CURRENT_USER, userBranch_ + "\\K", &created));
  EXPECT_FALSE(created);
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesSubkeys) {
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\A\\B\\C", "V", 1));
  EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, userBranch_ + "\\A"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userBranch_ + "\\A"));
  EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, userBranch_ + "\\A")) << "already gone";
}

TEST(InstanceGuard, RefusedGlobalNameWithNewLocalNameIsAnotherSession) {
  // Another user's session holds the global mutex with a security descriptor
  // that lets nobody else open it.
  std::string tag = "vmdguard-" + std::to_string(GetCurrentProcessId());
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  ACL acl;
  InitializeAcl(&acl, sizeof acl, ACL_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE);  // empty DACL: no access
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
  HANDLE held = CreateMutexA(&attributes, FALSE, ("Global\\" + tag).c_str());
  ASSERT_NE(held, nullptr);
  HANDLE probe = CreateMutexA(nullptr, FALSE, ("Global\\" + tag).c_str());
  if (probe != nullptr || GetLastError() != ERROR_ACCESS_DENIED) {
    if (probe != nullptr) CloseHandle(probe);
    CloseHandle(held);
    GTEST_SKIP() << "this system does not refuse the mutex";
  }
  GuardNames names;
  names.global = "Global\\" + tag;
  names.local = tag + "local";
  EXPECT_EQ(CreateInstanceGuard(names), GuardResult::kOtherUserSession);
  CloseHandle(held);
}

}  // namespace
}  // namespace vmd::test

namespace vmd::test {
namespace {

TEST(ShellSpecialFolder, GivesAbsolutePathsForEveryKind) {
  for (SpecialFolderKind kind : {SpecialFolderKind::kAppData, SpecialFolderKind::kDocuments,
                                 SpecialFolderKind::kDesktop, SpecialFolderKind::kCommonDesktop}) {
    std::string path;
    ASSERT_TRUE(ShellSpecialFolder(kind, &path)) << static_cast<int>(kind);
    ASSERT_GE(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  }
}

TEST(ReadProductVersion, ReadsTheVersionResourceOfAModule) {
  HMODULE vmdres = LoadLibraryA("vmdres.dll");
  ASSERT_NE(vmdres, nullptr);
  std::string name, version;
  ASSERT_TRUE(ReadProductVersion(vmdres, &name, &version));
  EXPECT_EQ(name, "Vistameld");
  EXPECT_EQ(version, "3.0.0.1");
  EXPECT_EQ(VersionFolderName(version), "3.0");
  FreeLibrary(vmdres);
}

struct VersionCase {
  const char* text;
  const char* folder;
};

class VersionFolderNameTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionFolderNameTest, CutsAtTheSecondSeparator) {
  EXPECT_EQ(VersionFolderName(GetParam().text), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionFolderNameTest,
                         ::testing::Values(VersionCase{"3.0.0.17", "3.0"}, VersionCase{"3,0,0,1", "3.0"},
                                           VersionCase{"3.0", "3.0"}, VersionCase{"3", "3"},
                                           VersionCase{"10.2b.7", "10.2b"},
                                           VersionCase{"3 0.1", "3 0.1"},
                                           VersionCase{"3-1_2", "3.1"}, VersionCase{"", ""}));

TEST(FolderOfPath, KeepsTheDriveAndDropsTheName) {
  EXPECT_EQ(FolderOfPath("C:\\a\\b.exe"), "C:\\a");
  EXPECT_EQ(FolderOfPath("C:\\b.exe"), "C:");
  EXPECT_EQ(FolderOfPath("b.exe"), "");
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:\\", "b"), "C:\\b");
  EXPECT_EQ(JoinPath("", "b"), "b");
}

}  // namespace
}  // namespace vmd::test
