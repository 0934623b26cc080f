// The web export checked by real readers: the world through a VRML parser,
// the page through a headless browser with the fallback 360-degree view.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image_files.h"
#include "pixio.h"
#include "replace_file.h"
#include "test_dib.h"
#include "web_names.h"
#include "web_page.h"

namespace vmd {
namespace {

using testing_support::GlobalFreer;

constexpr int kWidth = 2400, kHeight = 400;

// Strip k of the test panorama is one colour (hue k x 15 degrees), with a
// dark horizon band across the middle.
uint32_t StripColour(int k) {
  static const uint32_t kColours[24] = {
      0xE02020, 0xE06020, 0xE0A020, 0xE0E020, 0xA0E020, 0x60E020, 0x20E020, 0x20E060,
      0x20E0A0, 0x20E0E0, 0x20A0E0, 0x2060E0, 0x2020E0, 0x6020E0, 0xA020E0, 0xE020E0,
      0xE020A0, 0xE02060, 0xF0F0F0, 0xB0B0B0, 0x808080, 0xC08060, 0x60C080, 0x8060C0};
  return kColours[k];
}

uint32_t PanoramaPixel(int x, int y) {
  if (y > kHeight / 2 - 8 && y < kHeight / 2 + 8) return 0x202020;
  return StripColour(x / (kWidth / 24));
}

std::string Capture(const std::string& command) {
  std::string out;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

class WebPageTools : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vmd-webtools-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    names_.base = root_ + "/lake";
    names_.folder = root_ + "/lake_files";
    names_.tilePrefix = names_.folder + "/";
    names_.worldFile = names_.folder + "/panorama.wrl";
    names_.pageFolder = "lake_files";
    page_ = root_ + "/lake.htm";
    ASSERT_EQ(std::system(("mkdir -p " + names_.folder).c_str()), 0);
    GlobalFreer panorama(testing_support::MakeDib24(kWidth, kHeight, PanoramaPixel));
    ASSERT_TRUE(WriteImageStrips(panorama.handle, 24, names_.folder));
  }
  void TearDown() override {
    if (!HasFailure() && !std::getenv("VMD_KEEP_SCRATCH")) {
      EXPECT_EQ(std::system(("rm -rf " + root_).c_str()), 0);
    }
  }
  WebPageResult Write(bool noLumacove) {
    WebPageOptions options;
    options.uiFolder = VMD_TEMPLATE_DIR "/";
    options.noLumacove = noLumacove;
    options.url = "http://www.quorvex.com/photos/";
    return WriteWebPage(page_, names_, kWidth, kHeight, options);
  }
  std::string root_, page_;
  WebExportNames names_;
};

TEST_F(WebPageTools, StripsAre99ColumnsOfTheirPartOfThePanorama) {
  for (int k : {0, 11, 23}) {
    GlobalFreer strip(ImgReadFile(nullptr, (names_.folder + "/" + std::to_string(k) + ".jpg").c_str()));
    ASSERT_NE(strip.handle, nullptr);
    EXPECT_EQ(testing_support::HeaderOf(strip.handle).biWidth, 99);
    EXPECT_EQ(testing_support::HeaderOf(strip.handle).biHeight, kHeight);
    const uint32_t c = testing_support::PixelAt(strip.handle, 50, 50);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(int((c >> shift) & 0xFF), int((StripColour(k) >> shift) & 0xFF), 12) << k;
  }
}

TEST_F(WebPageTools, WorldParsesWithoutAWarning) {
  ASSERT_EQ(Write(false), WebPageResult::kWritten);
  const std::string errors = Capture("tovrmlx3d '" + names_.worldFile + "' 2>&1 >/dev/null");
  EXPECT_EQ(errors, "") << "tovrmlx3d (package view3dscene) must be installed";
  const std::string x3d = Capture("tovrmlx3d '" + names_.worldFile + "' 2>/dev/null");
  size_t transforms = 0;
  for (size_t at = 0; (at = x3d.find("Transform", at)) != std::string::npos; ++at) ++transforms;
  EXPECT_EQ(transforms, 24u);
}

// Where the pixels of one strip's colour lie in a screenshot.
struct Spread {
  long count = 0;
  double meanX = 0;
};

// Takes a screenshot of `page` in headless chromium and finds each strip's
// colour in it.
std::vector<Spread> StripsOnScreen(const std::string& page) {
  std::vector<Spread> spreads(24);
  const std::string shot = page + ".png", bmp = page + ".bmp";
  const std::string command =
      "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=640,480 "
      "--virtual-time-budget=3000 --screenshot='" + shot + "' 'file://" + page + "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << "chromium must be installed";
  EXPECT_EQ(std::system(("convert '" + shot + "' -type TrueColor 'BMP3:" + bmp + "'").c_str()), 0);
  GlobalFreer picture(ImgReadFile(nullptr, bmp.c_str()));
  if (!picture.handle) {
    ADD_FAILURE() << "no screenshot of " << page;
    return spreads;
  }
  const BITMAPINFOHEADER header = testing_support::HeaderOf(picture.handle);
  for (int y = 0; y < header.biHeight; ++y)
    for (int x = 0; x < header.biWidth; ++x) {
      const uint32_t c = testing_support::PixelAt(picture.handle, x, y);
      for (int k = 0; k < 24; ++k) {
        const uint32_t e = StripColour(k);
        int far = 0;
        for (int shift : {0, 8, 16}) far = std::max(far, std::abs(int((c >> shift) & 0xFF) - int((e >> shift) & 0xFF)));
        if (far > 10) continue;
        spreads[k].meanX += x;
        ++spreads[k].count;
      }
    }
  for (Spread& s : spreads)
    if (s.count) s.meanX /= s.count;
  return spreads;
}

// True when the strips are all on screen (a good part of each) and appear in
// this order from left to right.
void ExpectLeftToRight(const std::vector<Spread>& spreads, const std::vector<int>& order) {
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_GT(spreads[order[i]].count, 3000) << "strip " << order[i];
    if (i > 0) {
      EXPECT_GT(spreads[order[i]].meanX, spreads[order[i - 1]].meanX + 40) << order[i];
    }
  }
}

