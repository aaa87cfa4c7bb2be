// The xboard protocol loop: the engine moves whenever it is its turn, mate
// and stalemate end the game with a result line, and one command is taken
// per pass.
#include "frontend/XboardLoop.h"

#include <csignal>

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "frontend/StartUp.h"
#include "search/UnitSearch.h"

bool XbForce = false;
bool XbEngineSide = false;

namespace {

bool EngineToMove() { return XbEngineSide == (WhiteToMove != 0); }

// Mate and stalemate are the only ends of a game announced here.
void EndOfGameTest() {
  MoveList list;
  GenerateMoves(list);
  if (list.Count > 0) return;
  XbForce = true;
  if (!InCheck)
    WriteLine("1/2-1/2 {Stalemate}");
  else
    WriteLine(WhiteToMove ? "0-1 {Black Mates}" : "1-0 {White Mates}");
}

void EngineMoves() {
  ResetSearch();
  SetClockTimeBudget();
  Think();
  // A finished position has no move to send: its result is told instead.
  if (BestMove == 0) {
    EndOfGameTest();
    return;
  }
  WriteLine("move " + MoveToText(BestMove));
  MakeMove(BestMove);
}

void UserMove(const std::string& text) {
  if (!ParseAndMakeMove(text)) WriteLine("Illegal move: " + text);
  if (!XbForce) EndOfGameTest();
}

bool XboardCommand(const std::string& line) {
  if (HasPrefix(line, "protover")) {
    WriteLine(std::string("feature ping=1 setboard=1 playother=1 usermove=1 analyze=0 myname=\"") + EngineVersion +
              "\" variants=\"normal\" colors=0 done=1");
  } else if (HasPrefix(line, "rejected")) {
    WriteLine("telluser " + line);
  } else if (line == "new") {
    NewGame();
  } else if (line == "quit") {
    return false;
  } else if (line == "force") {
    XbForce = true;
  } else if (line == "go") {
    XbForce = false;
    XbEngineSide = WhiteToMove != 0;
    EngineMoves();
  } else if (line == "playother") {
    XbForce = false;
    XbEngineSide = WhiteToMove == 0;
  } else if (line == "white") {
    XbEngineSide = false;
    XbForce = true;
  } else if (line == "black") {
    XbEngineSide = true;
    XbForce = true;
  } else if (HasPrefix(line, "time ")) {
    // Centiseconds to milliseconds, wrapping in 32 bits.
    TimeForMoveMs = static_cast<int32_t>(static_cast<uint32_t>(StrToInt(ArgumentFrom(line, 6))) * 10u);
  } else if (HasPrefix(line, "otim ")) {
    StrToInt(ArgumentFrom(line, 6));
  } else if (HasPrefix(line, "usermove ")) {
    UserMove(ArgumentFrom(line, 10));
  } else if (HasPrefix(line, "ping ")) {
    WriteLine("pong" + ArgumentFrom(line, 5));
  } else if (HasPrefix(line, "result")) {
    XbForce = true;
  } else if (HasPrefix(line, "setboard ")) {
    SetPositionFromFEN(ArgumentFrom(line, 10));
    XbForce = true;
  } else if (line == "nps") {
    WriteLine("Error (unkown command): nps");
  }
  return true;
}

}  // namespace

void XboardLoop() {
  // xboard interrupts its engine after each of its moves unless told not to;
  // that must not end the run.
  std::signal(SIGINT, SIG_IGN);
  std::string line;
  for (;;) {
    if (!XbForce && EngineToMove()) EngineMoves();
    if (!XbForce) EndOfGameTest();
    if (NextCommandLine(line) && !XboardCommand(line)) return;
  }
}
