#include "print_job.h"

#include "dib_crop.h"
#include "printer.h"

namespace vmd {

namespace {

/// Draws one part of the image: its crop stretched to its place on the page.
void DrawPart(HDC dc, HGLOBAL image, const PagePart& part) {
  HGLOBAL crop = CropDibFromTop(image, part.source);
  if (!crop) return;
  const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(crop));
  if (info) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const DWORD colours = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) : 0;
    const auto* bits = reinterpret_cast<const BYTE*>(info) + h.biSize + colours * sizeof(RGBQUAD);
    StretchDIBits(dc, part.dest.left, part.dest.top, part.dest.right - part.dest.left,
                  part.dest.bottom - part.dest.top, 0, 0, h.biWidth, h.biHeight, bits, info,
                  DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(crop);
  }
  GlobalFree(crop);
}

}  // namespace

int PrintImagePages(HDC dc, HGLOBAL image, const PrintLayout& layout,
                    const std::string& documentName) {
  SetStretchBltMode(dc, COLORONCOLOR);
  SetBkMode(dc, TRANSPARENT);
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = documentName.c_str();
  StartDocA(dc, &doc);
  int sent = 0;
  for (const PrintPage& page : PrintPages(layout)) {
    StartPage(dc);
    for (const PagePart& part : page.parts) DrawPart(dc, image, part);
    EndPage(dc);
    ++sent;
  }
  EndDoc(dc);
  return sent;
}

bool PrintImage(HGLOBAL image, const PrintLayout& layout, const std::string& documentName) {
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  HDC dc = CreatePrinterDC(layout.copies);
  if (!dc) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return false;
  }
  PrintImagePages(dc, image, layout, documentName);
  DeleteDC(dc);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return true;
}

}  // namespace vmd
