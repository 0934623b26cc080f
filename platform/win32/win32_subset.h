#ifndef PLATFORM_WIN32_WIN32_SUBSET_H
#define PLATFORM_WIN32_WIN32_SUBSET_H

/// The part of the Win32 API that the engine and the codec layer use, for the
/// native (Linux) build: movable global memory with real handles and lock counts,
/// RECT and POINT with the rectangle functions, the DIB headers, and the two DIB
/// drawing calls (which report failure: there is no display here).
/// The Win32 build includes <windows.h> instead; see win32_api.h.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#error "win32_subset.h is for the native build; include win32_api.h"
#endif

#define VMD_WIN32_SUBSET_API __attribute__((visibility("default")))

#ifndef WINAPI
#define WINAPI
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef short SHORT;
typedef uint32_t UINT;
typedef size_t SIZE_T;
typedef void* LPVOID;
typedef const void* LPCVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

/// An opaque handle to a movable block. It is not the address of the block's
/// bytes: GlobalLock gives that, and only while the block is locked.
struct VmdGlobalBlock;
typedef VmdGlobalBlock* HGLOBAL;
typedef struct VmdDeviceContext* HDC;

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GMEM_LOCKCOUNT 0x00FFu
#define GMEM_INVALID_HANDLE 0x8000u

/// Calendar time as GetLocalTime gives it.
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

#define LOBYTE(w) ((BYTE)(((uintptr_t)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((uintptr_t)(w)) >> 8) & 0xff))

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct POINT {
  LONG x;
  LONG y;
};

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

static_assert(sizeof(BITMAPFILEHEADER) == 14, "BMP file header is 14 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BMP information header is 40 bytes");

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define SRCCOPY 0x00CC0020u
#define VK_ESCAPE 0x1B
#define LOWORD(l) ((WORD)((DWORD)(l) & 0xFFFF))
#define HIWORD(l) ((WORD)(((DWORD)(l) >> 16) & 0xFFFF))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | (((DWORD)((WORD)(b))) << 16)))

extern "C" {

/// Allocates a block of `bytes`; GMEM_ZEROINIT clears it. Returns null when the
/// memory cannot be had. GMEM_FIXED blocks are returned as handles too.
VMD_WIN32_SUBSET_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
/// Frees a block; returns null on success, the handle when it is not a live block.
VMD_WIN32_SUBSET_API HGLOBAL GlobalFree(HGLOBAL block);
/// Increments the lock count and returns the block's first byte, or null for a
/// handle that is not a live block.
VMD_WIN32_SUBSET_API LPVOID GlobalLock(HGLOBAL block);
/// Decrements the lock count; returns nonzero while the block stays locked.
VMD_WIN32_SUBSET_API BOOL GlobalUnlock(HGLOBAL block);
/// Size of the block in bytes, 0 for a handle that is not a live block.
VMD_WIN32_SUBSET_API SIZE_T GlobalSize(HGLOBAL block);
/// Lock count in the low byte, or GMEM_INVALID_HANDLE.
VMD_WIN32_SUBSET_API UINT GlobalFlags(HGLOBAL block);
/// Grows or shrinks a block, keeping its contents; null on failure (block kept).
VMD_WIN32_SUBSET_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);

VMD_WIN32_SUBSET_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
VMD_WIN32_SUBSET_API BOOL SetRectEmpty(LPRECT rect);
VMD_WIN32_SUBSET_API BOOL CopyRect(LPRECT dst, LPCRECT src);
VMD_WIN32_SUBSET_API BOOL IsRectEmpty(LPCRECT rect);
VMD_WIN32_SUBSET_API BOOL EqualRect(LPCRECT a, LPCRECT b);
VMD_WIN32_SUBSET_API BOOL PtInRect(LPCRECT rect, POINT point);
VMD_WIN32_SUBSET_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
VMD_WIN32_SUBSET_API BOOL InflateRect(LPRECT rect, int dx, int dy);
/// Both return FALSE and an empty result when the outcome is empty, as Win32 does.
VMD_WIN32_SUBSET_API BOOL IntersectRect(LPRECT dst, LPCRECT a, LPCRECT b);
VMD_WIN32_SUBSET_API BOOL UnionRect(LPRECT dst, LPCRECT a, LPCRECT b);

/// No display natively: both draw nothing and return 0 (failure).
VMD_WIN32_SUBSET_API int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height,
                                           int srcX, int srcY, UINT startScan, UINT scanLines,
                                           const void* bits, const BITMAPINFO* info,
                                           UINT colorUse);
VMD_WIN32_SUBSET_API int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX,
                                       int srcY, int srcWidth, int srcHeight, const void* bits,
                                       const BITMAPINFO* info, UINT colorUse, DWORD rop);

/// The state of a key: the top bit set while it is down. There is no keyboard
/// natively; a key is down only while a test says so (VmdSubsetSetKeyDown).
VMD_WIN32_SUBSET_API SHORT GetAsyncKeyState(int virtualKey);
/// Test hook of the native build only: holds a key down (nonzero) or lets it go.
VMD_WIN32_SUBSET_API void VmdSubsetSetKeyDown(int virtualKey, int down);

/// Test hook of the native build only: the next `count` allocations succeed and
/// every one after that fails, until called again with a negative count.
VMD_WIN32_SUBSET_API void VmdSubsetFailAllocationsAfter(int count);
/// Number of live blocks, for leak checks in tests.
VMD_WIN32_SUBSET_API long VmdSubsetLiveBlocks();

}  // extern "C"

#endif  // PLATFORM_WIN32_WIN32_SUBSET_H
