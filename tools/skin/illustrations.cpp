#include "illustrations.h"

#include <cmath>
#include <string>

#include "canvas.h"
#include "skin_style.h"

namespace vmd {

namespace {

// A wavy ridge from x0 to x1 around height `base`, closed down to `bottom`.
void Ridge(cairo_t* cr, double x0, double x1, double base, double amplitude, double phase,
           double bottom) {
  cairo_move_to(cr, x0, bottom);
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps;
    const double x = x0 + (x1 - x0) * t;
    const double y =
        base - amplitude * (0.6 * std::sin(t * 5.1 + phase) + 0.4 * std::sin(t * 11.3 + phase * 2));
    cairo_line_to(cr, x, y);
  }
  cairo_line_to(cr, x1, bottom);
  cairo_close_path(cr);
}

Rgb Muted(Rgb c, bool muted) { return muted ? Mix(c, style::kDisabledFace, 0.65) : c; }

void FrameOutline(cairo_t* cr, double x, double y, double w, double h, bool muted,
                  double lineWidth) {
  RoundedRect(cr, x, y, w, h, 2);
  SetColor(cr, style::kWhite, muted ? 0.5 : 0.95);
  cairo_set_line_width(cr, lineWidth + 1.5);
  cairo_stroke_preserve(cr);
  SetColor(cr, Muted(style::kAccentDark, muted), 0.9);
  cairo_set_line_width(cr, lineWidth * 0.6);
  cairo_stroke(cr);
}

void Number(cairo_t* cr, int n, double cx, double cy, double r, bool muted) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  SetColor(cr, Muted(style::kAccent, muted));
  cairo_fill(cr);
  TextStyle text;
  text.sizePx = r * 1.25;
  text.bold = true;
  text.color = style::kWhite;
  DrawText(cr, std::to_string(n), cx - r, cy - r, 2 * r, 2 * r, text);
}

}  // namespace

void DrawScene(cairo_t* cr, double x, double y, double w, double h, bool tall) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_rectangle(cr, x, y, w, h);
  FillVertical(cr, y, y + h, {112, 152, 210}, {206, 222, 238});
  // Sun.
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w * (tall ? 0.72 : 0.78), y + h * (tall ? 0.16 : 0.26), std::fmin(w, h) * 0.07,
            0, 2 * M_PI);
  SetColor(cr, {255, 240, 196});
  cairo_fill(cr);
  if (tall) {
    // A lighthouse on a headland: something worth a vertical panorama.
    const double cx = x + w * 0.45, top = y + h * 0.18, base = y + h * 0.74;
    cairo_move_to(cr, cx - w * 0.06, top + h * 0.05);
    cairo_line_to(cr, cx + w * 0.06, top + h * 0.05);
    cairo_line_to(cr, cx + w * 0.1, base);
    cairo_line_to(cr, cx - w * 0.1, base);
    cairo_close_path(cr);
    SetColor(cr, {238, 236, 232});
    cairo_fill(cr);
    for (int band = 0; band < 3; ++band) {
      const double t0 = 0.22 + band * 0.22, t1 = t0 + 0.1;
      const double y0 = top + h * 0.05 + (base - top - h * 0.05) * t0;
      const double y1 = top + h * 0.05 + (base - top - h * 0.05) * t1;
      const double half0 = w * (0.06 + 0.04 * t0), half1 = w * (0.06 + 0.04 * t1);
      cairo_move_to(cr, cx - half0, y0);
      cairo_line_to(cr, cx + half0, y0);
      cairo_line_to(cr, cx + half1, y1);
      cairo_line_to(cr, cx - half1, y1);
      cairo_close_path(cr);
      SetColor(cr, {192, 82, 78});
      cairo_fill(cr);
    }
    cairo_rectangle(cr, cx - w * 0.045, top - h * 0.02, w * 0.09, h * 0.07);
    SetColor(cr, {250, 226, 140});
    cairo_fill(cr);
    cairo_move_to(cr, cx - w * 0.07, top - h * 0.02);
    cairo_line_to(cr, cx, top - h * 0.07);
    cairo_line_to(cr, cx + w * 0.07, top - h * 0.02);
    cairo_close_path(cr);
    SetColor(cr, {70, 74, 96});
    cairo_fill(cr);
    Ridge(cr, x, x + w, y + h * 0.78, h * 0.03, 1.2, y + h);
    SetColor(cr, style::kPhotoHill);
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + h * 0.86, w, h * 0.14);
    FillVertical(cr, y + h * 0.86, y + h, {88, 128, 176}, {62, 98, 150});
  } else {
    Ridge(cr, x, x + w, y + h * 0.52, h * 0.1, 0.3, y + h);
    SetColor(cr, style::kPhotoFar);
    cairo_fill(cr);
    Ridge(cr, x, x + w, y + h * 0.66, h * 0.08, 2.1, y + h);
    SetColor(cr, style::kPhotoHill);
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + h * 0.8, w, h * 0.2);
    FillVertical(cr, y + h * 0.8, y + h, {96, 138, 184}, {66, 102, 152});
  }
  cairo_restore(cr);
}

