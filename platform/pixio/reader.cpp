#include "reader.h"

#include <cctype>
#include <cstdio>
#include <new>

#if defined(_WIN32)
#include "win32_api.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pixio {

bool LoadFile(const char* path, std::vector<uint8_t>* out) {
  if (!path || !*path) return false;
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::vector<uint8_t> bytes;
  bool ok = true;
  try {
    uint8_t chunk[65536];
    for (;;) {
      const size_t n = std::fread(chunk, 1, sizeof chunk, f);
      if (n == 0) break;
      if (bytes.size() + n > kMaxFileBytes) {
        ok = false;
        break;
      }
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(f)) ok = false;
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  std::fclose(f);
  if (!ok) return false;
  *out = std::move(bytes);
  return true;
}

namespace {

/// The folder part of a path with its trailing separator, or "" for a bare name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WriteAll(FILE* f, const std::vector<uint8_t>& bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return false;
  return std::fflush(f) == 0;
}

}  // namespace

bool SaveFileSafely(const char* path, const std::vector<uint8_t>& bytes) {
  if (!path || !*path) return false;
  const std::string target(path);
  const std::string folder = FolderOf(target);
#if defined(_WIN32)
  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "pxo", 0, temp)) return false;
  FILE* f = std::fopen(temp, "wb");
  if (!f) {
    DeleteFileA(temp);
    return false;
  }
  const bool written = WriteAll(f, bytes);
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed || !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temp);
    return false;
  }
  return true;
#else
  std::string pattern = folder + ".pixio-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    close(fd);
    unlink(name.data());
    return false;
  }
  const bool written = WriteAll(f, bytes) && fsync(fileno(f)) == 0;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    unlink(name.data());
    return false;
  }
  // mkstemp makes the file private; a saved picture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(name.data(), 0666 & ~mask);
  if (std::rename(name.data(), path) != 0) {
    unlink(name.data());
    return false;
  }
  return true;
#endif
}

std::string LowerExtension(const char* path) {
  if (!path) return std::string();
  const std::string p(path);
  const size_t dot = p.find_last_of('.');
  const size_t slash = p.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = p.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace pixio
