// The TWAIN session against a scripted source manager: the order of the
// protocol's steps, native and memory transfers giving the same pictures,
// one or several pictures a session, and every failure unwinding what was
// opened (no source left enabled, no picture leaked).
#include "twain_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_dib.h"

namespace vmd::test {
namespace {

using testing_support::MakeDib24;
using testing_support::PixelAt;

constexpr int kWidth = 5;  // odd: DIB rows carry padding
constexpr int kHeight = 3;

uint32_t Colour(int picture, int x, int storedY) {
  return static_cast<uint32_t>((x * 40) << 16 | (storedY * 70) << 8 | (picture * 30 + x + storedY));
}

struct Step {
  TW_UINT16 dat;
  TW_UINT16 msg;
  bool operator==(const Step& o) const { return dat == o.dat && msg == o.msg; }
};
std::ostream& operator<<(std::ostream& out, const Step& s) {
  return out << "(" << s.dat << "," << s.msg << ")";
}

/// A source manager with one source that has `pictures` pictures, answering
/// as scripted; `failAt` makes one step answer `failCode`.
struct ScriptedManager {
  std::vector<std::string> sources = {"Flatbed One", "Test Scanner"};
  int pictures = 3;
  int served = 0;
  Step failAt = {0xFFFF, 0xFFFF};
  TW_UINT16 failCode = TWRC_FAILURE;
  bool refuseMemory = false;
  TW_UINT16 mechanism = TWSX_NATIVE;
  TW_UINT16 pendingEvent = MSG_XFERREADY;
  TW_UINT32 rowsPerStrip = 2;
  int strip = 0;
  size_t listed = 0;
  std::vector<Step> steps;
  std::string openedSource;
};
ScriptedManager* g_manager = nullptr;

HGLOBAL Picture(int index) {
  return MakeDib24(kWidth, kHeight, [index](int x, int y) { return Colour(index, x, y); });
}

void FillName(TW_IDENTITY* identity, const std::string& name) {
  std::memset(identity->ProductName, 0, sizeof identity->ProductName);
  std::strncpy(identity->ProductName, name.c_str(), sizeof identity->ProductName - 1);
}

TW_UINT16 ServeStrip(ScriptedManager& m, TW_IMAGEMEMXFER* xfer) {
  const TW_UINT32 top = static_cast<TW_UINT32>(m.strip) * m.rowsPerStrip;
  const TW_UINT32 rows = top + m.rowsPerStrip > kHeight ? kHeight - top : m.rowsPerStrip;
  const TW_UINT32 bytesPerRow = kWidth * 3 + 1;
  if (bytesPerRow * rows > xfer->Memory.Length) return TWRC_FAILURE;
  auto* out = static_cast<uint8_t*>(xfer->Memory.TheMem);
  for (TW_UINT32 r = 0; r < rows; ++r)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t c = Colour(m.served, x, kHeight - 1 - static_cast<int>(top + r));
      out[r * bytesPerRow + x * 3] = static_cast<uint8_t>(c >> 16);
      out[r * bytesPerRow + x * 3 + 1] = static_cast<uint8_t>(c >> 8);
      out[r * bytesPerRow + x * 3 + 2] = static_cast<uint8_t>(c);
    }
  *xfer = TW_IMAGEMEMXFER{TWCP_NONE, bytesPerRow, kWidth, rows, 0, top, bytesPerRow * rows, xfer->Memory};
  ++m.strip;
  if (top + rows < kHeight) return TWRC_SUCCESS;
  m.strip = 0;
  return TWRC_XFERDONE;
}

TW_UINT16 VMD_TWAIN_CALL ScriptedEntry(TW_IDENTITY*, TW_IDENTITY* dest, TW_UINT32, TW_UINT16 dat, TW_UINT16 msg,
                                       TW_MEMREF data) {
  ScriptedManager& m = *g_manager;
  // Only the steps the manager carried out are recorded.
  if (Step{dat, msg} == m.failAt) return m.failCode;
  m.steps.push_back({dat, msg});
  switch (dat) {
    case DAT_IDENTITY:
      if (msg == MSG_USERSELECT) FillName(static_cast<TW_IDENTITY*>(data), m.sources[1]);
      if (msg == MSG_GETFIRST) m.listed = 0;
      if (msg == MSG_GETFIRST || msg == MSG_GETNEXT) {
        if (m.listed >= m.sources.size()) return TWRC_ENDOFLIST;
        FillName(static_cast<TW_IDENTITY*>(data), m.sources[m.listed++]);
      }
      if (msg == MSG_OPENDS) m.openedSource = static_cast<TW_IDENTITY*>(data)->ProductName;
      return TWRC_SUCCESS;
    case DAT_CAPABILITY: {
      if (m.refuseMemory) return TWRC_FAILURE;
      auto* cap = static_cast<TW_CAPABILITY*>(data);
      auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(static_cast<HGLOBAL>(cap->hContainer)));
      if (cap->Cap == ICAP_XFERMECH && cap->ConType == TWON_ONEVALUE) m.mechanism = static_cast<TW_UINT16>(value->Item);
      GlobalUnlock(static_cast<HGLOBAL>(cap->hContainer));
      return TWRC_SUCCESS;
    }
    case DAT_EVENT: {
      auto* event = static_cast<TW_EVENT*>(data);
      event->TWMessage = m.pendingEvent;
      m.pendingEvent = MSG_NULL;
      return event->TWMessage == MSG_NULL ? TWRC_NOTDSEVENT : TWRC_DSEVENT;
    }
    case DAT_IMAGENATIVEXFER:
      if (m.mechanism != TWSX_NATIVE) return TWRC_FAILURE;
      *static_cast<TW_HANDLE*>(data) = Picture(m.served);
      return TWRC_XFERDONE;
    case DAT_IMAGEINFO: {
      auto* info = static_cast<TW_IMAGEINFO*>(data);
      *info = TW_IMAGEINFO{};
      info->ImageWidth = kWidth;
      info->ImageLength = kHeight;
      info->SamplesPerPixel = 3;
      info->BitsPerPixel = 24;
      info->PixelType = TWPT_RGB;
      return TWRC_SUCCESS;
    }
    case DAT_SETUPMEMXFER:
      *static_cast<TW_SETUPMEMXFER*>(data) = TW_SETUPMEMXFER{16, 64, 48};
      return TWRC_SUCCESS;
    case DAT_IMAGEMEMXFER:
      return m.mechanism == TWSX_MEMORY ? ServeStrip(m, static_cast<TW_IMAGEMEMXFER*>(data)) : TWRC_FAILURE;
    case DAT_PENDINGXFERS: {
      auto* pending = static_cast<TW_PENDINGXFERS*>(data);
      if (msg == MSG_ENDXFER) ++m.served;
      if (msg == MSG_RESET) m.served = m.pictures;
      pending->Count = static_cast<TW_UINT16>(m.pictures - m.served);
      return TWRC_SUCCESS;
    }
    default:
      (void)dest;
      return TWRC_SUCCESS;
  }
}

