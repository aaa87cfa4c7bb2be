#include "frontend/ConsoleIO.h"

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/Helpers.h"
#include "frontend/StartUp.h"
#include "frontend/Terminal.h"

bool IsConsoleInput = false;
bool OutputIsTerminal = false;

namespace {

// A line up to this long, its line end included (LF, CR LF or CR; nothing
// for a last line that input ends without one), reaches the loops and prompts
// whole however its bytes arrive: GUIs send a game's whole move list on one
// line. A longer line is dropped whole, so input never costs more memory.
constexpr size_t MaxInputLine = size_t{64} << 20;
// A CR at the bound ends a line that fits when a byte other than LF follows
// it, one that does not when LF does: the buffer has room for that byte.
constexpr size_t InputCapacity = MaxInputLine + 1;
// One read takes at most this much. Once this much has been taken, the
// unfinished line moves to the front of the buffer, so input that keeps
// flowing keeps only a few MB resident.
constexpr size_t ReadChunk = size_t{1} << 20;
// The timeout of a wait for input that only input, its end, or the loss of
// the output's reader can end.
constexpr int WaitForever = -1;

// Every byte read from standard input but not yet taken by a reader: the
// bytes InputStart..InputEnd of InputBuffer. All readers go through it, so no
// byte is lost or reordered between the command loops and the prompts. The
// buffer is zero-filled memory from the system: only what input has used of
// it is ever resident.
char InputBuffer[InputCapacity];
size_t InputStart = 0;
size_t InputEnd = 0;
// This many waiting bytes are known to hold no line end, so a line that
// arrives in many pieces is scanned once, not once per piece.
size_t InputScanned = 0;
bool InputEnded = false;
// The bytes of a line over MaxInputLine are being dropped until its line end.
bool DroppingLine = false;
// The last line taken ended in CR, so an LF that follows is the other half of
// that line end. The command loops see it as an empty line; a prompt, which
// waits for a real answer, skips it.
bool LineEndHalfTaken = false;

// Standard output is a pipe or a socket: the wait for input also watches it.
// A pipe whose reader has closed shows an error there at once, a socket
// closed both ways a hang-up; any other loss is found by the next write.
bool OutputCanLoseReader = false;

// Read by the interrupt handler too.
volatile sig_atomic_t ColorUsed = false;
// The sequence of the colour in force at a terminal while it has a
// background, else empty.
std::string BackgroundColor;
std::string PendingText;

size_t Waiting() { return InputEnd - InputStart; }
const char* WaitingBytes() { return InputBuffer + InputStart; }

void TakeInput(size_t count) {
  InputStart += count;
  InputScanned = count < InputScanned ? InputScanned - count : 0;
  if (InputStart == InputEnd) InputStart = InputEnd = 0;
}

// Takes a line through its first line-end byte (or the last bytes of the input).
void TakeLine(size_t count) {
  LineEndHalfTaken = count > 0 && WaitingBytes()[count - 1] == '\r';
  TakeInput(count);
}

// The LF of a CR LF whose CR ended the last line taken, when it has arrived.
void SkipHalfLineEnd() {
  if (!LineEndHalfTaken || Waiting() == 0) return;
  if (WaitingBytes()[0] == '\n') TakeInput(1);
  LineEndHalfTaken = false;
}

// Index of the first CR or LF among the waiting bytes, or Waiting(); the scan
// goes on from where the last one stopped.
size_t ScanToLineEnd() {
  const char* bytes = WaitingBytes() + InputScanned;
  size_t n = Waiting() - InputScanned;
  const void* lf = std::memchr(bytes, '\n', n);
  if (lf) n = static_cast<size_t>(static_cast<const char*>(lf) - bytes);
  const void* cr = std::memchr(bytes, '\r', n);
  if (cr) n = static_cast<size_t>(static_cast<const char*>(cr) - bytes);
  InputScanned += n;
  return InputScanned;
}

enum class LineState { Incomplete, Whole, TooLong };

// What the waiting bytes begin with: a whole line, whose bytes through its
// first line-end byte number take; a line over MaxInputLine; or neither yet.
LineState NextLineState(size_t& take) {
  const size_t end = ScanToLineEnd();
  if (end == Waiting()) {
    take = end;
    if (end > MaxInputLine) return LineState::TooLong;
    return InputEnded && end > 0 ? LineState::Whole : LineState::Incomplete;
  }
  take = end + 1;
  size_t length = take;
  if (WaitingBytes()[end] == '\r') {
    if (take < Waiting())
      length += WaitingBytes()[take] == '\n';
    else if (length == MaxInputLine && !InputEnded)
      return LineState::Incomplete;  // only the next byte tells CR from CR LF
  }
  return length <= MaxInputLine ? LineState::Whole : LineState::TooLong;
}

// Drops the waiting bytes of an over-long line, through its line end once
// that has arrived.
void DropLongLine() {
  if (!DroppingLine) {
    DroppingLine = true;
    FlushText();
    std::fprintf(stderr, "Input line longer than %zu bytes dropped\n", MaxInputLine);
    std::fflush(stderr);
  }
  size_t end = ScanToLineEnd();
  if (end == Waiting()) {
    TakeInput(end);
    return;
  }
  DroppingLine = false;
  TakeLine(end + 1);
}

// The unfinished line moves to the front once as many bytes as it has, and
// at least ReadChunk, were taken before it, or when the buffer's end is
// reached; each byte is moved at most once, and the resident part of the
// buffer stays small while short lines flow.
void MakeRoom() {
  size_t waiting = Waiting();
  bool full = InputEnd == InputCapacity;
  if (InputStart == 0 || (!full && (InputStart < ReadChunk || waiting > InputStart))) return;
  std::memmove(InputBuffer, WaitingBytes(), waiting);
  InputStart = 0;
  InputEnd = waiting;
}

// A counterpart that closes both pipes closes one a moment after the other:
// once the output's reader has gone, input gets this long to end too.
constexpr int CloseTogetherMs = 100;

// Input has ended and every byte of it was taken: once the output's reader
// has gone too, nothing was lost.
bool InputTakenWhole() {
  if (Waiting() > 0) return false;
  if (InputEnded) return true;
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (poll(&p, 1, CloseTogetherMs) <= 0) return false;
  char byte;
  return read(STDIN_FILENO, &byte, 1) == 0;
}

// The output's reader went while we waited for input. No exit handler runs,
// since each would only write again. Exit code 0 only where nothing was lost.
[[noreturn]] void OutputReaderGone() { _exit(InputTakenWhole() ? 0 : OutputGoneExitCode); }

// What the failed write held is lost, and so would be every answer after it.
// A broken pipe speaks for itself; any other cause is named.
[[noreturn]] void WriteFailed(int error) {
  if (error != EPIPE) std::fprintf(stderr, "Output error: %s\n", std::strerror(error));
  _exit(OutputGoneExitCode);
}

// Waits up to timeoutMs (WaitForever: no limit) for standard input, then
// reads what it holds; false when the wait ended without a read (time up, a
// signal, or a failed poll, which ends input).
bool ReadMore(int timeoutMs) {
  MakeRoom();
  pollfd p[2] = {{STDIN_FILENO, POLLIN, 0}, {OutputCanLoseReader ? STDOUT_FILENO : -1, 0, 0}};
  int ready = poll(p, 2, timeoutMs);
  if (ready < 0 && errno != EINTR) InputEnded = true;
  if (ready <= 0) return false;
  // Commands may answer nothing for a long while, so the reader's going is
  // not left to the next write to find.
  if (p[1].revents) OutputReaderGone();
  size_t room = std::min(ReadChunk, InputCapacity - InputEnd);
  ssize_t n = read(STDIN_FILENO, InputBuffer + InputEnd, room);
  if (n > 0)
    InputEnd += static_cast<size_t>(n);
  else if (n == 0 || (errno != EINTR && errno != EAGAIN))
    InputEnded = true;
  return true;
}

// Reads until a whole line waits or input has ended; over-long lines are
// dropped on the way. A timeout bounds the wait for the first bytes, and then
// only what has already arrived is read; WaitForever waits until the line is
// whole or input ends, however many reads its bytes take. Returns the whole
// line's byte count, or 0. A line that is taken costs only its own bytes:
// nothing is read while a whole line waits.
size_t FillInput(int timeoutMs) {
  for (;;) {
    size_t take = 0;
    if (DroppingLine) DropLongLine();
    if (!DroppingLine) {
      LineState state = NextLineState(take);
      if (state == LineState::Whole) return take;
      if (state == LineState::TooLong) {
        DropLongLine();
        continue;
      }
    }
    if (InputEnded) return 0;
    if (timeoutMs == WaitForever) {
      ReadMore(WaitForever);
    } else {
      if (!ReadMore(timeoutMs)) return 0;
      timeoutMs = 0;
    }
  }
}

// A pipe handed to us non-blocking may be full for a while: the write is
// tried again once it has room, or once the reader has gone, which the write
// then reports.
void WaitUntilWritable() {
  pollfd p{STDOUT_FILENO, POLLOUT, 0};
  poll(&p, 1, WaitForever);
}

void WriteAll(const char* bytes, size_t count) {
  while (count > 0) {
    ssize_t n = write(STDOUT_FILENO, bytes, count);
    if (n > 0) {
      bytes += n;
      count -= static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      WaitUntilWritable();
    } else if (n == 0) {
      WriteFailed(EIO);
    } else if (errno != EINTR) {
      WriteFailed(errno);
    }
  }
}

void SetColor(uint8_t attribute) {
  FlushText();
  if (!OutputIsTerminal) return;
  std::string seq = AnsiColor(attribute);
  // Set first, so that an interrupt in the middle of the write still resets.
  ColorUsed = true;
  WriteAll(seq.data(), seq.size());
  BackgroundColor = (attribute & 0xF0) ? seq : "";
}

// A terminal that scrolls at a line feed paints the new line in the current
// background, so a coloured box row would trail a patch to the screen's edge.
// Line feeds go out in the default colours, the colour taken up after them.
std::string WithPlainLineFeeds(const std::string& shown) {
  if (BackgroundColor.empty() || shown.find('\n') == std::string::npos) return shown;
  std::string out;
  for (char c : shown) {
    if (c == '\n') out += std::string(AnsiReset) + "\n" + BackgroundColor;
    else out.push_back(c);
  }
  return out;
}

void RestoreTerminal() {
  FlushText();
  if (ColorUsed) WriteAll(AnsiReset, AnsiResetLength);
}

// Ctrl-C must not leave the terminal in our colours. Only async-signal-safe
// calls here: the reset goes out by write alone, then the program ends by the
// signal, as it did without this handler.
void InterruptHandler(int signalNumber) {
  if (ColorUsed) {
    ssize_t written = write(STDOUT_FILENO, AnsiReset, AnsiResetLength);
    (void)written;  // nothing left to do about a failed write
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

const char* const LogoArt[19] = {
    "##          ##                ####    ##",
    "##          ##                ####    ##",
    "##          ##                  ##    ##",
    "##          ##                  ##    ##",
    "##          ##                  ##    ##",
    "##          ##                  ##    ##",
    "  ##      ##      ########      ##    ##      ##      ########    ##  ######",
    "  ##      ##      ########      ##    ##      ##      ########    ##  ######",
    "  ##      ##    ##        ##    ##    ##    ##                ##  ####      ##",
    "  ##      ##    ##        ##    ##    ##    ##                ##  ####      ##",
    "  ##      ##    ############    ##    ######          ##########  ##",
    "  ##      ##    ############    ##    ######          ##########  ##",
    "    ##  ##      ##              ##    ##    ##      ##        ##  ##",
    "    ##  ##      ##              ##    ##    ##      ##        ##  ##",
    "    ##  ##      ##        ##    ##    ##      ##    ##      ####  ##",
    "    ##  ##      ##        ##    ##    ##      ##    ##      ####  ##",
    "      ##          ########    ######  ##        ##    ######  ##  ##",
    "      ##          ########    ######  ##        ##    ######  ##  ##",
    "==============================================================================",
};

}  // namespace

void InitConsoleIO() {
  IsConsoleInput = isatty(STDIN_FILENO);
  OutputIsTerminal = isatty(STDOUT_FILENO);
  struct stat output;
  OutputCanLoseReader = fstat(STDOUT_FILENO, &output) == 0 && (S_ISFIFO(output.st_mode) || S_ISSOCK(output.st_mode));
  // A reader that went away shows as a failed write, which ends the run with
  // an exit code of our own rather than by the signal.
  signal(SIGPIPE, SIG_IGN);
  // Whatever was typed before start-up is not meant for us.
  if (IsConsoleInput) tcflush(STDIN_FILENO, TCIFLUSH);
  std::atexit(RestoreTerminal);
  // A SIGINT our starter told us to ignore (a background job of a
  // non-interactive shell, trap '' INT, a GUI) stays ignored: looked up
  // first, so not even one arriving now can end us.
  // The xboard loop ignores it later too.
  struct sigaction current;
  if (sigaction(SIGINT, nullptr, &current) != 0 || current.sa_handler != SIG_IGN) signal(SIGINT, InterruptHandler);
}

uint32_t PollInput(bool& ended) {
  size_t count = FillInput(0);
  ended = count == 0 && InputEnded && Waiting() == 0;
  return static_cast<uint32_t>(count);
}

uint32_t InputAvailable() {
  bool ended;
  uint32_t count = PollInput(ended);
  if (ended) QuitProgram();
  return count;
}

void QuitProgram() {
  FlushText();
  std::exit(0);
}

void ReadInput(std::string& line, uint32_t count) {
  size_t n = std::min<size_t>(count, Waiting());
  const char* bytes = WaitingBytes();
  const void* nul = std::memchr(bytes, '\0', n);
  size_t text = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : n;
  // Trimmed in place: a line padded to megabytes costs no copy of its padding.
  line = Trim(std::string_view(bytes, text));
  TakeLine(n);
}

void WaitForInput(int32_t timeoutMs) {
  // Nothing written may sit in our buffer while we wait for the reader's answer.
  FlushText();
  FillInput(timeoutMs);
}

bool NextCommandLine(std::string& line) {
  uint32_t count = InputAvailable();
  if (count == 0) {
    WaitForInput(250);
    return false;
  }
  ReadInput(line, count);
  return true;
}

bool ReadPromptLine(std::string& line) {
  FlushText();
  line.clear();
  size_t count = FillInput(WaitForever);
  // The LF of a CR LF whose CR ended the line before (a command, an answer,
  // or a line dropped as too long on the way here) is no answer of its own,
  // however many of those come first.
  while (count == 1 && LineEndHalfTaken && WaitingBytes()[0] == '\n') {
    SkipHalfLineEnd();
    count = FillInput(WaitForever);
  }
  if (count == 0) return false;
  const char last = WaitingBytes()[count - 1];
  line.assign(WaitingBytes(), last == '\n' || last == '\r' ? count - 1 : count);
  TakeLine(count);
  // CR LF is one line end: take the LF with the CR when it is already there.
  if (LineEndHalfTaken) {
    if (Waiting() == 0 && !InputEnded) ReadMore(0);
    SkipHalfLineEnd();
  }
  return true;
}

void WriteRaw(const char* buffer, uint32_t count) {
  if (OutputIsTerminal) {
    std::string shown = WithPlainLineFeeds(TerminalText(buffer, count));
    WriteAll(shown.data(), shown.size());
  } else {
    WriteAll(buffer, count);
  }
}

void WriteLine(const std::string& text) {
  FlushText();
  std::string bytes = text + "\r\n";
  WriteRaw(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void WriteText(const std::string& text) { PendingText += text; }

void FlushText() {
  if (PendingText.empty()) return;
  std::string bytes;
  bytes.swap(PendingText);
  WriteRaw(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::string PadStr(const std::string& text, int32_t width) {
  int64_t target = width < 0 ? -static_cast<int64_t>(width) : width;
  int64_t spaces = target - static_cast<int64_t>(text.size());
  if (spaces <= 0) return text;
  std::string pad(static_cast<size_t>(spaces), ' ');
  return width >= 0 ? text + pad : pad + text;
}

void SetColorLogo() { SetColor(10); }
void SetColorWhiteOnBrown() { SetColor(111); }
void SetColorWhiteOnGrey() { SetColor(127); }
void SetColorBlackOnBrown() { SetColor(96); }
void SetColorBlackOnGrey() { SetColor(112); }
void SetColorNormal() { SetColor(7); }

void PrintRule() { WriteLine(std::string(80, '\xC4')); }

void PrintLogo() {
  SetColorLogo();
  WriteLine("");
  for (const char* line : LogoArt) WriteLine(line);
  SetColorNormal();
  WriteLine(std::string("\r\n\r\n") + EngineVersion);
  WriteLine("\r\nA WinBoard/UCI chess engine by the Velkar developers");
  WriteLine("\r\nPlease report any bug to: velkar@example.org\r\n");
}
