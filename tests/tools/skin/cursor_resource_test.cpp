// The cursors drawn at build time are resources of vmd3.exe: each loads by
// its number, with the hot spot of its cursor file.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const int kCursorIds[] = {180, 200, 201, 210, 211, 212, 213, 214, 215, 216, 217,
                          218, 219, 220, 221, 224, 233, 235, 237, 238, 727};

TEST(ProgramCursors, EachLoadsWithTheHotSpotOfItsFile) {
  HMODULE program = LoadLibraryExA(VMD3_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr) << VMD3_EXE_PATH;
  for (int id : kCursorIds) {
    const std::string file =
        std::string(VMD_CURSOR_FOLDER) + "/cursor" + std::to_string(id) + ".cur";
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 22u) << file;
    const int hotX = bytes[10] | bytes[11] << 8, hotY = bytes[12] | bytes[13] << 8;

    HANDLE cursor = LoadImageA(program, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0);
    ASSERT_NE(cursor, nullptr) << "cursor " << id << " is no resource of the program";
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor), &info)) << id;
    EXPECT_FALSE(info.fIcon) << id;
    EXPECT_EQ(int(info.xHotspot), hotX) << id;
    EXPECT_EQ(int(info.yHotspot), hotY) << id;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DestroyCursor(static_cast<HCURSOR>(cursor));
  }
  FreeLibrary(program);
}

}  // namespace
