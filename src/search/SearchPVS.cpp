// The principal-variation search: iterative deepening over the root list
// with aspiration windows, the root search with its re-searches and time
// rules, and alpha-beta with table cut-offs, a verified null move, late-move
// and futility pruning, late-move reductions and extensions.
#include <algorithm>
#include <string>

#include "board/Position.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "frontend/ProgressLines.h"
#include "frontend/StartUp.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

namespace {

constexpr int32_t AspirationHalfWidth = 20;
constexpr int32_t NullMoveReduction = 4;       // the null move searches depth - 4
constexpr int32_t VerificationReduction = 5;   // ... and is confirmed at depth - 5
constexpr int32_t NullMoveCutLimit = MateThreshold;
constexpr int32_t LateMovePruningNumerator = 9830;
constexpr int32_t LateMovePruningDepth = 5;
constexpr int32_t FutilityDepth = 4;
constexpr int32_t RootReductionIndex = 11;
constexpr int32_t ScoreDropMargin = 50;
constexpr int32_t EasyMoveMargin = 150;
constexpr double EasyMoveTimeShare = 0.2;
constexpr double SteadyTimeShare = 0.6;
constexpr int32_t FewPieces = 6;
constexpr int8_t HintDepth = -127;  // never deep enough to decide a probe: the move only

// Margin over the static evaluation that a quiet move may gain near the leaves.
int32_t FutilityMargin(int32_t depth) { return depth == 1 ? 50 : (depth - 2) * 50 + 100; }

bool IsCapture(Move move) {
  const uint32_t kind = MoveKind(move);
  return kind == KindCapture || kind == KindEnPassant || kind == KindCapturePromotion;
}

bool CapturesPawn(Move move) { return MoveCaptured(move) == WhitePawn || MoveCaptured(move) == BlackPawn; }

// NewDepthForMove with the check test already made. Checking captures, and
// captures at principal-variation nodes, extend when en passant or when their
// exchange value is at least -100; that value is counted in whole pawns and
// never falls below -9, so every such capture extends and the exchange need
// not be computed.
int32_t DepthForMove(int32_t depth, Move move, bool single, bool pvNode, bool prevExt, bool givesCheck,
                     bool& ext) {
  ext = false;
  if (pvNode && PopCount(Occupied) < FewPieces && CapturesPawn(move)) return depth;
  if (single) return depth;
  if (givesCheck && (pvNode || IsCapture(move))) return depth;
  if (pvNode && IsPassedPawnMove(move)) return depth;
  if (pvNode && IsCapture(move) && !prevExt) {
    ext = true;
    return depth;
  }
  return depth - 1;
}

// Copies a variation up to its end (at most 256 moves).
void CopyPV(PrincipalVariation& dest, const PrincipalVariation& source) {
  for (int i = 0; i < PVLength; i++) {
    dest[i] = source[i];
    if (source[i] == 0) break;
  }
}

// The table's verdict on this node, when it has one: exact scores, and
// bounds beyond the window, of at least the depth asked for. A mate bound
// holds at any depth, on its mate side.
bool HashCut(uint32_t flags, int32_t storedDepth, int32_t stored, int32_t depth, int32_t alpha, int32_t beta,
             int32_t& score) {
  if (storedDepth < depth) {
    if (stored < -MateThreshold && IsUpperBound(flags))
      flags = 1;
    else if (stored > MateThreshold && IsLowerBound(flags))
      flags = 2;
    else
      return false;
  }
  score = ScoreFromHash(stored, Ply);
  return IsExactBound(flags) || (IsLowerBound(flags) && score >= beta) || (IsUpperBound(flags) && score <= alpha);
}

// The node's killers and history learn from its best move, the table stores
// its result. searched holds the moves searched, the best one last when the
// node cut off.
int32_t FinishNode(int32_t best, Move bestMove, int32_t depth, int32_t alpha0, int32_t beta, const Move* searched,
                   int32_t searchedCount) {
  if (bestMove != 0) {
    RecordBestMove(bestMove, depth, Ply);
    if (best >= beta && !IsTacticalMove(bestMove)) {
      for (int32_t i = 0; i < searchedCount - 1; i++) HistoryCountTried(searched[i]);
      HistoryCountGood(bestMove);
    }
  }
  const uint32_t flags = (best > alpha0 ? 2u : 0u) + (best < beta ? 1u : 0u);
  StoreHash(HashKey, bestMove, depth, flags, ScoreToHash(best, Ply));
  return best;
}

// A stop before any root move finished leaves no result: the first root
// move stands in, scored by the static evaluation.
void TakeFirstRootMove() {
  if (BestMove != 0 || RootMoves.Count == 0) return;
  BestMove = RootMoves.Moves[0];
  BestScore = Evaluate(false);
  RootPV[0] = BestMove;
  RootPV[1] = 0;
}

// Whether the time spent allows another iteration; each test reads the clock anew.
void TestTimeAfterIteration() {
  if (double(ElapsedMs()) >= double(SoftTimeMs) && !PrevIterScoreDrop) TimeUp = true;
  if (EasyMove && double(ElapsedMs()) >= EasyMoveTimeShare * double(SoftTimeMs)) TimeUp = true;
  if (double(ElapsedMs()) >= SteadyTimeShare * double(SoftTimeMs) && !PrevIterScoreDrop && !RootFailHigh)
    TimeUp = true;
}

// The test suite stops a position once the expected move has been best for
// three iterations in a row.
bool TestSuiteSolved(int32_t& solved) {
  if (BmText.find(BestMoveText) == std::string::npos) {
    solved = 0;
    return false;
  }
  return ++solved >= 3;
}

void StorePVFrom(const PrincipalVariation& pv, int index) {
  if (index >= PVLength || pv[index] == 0) return;
  MakeMove(pv[index]);
  StorePVFrom(pv, index + 1);
  UnmakeMove();
  StoreHash(HashKey, pv[index], HintDepth, 0, -Infinity);
}

}  // namespace

