// The shared resource file: both messages present, and nothing but resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string LoadFrom(HMODULE module, UINT id) {
  char buffer[512] = {};
  int length = LoadStringA(module, id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

TEST(ResZel, CarriesBothSharedMessages) {
  HMODULE module = LoadLibraryExA("Res_Zel.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  std::string session = LoadFrom(module, 11000);
  std::string name = LoadFrom(module, 11001);
  EXPECT_NE(session.find("another user"), std::string::npos) << session;
  EXPECT_NE(name.find("file name"), std::string::npos) << name;
  EXPECT_EQ(LoadFrom(module, 11002), "");
  FreeLibrary(module);
}

TEST(ResZel, LoadsByNameWithoutCode) {
  // The program loads it with a plain LoadLibrary; a resource-only library
  // has no entry point to run.
  HMODULE module = LoadLibraryA("Res_Zel.DLL");
  ASSERT_NE(module, nullptr);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u);
  EXPECT_FALSE(LoadFrom(module, 11000).empty());
  FreeLibrary(module);
}

}  // namespace
