#ifndef APP_PRINT_PRINT_LAYOUT_H
#define APP_PRINT_PRINT_LAYOUT_H

#include <string>
#include <vector>

#include "win32_api.h"

namespace vmd {

constexpr int kLowestDpi = 50;
constexpr int kHighestDpi = 1200;
constexpr int kStartDpi = 200;
constexpr int kMaxPrintPages = 18;  ///< most pages in one arrangement, and most templates
constexpr int kMaxCopies = 100;
constexpr int kSliderPositions = 100;  ///< slider 506 runs from 0 (dpiMax) to 99 (dpiMin)

/// What the printer reports: logical pixels per inch, printable page size in pixels.
struct PrinterMetrics {
  int lx = 0;  ///< horizontal pixels per inch
  int ly = 0;  ///< vertical pixels per inch
  int hr = 0;  ///< printable width in printer pixels
  int vr = 0;  ///< printable height in printer pixels
};

/// The print settings of the Print screen: the image, the printer and the
/// arrangement chosen, alive while the screen is shown.
struct PrintLayout {
  int width = 0;   ///< W of the image, pixels
  int height = 0;  ///< H
  PrinterMetrics printer;
  int pagesAcross = 1;
  int pagesDown = 1;
  int minPagesAcross = 1;  ///< at the highest resolution
  int maxPagesAcross = 1;  ///< at the lowest resolution
  int minPagesDown = 1;
  int maxPagesDown = 1;
  int dpi = kStartDpi;  ///< image pixels per inch
  int dpiMin = kLowestDpi;
  int dpiMax = kHighestDpi;
  int copies = 1;  ///< 1 to 100
};

/// Pages needed to hold `size` image pixels at `dpi` on pages of `page`
/// printer pixels at `res` printer pixels per inch: the ceiling of
/// size * res / (page * dpi), each divisor at least 1.
int PagesNeeded(int size, int res, int page, int dpi);

/// Resolution interval that keeps `pages` pages on one axis, given that
/// axis's page counts at the lowest (maxPages) and highest (minPages) resolution.
struct DpiInterval {
  int low;
  int high;
};
DpiInterval AxisDpiInterval(int size, int res, int page, int pages, int minPages, int maxPages);

/// Lays out a W x H image for a printer: page counts at both ends of the
/// resolution scale, the smallest arrangement, and its resolution range with
/// dpi = dpiMin. Copies start at 1.
PrintLayout InitialLayout(int width, int height, const PrinterMetrics& printer);

/// Recomputes dpiMin and dpiMax for the arrangement; dpi = dpiMin.
void UpdateDpiRange(PrintLayout* layout);

/// Resolution at slider position `position` (0 gives dpiMax, 99 dpiMin).
int SliderDpi(int position, int dpiMin, int dpiMax);

/// The arrangement texts that fit the image, "%d x %d " (across, down)
/// followed by `pageWord` for one page or `pagesWord` otherwise; at most 18
/// entries and never one above 18 pages.
std::vector<std::string> TemplateList(const PrintLayout& layout, const std::string& pageWord,
                                      const std::string& pagesWord);

/// Reads a template text as its two page counts. False when it holds no
/// two integers around an "x".
bool ParseTemplate(const char* text, int* across, int* down);

/// Applies a template's counts: true when either count changed (the range is
/// then recomputed and dpi = dpiMin).
bool ChooseArrangement(PrintLayout* layout, int across, int down);

/// How an edit field took the text typed into it.
enum class EditKind { kChanged, kUnchanged, kRejected };

/// Edit field 100, pages across (at most 19 characters read as an integer):
/// 1 to maxPagesAcross sets the count, dpi becomes that count's lowest
/// resolution and pages down follows from it. Other values are rejected (the
/// field beeps and shows the previous value).
EditKind EditPagesAcross(PrintLayout* layout, const char* text);
/// Edit field 101, pages down: the same with the axes exchanged.
EditKind EditPagesDown(PrintLayout* layout, const char* text);
/// Edit field 102, copies: 1 to 100.
EditKind EditCopies(PrintLayout* layout, const char* text);

/// Copy buttons 519 (-1) and 520 (+1): the count clamped to 1..100.
int StepCopies(int copies, int delta);

/// The printed size label, "%.2f x %.2f " of W / dpi and H / dpi and `inchWord`.
std::string SizeLabel(const PrintLayout& layout, const std::string& inchWord);
/// The resolution label, "%d" of dpi and `dpiWord`.
std::string DpiLabel(const PrintLayout& layout, const std::string& dpiWord);

/// The document name: `prefix` and the title shortened to at most 15
/// characters, cut after a path separator where it has one.
std::string DocumentName(const std::string& prefix, const std::string& title);

/// Where the image lands on the block of pages, in printer pixels: printed
/// size PW = W lx / dpi by PH = H ly / dpi, centred on the virtual sheet of
/// pagesAcross x hr by pagesDown x vr (origin at least 0).
struct PrintPlacement {
  int printedWidth = 0;   ///< PW
  int printedHeight = 0;  ///< PH
  int originX = 0;        ///< x0 on the virtual sheet
  int originY = 0;        ///< y0
};
PrintPlacement PlaceImage(const PrintLayout& layout);

/// A piece of the image and its place on a page: `source` in image pixels,
/// rows counted from the top; `dest` in printer pixels of the page, always
/// inside the page's printable area.
struct PagePart {
  RECT source = {};
  RECT dest = {};
};

/// One printed page and the parts of the image on it (none for a page the
/// image does not reach).
struct PrintPage {
  int column = 0;  ///< page column, 0 at the left
  int row = 0;     ///< page row, 0 at the top
  std::vector<PagePart> parts;
};

/// The pages in printing order: column by column (each top to bottom) when
/// pagesAcross < pagesDown, else row by row (each left to right). Image pixel
/// u starts at x0 + floor(u * PW / W) on the sheet for every page alike; a
/// pixel that a page edge cuts is drawn on each page as a strip of exactly its
/// width there, so the pages together show the scaled image once, with nothing
/// drawn past a page edge (printer drivers clip stretched images by moving the
/// source, which would shift the picture).
std::vector<PrintPage> PrintPages(const PrintLayout& layout);

/// The page preview: the block of pages scaled into `area` (centred, keeping
/// its proportions), its page grid lines, and the image's place on it.
struct PreviewGeometry {
  RECT block = {};
  std::vector<int> columnLines;  ///< x of the inner vertical page edges
  std::vector<int> rowLines;     ///< y of the inner horizontal page edges
  RECT image = {};
};
PreviewGeometry PreviewFor(const PrintLayout& layout, const RECT& area);

}  // namespace vmd

#endif  // APP_PRINT_PRINT_LAYOUT_H
