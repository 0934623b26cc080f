#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "replace_file.h"
#include "vrml_world.h"
#include "web_names.h"
#include "web_page.h"

namespace vmd {
namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

// The 17 lines of panel i (1-based) of a world: "Transform" to the empty line after it.
std::vector<std::string> PanelLines(const std::vector<std::string>& lines, int panel) {
  int seen = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "Transform" || ++seen != panel) continue;
    return std::vector<std::string>(lines.begin() + i, lines.begin() + i + 17);
  }
  return {};
}

double NumberAfter(const std::string& line, const std::string& lead, int index) {
  std::string rest = line.substr(line.find(lead) + lead.size());
  double values[3] = {};
  std::sscanf(rest.c_str(), "%lf 0 %lf", &values[0], &values[1]);
  if (lead.find("rotation") != std::string::npos) std::sscanf(rest.c_str(), "%lf", &values[0]);
  return values[index];
}

TEST(VrmlWorld, PanoramaOf2400ColumnsGives24PanelsOf099Units) {
  float total = 0, face = 0;
  WorldSizeOf(2400, 500, 24, &total, &face);
  EXPECT_FLOAT_EQ(total, 23.76f);
  EXPECT_FLOAT_EQ(face, 5.0f);
  const std::string world = VrmlWorldText("C:\\p\\pano_files\\", total, face, 24);
  const std::vector<std::string> lines = LinesOf(world);
  int boxes = 0;
  for (const std::string& line : lines)
    if (line == "            geometry Box { size 0.990000 5.000000 0.01 }") ++boxes;
  EXPECT_EQ(boxes, 24);
  // Every line ends in CR LF: no bare line feed anywhere.
  for (size_t i = 0; i < world.size(); ++i)
    if (world[i] == '\n') {
      ASSERT_TRUE(i > 0 && world[i - 1] == '\r') << "at byte " << i;
    }
}

TEST(VrmlWorld, HeaderAndViewpointGroupComeFirst) {
  const std::string world = VrmlWorldText("x_files\\", 23.76f, 5.0f, 24);
  const std::string expected =
      "#VRML V2.0 utf8\r\n\r\nGroup\r\n{\r\n    children\r\n    [\r\n"
      "        DEF Inside Viewpoint\r\n        {\r\n            position 0 0 0\r\n"
      "            description \"Inside\"\r\n        }\r\n    ]\r\n}\r\n\r\nTransform\r\n";
  EXPECT_EQ(world.substr(0, expected.size()), expected);
}

TEST(VrmlWorld, FirstPanelFacesTheViewerBackAndShowsTheLastTile) {
  const std::string world = VrmlWorldText("C:\\p\\pano_files\\", 23.76f, 5.0f, 24);
  const std::vector<std::string> lines = LinesOf(world);
  // The ring's apothem for 24 sides of 0.99: 0.99 / (2 tan(pi / 24)).
  const double apothem = 0.99 / (2 * std::tan(M_PI / 24));
  const std::vector<std::string> first = PanelLines(lines, 1);
  ASSERT_EQ(first.size(), 17u);
  EXPECT_EQ(first[0], "Transform");
  EXPECT_EQ(first[1], "{");
  EXPECT_NEAR(NumberAfter(first[2], "translation ", 0), 0.0, 1e-6);
  EXPECT_NEAR(NumberAfter(first[2], "translation ", 1), apothem, 2e-5);
  EXPECT_EQ(first[3], "    rotation 0 1 0 0.000000");
  EXPECT_EQ(first[4], "    children");
  EXPECT_EQ(first[10], "                texture ImageTexture { url \"C:\\p\\pano_files\\23.jpg\" }");
  EXPECT_EQ(first[15], "}");
  EXPECT_EQ(first[16], "");

  const std::vector<std::string> seventh = PanelLines(lines, 7);
  EXPECT_NEAR(NumberAfter(seventh[3], "rotation 0 1 0 ", 0), M_PI / 2, 1e-6);
  EXPECT_NEAR(NumberAfter(seventh[2], "translation ", 0), apothem, 2e-5);
  EXPECT_NEAR(NumberAfter(seventh[2], "translation ", 1), 0.0, 1e-6);
  EXPECT_NE(seventh[10].find("pano_files\\17.jpg"), std::string::npos);
  EXPECT_NE(PanelLines(lines, 24)[10].find("pano_files\\0.jpg\""), std::string::npos);
  EXPECT_TRUE(PanelLines(lines, 25).empty());
}

