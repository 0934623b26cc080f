#ifndef PLATFORM_QUICKTIME_QUICKTIME_H
#define PLATFORM_QUICKTIME_QUICKTIME_H

/// Our QuickTime layer: a small movie writer over plain files with the roles
/// of the published movie toolbox, image compression and atom container calls
/// that the panorama-movie export uses. The program loads it at run time as
/// "QuickTime.qts" and reaches every call through the table of its export
/// "theQuickTimeDispatcher"; "_CallComponent" answers feature queries and
/// "_CallComponentFunctionWithStorage" starts and stops the layer.
///
/// Numbers are host-endian in calls and big-endian in files. Fixed values are
/// 16.16. Every call returns or records a result code (0 = no error); the
/// last one is kept for QtLastError. No call throws.

#include <stdint.h>

#if defined(_WIN32)
#define QTL_CALL __cdecl
#else
#define QTL_CALL
#endif

extern "C" {

typedef int32_t QtErr;
typedef uint32_t QtType;  ///< a four-character code, first character in the high byte
typedef int32_t QtFixed;
typedef int32_t QtAtom;   ///< an atom's offset in its container; 0 = the container's root

/// A file as the layer takes it: volume 0, parent 0 and the full path as a
/// length-prefixed string (at most 255 characters).
struct QtFileName {
  int16_t volume;
  int32_t parent;
  unsigned char name[256];
};

struct QtRect {
  int16_t top, left, bottom, right;
};

typedef struct QtHandleRec* QtHandle;        ///< a movable block of bytes
typedef struct QtPictureRec* QtPicture;      ///< a picture read from a file
typedef struct QtGWorldRec* QtGWorld;        ///< an offscreen picture of 24-bit pixels
typedef struct QtMovieRec* QtMovie;
typedef struct QtTrackRec* QtTrack;
typedef struct QtMediaRec* QtMedia;

/// The pixels of an offscreen world: rows top-down, 3 bytes a pixel (red,
/// green, blue), `rowBytes` apart.
struct QtPixMap {
  uint8_t* base;
  int32_t rowBytes;
  QtRect bounds;
};

enum : QtErr {
  kQtNoErr = 0,
  kQtParamErr = -50,
  kQtFileNotFound = -43,
  kQtIoErr = -36,
  kQtMemFull = -108,
  kQtUserCanceled = -128,
  kQtBadImageDescription = -8785,
  kQtInvalidAtom = -2115,
  kQtInvalidMovie = -2010,
  kQtInvalidTrack = -2009,
  kQtInvalidMedia = -2008,
  kQtNoMovieFound = -2048,
  kQtLayerMissing = -2093,  ///< the program could not find the layer
  kQtEntryMissing = -2094,  ///< the layer lacks one of its exports
};

/// Flags of QtCreateMovieFile and QtFlattenMovieData.
enum : int32_t {
  kQtCreateDeleteExisting = INT32_MIN,  // the top bit
  kQtCreateDontCreateResFile = 0x10000000,
  kQtFlattenAddMovieToDataFork = 1,
  kQtFlattenCompressMovieResource = 0x40,
  kQtFlattenForceMovieResourceBeforeMovieData = 0x400,
};

/// Progress of a flattening step: 0 to 0x10000 (done); nonzero cancels.
typedef QtErr(QTL_CALL* QtProgressProc)(QtMovie movie, int32_t phase, QtFixed percent, void* refCon);

/// The calls of the layer, by role. `size` is sizeof(QtDispatch) of the
/// layer's build so that a caller can refuse an older table.
struct QtDispatch {
  uint32_t size;
  // Buffers.
  QtHandle(QTL_CALL* NewHandle)(int32_t size);
  int32_t(QTL_CALL* GetHandleSize)(QtHandle h);
  uint8_t*(QTL_CALL* HLock)(QtHandle h);
  void(QTL_CALL* HUnlock)(QtHandle h);
  void(QTL_CALL* DisposeHandle)(QtHandle h);
  void(QTL_CALL* BlockMove)(const void* from, void* to, int32_t size);
  QtFixed(QTL_CALL* FixRatio)(int16_t numerator, int16_t denominator);
  // The source picture.
  QtErr(QTL_CALL* OpenPictureFile)(const QtFileName* file, QtPicture* picture);
  void(QTL_CALL* GetPictureFrame)(QtPicture picture, QtRect* frame);
  QtErr(QTL_CALL* DrawPicture)(QtGWorld world, QtPicture picture, const QtRect* where);
  void(QTL_CALL* DisposePicture)(QtPicture picture);
  // Offscreen worlds; depth 0 is the default (24).
  QtErr(QTL_CALL* NewGWorld)(QtGWorld* world, int16_t depth, const QtRect* bounds);
  QtPixMap*(QTL_CALL* GetGWorldPixMap)(QtGWorld world);
  int(QTL_CALL* LockPixels)(QtPixMap* pixels);
  void(QTL_CALL* UnlockPixels)(QtPixMap* pixels);
  void(QTL_CALL* DisposeGWorld)(QtGWorld world);
  // Image compression.
  QtErr(QTL_CALL* GetMaxCompressionSize)(QtPixMap* pixels, const QtRect* area, int16_t depth,
                                         int32_t quality, QtType codec, int32_t* size);
  QtErr(QTL_CALL* CompressImage)(QtPixMap* pixels, const QtRect* area, int32_t quality,
                                 QtType codec, QtHandle description, uint8_t* data);
  // Movie files.
  QtErr(QTL_CALL* CreateMovieFile)(const QtFileName* file, QtType creator, int16_t script,
                                   int32_t flags, int16_t* fileRef, QtMovie* movie);
  QtErr(QTL_CALL* OpenMovieFile)(const QtFileName* file, int16_t* fileRef, int8_t permission);
  QtErr(QTL_CALL* NewMovieFromFile)(QtMovie* movie, int16_t fileRef, int16_t* resId,
                                    int32_t flags);
  QtErr(QTL_CALL* AddMovieResource)(QtMovie movie, int16_t fileRef, int16_t* resId,
                                    const char* name);
  QtErr(QTL_CALL* CloseMovieFile)(int16_t fileRef);
  void(QTL_CALL* DisposeMovie)(QtMovie movie);
  QtErr(QTL_CALL* DeleteMovieFile)(const QtFileName* file);
  // Tracks and media.
  QtTrack(QTL_CALL* NewMovieTrack)(QtMovie movie, QtFixed width, QtFixed height, int16_t volume);
  QtMedia(QTL_CALL* NewTrackMedia)(QtTrack track, QtType type, int32_t timeScale);
  QtErr(QTL_CALL* BeginMediaEdits)(QtMedia media);
  QtErr(QTL_CALL* EndMediaEdits)(QtMedia media);
  QtErr(QTL_CALL* AddMediaSample)(QtMedia media, QtHandle data, int32_t offset, int32_t size,
                                  int32_t duration, QtHandle description, int32_t count,
                                  int16_t flags, int32_t* sampleTime);
  QtErr(QTL_CALL* InsertMediaIntoTrack)(QtTrack track, int32_t trackStart, int32_t mediaTime,
                                        int32_t mediaDuration, QtFixed rate);
  int32_t(QTL_CALL* GetMediaDuration)(QtMedia media);
  void(QTL_CALL* SetMovieTimeScale)(QtMovie movie, int32_t timeScale);
  QtTrack(QTL_CALL* GetMovieIndTrackType)(QtMovie movie, int32_t index, QtType mediaType);
  void(QTL_CALL* GetTrackDimensions)(QtTrack track, QtFixed* width, QtFixed* height);
  int16_t(QTL_CALL* GetTrackVolume)(QtTrack track);
  int16_t(QTL_CALL* GetTrackLayer)(QtTrack track);
  void(QTL_CALL* SetTrackLayer)(QtTrack track, int16_t layer);
  QtMedia(QTL_CALL* GetTrackMedia)(QtTrack track);
  void(QTL_CALL* GetMediaHandlerDescription)(QtMedia media, QtType* mediaType);
  int32_t(QTL_CALL* GetMediaTimeScale)(QtMedia media);
  QtErr(QTL_CALL* InsertTrackSegment)(QtTrack from, QtTrack to, int32_t fromStart,
                                      int32_t fromDuration, int32_t toStart);
  QtErr(QTL_CALL* CopyTrackSettings)(QtTrack from, QtTrack to);
  void(QTL_CALL* SetTrackEnabled)(QtTrack track, int enabled);
  QtErr(QTL_CALL* ScaleTrackSegment)(QtTrack track, int32_t start, int32_t oldDuration,
                                     int32_t newDuration);
  int32_t(QTL_CALL* GetTrackDuration)(QtTrack track);
  QtErr(QTL_CALL* AddTrackReference)(QtTrack track, QtTrack referenced, QtType type,
                                     int32_t* index);
  // Atom containers: a container is a handle; atoms are offsets in it.
  QtErr(QTL_CALL* NewAtomContainer)(QtHandle* container);
  QtErr(QTL_CALL* InsertChild)(QtHandle container, QtAtom parent, QtType type, int32_t id,
                               int16_t index, int32_t size, const void* data, QtAtom* child);
  QtErr(QTL_CALL* GetAtomTypeAndID)(QtHandle container, QtAtom atom, QtType* type, int32_t* id);
  QtErr(QTL_CALL* DisposeAtomContainer)(QtHandle container);
  // User data and flattening.
  QtErr(QTL_CALL* SetMovieUserDataItem)(QtMovie movie, QtType type, const void* data,
                                        int32_t size);
  void(QTL_CALL* SetMovieProgressProc)(QtMovie movie, QtProgressProc proc, void* refCon);
  QtMovie(QTL_CALL* FlattenMovieData)(QtMovie movie, int32_t flattenFlags, const QtFileName* file,
                                      QtType creator, int16_t script, int32_t createFlags);
  QtErr(QTL_CALL* GetMoviesError)(void);
};

/// The feature query: 'qtim' gives the layer's version, 'qtvr' bit 0 set when
/// panorama movies can be written, 'qtvv' the panorama format's version.
typedef QtErr(QTL_CALL* QtFeatureQueryFn)(QtType selector, int32_t* response);
/// Start (1) and stop (0) of the layer; starts nest.
typedef QtErr(QTL_CALL* QtStartStopFn)(int32_t start);

}  // extern "C"

/// The layer's table, for code linked with it directly (the native build).
const QtDispatch* QtLayerDispatch();
QtErr QTL_CALL QtLayerFeature(QtType selector, int32_t* response);
QtErr QTL_CALL QtLayerStartStop(int32_t start);

/// A four-character code from its text.
constexpr QtType QtFourCC(const char (&text)[5]) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(text[3]));
}

#endif  // PLATFORM_QUICKTIME_QUICKTIME_H
