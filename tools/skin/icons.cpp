#include "icons.h"

#include <cmath>
#include <cstring>

namespace vmd {

namespace {

// Icons are drawn on a 24 x 24 grid with 2-unit strokes, round ends.

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
}

void Poly(cairo_t* cr, std::initializer_list<double> xy, bool close = false) {
  const double* p = xy.begin();
  cairo_move_to(cr, p[0], p[1]);
  for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
  if (close) cairo_close_path(cr);
}

void Box(cairo_t* cr, double x, double y, double w, double h, double r = 1.5) {
  RoundedRect(cr, x, y, w, h, r);
}

void Circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void Stroke(cairo_t* cr) { cairo_stroke(cr); }
void Fill(cairo_t* cr) { cairo_fill(cr); }

// An arrow head at (x, y) pointing along angle `a` (radians).
void Head(cairo_t* cr, double x, double y, double a, double len = 4.5) {
  Poly(cr, {x + len * std::cos(a + 2.5), y + len * std::sin(a + 2.5), x, y,
            x + len * std::cos(a - 2.5), y + len * std::sin(a - 2.5)});
}

void Magnifier(cairo_t* cr) {
  Circle(cr, 10, 10, 6.5);
  Line(cr, 15, 15, 20.5, 20.5);
}

void Photo(cairo_t* cr, double x, double y, double w, double h) {
  Box(cr, x, y, w, h);
  Stroke(cr);
  Poly(cr, {x + 2, y + h - 2, x + w * 0.4, y + h * 0.45, x + w * 0.62, y + h * 0.7, x + w * 0.75,
            y + h * 0.55, x + w - 2, y + h - 2});
  Stroke(cr);
}

void RotateArrow(cairo_t* cr, bool clockwise, bool withPhoto) {
  if (withPhoto) {
    Box(cr, 8.5, 9.5, 9, 10);
    Stroke(cr);
  }
  const double r = withPhoto ? 8.5 : 7.5;
  const double cx = withPhoto ? 11.5 : 12, cy = withPhoto ? 12 : 12.5;
  if (clockwise) {
    cairo_arc(cr, cx, cy, r, M_PI * 1.05, M_PI * 1.85);
    Stroke(cr);
    const double a = M_PI * 1.85;
    Head(cr, cx + r * std::cos(a), cy + r * std::sin(a), a + M_PI / 2, 4);
  } else {
    cairo_arc_negative(cr, cx, cy, r, -M_PI * 0.05, -M_PI * 0.85);
    Stroke(cr);
    const double a = -M_PI * 0.85;
    Head(cr, cx + r * std::cos(a), cy + r * std::sin(a), a - M_PI / 2, 4);
  }
  Stroke(cr);
  if (!withPhoto) {
    Circle(cr, cx, cy, 1.4);
    Fill(cr);
  }
}

void Printer(cairo_t* cr) {
  Poly(cr, {7, 9, 7, 3.5, 17, 3.5, 17, 9});
  Stroke(cr);
  Box(cr, 3, 9, 18, 8.5, 2);
  Stroke(cr);
  Box(cr, 7, 14, 10, 7, 0.5);
  Stroke(cr);
  Circle(cr, 17.5, 12, 0.9);
  Fill(cr);
}

// Three storyboard boxes along the bottom: where included photos go.
void StoryRow(cairo_t* cr) {
  Box(cr, 2, 15, 5.5, 5.5, 1);
  Box(cr, 9.25, 15, 5.5, 5.5, 1);
  Box(cr, 16.5, 15, 5.5, 5.5, 1);
  Stroke(cr);
}

void Tray(cairo_t* cr) {
  Poly(cr, {4, 14, 4, 20, 20, 20, 20, 14});
  Stroke(cr);
}

struct IconEntry {
  const char* name;
  void (*draw)(cairo_t*);
};

const IconEntry kIcons[] = {
    {"open",
     [](cairo_t* cr) {
       Poly(cr, {3, 19, 3, 5.5, 9.5, 5.5, 11.5, 8, 19, 8, 19, 10.5}, false);
       Stroke(cr);
       Poly(cr, {3, 19, 6.5, 11, 22, 11, 18.5, 19}, true);
       Stroke(cr);
     }},
    {"save",
     [](cairo_t* cr) {
       Tray(cr);
       Line(cr, 12, 3.5, 12, 15);
       Stroke(cr);
       Head(cr, 12, 15, M_PI / 2, 5);
       Stroke(cr);
     }},
    {"export",
     [](cairo_t* cr) {
       Poly(cr, {11, 5, 4, 5, 4, 20, 19, 20, 19, 13});
       Stroke(cr);
       Line(cr, 10, 14, 20, 4);
       Stroke(cr);
       Poly(cr, {14, 4, 20, 4, 20, 10});
       Stroke(cr);
     }},
    {"wizard",
     [](cairo_t* cr) {
       Line(cr, 4, 20, 15, 9);
       Stroke(cr);
       // A four-pointed sparkle and two small ones.
       auto star = [cr](double x, double y, double r) {
         Poly(cr,
              {x, y - r, x + r * 0.28, y - r * 0.28, x + r, y, x + r * 0.28, y + r * 0.28, x, y + r,
               x - r * 0.28, y + r * 0.28, x - r, y, x - r * 0.28, y - r * 0.28},
              true);
         Fill(cr);
       };
       star(17.5, 6.5, 5);
       star(8, 5, 2.6);
       star(20, 15.5, 2.6);
     }},
    {"edit",
     [](cairo_t* cr) {
       Poly(cr, {4, 20, 5, 15.5, 16, 4.5, 19.5, 8, 8.5, 19, 4, 20}, true);
       Stroke(cr);
       Line(cr, 13.5, 7, 17, 10.5);
       Stroke(cr);
     }},
    {"detail",
     [](cairo_t* cr) {
       Poly(cr, {4, 9, 4, 4, 9, 4});
       Poly(cr, {15, 4, 20, 4, 20, 9});
       Poly(cr, {20, 15, 20, 20, 15, 20});
       Poly(cr, {9, 20, 4, 20, 4, 15});
       Stroke(cr);
       Circle(cr, 12, 12, 3);
       Stroke(cr);
     }},
    {"panorama",
     [](cairo_t* cr) {
       cairo_move_to(cr, 2, 7);
       cairo_curve_to(cr, 8, 5, 16, 5, 22, 7);
       cairo_line_to(cr, 22, 18);
       cairo_curve_to(cr, 16, 16, 8, 16, 2, 18);
       cairo_close_path(cr);
       Stroke(cr);
       Poly(cr, {4, 15.5, 9, 10, 12, 13, 15, 10.5, 20, 15});
       Stroke(cr);
     }},
    {"print", [](cairo_t* cr) { Printer(cr); }},
    {"printer",
     [](cairo_t* cr) {
       Printer(cr);
       Line(cr, 9.5, 16.5, 14.5, 16.5);
       Line(cr, 9.5, 19, 13, 19);
       Stroke(cr);
     }},
    {"about",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 9);
       Stroke(cr);
       Line(cr, 12, 11, 12, 17);
       Stroke(cr);
       Circle(cr, 12, 7.5, 1.3);
       Fill(cr);
     }},
    {"help",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 9);
       Stroke(cr);
       cairo_arc(cr, 12, 9.6, 3, M_PI * 1.05, M_PI * 2.3);
       cairo_line_to(cr, 12, 13.2);
       cairo_line_to(cr, 12, 14.2);
       Stroke(cr);
       Circle(cr, 12, 17.2, 1.2);
       Fill(cr);
     }},
    {"minimize",
     [](cairo_t* cr) {
       Line(cr, 6, 16.5, 18, 16.5);
       Stroke(cr);
     }},
    {"exit",
     [](cairo_t* cr) {
       Line(cr, 6.5, 6.5, 17.5, 17.5);
       Line(cr, 17.5, 6.5, 6.5, 17.5);
       Stroke(cr);
     }},
    {"close",
     [](cairo_t* cr) {
       Line(cr, 6.5, 6.5, 17.5, 17.5);
       Line(cr, 17.5, 6.5, 6.5, 17.5);
       Stroke(cr);
     }},
    {"rotate-ccw-90", [](cairo_t* cr) { RotateArrow(cr, false, true); }},
    {"rotate-cw-90", [](cairo_t* cr) { RotateArrow(cr, true, true); }},
    {"rotate-ccw", [](cairo_t* cr) { RotateArrow(cr, false, false); }},
    {"rotate-cw", [](cairo_t* cr) { RotateArrow(cr, true, false); }},
    {"zoom-in",
     [](cairo_t* cr) {
       Magnifier(cr);
       Line(cr, 7, 10, 13, 10);
       Line(cr, 10, 7, 10, 13);
       Stroke(cr);
     }},
    {"zoom-out",
     [](cairo_t* cr) {
       Magnifier(cr);
       Line(cr, 7, 10, 13, 10);
       Stroke(cr);
     }},
    {"crop",
     [](cairo_t* cr) {
       Poly(cr, {7, 2.5, 7, 17, 21.5, 17});
       Poly(cr, {2.5, 7, 17, 7, 17, 21.5});
       Stroke(cr);
     }},
    {"reset",
     [](cairo_t* cr) {
       cairo_arc_negative(cr, 12, 12.5, 7.5, M_PI * 1.75, M_PI * 1.05);
       Stroke(cr);
       Poly(cr, {4.5, 6, 4.5, 11, 9.5, 11});
       Stroke(cr);
     }},
    {"album",
     [](cairo_t* cr) {
       Poly(cr, {6, 6, 6, 3.5, 21, 3.5, 21, 15, 18.5, 15});
       Stroke(cr);
       Photo(cr, 3, 7, 15, 13);
     }},
    {"add",
     [](cairo_t* cr) {
       Photo(cr, 2.5, 6, 14, 12);
       Line(cr, 19, 2.5, 19, 10.5);
       Line(cr, 15, 6.5, 23, 6.5);
       Stroke(cr);
     }},
    {"acquire",
     [](cairo_t* cr) {
       Box(cr, 2.5, 7, 19, 13, 2);
       Stroke(cr);
       Poly(cr, {8, 7, 9.5, 4, 14.5, 4, 16, 7});
       Stroke(cr);
       Circle(cr, 12, 13.5, 3.8);
       Stroke(cr);
     }},
    {"sort",
     [](cairo_t* cr) {
       Line(cr, 3, 6, 14, 6);
       Line(cr, 3, 12, 11, 12);
       Line(cr, 3, 18, 8, 18);
       Stroke(cr);
       Line(cr, 18.5, 4, 18.5, 20);
       Stroke(cr);
       Head(cr, 18.5, 20, M_PI / 2, 4);
       Stroke(cr);
     }},
    {"delete",
     [](cairo_t* cr) {
       Line(cr, 3.5, 6, 20.5, 6);
       Poly(cr, {9, 6, 9.5, 3.5, 14.5, 3.5, 15, 6});
       Stroke(cr);
       Poly(cr, {5.5, 6, 7, 20.5, 17, 20.5, 18.5, 6});
       Stroke(cr);
       Line(cr, 10, 10, 10, 17);
       Line(cr, 14, 10, 14, 17);
       Stroke(cr);
     }},
    {"include",
     [](cairo_t* cr) {
       StoryRow(cr);
       Line(cr, 12, 2.5, 12, 11.5);
       Stroke(cr);
       Head(cr, 12, 11.5, M_PI / 2, 4);
       Stroke(cr);
     }},
    {"include-all",
     [](cairo_t* cr) {
       StoryRow(cr);
       Line(cr, 8, 2.5, 8, 11.5);
       Line(cr, 16, 2.5, 16, 11.5);
       Stroke(cr);
       Head(cr, 8, 11.5, M_PI / 2, 3.6);
       Head(cr, 16, 11.5, M_PI / 2, 3.6);
       Stroke(cr);
     }},
    {"remove",
     [](cairo_t* cr) {
       Box(cr, 3, 5, 18, 14, 2);
       Stroke(cr);
       Line(cr, 8.5, 12, 15.5, 12);
       Stroke(cr);
     }},
    {"remove-all",
     [](cairo_t* cr) {
       Poly(cr, {6, 5, 6, 3, 22, 3, 22, 15, 20, 15});
       Stroke(cr);
       Box(cr, 2, 7, 16, 13, 2);
       Stroke(cr);
       Line(cr, 7, 11, 13, 16);
       Line(cr, 13, 11, 7, 16);
       Stroke(cr);
     }},
    {"pages",
     [](cairo_t* cr) {
       Box(cr, 3, 3, 8, 8, 1);
       Box(cr, 13, 3, 8, 8, 1);
       Box(cr, 3, 13, 8, 8, 1);
       Box(cr, 13, 13, 8, 8, 1);
       Stroke(cr);
     }},
    {"minus",
     [](cairo_t* cr) {
       Line(cr, 6, 12, 18, 12);
       Stroke(cr);
     }},
    {"plus",
     [](cairo_t* cr) {
       Line(cr, 6, 12, 18, 12);
       Line(cr, 12, 6, 12, 18);
       Stroke(cr);
     }},
    {"lens",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 9);
       Stroke(cr);
       Circle(cr, 12, 12, 4.5);
       Stroke(cr);
       Circle(cr, 10.5, 10.5, 1.3);
       Fill(cr);
     }},
    {"size",
     [](cairo_t* cr) {
       Box(cr, 3, 3, 18, 18, 2);
       Stroke(cr);
       Line(cr, 8, 16, 16, 8);
       Stroke(cr);
       Poly(cr, {11, 8, 16, 8, 16, 13});
       Poly(cr, {8, 11, 8, 16, 13, 16});
       Stroke(cr);
     }},
    {"exposure",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 8.5);
       Stroke(cr);
       cairo_arc(cr, 12, 12, 8.5, -M_PI / 2, M_PI / 2);
       cairo_close_path(cr);
       Fill(cr);
     }},
    {"markers",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 6.5);
       Stroke(cr);
       Line(cr, 12, 2, 12, 8);
       Line(cr, 12, 16, 12, 22);
       Line(cr, 2, 12, 8, 12);
       Line(cr, 16, 12, 22, 12);
       Stroke(cr);
     }},
    {"match",
     [](cairo_t* cr) {
       Box(cr, 2.5, 4, 11, 11, 1.5);
       Stroke(cr);
       Box(cr, 10.5, 9, 11, 11, 1.5);
       Stroke(cr);
       Poly(cr, {13, 15, 15.5, 17.5, 20, 12.5});
       Stroke(cr);
     }},
    {"kind-row",
     [](cairo_t* cr) {
       Box(cr, 1.5, 7, 6.5, 10, 1);
       Box(cr, 8.8, 7, 6.5, 10, 1);
       Box(cr, 16, 7, 6.5, 10, 1);
       Stroke(cr);
     }},
    {"kind-column",
     [](cairo_t* cr) {
       Box(cr, 7, 1.5, 10, 6.5, 1);
       Box(cr, 7, 8.8, 10, 6.5, 1);
       Box(cr, 7, 16, 10, 6.5, 1);
       Stroke(cr);
     }},
    {"kind-circle",
     [](cairo_t* cr) {
       Circle(cr, 12, 12, 8.5);
       Stroke(cr);
       cairo_arc(cr, 12, 12, 4, 0.2, 2 * M_PI - 0.4);
       Stroke(cr);
       Head(cr, 12 + 4 * std::cos(-0.4), 12 + 4 * std::sin(-0.4), -0.4 + M_PI / 2 + M_PI, 2.8);
       Stroke(cr);
     }},
    {"kind-tile",
     [](cairo_t* cr) {
       Box(cr, 3, 4, 8.5, 7, 1);
       Box(cr, 12.5, 4, 8.5, 7, 1);
       Box(cr, 3, 13, 8.5, 7, 1);
       Box(cr, 12.5, 13, 8.5, 7, 1);
       Stroke(cr);
     }},
};

}  // namespace

bool DrawIcon(cairo_t* cr, const char* name, double cx, double cy, double size, Rgb color) {
  for (const IconEntry& icon : kIcons) {
    if (std::strcmp(icon.name, name) != 0) continue;
    cairo_save(cr);
    cairo_translate(cr, cx - size / 2, cy - size / 2);
    cairo_scale(cr, size / 24.0, size / 24.0);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(cr, color);
    cairo_new_path(cr);
    icon.draw(cr);
    cairo_new_path(cr);
    cairo_restore(cr);
    return true;
  }
  return false;
}

}  // namespace vmd