TEST(WebExportNames, ComeFromThePagePath) {
  const WebExportNames names = MakeWebExportNames("C:\\My Pictures\\v1.0\\lake.htm");
  EXPECT_EQ(names.base, "C:\\My Pictures\\v1.0\\lake");
  EXPECT_EQ(names.folder, "C:\\My Pictures\\v1.0\\lake_files");
  EXPECT_EQ(names.worldFile, "C:\\My Pictures\\v1.0\\lake_files\\panorama.wrl");
  EXPECT_EQ(names.tilePrefix, "C:\\My Pictures\\v1.0\\lake_files\\");
  EXPECT_EQ(names.pageFolder, "lake_files");
  EXPECT_EQ(MakeWebExportNames("D:lake.htm").pageFolder, "lake_files");
}

const char kWorld[] = "C:\\web\\lake_files\\panorama.wrl";

TEST(WebPageBody, WithPhotoServiceLinks) {
  const std::string expected =
      "<body bgcolor=\"#FFFFFF\" background=\"lake_files\\bglevel.gif\" "
      "onLoad=\"MM_preloadImages('lcroll.gif','#941069802070')\" link=\"#FFFFFF\" vlink=\"#66CC00\">\r\n"
      "<table width=\"640\" border=\"0\" height=\"100\">\r\n\t<tr valign=\"top\">\r\n"
      "\t\t<td width=\"178\" height=\"49\">"
      "<img src=\"lake_files\\vistameld.gif\" width=\"178\" height=\"56\" alt=\"Logo\" name=\"vmlogo\"></td>\r\n"
      "\t\t<td width=\"223\" height=\"49\"><img src=\"lake_files\\360view.gif\" width=\"246\" "
      "height=\"56\" name=\"VMeld\" alt=\"360 Vistameld\"></td>\r\n"
      "\t\t<td width=\"285\" height=\"49\"> <a href=\"http://photos.example/\" "
      "onMouseOut=\"MM_swapImgRestore()\" onMouseOver=\"MM_swapImage('document.URLlogo',"
      "'document.URLlogo','lake_files\\\\lcroll.gif','#941069802070')\">"
      "<img src=\"lake_files\\\\lclogo.gif\"width=155 height=45 name=\"URLlogo\" "
      "alt=\"http://photos.example/\" border=\" 0 \"></a></td>\r\n\t </tr> \r\n </table>"
      "\r\n<P align=center> <EMBED height=288 width=436 name=vrml "
      "src=\"C:\\web\\lake_files\\panorama.wrl\" type=x-world/x-vrml>\r\n";
  EXPECT_EQ(WebPageBody("lake_files", kWorld, false, "http://photos.example/"), expected);
}

TEST(WebPageBody, WithoutPhotoServiceLinks) {
  const std::string expected =
      "<body bgcolor=\"#FFFFFF\" background=\"lake_files\\bglevel.gif\" link=\"#FFFFFF\" "
      "vlink=\"#66CC00\">\r\n"
      "<img src=\"lake_files\\vistameld.gif\" width=\"178\" height=\"56\" alt=\"Logo\" name=\"vmlogo\"></td>\r\n"
      "\t\t<td width=\"223\" height=\"49\"><img src=\"lake_files\\360view.gif\" width=\"246\" "
      "height=\"56\" name=\"VMeld\" alt=\"360 Vistameld\"></td>\r\n"
      "\r\n<P align=center> <EMBED height=288 width=436 name=vrml "
      "src=\"C:\\web\\lake_files\\panorama.wrl\" type=x-world/x-vrml>\r\n";
  EXPECT_EQ(WebPageBody("lake_files", kWorld, true, "http://photos.example/"), expected);
}

TEST(PageTail, KeepsAtMost600BytesUpToTheFirstZero) {
  EXPECT_EQ(PageTail(std::string(700, 'a')), std::string(600, 'a'));
  EXPECT_EQ(PageTail(std::string("</body>\0junk", 12)), "</body>");
  EXPECT_EQ(PageTail(""), "");
}

