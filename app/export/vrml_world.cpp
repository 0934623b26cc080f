#include "vrml_world.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace vmd {
namespace {

// The ring geometry uses this value of pi, so the last panel stops a hair
// short of a full turn exactly as the worlds written before did.
constexpr double kRingPi = 3.1415926;
constexpr float kUnitsPerPixel = 0.01f;

void AppendFormat(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void AppendFormat(std::string* out, const char* format, ...) {
  char line[1200];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (n > 0) out->append(line, static_cast<size_t>(n) < sizeof line ? n : sizeof line - 1);
}

}  // namespace

void WorldSizeOf(int width, int height, int count, float* totalWidth, float* faceHeight) {
  const int step = width / count;
  *faceHeight = static_cast<float>(height) * kUnitsPerPixel;
  *totalWidth = static_cast<float>(count * step - count) * kUnitsPerPixel;
}

std::string VrmlWorldText(const std::string& tilePrefix, float totalWidth, float faceHeight,
                          int count) {
  const float face = totalWidth / static_cast<float>(count);
  const double polygonAngle = (count - 2) * kRingPi / count;
  const float radius = static_cast<float>(std::tan(polygonAngle / 2) * face * 0.5);

  std::string out;
  out += "#VRML V2.0 utf8\r\n\r\n";
  out += "Group\r\n{\r\n    children\r\n    [\r\n        DEF Inside Viewpoint\r\n        {\r\n";
  out += "            position 0 0 0\r\n            description \"Inside\"\r\n";
  out += "        }\r\n    ]\r\n}\r\n\r\n";
  for (int i = 1; i <= count; ++i) {
    const float angle = static_cast<float>((i - 1) * (kRingPi - polygonAngle));
    const double x = std::sin(static_cast<double>(angle)) * radius;
    const double z = std::cos(static_cast<double>(angle)) * radius;
    out += "Transform\r\n{\r\n";
    AppendFormat(&out, "    translation %f 0 %f\r\n", x, z);
    AppendFormat(&out, "    rotation 0 1 0 %f\r\n", static_cast<double>(angle));
    out += "    children\r\n    [\r\n        Shape\r\n        {\r\n";
    out += "            appearance Appearance\r\n            {\r\n";
    AppendFormat(&out, "                texture ImageTexture { url \"%s%d.jpg\" }\r\n",
                 tilePrefix.c_str(), count - i);
    out += "            }\r\n";
    AppendFormat(&out, "            geometry Box { size %f %f 0.01 }\r\n", static_cast<double>(face),
                 static_cast<double>(faceHeight));
    out += "        }\r\n    ]\r\n}\r\n\r\n";
  }
  return out;
}

}  // namespace vmd
