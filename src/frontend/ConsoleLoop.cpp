#include "frontend/ConsoleLoop.h"

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/BoardDisplay.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "frontend/ProgressLines.h"
#include "frontend/StartUp.h"
#include "frontend/UciLoop.h"
#include "frontend/UnitPerft.h"
#include "frontend/UnitTestSuite.h"
#include "frontend/XboardLoop.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

namespace {

const char* const HelpLines[] = {
    "\r\n*** COMMANDS ***\r\n",
    "[b]oard [0|1|2]     sets board display to none/tiny/medium",
    "                     (without parameters, shows current board)",
    "[d]ivide <depth>    runs a perft node count on the current position",
    "[e]pd               prints EPD string of current position",
    "[f]igurines <0|1>   enables special symbolic chars in place of standard",
    "                     piece initials, in board display",
    "go                  Velkar starts playing",
    "[h]elp (or ?)       shows this list of commands",
    "[i]nfo              re-initialize Velkar, prints logo and version info",
    "[l]moves            shows the legal moves for current position",
    "[m]ovetime <secs>   sets a move time for playing in console mode (default 5)",
    "[n]ew               starts a new game",
    "[p]erft <depth>     tests the move generation on the current position",
    "[pe]erftsuite       runs a perft test using a specified EPD file",
    "[q]uit              leaves Velkar",
    "[s]etboard <fen>    sets board position to <fen>",
    "[t]estsuite         runs an EPD testsuite file",
    "[v]valsuite         runs an eval test on an EPD file",
    "uci                 enters UCI mode",
    "xboard              enters XBoard mode",
    "...or enter your move",
};

void PrintHelp() {
  for (const char* line : HelpLines) WriteLine(line);
}

void SetMoveTime(const std::string& arg) {
  int32_t seconds = StrToInt(arg);
  // The product is taken in 32 bits and wraps, as the setting always has.
  TimeForMoveMs = static_cast<int32_t>(static_cast<uint32_t>(seconds) * 1000u);
  WriteLine("Move time set to " + std::to_string(TimeForMoveMs) + " mSecs");
}

void UciHandOver() {
  WriteLine(std::string("id name ") + EngineVersion);
  WriteLine("id author the Velkar developers");
  UciPrintOptions();
  WriteLine("uciok");
  ProtocolMode = UciProtocol;
  UciLoop();
}

void XboardHandOver() {
  WriteLine("");
  ProtocolMode = XboardProtocol;
  XboardLoop();
}

void EngineMoves() {
  ResetSearch();
  SetMoveTimeBudget();
  PrintPVHeader();
  Think();
  PrintRule();
  WriteLine("Best move: " + BestMoveText);
  PrintRule();
  // Mated or stalemated: the game is over and the board stays as it is.
  if (BestMove != 0) MakeMove(BestMove);
  PrintBoard();
  PrintHashStats();
}

void SetPositionAndShow(const std::string& fen) {
  SetPositionFromFEN(fen);
  PrintBoard();
}

}  // namespace

bool ConsoleCommand(const std::string& line) {
  if (line == "uci") {
    UciHandOver();
    return false;
  }
  if (line == "xboard") {
    XboardHandOver();
    return false;
  }
  if (line == "new" || line == "n") {
    NewGame();
  } else if (line == "quit" || line == "q") {
    return false;
  } else if (HasPrefix(line, "s ")) {
    SetPositionAndShow(ArgumentFrom(line, 3));
  } else if (HasPrefix(line, "setboard ")) {
    SetPositionAndShow(ArgumentFrom(line, 10));
  } else if (line == "go") {
    EngineMoves();
  } else if (line == "perftsuite" || line == "pe") {
    RunPerftSuite();
  } else if (HasPrefix(line, "p ")) {
    PerftCommand(ArgumentFrom(line, 3), false);
  } else if (HasPrefix(line, "perft")) {
    PerftCommand(ArgumentFrom(line, 7), false);
  } else if (HasPrefix(line, "d ")) {
    PerftCommand(ArgumentFrom(line, 3), true);
  } else if (HasPrefix(line, "divide")) {
    PerftCommand(ArgumentFrom(line, 8), true);
  } else if (line == "info" || line == "i") {
    PrintLogo();
    InitEngine();
  } else if (line == "lmoves" || line == "l") {
    ListLegalMoves();
  } else if (line == "board" || line == "b") {
    PrintBoard();
  } else if (HasPrefix(line, "figurines")) {
    SetFigurines(ArgumentFrom(line, 11), true);
  } else if (HasPrefix(line, "f ")) {
    SetFigurines(ArgumentFrom(line, 3), true);
  } else if (HasPrefix(line, "board")) {
    SetBoardDisplay(ArgumentFrom(line, 7), true);
  } else if (HasPrefix(line, "m ")) {
    SetMoveTime(ArgumentFrom(line, 3));
  } else if (HasPrefix(line, "movetime ")) {
    SetMoveTime(ArgumentFrom(line, 10));
  } else if (HasPrefix(line, "b ")) {
    SetBoardDisplay(ArgumentFrom(line, 3), true);
  } else if (line == "epd" || line == "e") {
    WriteLine(GetFEN());
  } else if (line == "testsuite" || line == "t") {
    RunTestSuite();
  } else if (line == "valsuite" || line == "v") {
    RunEvalSuite();
  } else if (line == "help" || line == "h" || line == "?") {
    PrintHelp();
  } else if (ParseAndMakeMove(line)) {
    PrintBoard();
  }
  return true;
}

void ConsoleLoop() {
  std::string line;
  for (;;)
    if (NextCommandLine(line) && !ConsoleCommand(line)) return;
}
