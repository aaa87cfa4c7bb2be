// Put in front of the C library in the program under test (LD_PRELOAD): every
// disposition the program sets for SIGINT, through signal or sigaction, is
// appended as a line ("ignore", "default" or "handler") to the file that
// VELKAR_SIGINT_LOG names, and then set as asked. A test so sees what the
// program did, not just what a signal that happened to arrive met.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

// Plain system calls but for getenv, which only reads: the program may set a
// disposition inside its signal handler. The real routines are looked up at
// the first call, which comes at start-up, outside any handler.
void Record(const char* what) {
  const char* path = std::getenv("VELKAR_SIGINT_LOG");
  if (!path) return;
  int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  ssize_t written = write(fd, what, std::strlen(what));
  (void)written;
  close(fd);
}

const char* Disposition(void (*handler)(int)) {
  return handler == SIG_IGN ? "ignore\n" : handler == SIG_DFL ? "default\n" : "handler\n";
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" sighandler_t signal(int number, sighandler_t handler) {
  static const auto real = Real<sighandler_t (*)(int, sighandler_t)>("signal");
  if (number == SIGINT) Record(Disposition(handler));
  return real(number, handler);
}

extern "C" int sigaction(int number, const struct sigaction* action, struct sigaction* old) {
  static const auto real = Real<int (*)(int, const struct sigaction*, struct sigaction*)>("sigaction");
  if (number == SIGINT && action)
    Record((action->sa_flags & SA_SIGINFO) ? "handler\n" : Disposition(action->sa_handler));
  return real(number, action, old);
}