struct Delivered {
  std::vector<HGLOBAL> images;
  ~Delivered() {
    for (HGLOBAL image : images) GlobalFree(image);
  }
};
void Keep(HGLOBAL image, void* context) { static_cast<Delivered*>(context)->images.push_back(image); }

int CountSteps(const std::vector<Step>& steps, Step which) {
  int n = 0;
  for (const Step& s : steps) n += s == which;
  return n;
}

class TwainSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_manager = &manager_;
#ifndef _WIN32
    liveBefore_ = VmdSubsetLiveBlocks();
#endif
  }
  void TearDown() override {
    g_manager = nullptr;
#ifndef _WIN32
    EXPECT_EQ(VmdSubsetLiveBlocks(), liveBefore_) << "a global block leaked";
#endif
  }

  /// Opens, chooses, enables and signals a transfer; false at the first step refused.
  bool Start(TwainSession& session, bool memory) {
    if (!session.OpenManager(nullptr)) return false;
    if (session.ChooseSource() != SourceChoice::kChosen) return false;
    if (!session.OpenSource() || !session.EnableSource(memory, false, nullptr)) return false;
    SourceEvent event = SourceEvent::kNone;
    int message = 0;
    session.ProcessEvent(&message, &event);
    return event == SourceEvent::kTransferReady;
  }

  /// Every open step is matched by its close, and nothing is left enabled.
  void ExpectBalanced() {
    const auto& s = manager_.steps;
    EXPECT_EQ(CountSteps(s, {DAT_PARENT, MSG_OPENDSM}), CountSteps(s, {DAT_PARENT, MSG_CLOSEDSM}));
    EXPECT_EQ(CountSteps(s, {DAT_IDENTITY, MSG_OPENDS}), CountSteps(s, {DAT_IDENTITY, MSG_CLOSEDS}));
    EXPECT_EQ(CountSteps(s, {DAT_USERINTERFACE, MSG_ENABLEDS}),
              CountSteps(s, {DAT_USERINTERFACE, MSG_DISABLEDS}));
  }

  ScriptedManager manager_;
  long liveBefore_ = 0;
};