// A scratch folder with a UI folder and a page folder beside it.
class WebPageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vmd-webpage-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    ui_ = root_ + "/UI/";
    ASSERT_EQ(std::system(("mkdir -p " + ui_ + " " + root_ + "/lake_files").c_str()), 0);
    Put(ui_ + "vmviewer.tmp", "<html><head></head>\r\n");
    Put(ui_ + "bottom1.tmp", "</body>one</html>\r\n");
    Put(ui_ + "bottom2.tmp", "</body>two</html>\r\n");
    names_.base = root_ + "/lake";
    names_.folder = root_ + "/lake_files";
    names_.tilePrefix = names_.folder + "/";
    names_.worldFile = names_.folder + "/panorama.wrl";
    names_.pageFolder = "lake_files";
    page_ = root_ + "/lake.htm";
  }
  void TearDown() override { EXPECT_EQ(std::system(("rm -rf " + root_).c_str()), 0); }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
  }
  static bool Exists(const std::string& path) { return std::ifstream(path).good(); }
  WebPageOptions Options(bool noLumacove) const {
    WebPageOptions options;
    options.uiFolder = ui_;
    options.noLumacove = noLumacove;
    options.url = "http://photos.example/";
    return options;
  }
  std::string root_, ui_, page_;
  WebExportNames names_;
};

TEST_F(WebPageFiles, PageIsHeadBodyTailAndImagesThatExistAreCopied) {
  Put(ui_ + "vistameld.gif", "GIF89a-logo");
  Put(ui_ + "lclogo.gif", "GIF89a-service");
  ASSERT_EQ(WriteWebPage(page_, names_, 2400, 500, Options(false)), WebPageResult::kWritten);
  EXPECT_EQ(Get(page_), "<html><head></head>\r\n" +
                            WebPageBody("lake_files", names_.worldFile, false, "http://photos.example/") +
                            "</body>one</html>\r\n");
  EXPECT_EQ(Get(names_.worldFile), VrmlWorldText(names_.tilePrefix, 23.76f, 5.0f, 24));
  EXPECT_EQ(Get(names_.folder + "/vistameld.gif"), "GIF89a-logo");
  EXPECT_EQ(Get(names_.folder + "/lclogo.gif"), "GIF89a-service");
  EXPECT_FALSE(Exists(names_.folder + "/bglevel.gif"));
}

TEST_F(WebPageFiles, WithoutServiceLinksTheLogosStayAndTheSecondTailEnds) {
  Put(ui_ + "lclogo.gif", "GIF89a-service");
  Put(ui_ + "lcroll.gif", "GIF89a-roll");
  ASSERT_EQ(WriteWebPage(page_, names_, 2400, 500, Options(true)), WebPageResult::kWritten);
  const std::string page = Get(page_);
  EXPECT_EQ(page.substr(page.size() - 19), "</body>two</html>\r\n");
  EXPECT_EQ(page.find("<table"), std::string::npos);
  EXPECT_FALSE(Exists(names_.folder + "/lclogo.gif"));
  EXPECT_FALSE(Exists(names_.folder + "/lcroll.gif"));
}

TEST_F(WebPageFiles, FailuresKeepTheExistingPage) {
  Put(page_, "earlier page");
  // No tail template: nothing is written over the page.
  std::remove((ui_ + "bottom1.tmp").c_str());
  EXPECT_EQ(WriteWebPage(page_, names_, 2400, 500, Options(false)), WebPageResult::kPageNotWritten);
  EXPECT_EQ(Get(page_), "earlier page");
  EXPECT_FALSE(Exists(page_ + ".part"));
  // No companion folder: the world file cannot be made and no page follows.
  ASSERT_EQ(std::system(("rm -rf " + names_.folder).c_str()), 0);
  EXPECT_EQ(WriteWebPage(page_, names_, 2400, 500, Options(true)), WebPageResult::kWorldNotWritten);
  EXPECT_EQ(Get(page_), "earlier page");
}

TEST_F(WebPageFiles, EmptyTailEndsThePageAfterTheEmbedLine) {
  Put(ui_ + "bottom2.tmp", "");
  ASSERT_EQ(WriteWebPage(page_, names_, 2400, 500, Options(true)), WebPageResult::kTailEmpty);
  const std::string page = Get(page_);
  EXPECT_EQ(page.substr(page.size() - 22), "type=x-world/x-vrml>\r\n");
}

}  // namespace
}  // namespace vmd
