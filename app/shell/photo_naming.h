#ifndef APP_SHELL_PHOTO_NAMING_H
#define APP_SHELL_PHOTO_NAMING_H

#include "win32_api.h"

#include <string>

namespace vmd {

/// The stored counter state of acquired-photo naming (USER\CAMERA_DATE and
/// USER\CAMERA_NUM); `has...` is false when the value is absent.
struct CameraCounter {
  bool hasDate = false;
  DWORD date = 0;  ///< day of month + 100 x month (1 to 12)
  bool hasNumber = false;
  DWORD number = 0;
};

/// The result of naming one photo: the file name ("Jan05_001.jpg" style,
/// eight characters and ".jpg") and the values to store afterwards.
struct AcquiredPhotoName {
  std::string fileName;
  bool storeDate = false;  ///< true when the counter restarted: store `date`
  DWORD date = 0;
  DWORD nextNumber = 0;  ///< always stored as the new CAMERA_NUM
};

/// Names a photo acquired on `today` (wDay, wMonth 1-12, wYear). The counter
/// continues from `stored` when it lies in 1 to 999 and the stored date is
/// today's; otherwise it restarts at 1.
AcquiredPhotoName NameAcquiredPhoto(const CameraCounter& stored, const SYSTEMTIME& today);

}  // namespace vmd

#endif  // APP_SHELL_PHOTO_NAMING_H
