// The 32-bit programs that stitch are marked large-address-aware in their PE
// headers, so 64-bit Windows and Wine give them 4 GB of addresses, not 2.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

namespace {

constexpr uint16_t kLargeAddressAware = 0x0020;  // IMAGE_FILE_LARGE_ADDRESS_AWARE

/// The file header's Characteristics of a PE image; -1 when it is not one.
int PeCharacteristics(const std::vector<uint8_t>& file) {
  auto u16 = [&](size_t at) { return at + 2 <= file.size() ? file[at] | (file[at + 1] << 8) : -1; };
  auto u32 = [&](size_t at) {
    return at + 4 <= file.size() ? uint32_t(u16(at)) | (uint32_t(u16(at + 2)) << 16) : 0xFFFFFFFFu;
  };
  if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') return -1;
  const uint32_t pe = u32(0x3C);
  if (pe > file.size() || file.size() - pe < 24) return -1;
  if (file[pe] != 'P' || file[pe + 1] != 'E' || file[pe + 2] != 0 || file[pe + 3] != 0) return -1;
  // Signature, then Machine, NumberOfSections, TimeDateStamp,
  // PointerToSymbolTable, NumberOfSymbols, SizeOfOptionalHeader.
  return u16(pe + 4 + 18);
}

std::vector<uint8_t> ReadAll(std::string path) {
  // CTest hands Wine the Unix path of the build tree; Wine sees it on drive Z:.
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t chunk[4096];
  size_t n = 0;
  // The headers are in the first kilobytes.
  while (bytes.size() < 65536 && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  return bytes;
}

std::vector<std::string> Programs() {
  std::vector<std::string> list;
  std::string all = VMD_LAA_PROGRAMS, item;
  for (char c : all + "|") {
    if (c == '|') {
      if (!item.empty()) list.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  return list;
}

TEST(LargeAddressAware, ReadsTheFlagFromAHandMadeHeader) {
  std::vector<uint8_t> image(0x100, 0);
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 0x80;
  image[0x80] = 'P';
  image[0x81] = 'E';
  image[0x80 + 22] = 0x02;  // executable image, no large addresses
  EXPECT_EQ(PeCharacteristics(image) & kLargeAddressAware, 0);
  image[0x80 + 22] = 0x22;
  EXPECT_NE(PeCharacteristics(image) & kLargeAddressAware, 0);
  image[0x81] = 'X';
  EXPECT_EQ(PeCharacteristics(image), -1);
  image[0x81] = 'E';
  image[0x3C] = 0xF0;  // the PE header would run past the end
  EXPECT_EQ(PeCharacteristics(image), -1);
}

TEST(LargeAddressAware, EveryProgramThatStitchesCarriesTheFlag) {
  const std::vector<std::string> programs = Programs();
  ASSERT_GE(programs.size(), 4u);
  for (const std::string& path : programs) {
    const int flags = PeCharacteristics(ReadAll(path));
    ASSERT_GE(flags, 0) << path;
    EXPECT_NE(flags & kLargeAddressAware, 0) << path << " is not large-address-aware";
  }
}

TEST(LargeAddressAware, ThisTestProgramIsLeftAtTwoGigabytes) {
  // A control: the flag comes from the build, not from the toolchain's defaults.
  char self[1024] = "";
  ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
  const int flags = PeCharacteristics(ReadAll(self));
  ASSERT_GE(flags, 0);
  EXPECT_EQ(flags & kLargeAddressAware, 0);
}

}  // namespace
