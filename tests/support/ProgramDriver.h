// Runs the release binary as a child process over pipes, for the program tests
// and the latency benchmark.
#pragma once
#include <string>
#include <vector>

struct ProgramResult {
  std::string Out;
  std::string Err;
  int ExitCode;  // -1 when the program was killed or ended by a signal
  int EndSignal = 0;  // the signal that ended the program by itself, else 0
  double PeakResidentMB = 0;  // by the time its input was closed
  int MsFromOutputClosedToEnd = -1;  // when StreamOptions closed its output and it then ended
};

// How the standard streams are handed to the program, beyond plain pipes.
struct StreamOptions {
  bool NonBlockingOutput = false;  // its output pipe set non-blocking, as some GUIs hand it over
  int ReadDelayMs = 0;             // its output is first read this long after the start
  bool IgnoreInterrupt = false;    // started with SIGINT ignored, as in a background job or under trap '' INT
  std::vector<std::string> Environment;  // NAME=value settings, in place of ours of the same name
  // Its output's reader goes away once the output holds this text (empty: never).
  std::string CloseOutputOnceShown;
  bool CloseInputToo = false;  // its input closes 20 ms later, as a GUI that closes both
  bool SocketOutput = false;   // its output is a socket instead of a pipe
  // Each chunk is written only once the program has read all of the one
  // before, so that no read of it takes two chunks.
  bool EachChunkReadFirst = false;
};

// Starts VELKAR_BINARY with pipes, writes the chunks to its standard input one
// after another (sleeping pauseMs between chunks), then closes standard input
// and collects all standard output, standard error and the exit code. Kills the
// program after timeoutMs.
ProgramResult RunProgram(const std::vector<std::string>& chunks, int pauseMs = 50, int timeoutMs = 60000,
                         const StreamOptions& streams = {});
ProgramResult RunProgram(const std::string& input);

// A chunk that sends the program SIGINT instead of input, once its output so
// far ends with the given text.
std::string InterruptAfter(const std::string& outputTail);

// The peak resident memory of a running process, from /proc; 0 once it has ended.
double PeakResidentMB(int pid);

// At least minLines "isready" lines in writes of one pipe page, each of which
// ends inside a line, so that no read of them ends where a line does. lines
// is set to their exact count.
std::vector<std::string> PagedIsReadyStream(size_t minLines, size_t& lines);

bool EndsWith(const std::string& text, const std::string& tail);

// The exact bytes the program writes at start-up before it reads its first command.
std::string StartupText();

// What the program writes to standard error when a strict integer parse of
// the text fails, just before it ends with exit code 1.
std::string ConversionErrorText(const std::string& text);

struct TerminalOptions {
  bool LineMode = true;  // the terminal's line editing; without it every key can be read at once
  int PauseMs = 0;       // between one chunk and the next
};

// As RunProgram, with standard input and output on a pseudo-terminal (no echo,
// no output translation) and standard error on a pipe. The typed text is in
// the terminal's input queue before the program starts; each chunk is sent
// once the output so far ends with the matching entry of waitFor (an empty
// entry waits for nothing); an InterruptAfter chunk waits for its own tail too.
ProgramResult RunProgramOnTerminal(const std::string& typedBeforeStart, const std::vector<std::string>& chunks,
                                   const std::vector<std::string>& waitFor, int timeoutMs = 60000,
                                   const TerminalOptions& terminal = {});
