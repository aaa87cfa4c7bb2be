// Reply latency of a console command over a pipe: the time from writing a
// command line to reading the whole reply line, 1,000 round trips.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Session {
  pid_t Pid = -1;
  int In = -1, Out = -1;
  std::string Pending;
};

bool StartSession(Session& s) {
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC)) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  char path[] = VELKAR_BINARY;
  char* argv[] = {path, nullptr};
  int rc = posix_spawn(&s.Pid, path, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  s.In = in[1];
  s.Out = out[0];
  return rc == 0;
}

// Reads until the text has arrived; false when the program ended or took over 5 s.
bool ReadUntil(Session& s, const std::string& text) {
  for (;;) {
    size_t at = s.Pending.find(text);
    if (at != std::string::npos) {
      s.Pending.erase(0, at + text.size());
      return true;
    }
    pollfd p{s.Out, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
    char buf[4096];
    ssize_t n = read(s.Out, buf, sizeof buf);
    if (n <= 0) return false;
    s.Pending.append(buf, static_cast<size_t>(n));
  }
}

void StopSession(Session& s) {
  ssize_t ignored = write(s.In, "quit\n", 5);
  (void)ignored;
  close(s.In);
  close(s.Out);
  int status;
  waitpid(s.Pid, &status, 0);
}

void BM_CommandReplyLatency(benchmark::State& state) {
  Session s;
  if (!StartSession(s) || !ReadUntil(s, "list of commands\r\n\r\n")) {
    state.SkipWithError("the program did not start");
    return;
  }
  // A reply with a line of its own that needs no board: the move time line.
  const std::string command = "m 5\n";
  const std::string reply = "Move time set to 5000 mSecs\r\n";
  std::vector<double> micros;
  micros.reserve(1000);
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    if (write(s.In, command.data(), command.size()) != static_cast<ssize_t>(command.size()) ||
        !ReadUntil(s, reply)) {
      state.SkipWithError("no reply");
      break;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  StopSession(s);
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
}
BENCHMARK(BM_CommandReplyLatency)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
