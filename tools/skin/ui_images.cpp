#include "ui_images.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "canvas.h"
#include "faces.h"
#include "icons.h"
#include "palm_container.h"
#include "skin_style.h"
#include "ui_image_layout.h"

namespace vmd {

namespace {

SkinImage Heading(const char* icon, const char* title, const char* hint, double scale) {
  Canvas canvas(static_cast<int>(std::lround(kTitleWidth * scale)),
                static_cast<int>(std::lround(kTitleHeight * scale)), scale);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, kTitleWidth, kTitleHeight);
  SetColor(cr, style::kPanel);
  cairo_fill(cr);
  RoundedRect(cr, 0, 3, 26, 26, 6);
  SetColor(cr, style::kAccent);
  cairo_fill(cr);
  DrawIcon(cr, icon, 13, 16, 18, style::kWhite);
  TextStyle text;
  text.sizePx = 15;
  text.bold = true;
  text.align = Align::kLeft;
  text.color = style::kInk;
  DrawText(cr, title, 36, 0, 300, kTitleHeight, text);
  const double titleW = TextWidth(cr, title, text);
  TextStyle small;
  small.sizePx = 11.5;
  small.align = Align::kLeft;
  small.color = style::kInkSoft;
  DrawText(cr, hint, 36 + titleW + 12, 1, kTitleWidth - titleW - 50, kTitleHeight, small);
  return canvas.ToImage();
}

SkinImage ProgressFrame() {
  Canvas canvas(kProgressWidth, kProgressHeight, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, kProgressWidth, kProgressHeight);
  FillVertical(cr, 0, kProgressHeight, {226, 226, 236}, {206, 205, 219});
  cairo_rectangle(cr, 0, 0, kProgressWidth, 3);
  SetColor(cr, style::kAccent);
  cairo_fill(cr);
  cairo_rectangle(cr, 0.5, 0.5, kProgressWidth - 1, kProgressHeight - 1);
  SetColor(cr, {86, 88, 118});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  DrawIcon(cr, "wizard", 21, 18.5, 15, style::kAccent);
  TextStyle caption;
  caption.sizePx = 13;
  caption.bold = true;
  caption.align = Align::kLeft;
  caption.color = style::kInk;
  DrawText(cr, "Stitching...", 34, 8, 160, 20, caption);
  TextStyle hint;
  hint.sizePx = 11;
  hint.align = Align::kRight;
  hint.color = style::kInkSoft;
  DrawText(cr, "Esc cancels", 180, 8, kProgressWidth - 180 - 12, 20, hint);
  // The trough: its border lies just outside the bar area, which the fill
  // covers as it grows.
  const double l = kProgressBarLeft, t = kProgressBarTop;
  const double w = kProgressBarRight - kProgressBarLeft, h = kProgressBarBottom - kProgressBarTop;
  cairo_rectangle(cr, l - 0.5, t - 0.5, w + 1, h + 1);
  SetColor(cr, {124, 122, 150});
  cairo_stroke(cr);
  cairo_rectangle(cr, l, t, w, h);
  FillVertical(cr, t, t + h, {176, 175, 194}, {198, 197, 212});
  cairo_rectangle(cr, l, t, w, 2);
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.3, 0.18);
  cairo_fill(cr);
  TextStyle foot;
  foot.sizePx = 10;
  foot.align = Align::kLeft;
  foot.color = style::kInkSoft;
  DrawText(cr, "Aligning and blending the photos", l, t + h + 2, w,
           kProgressHeight - (t + h + 2) - 2, foot);
  return canvas.ToImage();
}

SkinImage ProgressFill() {
  const int w = kProgressBarRight - kProgressBarLeft, h = kProgressBarBottom - kProgressBarTop;
  Canvas canvas(w, h, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, w, h);
  FillVertical(cr, 0, h, style::kAccentTop, style::kAccentBottom);
  cairo_rectangle(cr, 0, 1, w, 1);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  SetColor(cr, style::kAccentDark);
  cairo_fill(cr);
  return canvas.ToImage();
}

