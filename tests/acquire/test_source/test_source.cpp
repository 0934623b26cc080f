// A TWAIN data source for the real-window tests: it serves the BMP pictures
// of a folder (in name order) by native or memory transfer, says when it has
// no more, never shows an interface of its own, and writes each request it
// answers to a log. Its configuration, "vmd_test_source.ini" beside the DLL,
// names them:
//   [source]  Folder=C:\pictures   Log=C:\source.log   Name=<product name>
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "twain_types.h"

using namespace vmd;

namespace {

struct Source {
  TW_IDENTITY self = {};
  TW_IDENTITY application = {};
  std::vector<std::string> pictures;
  size_t next = 0;             ///< the picture transferred next
  TW_UINT16 mechanism = TWSX_NATIVE;
  HGLOBAL current = nullptr;   ///< the picture of a memory transfer under way
  int rowsSent = 0;
  bool enabled = false;
  std::string log;
};
Source g_source;
HMODULE g_module = nullptr;

std::string ConfigPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_module, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\') + 1) + "vmd_test_source.ini";
}

std::string ConfigValue(const char* key, const char* fallback) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA("source", key, fallback, value, MAX_PATH, ConfigPath().c_str());
  return value;
}

void Log(const char* format, ...) {
  if (g_source.log.empty()) return;
  FILE* file = std::fopen(g_source.log.c_str(), "a");
  if (file == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}

void FillIdentity(TW_IDENTITY* identity) {
  const TW_UINT32 id = identity->Id;
  std::memset(identity, 0, sizeof *identity);
  identity->Id = id;
  identity->Version.MajorNum = 1;
  identity->Version.Language = TWLG_USA;
  identity->Version.Country = TWCY_USA;
  std::strcpy(identity->Version.Info, "1.0");
  identity->ProtocolMajor = TWON_PROTOCOLMAJOR;
  identity->ProtocolMinor = TWON_PROTOCOLMINOR;
  identity->SupportedGroups = DG_CONTROL | DG_IMAGE;
  std::strcpy(identity->Manufacturer, "Vistameld tests");
  std::strcpy(identity->ProductFamily, "Test sources");
  const std::string name = ConfigValue("Name", "Vistameld Test Scanner");
  std::strncpy(identity->ProductName, name.c_str(), sizeof identity->ProductName - 1);
}

void FindPictures() {
  g_source.pictures.clear();
  g_source.next = 0;
  const std::string folder = ConfigValue("Folder", "");
  if (folder.empty()) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do g_source.pictures.push_back(folder + "\\" + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(g_source.pictures.begin(), g_source.pictures.end());
}

/// A picture file as a 24-bit DIB in a movable block, or null.
HGLOBAL ReadPicture(const std::string& path) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return nullptr;
  BITMAP facts = {};
  GetObjectA(bitmap, sizeof facts, &facts);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = facts.bmWidth;
  header.biHeight = facts.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (facts.bmWidth * 3 + 3) & ~3u;
  header.biSizeImage = stride * facts.bmHeight;
  HGLOBAL dib = GlobalAlloc(GHND, sizeof header + header.biSizeImage);
  if (dib != nullptr) {
    auto* bytes = static_cast<BYTE*>(GlobalLock(dib));
    std::memcpy(bytes, &header, sizeof header);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, facts.bmHeight, bytes + sizeof header,
              reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(dib);
  }
  DeleteObject(bitmap);
  return dib;
}

TW_UINT16 Pending() { return static_cast<TW_UINT16>(g_source.pictures.size() - g_source.next); }

/// Tells the application, through the source manager, what the source asks for.
void Signal(TW_UINT16 message) {
  HMODULE manager = GetModuleHandleA("twain_32.dll");
  auto entry = manager != nullptr ? reinterpret_cast<DsmEntryFn>(reinterpret_cast<void*>(
                                        GetProcAddress(manager, "DSM_Entry")))
                                  : nullptr;
  if (entry != nullptr) entry(&g_source.self, &g_source.application, DG_CONTROL, DAT_NULL, message, nullptr);
}

void DropCurrent() {
  if (g_source.current != nullptr) GlobalFree(g_source.current);
  g_source.current = nullptr;
  g_source.rowsSent = 0;
}

bool CurrentSize(int* width, int* height) {
  if (g_source.current == nullptr && g_source.next < g_source.pictures.size())
    g_source.current = ReadPicture(g_source.pictures[g_source.next]);
  if (g_source.current == nullptr) return false;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(g_source.current));
  *width = header->biWidth;
  *height = header->biHeight;
  GlobalUnlock(g_source.current);
  return true;
}

