#include "palm_container.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace vmd {
namespace {

PalmRecord RecordWith(uint32_t tag, size_t dataBytes) {
  PalmRecord record;
  WriteU32(record.fields, 0, tag);
  for (size_t i = 0; i < dataBytes; ++i) record.data.push_back(static_cast<uint8_t>(tag + i));
  return record;
}

std::vector<uint8_t> Written(const PalmContainer& container) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WritePalmContainer(container, &bytes));
  return bytes;
}

TEST(PalmContainer, RoundTripsRecordsDataAndPages) {
  PalmContainer container;
  for (uint32_t i = 0; i < 7; ++i) container.records.push_back(RecordWith(100 + i, i * 13));
  container.pageStarts = {0, 3, 3, 6};
  const std::vector<uint8_t> bytes = Written(container);

  EXPECT_EQ(ReadU32(bytes.data(), 4), bytes.size()) << "total length";
  EXPECT_EQ(ReadU32(bytes.data(), 12), kPalmHeaderSize + 7 * kPalmRecordSize) << "data start";
  PalmContainer back;
  ASSERT_EQ(ReadPalmContainer(bytes.data(), bytes.size(), &back), PalmReadResult::kComplete);
  ASSERT_EQ(back.records.size(), 7u);
  for (uint32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(ReadU32(back.records[i].fields, 0), 100 + i);
    EXPECT_EQ(back.records[i].data, container.records[i].data);
  }
  EXPECT_EQ(back.pageStarts, container.pageStarts);
  size_t first = 0, end = 0;
  ASSERT_TRUE(PalmPageRange(back, 1, &first, &end));
  EXPECT_EQ(first, 3u);
  EXPECT_EQ(end, 3u) << "an empty page";
  ASSERT_TRUE(PalmPageRange(back, 3, &first, &end));
  EXPECT_EQ(end, 7u) << "the last page runs to the count";
  EXPECT_FALSE(PalmPageRange(back, 4, &first, &end));
}

TEST(PalmContainer, DataOffsetsAreRunningSumsWithoutGaps) {
  PalmContainer container;
  container.records = {RecordWith(1, 5), RecordWith(2, 0), RecordWith(3, 9)};
  const std::vector<uint8_t> bytes = Written(container);
  const uint8_t* records = bytes.data() + kPalmHeaderSize;
  EXPECT_EQ(ReadU32(records, kPalmDataOffsetField), 0u);
  EXPECT_EQ(ReadU32(records + kPalmRecordSize, kPalmDataOffsetField), 5u);
  EXPECT_EQ(ReadU32(records + 2 * kPalmRecordSize, kPalmDataOffsetField), 5u);
  EXPECT_EQ(ReadU32(records + 2 * kPalmRecordSize, kPalmDataLengthField), 9u);
}

TEST(PalmContainer, AHeaderCountAboveTheLimitReadsTheFirstThousandWithTheirData) {
  // 1500 records announced: the data area starts after all 1500 of them.
  const uint32_t announced = 1500;
  std::vector<uint8_t> bytes(kPalmHeaderSize + kPalmRecordSize * announced, 0);
  std::memcpy(bytes.data(), "PALM", 4);
  WriteU32(bytes.data(), 8, announced);
  for (uint32_t i = 0; i < announced; ++i) {
    uint8_t* record = bytes.data() + kPalmHeaderSize + kPalmRecordSize * i;
    WriteU32(record, 0, i);
    WriteU32(record, kPalmDataOffsetField, i);
    WriteU32(record, kPalmDataLengthField, 1);
  }
  for (uint32_t i = 0; i < announced; ++i) bytes.push_back(static_cast<uint8_t>(i * 7));
  PalmContainer back;
  EXPECT_EQ(ReadPalmContainer(bytes.data(), bytes.size(), &back), PalmReadResult::kComplete);
  ASSERT_EQ(back.records.size(), 1000u);
  EXPECT_EQ(back.records[999].data[0], static_cast<uint8_t>(999 * 7));
}

