#include "frontend/ConsoleIO.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

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

// A line up to this long, line end included, reaches the loops and prompts
// whole however its bytes arrive: GUIs send a game's whole move list on one
// line. A longer line is dropped whole, so input never costs more memory.
constexpr size_t MaxInputLine = size_t{64} << 20;
// One read from a terminal takes at most this many bytes of its line.
constexpr uint32_t ConsoleReadSize = 256;

// Every byte read from standard input but not yet taken by a reader: the
// bytes InputStart..InputEnd of InputBuffer. All readers go through it, so no
// byte is lost or reordered between the command loops and the prompts. The
// buffer is zero-filled memory from the system: only what input has used of
// it is ever resident.
char InputBuffer[MaxInputLine];
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

// Read by the interrupt handler too.
volatile sig_atomic_t ColourUsed = false;
// The sequence of the colour in force at a terminal while it has a
// background, else empty.
std::string BackgroundColour;
std::string PendingText;

size_t Waiting() { return InputEnd - InputStart; }
const char* WaitingBytes() { return InputBuffer + InputStart; }

void TakeInput(size_t count) {
  InputStart += count;
  InputScanned = count < InputScanned ? InputScanned - count : 0;
  if (InputStart == InputEnd) InputStart = InputEnd = 0;
}

// Index of the first CR or LF among the waiting bytes, or Waiting().
size_t FirstLineEnd() {
  const char* bytes = WaitingBytes() + InputScanned;
  size_t n = Waiting() - InputScanned;
  const void* lf = std::memchr(bytes, '\n', n);
  if (lf) n = static_cast<size_t>(static_cast<const char*>(lf) - bytes);
  const void* cr = std::memchr(bytes, '\r', n);
  if (cr) n = static_cast<size_t>(static_cast<const char*>(cr) - bytes);
  InputScanned += n;
  return InputScanned;
}

bool LineWaiting() { return FirstLineEnd() < Waiting(); }

// Drops the waiting bytes of an over-long line, through its line end once
// that has arrived.
void DropLongLine() {
  if (!DroppingLine) {
    DroppingLine = true;
    FlushText();
    std::fprintf(stderr, "Input line longer than %zu bytes dropped\n", MaxInputLine);
    std::fflush(stderr);
  }
  size_t end = FirstLineEnd();
  if (end == Waiting()) {
    TakeInput(end);
    return;
  }
  LineEndHalfTaken = WaitingBytes()[end] == '\r';
  DroppingLine = false;
  TakeInput(end + 1);
}

// Reads what standard input holds while no whole line waits, waiting up to
// timeoutMs (-1: no limit) for the first byte to arrive. A line that is taken
// costs only its own bytes: nothing is read or moved while a line waits, and
// the part of a line that waits is moved to the front at most once.
void FillInput(int timeoutMs) {
  while (!InputEnded && !LineWaiting()) {
    if (InputEnd == MaxInputLine) {
      if (InputStart == 0) {
        DropLongLine();
        continue;
      }
      std::memmove(InputBuffer, WaitingBytes(), Waiting());
      InputEnd -= InputStart;
      InputStart = 0;
    }
    pollfd p{STDIN_FILENO, POLLIN, 0};
    int ready = poll(&p, 1, timeoutMs);
    if (ready < 0 && errno != EINTR) InputEnded = true;
    if (ready <= 0) return;
    ssize_t n = read(STDIN_FILENO, InputBuffer + InputEnd, MaxInputLine - InputEnd);
    if (n > 0)
      InputEnd += static_cast<size_t>(n);
    else if (n == 0 || (errno != EINTR && errno != EAGAIN))
      InputEnded = true;
    if (DroppingLine) DropLongLine();
    timeoutMs = 0;
  }
}