TEST_F(WebPageTools, BrowserShowsTheStripsInOrderThroughTheFallbackView) {
  for (bool noLumacove : {false, true}) {
    SCOPED_TRACE(noLumacove ? "NOLUMACOVE 1" : "NOLUMACOVE 0");
    ASSERT_EQ(Write(noLumacove), WebPageResult::kWritten);
    // The view opens at strip 0 on the left; about six strips fit its width.
    const std::vector<Spread> spreads = StripsOnScreen(page_);
    ExpectLeftToRight(spreads, {0, 1, 2, 3, 4});
    EXPECT_LT(spreads[12].count, 50);
    EXPECT_LT(spreads[23].count, 50);
  }
}

TEST_F(WebPageTools, DraggingRightTurnsPastTheLastStripToTheFirst) {
  ASSERT_EQ(Write(true), WebPageResult::kWritten);
  std::string page;
  ASSERT_TRUE(ReadWholeFile(page_, &page));
  // A drag of 200 pixels to the right once the page has loaded.
  page +=
      "<script>window.addEventListener('load', function () {\n"
      "  var ring = document.querySelector('.vmring');\n"
      "  function send(type, x) {\n"
      "    ring.dispatchEvent(new PointerEvent(type, {clientX: x, clientY: 100, pointerId: 1, bubbles: true}));\n"
      "  }\n"
      "  send('pointerdown', 100); send('pointermove', 300); send('pointerup', 300);\n"
      "});</script>\n";
  const std::string dragged = root_ + "/dragged.htm";
  ASSERT_TRUE(WriteFileReplacing(dragged, page));
  const std::vector<Spread> spreads = StripsOnScreen(dragged);
  ExpectLeftToRight(spreads, {22, 23, 0, 1, 2});
  EXPECT_LT(spreads[12].count, 50);
}

}  // namespace
}  // namespace vmd
