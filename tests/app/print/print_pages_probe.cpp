// Drives the print job on the default printer and checks Ghostscript's pages
// of what it printed. Run under Wine by print_pages_test.sh:
//
//   print_pages_probe port
//       the default printer's port (the file its jobs go to)
//   print_pages_probe print ACROSS DOWN DPI COPIES GEOMETRY
//       prints a test image in that arrangement and writes what the pages
//       should show to GEOMETRY
//   print_pages_probe check GEOMETRY COPIES PAGE.ppm...
//       checks the pages (rendered at the printer's resolution) against it
//
// The test image's pixel (u, v), v counted from the top, is red u * 7 and
// green v * 11 (mod 256): a strip missing or doubled at a page edge shifts the
// pattern after it, and a page drawn off place shows the wrong colours.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "print_job.h"
#include "print_layout.h"
#include "printer.h"
#include "test_dib.h"

namespace {

uint8_t Red(int64_t u) { return uint8_t((u * 7) & 0xFF); }
uint8_t Green(int64_t v) { return uint8_t((v * 11) & 0xFF); }

HGLOBAL TestImage(int w, int h) {
  return testing_support::MakeDib24(w, h, [h](int x, int row) {
    return uint32_t(Red(x)) << 16 | uint32_t(Green(h - 1 - row)) << 8 | 60u;
  });
}

int Port() {
  char name[256];
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size)) return 1;
  HANDLE printer = nullptr;
  if (!OpenPrinterA(name, &printer, nullptr)) return 1;
  DWORD needed = 0;
  GetPrinterA(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  const bool ok = needed && GetPrinterA(printer, 2, info.data(), needed, &needed);
  ClosePrinter(printer);
  if (!ok) return 1;
  std::printf("%s\n", reinterpret_cast<PRINTER_INFO_2A*>(info.data())->pPortName);
  return 0;
}

/// What the pages should show, as numbers the checker reads back.
struct Geometry {
  int w, h, across, down, dpi, copies, hr, vr, printedWidth, printedHeight, x0, y0, offsetX,
      offsetY;
};

int Print(int across, int down, int dpi, int copies, const char* geometryPath) {
  // An arrangement taken as the template list offers it: wide for 2 x 1, tall for 1 x 2.
  const int w = across >= down ? 600 : 150;
  const int h = across >= down ? 150 : 600;
  vmd::PrinterMetrics metrics;
  if (!vmd::QueryPrinterMetrics(&metrics)) {
    std::fprintf(stderr, "probe: no printer\n");
    return 1;
  }
  vmd::PrintLayout layout = vmd::InitialLayout(w, h, metrics);
  char wanted[32];
  std::snprintf(wanted, sizeof wanted, "%d x %d ", across, down);
  bool offered = false;
  for (const std::string& entry : vmd::TemplateList(layout, "page", "pages"))
    offered |= entry.compare(0, std::strlen(wanted), wanted) == 0;
  if (!offered || !vmd::ChooseArrangement(&layout, across, down) ||
      vmd::EditCopies(&layout, std::to_string(copies).c_str()) != vmd::EditKind::kChanged) {
    std::fprintf(stderr, "probe: %dx%d with %d copies is not offered for %dx%d\n", across, down,
                 copies, w, h);
    return 1;
  }
  if (dpi < layout.dpiMin || dpi > layout.dpiMax) {
    std::fprintf(stderr, "probe: %d dpi outside %d..%d\n", dpi, layout.dpiMin, layout.dpiMax);
    return 1;
  }
  layout.dpi = dpi;

  HDC dc = vmd::CreatePrinterDC(copies);
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  HGLOBAL image = TestImage(w, h);
  const bool printed = vmd::PrintImage(
      image, layout, vmd::DocumentName("Vistameld - ", "C:\\photos\\print test.bmp"));
  GlobalFree(image);
  if (!printed) return 1;

  const vmd::PrintPlacement at = vmd::PlaceImage(layout);
  FILE* f = std::fopen(geometryPath, "w");
  if (!f) return 1;
  std::fprintf(f, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d\n", w, h, across, down, dpi, copies,
               metrics.hr, metrics.vr, at.printedWidth, at.printedHeight, at.originX, at.originY,
               offsetX, offsetY);
  std::fclose(f);
  std::printf("probe: %dx%d image on %d x %d pages at %d dpi: %d x %d printer pixels at (%d, %d)\n",
              w, h, across, down, dpi, at.printedWidth, at.printedHeight, at.originX, at.originY);
  return 0;
}

/// A binary PPM page (P6, 8 bits).
struct Page {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

/// The next number of a PPM header, skipping white space and # comments.
bool PpmNumber(FILE* f, int* value) {
  int c = std::fgetc(f);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#')
      while (c != '\n' && c != EOF) c = std::fgetc(f);
    c = std::fgetc(f);
  }
  if (c < '0' || c > '9') return false;
  *value = 0;
  while (c >= '0' && c <= '9') {
    *value = *value * 10 + (c - '0');
    c = std::fgetc(f);
  }
  return true;  // the one white-space byte after the number is consumed
}

