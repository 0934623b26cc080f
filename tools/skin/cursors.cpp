#include "cursors.h"

#include <cairo.h>

#include <cmath>
#include <string>

#include "canvas.h"
#include "palm_container.h"
#include "skin_style.h"

namespace vmd {

namespace {

// Cursors are black shapes with a white outline (readable on any photo),
// drawn on a 32 x 32 transparent canvas; the centre pixel is (15, 15).
constexpr double kC = 15.5;

void OutlineThenFill(cairo_t* cr, double outline = 2.6) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, outline);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

// A bold arrow through the centre pointing along `angle`; `twoHeads` gives a
// double arrow.
void ArrowPath(cairo_t* cr, double angle, bool twoHeads, double length = 12.5) {
  cairo_save(cr);
  cairo_translate(cr, kC, kC);
  cairo_rotate(cr, angle);
  const double shaft = 2.2, head = 6.5, headLen = 7;
  cairo_move_to(cr, length, 0);
  cairo_line_to(cr, length - headLen, -head);
  cairo_line_to(cr, length - headLen, -shaft);
  if (twoHeads) {
    cairo_line_to(cr, -length + headLen, -shaft);
    cairo_line_to(cr, -length + headLen, -head);
    cairo_line_to(cr, -length, 0);
    cairo_line_to(cr, -length + headLen, head);
    cairo_line_to(cr, -length + headLen, shaft);
  } else {
    cairo_line_to(cr, -length + 3, -shaft);
    cairo_line_to(cr, -length + 3, shaft);
  }
  cairo_line_to(cr, length - headLen, shaft);
  cairo_line_to(cr, length - headLen, head);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void Direction(cairo_t* cr, double angle) {
  ArrowPath(cr, angle, false);
  OutlineThenFill(cr);
  // A small dot marks the point the view turns around.
  cairo_new_sub_path(cr);
  cairo_arc(cr, kC, kC, 1.6, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

void DoubleArrow(cairo_t* cr, double angle) {
  ArrowPath(cr, angle, true, 13.5);
  OutlineThenFill(cr);
}

void FourWay(cairo_t* cr) {
  for (int i = 0; i < 2; ++i) ArrowPath(cr, i * M_PI / 2, true, 13.5);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 2.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  for (int i = 0; i < 2; ++i) ArrowPath(cr, i * M_PI / 2, true, 13.5);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

// A pair of photos split by a seam, with arrows away from it: 237 left and
// right, 238 above and below.
void PairCursor(cairo_t* cr, bool horizontal) {
  cairo_save(cr);
  if (!horizontal) {
    cairo_translate(cr, kC, kC);
    cairo_rotate(cr, M_PI / 2);
    cairo_translate(cr, -kC, -kC);
  }
  cairo_rectangle(cr, kC - 3.5, kC - 11, 7, 22);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_rectangle(cr, kC - 2.5, kC - 10, 2, 20);
  cairo_rectangle(cr, kC + 0.5, kC - 10, 2, 20);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, kC + side * 4.5, kC);
    cairo_scale(cr, side, 1);
    cairo_move_to(cr, 10, 0);
    cairo_line_to(cr, 4, -6);
    cairo_line_to(cr, 4, -2);
    cairo_line_to(cr, 0.5, -2);
    cairo_line_to(cr, 0.5, 2);
    cairo_line_to(cr, 4, 2);
    cairo_line_to(cr, 4, 6);
    cairo_close_path(cr);
    cairo_restore(cr);
    OutlineThenFill(cr, 2.4);
  }
  cairo_restore(cr);
}

void Crosshair(cairo_t* cr, int number) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_set_source_rgb(cr, pass, pass, pass);
    cairo_set_line_width(cr, pass == 0 ? 3 : 1);
    const double inner = 2, outer = 11;
    cairo_move_to(cr, kC - outer, kC);
    cairo_line_to(cr, kC - inner, kC);
    cairo_move_to(cr, kC + inner, kC);
    cairo_line_to(cr, kC + outer, kC);
    cairo_move_to(cr, kC, kC - outer);
    cairo_line_to(cr, kC, kC - inner);
    cairo_move_to(cr, kC, kC + inner);
    cairo_line_to(cr, kC, kC + outer);
    cairo_stroke(cr);
  }
  // The number in a badge at the lower right.
  cairo_new_sub_path(cr);
  cairo_arc(cr, 24.5, 24.5, 6.5, 0, 2 * M_PI);
  SetColor(cr, style::kAccent);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  TextStyle text;
  text.sizePx = 10;
  text.bold = true;
  text.color = style::kWhite;
  DrawText(cr, std::to_string(number), 18, 18, 13, 13, text);
}

// An open hand (fingers spread a little) or a closed, grabbing one.
void Hand(cairo_t* cr, bool open) {
  auto shapes = [cr, open]() {
    if (open) {
      const double tops[] = {6, 3.5, 4, 7};
      for (int i = 0; i < 4; ++i) RoundedRect(cr, 9 + i * 3.6, tops[i], 3.6, 14, 1.8);
      cairo_save(cr);
      cairo_translate(cr, 8.5, 19);
      cairo_rotate(cr, -0.75);
      RoundedRect(cr, -1.8, -8, 3.6, 10, 1.8);
      cairo_restore(cr);
      RoundedRect(cr, 8.5, 13, 15, 13.5, 4.5);
    } else {
      for (int i = 0; i < 4; ++i) RoundedRect(cr, 9 + i * 3.6, 10, 3.6, 7, 1.8);
      RoundedRect(cr, 8, 12.5, 16, 13.5, 4.5);
      RoundedRect(cr, 5.5, 15, 6, 4.5, 2.2);
    }
  };
  shapes();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 2.6);
  cairo_stroke(cr);
  shapes();
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  // Lines between the fingers.
  cairo_set_source_rgb(cr, 0.25, 0.25, 0.3);
  cairo_set_line_width(cr, 0.9);
  for (int i = 1; i < 4; ++i) {
    const double x = 9 + i * 3.6;
    cairo_move_to(cr, x, open ? 9 : 11.5);
    cairo_line_to(cr, x, open ? 16 : 15);
  }
  cairo_stroke(cr);
}

