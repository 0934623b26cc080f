#include "replace_file.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vmd {
namespace {

bool MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string scratch = path + ".part";
  std::FILE* file = std::fopen(scratch.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed && MoveOver(scratch, path)) return true;
  std::remove(scratch.c_str());
  return false;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  bytes->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadWholeFile(from, &bytes) && WriteFileReplacing(to, bytes);
}

}  // namespace vmd
