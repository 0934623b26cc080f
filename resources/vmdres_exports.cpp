#include "vmdres.h"

#include <string.h>

namespace {

/// Face names are at most 31 characters, so a 32-byte buffer always fits them.
int CopyFaceName(char* buffer, const char* name) {
  if (buffer == nullptr) return 0;
  strcpy(buffer, name);
  return 1;
}

}  // namespace

extern "C" {

int VMDRES_GetFontCharSet(void) { return 0; }  // ANSI_CHARSET
int VMDRES_GetFont(char* faceName) { return CopyFaceName(faceName, "Arial"); }
int VMDRES_GetAlbFont(char* faceName) { return CopyFaceName(faceName, "System"); }
int VMDRES_GetFontHeight_AList(void) { return 15; }
int VMDRES_GetFontHeight_AlbName(void) { return 16; }
int VMDRES_GetPointSize_Tips(void) { return 13; }
int VMDRES_GetFontHeight_Hint(void) { return 20; }
int VMDRES_GetFontHeight_Popup(void) { return 14; }
int VMDRES_GetFontHeight_Print(void) { return 20; }

int fnVmdRes(void) { return 42; }
int nVmdRes = 0;

}  // extern "C"

CVmdRes::CVmdRes() = default;
CVmdRes& CVmdRes::operator=(const CVmdRes&) = default;
