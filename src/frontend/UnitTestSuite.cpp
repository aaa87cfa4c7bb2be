#include "frontend/UnitTestSuite.h"

#include <sys/stat.h>

#include <cstdio>

#include "board/Position.h"
#include "frontend/BoardDisplay.h"
#include "frontend/ConsoleIO.h"
#include "frontend/EpdFile.h"
#include "frontend/Helpers.h"
#include "frontend/ProgressLines.h"
#include "frontend/UnitPerft.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

int32_t PositionsRead = 0;
int32_t PositionsSolved = 0;
int64_t TotalNodes = 0;
int64_t TotalTimeMs = 0;
uint32_t SolvedByTime[12] = {};

namespace {

const std::string TopBorder = "\xDA" + std::string(78, '\xC4') + "\xBF";
const std::string BottomBorder = "\xC0" + std::string(78, '\xC4') + "\xD9";
const std::string BlankRow(80, ' ');

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Writes the prompt on the row where the answer is typed; the answer comes
// untrimmed, and the end of input answers with nothing.
std::string Ask(const std::string& prompt) {
  WriteText(prompt);
  std::string answer;
  ReadPromptLine(answer);
  return answer;
}

bool FileExists(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// Asks until a named file exists; nullptr when the user gives no name.
FILE* AskForEpdFile() {
  for (;;) {
    std::string name = Ask("\r\nEPD filename (.epd is optional) or <ENTER> to abort: ");
    if (name.empty()) return nullptr;
    // Only ".epd" exactly is taken for the extension: "x.EPD" also tries "x.EPD.epd".
    std::string withExtension = EndsWith(name, ".epd") ? name : name + ".epd";
    if (FileExists(name)) return OpenEpdFile(name);
    if (FileExists(withExtension)) return OpenEpdFile(withExtension);
    WriteLine("\r\nError: file \"" + name + "\" not found!");
  }
}

// Asks until the answer is a number of seconds in range; 0 when the user
// gives none.
int64_t AskForSeconds() {
  for (;;) {
    std::string answer = Ask("\r\nSeconds per position (1-3600), <ENTER> to abort: ");
    if (answer.empty()) return 0;
    int64_t seconds = StrToIntDef(answer, 0);
    if (seconds >= 1 && seconds <= 3600) return seconds;
  }
}

// Every box row is 80 wide and ends no line: an 80-column console starts the
// next row by itself. A terminal may be wider, so there each row ends its line.
void WriteBoxRow(const std::string& text) {
  WriteText(text);
  if (OutputIsTerminal) WriteText("\r\n");
}

void PrintTitleBox(int32_t n, const std::string& title) {
  SetColorBlackOnGrey();
  WriteBoxRow(TopBorder);
  std::string row = "\xB3" "Position " + std::to_string(n) + ": " + title + std::string(61, ' ');
  WriteBoxRow(row.substr(0, 79) + "\xB3");
  WriteBoxRow(BottomBorder);
  SetColorNormal();
  WriteBoxRow(BlankRow);
}

void PrintResultBox(bool solved) {
  SetColorWhiteOnBrown();
  WriteBoxRow(TopBorder);
  std::string row = ResultRowText(PositionsSolved, PositionsRead, TotalNodes, TotalTimeMs);
  if (solved) {
    row.append(14, ' ');
    WriteBoxRow(row + "\xB3");
  } else {
    WriteText(row);
    SetColorBlackOnGrey();
    WriteText(" NOT SOLVED! ");
    SetColorWhiteOnBrown();
    WriteBoxRow(" \xB3");
  }
  WriteBoxRow(BottomBorder);
  SetColorNormal();
  WriteBoxRow(BlankRow);
}

std::string RightAligned(int64_t value, int32_t width) { return PadStr(std::to_string(value), -width); }

void PrintSolvedByTime() {
  SetColorWhiteOnBrown();
  WriteText("\xDA" + std::string(20, '\xC4') + "\xBF\r\n");
  WriteText("\xB3" "Tests solved by time" "\xB3");
  SetColorNormal();
  WriteBoxRow(std::string(58, ' '));
  SetColorWhiteOnBrown();
  WriteText("\xC0" + std::string(20, '\xC4') + "\xD9");
  SetColorNormal();
  WriteText(" \r\n\r\n");
  for (int i = 0; i <= 10; ++i)
    WriteText("  " + RightAligned(i, 3) + " Secs  " + RightAligned(SolvedByTime[i], 5) + "\r\n");
  WriteText("  >10 Secs  " + RightAligned(SolvedByTime[11], 5) + "\r\n");
}

void ResetTotals() {
  PositionsRead = PositionsSolved = 0;
  TotalNodes = TotalTimeMs = 0;
  for (uint32_t& count : SolvedByTime) count = 0;
}

void RunTestPosition(const std::string& line, int64_t seconds) {
  WriteLine("\r\n");
  SetPositionFromFEN(line);
  BmText = EpdBmText(line);
  ++PositionsRead;
  PrintTitleBox(PositionsRead, EpdTitle(line));
  PrintBoard();
  WriteLine("");
  SoftTimeMs = HardTimeMs = seconds * 1000;
  // A position without a move writes no move text: the last position's text
  // must not count for it.
  BestMoveText.clear();
  Think();
  int64_t ms = ElapsedMs();
  TotalNodes += Nodes;
  TotalTimeMs += ms;
  bool solved = IsSolved(BestMoveText, BmText);
  if (solved) {
    ++PositionsSolved;
    ++SolvedByTime[SolvedTimeIndex(ms)];
  }
  PrintResultBox(solved);
  PrintRule();
}

}  // namespace

void RunTestSuite() {
  FILE* file = AskForEpdFile();
  if (file == nullptr) return;
  int64_t seconds = AskForSeconds();
  if (seconds == 0) {
    std::fclose(file);
    return;
  }
  ResetTotals();
  do {
    NewGame();
    ResetSearch();
    TestSuiteMode = true;
    RunTestPosition(ReadFileLine(file), seconds);
  } while (!AtEndOfFile(file));
  std::fclose(file);
  PrintSolvedByTime();
  PrintRule();
  PrintHashStats();
}

void RunEvalSuite() {
  FILE* file = AskForEpdFile();
  if (file == nullptr) return;
  for (int32_t n = 1;; ++n) {
    std::string line = ReadFileLine(file);
    WriteLine("\r\n");
    SetPositionFromFEN(line);
    PrintTitleBox(n, EpdTitle(line));
    PrintBoard();
    WriteLine("");
    PrintRule();
    if (Ask("Press <ENTER> to continue or <q><ENTER> to abort: ") == "q" || AtEndOfFile(file)) break;
  }
  std::fclose(file);
}

// Without "bm" a line has no best move: cutting from its own third byte could
// let an "id" text count as one.
std::string EpdBmText(const std::string& line) {
  size_t bm = line.find("bm");
  // "bm" and one separator byte come before the text.
  if (bm == std::string::npos || bm + 3 >= line.size()) return "";
  size_t end = line.find(';', bm + 3);
  if (end == std::string::npos) return "";
  return line.substr(bm + 3, end - bm - 3);
}

std::string EpdTitle(const std::string& line) {
  size_t from = line.find("bm");
  if (from == std::string::npos) from = line.find("id");
  if (from == std::string::npos) from = 0;
  return line.substr(from, 60);
}

// A plain substring test: "d5" counts inside "exd5", "Qd1" not inside "Qd1+".
// No move text counts as no solve.
bool IsSolved(const std::string& moveText, const std::string& bmText) {
  return !moveText.empty() && bmText.find(moveText) != std::string::npos;
}

// Our clock gives no negative time; were one to come, it would count as no time.
int32_t SolvedTimeIndex(int64_t ms) {
  if (ms >= 10500) return 11;
  if (ms < 0) return 0;
  return static_cast<int32_t>(Round(static_cast<double>(ms) / 1000.0));
}

std::string ResultRowText(int32_t solved, int32_t read, int64_t nodes, int64_t ms) {
  std::string speed = "oo";
  if (ms > 0) speed = FormatAbbreviated(Round(static_cast<double>(nodes) / static_cast<double>(ms) * 1000.0));
  std::string row = "\xB3" "Solved: " + std::to_string(solved) + "/" + std::to_string(read) +
                    " Nodes: " + FormatAbbreviated(nodes) + " Time: " + FormatElapsed(ms) + " NPS: " + speed +
                    std::string(38, ' ');
  return row.substr(0, 65);
}
