// A small Windows program for the real-window tests of the image dialogs: it
// runs the program's own Open or Save command on an image of its own, so a
// test can drive the dialog (template 21010 with its hook) with keys.
//   image_dialog_probe save   saves a 160 x 120 picture through the Save dialog
//   image_dialog_probe open   opens a file through the Open dialog
// It prints what came of it on stdout and exits 0 when the command ran to its end.
#include <windows.h>

#include <cstdio>

#include "app_state.h"
#include "image_commands.h"
#include "image_ops.h"
#include "pixio.h"

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
  return 2;
}
