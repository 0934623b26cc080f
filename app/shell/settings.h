#ifndef APP_SHELL_SETTINGS_H
#define APP_SHELL_SETTINGS_H

#include <windows.h>

#include <string>

#include "folder_tracking.h"
#include "folders.h"
#include "settings_table.h"

namespace vmd {

/// Where the settings live. The program uses DefaultSettingsEnvironment();
/// tests point every part of it at scratch registry branches and folders.
struct SettingsEnvironment {
  HKEY userRoot = HKEY_CURRENT_USER;
  HKEY machineRoot = HKEY_LOCAL_MACHINE;  ///< read only: machine-wide start values
  std::string branch = "Software\\Quorvex\\Vistameld 3.0";
  std::string machineBranch = "Software\\Quorvex\\Vistameld 3.0";  ///< under machineRoot
  /// The older product's branch under userRoot, where the album head rows live.
  std::string olderBranch = "Software\\Quorvex\\Vistameld 2000";
  std::string programFolder;  ///< without the trailing backslash
  std::string windowsFolder;  ///< without the trailing backslash
  std::string productName = "Vistameld";
  std::string productVersion = "3.0.0.1";  ///< from the program's version resource
  DWORD osVersion = 0;                     ///< as GetVersion reports it
  SpecialFolderFn specialFolder = ShellSpecialFolder;
  std::string iniFile = "vmd3.ini";  ///< a bare name: the profile rules find it in the Windows folder
  std::string setFile;               ///< "vmd3.set" in the program folder
};

/// The environment of the running program: its own folder and version
/// resource, the real registry roots and the shell's folder service.
SettingsEnvironment DefaultSettingsEnvironment();

/// The process-wide environment (the program's default until replaced).
const SettingsEnvironment& Settings();
void SetSettingsEnvironment(const SettingsEnvironment& environment);

// --- the registry table -----------------------------------------------------

/// The registry path of a key of the user branch ("branch\key").
std::string SettingKeyPath(const char* key);
/// Reads a value of the table; the row's default when absent (false when it
/// has none). Folder defaults come from the folder service.
bool ReadSettingString(Setting id, std::string* value);
bool ReadSettingDword(Setting id, DWORD* value);
bool WriteSettingString(Setting id, const std::string& value);
bool WriteSettingDword(Setting id, DWORD value);
/// The default of a row, resolved now; false for rows without one.
bool SettingDefaultString(Setting id, std::string* value);
bool SettingDefaultDword(Setting id, DWORD* value);

// --- profile files ----------------------------------------------------------

int ReadProfileSettingInt(ProfileSetting id);
std::string ReadProfileSettingText(ProfileSetting id);
/// An integer of section "USER" of "vmd3.ini".
int ReadProfileInt(const char* key, int defaultValue);
/// The switches read at static initialisation (ReadStartSwitches).
bool NoGif();
bool NoLumacove();
/// Reads NOLUMACOVE and NOGIF from "vmd3.set"; static initialisation calls it.
void ReadStartSwitches();
/// The path of "vmd3.set", made once and kept for the run.
const std::string& SetFilePath();

// --- folders ----------------------------------------------------------------

/// A special folder through the environment's folder service; the program
/// folder stands in for an application data folder the service cannot give.
std::string SpecialFolder(SpecialFolderKind kind);
/// The user's data folder: application data\Quorvex\product\version (on
/// Windows 95 the program folder). Not created here.
std::string UserDataFolder();
/// The user's data folder joined with a name.
std::string UserDataPath(const std::string& name);
/// The user's album folder ("palbums" in the user's data folder).
std::string AlbumFolder();

// --- the interface of the other parts of the program ------------------------

/// which: 1 = FILELASTDIR, 0 = ALBUMLASTDIR. Read with a 256-byte buffer;
/// false (and `folder` empty) when unreadable.
bool ReadLastFolder(std::string* folder, int which);
/// Stores the path up to its last backslash ("C:\x.jpg" stores "C:").
bool WriteLastFolder(const std::string& filePath, int which);
bool ReadStiDeviceName(std::string* name);
bool WriteStiDeviceName(const std::string& name);

/// The WM_CREATE step of the main window: creates the branch for a new user
/// (sample albums, keys, machine-wide start values), copies the sample albums
/// when the album folder is missing, and tracks the special folders.
void LoadSettings();

/// Folder tracking alone (part of LoadSettings): records the folders, and
/// after an operating-system upgrade rewrites the album paths first.
void TrackFolders();

/// The four folders as they are now, for the given stored version.
TrackedFolders CurrentFolders(DWORD storedVersion);

/// A name for a photo acquired now, joined to `folder`; updates the counter.
std::string MakeAcquiredPhotoName(const std::string& folder);
/// The same for a given day (tests).
std::string MakeAcquiredPhotoNameOn(const std::string& folder, const SYSTEMTIME& today);

}  // namespace vmd

#endif  // APP_SHELL_SETTINGS_H
