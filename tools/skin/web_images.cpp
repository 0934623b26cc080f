#include "web_images.h"

#include <cmath>

#include "canvas.h"
#include "faces.h"
#include "icons.h"
#include "skin_style.h"

namespace vmd {

namespace {

// The product logo of the page's head: the mark and the name on the title
// band's slate.
SkinImage ProductLogo() {
  Canvas canvas(178, 56, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 178, 56);
  FillVertical(cr, 0, 56, style::kBandTop, style::kBandBottom);
  ProductMark(cr, 10, 11, 34);
  TextStyle name;
  name.sizePx = 19;
  name.bold = true;
  name.align = Align::kLeft;
  name.color = style::kBandText;
  DrawText(cr, "Vistameld", 52, 6, 120, 30, name);
  TextStyle line = name;
  line.sizePx = 10.5;
  line.bold = false;
  line.color = style::kBandSubtle;
  DrawText(cr, "panorama maker", 52, 30, 124, 18, line);
  return canvas.ToImage();
}

// The banner beside the logo: "360" in a turning arrow and the product name.
SkinImage Banner360() {
  Canvas canvas(246, 56, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 246, 56);
  FillVertical(cr, 0, 56, style::kAccentTop, style::kAccentBottom);
  cairo_set_line_width(cr, 3);
  SetColor(cr, style::kWhite);
  cairo_arc(cr, 30, 28, 17, 0.35, 2 * M_PI - 0.35);
  cairo_stroke(cr);
  cairo_move_to(cr, 46, 19);
  cairo_line_to(cr, 47, 29);
  cairo_line_to(cr, 38, 25);
  cairo_close_path(cr);
  cairo_fill(cr);
  TextStyle small;
  small.sizePx = 9.5;
  small.bold = true;
  small.color = style::kWhite;
  DrawText(cr, "360", 13, 19, 34, 18, small);
  TextStyle title;
  title.sizePx = 20;
  title.bold = true;
  title.align = Align::kLeft;
  title.color = style::kWhite;
  DrawText(cr, "360 Vistameld", 60, 8, 180, 26, title);
  TextStyle hint = title;
  hint.sizePx = 10.5;
  hint.bold = false;
  hint.color = {222, 226, 250};
  DrawText(cr, "Drag the picture to look around", 60, 32, 182, 16, hint);
  return canvas.ToImage();
}

// The photo service's logo, plain or lit for the pointer over it.
SkinImage ServiceLogo(bool lit) {
  Canvas canvas(155, 45, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 155, 45);
  SetColor(cr, lit ? style::kAccent : style::kFaceTop);
  cairo_fill(cr);
  RoundedRect(cr, 0.5, 0.5, 154, 44, 6);
  cairo_set_line_width(cr, 1);
  SetColor(cr, lit ? style::kAccentDark : style::kBorder);
  cairo_stroke(cr);
  const Rgb ink = lit ? style::kWhite : style::kIcon;
  DrawIcon(cr, "acquire", 19, 22, 20, ink);
  TextStyle name;
  name.sizePx = 10.5;
  name.bold = true;
  name.align = Align::kLeft;
  name.color = ink;
  DrawText(cr, "Vistameld Photos", 37, 5, 117, 20, name);
  TextStyle line = name;
  line.sizePx = 10;
  line.bold = false;
  line.color = lit ? Rgb{222, 226, 250} : style::kInkSoft;
  DrawText(cr, "share panoramas", 37, 23, 117, 16, line);
  return canvas.ToImage();
}

// The page's background tile: the panel's lavender, lightened, with a faint
// diagonal weave.
SkinImage BackgroundTile() {
  Canvas canvas(64, 64, 1.0);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 64, 64);
  SetColor(cr, {240, 240, 246});
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  SetColor(cr, {230, 229, 239});
  for (int k = -64; k < 64; k += 16) {
    cairo_move_to(cr, k, 64);
    cairo_line_to(cr, k + 64, 0);
  }
  cairo_stroke(cr);
  return canvas.ToImage();
}

}  // namespace

std::vector<NamedImage> DrawWebImages() {
  return {
      {"vistameld.gif", ProductLogo()},
      {"360view.gif", Banner360()},
      {"lclogo.gif", ServiceLogo(false)},
      {"lcroll.gif", ServiceLogo(true)},
      {"bglevel.gif", BackgroundTile()},
  };
}

}  // namespace vmd
