// Quiescence search: captures (every evasion when in check) until the
// position is quiet, with stand-pat, mate-distance bounds and delta pruning;
// and the small routines every search shares.
#include "board/Position.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "search/UnitSearch.h"

MoveList PlyMoveLists[PlyLimit + 1];

namespace {

constexpr int32_t StandPatMargin = 50;
constexpr int32_t PromotionGain = 875;
constexpr int32_t SortSentinel = -32768;
constexpr BitBoard CornerSquares = 0x8100000000000081ULL;

bool IsPromotion(Move move) {
  const uint32_t kind = MoveKind(move);
  return kind == KindPromotion || kind == KindCapturePromotion;
}

// What a capture can at best win at a node that stands at base.
int32_t DeltaEstimate(int32_t base, Move move) {
  int32_t estimate = base + PieceValue[MoveCaptured(move)];
  if (IsPromotion(move)) estimate += PromotionGain;
  return estimate;
}

}  // namespace

bool EnterNode(PrincipalVariation& pv) {
  Nodes++;
  PollCountdown--;
  pv[0] = 0;
  if (Ply > SelDepth) SelDepth = Ply;
  if (PollCountdown < 1) {
    PollCountdown += PollInterval;
    CheckInput();
    if (StopSearch) return false;
  }
  return true;
}

bool MateDistanceCut(int32_t& alpha, int32_t& beta, int32_t& score) {
  // Being mated on the next ply is the worst left unless the side is mated now.
  int32_t lower = MatedScore(Ply + 2);
  if (lower > alpha && IsCheckmate()) lower = MatedScore(Ply);
  if (lower > alpha) {
    alpha = lower;
    if (alpha >= beta) {
      score = lower;
      return true;
    }
  }
  const int32_t upper = -MatedScore(Ply + 1);
  if (upper < beta) {
    beta = upper;
    if (beta <= alpha) {
      score = upper;
      return true;
    }
  }
  return false;
}

int32_t Quiesce(int32_t alpha, int32_t beta, PrincipalVariation& pv) {
  if (!EnterNode(pv)) return 0;
  if (IsRepetitionOrFiftyMoves()) return 0;
  int32_t cut;
  if (MateDistanceCut(alpha, beta, cut)) return cut;
  if (Ply >= PlyLimit) return Evaluate(false);

  const int32_t alpha0 = alpha;
  int32_t best = NoScore;
  int32_t base = Infinity;
  if (!InCheck) {
    if (IsLoneKingStalemate()) return 0;
    const int32_t stand = Evaluate(false);
    best = stand;
    if (stand > alpha) {
      alpha = stand;
      if (stand >= beta) return stand;
    }
    base = stand + StandPatMargin;
  }

  MoveList& list = PlyMoveLists[Ply];
  GenerateQuiescenceMoves(list);
  if (list.Count == 0) return best != NoScore ? best : MatedScore(Ply);

  // Hopeless captures are dropped unmade only where a null window asks no
  // more than whether the node reaches alpha.
  const bool deltaPruning = beta == alpha0 + 1 && !InCheck;
  PrincipalVariation child;
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    if (deltaPruning) {
      const int32_t estimate = DeltaEstimate(base, move);
      if (estimate <= alpha && !IsDeltaPruningExempt(move) && !MoveGivesCheck(move)) {
        if (estimate > best) {
          best = estimate;
          pv[0] = 0;
        }
        continue;
      }
    }
    MakeMove(move);
    const int32_t score = -Quiesce(-beta, -alpha, child);
    UnmakeMove();
    if (StopSearch) return 0;
    if (score > best) {
      best = score;
      UpdatePV(pv, child, move);
      if (score > alpha) {
        alpha = score;
        if (score >= beta) return best;
      }
    }
  }
  return best != NoScore ? best : MatedScore(Ply);
}

void GenerateQuiescenceMoves(MoveList& list) {
  if (InCheck) {
    if (WhiteToMove) GenerateWhiteEvasions(list); else GenerateBlackEvasions(list);
  } else {
    if (WhiteToMove) GenerateWhiteCaptures(list); else GenerateBlackCaptures(list);
    // Captures the generator rates as losing stay only when the exchange
    // wins material, ranked by that gain. Kept entries move forward in place.
    int32_t kept = 0;
    for (int32_t i = 0; i < list.Count; i++) {
      int32_t score = list.Scores[i];
      if (score < 0) {
        score = SEE(list.Moves[i]);
        if (score < 1) continue;
      }
      list.Moves[kept] = list.Moves[i];
      list.Scores[kept] = score;
      kept++;
    }
    list.Count = kept;
  }
  if (list.Count >= 2) SortMoveList(list);
}

// Insertion sort from the back with a sentinel behind the last entry: the
// generators' lists come nearly ordered, and an entry passes another only
// when strictly smaller, so equal scores keep their order.
void SortMoveList(MoveList& list) {
  list.Scores[list.Count] = SortSentinel;
  for (int32_t i = list.Count - 2; i >= 0; i--) {
    const Move move = list.Moves[i];
    const int32_t score = list.Scores[i];
    int32_t j = i;
    while (score < list.Scores[j + 1]) {
      list.Moves[j] = list.Moves[j + 1];
      list.Scores[j] = list.Scores[j + 1];
      j++;
    }
    list.Moves[j] = move;
    list.Scores[j] = score;
  }
}

bool MoveGivesCheck(Move move) {
  MakeMove(move);
  const bool check = InCheck;
  UnmakeMove();
  return check;
}

bool IsCheckmate() { return InCheck && CountMoves() == 0; }

// Readers stop at the first 0, so the copy can stop there too.
void UpdatePV(PrincipalVariation& dest, const PrincipalVariation& child, Move move) {
  dest[0] = move;
  for (int i = 0; i < PVLength - 1; i++) {
    dest[i + 1] = child[i];
    if (child[i] == 0) break;
  }
}

// Promotions, pawns reaching the last two ranks, queen captures and captures
// of pawns that were about to promote may change the game more than their
// material says.
bool IsDeltaPruningExempt(Move move) {
  if (IsPromotion(move)) return true;
  const uint32_t to = MoveTo(move);
  const uint32_t captured = MoveCaptured(move);
  if (WhiteToMove)
    return (MovePiece(move) == WhitePawn && to >= 48) || captured == BlackQueen ||
           (captured == BlackPawn && to < 16);
  return (MovePiece(move) == BlackPawn && to < 16) || captured == WhiteQueen ||
         (captured == WhitePawn && to >= 48);
}

// A bare king in a corner is the one stalemate the stand-pat score would miss
// often enough to matter; other kings are not tested.
bool IsLoneKingStalemate() {
  const BitBoard own = WhiteToMove ? WhitePieces : BlackPieces;
  const BitBoard king = WhiteToMove ? WhiteKingBB : BlackKingBB;
  return PopCount(own) <= 1 && (king & CornerSquares) && CountMoves() == 0;
}
