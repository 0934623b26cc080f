#ifndef APP_SHELL_IMAGE_FILE_RULES_H
#define APP_SHELL_IMAGE_FILE_RULES_H

/// The deciding behind opening, saving and exporting images, apart from any
/// window: the file types of the dialogs, what the dialogs' quality and
/// compression extension shows per type, the quality scroll bar, the JPEG
/// quality's two lives, multiple selections, the export checks and the
/// web-page strips' geometry.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vmd {

/// File types in the order of the full list (GIF included).
enum ImageFileType : int {
  kFileBmp = 1,
  kFileTif = 2,
  kFilePcx = 3,
  kFileGif = 4,
  kFileTga = 5,
  kFileJpg = 6,
  kFileFpx = 7,
};

/// The full-list type of a 1-based filter index of the Save dialog's list:
/// without GIF (noGif), indexes above 3 move up by one. 0 for indexes outside
/// the list.
int FullListType(int filterIndex, bool noGif);
/// The Save dialog's filter index that starts on JPEG: 6, or 5 without GIF.
int JpegFilterIndex(bool noGif);
/// The extension a type gets by default ("BMP", "TIF", "PCX", "GIF", "TGA",
/// "JPG", "FPX"); empty for other values.
std::string DefaultExtensionOf(int fullType);

/// What the dialogs' extension shows for a type.
struct ExtensionChoice {
  bool showCompress;  ///< the "Compress" box (TIF, TGA; not TIF without GIF)
  bool showQuality;   ///< the quality text and scroll bar (JPG, FPX)
};
/// The Open dialog shows neither; the Save dialog as ExtensionChoice says.
ExtensionChoice ChooseExtension(int fullType, bool saveDialog, bool noGif);
/// The compression switch a Save of this type sets on OK: the box's state for
/// TIF and TGA, always 0 for TIF without GIF; -1 when the type has none.
int CompressModeOnOk(int fullType, bool boxChecked, bool noGif);

/// Scroll bar requests, with the numbers of the Win32 SB_ codes.
enum QualityScroll : int {
  kScrollLineLeft = 0,
  kScrollLineRight = 1,
  kScrollPageLeft = 2,
  kScrollPageRight = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollLeft = 6,
  kScrollRight = 7,
};
/// The quality after a scroll request: lines move by 1, pages by 10, the thumb
/// to its place, the ends to 1 and 100; always within 1 .. 100. Other codes
/// leave it.
int QualityAfterScroll(int quality, int request, int thumb);
/// The quality text: the label (string 2304, "&Quality: "), a blank, the number.
std::string QualityText(const std::string& label, int quality);
/// The quality the slider shows when a quality type is chosen: its own value,
/// or the last quality when it reads 0.
int SliderQuality(int sliderValue, int lastQuality);

/// The JPEG quality's two lives: the user's choice while a Save dialog is
/// open, 100 at all other times. The first Save of a run leaves the codec's
/// own quality.
struct JpegQualityBook {
  bool firstSave = true;
  int savedQuality = 0;
  /// Before the dialog: the quality to set, or -1 to leave the codec's.
  int BeforeDialog();
  /// After the dialog (OK or Cancel) with the quality then in force: remembers
  /// it and returns the quality for all other writing (100).
  int AfterDialog(int qualityInForce);
};

/// The extension of a path upper-cased (after the last dot of the last
/// component), empty when it has none.
std::string UpperExtension(const std::string& path);
/// The path up to its last backslash; empty without one.
std::string FolderPart(const std::string& path);

/// A walk through the selection buffer of an Open dialog: a single path, or a
/// folder followed by file names, each ended by a NUL, the list by two. For
/// index 0, 1, ... (the returned next index) gives the next path (folder,
/// backslash, name; a single selection's path itself at index 0) and returns
/// the index to pass next, or -1 when none is left.
int NextSelectedFile(const char* selection, size_t size, int index, std::string* path);

/// Whether a file name's length refuses a save (longer than 256 characters).
bool SavePathTooLong(const std::string& path);
/// The export checks of an image: 0 when it may be exported, 50101 when it is
/// narrower than high, 50109 when width / 24 is under 3 or the height under 64.
unsigned ExportRefusal(int width, int height);
/// Whether a movie's path is refused: longer than 256, or its last component
/// (from the last backslash) longer than 60.
bool MoviePathRefused(const std::string& path);
/// Whether a web page's path is refused: longer than 230.
bool PagePathRefused(const std::string& path);
/// The folder of a web page's strips: the path without its extension, "_files".
std::string StripFolderOf(const std::string& pagePath);
/// The path of strip i: "folder\i.jpg".
std::string StripPath(const std::string& folder, int index);
/// "~ml.bmp" or "~ml.mov" in a folder given with its trailing backslash.
std::string TemporaryExportPath(const std::string& folderWithSlash, const char* name);

/// Where strip i of n of an image W pixels wide comes from: columns
/// [left, right) of the image, and the width it is written at. Every strip is
/// W / n - 1 pixels wide; the last one is scaled from the rest of the image.
struct StripColumns {
  int left;
  int right;
  int width;
};
StripColumns StripOf(int imageWidth, int count, int index);

/// Whether the bytes of a TIFF file name compression 5 (LZW) in their first
/// image. False for anything that is not a readable TIFF header.
bool TiffBytesUseLzw(const uint8_t* data, size_t size);

}  // namespace vmd

#endif  // APP_SHELL_IMAGE_FILE_RULES_H