// One look of marker m: a ring with a crosshair and the marker's number in a
// badge; the active look is filled and brighter.
void MarkerLook(cairo_t* cr, double ox, int m, bool active) {
  const double cx = ox + kMarkerHotX + 0.5, cy = kMarkerHotY + 0.5;
  const Rgb ring = active ? Rgb{255, 196, 40} : Rgb{255, 255, 255};
  const Rgb dark = {20, 22, 40};
  // Dark halo, then the bright ring: visible on light and dark photos.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (int pass = 0; pass < 2; ++pass) {
    SetColor(cr, pass == 0 ? dark : ring);
    cairo_set_line_width(cr, pass == 0 ? 4 : 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 8, 0, 2 * M_PI);
    cairo_stroke(cr);
    const double inner = 3, outer = 14;
    cairo_move_to(cr, cx - outer, cy);
    cairo_line_to(cr, cx - inner, cy);
    cairo_move_to(cr, cx + inner, cy);
    cairo_line_to(cr, cx + outer, cy);
    cairo_move_to(cr, cx, cy - outer);
    cairo_line_to(cr, cx, cy - inner);
    cairo_move_to(cr, cx, cy + inner);
    cairo_line_to(cr, cx, cy + outer);
    cairo_set_line_width(cr, pass == 0 ? 3 : 1);
    cairo_stroke(cr);
  }
  // The number badge in the lower right quadrant.
  const double bx = ox + 24, by = 24;
  cairo_new_sub_path(cr);
  cairo_arc(cr, bx, by, 6.5, 0, 2 * M_PI);
  SetColor(cr, active ? Rgb{255, 196, 40} : style::kAccent);
  cairo_fill_preserve(cr);
  SetColor(cr, dark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  TextStyle text;
  text.sizePx = 9.5;
  text.bold = true;
  text.color = active ? dark : style::kWhite;
  DrawText(cr, std::to_string(m), bx - 6.5, by - 6.5, 13, 13, text);
}

SkinImage MarkerStrip(int m) {
  // Drawn smooth on a transparent canvas; then every pixel at least half
  // covered becomes opaque over the dark halo colour and the rest the key
  // colour. The hard edge falls on the dark halo, where it does not show, and
  // no half-pink pixels fringe the marker.
  const int width = kMarkerFrame * kMarkerFrames;
  Canvas canvas(width, kMarkerFrame, 1.0, true);
  MarkerLook(canvas.cr(), 0, m, false);
  MarkerLook(canvas.cr(), kMarkerFrame, m, true);
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  Canvas opaque(width, kMarkerFrame, 1.0);
  cairo_surface_flush(opaque.surface());
  unsigned char* out = cairo_image_surface_get_data(opaque.surface());
  const int outStride = cairo_image_surface_get_stride(opaque.surface());
  const uint32_t halo = 0x141628;  // the halo's RGB(20, 22, 40)
  for (int y = 0; y < kMarkerFrame; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride)[x];
      const uint32_t a = p >> 24;
      uint32_t rgb = kMarkerKeyColor;
      if (a >= 128) {
        // Premultiplied colour over the halo.
        rgb = 0;
        for (int c = 0; c < 3; ++c) {
          const uint32_t v = (p >> (8 * c)) & 0xFF, back = (halo >> (8 * c)) & 0xFF;
          rgb |= std::min<uint32_t>(255, v + back * (255 - a) / 255) << (8 * c);
        }
      }
      reinterpret_cast<uint32_t*>(out + size_t(y) * outStride)[x] = 0xFF000000u | rgb;
    }
  cairo_surface_mark_dirty(opaque.surface());
  return opaque.ToImage();
}

SkinImage ViewerFrame() {
  const int w = kViewerViewWidth + 2 * kViewerBorder, h = kViewerViewHeight + 2 * kViewerBorder;
  Canvas canvas(w, h, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, w, h);
  SetColor(cr, {0, 0, 0});
  cairo_fill(cr);
  // Outer light line, a slate band, an inner dark line.
  const Rgb rings[] = {{112, 116, 152}, {66, 70, 100}, {52, 55, 82}, {20, 21, 32}};
  for (int i = 0; i < kViewerBorder; ++i) {
    cairo_rectangle(cr, i + 0.5, i + 0.5, w - 2 * i - 1, h - 2 * i - 1);
    SetColor(cr, rings[i]);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  return canvas.ToImage();
}

struct BarButton {
  const char* label;
  const char* icon;
};

// A bar's background: a dark slate plate with a caption; its button strip.
SkinImage BarBackground(const ButtonBarLayout& bar, const char* caption, Canvas* keep) {
  cairo_t* cr = keep->cr();
  cairo_rectangle(cr, 0, 0, bar.width, bar.height);
  FillVertical(cr, 0, bar.height, style::kBandTop, style::kBandBottom);
  cairo_rectangle(cr, 0, 0, bar.width, 2);
  SetColor(cr, style::kAccent);
  cairo_fill(cr);
  cairo_rectangle(cr, 0.5, 0.5, bar.width - 1, bar.height - 1);
  SetColor(cr, {30, 31, 48});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  TextStyle text;
  text.sizePx = 11;
  text.bold = true;
  text.align = Align::kLeft;
  text.color = style::kBandSubtle;
  DrawText(cr, caption, bar.firstLeft + 2, 4, bar.width - 2 * bar.firstLeft, bar.top - 6, text);
  return keep->ToImage();
}

SkinImage BarStrip(const ButtonBarLayout& bar, const Canvas& background, const BarButton* buttons) {
  Canvas strip(bar.buttonWidth * bar.buttons * 3, bar.buttonHeight, 1.0);
  for (int b = 0; b < bar.buttons; ++b)
    for (int s = 0; s < 3; ++s) {
      Canvas face(bar.buttonWidth, bar.buttonHeight, 1.0);
      face.PaintFrom(background, bar.firstLeft + b * bar.step, bar.top);
      DrawButtonFace(face.cr(), bar.buttonWidth, bar.buttonHeight, s, false, buttons[b].label,
                     buttons[b].icon);
      cairo_t* cr = strip.cr();
      cairo_set_source_surface(cr, face.surface(), (b * 3 + s) * bar.buttonWidth, 0);
      cairo_paint(cr);
    }
  return strip.ToImage();
}

void AddBar(std::vector<NamedImage>* images, const char* base, const ButtonBarLayout& bar,
            const char* caption, const BarButton* buttons, std::vector<NamedImage>* previews) {
  Canvas background(bar.width, bar.height, 1.0);
  images->push_back({std::string(base) + ".log", BarBackground(bar, caption, &background)});
  images->push_back({std::string(base) + ".btn", BarStrip(bar, background, buttons)});
  if (!previews) return;
  // The bar as its window shows it: each button's normal frame at its place.
  for (int b = 0; b < bar.buttons; ++b) {
    Canvas face(bar.buttonWidth, bar.buttonHeight, 1.0);
    face.PaintFrom(background, bar.firstLeft + b * bar.step, bar.top);
    DrawButtonFace(face.cr(), bar.buttonWidth, bar.buttonHeight, 0, false, buttons[b].label,
                   buttons[b].icon);
    cairo_set_source_surface(background.cr(), face.surface(), bar.firstLeft + b * bar.step,
                             bar.top);
    cairo_paint(background.cr());
  }
  previews->push_back({std::string(base) + "-bar", background.ToImage()});
}

bool WriteImagePng(const SkinImage& image, const std::string& path) {
  Canvas canvas(image.width, image.height, 1.0);
  cairo_surface_flush(canvas.surface());
  unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* from = &image.pixels[size_t(image.height - 1 - y) * image.stride];
    uint32_t* to = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < image.width; ++x)
      to[x] = 0xFF000000u | uint32_t(from[3 * x + 2]) << 16 | uint32_t(from[3 * x + 1]) << 8 |
              from[3 * x];
  }
  cairo_surface_mark_dirty(canvas.surface());
  return canvas.WritePng(path);
}

}  // namespace

