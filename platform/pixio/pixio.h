#ifndef PLATFORM_PIXIO_PIXIO_H
#define PLATFORM_PIXIO_PIXIO_H

/// PIXIO: the image-codec library. Reads BMP, TIFF, PCX, GIF, TGA, JPEG,
/// FlashPix and Photo CD files into DIBs and writes DIBs as BMP, TIFF, PCX,
/// GIF, TGA, JPEG and FlashPix files.
///
/// A DIB is one movable global memory block: a 40-byte BITMAPINFOHEADER, a
/// colour table for 1-, 4- and 8-bit images, then the pixel rows bottom-up,
/// each padded to a multiple of 4 bytes. Every DIB returned here is a new block
/// that the caller frees with GlobalFree; a null handle means failure.
///
/// Reading picks the decoder by the file's content, never by its name; writing
/// picks the encoder by the path's extension. A truncated, corrupt or hostile
/// file gives a null handle. Saving writes a temporary file in the target's
/// folder and replaces the target only once the new file is complete.
///
/// The library keeps two settings for the process: the JPEG quality (1 to 100,
/// 75 at start; FlashPix uses it too) and the compression switch (0 at start;
/// when 1, TIFF files are written LZW-compressed and Targa files RLE-compressed).
/// No exception leaves any export.

#include "win32_api.h"

#if defined(_WIN32)
#if defined(PIXIO_BUILD)
#define PIXIO_API __declspec(dllexport)
#else
#define PIXIO_API __declspec(dllimport)
#endif
#else
#define PIXIO_API __attribute__((visibility("default")))
#endif

/// The owner window of a call; PIXIO shows no windows, so it is not used.
typedef void* PixioOwner;

/// Photo CD data types and resolutions of PxLoadPcdFile.
enum PixioPcdDataType : int {
  kPcdRgb24 = 0,   ///< 24-bit RGB
  kPcdGray8 = 1,   ///< 8-bit grey (a 256-entry grey colour table)
};
enum PixioPcdResolution : int {
  kPcdBase16 = 0,  ///< 128 x 192
  kPcdBase4 = 1,   ///< 256 x 384
  kPcdBase = 2,    ///< 512 x 768
  kPcd4Base = 3,   ///< 1024 x 1536
  kPcd16Base = 4,  ///< 2048 x 3072
};

extern "C" {

/// Reads an image file of any supported type as a 24-bit DIB: palette, grey,
/// 16- and 32-bit images are expanded; transparent GIF pixels become white.
PIXIO_API HGLOBAL ImgReadFile(PixioOwner owner, const char* path);
/// Reads an image file keeping a 1-, 4- or 8-bit image's colour table where the
/// format has one (BMP, PCX, GIF, TGA); other images as ImgReadFile.
PIXIO_API HGLOBAL ImgReadDib(PixioOwner owner, const char* path);
/// Writes `dib` to `path` in the type its extension names (.bmp, .tif/.tiff,
/// .pcx, .gif, .tga, .jpg/.jpeg/.jpe, .fpx), with the quality and compression
/// in force. Nonzero when the file was written; on failure an existing file at
/// `path` is left as it was.
PIXIO_API int ImgSaveFile(HGLOBAL dib, const char* path);
/// ImgSaveFile with the arguments the other way round.
PIXIO_API int ImgSaveDib(const char* path, HGLOBAL dib);
/// The JPEG quality in force, 1 to 100.
PIXIO_API int ImgGetJpgQuality(void);
/// Sets the JPEG quality of later saves; values outside 1 to 100 are clamped.
PIXIO_API void ImgSetJpgQuality(int quality);
/// 1 when TIFF and Targa files are written compressed, else 0.
PIXIO_API int ImgGetCompressMode(void);
/// Sets the compression switch: nonzero means on.
PIXIO_API void ImgSetCompressMode(int mode);
/// Loads a Photo CD image pack at a PixioPcdResolution as a 24-bit (dataType 0)
/// or 8-bit grey (dataType 1) DIB, turned upright as the pack records.
/// `reserved` must be 0. Null on failure.
PIXIO_API HGLOBAL PxLoadPcdFile(const char* path, int dataType, int resolution, int reserved);

}  // extern "C"

#endif  // PLATFORM_PIXIO_PIXIO_H