/// A strip of top-down RGB rows of the current picture into the
/// application's buffer.
TW_UINT16 MemoryStrip(TW_IMAGEMEMXFER* strip) {
  int width = 0, height = 0;
  if (!CurrentSize(&width, &height)) return TWRC_FAILURE;
  const TW_UINT32 rowBytes = static_cast<TW_UINT32>(width) * 3;
  const int fit = static_cast<int>(strip->Memory.Length / rowBytes);
  const int rows = std::min(fit, height - g_source.rowsSent);
  if (rows < 1 || strip->Memory.TheMem == nullptr) return TWRC_FAILURE;
  auto* base = static_cast<BYTE*>(GlobalLock(g_source.current)) + sizeof(BITMAPINFOHEADER);
  const DWORD stride = (rowBytes + 3) & ~3u;
  auto* out = static_cast<BYTE*>(strip->Memory.TheMem);
  for (int r = 0; r < rows; ++r) {
    const BYTE* from = base + stride * (height - 1 - (g_source.rowsSent + r));
    for (int x = 0; x < width; ++x) {
      out[r * rowBytes + x * 3] = from[x * 3 + 2];
      out[r * rowBytes + x * 3 + 1] = from[x * 3 + 1];
      out[r * rowBytes + x * 3 + 2] = from[x * 3];
    }
  }
  GlobalUnlock(g_source.current);
  strip->Compression = TWCP_NONE;
  strip->BytesPerRow = rowBytes;
  strip->Columns = static_cast<TW_UINT32>(width);
  strip->Rows = static_cast<TW_UINT32>(rows);
  strip->XOffset = 0;
  strip->YOffset = static_cast<TW_UINT32>(g_source.rowsSent);
  strip->BytesWritten = rowBytes * static_cast<TW_UINT32>(rows);
  g_source.rowsSent += rows;
  Log("memory strip %d rows", rows);
  if (g_source.rowsSent < height) return TWRC_SUCCESS;
  DropCurrent();
  return TWRC_XFERDONE;
}

