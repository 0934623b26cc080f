// Which way a help request goes, and that the HTML copy of the guide has the
// page of every screen.
#include "help.h"
#include "screen_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "help_file.h"
#include "window_layout.h"

namespace vmd {
namespace {

TEST(ChooseHelpRoute, PrefersTheViewerThenTheHtmlCopyAndNeverAMissingFile) {
  struct Case {
    bool helpFile, viewer, html;
    HelpRouteKind route;
  };
  const Case cases[] = {
      {true, true, true, HelpRouteKind::kWinHelp},   {true, true, false, HelpRouteKind::kWinHelp},
      {true, false, true, HelpRouteKind::kHtml},  // Windows 10: no viewer
      {false, true, true, HelpRouteKind::kHtml},  // no "Cannot find" box
      {true, false, false, HelpRouteKind::kNothing}, {false, true, false, HelpRouteKind::kNothing},
      {false, false, true, HelpRouteKind::kHtml},    {false, false, false, HelpRouteKind::kNothing},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseHelpRoute(c.helpFile, c.viewer, c.html), c.route)
        << c.helpFile << c.viewer << c.html;
}

TEST(ViewerUsable, RefusesTheStubOfWindows10AndLater) {
  EXPECT_TRUE(ViewerUsable(true, -1)) << "a viewer without a version resource (Wine's)";
  EXPECT_TRUE(ViewerUsable(true, 4));
  EXPECT_TRUE(ViewerUsable(true, 9));
  EXPECT_FALSE(ViewerUsable(true, 10));
  EXPECT_FALSE(ViewerUsable(false, 4));
  EXPECT_FALSE(ViewerUsable(false, -1));
}

/// The guide's chapter for each of the 17 screens.
const char* const kChapterOfScreen[17] = {"The Home screen",
                                          "The photo editor",
                                          "Albums and the storyboard",
                                          "Printing",
                                          "Choosing the kind, lens and size",
                                          "Albums and the storyboard",
                                          "Albums and the storyboard",
                                          "The preview and automatic crop",
                                          "Fine tuning with markers",
                                          "Fine tuning with markers",
                                          "Choosing the kind, lens and size",
                                          "Choosing the kind, lens and size",
                                          "Choosing the kind, lens and size",
                                          "Fine tuning with markers",
                                          "Fine tuning with markers",
                                          "Fine tuning with markers",
                                          "Fine tuning with markers"};

std::string PageTitle(const std::string& page) {
  std::ifstream in(std::string(VMD3_HELP_HTML_DIR) + "/" + page);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t start = text.find("<title>");
  size_t end = text.find("</title>");
  if (start == std::string::npos || end == std::string::npos || end < start) return "";
  return text.substr(start + 7, end - start - 7);
}

TEST(HelpPageOfRequest, OpensEveryScreensPageOfTheHtmlCopy) {
  ASSERT_NE(HelpPageOfRequest(HELP_CONTENTS, 0), nullptr);
  EXPECT_EQ(PageTitle(HelpPageOfRequest(HELP_CONTENTS, 0)), "Vistameld 3.0 Help");
  EXPECT_EQ(HelpPageOfRequest(HELP_QUIT, 0), nullptr);
  EXPECT_STREQ(HelpPageOfRequest(HELP_CONTEXT, 1234), "index.html") << "an unknown number";
  for (int screen = 0; screen < 17; ++screen) {
    const char* page = HelpPageOfRequest(HELP_CONTEXT, HelpTopicOfScreen(screen));
    ASSERT_NE(page, nullptr) << screen;
    EXPECT_EQ(PageTitle(page), kChapterOfScreen[screen])
        << "screen " << screen << ", page " << page;
  }
}

TEST(HelpTopicOfScreen, OpensTheScreensChapterOfTheHelpFile) {
  std::ifstream in(VMD3_HELP_FILE, std::ios::binary);
  helpfile::Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(file.empty()) << VMD3_HELP_FILE;
  std::vector<helpfile::ContextMapEntry> map;
  std::vector<helpfile::TopicTitle> titles;
  ASSERT_EQ(helpfile::ReadContextMap(file, &map), helpfile::kHelpOk);
  ASSERT_EQ(helpfile::ReadTopicTitles(file, &titles), helpfile::kHelpOk);
  for (int screen = 0; screen < 17; ++screen) {
    const helpfile::TopicTitle* topic = nullptr;
    for (const helpfile::ContextMapEntry& entry : map)
      if (entry.number == HelpTopicOfScreen(screen))
        topic = helpfile::TopicAtOffset(titles, entry.topicOffset);
    ASSERT_NE(topic, nullptr) << "screen " << screen << ": its number is not in the help file";
    std::string wanted = kChapterOfScreen[screen];
    ASSERT_GE(topic->title.size(), wanted.size());
    EXPECT_EQ(topic->title.substr(topic->title.size() - wanted.size()), wanted)
        << "screen " << screen << " opens \"" << topic->title << "\"";
  }
}

}  // namespace
}  // namespace vmd
