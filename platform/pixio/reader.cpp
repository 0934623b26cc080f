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
    // One allocation of the file's size where it can be told, not a doubling
    // vector that would hold up to twice a big file.
#if defined(_WIN32)
    const bool sized = _fseeki64(f, 0, SEEK_END) == 0;
    const long long length = sized ? _ftelli64(f) : -1;
#else
    const bool sized = fseeko(f, 0, SEEK_END) == 0;
    const long long length = sized ? static_cast<long long>(ftello(f)) : -1;
#endif
    std::rewind(f);
    if (length > static_cast<long long>(kMaxFileBytes)) ok = false;
    if (ok && length > 0) bytes.reserve(static_cast<size_t>(length));
    uint8_t chunk[65536];
    while (ok) {
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
