// A stand-in main window for the real-window tests of the panorama viewer and
// the Print screen, which open from the main window's commands:
//
//   screens_host viewer      opens the viewer on a 3600 x 600 test panorama
//   screens_host portrait    asks for the viewer on a 300 x 600 image
//   screens_host print       the Print command (printer set-up dialog), then
//                            the Print screen, stepped through by the space bar
//
// The host's title says how far it has come ("viewer open", "viewer closed",
// "print step N"), for the test script to wait on. It exits with code 0 when
// the viewer tells it that it has closed, or after the last print step.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app_state.h"
#include "pano_viewer.h"
#include "print_screen.h"
#include "test_dib.h"

namespace vmd {
// The main window's control panel provides these; the host has no skinned
// controls, so it only reports them.
void EnableControl(int id) { std::printf("host: enable %d\n", id); }
void DisableControl(int id) { std::printf("host: disable %d\n", id); }
}  // namespace vmd

namespace {

/// The main window's message that the viewer has closed.
constexpr UINT kViewerClosed = WM_USER + 502;
/// Posted to the host by the test (window_poke): tells the viewer and its bar
/// that the display became 800 x 600.
constexpr UINT kFakeDisplayChange = WM_APP + 1;
HGLOBAL g_image = nullptr;
int g_printStep = 0;

/// Sky above a horizon, ground below, dark poles every 300 columns and a grid
/// of thin lines every 100 pixels: straight lines bend as the view turns.
HGLOBAL TestPanorama(int w, int h) {
  return testing_support::MakeDib24(w, h, [h](int x, int row) {
    const int y = h - 1 - row;  // from the top
    int r, g, b;
    if (y < h / 2) {
      r = 90 + y / 4, g = 140 + y / 5, b = 230;
    } else {
      r = 70 + (x / 7) % 40, g = 120 - (y - h / 2) / 5, b = 40;
    }
    if (x % 300 < 20) r = 150, g = 30, b = 30;
    if (x % 100 == 0 || y % 100 == 0) r = g = b = 20;
    if (x < 40) r = 250, g = 220, b = 0;  // the first columns, to see the wrap
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
  });
}

void PrintStep(HWND hwnd) {
  ++g_printStep;
  switch (g_printStep) {
    case 1: {
      const RECT area{20, 60, 780, 560};
      if (!vmd::OpenPrintScreen(hwnd, area, g_image)) {
        std::printf("host: the Print screen did not open\n");
        PostQuitMessage(3);
        return;
      }
      for (const std::string& t : vmd::PrintTemplates())
        std::printf("host: template %s\n", t.c_str());
      break;
    }
    case 2:
      vmd::PrintTemplateChosen(1);
      break;
    case 3:
      vmd::PrintSliderMoved(0);
      break;
    case 4:
      vmd::PrintCopyButton(vmd::kCopyMore);
      break;
    case 5:
      vmd::PrintBeginCommand();
      std::printf("host: printing state %d\n", vmd::PrintingState());
      break;
    default:
      vmd::ClosePrintScreen();
      PostQuitMessage(0);
      return;
  }
  char title[32];
  std::snprintf(title, sizeof title, "print step %d", g_printStep);
  SetWindowTextA(hwnd, title);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kViewerClosed:
      SetWindowTextA(hwnd, "viewer closed");
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      if (vmd::PrintEditCommand(wParam, lParam)) return 0;
      break;
    case kFakeDisplayChange:
      for (HWND w : {vmd::PanoramaViewerWindow(), FindWindowA("DetailWindowPano", nullptr)})
        if (w) SendMessageA(w, WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600));
      SetWindowTextA(hwnd, "display changed");
      return 0;
    case WM_KEYDOWN:
      // The test steps through the Print screen with the space bar.
      if (wParam == VK_SPACE) PrintStep(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  vmd::g_app.instance = GetModuleHandleA(nullptr);
  // The strings of messages, labels and templates, as the program has them.
  vmd::g_app.resourceModule = LoadLibraryA("vmdres.dll");
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = vmd::g_app.instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(RGB(201, 200, 213));
  wc.lpszClassName = "Screens Host";
  RegisterClassA(&wc);
  const bool print = mode == "print";
  HWND host = CreateWindowExA(0, "Screens Host", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                              print ? 112 : 0, print ? 84 : 0, print ? 800 : 200, print ? 600 : 100,
                              nullptr, nullptr, vmd::g_app.instance, nullptr);
  g_image = mode == "portrait" ? TestPanorama(300, 600) : TestPanorama(3600, 600);
  if (mode == "viewer" || mode == "portrait") {
    vmd::ViewPanoramaCommand(host, g_image);
    SetWindowTextA(host, vmd::PanoramaViewerWindow() ? "viewer open" : "viewer refused");
    if (!vmd::PanoramaViewerWindow()) {
      GlobalFree(g_image);
      return 0;
    }
  } else if (print) {
    // The Print command: the printer set-up dialog first, then the screen.
    if (!vmd::PrintCommand(host, g_image)) {
      std::printf("host: the set-up dialog was cancelled or there is no printer\n");
      GlobalFree(g_image);
      return 4;
    }
    SetWindowTextA(host, "print step 0");
    SetFocus(host);
  } else {
    std::fprintf(stderr, "usage: screens_host viewer|portrait|print\n");
    return 2;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  vmd::ClosePanoramaViewer();
  GlobalFree(g_image);
  return int(msg.wParam);
}