void MoveMarks(cairo_t* cr) {
  // Small arrow heads around an open hand: it can be moved or is moving.
  struct {
    double x, y, a;
  } heads[] = {{15.5, 0.8, -M_PI / 2}, {30.2, 15.5, 0}, {15.5, 30.2, M_PI / 2}, {0.8, 15.5, M_PI}};
  for (const auto& h : heads) {
    cairo_save(cr);
    cairo_translate(cr, h.x, h.y);
    cairo_rotate(cr, h.a);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, -3.2, -3.6);
    cairo_line_to(cr, -3.2, 3.6);
    cairo_close_path(cr);
    cairo_restore(cr);
    OutlineThenFill(cr, 1.6);
  }
}

void Pointer(cairo_t* cr) {
  cairo_move_to(cr, 1.5, 1.5);
  cairo_line_to(cr, 1.5, 19);
  cairo_line_to(cr, 6, 14.8);
  cairo_line_to(cr, 9, 21.5);
  cairo_line_to(cr, 11.8, 20.3);
  cairo_line_to(cr, 8.9, 13.8);
  cairo_line_to(cr, 14.8, 13.8);
  cairo_close_path(cr);
  cairo_set_line_width(cr, 1.6);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

void DropHere(cairo_t* cr) {
  Pointer(cr);
  RoundedRect(cr, 17.5, 17.5, 12, 12, 2.5);
  SetColor(cr, style::kAccent);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_move_to(cr, 23.5, 20.5);
  cairo_line_to(cr, 23.5, 26.5);
  cairo_move_to(cr, 20.5, 23.5);
  cairo_line_to(cr, 26.5, 23.5);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

struct CursorDrawing {
  int id;
  int hotX, hotY;
  void (*draw)(cairo_t*);
};

const CursorDrawing kCursors[] = {
    {180, 15, 15, [](cairo_t* cr) { Hand(cr, false); }},
    {200, 1, 1, DropHere},
    {201, 15, 15,
     [](cairo_t* cr) {
       // A smaller open hand inside four arrow heads.
       cairo_save(cr);
       cairo_translate(cr, kC, kC + 0.5);
       cairo_scale(cr, 0.74, 0.74);
       cairo_translate(cr, -kC - 0.5, -kC - 0.5);
       Hand(cr, true);
       cairo_restore(cr);
       MoveMarks(cr);
     }},
    {210, 15, 15, [](cairo_t* cr) { Direction(cr, M_PI / 2); }},
    {211, 15, 15, FourWay},
    {212, 15, 15, [](cairo_t* cr) { Direction(cr, -M_PI / 2); }},
    {213, 15, 15, [](cairo_t* cr) { Direction(cr, 0); }},
    {214, 15, 15, [](cairo_t* cr) { DoubleArrow(cr, 0); }},
    {215, 15, 15, [](cairo_t* cr) { Direction(cr, M_PI / 4); }},
    {216, 15, 15, [](cairo_t* cr) { Direction(cr, 3 * M_PI / 4); }},
    {217, 15, 15, [](cairo_t* cr) { Direction(cr, -M_PI / 4); }},
    {218, 15, 15, [](cairo_t* cr) { DoubleArrow(cr, M_PI / 2); }},
    {219, 15, 15, [](cairo_t* cr) { Direction(cr, -3 * M_PI / 4); }},
    {220, 15, 15, [](cairo_t* cr) { Hand(cr, true); }},
    {221, 15, 15, [](cairo_t* cr) { Hand(cr, false); }},
    {224, 15, 15, [](cairo_t* cr) { Crosshair(cr, 1); }},
    {233, 15, 15, [](cairo_t* cr) { Crosshair(cr, 3); }},
    {235, 15, 15, [](cairo_t* cr) { Crosshair(cr, 2); }},
    {237, 15, 15, [](cairo_t* cr) { PairCursor(cr, true); }},
    {238, 15, 15, [](cairo_t* cr) { PairCursor(cr, false); }},
    {727, 15, 15, [](cairo_t* cr) { Direction(cr, M_PI); }},
};

std::vector<uint8_t> Unpremultiplied(const Canvas& canvas) {
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  std::vector<uint8_t> bgra(size_t(kCursorSize) * kCursorSize * 4);
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x) {
      const uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride)[x];
      const int a = p >> 24;
      uint8_t* out = &bgra[(size_t(y) * kCursorSize + x) * 4];
      for (int c = 0; c < 3; ++c) {
        const int v = (p >> (8 * c)) & 0xFF;
        out[c] = a ? static_cast<uint8_t>(std::min(255, (v * 255 + a / 2) / a)) : 0;
      }
      out[3] = static_cast<uint8_t>(a);
    }
  return bgra;
}

}  // namespace

