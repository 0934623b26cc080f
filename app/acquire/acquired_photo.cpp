#include "acquired_photo.h"

#include "folders.h"
#include "pixio.h"
#include "settings.h"

namespace vmd {

std::string AcquisitionFolder() {
  std::string folder = ReadProfileSettingText(ProfileSetting::kDefaultTwainDir);
  if (folder.empty()) folder = SpecialFolder(SpecialFolderKind::kDocuments);
  if (!folder.empty() && !FolderExists(folder)) CreateFolderChain(folder);
  return folder;
}

bool WriteAcquiredPhoto(HGLOBAL dib, std::string* path) {
  *path = MakeAcquiredPhotoName(AcquisitionFolder());
  return ImgSaveFile(dib, path->c_str()) != 0;
}

}  // namespace vmd
