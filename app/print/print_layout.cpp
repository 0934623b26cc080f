#include "print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vmd {

namespace {

int AtLeastOne(int v) { return v < 1 ? 1 : v; }

/// size * res / divisor in 64 bits, the divisor at least 1.
int Quotient(int size, int res, int64_t divisor) {
  if (divisor < 1) divisor = 1;
  return static_cast<int>(int64_t(size) * res / divisor);
}

/// The integer typed into an edit field: its first 19 characters.
int FieldValue(const char* text) {
  char buffer[20] = {};
  if (text) std::strncpy(buffer, text, sizeof buffer - 1);
  return std::atoi(buffer);
}

/// A run of image pixels [s0, s1) and its page-relative place [d0, d1).
struct Segment {
  int s0, s1, d0, d1;
};

/// The segments of one axis on page `index`: the pixels that start and end
/// on the page, and a strip of the pixel cut by either page edge.
std::vector<Segment> SegmentsOnPage(int size, int printed, int origin, int page, int index) {
  std::vector<Segment> segments;
  const int64_t pageStart = int64_t(index) * page;
  const int64_t p0 = std::max<int64_t>(pageStart, origin);
  const int64_t p1 = std::min<int64_t>(pageStart + page, int64_t(origin) + printed);
  if (size <= 0 || printed <= 0 || p1 <= p0) return segments;
  // Sheet place of pixel u's start, and of the part's ends, from the origin.
  auto place = [&](int64_t u) { return u * printed / size; };
  const int64_t b = p0 - origin;
  const int64_t e = p1 - origin;
  const int64_t first = (b * size + printed - 1) / printed;  // X(first) >= b
  const int64_t last =
      std::min<int64_t>(((e + 1) * size + printed - 1) / printed - 1, size);  // X(last) <= e
  auto add = [&](int64_t s0, int64_t s1, int64_t d0, int64_t d1) {
    if (d1 > d0)
      segments.push_back(
          Segment{int(s0), int(s1), int(d0 + origin - pageStart), int(d1 + origin - pageStart)});
  };
  if (first > last) {
    add(last, last + 1, b, e);  // one pixel spans the whole part
    return segments;
  }
  add(first - 1, first, b, place(first));
  add(first, last, place(first), place(last));
  if (last < size) add(last, last + 1, place(last), e);
  return segments;
}

}  // namespace

int PagesNeeded(int size, int res, int page, int dpi) {
  const double quotient = double(size) * res / (double(AtLeastOne(page)) * AtLeastOne(dpi));
  return static_cast<int>(std::ceil(quotient));
}

DpiInterval AxisDpiInterval(int size, int res, int page, int pages, int minPages, int maxPages) {
  DpiInterval interval;
  interval.low = pages == maxPages ? kLowestDpi : Quotient(size, res, int64_t(pages) * page);
  interval.high = pages == minPages ? kHighestDpi : Quotient(size, res, int64_t(pages - 1) * page);
  return interval;
}

PrintLayout InitialLayout(int width, int height, const PrinterMetrics& printer) {
  PrintLayout layout;
  layout.width = width;
  layout.height = height;
  layout.printer = printer;
  const PrinterMetrics& p = printer;
  layout.maxPagesAcross = AtLeastOne(PagesNeeded(width, p.lx, p.hr, kLowestDpi));
  layout.maxPagesDown = AtLeastOne(PagesNeeded(height, p.ly, p.vr, kLowestDpi));
  layout.minPagesAcross = AtLeastOne(PagesNeeded(width, p.lx, p.hr, kHighestDpi));
  layout.minPagesDown = AtLeastOne(PagesNeeded(height, p.ly, p.vr, kHighestDpi));
  layout.pagesAcross = layout.minPagesAcross;
  layout.pagesDown = layout.minPagesDown;
  UpdateDpiRange(&layout);
  return layout;
}

void UpdateDpiRange(PrintLayout* l) {
  const PrinterMetrics& p = l->printer;
  const DpiInterval across =
      AxisDpiInterval(l->width, p.lx, p.hr, l->pagesAcross, l->minPagesAcross, l->maxPagesAcross);
  const DpiInterval down =
      AxisDpiInterval(l->height, p.ly, p.vr, l->pagesDown, l->minPagesDown, l->maxPagesDown);
  l->dpiMin = std::max(across.low, down.low);
  l->dpiMax = std::min(across.high, down.high);
  l->dpi = l->dpiMin;
}

