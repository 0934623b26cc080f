// Start-up decisions that need no window: layout, guard names, font binding,
// start values and the file-type list.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "app_state.h"
#include "font_metrics.h"
#include "instance_guard.h"
#include "window_layout.h"

namespace vmd {
namespace {

struct LayoutCase {
  int for640;
  int screenWidth, screenHeight;
  int sizeIndex, width, height;
  bool background;
  int x, y;
  int layoutScreenWidth, layoutScreenHeight;
};

std::ostream& operator<<(std::ostream& out, const LayoutCase& c) {
  return out << "FOR_640=" << c.for640 << " on " << c.screenWidth << "x" << c.screenHeight;
}

class WindowLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WindowLayoutTest, PlacesTheWindows) {
  const LayoutCase& c = GetParam();
  WindowLayout layout = ChooseWindowLayout(c.for640, c.screenWidth, c.screenHeight);
  EXPECT_EQ(layout.sizeIndex, c.sizeIndex);
  EXPECT_EQ(layout.width, c.width);
  EXPECT_EQ(layout.height, c.height);
  EXPECT_EQ(layout.hasBackground, c.background);
  EXPECT_EQ(layout.mainX, c.x);
  EXPECT_EQ(layout.mainY, c.y);
  EXPECT_EQ(layout.screenWidth, c.layoutScreenWidth);
  EXPECT_EQ(layout.screenHeight, c.layoutScreenHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowLayoutTest,
    ::testing::Values(
        LayoutCase{0, 1024, 768, 0, 800, 600, true, 112, 84, 1024, 768},
        LayoutCase{0, 800, 600, 0, 800, 600, true, 0, 0, 800, 600},
        LayoutCase{0, 1025, 769, 0, 800, 600, true, 112, 84, 1025, 769},  // >> 1 truncates
        // Small mode on a large screen: 640 x 480 at (0, 0) over a 640 x 480 background.
        LayoutCase{1, 1024, 768, 1, 640, 480, true, 0, 0, 640, 480},
        LayoutCase{7, 1280, 1024, 1, 640, 480, true, 0, 0, 640, 480},
        LayoutCase{-3, 1024, 768, 0, 800, 600, true, 112, 84, 1024, 768},
        // A screen too small for 800 x 600 in one direction picks the small size.
        LayoutCase{0, 799, 600, 1, 640, 480, true, 79, 60, 799, 600},
        LayoutCase{0, 1024, 599, 1, 640, 480, true, 192, 59, 1024, 599},
        // Smaller than 640 x 480 in both directions: no background window.
        LayoutCase{0, 600, 400, 1, 640, 480, false, -20, -40, 600, 400},
        // Smaller in one direction only keeps the background.
        LayoutCase{0, 600, 500, 1, 640, 480, true, -20, 10, 600, 500}));

TEST(DisplayAccepted, NeedsWidth800AndNoPalette) {
  EXPECT_TRUE(DisplayAccepted(800, -1));
  EXPECT_TRUE(DisplayAccepted(1024, 0));
  EXPECT_FALSE(DisplayAccepted(799, -1));
  EXPECT_FALSE(DisplayAccepted(1024, 256)) << "a 256-colour display is refused";
  EXPECT_FALSE(DisplayAccepted(640, -1));
}

TEST(MakeGuardNames, ReplacesColonsAndBackslashes) {
  GuardNames names = MakeGuardNames("C:\\Program Files\\Vistameld\\vmd3.exe", true);
  EXPECT_EQ(names.global, "Global\\C__Program Files_Vistameld_vmd3.exe");
  EXPECT_EQ(names.local, "C__Program Files_Vistameld_vmd3.exelocal");
  GuardNames old = MakeGuardNames("C:\\vmd3.exe", false);
  EXPECT_EQ(old.global, "C__vmd3.exe");
  EXPECT_EQ(old.local, "C__vmd3.exelocal");
}

TEST(MakeGuardNames, CutsLongNamesTo259) {
  std::string path = "C:\\" + std::string(300, 'a') + "\\vmd3.exe";
  GuardNames names = MakeGuardNames(path, true);
  EXPECT_EQ(names.global.size(), 259u);
  EXPECT_EQ(names.global.compare(0, 10, "Global\\C__"), 0);
  EXPECT_EQ(names.local.size(), 259u);
}

TEST(IsWindows2000OrLater, ReadsTheNtFamilyVersion) {
  EXPECT_TRUE(IsWindows2000OrLater(0x08930005));   // 5.0
  EXPECT_TRUE(IsWindows2000OrLater(0x23F00206));   // 6.2
  EXPECT_FALSE(IsWindows2000OrLater(0x05650004));  // NT 4.0
  EXPECT_FALSE(IsWindows2000OrLater(0xC0000A04));  // 98
}

TEST(InstanceGuard, SameSessionAlwaysProceeds) {
  GuardNames names = MakeGuardNames("C:\\guard-test\\" + std::to_string(GetCurrentProcessId()), true);
  EXPECT_EQ(CreateInstanceGuard(names), GuardResult::kProceed);
  EXPECT_EQ(CreateInstanceGuard(names), GuardResult::kProceed) << "a second copy in this session";
}

// --- font metrics ----------------------------------------------------------

int __cdecl CharSet2() { return 2; }
int __cdecl FaceCourier(char* buffer) {
  if (buffer == nullptr) return 0;
  strcpy(buffer, "Courier");
  return 1;
}
int __cdecl FaceRefuses(char*) { return 0; }
int __cdecl Height33() { return 33; }

FARPROC AsProc(void (*fn)()) { return reinterpret_cast<FARPROC>(fn); }
template <typename Fn>
FARPROC P(Fn fn) {
  return AsProc(reinterpret_cast<void (*)()>(fn));
}

/// A library that exports the given names with fixed answers.
ExportLookup FakeLibrary(const std::map<std::string, FARPROC>& exports) {
  return [exports](const char* name) -> FARPROC {
    auto it = exports.find(name);
    return it == exports.end() ? nullptr : it->second;
  };
}

std::map<std::string, FARPROC> AllExports() {
  std::map<std::string, FARPROC> all;
  for (const char* name : kFontMetricExports) all[name] = P(Height33);
  all["VMDRES_GetFontCharSet"] = P(CharSet2);
  all["VMDRES_GetFont"] = P(FaceCourier);
  all["VMDRES_GetAlbFont"] = P(FaceCourier);
  return all;
}

TEST(BindFontMetrics, BindsEveryExportInOrder) {
  FontMetrics metrics;
  EXPECT_EQ(BindFontMetrics(FakeLibrary(AllExports()), &metrics), 9);
  EXPECT_EQ(metrics.charSet, 2);
  EXPECT_STREQ(metrics.faceName, "Courier");
  EXPECT_STREQ(metrics.albumFaceName, "Courier");
  for (int value : {metrics.tipsPointSize, metrics.albumNameHeight, metrics.albumListHeight,
                    metrics.hintHeight, metrics.popupHeight, metrics.printHeight})
    EXPECT_EQ(value, 33);
}

class BindFontMetricsStopTest : public ::testing::TestWithParam<int> {};

TEST_P(BindFontMetricsStopTest, FirstMissingExportKeepsItAndAllLaterStartValues) {
  int missing = GetParam();
  std::map<std::string, FARPROC> exports = AllExports();
  exports.erase(kFontMetricExports[missing]);
  FontMetrics metrics;
  ASSERT_EQ(BindFontMetrics(FakeLibrary(exports), &metrics), missing);
  FontMetrics start;
  EXPECT_EQ(metrics.charSet, missing > 0 ? 2 : start.charSet);
  EXPECT_STREQ(metrics.faceName, missing > 1 ? "Courier" : "Tahoma");
  EXPECT_STREQ(metrics.albumFaceName, missing > 2 ? "Courier" : "Tahoma");
  const int* fields[] = {&metrics.tipsPointSize, &metrics.albumNameHeight,
                         &metrics.albumListHeight, &metrics.hintHeight,
                         &metrics.popupHeight,   &metrics.printHeight};
  const int* starts[] = {&start.tipsPointSize, &start.albumNameHeight, &start.albumListHeight,
                         &start.hintHeight,    &start.popupHeight,     &start.printHeight};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(*fields[i], missing > 3 + i ? 33 : *starts[i]) << kFontMetricExports[3 + i];
}

INSTANTIATE_TEST_SUITE_P(EachExport, BindFontMetricsStopTest, ::testing::Range(0, 9));

TEST(BindFontMetrics, OnlyCharSetAndFontLeaveAlbumFaceAndHeights) {
  std::map<std::string, FARPROC> exports = {{"VMDRES_GetFontCharSet", P(CharSet2)},
                                            {"VMDRES_GetFont", P(FaceCourier)}};
  FontMetrics metrics;
  EXPECT_EQ(BindFontMetrics(FakeLibrary(exports), &metrics), 2);
  EXPECT_STREQ(metrics.albumFaceName, "Tahoma");
  EXPECT_EQ(metrics.albumNameHeight, 11);
  EXPECT_EQ(metrics.hintHeight, 20);
}

TEST(BindFontMetrics, AFaceExportThatRefusesKeepsTheStartFace) {
  std::map<std::string, FARPROC> exports = AllExports();
  exports["VMDRES_GetFont"] = P(FaceRefuses);
  FontMetrics metrics;
  EXPECT_EQ(BindFontMetrics(FakeLibrary(exports), &metrics), 9);
  EXPECT_STREQ(metrics.faceName, "Tahoma");
}

TEST(BindFontMetrics, RealLibraryGivesItsValues) {
  HMODULE vmdres = LoadLibraryA("vmdres.dll");
  ASSERT_NE(vmdres, nullptr);
  FontMetrics metrics;
  EXPECT_EQ(BindFontMetrics(vmdres, &metrics), 9);
  EXPECT_STREQ(metrics.faceName, "Arial");
  EXPECT_STREQ(metrics.albumFaceName, "System");
  EXPECT_EQ(metrics.albumNameHeight, 16) << "not the start value 11";
  EXPECT_EQ(metrics.albumListHeight, 15);
  EXPECT_EQ(metrics.tipsPointSize, 13);
  EXPECT_EQ(metrics.hintHeight, 20);
  EXPECT_EQ(metrics.popupHeight, 14);
  EXPECT_EQ(metrics.printHeight, 20);
  FreeLibrary(vmdres);
}

// --- start values and lists --------------------------------------------------

TEST(StartStitchOptions, GivesTheDocumentedStartValues) {
  StitchOptions options = StartStitchOptions();
  EXPECT_EQ(options.reserved, 1);
  EXPECT_EQ(options.detail, 1);
  EXPECT_EQ(options.exposureBalance, 1);
  EXPECT_EQ(options.blendPercent, 5);
  EXPECT_EQ(options.lensMode, 0);
  EXPECT_DOUBLE_EQ(options.focal, 1200.0);
}

TEST(PhotoFileTypes, LeavesGifOutWhenSwitchedOff) {
  std::vector<std::string> all = {"BMP", "TIF", "PCX", "GIF", "TGA", "JPG", "JPEG", "FPX"};
  EXPECT_EQ(PhotoFileTypes(false), all);
  all.erase(all.begin() + 3);
  EXPECT_EQ(PhotoFileTypes(true), all);
}

TEST(LoadUiString, ReadsFromTheResourceLibraryOnly) {
  HMODULE saved = g_app.resourceModule;
  g_app.resourceModule = nullptr;
  EXPECT_EQ(LoadUiString(52388), "");
  g_app.resourceModule = LoadLibraryA("vmdres.dll");
  ASSERT_NE(g_app.resourceModule, nullptr);
  EXPECT_EQ(LoadUiString(52388), "Warning");
  EXPECT_EQ(LoadUiString(50016), "  Stitch Wizard ");
  char small[4];
  EXPECT_EQ(LoadUiString(50027, small, sizeof small), 3) << "cut to the buffer";
  EXPECT_STREQ(small, "Do ");
  FreeLibrary(g_app.resourceModule);
  g_app.resourceModule = saved;
}

}  // namespace
}  // namespace vmd
