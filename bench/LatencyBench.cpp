// Latencies over a pipe: the time from writing a console command line to
// reading the whole reply line, 1,000 round trips; the time from start to
// the first prompt with the peak resident memory by then, beside a well-known
// engine's start-up with a table of the same size as a yardstick; and UCI
// round trips beside the same engine; bursts of "isready" lines in one write.
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
#include <thread>
#include <vector>

#include "Yardstick.h"
#include "support/ProgramDriver.h"

extern char** environ;

namespace {

struct Session {
  pid_t Pid = -1;
  int In = -1, Out = -1;
  std::string Pending;
};

bool StartSession(Session& s, const char* program = VELKAR_BINARY) {
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC)) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  std::string path = program;
  char* argv[] = {path.data(), nullptr};
  int rc = posix_spawn(&s.Pid, path.c_str(), &actions, nullptr, argv, environ);
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

struct StartupFigures {
  double Ms;
  double PeakMB;
};

// Starts a program, sends it the input at once and waits for the text that
// says it is ready for commands.
bool TimeStartup(const char* program, const std::string& input, const std::string& ready, StartupFigures& f) {
  Session s;
  auto start = std::chrono::steady_clock::now();
  bool ok = StartSession(s, program) &&
            write(s.In, input.data(), input.size()) == static_cast<ssize_t>(input.size()) && ReadUntil(s, ready);
  f.Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  f.PeakMB = ok ? PeakResidentMB(s.Pid) : 0;
  StopSession(s);
  return ok;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Velkar to its prompt, the 256 MB table sized on the way; each round also
// starts the yardstick with the same table size, when it is installed.
void BM_StartupToPrompt(benchmark::State& state) {
  LabelYardstickSkipped(state);
  const char* yardstick = YardstickPath;
  const bool withYardstick = YardstickInstalled();
  std::vector<double> ms, yardstickMs;
  double peak = 0, yardstickPeak = 0;
  for (auto _ : state) {
    StartupFigures f;
    if (!TimeStartup(VELKAR_BINARY, "", "list of commands\r\n\r\n", f)) {
      state.SkipWithError("the program did not start");
      return;
    }
    state.SetIterationTime(f.Ms / 1000);
    ms.push_back(f.Ms);
    peak = std::max(peak, f.PeakMB);
    if (withYardstick && TimeStartup(yardstick, "setoption name Hash value 256\nisready\n", "readyok", f)) {
      yardstickMs.push_back(f.Ms);
      yardstickPeak = std::max(yardstickPeak, f.PeakMB);
    }
  }
  state.counters["median_ms"] = Median(ms);
  state.counters["peak_MB"] = peak;
  if (yardstickMs.empty()) return;
  state.counters["yardstick_ms"] = Median(yardstickMs);
  state.counters["yardstick_peak_MB"] = yardstickPeak;
  state.counters["time_ratio"] = Median(ms) / Median(yardstickMs);
}
BENCHMARK(BM_StartupToPrompt)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// UCI round trips, each closed by "isready": what a GUI waits for before its
// next command. The yardstick engine takes the same commands beside us.
bool StartUci(Session& s, const char* program) {
  return StartSession(s, program) && write(s.In, "uci\n", 4) == 4 && ReadUntil(s, "uciok");
}

// Microseconds from writing the commands to reading "readyok"; negative when
// no answer came.
double ReadyAfterUs(Session& s, const std::string& commands) {
  auto start = std::chrono::steady_clock::now();
  if (write(s.In, commands.data(), commands.size()) != static_cast<ssize_t>(commands.size()) ||
      !ReadUntil(s, "readyok"))
    return -1;
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

// A game as long as GUIs ever send: 1,250 rounds of knight moves and a
// forcing finish, 5,003 plies; the next position adds two plies.
std::string LongGameMoves() {
  std::string moves;
  for (int i = 0; i < 1250; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  return moves + "e2e4 f7f5 d1h5";
}

struct UciFigures {
  Session S;
  std::vector<double> IsReady, Position, TwoMore;
};

// One round: the long game set up afresh, then two plies more. False when
// an answer did not come.
bool UciRound(UciFigures& f, const std::string& moves) {
  if (ReadyAfterUs(f.S, "ucinewgame\nisready\n") < 0) return false;
  double position = ReadyAfterUs(f.S, moves + "\nisready\n");
  double twoMore = position < 0 ? -1 : ReadyAfterUs(f.S, moves + " g7g6 h5g6\nisready\n");
  f.Position.push_back(position);
  f.TwoMore.push_back(twoMore);
  return twoMore >= 0;
}

bool IsReadyRound(UciFigures& f) {
  f.IsReady.push_back(ReadyAfterUs(f.S, "isready\n"));
  return f.IsReady.back() >= 0;
}

// The two engines take their rounds in turn, so a busy machine slows both alike.
void BM_UciRoundTrips(benchmark::State& state) {
  LabelYardstickSkipped(state);
  const std::string moves = "position startpos moves " + LongGameMoves();
  for (auto _ : state) {
    UciFigures ours, theirs;
    bool yardstick = YardstickInstalled() && StartUci(theirs.S, YardstickPath);
    if (!StartUci(ours.S, VELKAR_BINARY)) {
      state.SkipWithError("no UCI answer");
      return;
    }
    for (int round = 0; round < 1000; ++round) {
      if (!IsReadyRound(ours) || (round < 100 && !UciRound(ours, moves))) {
        state.SkipWithError("no UCI answer");
        return;
      }
      yardstick = yardstick && IsReadyRound(theirs) && (round >= 100 || UciRound(theirs, moves));
    }
    StopSession(ours.S);
    state.counters["isready_us"] = Median(ours.IsReady);
    state.counters["position_5003_us"] = Median(ours.Position);
    state.counters["plus_2_plies_us"] = Median(ours.TwoMore);
    if (!yardstick) continue;
    StopSession(theirs.S);
    state.counters["yardstick_isready_us"] = Median(theirs.IsReady);
    state.counters["yardstick_position_5003_us"] = Median(theirs.Position);
    state.counters["yardstick_plus_2_plies_us"] = Median(theirs.TwoMore);
    state.counters["isready_ratio"] = Median(ours.IsReady) / Median(theirs.IsReady);
    state.counters["position_ratio"] = Median(ours.Position) / Median(theirs.Position);
  }
}
BENCHMARK(BM_UciRoundTrips)->Iterations(1)->Unit(benchmark::kMillisecond);

// Counts the replies until n have arrived; false when the program ended or
// fell silent for 5 s.
bool CountReplies(Session& s, const std::string& reply, long n) {
  long seen = 0;
  std::string tail;
  char buf[1 << 16];
  while (seen < n) {
    pollfd p{s.Out, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
    ssize_t got = read(s.Out, buf, sizeof buf);
    if (got <= 0) return false;
    tail.append(buf, static_cast<size_t>(got));
    size_t at = 0;
    for (size_t found; (found = tail.find(reply, at)) != std::string::npos; at = found + reply.size()) ++seen;
    // Keep only what may be the start of a reply cut by the read.
    at = std::max(at, tail.size() - std::min(tail.size(), reply.size() - 1));
    tail.erase(0, at);
  }
  return true;
}

// Writes the pieces from a thread while the n replies are counted, as a GUI
// reads them; the time from the first write to the last "readyok" and the
// peak resident memory by then. False when replies went missing.
bool TimeIsReadyFlow(benchmark::State& state, const std::vector<std::string>& pieces, long n) {
  double peakMB = 0;
  for (auto _ : state) {
    Session s;
    if (!StartUci(s, VELKAR_BINARY)) {
      state.SkipWithError("no UCI answer");
      return false;
    }
    auto start = std::chrono::steady_clock::now();
    std::thread writer([&] {
      for (const std::string& piece : pieces)
        for (size_t done = 0; done < piece.size();) {
          ssize_t w = write(s.In, piece.data() + done, piece.size() - done);
          if (w <= 0) return;
          done += static_cast<size_t>(w);
        }
    });
    bool ok = CountReplies(s, "readyok", n);
    writer.join();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    peakMB = std::max(peakMB, PeakResidentMB(s.Pid));
    StopSession(s);
    if (!ok) {
      state.SkipWithError("replies missing");
      return false;
    }
  }
  state.counters["peak_MB"] = peakMB;
  return true;
}

// A burst of n "isready" lines in one write, until the last "readyok":
// taking a line must cost that line's bytes alone, so the time grows in
// proportion to n.
void BM_IsReadyBurst(benchmark::State& state) {
  const long n = state.range(0);
  std::string burst;
  for (long i = 0; i < n; ++i) burst += "isready\n";
  TimeIsReadyFlow(state, {burst}, n);
}
BENCHMARK(BM_IsReadyBurst)->Arg(1000000)->Arg(2000000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A stream of n "isready" lines or a few more in writes that end inside a
// line: the memory kept must not grow with the stream.
void BM_IsReadyStream(benchmark::State& state) {
  size_t lines;
  const std::vector<std::string> stream = PagedIsReadyStream(static_cast<size_t>(state.range(0)), lines);
  TimeIsReadyFlow(state, stream, static_cast<long>(lines));
}
BENCHMARK(BM_IsReadyStream)->Arg(9000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ReportSkippedComparisons();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