void WriteAll(const char* bytes, size_t count) {
  while (count > 0) {
    ssize_t n = write(STDOUT_FILENO, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // output gone: nothing we could tell anyone
    bytes += n;
    count -= static_cast<size_t>(n);
  }
}

void SetColor(uint8_t attribute) {
  FlushText();
  if (!OutputIsTerminal) return;
  std::string seq = AnsiColor(attribute);
  // Set first, so that an interrupt in the middle of the write still resets.
  ColourUsed = true;
  WriteAll(seq.data(), seq.size());
  BackgroundColour = (attribute & 0xF0) ? seq : "";
}

// A terminal that scrolls at a line feed paints the new line in the current
// background, so a coloured box row would trail a patch to the screen's edge.
// Line feeds go out in the default colours, the colour taken up after them.
std::string WithPlainLineFeeds(const std::string& shown) {
  if (BackgroundColour.empty() || shown.find('\n') == std::string::npos) return shown;
  std::string out;
  for (char c : shown) {
    if (c == '\n') out += "\x1b[0m\n" + BackgroundColour;
    else out.push_back(c);
  }
  return out;
}

void RestoreTerminal() {
  FlushText();
  if (ColourUsed) WriteAll("\x1b[0m", 4);
}

// Ctrl-C must not leave the terminal in our colours. Only async-signal-safe
// calls here: the reset goes out by write alone, then the program ends by the
// signal, as it did without this handler.
void InterruptHandler(int signalNumber) {
  if (ColourUsed) {
    ssize_t written = write(STDOUT_FILENO, "\x1b[0m", 4);
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
  // A reader that went away must not kill us: failed writes are ignored.
  signal(SIGPIPE, SIG_IGN);
  // Whatever was typed before start-up is not meant for us.
  if (IsConsoleInput) tcflush(STDIN_FILENO, TCIFLUSH);
  std::atexit(RestoreTerminal);
  // A SIGINT our starter told us to ignore stays ignored, as it always was;
  // the xboard loop ignores it later too.
  if (signal(SIGINT, InterruptHandler) == SIG_IGN) signal(SIGINT, SIG_IGN);
}

uint32_t PollInput(bool& ended) {
  FillInput(0);
  ended = false;
  if (IsConsoleInput) {
    // The terminal hands over whole lines only.
    if (Waiting() > 0) return ConsoleReadSize;
  } else {
    // One line at a time, however many wait behind it.
    size_t end = FirstLineEnd();
    if (end < Waiting()) return static_cast<uint32_t>(end + 1);
    // The last line of a closed input needs no line end to count.
    if (InputEnded && Waiting() > 0) return static_cast<uint32_t>(Waiting());
  }
  ended = InputEnded && Waiting() == 0;
  return 0;
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
  while (Waiting() == 0 && !InputEnded) FillInput(-1);
  size_t n = count < Waiting() ? count : Waiting();
  // A terminal read ends with its line.
  if (IsConsoleInput) {
    size_t end = FirstLineEnd();
    if (end < n) n = end + 1;
  }
  const char* bytes = WaitingBytes();
  const void* nul = std::memchr(bytes, '\0', n);
  size_t text = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : n;
  line = Trim(std::string(bytes, text));
  LineEndHalfTaken = n > 0 && bytes[n - 1] == '\r';
  TakeInput(n);
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
  for (;;) {
    if (LineEndHalfTaken && Waiting() > 0) {
      if (WaitingBytes()[0] == '\n') TakeInput(1);
      LineEndHalfTaken = false;
    }
    size_t end = FirstLineEnd();
    if (end < Waiting()) {
      LineEndHalfTaken = WaitingBytes()[end] == '\r';
      line.append(WaitingBytes(), end);
      TakeInput(end + 1);
      // CR LF is one line end; take the LF that follows the CR with it.
      if (LineEndHalfTaken) {
        if (Waiting() == 0) FillInput(0);
        if (Waiting() > 0) {
          if (WaitingBytes()[0] == '\n') TakeInput(1);
          LineEndHalfTaken = false;
        }
      }
      return true;
    }
    if (InputEnded) {
      if (Waiting() == 0 && line.empty()) return false;
      line.append(WaitingBytes(), Waiting());
      TakeInput(Waiting());
      return true;
    }
    FillInput(-1);
  }
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