int SliderDpi(int position, int dpiMin, int dpiMax) {
  const double dpi = (double(99 - position) * (dpiMax - dpiMin) + 99.0 * dpiMin) / 99.0 + 0.5;
  return static_cast<int>(dpi);
}

std::vector<std::string> TemplateList(const PrintLayout& l, const std::string& pageWord,
                                      const std::string& pagesWord) {
  std::vector<std::string> list;
  const PrinterMetrics& p = l.printer;
  const bool walkDown =
      double(l.width) * p.lx / AtLeastOne(p.hr) < double(l.height) * p.ly / AtLeastOne(p.vr);
  // The walked axis and the other one, as (size, res, page, min, max).
  struct Axis {
    int size, res, page, minPages, maxPages;
  };
  const Axis across{l.width, p.lx, p.hr, l.minPagesAcross, l.maxPagesAcross};
  const Axis down{l.height, p.ly, p.vr, l.minPagesDown, l.maxPagesDown};
  const Axis& walked = walkDown ? down : across;
  const Axis& other = walkDown ? across : down;
  for (int n = walked.minPages; n <= walked.maxPages; ++n) {
    const DpiInterval range =
        AxisDpiInterval(walked.size, walked.res, walked.page, n, walked.minPages, walked.maxPages);
    const int first = AtLeastOne(PagesNeeded(other.size, other.res, other.page, range.high));
    const int last = AtLeastOne(PagesNeeded(other.size, other.res, other.page, range.low));
    for (int m = first; m <= last; ++m) {
      const int a = walkDown ? m : n;
      const int d = walkDown ? n : m;
      if (a * d > kMaxPrintPages || int(list.size()) >= kMaxPrintPages) return list;
      char text[24];
      std::snprintf(text, sizeof text, "%d x %d ", a, d);
      list.push_back(text + (a * d == 1 ? pageWord : pagesWord));
    }
  }
  return list;
}

bool ParseTemplate(const char* text, int* across, int* down) {
  return text && std::sscanf(text, "%d x %d", across, down) == 2;
}

bool ChooseArrangement(PrintLayout* l, int across, int down) {
  if (across == l->pagesAcross && down == l->pagesDown) return false;
  l->pagesAcross = across;
  l->pagesDown = down;
  UpdateDpiRange(l);
  return true;
}

EditKind EditPagesAcross(PrintLayout* l, const char* text) {
  const int value = FieldValue(text);
  if (value < 1 || value > l->maxPagesAcross) return EditKind::kRejected;
  if (value == l->pagesAcross) return EditKind::kUnchanged;
  const PrinterMetrics& p = l->printer;
  const DpiInterval range =
      AxisDpiInterval(l->width, p.lx, p.hr, value, l->minPagesAcross, l->maxPagesAcross);
  l->pagesAcross = value;
  l->pagesDown = AtLeastOne(PagesNeeded(l->height, p.ly, p.vr, range.low));
  UpdateDpiRange(l);
  l->dpi = range.low;
  return EditKind::kChanged;
}

EditKind EditPagesDown(PrintLayout* l, const char* text) {
  const int value = FieldValue(text);
  if (value < 1 || value > l->maxPagesDown) return EditKind::kRejected;
  if (value == l->pagesDown) return EditKind::kUnchanged;
  const PrinterMetrics& p = l->printer;
  const DpiInterval range =
      AxisDpiInterval(l->height, p.ly, p.vr, value, l->minPagesDown, l->maxPagesDown);
  l->pagesDown = value;
  l->pagesAcross = AtLeastOne(PagesNeeded(l->width, p.lx, p.hr, range.low));
  UpdateDpiRange(l);
  l->dpi = range.low;
  return EditKind::kChanged;
}

EditKind EditCopies(PrintLayout* l, const char* text) {
  const int value = FieldValue(text);
  if (value < 1 || value > kMaxCopies) return EditKind::kRejected;
  if (value == l->copies) return EditKind::kUnchanged;
  l->copies = value;
  return EditKind::kChanged;
}

int StepCopies(int copies, int delta) { return std::clamp(copies + delta, 1, kMaxCopies); }

std::string SizeLabel(const PrintLayout& l, const std::string& inchWord) {
  char text[64];
  const int dpi = AtLeastOne(l.dpi);
  std::snprintf(text, sizeof text, "%.2f x %.2f ", double(l.width) / dpi, double(l.height) / dpi);
  return text + inchWord;
}

