// Runs the release binary as a child process over pipes, for the program tests
// and the latency benchmark.
#pragma once
#include <string>
#include <vector>

struct ProgramResult {
  std::string Out;
  std::string Err;
  int ExitCode;  // -1 when the program was killed or ended by a signal
};

// Starts VELKAR_BINARY with pipes, writes the chunks to its standard input one
// after another (sleeping pauseMs between chunks), then closes standard input
// and collects all standard output, standard error and the exit code. Kills the
// program after timeoutMs.
ProgramResult RunProgram(const std::vector<std::string>& chunks, int pauseMs = 50, int timeoutMs = 60000);
ProgramResult RunProgram(const std::string& input);

// The exact bytes the program writes at start-up before it reads its first command.
std::string StartupText();
