#ifndef RESOURCES_VMDRES_H
#define RESOURCES_VMDRES_H

/// The exports of vmdres. The program binds the font exports by name at run
/// time (plain C names, cdecl, no decoration); every other use of the library
/// is by resource number through its module handle (vmdres_ids.h).

#ifdef VMDRES_BUILD
#define VMDRES_API __declspec(dllexport)
#else
#define VMDRES_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/// Character set for every font the program creates (0 = ANSI_CHARSET).
VMDRES_API int VMDRES_GetFontCharSet(void);
/// Copies the interface face name into a buffer of 32 bytes; 0 for a null buffer.
VMDRES_API int VMDRES_GetFont(char* faceName);
/// Copies the album face name into a buffer of 32 bytes; 0 for a null buffer.
VMDRES_API int VMDRES_GetAlbFont(char* faceName);
/// Font heights in logical units, and the tool-tip point size.
VMDRES_API int VMDRES_GetFontHeight_AList(void);
VMDRES_API int VMDRES_GetFontHeight_AlbName(void);
VMDRES_API int VMDRES_GetPointSize_Tips(void);
VMDRES_API int VMDRES_GetFontHeight_Hint(void);
VMDRES_API int VMDRES_GetFontHeight_Popup(void);
VMDRES_API int VMDRES_GetFontHeight_Print(void);

/// Exported for older callers; the program uses none of these.
VMDRES_API int fnVmdRes(void);
VMDRES_API extern int nVmdRes;

#ifdef __cplusplus
}

class VMDRES_API CVmdRes {
 public:
  CVmdRes();
  CVmdRes& operator=(const CVmdRes& other);
};
#endif

#endif  // RESOURCES_VMDRES_H
