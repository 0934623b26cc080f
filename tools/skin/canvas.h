#ifndef TOOLS_SKIN_CANVAS_H
#define TOOLS_SKIN_CANVAS_H

#include <cairo.h>

#include <string>

#include "skin_file.h"

namespace vmd {

/// A colour, each channel 0 to 255.
struct Rgb {
  int r;
  int g;
  int b;
};

/// An opaque (RGB24) or translucent (ARGB32) cairo image. Drawing code uses
/// logical units of the 800 x 600 layout; `scale` maps them to pixels, so the
/// 640 x 480 skin is drawn crisp at its own size rather than shrunk.
class Canvas {
 public:
  Canvas(int pixelWidth, int pixelHeight, double scale, bool alpha = false);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int PixelWidth() const { return width_; }
  int PixelHeight() const { return height_; }
  double Scale() const { return scale_; }
  /// The canvas size in logical units.
  double Width() const { return width_ / scale_; }
  double Height() const { return height_ / scale_; }

  /// Copies `source`'s pixels with its pixel (0, 0) at this canvas's pixel
  /// (x, y): a face starts from the panel behind it.
  void PaintFrom(const Canvas& source, int x, int y);

  /// The pixels as a 24-bit skin image (rows bottom-up, blue-green-red).
  SkinImage ToImage() const;
  bool WritePng(const std::string& path) const;

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
  int width_;
  int height_;
  double scale_;
};

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
/// A colour between a (t = 0) and b (t = 1).
Rgb Mix(Rgb a, Rgb b, double t);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
/// A top-to-bottom gradient fill of the current path.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);

/// Loads the two pinned DejaVu Sans files (regular and bold) that all text is
/// drawn with; false, naming them, when either cannot be read.
bool LoadPinnedFonts(std::string* missing);

enum class Align { kLeft, kCenter, kRight };

/// Text in DejaVu Sans at `sizePx` logical pixels, placed in the box
/// (x, y, w, h): aligned horizontally as asked and centred vertically, on one
/// line (ellipsised when too long) unless `wrap`, which breaks it into lines
/// of the box's width starting at the box's top.
struct TextStyle {
  double sizePx = 12;
  bool bold = false;
  Rgb color = {0, 0, 0};
  Align align = Align::kCenter;
  bool wrap = false;
  double lineSpacing = 1.0;  ///< factor on the font's line height (wrapped text)
};
void DrawText(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
              const TextStyle& style);
/// The logical width of `text` in that style.
double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style);

}  // namespace vmd

#endif  // TOOLS_SKIN_CANVAS_H