void DrawKindPicture(cairo_t* cr, KindPicture kind, double x, double y, double w, double h,
                     bool detailed, bool muted) {
  cairo_save(cr);
  const double line = detailed ? 2.0 : 1.4;
  switch (kind) {
    case KindPicture::kRow: {
      // Four photos side by side over one wide scene; the overlaps are lit.
      const double sceneH = std::fmin(h - (detailed ? 30 : 0), w * 0.34);
      const double top = y + (h - sceneH - (detailed ? 30 : 0)) / 2;
      DrawScene(cr, x, top, w, sceneH, false);
      const double frameW = w * 0.31, step = (w - frameW) / 3;
      for (int i = 1; i < 4; ++i) {
        cairo_rectangle(cr, x + i * step, top, frameW - step, sceneH);
        cairo_set_source_rgba(cr, 1, 1, 1, muted ? 0.2 : 0.32);
        cairo_fill(cr);
      }
      for (int i = 0; i < 4; ++i)
        FrameOutline(cr, x + i * step + 1, top + 1, frameW - 2, sceneH - 2, muted, line);
      if (detailed)
        for (int i = 0; i < 4; ++i)
          Number(cr, i + 1, x + i * step + frameW / 2, top + sceneH + 18, 10, muted);
      break;
    }
    case KindPicture::kColumn: {
      // Three photos one above another up a tall subject.
      const double sceneW = std::fmin(w - (detailed ? 60 : 0), h * 0.62);
      const double left = x + (w - sceneW) / 2;
      DrawScene(cr, left, y, sceneW, h, true);
      const double frameH = h * 0.4, step = (h - frameH) / 2;
      for (int i = 1; i < 3; ++i) {
        cairo_rectangle(cr, left, y + i * step, sceneW, frameH - step);
        cairo_set_source_rgba(cr, 1, 1, 1, muted ? 0.2 : 0.32);
        cairo_fill(cr);
      }
      for (int i = 0; i < 3; ++i)
        FrameOutline(cr, left + 1, y + i * step + 1, sceneW - 2, frameH - 2, muted, line);
      if (detailed)
        for (int i = 0; i < 3; ++i)
          Number(cr, i + 1, left + sceneW + 22, y + i * step + frameH / 2, 10, muted);
      break;
    }
    case KindPicture::kCircle: {
      // Photos standing around a full turn, seen from above, with the
      // direction of turning.
      const double cx = x + w / 2, cy = y + h / 2;
      const double r = std::fmin(w, h) * 0.36;
      const int count = detailed ? 10 : 8;
      const double tileW = r * (detailed ? 0.62 : 0.7), tileH = tileW * 0.72;
      for (int i = 0; i < count; ++i) {
        const double a = 2 * M_PI * i / count - M_PI / 2;
        cairo_save(cr);
        cairo_translate(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        cairo_rotate(cr, a + M_PI / 2);
        DrawScene(cr, -tileW / 2, -tileH / 2, tileW, tileH, false);
        FrameOutline(cr, -tileW / 2, -tileH / 2, tileW, tileH, muted, line * 0.8);
        cairo_restore(cr);
      }
      // The turn arrow inside the ring.
      const double ar = r * 0.5;
      cairo_new_sub_path(cr);
      cairo_arc(cr, cx, cy, ar, -M_PI / 2 + 0.3, M_PI * 1.5 - 0.5);
      SetColor(cr, Muted(style::kAccent, muted));
      cairo_set_line_width(cr, line * 1.3);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_stroke(cr);
      const double ea = M_PI * 1.5 - 0.5;
      const double ex = cx + ar * std::cos(ea), ey = cy + ar * std::sin(ea);
      const double head = detailed ? 9 : 5;
      cairo_move_to(cr, ex + head * std::cos(ea + M_PI / 2 + 2.4),
                    ey + head * std::sin(ea + M_PI / 2 + 2.4));
      cairo_line_to(cr, ex, ey);
      cairo_line_to(cr, ex + head * std::cos(ea + M_PI / 2 - 2.4),
                    ey + head * std::sin(ea + M_PI / 2 - 2.4));
      cairo_stroke(cr);
      cairo_new_sub_path(cr);
      cairo_arc(cr, cx, cy, detailed ? 5 : 2.5, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    }
    case KindPicture::kTile: {
      const double sceneH = std::fmin(h, w * 0.62);
      const double sceneW = sceneH / 0.62;
      const double left = x + (w - sceneW) / 2, top = y + (h - sceneH) / 2;
      DrawScene(cr, left, top, sceneW, sceneH, false);
      const double frameW = sceneW * 0.38, frameH = sceneH * 0.56;
      const double stepX = (sceneW - frameW) / 2, stepY = sceneH - frameH;
      for (int col = 1; col < 3; ++col) {
        cairo_rectangle(cr, left + col * stepX, top, frameW - stepX, sceneH);
        cairo_set_source_rgba(cr, 1, 1, 1, muted ? 0.16 : 0.26);
        cairo_fill(cr);
      }
      cairo_rectangle(cr, left, top + stepY, sceneW, frameH - stepY);
      cairo_set_source_rgba(cr, 1, 1, 1, muted ? 0.16 : 0.26);
      cairo_fill(cr);
      for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
          FrameOutline(cr, left + col * stepX + 1, top + row * stepY + 1, frameW - 2, frameH - 2,
                       muted, line);
      break;
    }
  }
  cairo_restore(cr);
}

}  // namespace vmd
