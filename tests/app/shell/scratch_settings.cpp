#include "scratch_settings.h"

#include <cstdio>
#include <cstring>

#include "registry_key.h"

namespace vmd::test {

std::string ScratchSettings::s_appData;
std::string ScratchSettings::s_documents;
std::string ScratchSettings::s_desktop;
std::string ScratchSettings::s_commonDesktop;

bool ScratchSettings::ScratchFolder(SpecialFolderKind kind, std::string* path) {
  const std::string* folder = &s_documents;
  switch (kind) {
    case SpecialFolderKind::kAppData: folder = &s_appData; break;
    case SpecialFolderKind::kDocuments: folder = &s_documents; break;
    case SpecialFolderKind::kDesktop: folder = &s_desktop; break;
    case SpecialFolderKind::kCommonDesktop: folder = &s_commonDesktop; break;
  }
  if (folder->empty()) return false;
  *path = *folder;
  return true;
}

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

void ScratchSettings::SetUp() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  char run[64];
  wsprintfA(run, "vmdtest-%lu-%lu", GetCurrentProcessId(), GetTickCount());
  root_ = JoinPath(temp, run);
  ASSERT_TRUE(CreateFolderChain(root_));
  runKey_ = std::string("Software\\VmdTests\\") + run;
  userBranch_ = runKey_ + "\\User\\Vistameld 3.0";
  machineBranch_ = runKey_ + "\\Machine\\Vistameld 3.0";

  s_appData = root_ + "\\AppData";
  s_documents = root_ + "\\Documents";
  s_desktop = root_ + "\\Desktop";
  s_commonDesktop = root_ + "\\AllUsers\\Desktop";
  CreateFolderChain(s_appData);
  CreateFolderChain(s_desktop);
  CreateFolderChain(s_commonDesktop);

  environment_.userRoot = HKEY_CURRENT_USER;
  environment_.machineRoot = HKEY_CURRENT_USER;
  environment_.branch = userBranch_;
  environment_.machineBranch = machineBranch_;
  environment_.olderBranch = runKey_ + "\\User\\Vistameld 2000";
  environment_.programFolder = root_ + "\\Program";
  environment_.windowsFolder = root_ + "\\Windows";
  environment_.productName = "Vistameld";
  environment_.productVersion = "3.0.0.17";
  environment_.osVersion = 0x23F00206;  // an NT-family version (6.2)
  environment_.specialFolder = ScratchFolder;
  environment_.iniFile = root_ + "\\Windows\\vmd3.ini";
  environment_.setFile = root_ + "\\Program\\vmd3.set";
  CreateFolderChain(environment_.programFolder);
  CreateFolderChain(environment_.windowsFolder);
  SetSettingsEnvironment(environment_);
}

void ScratchSettings::TearDown() {
  DeleteKeyTree(HKEY_CURRENT_USER, runKey_);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VmdTests");  // only when no other run is left
  RemoveTree(root_);
  SetSettingsEnvironment(SettingsEnvironment());
}

void ScratchSettings::WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  CreateFolderChain(FolderOfPath(path));
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

std::vector<unsigned char> ScratchSettings::ReadFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  int c;
  while ((c = fgetc(file)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  fclose(file);
  return bytes;
}

namespace {

void PutU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

std::vector<unsigned char> MakeAlbumBytes(const std::vector<std::string>& paths,
                                          const std::vector<bool>& relative,
                                          uint32_t headerCount) {
  uint32_t count = static_cast<uint32_t>(paths.size());
  uint32_t declared = headerCount != 0 ? headerCount : count;
  // The data area follows every record the header declares, as the reader
  // expects; records past the given paths stay zero.
  size_t dataStart = 144 + 288 * static_cast<size_t>(declared > count ? declared : count);
  std::vector<unsigned char> bytes(dataStart + 4 * count, 0);
  memcpy(bytes.data(), "PALM", 4);
  PutU32(bytes, 4, static_cast<uint32_t>(bytes.size()));
  PutU32(bytes, 8, declared);
  PutU32(bytes, 12, static_cast<uint32_t>(144 + 288 * declared));
  for (uint32_t i = 0; i < count; ++i) {
    size_t record = 144 + 288 * static_cast<size_t>(i);
    memcpy(&bytes[record + 8], paths[i].data(), paths[i].size());
    bytes[record + 152] = bytes[record + 154] = bytes[record + 156] = 1;
    if (i < relative.size() && relative[i]) bytes[record + 264] = 1;
    PutU32(bytes, record + 272, 4 * i);
    PutU32(bytes, record + 280, 4);
    PutU32(bytes, dataStart + 4 * i, 0xABCD0000u + i);
  }
  return bytes;
}

std::string RecordPath(const std::vector<unsigned char>& album, size_t i) {
  const char* text = reinterpret_cast<const char*>(&album[144 + 288 * i + 8]);
  return std::string(text, strnlen(text, 128));
}

bool RecordRelative(const std::vector<unsigned char>& album, size_t i) {
  return album[144 + 288 * i + 264] != 0;
}

}  // namespace vmd::test