TEST_F(TwainSessionTest, SeveralPicturesThenEveryStepUndoneInOrder) {
  Delivered got;
  {
    TwainSession session(ScriptedEntry, ProgramIdentity());
    ASSERT_TRUE(Start(session, false));
    EXPECT_EQ(session.State(), TwainState::kTransferReady);
    EXPECT_EQ(session.SourceName(), "Test Scanner");
    EXPECT_EQ(session.TransferAll(true, Keep, &got), 3);
    EXPECT_EQ(session.State(), TwainState::kManagerClosed);
  }
  ASSERT_EQ(got.images.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PixelAt(got.images[i], 4, 2), Colour(i, 4, 2)) << "picture " << i;
  const std::vector<Step> tail(manager_.steps.end() - 3, manager_.steps.end());
  EXPECT_EQ(tail, (std::vector<Step>{{DAT_USERINTERFACE, MSG_DISABLEDS}, {DAT_IDENTITY, MSG_CLOSEDS},
                                     {DAT_PARENT, MSG_CLOSEDSM}}));
  EXPECT_EQ(CountSteps(manager_.steps, {DAT_PENDINGXFERS, MSG_ENDXFER}), 3);
  EXPECT_EQ(CountSteps(manager_.steps, {DAT_PENDINGXFERS, MSG_RESET}), 0);
  ExpectBalanced();
}

TEST_F(TwainSessionTest, OnePictureUnlessSeveralAreWanted) {
  Delivered got;
  TwainSession session(ScriptedEntry, ProgramIdentity());
  ASSERT_TRUE(Start(session, false));
  EXPECT_EQ(session.TransferAll(false, Keep, &got), 1);
  EXPECT_EQ(got.images.size(), 1u);
  EXPECT_EQ(CountSteps(manager_.steps, {DAT_PENDINGXFERS, MSG_RESET}), 1) << "the other two are dropped";
  EXPECT_EQ(session.State(), TwainState::kManagerClosed);
  ExpectBalanced();
}

TEST_F(TwainSessionTest, MemoryTransfersGiveTheSamePixelsAsNative) {
  Delivered native, memory;
  {
    TwainSession session(ScriptedEntry, ProgramIdentity());
    ASSERT_TRUE(Start(session, false));
    session.TransferAll(true, Keep, &native);
  }
  manager_ = ScriptedManager();
  {
    TwainSession session(ScriptedEntry, ProgramIdentity());
    ASSERT_TRUE(Start(session, true));
    EXPECT_TRUE(session.MemoryTransfers());
    EXPECT_EQ(manager_.mechanism, TWSX_MEMORY);
    session.TransferAll(true, Keep, &memory);
  }
  ASSERT_EQ(native.images.size(), 3u);
  ASSERT_EQ(memory.images.size(), 3u);
  for (int i = 0; i < 3; ++i)
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(PixelAt(memory.images[i], x, y), PixelAt(native.images[i], x, y)) << i << ": " << x << "," << y;
  ExpectBalanced();
}

TEST_F(TwainSessionTest, SourceRefusingMemoryTransfersGivesNativeOnes) {
  manager_.refuseMemory = true;
  Delivered got;
  TwainSession session(ScriptedEntry, ProgramIdentity());
  ASSERT_TRUE(Start(session, true));
  EXPECT_FALSE(session.MemoryTransfers());
  EXPECT_EQ(session.TransferAll(true, Keep, &got), 3);
}

TEST_F(TwainSessionTest, SourceChosenByNameFromTheList) {
  TwainSession session(ScriptedEntry, ProgramIdentity());
  ASSERT_TRUE(session.OpenManager(nullptr));
  EXPECT_EQ(session.ListSources(1024), manager_.sources);
  EXPECT_EQ(session.ListSources(1), std::vector<std::string>{"Flatbed One"}) << "the limit holds";
  session.ListSources(1024);
  EXPECT_FALSE(session.SelectSource(2));
  ASSERT_TRUE(session.SelectSource(1));
  ASSERT_TRUE(session.OpenSource());
  EXPECT_EQ(manager_.openedSource, "Test Scanner");
}

