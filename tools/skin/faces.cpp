#include "faces.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "icons.h"
#include "illustrations.h"
#include "skin_style.h"

namespace vmd {

namespace {

using F = FaceKind;
constexpr int kNormal = 0;
constexpr int kDown = 1;
constexpr int kDisabled = 2;

struct FaceColors {
  Rgb top, bottom, border, ink, icon;
  bool shadow;
};

FaceColors ColorsFor(int state, bool primary, bool on) {
  if (state == kDisabled)
    return primary ? FaceColors{{170, 172, 202}, {164, 166, 196}, {150, 152, 184},
                                {226, 227, 238}, {226, 227, 238}, false}
                   : FaceColors{style::kDisabledFace, style::kDisabledFace, style::kDisabledBorder,
                                style::kDisabledInk,  style::kDisabledInk,  false};
  if (primary)
    return state == kDown ? FaceColors{style::kAccentDark, {62, 74, 156}, {38, 46, 116},
                                       style::kWhite,      style::kWhite, false}
                          : FaceColors{style::kAccentTop, style::kAccentBottom, {52, 62, 142},
                                       style::kWhite,     style::kWhite,        true};
  if (state == kDown && on)
    return {style::kOnBottom,   style::kOnTop,      style::kAccent,
            style::kAccentDark, style::kAccentDark, false};
  if (state == kDown)
    return {style::kDownTop, style::kDownBottom, style::kAccent,
            style::kInk,     style::kAccentDark, false};
  return {style::kFaceTop, style::kFaceBottom, style::kBorder, style::kInk, style::kIcon, true};
}

// The rounded body every button shares: a soft drop shadow when raised, an
// inner top shadow when pressed, a light top edge when raised.
void Body(cairo_t* cr, double w, double h, double radius, const FaceColors& c, int state) {
  if (c.shadow) {
    RoundedRect(cr, 1, 2, w - 2, h - 2.5, radius);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.25, 0.16);
    cairo_fill(cr);
  }
  RoundedRect(cr, 1, 1, w - 2, h - 3, radius);
  FillVertical(cr, 1, h - 2, c.top, c.bottom);
  if (state == kDown) {
    cairo_save(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 3, radius);
    cairo_clip(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 3 + 6, radius);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.3, 0.18);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
  } else if (state == kNormal) {
    cairo_move_to(cr, 1 + radius, 2);
    cairo_line_to(cr, w - 1 - radius, 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  RoundedRect(cr, 1.5, 1.5, w - 3, h - 4, radius - 0.5);
  SetColor(cr, c.border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

double TextSizeFor(double h) { return h >= 40 ? 13 : h >= 30 ? 12 : 11; }

// Icon and label inside the body (0, 0, w, h - 2): side by side on wide or
// low buttons, stacked on small square ones.
void Content(cairo_t* cr, double w, double h, const char* label, const char* icon,
             const FaceColors& c, bool bold, double shift) {
  const double bodyH = h - 3;
  TextStyle text;
  text.sizePx = TextSizeFor(h);
  text.bold = bold;
  text.color = c.ink;
  cairo_save(cr);
  cairo_translate(cr, shift, shift);
  const bool hasLabel = label && *label;
  const bool hasIcon = icon && *icon;
  if (hasIcon && !hasLabel) {
    const double size = std::fmin(22, std::fmin(w, bodyH) - 10);
    DrawIcon(cr, icon, w / 2, 1 + bodyH / 2, size, c.icon);
  } else if (hasLabel && !hasIcon) {
    DrawText(cr, label, 4, 1, w - 8, bodyH, text);
  } else if (hasLabel && hasIcon) {
    if (w < 90 && bodyH >= 36) {
      text.sizePx = 11;
      DrawIcon(cr, icon, w / 2, 1 + bodyH * 0.36, 18, c.icon);
      DrawText(cr, label, 2, 1 + bodyH * 0.6, w - 4, bodyH * 0.36, text);
    } else {
      const double iconSize = bodyH >= 40 ? 22 : bodyH >= 30 ? 18 : 16;
      const double gap = 7;
      const double textW = TextWidth(cr, label, text);
      double left;
      if (w >= 150) {
        left = 14;
      } else {
        left = std::fmax(5, (w - (iconSize + gap + textW)) / 2);
      }
      DrawIcon(cr, icon, left + iconSize / 2, 1 + bodyH / 2, iconSize, c.icon);
      text.align = Align::kLeft;
      const double textLeft = left + iconSize + gap;
      DrawText(cr, label, textLeft, 1, w - textLeft - 4, bodyH, text);
    }
  }
  cairo_restore(cr);
}

// A small check box drawn on toggle faces: empty when off, a filled box with a
// tick when on.
void CheckMark(cairo_t* cr, double x, double y, bool on, bool disabled) {
  RoundedRect(cr, x, y, 13, 13, 3);
  if (on) {
    SetColor(cr, disabled ? style::kDisabledInk : style::kAccent);
    cairo_fill(cr);
    cairo_move_to(cr, x + 3, y + 6.8);
    cairo_line_to(cr, x + 5.6, y + 9.4);
    cairo_line_to(cr, x + 10.2, y + 3.8);
    SetColor(cr, style::kWhite);
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    return;
  }
  SetColor(cr, style::kWhite);
  cairo_fill_preserve(cr);
  SetColor(cr, disabled ? style::kDisabledBorder : style::kBorder);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void ToggleFace(cairo_t* cr, double w, double h, const LayoutControl& control, int state) {
  const bool on = state == kDown;
  const FaceColors c = ColorsFor(state, false, on);
  Body(cr, w, h, 6, c, state);
  // The check box sits at the right; the content uses the rest.
  const double boxX = w - 22, boxY = (h - 3) / 2 - 5.5;
  CheckMark(cr, boxX, boxY, on, state == kDisabled);
  if (h >= 60) {
    // A tall toggle: icon over a wrapped label.
    DrawIcon(cr, control.icon, (w - 16) / 2, h * 0.32, 24, c.icon);
    TextStyle text;
    text.sizePx = 12;
    text.bold = on;
    text.color = c.ink;
    DrawText(cr, control.label, 6, h * 0.52, w - 34, h * 0.34, text);
    return;
  }
  Content(cr, w - 22, h, control.label, control.icon, c, on, 0);
}

void RadioCard(cairo_t* cr, double w, double h, const LayoutControl& control, int state) {
  const bool on = state == kDown;
  const bool disabled = state == kDisabled;
  Rgb face = disabled ? style::kDisabledFace : on ? Rgb{232, 235, 253} : Rgb{244, 244, 249};
  if (!disabled && !on) {
    RoundedRect(cr, 1, 2, w - 2, h - 2.5, 8);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.25, 0.14);
    cairo_fill(cr);
  }
  RoundedRect(cr, 1, 1, w - 2, h - 3, 8);
  SetColor(cr, face);
  cairo_fill(cr);
  RoundedRect(cr, on ? 2 : 1.5, on ? 2 : 1.5, w - (on ? 4 : 3), h - (on ? 5 : 4), 7.5);
  SetColor(cr, disabled ? style::kDisabledBorder : on ? style::kAccent : style::kCardBorder);
  cairo_set_line_width(cr, on ? 2 : 1);
  cairo_stroke(cr);
  // Illustration in a small frame at the left.
  KindPicture kind = KindPicture::kRow;
  if (control.icon && std::strcmp(control.icon, "kind-column") == 0) kind = KindPicture::kColumn;
  if (control.icon && std::strcmp(control.icon, "kind-circle") == 0) kind = KindPicture::kCircle;
  if (control.icon && std::strcmp(control.icon, "kind-tile") == 0) kind = KindPicture::kTile;
  const double picH = h - 20, picW = std::fmin(84, picH * 1.4);
  RoundedRect(cr, 10, 9, picW, picH, 4);
  SetColor(cr, disabled ? Rgb{224, 223, 232} : Rgb{252, 252, 255});
  cairo_fill(cr);
  DrawKindPicture(cr, kind, 14, 12, picW - 8, picH - 6, false, disabled);
  if (disabled) {
    // Wash the picture out like the rest of a disabled face.
    RoundedRect(cr, 10, 9, picW, picH, 4);
    SetColor(cr, style::kDisabledFace, 0.62);
    cairo_fill(cr);
  }
  // Label, and what the kind is for.
  static const struct {
    KindPicture kind;
    const char* line;
  } kLines[] = {{KindPicture::kRow, "Side by side"},
                {KindPicture::kColumn, "One above another"},
                {KindPicture::kCircle, "A full turn around"},
                {KindPicture::kTile, "Rows and columns"}};
  const double textX = 20 + picW;
  TextStyle title;
  title.sizePx = 14;
  title.bold = true;
  title.align = Align::kLeft;
  title.color = disabled ? style::kDisabledInk : on ? style::kAccentDark : style::kInk;
  DrawText(cr, control.label ? control.label : "", textX, h * 0.2, w - textX - 34, h * 0.32, title);
  TextStyle sub;
  sub.sizePx = 11;
  sub.align = Align::kLeft;
  sub.color = disabled ? style::kDisabledInk : style::kInkSoft;
  for (const auto& line : kLines)
    if (line.kind == kind) DrawText(cr, line.line, textX, h * 0.5, w - textX - 34, h * 0.28, sub);
  // The radio mark.
  const double rx = w - 20, ry = (h - 2) / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, rx, ry, 8, 0, 2 * M_PI);
  SetColor(cr, style::kWhite);
  cairo_fill_preserve(cr);
  SetColor(cr, disabled ? style::kDisabledBorder : on ? style::kAccent : style::kBorder);
  cairo_set_line_width(cr, on ? 2 : 1);
  cairo_stroke(cr);
  if (on) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, rx, ry, 4.2, 0, 2 * M_PI);
    SetColor(cr, style::kAccent);
    cairo_fill(cr);
  }
}

void CommonFace(cairo_t* cr, double w, double h, const LayoutControl& control, int state) {
  if (state != kDisabled) {
    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 7);
    cairo_set_source_rgba(cr, 1, 1, 1, state == kDown ? 0.26 : 0.09);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, state == kDown ? 0.35 : 0.16);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  const Rgb ink = state == kDisabled ? Rgb{110, 113, 140}
                  : state == kDown   ? style::kWhite
                                     : Rgb{222, 224, 240};
  DrawIcon(cr, control.icon, w / 2, h / 2, 18, ink);
}