TEST(PalmContainer, DamagedFilesKeepTheSoundRecordsBeforeTheDamage) {
  PalmContainer container;
  for (uint32_t i = 0; i < 4; ++i) container.records.push_back(RecordWith(i, 10));
  std::vector<uint8_t> bytes = Written(container);
  PalmContainer back;

  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 5);
  EXPECT_EQ(ReadPalmContainer(cut.data(), cut.size(), &back), PalmReadResult::kPartial);
  EXPECT_EQ(back.records.size(), 3u) << "the last record's data is cut";

  std::vector<uint8_t> lying = bytes;
  WriteU32(lying.data() + kPalmHeaderSize + kPalmRecordSize, kPalmDataLengthField, 0xFFFFFFF0u);
  EXPECT_EQ(ReadPalmContainer(lying.data(), lying.size(), &back), PalmReadResult::kPartial);
  EXPECT_EQ(back.records.size(), 1u);

  std::vector<uint8_t> hugeCount = bytes;
  WriteU32(hugeCount.data(), 8, 0xFFFFFFFFu);
  EXPECT_EQ(ReadPalmContainer(hugeCount.data(), hugeCount.size(), &back), PalmReadResult::kPartial);
  EXPECT_TRUE(back.records.empty()) << "data past every announced record lies beyond the file";

  std::vector<uint8_t> wrongMagic = bytes;
  wrongMagic[0] = 'Q';
  EXPECT_EQ(ReadPalmContainer(wrongMagic.data(), wrongMagic.size(), &back), PalmReadResult::kNotContainer);
  EXPECT_EQ(ReadPalmContainer(bytes.data(), kPalmHeaderSize - 1, &back), PalmReadResult::kNotContainer);
  EXPECT_EQ(ReadPalmContainer(nullptr, 0, &back), PalmReadResult::kNotContainer);
}

TEST(PalmContainer, PagesPastTheRecordsOrOutOfOrderAreDropped) {
  PalmContainer container;
  for (uint32_t i = 0; i < 4; ++i) container.records.push_back(RecordWith(i, 1));
  container.pageStarts = {0, 2};
  std::vector<uint8_t> bytes = Written(container);
  WriteU32(bytes.data(), 32, 4);
  WriteU32(bytes.data(), 36 + 8, 1);   // goes backwards
  WriteU32(bytes.data(), 36 + 12, 9);
  PalmContainer back;
  ReadPalmContainer(bytes.data(), bytes.size(), &back);
  EXPECT_EQ(back.pageStarts, (std::vector<uint32_t>{0, 2}));
}

TEST(PalmContainer, WritingRefusesWhatTheHeaderCannotHold) {
  PalmContainer container;
  container.records.resize(1001);
  std::vector<uint8_t> bytes = {1};
  EXPECT_FALSE(WritePalmContainer(container, &bytes));
  EXPECT_TRUE(bytes.empty());
  container.records.resize(2);
  container.pageStarts = {0, 3};
  EXPECT_FALSE(WritePalmContainer(container, &bytes));
  container.pageStarts.assign(28, 0);
  EXPECT_FALSE(WritePalmContainer(container, &bytes));
}

TEST(ReplaceFileContents, WritesAndNeverLeavesAHalfFileOrATemporary) {
  const std::string path = testing::TempDir() + "palm_replace_test.bin";
  ASSERT_TRUE(ReplaceFileContents(path, {1, 2, 3}));
  ASSERT_TRUE(ReplaceFileContents(path, {4, 5}));
  std::vector<uint8_t> back;
  ASSERT_TRUE(ReadWholeFile(path, &back));
  EXPECT_EQ(back, (std::vector<uint8_t>{4, 5}));
  std::FILE* temporary = std::fopen((path + ".new").c_str(), "rb");
  EXPECT_EQ(temporary, nullptr);
  if (temporary != nullptr) std::fclose(temporary);
  std::remove(path.c_str());
  EXPECT_FALSE(ReplaceFileContents(testing::TempDir() + "no such folder/x.bin", {1}));
  EXPECT_FALSE(ReadWholeFile(testing::TempDir() + "no such folder/x.bin", &back));
}

}  // namespace
}  // namespace vmd
