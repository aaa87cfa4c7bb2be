// Standard input and output: the line poll, the line reader, the line writer
// and colours.
#pragma once
#include <cstdint>
#include <string>

extern bool IsConsoleInput;   // standard input is a terminal, else a pipe or file
extern bool OutputIsTerminal; // standard output is a terminal, else a pipe or file

void InitConsoleIO();

// Bytes to read for the next input line, 0 while no whole line waits; lines
// from a terminal are assembled as a pipe's are. Never blocks. Once input has
// ended and every byte has been taken, the program ends as on "quit", with
// exit code 0.
uint32_t InputAvailable();
// As InputAvailable, but never ends the program: once input has ended and
// every byte has been taken it returns 0 with ended set. For the poll while
// thinking, which lets the request finish first.
uint32_t PollInput(bool& ended);
// Ends the run as "quit" does: pending text written, exit code 0.
[[noreturn]] void QuitProgram();
void ReadInput(std::string& line, uint32_t count);
// Waits until more input arrives or timeoutMs pass: the pause of the command
// loops between empty polls.
void WaitForInput(int32_t timeoutMs);
// One pass of the command loops' poll: true with the next whole line, read
// and trimmed; false after the pause when none is waiting.
bool NextCommandLine(std::string& line);
// Reads one line for a prompt through the same input buffer (pending text is
// flushed first); the line comes without its line end and untrimmed. Waits
// until the line end arrives, however many reads the answer takes; false
// only at end of input.
bool ReadPromptLine(std::string& line);

// The exit code once output was lost: the status a shell shows for a program
// that a broken pipe ended.
constexpr int OutputGoneExitCode = 141;

// A write that fails for any cause but a full pipe or a signal ends the
// program at once with OutputGoneExitCode, writing nothing more; a cause other
// than a broken pipe is named on standard error first. The waits for input
// notice an output pipe's reader going too, so input that calls for no answer
// does not keep the program running: it ends with OutputGoneExitCode, or with
// 0 when its input has ended too with every byte taken (both pipes closed).
void WriteRaw(const char* buffer, uint32_t count);
void WriteLine(const std::string& text);
// Buffered text output (board cells, report boxes), flushed before the next
// line or colour change so bytes leave in the order written.
void WriteText(const std::string& text);
void FlushText();

std::string PadStr(const std::string& text, int32_t width);
void SetColorLogo();
void SetColorWhiteOnBrown();
void SetColorWhiteOnGrey();
void SetColorBlackOnBrown();
void SetColorBlackOnGrey();
void SetColorNormal();
void PrintRule();
void PrintLogo();