void ArrowFace(cairo_t* cr, double w, double h, F face, int state) {
  const FaceColors c = ColorsFor(state, false, false);
  Body(cr, w, h, std::fmin(6, std::fmin(w, h) / 3), c, state);
  const double size = std::fmin(9, std::fmin(w, h - 3) / 3.2);
  const double cx = w / 2 + (state == kDown ? 0.5 : 0),
               cy = (h - 2) / 2 + (state == kDown ? 0.5 : 0);
  double angle = 0;
  if (face == F::kArrowUp) angle = -M_PI / 2;
  if (face == F::kArrowDown) angle = M_PI / 2;
  if (face == F::kArrowLeft) angle = M_PI;
  // A chevron pointing along `angle`.
  const double ax = std::cos(angle), ay = std::sin(angle);
  const double px = -ay, py = ax;
  cairo_move_to(cr, cx - ax * size * 0.5 + px * size, cy - ay * size * 0.5 + py * size);
  cairo_line_to(cr, cx + ax * size * 0.5, cy + ay * size * 0.5);
  cairo_line_to(cr, cx - ax * size * 0.5 - px * size, cy - ay * size * 0.5 - py * size);
  SetColor(cr, c.icon);
  cairo_set_line_width(cr, 2.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// The track a thumb runs along in this panel, or nullptr.
const LayoutControl* TrackUnder(const LayoutPanel& panel, const LayoutControl& thumb) {
  const double cx = thumb.left + thumb.width / 2.0, cy = thumb.top + thumb.height / 2.0;
  for (const LayoutControl& c : panel.controls)
    if (c.face == F::kTrack && cx >= c.left && cx < c.left + c.width && cy >= c.top &&
        cy < c.top + c.height)
      return &c;
  return nullptr;
}

bool IsSlider(const LayoutControl& track) {
  return track.width > track.height * 3 && track.height <= 16 && track.label;
}

void TrackFace(cairo_t* cr, double w, double h, const LayoutControl& control, int state) {
  const bool horizontal = w >= h;
  double x = 0.5, y = 0.5, tw = w - 1, th = h - 1;
  if (IsSlider(control)) {
    // A slider: a thin groove with end ticks.
    th = 6;
    y = (h - th) / 2;
  }
  const double r = std::fmin(tw, th) / 2;
  RoundedRect(cr, x, y, tw, th, r);
  const Rgb fill = state == kDisabled ? Rgb{206, 205, 217}
                   : state == kDown   ? Rgb{160, 158, 182}
                                      : Rgb{176, 175, 194};
  SetColor(cr, fill);
  cairo_fill_preserve(cr);
  SetColor(cr, state == kDisabled ? style::kDisabledBorder : Rgb{140, 138, 164});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Inner shadow along the top or left edge.
  if (state != kDisabled) {
    cairo_save(cr);
    RoundedRect(cr, x, y, tw, th, r);
    cairo_clip(cr);
    if (horizontal)
      RoundedRect(cr, x - 1, y + 1.2, tw + 2, th + 3, r);
    else
      RoundedRect(cr, x + 1.2, y - 1, tw + 3, th + 2, r);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.3, 0.18);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}

void ThumbFace(cairo_t* cr, double w, double h, const LayoutPanel& panel,
               const LayoutControl& control, int state) {
  const LayoutControl* track = TrackUnder(panel, control);
  const bool alongX = track ? track->width >= track->height : w >= h;
  const bool slider = track && IsSlider(*track);
  const FaceColors c = ColorsFor(state, false, state == kDown);
  const double radius = slider ? 4 : std::fmin(w, h) / 2 - 1;
  Body(cr, w, h, radius, c, state);
  // Grip lines across the direction of travel.
  const double cx = w / 2, cy = (h - 2) / 2;
  const double len = std::fmin(alongX ? h : w, 20) * 0.3;
  SetColor(cr, state == kDisabled ? style::kDisabledInk
               : state == kDown   ? style::kAccentDark
                                  : style::kBorder);
  cairo_set_line_width(cr, 1);
  for (int i = -1; i <= 1; ++i) {
    if (alongX) {
      const double gx = std::floor(cx + i * 3) + 0.5;
      cairo_move_to(cr, gx, cy - len);
      cairo_line_to(cr, gx, cy + len);
    } else {
      const double gy = std::floor(cy + i * 3) + 0.5;
      cairo_move_to(cr, cx - len, gy);
      cairo_line_to(cr, cx + len, gy);
    }
  }
  cairo_stroke(cr);
}

// A storyboard place. Its box window covers the place itself with the panel
// colour, so what invites a drop is drawn just around it: a soft shadowed
// slot with a dashed outline, visible whether the place is empty or not.
void Cell(cairo_t* cr, double x, double y, double w, double h) {
  RoundedRect(cr, x - 3, y - 3, w + 6, h + 6, 6);
  SetColor(cr, Rgb{186, 185, 202});
  cairo_fill(cr);
  RoundedRect(cr, x - 2.5, y - 2.5, w + 5, h + 5, 5.5);
  const double dash[] = {5, 3};
  cairo_set_dash(cr, dash, 2, 0);
  SetColor(cr, Rgb{128, 126, 160});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

// The inset well of an image area or the album.
void Well(cairo_t* cr, double x, double y, double w, double h) {
  const double r = 8;
  RoundedRect(cr, x, y, w, h, r);
  SetColor(cr, style::kWell);
  cairo_fill(cr);
  cairo_save(cr);
  RoundedRect(cr, x, y, w, h, r);
  cairo_clip(cr);
  RoundedRect(cr, x - 2, y + 0.5, w + 4, h + 6, r);
  cairo_set_source_rgba(cr, 0.08, 0.08, 0.25, 0.28);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_restore(cr);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  SetColor(cr, style::kWellDeep);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // A light lower edge lifts the panel around the well.
  cairo_move_to(cr, x + r, y + h + 0.5);
  cairo_line_to(cr, x + w - r, y + h + 0.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_stroke(cr);
}

}  // namespace

// The product mark: a rounded square with a stylised turn of photos.
void ProductMark(cairo_t* cr, double x, double y, double size) {
  RoundedRect(cr, x, y, size, size, size * 0.24);
  FillVertical(cr, y, y + size, style::kAccentTop, style::kAccentBottom);
  cairo_save(cr);
  cairo_translate(cr, x + size / 2, y + size / 2);
  cairo_set_line_width(cr, size * 0.09);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColor(cr, style::kWhite);
  cairo_move_to(cr, -size * 0.32, size * 0.08);
  cairo_curve_to(cr, -size * 0.12, -size * 0.04, size * 0.12, -size * 0.04, size * 0.32,
                 size * 0.08);
  cairo_stroke(cr);
  cairo_move_to(cr, -size * 0.32, -size * 0.12);
  cairo_line_to(cr, -size * 0.14, -size * 0.3);
  cairo_line_to(cr, -size * 0.02, -size * 0.18);
  cairo_line_to(cr, size * 0.12, -size * 0.32);
  cairo_line_to(cr, size * 0.32, -size * 0.12);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_stroke(cr);
  cairo_move_to(cr, -size * 0.32, size * 0.26);
  cairo_curve_to(cr, -size * 0.12, size * 0.16, size * 0.12, size * 0.16, size * 0.32, size * 0.26);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_stroke(cr);
  cairo_restore(cr);
}

namespace {

void TitleBand(cairo_t* cr, double w, const char* title) {
  cairo_rectangle(cr, 0, 0, w, kBandHeight);
  FillVertical(cr, 0, kBandHeight, style::kBandTop, style::kBandBottom);
  cairo_rectangle(cr, 0, kBandHeight - 2, w, 2);
  SetColor(cr, style::kAccent);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, kBandHeight, w, 1);
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.3, 0.25);
  cairo_fill(cr);
  ProductMark(cr, 14, 11, 30);
  TextStyle name;
  name.sizePx = 18;
  name.bold = true;
  name.align = Align::kLeft;
  name.color = style::kBandText;
  DrawText(cr, "Vistameld", 54, 8, 200, 34, name);
  const double nameW = TextWidth(cr, "Vistameld", name);
  TextStyle version = name;
  version.bold = false;
  version.color = style::kBandSubtle;
  DrawText(cr, "3.0", 54 + nameW + 6, 8, 60, 34, version);
  const double sepX = std::floor(54 + nameW + 6 + TextWidth(cr, "3.0", version) + 16) + 0.5;
  cairo_move_to(cr, sepX, 15);
  cairo_line_to(cr, sepX, 37);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  TextStyle heading;
  heading.sizePx = 15;
  heading.align = Align::kLeft;
  heading.color = {214, 217, 240};
  DrawText(cr, title, sepX + 16, 8, 400, 34, heading);
}

// The lighter card grouping a panel's column of commands: the left column of
// Home and Edit, the settings column of Print. Found from the controls, so it
// follows them when the layout moves them.
struct SideCard {
  double x, y, w, h;
};

std::vector<SideCard> SideCards(const LayoutPanel& panel) {
  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
  auto take = [&](const LayoutControl& c) {
    left = std::fmin(left, c.left);
    top = std::fmin(top, c.top);
    right = std::fmax(right, c.left + c.width);
    bottom = std::fmax(bottom, c.top + c.height);
  };
  for (const LayoutControl& c : panel.controls) {
    if (c.face == F::kCommon) continue;
    if ((panel.number == 0 || panel.number == 1) && c.left + c.width <= 180) take(c);
    if (panel.number == 3 && c.left >= 540 && c.top + c.height <= 540) take(c);
  }
  if (right < left) return {};
  const double pad = 8;
  return {{left - pad, top - pad, right - left + 2 * pad, bottom - top + 2 * pad}};
}

// What the empty Home image area says before there is an image.
void EmptyImageHint(cairo_t* cr, double x, double y, double w, double h) {
  const double cx = x + w / 2, cy = y + h / 2;
  cairo_save(cr);
  cairo_push_group(cr);
  DrawIcon(cr, "panorama", cx, cy - 30, 72, {236, 236, 244});
  TextStyle text;
  text.sizePx = 14;
  text.color = {236, 236, 244};
  DrawText(cr, "Open a photo, or make a panorama with the Stitch Wizard", x + 20, cy + 14, w - 40,
           24, text);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.85);
  cairo_restore(cr);
}

// A thin inset frame just outside a labelled field's place: the program's
// edit or text window fills the place itself.
void FieldFrame(cairo_t* cr, double x, double y, double w, double h) {
  RoundedRect(cr, x - 1.5, y - 1.5, w + 3, h + 3, 3);
  SetColor(cr, style::kBorder);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

bool IsWell(const LayoutControl& c) {
  return c.face == F::kPlace && c.width >= 96 && c.height >= 96;
}
bool IsCell(const LayoutControl& c) { return c.id >= 320 && c.id < 340; }

// Sub-panels 10 to 13: the chosen kind's page.
void KindPage(cairo_t* cr, double w, double h, int number) {
  static const struct {
    KindPicture kind;
    const char* title;
    const char* text;
  } kPages[] = {
      {KindPicture::kRow, "Horizontal panorama",
       "Photos taken side by side, turning the camera from left to right. Put them on the "
       "storyboard in the "
       "order you took them; neighbouring photos should overlap by a quarter to a half of their "
       "width."},
      {KindPicture::kColumn, "Vertical panorama",
       "Photos taken one above another, tilting the camera up a tall subject such as a tower, a "
       "tree or a "
       "waterfall. Put them on the storyboard in order; each photo should overlap the next by "
       "about a third."},
      {KindPicture::kCircle, "360-degree panorama",
       "A full turn around you, ideally from a tripod. The last photo overlaps the first, and the "
       "panorama "
       "closes into a seamless circle that you can look around in with View Panorama."},
      {KindPicture::kTile, "Tile panorama",
       "Rows and columns of photos covering a subject too large for one shot: a wall, a map, a "
       "document. "
       "Place each photo in the grid where it belongs; every photo should overlap its neighbours."},
  };
  const auto& page = kPages[number - 10];
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 10);
  SetColor(cr, {242, 242, 248});
  cairo_fill_preserve(cr);
  SetColor(cr, style::kCardBorder);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // The illustration on a soft stage.
  const double stageH = h * 0.56;
  RoundedRect(cr, 12, 12, w - 24, stageH, 8);
  FillVertical(cr, 12, 12 + stageH, {226, 228, 242}, {214, 216, 234});
  DrawKindPicture(cr, page.kind, 40, 24, w - 80, stageH - 24, true, false);
  TextStyle title;
  title.sizePx = 17;
  title.bold = true;
  title.align = Align::kLeft;
  title.color = style::kInk;
  DrawText(cr, page.title, 22, stageH + 22, w - 44, 24, title);
  TextStyle body;
  body.sizePx = 12.5;
  body.align = Align::kLeft;
  body.wrap = true;
  body.lineSpacing = 1.2;
  body.color = style::kInkSoft;
  DrawText(cr, page.text, 22, stageH + 52, w - 44, h - stageH - 60, body);
}

// Sub-panels 14 to 16: markers 1, 2 and 3 with the active one lit.
void MarkerPage(cairo_t* cr, double w, double h, int number) {
  const int active = number - 13;
  TextStyle caption;
  caption.sizePx = 12;
  caption.align = Align::kLeft;
  caption.color = style::kInkSoft;
  DrawText(cr, "Marker", 2, 0, 60, h, caption);
  const double x0 = 62, gap = 6, segW = (w - x0 - 2 * gap) / 3;
  for (int m = 1; m <= 3; ++m) {
    const double x = x0 + (m - 1) * (segW + gap);
    const bool on = m == active;
    RoundedRect(cr, x + 0.5, 2.5, segW - 1, h - 5, (h - 5) / 2);
    if (on)
      FillVertical(cr, 2, h - 2, style::kAccentTop, style::kAccentBottom);
    else
      FillVertical(cr, 2, h - 2, style::kFaceTop, style::kFaceBottom);
    RoundedRect(cr, x + 0.5, 2.5, segW - 1, h - 5, (h - 5) / 2);
    SetColor(cr, on ? style::kAccentDark : style::kBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A small crosshair badge, then the number.
    const double bx = x + 18, by = h / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, bx, by, 6, 0, 2 * M_PI);
    SetColor(cr, on ? style::kWhite : style::kIcon);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, bx - 9, by);
    cairo_line_to(cr, bx + 9, by);
    cairo_move_to(cr, bx, by - 9);
    cairo_line_to(cr, bx, by + 9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    TextStyle label;
    label.sizePx = 13;
    label.bold = on;
    label.align = Align::kLeft;
    label.color = on ? style::kWhite : style::kInk;
    DrawText(cr, std::to_string(m), x + 32, 0, segW - 36, h, label);
  }
}

}  // namespace