bool ReadPpm(const char* path, Page* page) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  int maxValue = 0;
  bool ok = std::fgetc(f) == 'P' && std::fgetc(f) == '6' && PpmNumber(f, &page->width) &&
            PpmNumber(f, &page->height) && PpmNumber(f, &maxValue) && maxValue == 255 &&
            page->width > 0 && page->height > 0;
  if (ok) {
    page->rgb.resize(size_t(page->width) * page->height * 3);
    ok = std::fread(page->rgb.data(), 1, page->rgb.size(), f) == page->rgb.size();
  }
  std::fclose(f);
  return ok;
}

bool Near(int a, int b) { return std::abs(a - b) <= 3; }

/// The image pixel whose place on the sheet holds sheet pixel `x`: pixel u
/// starts at origin + floor(u * printed / size).
int64_t PixelAt(int64_t x, int origin, int printed, int size) {
  return ((x - origin + 1) * size + printed - 1) / printed - 1;
}

/// True when the printed pixel shows the image pixel there, or the one of a
/// sheet pixel beside it (the renderer's own rounding at pixel boundaries).
bool ShowsImage(const uint8_t* p, const Geometry& g, int64_t x, int64_t y) {
  bool red = false, green = false;
  for (int64_t dx = -1; dx <= 1 && !red; ++dx)
    red = Near(p[0], Red(PixelAt(x + dx, g.x0, g.printedWidth, g.w)));
  for (int64_t dy = -1; dy <= 1 && !green; ++dy)
    green = Near(p[1], Green(PixelAt(y + dy, g.y0, g.printedHeight, g.h)));
  return red && green && Near(p[2], 60);
}

bool White(const uint8_t* p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; }

int Check(const char* geometryPath, int copiesInFiles, int pageCount, char** pagePaths) {
  Geometry g;
  FILE* f = std::fopen(geometryPath, "r");
  if (!f) return 1;
  const int fields =
      std::fscanf(f, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d", &g.w, &g.h, &g.across, &g.down,
                  &g.dpi, &g.copies, &g.hr, &g.vr, &g.printedWidth, &g.printedHeight, &g.x0, &g.y0,
                  &g.offsetX, &g.offsetY);
  std::fclose(f);
  if (fields != 14) return 1;
  const int perCopy = g.across * g.down;
  if (pageCount != perCopy * copiesInFiles) {
    std::fprintf(stderr, "check: %d pages, expected %d x %d\n", pageCount, perCopy, copiesInFiles);
    return 1;
  }
  // Printing order: column by column when there are fewer columns than rows.
  std::vector<std::pair<int, int>> order;
  if (g.across < g.down) {
    for (int c = 0; c < g.across; ++c)
      for (int r = 0; r < g.down; ++r) order.emplace_back(c, r);
  } else {
    for (int r = 0; r < g.down; ++r)
      for (int c = 0; c < g.across; ++c) order.emplace_back(c, r);
  }
  int failures = 0;
  long imagePixels = 0;
  for (int i = 0; i < pageCount; ++i) {
    Page page;
    if (!ReadPpm(pagePaths[i], &page)) {
      std::fprintf(stderr, "check: cannot read %s\n", pagePaths[i]);
      return 1;
    }
    const int column = order[i % perCopy].first, row = order[i % perCopy].second;
    int pageFailures = 0;
    for (int py = 0; py < page.height; ++py) {
      for (int px = 0; px < page.width; ++px) {
        const uint8_t* p = page.At(px, py);
        // Sheet coordinates of this pixel of the printable area.
        const int64_t x = int64_t(column) * g.hr + (px - g.offsetX);
        const int64_t y = int64_t(row) * g.vr + (py - g.offsetY);
        const bool onPage =
            px >= g.offsetX && px < g.offsetX + g.hr && py >= g.offsetY && py < g.offsetY + g.vr;
        const bool inside = onPage && x >= g.x0 + 1 && x < g.x0 + g.printedWidth - 1 &&
                            y >= g.y0 + 1 && y < g.y0 + g.printedHeight - 1;
        const bool outside = !onPage || x < g.x0 - 1 || x > g.x0 + g.printedWidth || y < g.y0 - 1 ||
                             y > g.y0 + g.printedHeight;
        bool ok = true;
        if (inside) {
          ok = ShowsImage(p, g, x, y);
          ++imagePixels;
        } else if (outside) {
          ok = White(p);
        }
        if (!ok && pageFailures++ < 5)
          std::fprintf(stderr,
                       "check: page %d (column %d, row %d) pixel %d,%d (sheet %lld,%lld): "
                       "%d %d %d\n",
                       i + 1, column, row, px, py, (long long)x, (long long)y, p[0], p[1], p[2]);
      }
    }
    failures += pageFailures;
  }
  const long expected = long(g.printedWidth - 2) * (g.printedHeight - 2) * copiesInFiles;
  std::printf("check: %d pages, %ld image pixels checked (expected %ld), %d wrong\n", pageCount,
              imagePixels, expected, failures);
  return failures == 0 && imagePixels == expected ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "port") == 0) return Port();
  if (argc == 7 && std::strcmp(argv[1], "print") == 0)
    return Print(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                 argv[6]);
  if (argc >= 4 && std::strcmp(argv[1], "check") == 0)
    return Check(argv[2], std::atoi(argv[3]), argc - 4, argv + 4);
  std::fprintf(stderr,
               "usage: print_pages_probe port | print A D DPI COPIES GEOMETRY | "
               "check GEOMETRY COPIES PAGE...\n");
  return 2;
}
