#include "frontend/EpdFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "frontend/ConsoleIO.h"

namespace {

// No EPD line comes near this; a file whose line never ends (a device, a
// huge sparse file) is refused as unreadable instead of filling memory.
constexpr size_t MaxFileLine = size_t{1} << 20;

[[noreturn]] void RaiseFileError(int error) {
  const char* message = "File not found";
  if (error == EACCES || error == EPERM || error == EISDIR) message = "Access denied";
  else if (error == EFBIG) message = "I/O error: line longer than 1 MiB";
  else if (error != ENOENT && error != ENOTDIR && error != 0) message = "I/O error";
  FlushText();
  std::fprintf(stderr, "%s\n", message);
  std::fflush(stderr);
  std::exit(1);
}

// Opening never waits: a FIFO without a writer would otherwise block here for
// good. Once open, reads wait as usual; such a FIFO reads as an empty file.
int OpenWithoutWaiting(const std::string& name) {
  // An empty name names no file.
  if (name.empty()) RaiseFileError(ENOENT);
  int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) RaiseFileError(errno);
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) RaiseFileError(errno);
  return fd;
}

}  // namespace

// A directory opens for reading here but holds no lines: refuse it at once.
FILE* OpenEpdFile(const std::string& name) {
  int fd = OpenWithoutWaiting(name);
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) RaiseFileError(EISDIR);
  FILE* file = fdopen(fd, "r");
  if (file == nullptr) RaiseFileError(errno);
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
    if (line.size() == MaxFileLine) RaiseFileError(EFBIG);
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
