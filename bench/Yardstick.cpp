#include "Yardstick.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

const char* const YardstickPath = "/usr/games/stockfish";

namespace {

bool StartsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

// The node count a line reports, or 0.
uint64_t NodesIn(const std::string& line) {
  if (StartsWith(line, "Nodes searched:")) return std::stoull(line.substr(15));
  const size_t at = line.find(" nodes ");
  return at == std::string::npos ? 0 : std::stoull(line.substr(at + 7));
}

}  // namespace

bool YardstickInstalled() { return access(YardstickPath, X_OK) == 0; }

void LabelYardstickSkipped(benchmark::State& state) {
  if (!YardstickInstalled()) state.SetLabel("yardstick skipped");
}

void ReportSkippedComparisons() {
  if (YardstickInstalled()) return;
  std::printf(
      "Yardstick %s not installed (Debian package stockfish): skipped the comparisons of start-up, UCI round "
      "trips, perft and search speed\n",
      YardstickPath);
  std::fflush(stdout);
}

YardstickResult RunYardstick(const std::string& fen, const std::vector<std::string>& options, const std::string& go,
                             const std::string& done) {
  YardstickResult result;
  if (!YardstickInstalled()) return result;
  int toChild[2], fromChild[2];
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) return result;
  const pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    dup2(toChild[0], 0);
    dup2(fromChild[1], 1);
    close(toChild[1]);
    close(fromChild[0]);
    execl(YardstickPath, YardstickPath, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  FILE* out = fdopen(toChild[1], "w");
  FILE* in = fdopen(fromChild[0], "r");
  char buffer[4096];
  uint64_t nodes = 0;
  auto waitFor = [&](const std::string& prefix) {
    while (fgets(buffer, sizeof buffer, in)) {
      const std::string line(buffer);
      if (const uint64_t n = NodesIn(line)) nodes = n;
      if (StartsWith(line, prefix)) return true;
    }
    return false;
  };
  fprintf(out, "uci\n");
  for (const std::string& option : options) fprintf(out, "%s\n", option.c_str());
  fprintf(out, "position fen %s\nisready\n", fen.c_str());
  fflush(out);
  if (waitFor("readyok")) {
    const auto start = std::chrono::steady_clock::now();
    fprintf(out, "%s\n", go.c_str());
    fflush(out);
    nodes = 0;
    if (waitFor(done)) {
      result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      result.Nodes = nodes;
    }
  }
  fprintf(out, "quit\n");
  fclose(out);
  fclose(in);
  waitpid(pid, nullptr, 0);
  return result;
}
