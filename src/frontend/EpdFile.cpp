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
constexpr char LineTooLong[] = "I/O error: line longer than 1 MiB";

constexpr char FileNotFound[] = "File not found";
constexpr char AccessDenied[] = "Access denied";
constexpr char ReadFailed[] = "I/O error";

// The user is told what to look at, not the system's reason: the name, the
// permissions, or the file or device itself. A failure that leaves no errno
// is taken for a missing file.
const char* ErrnoMessage(int error) {
  if (error == EACCES || error == EPERM || error == EISDIR) return AccessDenied;
  if (error == ENOENT || error == ENOTDIR || error == 0) return FileNotFound;
  return ReadFailed;
}

[[noreturn]] void RaiseFileError(const char* message) {
  FlushText();
  std::fprintf(stderr, "%s\n", message);
  std::fflush(stderr);
  std::exit(1);
}

// Opening never waits: a FIFO without a writer would otherwise block here for
// good. Once open, reads wait as usual; such a FIFO reads as an empty file.
int OpenWithoutWaiting(const std::string& name) {
  // An empty name names no file.
  if (name.empty()) RaiseFileError(FileNotFound);
  int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) RaiseFileError(ErrnoMessage(errno));
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) RaiseFileError(ErrnoMessage(errno));
  return fd;
}

}  // namespace

// A directory opens for reading here but holds no lines: refuse it at once.
FILE* OpenEpdFile(const std::string& name) {
  int fd = OpenWithoutWaiting(name);
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) RaiseFileError(AccessDenied);
  FILE* file = fdopen(fd, "r");
  if (file == nullptr) RaiseFileError(ErrnoMessage(errno));
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
    if (line.size() == MaxFileLine) RaiseFileError(LineTooLong);
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file)) RaiseFileError(ErrnoMessage(errno));
  return line;
}

bool AtEndOfFile(FILE* file) {
  int c = std::getc(file);
  if (c == EOF) {
    if (std::ferror(file)) RaiseFileError(ErrnoMessage(errno));
    return true;
  }
  std::ungetc(c, file);
  return false;
}