void IterativeDeepening() {
  ClearHistoryTables();
  PreSortRootMoves(RootMoves);
  int32_t solved = 0;
  for (int32_t d = 1; d <= MaxDepth; d++) {
    if (ProtocolMode == UciProtocol) WriteLine("info depth " + std::to_string(d));
    ScoreDrop = false;
    RootFailHigh = false;
    SearchRootWindow(RootMoves, d, d == 1);
    TakeFirstRootMove();
    PrintSearchInfo();
    LastShownBestMove = BestMove;
    const int32_t mate = MateInMoves(BestScore);
    if (mate > 0 || (mate < 0 && BestScore == PrevScore && d >= 5)) break;
    if (TestSuiteMode && TestSuiteSolved(solved)) break;
    FirstIterationDone = true;
    if (d == 1 && RootMoves.Count > 1 && RootMoves.Scores[0] > RootMoves.Scores[1] + EasyMoveMargin)
      EasyMove = true;
    if (d > 1) {
      PrevIterScoreDrop = ScoreDrop;
      ScoreDrop = false;
    }
    PrevScore = BestScore;
    TestTimeAfterIteration();
    if (StopSearch || (FirstIterationDone && TimeUp && !InfiniteSearch)) break;
  }
  TakeFirstRootMove();
}

void SearchRootWindow(MoveList& list, int32_t depth, bool first) {
  int32_t alpha = -Infinity, beta = Infinity;
  if (depth >= 3) {
    // Around a previous 0 the window shrinks to one point either side.
    const int32_t half = PrevScore == 0 ? 1 : AspirationHalfWidth;
    alpha = PrevScore - half;
    beta = PrevScore + half;
  }
  SearchRoot(list, alpha, beta, depth, 0, first);
}

