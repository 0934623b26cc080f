#include "photo_naming.h"

namespace vmd {

AcquiredPhotoName NameAcquiredPhoto(const CameraCounter& stored, const SYSTEMTIME& today) {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  static const char kYearMarks[] = "_#-^$";
  int month = today.wMonth >= 1 && today.wMonth <= 12 ? today.wMonth : 1;
  DWORD todayCode = static_cast<DWORD>(today.wDay) + 100u * static_cast<DWORD>(month);
  DWORD counter = 1;
  if (stored.hasNumber && stored.number >= 1 && stored.number <= 999 && stored.hasDate &&
      stored.date == todayCode)
    counter = stored.number;

  char name[16];
  name[0] = kMonths[(month - 1) * 3];
  name[1] = kMonths[(month - 1) * 3 + 1];
  name[2] = kMonths[(month - 1) * 3 + 2];
  name[3] = static_cast<char>('0' + today.wDay / 10 % 10);
  name[4] = static_cast<char>('0' + today.wDay % 10);
  if (counter >= 100) {
    name[5] = static_cast<char>('0' + counter / 100 % 10);
  } else {
    int yearsSince1900 = today.wYear >= 1900 ? today.wYear - 1900 : 0;
    name[5] = kYearMarks[(yearsSince1900 + 3) % 5];
  }
  name[6] = static_cast<char>('0' + counter / 10 % 10);
  name[7] = static_cast<char>('0' + counter % 10);
  name[8] = '\0';

  AcquiredPhotoName result;
  result.fileName = std::string(name) + ".jpg";
  result.storeDate = counter == 1;
  result.date = todayCode;
  result.nextNumber = counter + 1;
  return result;
}

}  // namespace vmd
