#include "support/ProgramDriver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const std::string InterruptMark = "\x01SIGINT\x01";

int MsUntil(Clock::time_point t) {
  auto d = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
  return d < 0 ? 0 : static_cast<int>(d);
}

// Reads what is there; false once the pipe has reached its end.
bool Drain(int fd, std::string& into) {
  char buf[65536];
  ssize_t n = read(fd, buf, sizeof buf);
  if (n > 0) {
    into.append(buf, static_cast<size_t>(n));
    return true;
  }
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

// Ours, with the settings put in place of any of the same name.
std::vector<char*> Environment(const std::vector<std::string>& settings) {
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) {
    const std::string name = std::string(*e).substr(0, std::string(*e).find('=') + 1);
    auto named = [&](const std::string& setting) { return setting.rfind(name, 0) == 0; };
    if (std::none_of(settings.begin(), settings.end(), named)) env.push_back(*e);
  }
  for (const std::string& setting : settings) env.push_back(const_cast<char*>(setting.c_str()));
  env.push_back(nullptr);
  return env;
}

// Starts the program with the given streams. SIGINT starts ignored when asked,
// else in its default action, whatever the test runner itself was given.
pid_t Spawn(const posix_spawn_file_actions_t& actions, bool ignoreInterrupt,
            const std::vector<std::string>& settings = {}) {
  // An ignored signal stays ignored across the start of a program.
  struct sigaction ignore{}, interrupt{};
  ignore.sa_handler = SIG_IGN;
  if (ignoreInterrupt) sigaction(SIGINT, &ignore, &interrupt);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  if (!ignoreInterrupt) sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  char path[] = VELKAR_BINARY;
  char* argv[] = {path, nullptr};
  pid_t pid;
  int rc = posix_spawn(&pid, path, &actions, &attributes, argv, Environment(settings).data());
  posix_spawnattr_destroy(&attributes);
  if (ignoreInterrupt) sigaction(SIGINT, &interrupt, nullptr);
  if (rc != 0) throw std::runtime_error("cannot start " + std::string(path));
  return pid;
}

// Bytes written to the pipe that its reader has not taken yet.
int Unread(int fd) {
  int n = 0;
  return ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& chunks, int pauseMs, int timeoutMs,
                         const StreamOptions& streams) {
  // A program that quits before taking all its input must not kill the test.
  signal(SIGPIPE, SIG_IGN);

  int in[2], out[2], err[2];
  const bool outFailed = streams.SocketOutput ? socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, out)
                                              : pipe2(out, O_CLOEXEC);
  if (pipe2(in, O_CLOEXEC) || outFailed || pipe2(err, O_CLOEXEC)) throw std::runtime_error("pipe failed");
  // The flag belongs to the pipe end itself, which the program shares.
  if (streams.NonBlockingOutput) fcntl(out[1], F_SETFL, O_NONBLOCK);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  const pid_t pid = Spawn(actions, streams.IgnoreInterrupt, streams.Environment);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  fcntl(in[1], F_SETFL, O_NONBLOCK);

  ProgramResult result{"", "", -1};
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const auto readFrom = Clock::now() + std::chrono::milliseconds(streams.ReadDelayMs);
  size_t chunk = 0, offset = 0;
  auto nextWrite = Clock::now();
  int inFd = in[1];
  bool outOpen = true, errOpen = true;
  Clock::time_point outputClosed{};

  while ((outOpen || errOpen) && Clock::now() < deadline) {
    if (inFd >= 0 && chunk == chunks.size()) {
      result.PeakResidentMB = PeakResidentMB(pid);
      close(inFd);
      inFd = -1;
    }
    bool wantWrite = inFd >= 0 && Clock::now() >= nextWrite;
    if (wantWrite && streams.EachChunkReadFirst && offset == 0 && Unread(inFd) > 0) {
      wantWrite = false;
      nextWrite = Clock::now() + std::chrono::milliseconds(5);
    }
    if (wantWrite && chunks[chunk].rfind(InterruptMark, 0) == 0) {
      wantWrite = false;
      if (EndsWith(result.Out, chunks[chunk].substr(InterruptMark.size()))) {
        kill(pid, SIGINT);
        ++chunk;
        nextWrite = Clock::now() + std::chrono::milliseconds(pauseMs);
        continue;
      }
      nextWrite = Clock::now() + std::chrono::milliseconds(5);
    }
    const bool reading = Clock::now() >= readFrom;
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {wantWrite ? inFd : -1, POLLOUT, 0}};
    if (!outOpen || !reading) fds[0].fd = -1;
    if (!errOpen || !reading) fds[1].fd = -1;
    int wait = MsUntil(deadline);
    if (inFd >= 0 && !wantWrite) wait = std::min(wait, MsUntil(nextWrite));
    if (!reading) wait = std::min(wait, MsUntil(readFrom));
    if (poll(fds, 3, wait) < 0 && errno != EINTR) break;

    if (fds[0].revents) outOpen = Drain(out[0], result.Out);
    if (fds[1].revents) errOpen = Drain(err[0], result.Err);
    if (outOpen && !streams.CloseOutputOnceShown.empty() &&
        result.Out.find(streams.CloseOutputOnceShown) != std::string::npos) {
      close(out[0]);
      outOpen = false;
      outputClosed = Clock::now();
      if (streams.CloseInputToo) {
        // A moment later, so the program finds its reader gone before its input ends.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        close(inFd);
        inFd = -1;
        chunk = chunks.size();
      }
    }
    if (wantWrite && fds[2].revents) {
      const std::string& c = chunks[chunk];
      ssize_t n = c.size() > offset ? write(inFd, c.data() + offset, c.size() - offset) : 0;
      if (n < 0 && errno != EAGAIN && errno != EINTR) {
        chunk = chunks.size();  // the program closed its input: nothing more to say
      } else {
        if (n > 0) offset += static_cast<size_t>(n);
        if (offset >= c.size()) {
          ++chunk;
          offset = 0;
          nextWrite = Clock::now() + std::chrono::milliseconds(chunk < chunks.size() ? pauseMs : 0);
        }
      }
    }
  }

  const bool ended = !(outOpen || errOpen);
  if (ended && outputClosed != Clock::time_point{})
    result.MsFromOutputClosedToEnd = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - outputClosed).count());
  if (inFd >= 0) close(inFd);
  if (outputClosed == Clock::time_point{}) close(out[0]);
  close(err[0]);
  int status = 0;
  if (!ended) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  if (WIFEXITED(status) && ended) result.ExitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status) && ended) result.EndSignal = WTERMSIG(status);
  return result;
}

