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

/// Why a save failed: the results of ImgSaveFileResult and ImgCheckSaveSize.
enum PixioSaveResult : int {
  kPixioSaved = 0,             ///< written (or, from ImgCheckSaveSize, it fits)
  kPixioSaveUnknownType = 1,   ///< the path's extension names no type we write
  kPixioSaveBadPicture = 2,    ///< the handle is not a usable DIB
  kPixioSaveTooBig = 3,        ///< larger than the type can hold (see ImgSaveMessage)
  kPixioSaveNoMemory = 4,      ///< the memory to encode it could not be had
  kPixioSaveWriteFailed = 5,   ///< the file could not be written (folder, disk, rights)
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
/// ImgSaveFile giving why it failed: a PixioSaveResult. Each type holds
/// pictures up to its own limits: JPEG 65500 pixels a side; GIF and Targa
/// 65535; PCX 65534 wide (65535 at 1 and 4 bits) by 65535; BMP files up to
/// 4 GB; FlashPix 2 GB of tiles (about 715 million pixels); TIFF any size
/// (BigTIFF past 4 GB).
PIXIO_API int ImgSaveFileResult(HGLOBAL dib, const char* path);
/// Whether a width x height picture of bitCount (1, 4, 8 or 24) bits fits the
/// type `path` names, before it is made: kPixioSaved when it does, else
/// kPixioSaveTooBig, kPixioSaveUnknownType or kPixioSaveBadPicture.
PIXIO_API int ImgCheckSaveSize(int width, int height, int bitCount, const char* path);
/// One line for the user about a save's `result`, e.g. "the panorama is
/// 70210 x 3100 pixels; JPEG holds at most 65500 a side: save as TIFF".
/// `subject` names the picture ("the panorama"; null: "the picture"), `dib`
/// and `path` are those of the save. Copies at most textSize - 1 characters
/// and a terminating zero into `text` (which may be null) and returns the
/// whole line's length; 0 and an empty line for kPixioSaved.
PIXIO_API int ImgSaveMessage(int result, const char* subject, HGLOBAL dib, const char* path,
                             char* text, int textSize);
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
