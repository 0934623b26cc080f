#include "canvas.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>

namespace vmd {

namespace {

constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

// One font map for the whole run, over a private fontconfig set that holds
// only the two pinned font files: no system configuration, substitution rule
// or other installed font can change the bytes the generator writes.
bool g_fontsMissing = false;

PangoFontMap* FontMap() {
  static PangoFontMap* map = [] {
    FcConfig* config = FcConfigCreate();
    for (const char* file : kFontFiles)
      if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file)))
        g_fontsMissing = true;
    PangoFontMap* fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
    FcConfigDestroy(config);  // the font map keeps its own reference
    return fontMap;
  }();
  return map;
}

// A layout with fixed rendering options: grey antialiasing, no hinting, so
// glyph shapes and advances do not depend on the machine's settings.
PangoLayout* MakeLayout(cairo_t* cr, const std::string& text, const TextStyle& style) {
  PangoContext* context = pango_font_map_create_context(FontMap());
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context, FALSE);
  pango_cairo_update_context(cr, context);
  PangoLayout* layout = pango_layout_new(context);
  g_object_unref(context);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "DejaVu Sans");
  pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, style.sizePx * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

}  // namespace

bool LoadPinnedFonts(std::string* missing) {
  FontMap();
  if (!g_fontsMissing) return true;
  *missing = std::string(kFontFiles[0]) + " or " + kFontFiles[1];
  return false;
}

Canvas::Canvas(int pixelWidth, int pixelHeight, double scale, bool alpha)
    : surface_(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                          pixelWidth, pixelHeight)),
      cr_(cairo_create(surface_)),
      width_(pixelWidth),
      height_(pixelHeight),
      scale_(scale) {
  cairo_scale(cr_, scale, scale);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::PaintFrom(const Canvas& source, int x, int y) {
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_set_source_surface(cr_, source.surface(), -x, -y);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

SkinImage Canvas::ToImage() const {
  cairo_surface_flush(surface_);
  SkinImage image;
  image.width = width_;
  image.height = height_;
  image.stride = ((width_ * 24 + 31) / 32) * 4;
  image.pixels.assign(size_t(image.stride) * size_t(height_), 0);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int sourceStride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* from = reinterpret_cast<const uint32_t*>(data + size_t(y) * sourceStride);
    uint8_t* to = &image.pixels[size_t(height_ - 1 - y) * image.stride];
    for (int x = 0; x < width_; ++x) {
      const uint32_t pixel = from[x];
      to[3 * x] = pixel & 0xFF;
      to[3 * x + 1] = (pixel >> 8) & 0xFF;
      to[3 * x + 2] = (pixel >> 16) & 0xFF;
    }
  }
  return image;
}

bool Canvas::WritePng(const std::string& path) const {
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColor(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(pattern, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(pattern, 1, bottom.r / 255.0, bottom.g / 255.0,
                                   bottom.b / 255.0);
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void DrawText(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
              const TextStyle& style) {
  PangoLayout* layout = MakeLayout(cr, text, style);
  pango_layout_set_width(layout, static_cast<int>(w * PANGO_SCALE));
  if (style.wrap) {
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_line_spacing(layout, static_cast<float>(style.lineSpacing));
  } else {
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  }
  pango_layout_set_alignment(layout, style.align == Align::kLeft    ? PANGO_ALIGN_LEFT
                                     : style.align == Align::kRight ? PANGO_ALIGN_RIGHT
                                                                    : PANGO_ALIGN_CENTER);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  double top = y;
  if (!style.wrap) {
    // Centre the capitals and lower case together: the line's logical box
    // holds room for descenders, so centre on the baseline's cap height.
    const double baseline = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
    const double capHeight = style.sizePx * 0.73;
    top = y + (h - capHeight) / 2 - (baseline - capHeight);
  }
  SetColor(cr, style.color);
  cairo_move_to(cr, x, top);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style) {
  PangoLayout* layout = MakeLayout(cr, text, style);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return logical.width / double(PANGO_SCALE);
}

}  // namespace vmd