std::vector<uint8_t> EncodeCursorFile(const std::vector<uint8_t>& bgraTopDown, int hotX, int hotY) {
  const int n = kCursorSize;
  const uint32_t xorBytes = n * n * 4, maskStride = ((n + 31) / 32) * 4, andBytes = maskStride * n;
  const uint32_t imageBytes = 40 + xorBytes + andBytes;
  std::vector<uint8_t> file(6 + 16 + imageBytes, 0);
  uint8_t* p = file.data();
  WriteU16(p, 2, 2);  // a cursor
  WriteU16(p, 4, 1);  // one image
  p[6] = static_cast<uint8_t>(n);
  p[7] = static_cast<uint8_t>(n);
  WriteU16(p, 10, static_cast<uint16_t>(hotX));
  WriteU16(p, 12, static_cast<uint16_t>(hotY));
  WriteU32(p, 14, imageBytes);
  WriteU32(p, 18, 22);
  uint8_t* header = p + 22;
  WriteU32(header, 0, 40);
  WriteU32(header, 4, n);
  WriteU32(header, 8, 2 * n);  // colour and mask rows
  WriteU16(header, 12, 1);
  WriteU16(header, 14, 32);
  WriteU32(header, 20, xorBytes + andBytes);
  uint8_t* colour = header + 40;
  uint8_t* mask = colour + xorBytes;
  for (int y = 0; y < n; ++y) {
    const int row = n - 1 - y;  // stored bottom-up
    for (int x = 0; x < n; ++x) {
      const uint8_t* from = &bgraTopDown[(size_t(y) * n + x) * 4];
      for (int c = 0; c < 4; ++c) colour[(size_t(row) * n + x) * 4 + c] = from[c];
      if (from[3] < 128) mask[row * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return file;
}

std::vector<CursorFile> DrawCursors() {
  std::vector<CursorFile> cursors;
  for (const CursorDrawing& drawing : kCursors) {
    Canvas canvas(kCursorSize, kCursorSize, 1.0, true);
    drawing.draw(canvas.cr());
    cursors.push_back({drawing.id, "cursor" + std::to_string(drawing.id) + ".cur", drawing.hotX, drawing.hotY,
                       EncodeCursorFile(Unpremultiplied(canvas), drawing.hotX, drawing.hotY)});
  }
  return cursors;
}

bool WriteCursors(const std::string& folder, const std::string& previewDir) {
  for (const CursorFile& cursor : DrawCursors())
    if (!ReplaceFileContents(folder + "/" + cursor.fileName, cursor.bytes)) return false;
  if (previewDir.empty()) return true;
  // A sheet: each cursor at three times its size on a light and a dark
  // ground, its hot spot marked red.
  const int zoom = 3, cell = kCursorSize * zoom + 8;
  const int count = sizeof(kCursors) / sizeof(kCursors[0]);
  Canvas sheet(cell * count, 2 * cell + 16, 1.0);
  cairo_t* cr = sheet.cr();
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
  cairo_paint(cr);
  cairo_rectangle(cr, 0, cell, cell * count, cell);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.25);
  cairo_fill(cr);
  for (int i = 0; i < count; ++i) {
    Canvas one(kCursorSize, kCursorSize, 1.0, true);
    kCursors[i].draw(one.cr());
    for (int row = 0; row < 2; ++row) {
      cairo_save(cr);
      cairo_translate(cr, i * cell + 4, row * cell + 4);
      cairo_scale(cr, zoom, zoom);
      cairo_set_source_surface(cr, one.surface(), 0, 0);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
      cairo_paint(cr);
      cairo_rectangle(cr, kCursors[i].hotX, kCursors[i].hotY, 1, 1);
      cairo_set_source_rgb(cr, 1, 0, 0);
      cairo_fill(cr);
      cairo_restore(cr);
    }
    TextStyle label;
    label.sizePx = 11;
    label.color = {0, 0, 0};
    DrawText(cr, std::to_string(kCursors[i].id), i * cell, 2 * cell, cell, 16, label);
  }
  return sheet.WritePng(previewDir + "/cursors.png");
}

}  // namespace vmd