int32_t SearchRoot(MoveList& list, int32_t alpha, int32_t beta, int32_t depth, int32_t, bool first) {
  Nodes++;
  PollCountdown--;
  for (int32_t i = 0; i < list.Count; i++) list.Scores[i] = NoScore;
  int32_t alpha0 = alpha;
  int32_t best = NoScore;
  IterationDepth = depth;
  PrincipalVariation child;
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    RootSearchDepth = depth;
    CurrentRootMove = move;
    CurrentRootMoveIndex = i;
    RootMoveCount = list.Count;
    if (ProtocolMode == UciProtocol && ElapsedMs() > 1000)
      WriteLine("info currmove " + MoveToText(move) + " currmovenumber " + std::to_string(i + 1));
    bool ext;
    int32_t nd = NewDepthForMove(depth, move, InCheck && list.Count == 1, true, false, ext);
    bool reduced = false;
    if (i >= RootReductionIndex && !first && depth > 2 && nd < depth && !IsTacticalMove(move)) {
      nd--;
      reduced = true;
    }
    MakeMove(move);
    int32_t score;
    if (!first && best != NoScore) {
      score = -AlphaBeta(-alpha - 1, -alpha, nd, child, 1, ext);
      if (StopSearch) { UnmakeMove(); return 0; }
      if (score > alpha) {
        RootFailHigh = true;
        EasyMove = false;
        TimeUp = false;
        if (reduced) nd++;
        score = -AlphaBeta(-Infinity, -alpha, nd, child, 0, ext);
        if (StopSearch) { UnmakeMove(); return 0; }
        if (score >= beta) beta = Infinity;
      }
    } else {
      score = -AlphaBeta(-beta, -alpha, nd, child, 0, ext);
      if (StopSearch) { UnmakeMove(); return 0; }
      // One re-search with the window opened on the failing side, its score taken as it comes.
      if (score >= beta) {
        score = -AlphaBeta(-Infinity, -beta, nd, child, 0, ext);
        if (StopSearch) { UnmakeMove(); return 0; }
        beta = Infinity;
      } else if (score <= alpha) {
        score = -AlphaBeta(-alpha, Infinity, nd, child, 0, ext);
        if (StopSearch) { UnmakeMove(); return 0; }
        alpha = alpha0 = -Infinity;
      }
    }
    UnmakeMove();
    list.Scores[i] = score;
    if (score > best && (best == NoScore || score > alpha)) {
      BestMove = move;
      BestScore = score;
      BestBound = score <= alpha ? 1 : score >= beta ? 2 : 3;
      UpdatePV(RootPV, child, move);
      if (LastShownBestMove != BestMove && depth >= 7) {
        PrintSearchInfo();
        LastShownBestMove = BestMove;
      }
      if (IterationDepth > 1) {
        ScoreDrop = BestScore <= PrevScore - ScoreDropMargin;
        if (ScoreDrop) {
          EasyMove = false;
          TimeUp = false;
        }
      }
    }
    if (score > best) {
      best = score;
      // The first iteration keeps the full window so that every root move gets an exact score.
      if (score > alpha && !first) alpha = score;
    }
  }
  if (list.Count >= 2) SortMoveList(list);
  if (alpha0 < best && best < beta) StorePVInHash(RootPV);
  if (BestMove != 0) RecordBestMove(BestMove, depth, 0);
  return best;
}

int32_t AlphaBeta(int32_t alpha, int32_t beta, int32_t depth, PrincipalVariation& pv, int32_t type, bool prevExt) {
  if (depth < 1) return Quiesce(alpha, beta, pv);
  if (!EnterNode(pv)) return 0;
  if (IsRepetitionOrFiftyMoves()) return 0;
  int32_t score;
  if (MateDistanceCut(alpha, beta, score)) return score;

  Move hashMove = 0;
  int32_t storedDepth, stored;
  uint32_t flags;
  if (ProbeHash(HashKey, hashMove, storedDepth, flags, stored)) {
    if (type != 0 && HashCut(flags, storedDepth, stored, depth, alpha, beta, score)) return score;
  } else {
    hashMove = 0;
  }
  if (Ply >= PlyLimit) return Evaluate(false);

  const int32_t alpha0 = alpha;
  int32_t best = NoScore;
  Move bestMove = 0;
  PrincipalVariation child;

  if (depth >= 2 && type != 0 && !InCheck && !IsMateScore(beta) && HasPiecesBesideKing()) {
    // The side to move passes; if it still reaches beta, it is far enough ahead.
    MakeNullMove();
    score = -AlphaBeta(-beta, -beta + 1, std::max(depth - NullMoveReduction, 0), child, 1, false);
    UnmakeNullMove();
    if (StopSearch) return 0;
    if (score >= beta) {
      if (depth <= VerificationReduction)
        return FinishNode(std::min(score, NullMoveCutLimit), 0, depth, alpha0, beta, nullptr, 0);
      Move verified;
      score = VerificationSearch(alpha, beta, depth - VerificationReduction, child, 1, hashMove, verified, false);
      if (StopSearch) return 0;
      if (score >= beta) {
        CopyPV(pv, child);
        return FinishNode(score, verified, depth, alpha0, beta, &verified, 1);
      }
    }
  }

  MoveList& list = PlyMoveLists[Ply];
  GenerateSearchMoves(list, Ply, hashMove);
  const bool single = InCheck && list.Count == 1;
  const bool pvNode = type == 0;
  int32_t futility = Infinity;  // the static evaluation plus margin, once a move needs it
  bool allTactical = true;
  // Searched moves are written back over the front of the list, which the
  // loop has passed: the history update reads them there.
  int32_t searched = 0;
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    const int32_t orderScore = list.Scores[i];
    const bool givesCheck = MoveGivesCheck(move);
    bool ext;
    int32_t nd = DepthForMove(depth, move, single, pvNode, prevExt, givesCheck, ext);
    const bool quietCandidate = !InCheck && !pvNode && nd < depth && !givesCheck && !IsPassedPawnMove(move);
    if (quietCandidate && depth < LateMovePruningDepth && searched >= depth + 1 &&
        orderScore < LateMovePruningNumerator / (depth / 3.0 + 1))
      continue;
    if (quietCandidate && depth < FutilityDepth && !IsTacticalMove(move)) {
      if (futility == Infinity) futility = Evaluate(false) + FutilityMargin(depth);
      if (futility <= alpha) {
        if (futility > best) {
          best = futility;
          pv[0] = 0;
        }
        continue;
      }
    }
    if (allTactical && !IsTacticalMove(move)) allTactical = false;
    bool reduced = false;
    if (!InCheck && nd < depth && searched >= 3 && depth >= 3 && !givesCheck && !IsPassedPawnMove(move) &&
        !allTactical && (type == -1 || searched >= 10)) {
      nd--;
      reduced = true;
    }

    MakeMove(move);
    if (pvNode && best != NoScore) {
      score = -AlphaBeta(-alpha - 1, -alpha, nd, child, 1, ext);
      if (StopSearch) { UnmakeMove(); return 0; }
      if (score > alpha) {
        if (reduced) nd++;
        score = -AlphaBeta(-beta, -alpha, nd, child, 0, ext);
        if (StopSearch) { UnmakeMove(); return 0; }
      }
    } else {
      score = -AlphaBeta(-beta, -alpha, nd, child, -type, ext);
      if (StopSearch) { UnmakeMove(); return 0; }
      if (reduced && score > alpha) {
        nd++;
        score = -AlphaBeta(-beta, -alpha, nd, child, -type, ext);
        if (StopSearch) { UnmakeMove(); return 0; }
      }
    }
    UnmakeMove();
    list.Moves[searched++] = move;

    if (score > best) {
      best = score;
      UpdatePV(pv, child, move);
      if (score > alpha) {
        alpha = score;
        bestMove = move;
        if (score >= beta) break;
      }
    }
  }
  if (best == NoScore) return InCheck ? MatedScore(Ply) : 0;
  return FinishNode(best, bestMove, depth, alpha0, beta, list.Moves, searched);
}