bool HasFace(FaceKind face) { return face != F::kPlace; }

void DrawButtonFace(cairo_t* cr, double w, double h, int state, bool primary, const char* label,
                    const char* icon) {
  const FaceColors c = ColorsFor(state, primary, false);
  Body(cr, w, h, 6, c, state);
  if (primary && h >= 60 && w >= 150 && label && icon) {
    // The large primary button of Home: icon, label and what it starts.
    const double shift = state == kDown ? 1 : 0;
    DrawIcon(cr, icon, 14 + 13 + shift, h / 2 - 1 + shift, 26, c.icon);
    TextStyle text;
    text.sizePx = 13.5;
    text.bold = true;
    text.align = Align::kLeft;
    text.color = c.ink;
    DrawText(cr, label, 48 + shift, h * 0.16 + shift, w - 50, h * 0.4, text);
    text.sizePx = 11;
    text.bold = false;
    DrawText(cr, "Make a panorama", 48 + shift, h * 0.5 + shift, w - 50, h * 0.3, text);
    return;
  }
  Content(cr, w, h, label, icon, c, primary, state == kDown ? 1 : 0);
}

void DrawPanelBackground(Canvas& canvas, const LayoutPanel& panel) {
  cairo_t* cr = canvas.cr();
  const double w = panel.width, h = panel.height;
  cairo_rectangle(cr, 0, 0, w, h);
  SetColor(cr, style::kPanel);
  cairo_fill(cr);
  if (panel.number >= 10 && panel.number <= 13) {
    KindPage(cr, w, h, panel.number);
    return;
  }
  if (panel.number >= 14) {
    MarkerPage(cr, w, h, panel.number);
    return;
  }
  TitleBand(cr, w, panel.title);
  for (const SideCard& card : SideCards(panel)) {
    RoundedRect(cr, card.x + 0.5, card.y + 0.5, card.w - 1, card.h - 1, 10);
    SetColor(cr, style::kCard);
    cairo_fill_preserve(cr);
    SetColor(cr, style::kCardBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // Under the kind cards, how the keyboard steps through them.
  double cardsBottom = 0, cardsLeft = 0, cardsWidth = 0;
  for (const LayoutControl& c : panel.controls)
    if (c.face == F::kRadio && c.top + c.height > cardsBottom) {
      cardsBottom = c.top + c.height;
      cardsLeft = c.left;
      cardsWidth = c.width;
    }
  if (cardsBottom > 0) {
    TextStyle hint;
    hint.sizePx = 11.5;
    hint.align = Align::kLeft;
    hint.wrap = true;
    hint.color = style::kInkSoft;
    DrawText(cr,
             "Choose how the photos were taken. Tab steps to the next kind; Enter goes on to the "
             "storyboard.",
             cardsLeft + 4, cardsBottom + 14, cardsWidth - 8, 60, hint);
  }
  for (const LayoutControl& c : panel.controls) {
    if (IsWell(c)) {
      if (IsCell(c))
        Cell(cr, c.left, c.top, c.width, c.height);
      else
        Well(cr, c.left, c.top, c.width, c.height);
    }
    if (panel.number == 0 && c.id == 110) EmptyImageHint(cr, c.left, c.top, c.width, c.height);
    if (c.face == F::kPlace && c.label) FieldFrame(cr, c.left, c.top, c.width, c.height);
    TextStyle caption;
    caption.sizePx = 12;
    caption.color = style::kInkSoft;
    if (c.face == F::kTrack && c.label) {
      caption.align = Align::kLeft;
      DrawText(cr, c.label, c.left, c.top - 19, c.width, 16, caption);
    } else if (c.face == F::kPlace && c.label) {
      caption.align = Align::kRight;
      DrawText(cr, c.label, c.left - 136, c.top, 128, c.height, caption);
    }
  }
}

void DrawControlFace(Canvas& canvas, const LayoutPanel& panel, const LayoutControl& control,
                     int state) {
  cairo_t* cr = canvas.cr();
  const double w = canvas.Width(), h = canvas.Height();
  switch (control.face) {
    case F::kPlace:
      return;
    case F::kPush:
    case F::kPrimary:
      DrawButtonFace(cr, w, h, state, control.face == F::kPrimary, control.label, control.icon);
      return;
    case F::kToggle:
      ToggleFace(cr, w, h, control, state);
      return;
    case F::kRadio:
      RadioCard(cr, w, h, control, state);
      return;
    case F::kCommon:
      CommonFace(cr, w, h, control, state);
      return;
    case F::kArrowUp:
    case F::kArrowDown:
    case F::kArrowLeft:
    case F::kArrowRight:
      ArrowFace(cr, w, h, control.face, state);
      return;
    case F::kTrack:
      TrackFace(cr, w, h, control, state);
      return;
    case F::kThumb:
      ThumbFace(cr, w, h, panel, control, state);
      return;
    case F::kPicture:
      DrawButtonFace(cr, w, h, state, false, control.label, control.icon);
      return;
  }
}

}  // namespace vmd
