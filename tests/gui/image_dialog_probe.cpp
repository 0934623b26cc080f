// A small Windows program for the real-window tests of the image dialogs: it
// runs the program's own Open or Save command on an image of its own, so a
// test can drive the dialog (template 21010 with its hook) with keys.
//   image_dialog_probe save   saves a 160 x 120 picture through the Save dialog
//   image_dialog_probe open   opens a file through the Open dialog
//   image_dialog_probe edit   shows the photo editor on a 400 x 300 picture in a
//                             500 x 400 window at the screen's corner; Enter
//                             finishes the edit, Escape cancels it
//   image_dialog_probe detail shows an 800 x 300 picture (red left half, blue
//                             right half) in the full-screen detail view; exits
//                             0 when the main window hears that it closed
// It prints what came of it on stdout and exits 0 when the command ran to its end.
#include <windows.h>

#include <cstdio>

#include "app_state.h"
#include "image_commands.h"
#include "image_ops.h"
#include "detail_view.h"
#include "photo_edit_view.h"
#include "pixio.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    bool ended = vmd::EndCurrentImageEdit(wParam == VK_RETURN);
    int w = 0, h = 0;
    vmd::DibSize(vmd::g_app.currentImage, &w, &h);
    std::printf("ended=%d modified=%d width=%d height=%d\n", ended ? 1 : 0, vmd::g_app.imageModified ? 1 : 0,
                w, h);
    std::fflush(stdout);
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunEditor() {
  HGLOBAL image = vmd::AllocImageBlock(40 + 1200 * 300);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
  header->biSize = 40;
  header->biWidth = 400;
  header->biHeight = 300;
  header->biPlanes = 1;
  header->biBitCount = 24;
  auto* bits = reinterpret_cast<BYTE*>(header) + 40;
  for (int i = 0; i < 400 * 300; ++i) {
    bits[i * 3] = 0x60;  // blue, green, red: RGB(32, 48, 96)
    bits[i * 3 + 1] = 0x30;
    bits[i * 3 + 2] = 0x20;
  }
  GlobalUnlock(image);
  vmd::g_app.currentImage = image;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = "EditorProbeHost";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, "EditorProbeHost", "Editor probe", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (host == nullptr || vmd::EditCurrentImage(host, RECT{0, 0, 499, 399}) == nullptr) return 4;
  SetFocus(host);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

LRESULT CALLBACK DetailOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == vmd::kMsgFullViewClosed) {
    std::printf("full view closed\n");
    std::fflush(stdout);
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunDetail() {
  HGLOBAL image = vmd::AllocImageBlock(40 + 2400 * 300);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
  header->biSize = 40;
  header->biWidth = 800;
  header->biHeight = 300;
  header->biPlanes = 1;
  header->biBitCount = 24;
  auto* bits = reinterpret_cast<BYTE*>(header) + 40;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 800; ++x) bits[(y * 800 + x) * 3 + (x < 400 ? 2 : 0)] = 0xFF;
  GlobalUnlock(image);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DetailOwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DetailProbeOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, "DetailProbeOwner", "Detail probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
  if (owner == nullptr || !vmd::ShowDetailView(owner, image)) return 4;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  GlobalFree(image);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  vmd::g_app.resourceModule = LoadLibraryA("vmdres.dll");
  if (vmd::g_app.resourceModule == nullptr) return 3;
  if (lstrcmpA(argv[1], "save") == 0) {
    HGLOBAL image = vmd::AllocImageBlock(40 + 160 * 3 * 120);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
    header->biSize = 40;
    header->biWidth = 160;
    header->biHeight = 120;
    header->biPlanes = 1;
    header->biBitCount = 24;
    auto* bits = reinterpret_cast<BYTE*>(header) + 40;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) {
        BYTE* p = bits + y * 480 + x * 3;
        p[0] = static_cast<BYTE>(x * 251 + y * 17);  // busy, so the quality shows in the size
        p[1] = static_cast<BYTE>(x * 7 ^ y * 13);
        p[2] = static_cast<BYTE>(x + y);
      }
    GlobalUnlock(image);
    vmd::g_app.currentImage = image;
    vmd::g_app.imageModified = true;
    bool saved = vmd::SaveImageCommand(nullptr);
    std::printf("saved=%d modified=%d quality=%d compress=%d\n", saved ? 1 : 0,
                vmd::g_app.imageModified ? 1 : 0, ImgGetJpgQuality(), ImgGetCompressMode());
    return saved ? 0 : 1;
  }
  if (lstrcmpA(argv[1], "open") == 0) {
    bool opened = vmd::OpenImageCommand(nullptr);
    int w = 0, h = 0;
    vmd::DibSize(vmd::g_app.currentImage, &w, &h);
    std::printf("opened=%d width=%d height=%d kind=%d\n", opened ? 1 : 0, w, h,
                vmd::DibKind(vmd::g_app.currentImage));
    return opened ? 0 : 1;
  }
  if (lstrcmpA(argv[1], "edit") == 0) return RunEditor();
  if (lstrcmpA(argv[1], "detail") == 0) return RunDetail();
  return 2;
}