TEST_F(TwainSessionTest, CloseRequestAndOtherMessages) {
  TwainSession session(ScriptedEntry, ProgramIdentity());
  manager_.pendingEvent = MSG_NULL;
  ASSERT_TRUE(session.OpenManager(nullptr));
  ASSERT_EQ(session.ChooseSource(), SourceChoice::kChosen);
  ASSERT_TRUE(session.OpenSource());
  int message = 0;
  SourceEvent event;
  EXPECT_FALSE(session.ProcessEvent(&message, &event)) << "not enabled: nothing is offered";
  EXPECT_EQ(CountSteps(manager_.steps, {DAT_EVENT, MSG_PROCESSEVENT}), 0);
  ASSERT_TRUE(session.EnableSource(false, true, nullptr));
  EXPECT_FALSE(session.ProcessEvent(&message, &event));
  EXPECT_EQ(event, SourceEvent::kNone);
  manager_.pendingEvent = MSG_CLOSEDSREQ;
  EXPECT_TRUE(session.ProcessEvent(&message, &event));
  EXPECT_EQ(event, SourceEvent::kCloseRequest);
  session.Close();
  EXPECT_EQ(session.State(), TwainState::kManagerClosed);
  ExpectBalanced();
}

struct FailureCase {
  const char* label;
  Step step;
  TW_UINT16 code;
  bool memory;
  int delivered;  ///< pictures that still arrive
};
std::ostream& operator<<(std::ostream& out, const FailureCase& c) { return out << c.label; }

class TwainFailureTest : public TwainSessionTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TwainFailureTest, ClosesWhatItOpened) {
  const FailureCase& c = GetParam();
  manager_.failAt = c.step;
  manager_.failCode = c.code;
  Delivered got;
  {
    TwainSession session(ScriptedEntry, ProgramIdentity());
    if (Start(session, c.memory)) session.TransferAll(true, Keep, &got);
    session.Close();
    EXPECT_EQ(session.State(), TwainState::kManagerClosed);
  }
  EXPECT_EQ(static_cast<int>(got.images.size()), c.delivered);
  ExpectBalanced();
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, TwainFailureTest,
    ::testing::Values(FailureCase{"manager", {DAT_PARENT, MSG_OPENDSM}, TWRC_FAILURE, false, 0},
                      FailureCase{"dialog cancelled", {DAT_IDENTITY, MSG_USERSELECT}, TWRC_CANCEL, false, 0},
                      FailureCase{"dialog failed", {DAT_IDENTITY, MSG_USERSELECT}, TWRC_FAILURE, false, 0},
                      FailureCase{"source", {DAT_IDENTITY, MSG_OPENDS}, TWRC_FAILURE, false, 0},
                      FailureCase{"enable", {DAT_USERINTERFACE, MSG_ENABLEDS}, TWRC_FAILURE, false, 0},
                      FailureCase{"native picture", {DAT_IMAGENATIVEXFER, MSG_GET}, TWRC_FAILURE, false, 0},
                      FailureCase{"native cancelled", {DAT_IMAGENATIVEXFER, MSG_GET}, TWRC_CANCEL, false, 0},
                      FailureCase{"end of transfer", {DAT_PENDINGXFERS, MSG_ENDXFER}, TWRC_FAILURE, false, 1},
                      FailureCase{"image info", {DAT_IMAGEINFO, MSG_GET}, TWRC_FAILURE, true, 0},
                      FailureCase{"memory set-up", {DAT_SETUPMEMXFER, MSG_GET}, TWRC_FAILURE, true, 0},
                      FailureCase{"memory strip", {DAT_IMAGEMEMXFER, MSG_GET}, TWRC_FAILURE, true, 0}));

TEST_F(TwainSessionTest, DestroyedWhileEnabledStillUnwinds) {
  {
    TwainSession session(ScriptedEntry, ProgramIdentity());
    ASSERT_TRUE(Start(session, false));
  }
  ExpectBalanced();
  EXPECT_EQ(CountSteps(manager_.steps, {DAT_PENDINGXFERS, MSG_RESET}), 1);
}

TEST_F(TwainSessionTest, StepsOutOfOrderAreRefusedWithoutCallingTheManager) {
  TwainSession session(ScriptedEntry, ProgramIdentity());
  HGLOBAL image = nullptr;
  EXPECT_FALSE(session.OpenSource());
  EXPECT_EQ(session.ChooseSource(), SourceChoice::kFailed);
  EXPECT_FALSE(session.EnableSource(false, false, nullptr));
  EXPECT_EQ(session.Transfer(&image), TransferResult::kFailed);
  ASSERT_TRUE(session.OpenManager(nullptr));
  EXPECT_FALSE(session.OpenManager(nullptr));
  EXPECT_FALSE(session.OpenSource()) << "no source chosen yet";
  EXPECT_EQ(manager_.steps.size(), 1u);
}

}  // namespace
}  // namespace vmd::test