ProgramResult RunProgram(const std::string& input) { return RunProgram(std::vector<std::string>{input}); }

std::string InterruptAfter(const std::string& outputTail) { return InterruptMark + outputTail; }

std::string StartupText() {
  return "Velkar 0.5.9 RND\r\n"
         "HASH: size=256MB slots=16,777,219\r\n\r\n"
         "\r\nType ? or HELP to get a list of commands\r\n\r\n";
}

double PeakResidentMB(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string word;
  while (status >> word)
    if (word == "VmHWM:") {
      double kB = 0;
      status >> kB;
      return kB / 1024;
    }
  return 0;
}

std::vector<std::string> PagedIsReadyStream(size_t minLines, size_t& lines) {
  std::string page = "eady\n";
  while (page.size() < 4093) page += "isready\n";
  page += "isr";
  const size_t perPage = 512, pages = (minLines + perPage - 2) / perPage;
  lines = perPage * pages + 1;
  std::vector<std::string> stream = {"isr"};
  stream.resize(pages + 1, page);
  stream.push_back("eady\n");
  return stream;
}

std::string ConversionErrorText(const std::string& text) { return "'" + text + "' is not a valid integer value\n"; }

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

ProgramResult RunProgramOnTerminal(const std::string& typedBeforeStart, const std::vector<std::string>& chunks,
                                   const std::vector<std::string>& waitFor, int timeoutMs,
                                   const TerminalOptions& terminal) {
  signal(SIGPIPE, SIG_IGN);
  int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) || unlockpt(master)) throw std::runtime_error("no pseudo-terminal");
  int slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) throw std::runtime_error("cannot open the terminal");
  termios mode;
  tcgetattr(slave, &mode);
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL);
  mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  if (!terminal.LineMode) {
    mode.c_lflag &= ~static_cast<tcflag_t>(ICANON);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
  }
  tcsetattr(slave, TCSANOW, &mode);
  if (!typedBeforeStart.empty() &&
      write(master, typedBeforeStart.data(), typedBeforeStart.size()) != static_cast<ssize_t>(typedBeforeStart.size()))
    throw std::runtime_error("cannot type ahead");

  int err[2];
  if (pipe2(err, O_CLOEXEC)) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, slave, 0);
  posix_spawn_file_actions_adddup2(&actions, slave, 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  const pid_t pid = Spawn(actions, false);
  posix_spawn_file_actions_destroy(&actions);
  close(slave);
  close(err[1]);

  ProgramResult result{"", "", -1};
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t chunk = 0;
  bool outOpen = true, errOpen = true;
  auto nextWrite = Clock::now();
  while ((outOpen || errOpen) && Clock::now() < deadline) {
    while (chunk < chunks.size() && Clock::now() >= nextWrite &&
           (chunk >= waitFor.size() || EndsWith(result.Out, waitFor[chunk]))) {
      const std::string& c = chunks[chunk];
      if (c.rfind(InterruptMark, 0) == 0) {
        if (!EndsWith(result.Out, c.substr(InterruptMark.size()))) break;
        ++chunk;
        kill(pid, SIGINT);
        continue;
      }
      ++chunk;
      if (write(master, c.data(), c.size()) != static_cast<ssize_t>(c.size())) break;
      nextWrite = Clock::now() + std::chrono::milliseconds(terminal.PauseMs);
    }
    pollfd fds[2] = {{outOpen ? master : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
    int wait = MsUntil(deadline);
    if (chunk < chunks.size() && Clock::now() < nextWrite) wait = std::min(wait, MsUntil(nextWrite) + 1);
    if (poll(fds, 2, wait) < 0 && errno != EINTR) break;
    // A terminal whose other side has closed reads as an error, not as an end.
    if (fds[0].revents) {
      char buf[65536];
      ssize_t n = read(master, buf, sizeof buf);
      if (n > 0)
        result.Out.append(buf, static_cast<size_t>(n));
      else if (!(n < 0 && errno == EINTR))
        outOpen = false;
    }
    if (fds[1].revents) errOpen = Drain(err[0], result.Err);
  }
  close(master);
  close(err[0]);
  int status = 0;
  if (outOpen || errOpen) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  if (WIFEXITED(status) && !(outOpen || errOpen)) result.ExitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status) && !(outOpen || errOpen)) result.EndSignal = WTERMSIG(status);
  return result;
}