std::string DpiLabel(const PrintLayout& l, const std::string& dpiWord) {
  return std::to_string(l.dpi) + dpiWord;
}

std::string DocumentName(const std::string& prefix, const std::string& title) {
  constexpr size_t kMaxTitle = 15;
  std::string shortTitle = title;
  while (shortTitle.size() > kMaxTitle) {
    const size_t cut = shortTitle.find_first_of("\\/");
    if (cut == std::string::npos) break;
    shortTitle.erase(0, cut + 1);
  }
  if (shortTitle.size() > kMaxTitle) shortTitle.resize(kMaxTitle);
  return prefix + shortTitle;
}

PrintPlacement PlaceImage(const PrintLayout& l) {
  PrintPlacement placement;
  const int dpi = AtLeastOne(l.dpi);
  placement.printedWidth = Quotient(l.width, l.printer.lx, dpi);
  placement.printedHeight = Quotient(l.height, l.printer.ly, dpi);
  const int64_t sheetWidth = int64_t(l.pagesAcross) * l.printer.hr;
  const int64_t sheetHeight = int64_t(l.pagesDown) * l.printer.vr;
  placement.originX =
      static_cast<int>(std::max<int64_t>(0, (sheetWidth - placement.printedWidth) / 2));
  placement.originY =
      static_cast<int>(std::max<int64_t>(0, (sheetHeight - placement.printedHeight) / 2));
  return placement;
}

std::vector<PrintPage> PrintPages(const PrintLayout& l) {
  std::vector<PrintPage> pages;
  const PrintPlacement at = PlaceImage(l);
  auto add = [&](int column, int row) {
    PrintPage page;
    page.column = column;
    page.row = row;
    const auto xs = SegmentsOnPage(l.width, at.printedWidth, at.originX, l.printer.hr, column);
    const auto ys = SegmentsOnPage(l.height, at.printedHeight, at.originY, l.printer.vr, row);
    for (const Segment& y : ys)
      for (const Segment& x : xs)
        page.parts.push_back(PagePart{RECT{x.s0, y.s0, x.s1, y.s1}, RECT{x.d0, y.d0, x.d1, y.d1}});
    pages.push_back(page);
  };
  if (l.pagesAcross < l.pagesDown) {
    for (int column = 0; column < l.pagesAcross; ++column)
      for (int row = 0; row < l.pagesDown; ++row) add(column, row);
  } else {
    for (int row = 0; row < l.pagesDown; ++row)
      for (int column = 0; column < l.pagesAcross; ++column) add(column, row);
  }
  return pages;
}

PreviewGeometry PreviewFor(const PrintLayout& l, const RECT& area) {
  PreviewGeometry g;
  const double sheetWidth = double(l.pagesAcross) * AtLeastOne(l.printer.hr);
  const double sheetHeight = double(l.pagesDown) * AtLeastOne(l.printer.vr);
  const double areaWidth = area.right - area.left;
  const double areaHeight = area.bottom - area.top;
  if (areaWidth <= 0 || areaHeight <= 0) return g;
  const double scale = std::min(areaWidth / sheetWidth, areaHeight / sheetHeight);
  const int blockWidth = static_cast<int>(sheetWidth * scale);
  const int blockHeight = static_cast<int>(sheetHeight * scale);
  g.block.left = area.left + (static_cast<int>(areaWidth) - blockWidth) / 2;
  g.block.top = area.top + (static_cast<int>(areaHeight) - blockHeight) / 2;
  g.block.right = g.block.left + blockWidth;
  g.block.bottom = g.block.top + blockHeight;
  for (int i = 1; i < l.pagesAcross; ++i)
    g.columnLines.push_back(g.block.left + static_cast<int>(double(i) * l.printer.hr * scale));
  for (int i = 1; i < l.pagesDown; ++i)
    g.rowLines.push_back(g.block.top + static_cast<int>(double(i) * l.printer.vr * scale));
  const PrintPlacement at = PlaceImage(l);
  g.image.left = g.block.left + static_cast<int>(at.originX * scale);
  g.image.top = g.block.top + static_cast<int>(at.originY * scale);
  g.image.right = g.image.left + std::max(1, static_cast<int>(at.printedWidth * scale));
  g.image.bottom = g.image.top + std::max(1, static_cast<int>(at.printedHeight * scale));
  return g;
}

}  // namespace vmd
