// The finished help file, read the way the help viewer reads it: each context
// number the program passes with HELP_CONTEXT must open the guide's topic for
// that screen. Also the container reader and the map writer on their own.
#include "help_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using helpfile::Bytes;
using helpfile::ContextMapEntry;
using helpfile::TopicTitle;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const Bytes& HelpFile() {
  static const Bytes file = ReadFile(VMD3_HELP_FILE);
  return file;
}

std::vector<TopicTitle> Titles(const Bytes& file) {
  std::vector<TopicTitle> titles;
  EXPECT_EQ(helpfile::ReadTopicTitles(file, &titles), helpfile::kHelpOk);
  return titles;
}

TEST(ContextHash, CountsLettersDigitsDotAndUnderscore) {
  // Letters are 17 to 42 without case, '1' to '9' themselves, '0' is 10,
  // '.' 12 and '_' 13; each character multiplies what went before by 43.
  EXPECT_EQ(helpfile::ContextHash(""), 0u);
  EXPECT_EQ(helpfile::ContextHash("a"), 17u);
  EXPECT_EQ(helpfile::ContextHash("Z"), 42u);
  EXPECT_EQ(helpfile::ContextHash("0"), 10u);
  EXPECT_EQ(helpfile::ContextHash("9"), 9u);
  EXPECT_EQ(helpfile::ContextHash("ab"), 17u * 43 + 18);
  EXPECT_EQ(helpfile::ContextHash("a.b_"), ((17u * 43 + 12) * 43 + 18) * 43 + 13);
  EXPECT_EQ(helpfile::ContextHash("Home"), helpfile::ContextHash("hOME"));
  EXPECT_EQ(helpfile::ContextHash("a-b c"), helpfile::ContextHash("abc"));
  // Long names wrap around 32 bits rather than overflow.
  EXPECT_EQ(helpfile::ContextHash("zzzzzzz"),
            42u * (1 + 43u + 43u * 43 + 43u * 43 * 43 + 43u * 43 * 43 * 43 +
                   43u * 43 * 43 * 43 * 43 + 43u * 43 * 43 * 43 * 43 * 43));
}

TEST(HelpFileOfTheProgram, EveryContextNumberOpensItsScreensTopic) {
  const Bytes& file = HelpFile();
  ASSERT_FALSE(file.empty()) << "no help file at " << VMD3_HELP_FILE;
  std::vector<TopicTitle> titles = Titles(file);
  std::vector<ContextMapEntry> map;
  ASSERT_EQ(helpfile::ReadContextMap(file, &map), helpfile::kHelpOk);
  struct Expected {
    int32_t number;
    const char* title;
  };
  const Expected expected[] = {
      {1000, "Chapter 1: The Home screen"},
      {2000, "Chapter 2: Choosing the kind, lens and size"},
      {3000, "Chapter 3: Albums and the storyboard"},
      {4000, "Chapter 4: The preview and automatic crop"},
      {5000, "Chapter 5: Fine tuning with markers"},
      {7000, "Chapter 6: Printing"},
      {9000, "Chapter 7: The photo editor"},
  };
  ASSERT_EQ(map.size(), std::size(expected));
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.number);
    const ContextMapEntry* entry = nullptr;
    for (const ContextMapEntry& m : map)
      if (m.number == e.number) entry = &m;
    ASSERT_NE(entry, nullptr);
    const TopicTitle* topic = helpfile::TopicAtOffset(titles, entry->topicOffset);
    ASSERT_NE(topic, nullptr);
    EXPECT_EQ(topic->title, e.title);
    EXPECT_EQ(topic->topicOffset, entry->topicOffset) << "the number opens the topic's start";
  }
}

TEST(HelpFileOfTheProgram, StartsWithTheContentsAndNamesEveryTopic) {
  std::vector<TopicTitle> titles = Titles(HelpFile());
  ASSERT_GE(titles.size(), 8u);
  EXPECT_EQ(titles[0].title, "Contents");
  EXPECT_EQ(titles[0].topicOffset, 0u);
  for (size_t i = 1; i < titles.size(); ++i)
    EXPECT_LT(titles[i - 1].topicOffset, titles[i].topicOffset) << "topics in file order";
  uint32_t offset = 0;
  EXPECT_EQ(helpfile::LookUpContext(HelpFile(), helpfile::ContextHash("storyboard"), &offset),
            helpfile::kHelpOk);
  EXPECT_EQ(helpfile::LookUpContext(HelpFile(), helpfile::ContextHash("no-such-topic"), &offset),
            helpfile::kHelpNoContext);
}

