#include "frontend/EpdFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "frontend/ConsoleIO.h"

namespace {

[[noreturn]] void RaiseFileError(int error) {
  const char* message = "File not found";
  if (error == EACCES || error == EPERM || error == EISDIR) message = "Access denied";
  else if (error != ENOENT && error != ENOTDIR && error != 0) message = "I/O error";
  FlushText();
  std::fprintf(stderr, "%s\n", message);
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace

// A directory opens for reading here but holds no lines: refuse it at once.
FILE* OpenEpdFile(const std::string& name) {
  // An empty name names no file.
  errno = ENOENT;
  FILE* file = name.empty() ? nullptr : std::fopen(name.c_str(), "r");
  if (file == nullptr) RaiseFileError(errno);
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) RaiseFileError(EISDIR);
  return file;
}

std::string ReadFileLine(FILE* file) {
  std::string line;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c == '\n') break;
    if (c == '\r') {
      int next = std::getc(file);
      if (next != '\n' && next != EOF) std::ungetc(next, file);
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file)) RaiseFileError(errno);
  return line;
}

bool AtEndOfFile(FILE* file) {
  int c = std::getc(file);
  if (c == EOF) {
    if (std::ferror(file)) RaiseFileError(errno);
    return true;
  }
  std::ungetc(c, file);
  return false;
}
