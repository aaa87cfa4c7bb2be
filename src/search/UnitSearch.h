// Move choice and search: the request to move (Think), the search state and
// its limits, the input poll while thinking, new game, the repetition and
// 50-move test, mate-score helpers, the quiescence search, the
// principal-variation search and its move ordering.
#pragma once
#include <cstdint>
#include <string>

#include "board/UnitMoves.h"

// Scores: 30000 is infinity; a side mated at ply p scores p - 30000; beyond
// +-29744 a score is a mate score; -32767 means no score yet.
constexpr int32_t Infinity = 30000;
constexpr int32_t MateThreshold = 29744;
constexpr int32_t NoScore = -32767;

// A principal variation: up to 256 moves, ended by the first 0. A variation
// that fills all 256 entries has no 0: every reader stops after 256.
constexpr int PVLength = 256;
using PrincipalVariation = Move[PVLength];

// Search state: global, reset by ResetSearch for every request to move.
extern Move BestMove;
extern int32_t BestScore;
extern int32_t BestBound;  // 1 upper, 2 lower, 3 exact, 0 none yet
extern int32_t IterationDepth;
extern int32_t SelDepth;
extern int64_t Nodes;
extern PrincipalVariation RootPV;
extern MoveList RootMoves;
extern bool StopSearch;
extern bool InfiniteSearch;
extern int32_t MaxDepth;
extern int64_t SoftTimeMs;
extern int64_t HardTimeMs;
extern bool FirstIterationDone;
extern int32_t PollCountdown;
extern int32_t PollInterval;
extern double LastInfoTimeMs;
extern int32_t RootSearchDepth;
extern Move CurrentRootMove;
extern int32_t CurrentRootMoveIndex;
extern int32_t RootMoveCount;
extern int32_t PrevScore;
extern bool ScoreDrop;
extern bool PrevIterScoreDrop;
extern bool RootFailHigh;
extern bool EasyMove;
extern bool TimeUp;
extern bool TestSuiteMode;
extern Move LastShownBestMove;

// Game state the move choice keeps across requests.
extern int64_t TimeForMoveMs;  // console move time; the engine's clock under xboard
extern int32_t LastScore;      // BestScore of the last finished request
extern int32_t PrevLastScore;  // ... and of the one before
extern std::string BmText;     // "bm" operand of the current test-suite position

// Request to move.
void Think();
void ResetSearch();
void SetClockTimeBudget();
void SetMoveTimeBudget();
void CheckInput();

// Game.
void NewGame();
bool IsRepetitionOrFiftyMoves();
void ResetKeyHistory();

// Mate scores.
constexpr int32_t MatedScore(int32_t ply) { return ply - Infinity; }
int32_t MateInMoves(int32_t score);
constexpr bool IsMateScore(int32_t score) { return score > MateThreshold || score < -MateThreshold; }
