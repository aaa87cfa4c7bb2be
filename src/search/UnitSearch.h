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

// Searches stop at this ply with the static evaluation, so the undo stack,
// the variations and the per-ply tables below always hold the whole line.
constexpr int32_t PlyLimit = 255;

// The move list of the search node at each ply. Only one node per ply is ever
// in its move loop: a null move keeps the ply, but its search and the
// verification search run before the node builds its own list. Kept here
// rather than in each frame, which would put kilobytes on the stack per ply.
extern MoveList PlyMoveLists[PlyLimit + 1];

// Quiescence search and the small routines the searches share.
// Counts a node, empties its variation, raises SelDepth and polls input when
// the countdown runs out; false when a stop request came in.
bool EnterNode(PrincipalVariation& pv);
// Narrows the window to the mate distances still possible from this ply;
// true when that alone decides the node, with its score in score.
bool MateDistanceCut(int32_t& alpha, int32_t& beta, int32_t& score);
int32_t Quiesce(int32_t alpha, int32_t beta, PrincipalVariation& pv);
void GenerateQuiescenceMoves(MoveList& list);
// Highest score first; equal scores keep their order.
void SortMoveList(MoveList& list);
bool MoveGivesCheck(Move move);
bool IsCheckmate();
void UpdatePV(PrincipalVariation& dest, const PrincipalVariation& child, Move move);
bool IsDeltaPruningExempt(Move move);
bool IsLoneKingStalemate();

// Principal-variation search. IterativeDeepening searches RootMoves as its
// caller filled them, after StartTimer, Ply 0 and NextHashDate; it leaves
// BestMove, BestScore, BestBound and RootPV set.
void IterativeDeepening();
void SearchRootWindow(MoveList& list, int32_t depth, bool first);
int32_t SearchRoot(MoveList& list, int32_t alpha, int32_t beta, int32_t depth, int32_t ply, bool first);
// type: 0 principal-variation node, 1 expected cut node, -1 expected all node.
int32_t AlphaBeta(int32_t alpha, int32_t beta, int32_t depth, PrincipalVariation& pv, int32_t type,
                  bool prevExt);
int32_t VerificationSearch(int32_t alpha, int32_t beta, int32_t depth, PrincipalVariation& pv, int32_t type,
                           Move hashMove, Move& bestMove, bool prevExt);
int32_t NewDepthForMove(int32_t depth, Move move, bool single, bool pvNode, bool prevExt, bool& ext);
bool HasPiecesBesideKing();
bool IsPassedPawnMove(Move move);
bool IsPassedPawnSquare(uint32_t sq);
void StorePVInHash(const PrincipalVariation& pv);
// The xboard summary line after a search of several root moves.
void PrintTellOthers();

// Move ordering for the search: killers by ply, history by piece and target.
constexpr int KillerSlots = 5;
constexpr int HistorySize = 768;
extern Move Killers[PlyLimit + 1][KillerSlots];
extern int32_t History[HistorySize];
extern int32_t HistoryGood[HistorySize];
extern int32_t HistoryTried[HistorySize];

bool IsTacticalMove(Move move);
int32_t HistoryIndex(Move move);
void ClearHistoryTables();
void StoreKiller(Move move, int32_t ply);
int32_t KillerSlot(Move move, int32_t ply);
void RecordBestMove(Move move, int32_t depth, int32_t ply);
void HistoryCountGood(Move move);
void HistoryCountTried(Move move);
int32_t HistoryOrderingScore(Move move);
int32_t RelativeHistoryScore(Move move);
void ScoreMoveList(MoveList& list, int32_t ply, Move hashMove);
void GenerateSearchMoves(MoveList& list, int32_t ply, Move hashMove);
void PreSortRootMoves(MoveList& list);