TEST(WriteContextMap, ReplacesTheMapAndKeepsEverythingElse) {
  Bytes file = HelpFile();
  ASSERT_FALSE(file.empty());
  std::vector<TopicTitle> before = Titles(file);
  helpfile::HelpPart oldMap;
  ASSERT_EQ(helpfile::FindPart(file, "|CTXOMAP", &oldMap), helpfile::kHelpOk);
  const std::vector<ContextMapEntry> entries = {{7, 0}, {-1, 0x8000}, {65536, 12}};
  ASSERT_EQ(helpfile::WriteContextMap(&file, entries), helpfile::kHelpOk);

  EXPECT_EQ(file.size(), HelpFile().size() + 9 + 2 + 8 * entries.size());
  std::vector<ContextMapEntry> read;
  ASSERT_EQ(helpfile::ReadContextMap(file, &read), helpfile::kHelpOk);
  ASSERT_EQ(read.size(), entries.size());
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].number, entries[i].number);
    EXPECT_EQ(read[i].topicOffset, entries[i].topicOffset);
  }
  // Only the map's directory slot and the file size changed in the old bytes.
  for (size_t i = 0; i < HelpFile().size(); ++i) {
    bool slot = i >= oldMap.directorySlotAt && i < oldMap.directorySlotAt + 4;
    bool size = i >= 12 && i < 16;
    if (slot || size) continue;
    ASSERT_EQ(file[i], HelpFile()[i]) << "byte " << i;
  }
  std::vector<TopicTitle> after = Titles(file);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].title, before[i].title);

  // An empty map is a map too; writing again moves it once more.
  ASSERT_EQ(helpfile::WriteContextMap(&file, {}), helpfile::kHelpOk);
  ASSERT_EQ(helpfile::ReadContextMap(file, &read), helpfile::kHelpOk);
  EXPECT_TRUE(read.empty());
}

TEST(WriteContextMap, LeavesADamagedFileAsItWas) {
  Bytes file = HelpFile();
  ASSERT_FALSE(file.empty());
  file.push_back(0);  // longer than its header says
  Bytes kept = file;
  EXPECT_EQ(helpfile::WriteContextMap(&file, {{1000, 0}}), helpfile::kHelpDamaged);
  EXPECT_EQ(file, kept);
  Bytes notHelp(64, 0x20);
  EXPECT_EQ(helpfile::WriteContextMap(&notHelp, {{1000, 0}}), helpfile::kHelpNotHelpFile);
  EXPECT_EQ(notHelp, Bytes(64, 0x20));
}

TEST(HelpFileReaders, RefuseCutAndScrambledFilesWithoutReadingOutside) {
  const Bytes& whole = HelpFile();
  ASSERT_FALSE(whole.empty());
  auto readAll = [](const Bytes& file) {
    std::vector<TopicTitle> titles;
    std::vector<ContextMapEntry> map;
    uint32_t offset = 0;
    helpfile::ReadTopicTitles(file, &titles);
    helpfile::ReadContextMap(file, &map);
    helpfile::LookUpContext(file, helpfile::ContextHash("home"), &offset);
    Bytes copy = file;
    helpfile::WriteContextMap(&copy, {{1, 2}});
  };
  // Every cut through the header and the directory, then every 97th byte.
  for (size_t cut = 0; cut < whole.size(); cut += cut < 1024 ? 1 : 97) {
    Bytes part(whole.begin(), whole.begin() + cut);
    std::vector<TopicTitle> titles;
    EXPECT_NE(helpfile::ReadTopicTitles(part, &titles), helpfile::kHelpOk) << "cut at " << cut;
    readAll(part);
  }
  // Single bytes set to values that make lengths, counts and links extreme.
  const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
  for (size_t at = 0; at < whole.size(); at += 7) {
    for (uint8_t v : values) {
      Bytes changed = whole;
      changed[at] = v;
      readAll(changed);
    }
  }
}

TEST(HelpmapTool, RewritesOnlyWhenEveryTopicIsFound) {
  std::string copy = ::testing::TempDir() + "helpmap_copy.hlp";
  {
    std::ofstream out(copy, std::ios::binary);
    out.write(reinterpret_cast<const char*>(HelpFile().data()),
              static_cast<std::streamsize>(HelpFile().size()));
  }
  std::string tool = VMD3_HELPMAP;
  std::string quiet = " 2>/dev/null";
  EXPECT_NE(std::system((tool + " " + copy + " 1000=home 2000=no-such-topic" + quiet).c_str()), 0);
  EXPECT_EQ(ReadFile(copy), HelpFile()) << "a refused map leaves the file alone";
  EXPECT_NE(std::system((tool + " " + copy + " home" + quiet).c_str()), 0);
  EXPECT_EQ(ReadFile(copy), HelpFile());

  ASSERT_EQ(std::system((tool + " " + copy + " 42=print").c_str()), 0);
  Bytes changed = ReadFile(copy);
  std::vector<ContextMapEntry> map;
  ASSERT_EQ(helpfile::ReadContextMap(changed, &map), helpfile::kHelpOk);
  ASSERT_EQ(map.size(), 1u);
  EXPECT_EQ(map[0].number, 42);
  std::vector<TopicTitle> titles = Titles(changed);
  const TopicTitle* topic = helpfile::TopicAtOffset(titles, map[0].topicOffset);
  ASSERT_NE(topic, nullptr);
  EXPECT_EQ(topic->title, "Chapter 6: Printing");
  std::remove(copy.c_str());
}

}  // namespace