// A plain move loop that confirms a null-move cut-off: no pruning, no
// reductions, nothing stored, nothing learnt.
int32_t VerificationSearch(int32_t alpha, int32_t beta, int32_t depth, PrincipalVariation& pv, int32_t type,
                           Move hashMove, Move& bestMove, bool prevExt) {
  bestMove = 0;
  if (!EnterNode(pv)) return 0;
  int32_t best = NoScore;
  MoveList& list = PlyMoveLists[Ply];
  GenerateSearchMoves(list, Ply, hashMove);
  PrincipalVariation child;
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    bool ext;
    const int32_t nd = NewDepthForMove(depth, move, false, false, prevExt, ext);
    MakeMove(move);
    const int32_t score = -AlphaBeta(-beta, -alpha, nd, child, -type, ext);
    UnmakeMove();
    if (StopSearch) return 0;
    if (score > best) {
      best = score;
      UpdatePV(pv, child, move);
      if (score > alpha) {
        alpha = score;
        bestMove = move;
        if (score >= beta) break;
      }
    }
  }
  return best;
}

int32_t NewDepthForMove(int32_t depth, Move move, bool single, bool pvNode, bool prevExt, bool& ext) {
  return DepthForMove(depth, move, single, pvNode, prevExt, MoveGivesCheck(move), ext);
}

bool HasPiecesBesideKing() { return PopCount(WhiteToMove ? WhitePieces : BlackPieces) > 1; }

// Asked before the move is made, so the side to move is the mover.
bool IsPassedPawnMove(Move move) {
  const uint32_t piece = MovePiece(move);
  return (piece == WhitePawn || piece == BlackPawn) && IsPassedPawnSquare(MoveTo(move));
}

bool IsPassedPawnSquare(uint32_t sq) {
  if (WhiteToMove) return (WhitePassedMask[sq] & Pieces(BlackPawn)) == 0;
  return (BlackPassedMask[sq] & Pieces(WhitePawn)) == 0;
}

// The deepest position first, so that on the way back every position of the
// line gets its move as a hint for the next iteration.
void StorePVInHash(const PrincipalVariation& pv) { StorePVFrom(pv, 0); }

void PrintTellOthers() {
  std::string line = "tellothers Depth: " + std::to_string(IterationDepth) + "/" + std::to_string(SelDepth) +
                     "  Score: " + std::to_string(BestScore);
  const int64_t spent = ElapsedMs();
  line += "  Time: " + std::to_string(spent / 1000) + "." + std::to_string(spent % 1000);
  line += "  Nodes: " + std::to_string(Nodes);
  line += "  NPS: " + std::to_string(Round(double(Nodes) * 1000.0 / double(ElapsedMs() + 1)));
  line += "  PV: " + PVToSAN(RootPV, "");
  WriteLine(line);
}