std::vector<NamedImage> DrawUiImages(std::vector<NamedImage>* previews) {
  std::vector<NamedImage> images;
  // The headings at 800 x 600, and drawn at 0.8 for the 640 x 480 skin.
  for (const auto& size : {std::make_pair(".800", 1.0), std::make_pair(".640", 0.8)}) {
    images.push_back(
        {std::string("title1") + size.first, Heading("kind-row", "Horizontal storyboard",
                                                     "In order, from left to right", size.second)});
    images.push_back(
        {std::string("title2") + size.first, Heading("kind-circle", "360-degree storyboard",
                                                     "In order, all the way round", size.second)});
  }
  images.push_back({"bar.log", ProgressFrame()});
  images.push_back({"bar.prg", ProgressFill()});
  for (int m = 1; m <= 3; ++m)
    images.push_back({"mark" + std::to_string(m) + ".800", MarkerStrip(m)});
  images.push_back({"panovw.log", ViewerFrame()});
  const BarButton zoomBar[] = {{"", "zoom-in"}, {"", "zoom-out"}, {"", "close"}};
  // The string table names "detail.log" and "detail.btn" for the panorama
  // viewer's bar; the "pano" pair serves the full-screen View Detail.
  AddBar(&images, "detail", kDetailBar, "Panorama view", zoomBar, previews);
  AddBar(&images, "pano", kPanoBar, "Detail view", zoomBar, previews);
  const BarButton sortBar[] = {
      {"Name", nullptr}, {"Date", nullptr}, {"Size", nullptr}, {"Cancel", nullptr}};
  AddBar(&images, "sort", kSortBar, "Sort the album by", sortBar, previews);
  return images;
}

std::vector<uint8_t> EncodeBmpFile(const SkinImage& image) {
  const std::vector<uint8_t> dib = EncodePackedDib(image);
  std::vector<uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  WriteU32(file.data(), 2, static_cast<uint32_t>(14 + dib.size()));
  WriteU32(file.data(), 10, 14 + 40);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

bool WriteUiImages(const std::string& folder, const std::string& previewDir) {
  std::string preview;
  if (!previewDir.empty()) {
    preview = previewDir + "/ui";
    mkdir(preview.c_str(), 0755);
  }
  std::vector<NamedImage> bars;
  for (const NamedImage& named : DrawUiImages(preview.empty() ? nullptr : &bars)) {
    if (!ReplaceFileContents(folder + "/" + named.name, EncodeBmpFile(named.image))) return false;
    if (!preview.empty()) WriteImagePng(named.image, preview + "/" + named.name + ".png");
  }
  for (const NamedImage& bar : bars) WriteImagePng(bar.image, preview + "/" + bar.name + ".png");
  return true;
}

}  // namespace vmd
