// Move choice and search control: the search state, the request to move, the
// input poll while thinking, new game and the draw test.
#include "search/UnitSearch.h"

#include <algorithm>

#include "board/Position.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/ProgressLines.h"
#include "frontend/UciLoop.h"
#include "frontend/XboardLoop.h"
#include "frontend/StartUp.h"
#include "search/Clock.h"
#include "search/UnitHash.h"

Move BestMove = 0;
int32_t BestScore = 0;
int32_t BestBound = 0;
int32_t IterationDepth = 0;
int32_t SelDepth = 0;
int64_t Nodes = 0;
PrincipalVariation RootPV = {};
MoveList RootMoves = {};
bool StopSearch = false;
bool InfiniteSearch = false;
int32_t MaxDepth = 255;
int64_t SoftTimeMs = 0;
int64_t HardTimeMs = 0;
bool FirstIterationDone = false;
// Both stay 0 until the first ResetSearch, so a search before any request to
// move polls input at every node.
int32_t PollCountdown = 0;
int32_t PollInterval = 0;
double LastInfoTimeMs = 0.0;
int32_t RootSearchDepth = 0;
Move CurrentRootMove = 0;
int32_t CurrentRootMoveIndex = 0;
int32_t RootMoveCount = 0;
int32_t PrevScore = 0;
bool ScoreDrop = false;
bool PrevIterScoreDrop = false;
bool RootFailHigh = false;
bool EasyMove = false;
bool TimeUp = false;
bool TestSuiteMode = false;
Move LastShownBestMove = 0;

int64_t TimeForMoveMs = 0;
int32_t LastScore = 0;
int32_t PrevLastScore = 0;
std::string BmText;

void ResetSearch() {
  BestMove = 0;
  BestScore = 0;
  BestBound = 0;
  SelDepth = 0;
  Nodes = 0;
  RootPV[0] = 0;
  StopSearch = false;
  InfiniteSearch = false;
  MaxDepth = 255;
  SoftTimeMs = 0;
  HardTimeMs = 0;
  FirstIterationDone = false;
  PollCountdown = 32768;
  PollInterval = 32768;
  LastInfoTimeMs = 0.0;
  RootSearchDepth = 0;
  CurrentRootMove = 0;
  CurrentRootMoveIndex = 0;
  RootMoveCount = 0;
  PrevScore = 0;
  ScoreDrop = false;
  PrevIterScoreDrop = false;
  RootFailHigh = false;
  EasyMove = false;
  TimeUp = false;
  TestSuiteMode = false;
  BlendPSETables();
}

void SetClockTimeBudget() {
  SoftTimeMs = TimeForMoveMs / 55;
  HardTimeMs = TimeForMoveMs / 35;
}

void SetMoveTimeBudget() {
  if (TimeForMoveMs == 0) TimeForMoveMs = 5000;
  SoftTimeMs = TimeForMoveMs;
  HardTimeMs = TimeForMoveMs;
}

namespace {

// One legal move left in the root list: it is reported as the result of a
// one-ply search, scored by the static evaluation.
void ReportOnlyMove() {
  BestMove = RootMoves.Moves[0];
  BestScore = Evaluate(false);
  BestBound = 3;
  IterationDepth = 1;
  Nodes = 1;
  SelDepth = 1;
  RootPV[0] = BestMove;
  RootPV[1] = 0;
  PrintSearchInfo();
}

// Mated or stalemated: there is nothing to choose and nothing to show, and
// move 0 tells every caller that no move may be made.
void ReportNoMove() {
  BestMove = 0;
  BestScore = InCheck ? MatedScore(0) : 0;
  BestBound = 3;
  RootPV[0] = 0;
  BestMoveText.clear();
}

// Acts on a line read while thinking; every other line is dropped.
void ActOnInputLine(const std::string& line) {
  if (line == "stop") StopSearch = true;
  else if (line == "isready") WriteLine("readyok");
  else if (line == "quit") QuitProgram();
}

}  // namespace

void Think() {
  StartTimer();
  Ply = 0;
  GenerateMoves(RootMoves);
  if (RootMoves.Count == 0) {
    NextHashDate();
    ReportNoMove();
  } else {
    Reseed();
    uint32_t r = Random(static_cast<uint32_t>(RootMoves.Count));
    RootMoves.Moves[0] = RootMoves.Moves[r];
    RootMoves.Scores[0] = RootMoves.Scores[r];
    RootMoves.Count = 1;
    NextHashDate();
    // The random pick leaves one root move; a list of several would take the
    // full search.
    if (RootMoves.Count >= 2)
      IterativeDeepening();
    else
      ReportOnlyMove();
  }
  PrevLastScore = LastScore;
  LastScore = BestScore;
  if (RootMoves.Count >= 2 && ProtocolMode == XboardProtocol) PrintTellOthers();
}

void CheckInput() {
  if (ProtocolMode == UciProtocol) {
    int64_t now = ElapsedMs();
    if (static_cast<double>(now) >= LastInfoTimeMs + 1000.0) {
      LastInfoTimeMs = static_cast<double>(now);
      PrintInfoTimeNodes();
    }
  }
  bool ended;
  uint32_t count = PollInput(ended);
  if (count > 0) {
    std::string line;
    ReadInput(line, count);
    ActOnInputLine(line);
  } else if (ended && InfiniteSearch) {
    // Nobody is left to say "stop"; any other search finishes by its own limits
    // and the command loop then ends the run.
    StopSearch = true;
  }
  int64_t elapsed = ElapsedMs();
  if (elapsed >= HardTimeMs) TimeUp = true;
  if (elapsed >= SoftTimeMs && !ScoreDrop && !PrevIterScoreDrop && CurrentRootMoveIndex == 0) TimeUp = true;
  if (FirstIterationDone && TimeUp && !InfiniteSearch) StopSearch = true;
}

void NewGame() {
  SetPositionFromFEN(StartFEN);
  LastPositionMoves.clear();
  LastPositionBase.clear();
  XbEngineSide = false;
  XbForce = false;
}

// Only positions with the same side to move are compared, and never further
// back than the last move that reset the clock or the last set-up.
bool IsRepetitionOrFiftyMoves() {
  if (HalfmoveClock > 99) return true;
  const int64_t reach = std::min<int64_t>(KeyHistoryCount, HalfmoveClock);
  for (int64_t i = 2; i <= reach; i += 2)
    if (KeyHistory[KeyHistoryCount - i] == HashKey) return true;
  return false;
}

void ResetKeyHistory() {
  KeyHistoryCount = 1;
  KeyHistory[1] = HashKey;
  HalfmoveClock = 0;
}

int32_t MateInMoves(int32_t score) {
  if (score < -MateThreshold) return -((score + Infinity) / 2);
  if (score > MateThreshold) return (Infinity + 1 - score) / 2;
  return 0;
}
