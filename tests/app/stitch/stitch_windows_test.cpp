// The image windows as real windows under Wine; skipped without a display.
#include <windows.h>

#include <gtest/gtest.h>

#include "app_state.h"
#include "detail_view.h"
#include "image_ops.h"
#include "photo_edit_view.h"
#include "result_view.h"
#include "test_dib.h"

using namespace vmd;
using testing_support::MakeDib24;

namespace {

class ImageWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 500, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (parent_ == nullptr) GTEST_SKIP() << "no display";
  }
  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
    if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
    g_app.currentImage = nullptr;
  }
  static void Pump(DWORD milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(10);
    }
  }
  static HWND ChildOfClass(HWND parent, const char* name) { return FindWindowExA(parent, nullptr, name, nullptr); }
  HWND parent_ = nullptr;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST_F(ImageWindows, ResultViewTakesTheAreaAndIsReplaced) {
  HGLOBAL image = MakeDib24(200, 100, [](int, int) { return 0x336699u; });
  RECT area = {10, 20, 409, 319};
  HWND view = ShowResultView(parent_, area, image);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(ChildOfClass(parent_, "StitchView Window"), view);
  RECT client;
  GetClientRect(view, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  HWND again = ShowResultView(parent_, area, image);
  EXPECT_FALSE(IsWindow(view));
  CloseResultView();
  Pump(50);
  EXPECT_FALSE(IsWindow(again));
  GlobalFree(image);
}

TEST_F(ImageWindows, EditorDragsTheCropBoxAndMarchesTheAnts) {
  g_app.currentImage = MakeDib24(400, 300, [](int x, int) { return x < 200 ? 0xFF0000u : 0x00FF00u; });
  HWND editor = EditCurrentImage(parent_, RECT{0, 0, 499, 399});
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ChildOfClass(parent_, "StitchEditView Window"), editor);
  EXPECT_EQ(g_photoEdit.offset.x, 50);
  EXPECT_EQ(g_photoEdit.offset.y, 50);
  int phase = g_photoEdit.phase;
  Pump(700);
  EXPECT_NE(g_photoEdit.phase, phase);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(50, 200));
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(150, 200));
  SendMessageA(editor, WM_LBUTTONUP, 0, At(150, 200));
  EXPECT_EQ(g_photoEdit.cropBox.left, 150);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(449, 349));  // bottom-right corner
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(349, 299));
  SendMessageA(editor, WM_LBUTTONUP, 0, At(349, 299));
  EXPECT_EQ(g_photoEdit.cropBox.right, 350);
  EXPECT_EQ(g_photoEdit.cropBox.bottom, 300);
  Pump(50);
  ASSERT_TRUE(EndCurrentImageEdit(true));
  Pump(50);
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_TRUE(g_app.imageModified);
  BITMAPINFOHEADER h = testing_support::HeaderOf(g_app.currentImage);
  EXPECT_EQ(h.biWidth, 200);
  EXPECT_EQ(h.biHeight, 250);
  EXPECT_EQ(testing_support::PixelAt(g_app.currentImage, 150, 0), 0x00FF00u);
  g_app.imageModified = false;
}

TEST_F(ImageWindows, CancelledEditKeepsTheCurrentImage) {
  g_app.currentImage = MakeDib24(300, 200, [](int, int) { return 0x808080u; });
  HGLOBAL before = g_app.currentImage;
  ASSERT_NE(EditCurrentImage(parent_, RECT{0, 0, 499, 399}), nullptr);
  int modified = 0;
  PhotoEditCommand(MAKELONG(kEditTurnRight90, 0), &modified, kEditOrdinary);
  ASSERT_TRUE(EndCurrentImageEdit(false));
  EXPECT_EQ(g_app.currentImage, before);
  EXPECT_FALSE(g_app.imageModified);
}

TEST_F(ImageWindows, DetailViewZoomsAndEscapeLeaves) {
  HGLOBAL image = MakeDib24(800, 300, [](int x, int) { return x * 0x000101u; });
  ASSERT_TRUE(ShowDetailView(parent_, image));
  HWND max = g_app.fullViewWindows[0], bar = g_app.fullViewWindows[1];
  ASSERT_NE(max, nullptr);
  ASSERT_NE(bar, nullptr);
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.right - r.left, 222);
  EXPECT_EQ(r.bottom - r.top, 67);
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  SendMessageA(max, WM_KEYDOWN, VK_ADD, 0);
  EXPECT_EQ(DetailViewStep(), 2);
  for (int i = 0; i < 30; ++i) SendMessageA(bar, WM_KEYDOWN, VK_ADD, 0);
  EXPECT_EQ(DetailViewStep(), 20);
  SendMessageA(max, WM_LBUTTONDOWN, MK_LBUTTON, At(500, 300));
  SendMessageA(max, WM_MOUSEMOVE, MK_LBUTTON, At(400, 300));
  SendMessageA(max, WM_LBUTTONUP, 0, At(400, 300));
  SendMessageA(max, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindow(max));
  EXPECT_EQ(g_app.fullViewWindows[0], nullptr);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, parent_, kMsgFullViewClosed, kMsgFullViewClosed, PM_REMOVE));
  GlobalFree(image);
}

namespace {
HGLOBAL g_paintImage = nullptr;
RECT g_painted = {};
LRESULT CALLBACK PaintFittedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintDibFitted(window, g_paintImage, &g_painted);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TEST_F(ImageWindows, PaintDibFittedFillsTheClientKeepingTheAspect) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PaintFittedProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PaintFittedTest";
  RegisterClassA(&wc);
  g_paintImage = MakeDib24(100, 50, [](int, int) { return 0xFF8000u; });
  HWND window = CreateWindowExA(0, "PaintFittedTest", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, parent_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  EXPECT_EQ(g_painted.left, 0);
  EXPECT_EQ(g_painted.top, 75);
  EXPECT_EQ(g_painted.right, 300);
  EXPECT_EQ(g_painted.bottom, 225);
  HDC dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, 150, 150), RGB(0xFF, 0x80, 0x00));
  ReleaseDC(window, dc);
  DestroyWindow(window);
  GlobalFree(g_paintImage);
}