TW_UINT16 Control(TW_IDENTITY* origin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
  switch (dat) {
    case DAT_IDENTITY:
      if (msg == MSG_GET) {
        FillIdentity(static_cast<TW_IDENTITY*>(data));
        return TWRC_SUCCESS;
      }
      if (msg == MSG_OPENDS) {
        g_source.log = ConfigValue("Log", "");
        FillIdentity(static_cast<TW_IDENTITY*>(data));
        g_source.self = *static_cast<TW_IDENTITY*>(data);
        if (origin != nullptr) g_source.application = *origin;
        g_source.mechanism = TWSX_NATIVE;
        FindPictures();
        Log("open %u pictures", static_cast<unsigned>(g_source.pictures.size()));
        return TWRC_SUCCESS;
      }
      if (msg == MSG_CLOSEDS) {
        DropCurrent();
        Log("close");
        return TWRC_SUCCESS;
      }
      return TWRC_FAILURE;
    case DAT_CAPABILITY: {
      auto* cap = static_cast<TW_CAPABILITY*>(data);
      if (msg != MSG_SET || cap->Cap != ICAP_XFERMECH || cap->ConType != TWON_ONEVALUE) return TWRC_FAILURE;
      auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(static_cast<HGLOBAL>(cap->hContainer)));
      const TW_UINT32 mechanism = value != nullptr ? value->Item : 0xFFFF;
      GlobalUnlock(static_cast<HGLOBAL>(cap->hContainer));
      if (mechanism != TWSX_NATIVE && mechanism != TWSX_MEMORY) return TWRC_FAILURE;
      g_source.mechanism = static_cast<TW_UINT16>(mechanism);
      Log("mechanism %s", mechanism == TWSX_MEMORY ? "memory" : "native");
      return TWRC_SUCCESS;
    }
    case DAT_USERINTERFACE: {
      auto* ui = static_cast<TW_USERINTERFACE*>(data);
      if (msg == MSG_ENABLEDS) {
        // No interface of its own, asked for or not: the pictures are ready.
        g_source.enabled = true;
        Log("enable showui=%d", ui->ShowUI ? 1 : 0);
        Signal(Pending() > 0 ? MSG_XFERREADY : MSG_CLOSEDSREQ);
        return TWRC_SUCCESS;
      }
      if (msg == MSG_DISABLEDS) {
        g_source.enabled = false;
        Log("disable");
        return TWRC_SUCCESS;
      }
      return TWRC_FAILURE;
    }
    case DAT_EVENT:
      static_cast<TW_EVENT*>(data)->TWMessage = MSG_NULL;
      return TWRC_NOTDSEVENT;
    case DAT_PENDINGXFERS: {
      auto* pending = static_cast<TW_PENDINGXFERS*>(data);
      DropCurrent();
      if (msg == MSG_ENDXFER && g_source.next < g_source.pictures.size()) ++g_source.next;
      if (msg == MSG_RESET) g_source.next = g_source.pictures.size();
      pending->Count = Pending();
      Log("%s pending %u", msg == MSG_RESET ? "reset" : "end", pending->Count);
      return TWRC_SUCCESS;
    }
    case DAT_SETUPMEMXFER: {
      int width = 0, height = 0;
      if (!CurrentSize(&width, &height)) return TWRC_FAILURE;
      // Strips of seven rows, so that a picture comes in several.
      const TW_UINT32 rowBytes = static_cast<TW_UINT32>(width) * 3;
      *static_cast<TW_SETUPMEMXFER*>(data) = TW_SETUPMEMXFER{rowBytes, rowBytes * 64, rowBytes * 7};
      return TWRC_SUCCESS;
    }
    case DAT_STATUS:
      *static_cast<TW_STATUS*>(data) = TW_STATUS{TWCC_SUCCESS, 0};
      return TWRC_SUCCESS;
    default:
      return TWRC_FAILURE;
  }
}

TW_UINT16 Image(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
  if (msg != MSG_GET || g_source.next >= g_source.pictures.size()) return TWRC_FAILURE;
  switch (dat) {
    case DAT_IMAGEINFO: {
      int width = 0, height = 0;
      if (!CurrentSize(&width, &height)) return TWRC_FAILURE;
      TW_IMAGEINFO info = {};
      info.XResolution = TW_FIX32{96, 0};
      info.YResolution = TW_FIX32{96, 0};
      info.ImageWidth = width;
      info.ImageLength = height;
      info.SamplesPerPixel = 3;
      info.BitsPerSample[0] = info.BitsPerSample[1] = info.BitsPerSample[2] = 8;
      info.BitsPerPixel = 24;
      info.PixelType = TWPT_RGB;
      info.Compression = TWCP_NONE;
      *static_cast<TW_IMAGEINFO*>(data) = info;
      return TWRC_SUCCESS;
    }
    case DAT_IMAGENATIVEXFER: {
      if (g_source.mechanism != TWSX_NATIVE) return TWRC_FAILURE;
      HGLOBAL dib = ReadPicture(g_source.pictures[g_source.next]);
      if (dib == nullptr) return TWRC_FAILURE;
      *static_cast<TW_HANDLE*>(data) = dib;
      Log("native %u", static_cast<unsigned>(g_source.next));
      return TWRC_XFERDONE;
    }
    case DAT_IMAGEMEMXFER:
      if (g_source.mechanism != TWSX_MEMORY) return TWRC_FAILURE;
      return MemoryStrip(static_cast<TW_IMAGEMEMXFER*>(data));
    default:
      return TWRC_FAILURE;
  }
}

}  // namespace

extern "C" __declspec(dllexport) TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat,
                                                           TW_UINT16 msg, TW_MEMREF data) {
  if (data == nullptr && !(group == DG_CONTROL && dat == DAT_NULL)) return TWRC_FAILURE;
  if (group == DG_CONTROL) return Control(origin, dat, msg, data);
  if (group == DG_IMAGE) return Image(dat, msg, data);
  return TWRC_FAILURE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}
