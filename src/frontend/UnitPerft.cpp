#include "frontend/UnitPerft.h"

#include <cstdio>

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/BoardDisplay.h"
#include "frontend/ConsoleIO.h"
#include "frontend/EpdFile.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "search/Clock.h"

int64_t PerftNodes = 0;

namespace {

// Fixed for one PerftCommand and read by every level below it.
int32_t PerftDepth = 0;
bool PerftDivide = false;

// Divide's bookkeeping of the root moves at the last depth.
int32_t DivideIndex = 0;
int64_t DividePrevious = 0;

std::string PadZeros(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

// Comma groups of three from the right; from 10^12 on the leftmost group
// takes all remaining digits.
std::string GroupedNodes(int64_t n) {
  std::string text = std::to_string(n % 1000);
  n /= 1000;
  static constexpr size_t Widths[3] = {3, 7, 11};
  for (int group = 0; group < 3 && n > 0; ++group) {
    text = PadZeros(text, Widths[group]);
    int64_t part = group < 2 ? n % 1000 : n;
    text = std::to_string(part) + "," + text;
    n /= 1000;
  }
  return text;
}

// n / d to the nearest whole number, halves to even, in integers; n >= 0.
int64_t RoundedQuotient(int64_t n, int64_t d) {
  int64_t q = n / d, twice = 2 * (n % d);
  if (twice > d || (twice == d && q % 2 != 0)) ++q;
  return q;
}

// A count of hundredths (places 2) or tenths (places 1) as fixed-point text,
// right-aligned in at least 4 characters.
std::string FixedPoint(int64_t scaled, int places) {
  int64_t unit = places == 2 ? 100 : 10;
  std::string text = std::to_string(scaled / unit) + "." + PadZeros(std::to_string(scaled % unit), places);
  return text.size() < 4 ? std::string(4 - text.size(), ' ') + text : text;
}

std::string TwoDigits(int64_t value) { return PadZeros(std::to_string(value), 2); }

// Runs one position of the suite; false when the user asks to finish.
bool RunSuitePosition(const std::string& line, const std::string& depthText) {
  PrintRule();
  SetPositionFromFEN(line);
  PrintBoard();
  WriteLine("");
  WriteLine(line + "\r\n");
  PerftCommand(depthText, false);
  WriteLine("\r\n- Enter (Q to finish) -");
  std::string answer;
  // At the end of input there is no answer: the suite goes on to its end.
  ReadPromptLine(answer);
  return answer.empty() || (answer[0] != 'q' && answer[0] != 'Q');
}

}  // namespace

void PerftCommand(const std::string& arg, bool divide) {
  int32_t pos;
  int64_t depth = Val(arg, pos);
  if (depth < 1 || depth > 255) {
    WriteLine(std::string("\r\nUsage: ") + (divide ? "divide" : "perft") + " <1..255>");
    return;
  }
  PerftDepth = static_cast<int32_t>(depth);
  PerftDivide = divide;
  WriteLine("");
  for (int32_t d = 1; d <= PerftDepth; ++d) RunPerft(d);
}

void RunPerft(int32_t d) {
  PerftNodes = 0;
  DivideIndex = 0;
  DividePrevious = 0;
  StartTimer();
  bool lastDivide = PerftDivide && d == PerftDepth;
  if (lastDivide) PrintRule();
  if (PerftDivide) DivideCount(d);
  else PerftCount(d);
  int64_t ms = ElapsedMs();
  if (lastDivide) PrintRule();
  PrintPerftResult(d, PerftNodes, ms);
}

// Bulk count at the last ply: its moves are never made, nor even listed;
// CountMoves counts what GenerateMoves would list, with the same effect on the
// position.
void PerftCount(int32_t d) {
  if (d == 1) {
    PerftNodes += CountMoves();
    return;
  }
  MoveList list;
  GenerateMoves(list);
  for (int32_t i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    PerftCount(d - 1);
    UnmakeMove();
  }
}

// Only the root of the last depth lists its moves; below it, and at depth 1,
// divide counts exactly as perft does.
void DivideCount(int32_t d) {
  if (d == 1 || d != PerftDepth) {
    PerftCount(d);
    return;
  }
  MoveList list;
  GenerateMoves(list);
  for (int32_t i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    PerftCount(d - 1);
    UnmakeMove();
    WriteLine(std::to_string(DivideIndex) + ". " + MoveToText(list.Moves[i]) + " " +
              std::to_string(PerftNodes - DividePrevious));
    DividePrevious = PerftNodes;
    ++DivideIndex;
  }
}

// The clock never runs backwards (it adds a day across midnight), so ms < 0
// comes only from a caller; it is shown like a count that took no time.
void PrintPerftResult(int32_t d, int64_t nodes, int64_t ms) {
  std::string speed = "OO";
  if (ms > 0) speed = FormatAbbreviated(Round(static_cast<double>(nodes) / static_cast<double>(ms) * 1000.0));
  WriteLine("Depth: " + std::to_string(d) + " Nodes: " + GroupedNodes(nodes) +
            " Time: " + FormatElapsed(ms) + "  NPS: " + speed);
}

void RunPerftSuite() {
  WriteLine("Perft EPD file: ");
  std::string fileName;
  ReadPromptLine(fileName);
  FILE* file = OpenEpdFile(fileName);
  WriteLine("Max Depth: ");
  std::string depthText;
  ReadPromptLine(depthText);
  for (;;) {
    std::string line = ReadFileLine(file);
    if (!RunSuitePosition(line, depthText)) break;
    if (AtEndOfFile(file)) break;
  }
  std::fclose(file);
}

std::string FormatElapsed(int64_t ms) {
  int64_t t = RoundedQuotient(ms < 0 ? 0 : ms, 10);
  std::string hours, minutes, seconds;
  if (t > 359999) {
    int64_t h = t / 360000;
    hours = std::to_string(h) + "h";
    t -= h * 360000;
  }
  if (t > 5999) {
    int64_t m = t / 6000;
    minutes = (hours.empty() ? std::to_string(m) : TwoDigits(m)) + "m";
    t -= m * 6000;
  } else if (!hours.empty()) {
    minutes = "00m";
  }
  bool longer = !hours.empty() || !minutes.empty();
  if (t > 99) {
    int64_t s = t / 100;
    seconds = (longer ? TwoDigits(s) : std::to_string(s)) + ".";
    t -= s * 100;
  } else {
    seconds = longer ? "00." : "0.";
  }
  return hours + minutes + seconds + TwoDigits(t);
}

std::string FormatAbbreviated(int64_t n) {
  if (n > 99999999) return std::to_string(RoundedQuotient(n, 1000000)) + "M";
  if (n > 9999999) return FixedPoint(RoundedQuotient(n, 100000), 1) + "M";
  if (n > 999999) return FixedPoint(RoundedQuotient(n, 10000), 2) + "M";
  if (n > 99999) return std::to_string(RoundedQuotient(n, 1000)) + "k";
  if (n > 9999) return FixedPoint(RoundedQuotient(n, 100), 1) + "k";
  if (n > 999) return FixedPoint(RoundedQuotient(n, 10), 2) + "k";
  return std::to_string(n);
}
