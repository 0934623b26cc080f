#include "web_page.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "replace_file.h"
#include "vrml_world.h"

namespace vmd {
namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(&out[0], out.size() + 1, format, again);
  va_end(again);
  return out;
}

constexpr int kEmbedHeight = 288;
constexpr int kEmbedWidth = 436;

}  // namespace

std::string WebPageBody(const std::string& pageFolder, const std::string& worldFile,
                        bool noLumacove, const std::string& url) {
  const char* d = pageFolder.c_str();
  std::string body;
  if (!noLumacove) {
    body += Format(
        "<body bgcolor=\"#FFFFFF\" background=\"%s\\bglevel.gif\" "
        "onLoad=\"MM_preloadImages('lcroll.gif','#941069802070')\" link=\"#FFFFFF\" "
        "vlink=\"#66CC00\">\r\n%s",
        d,
        "<table width=\"640\" border=\"0\" height=\"100\">\r\n\t<tr valign=\"top\">\r\n"
        "\t\t<td width=\"178\" height=\"49\">");
  } else {
    body += Format(
        "<body bgcolor=\"#FFFFFF\" background=\"%s\\bglevel.gif\" link=\"#FFFFFF\" "
        "vlink=\"#66CC00\">\r\n",
        d);
  }
  body += Format(
      "<img src=\"%s\\vistameld.gif\" width=\"178\" height=\"56\" alt=\"Logo\" "
      "name=\"vmlogo\"></td>\r\n",
      d);
  body += Format(
      "%s<img src=\"%s\\360view.gif\" width=\"246\" height=\"56\" name=\"VMeld\" "
      "alt=\"360 Vistameld\"></td>\r\n",
      "\t\t<td width=\"223\" height=\"49\">", d);
  if (!noLumacove) {
    const std::string cell = Format(
        "\t\t<td width=\"285\" height=\"49\"> <a href=\"%s\" "
        "onMouseOut=\"MM_swapImgRestore()\" "
        "onMouseOver=\"MM_swapImage('document.URLlogo','document.URLlogo',",
        url.c_str());
    body += Format("%s'%s\\\\lcroll.gif','#941069802070')\"><img src=\"%s\\\\lclogo.gif\"",
                   cell.c_str(), d, d);
    body += Format(
        "width=155 height=45 name=\"URLlogo\" alt=\"%s\" border=\" 0 \"></a></td>\r\n"
        "\t </tr> \r\n </table>",
        url.c_str());
  }
  body += "\r\n<P align=center> ";
  body += Format("<EMBED height=%d width=%d name=vrml src=\"%s\" type=x-world/x-vrml>\r\n",
                 kEmbedHeight, kEmbedWidth, worldFile.c_str());
  return body;
}

std::string PageTail(const std::string& tailTemplate) {
  const std::string head = tailTemplate.substr(0, kTailTemplateLimit);
  return head.substr(0, std::strlen(head.c_str()));
}

WebPageResult WriteWebPage(const std::string& pagePath, const WebExportNames& names, int width,
                           int height, const WebPageOptions& options) {
  float totalWidth = 0;
  float faceHeight = 0;
  WorldSizeOf(width, height, kWebTileCount, &totalWidth, &faceHeight);
  const std::string world = VrmlWorldText(names.tilePrefix, totalWidth, faceHeight, kWebTileCount);
  if (!WriteFileReplacing(names.worldFile, world)) return WebPageResult::kWorldNotWritten;

  static const char* const kServiceImages[] = {"lclogo.gif", "lcroll.gif"};
  static const char* const kImages[] = {"vistameld.gif", "360view.gif", "bglevel.gif"};
  if (!options.noLumacove) {
    for (const char* name : kServiceImages)
      CopyFileReplacing(options.uiFolder + name, names.tilePrefix + name);
  }
  for (const char* name : kImages) CopyFileReplacing(options.uiFolder + name, names.tilePrefix + name);

  std::string page;
  std::string tailTemplate;
  const char* tailName = options.noLumacove ? "bottom2.tmp" : "bottom1.tmp";
  if (!ReadWholeFile(options.uiFolder + "vmviewer.tmp", &page) ||
      !ReadWholeFile(options.uiFolder + tailName, &tailTemplate))
    return WebPageResult::kPageNotWritten;
  page += WebPageBody(names.pageFolder, names.worldFile, options.noLumacove, options.url);
  page += PageTail(tailTemplate);
  if (!WriteFileReplacing(pagePath, page)) return WebPageResult::kPageNotWritten;
  return tailTemplate.empty() ? WebPageResult::kTailEmpty : WebPageResult::kWritten;
}

}  // namespace vmd
