// Move ordering for the search: the hash move, captures by the generator's
// score or their exchange value, killers, quiet moves by score and cut-off
// rate, losing captures last; the killer and history tables behind it.
#include <algorithm>

#include "board/Position.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

Move Killers[PlyLimit + 1][KillerSlots];
int32_t History[HistorySize];
int32_t HistoryGood[HistorySize];
int32_t HistoryTried[HistorySize];

namespace {

constexpr int32_t HashMoveScore = 32000;
constexpr int32_t GoodCaptureBase = 30000;
constexpr int32_t LosingCaptureBase = -10000;
constexpr int32_t KillerBase = 27000;
constexpr int32_t KillerScoredSlots = 3;  // slots that rank a quiet move as a killer
constexpr int32_t HistoryOffset = 24000;
constexpr int32_t HistoryLimit = 16384;

// The capture list while the quiet list is built in the node's own list.
MoveList CaptureScratch;

int32_t Halved(int32_t entry) { return (entry + 1) / 2; }

// One more search of a move at a node that cut off: the rate's denominator
// grows, and both halve together so the rate keeps its meaning.
void CountTried(int32_t index) {
  if (++HistoryTried[index] >= HistoryLimit) {
    HistoryGood[index] = Halved(HistoryGood[index]);
    HistoryTried[index] = Halved(HistoryTried[index]);
  }
}

int32_t CaptureOrderingScore(Move move, int32_t score) {
  if (score >= 0) return score;
  const int32_t exchange = SEE(move);
  return exchange >= 0 ? exchange + GoodCaptureBase : exchange + LosingCaptureBase;
}

int32_t QuietOrderingScore(Move move, int32_t score, int32_t ply) {
  const int32_t slot = KillerSlot(move, ply);
  if (slot >= 0 && slot < KillerScoredSlots) return KillerBase + slot;
  return score + RelativeHistoryScore(move);
}

}  // namespace

// Under-promotions are left to the quiet-move bookkeeping.
bool IsTacticalMove(Move move) {
  switch (MoveKind(move)) {
    case KindCapture:
    case KindEnPassant: return true;
    case KindPromotion:
    case KindCapturePromotion: return MovePiece(move) == WhiteQueen || MovePiece(move) == BlackQueen;
    default: return false;
  }
}

int32_t HistoryIndex(Move move) { return static_cast<int32_t>(MovePiece(move) * 64 + MoveTo(move)) - 64; }

void ClearHistoryTables() {
  std::fill(&Killers[0][0], &Killers[0][0] + (PlyLimit + 1) * KillerSlots, Move{0});
  std::fill(History, History + HistorySize, 0);
  // Rates start at 1 / 1, so the division never meets 0.
  std::fill(HistoryGood, HistoryGood + HistorySize, 1);
  std::fill(HistoryTried, HistoryTried + HistorySize, 1);
}

void StoreKiller(Move move, int32_t ply) {
  Move* slots = Killers[ply];
  int32_t from = KillerSlots - 1;
  for (int32_t k = 0; k < KillerSlots; k++)
    if (slots[k] == move) {
      from = k;
      break;
    }
  for (int32_t j = from; j >= 1; j--) slots[j] = slots[j - 1];
  slots[0] = move;
}

int32_t KillerSlot(Move move, int32_t ply) {
  for (int32_t k = 0; k < KillerSlots; k++)
    if (Killers[ply][k] == move) return k;
  return -1;
}

void RecordBestMove(Move move, int32_t depth, int32_t ply) {
  if (IsTacticalMove(move)) return;
  StoreKiller(move, ply);
  if ((History[HistoryIndex(move)] += depth * depth) >= HistoryLimit)
    for (int32_t& entry : History) entry = Halved(entry);
}

void HistoryCountGood(Move move) {
  if (IsTacticalMove(move)) return;
  HistoryGood[HistoryIndex(move)]++;
  CountTried(HistoryIndex(move));
}

void HistoryCountTried(Move move) {
  if (IsTacticalMove(move)) return;
  CountTried(HistoryIndex(move));
}

int32_t HistoryOrderingScore(Move move) { return History[HistoryIndex(move)] - HistoryOffset; }

int32_t RelativeHistoryScore(Move move) {
  const int32_t index = HistoryIndex(move);
  return HistoryGood[index] * HistoryLimit / HistoryTried[index];
}

void ScoreMoveList(MoveList& list, int32_t ply, Move hashMove) {
  if (list.Count < 2) return;
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    if (move == hashMove) {
      list.Scores[i] = HashMoveScore;
    } else if (!IsTacticalMove(move)) {
      const int32_t slot = KillerSlot(move, ply);
      list.Scores[i] = slot >= 0 ? KillerSlots - slot : HistoryOrderingScore(move);
    }
  }
}

// The hash move sits in one of the two lists at most, so comparing every move
// with it finds it where the quiet moves are searched first.
void GenerateSearchMoves(MoveList& list, int32_t ply, Move hashMove) {
  if (InCheck) {
    if (WhiteToMove) GenerateWhiteEvasions(list); else GenerateBlackEvasions(list);
    if (list.Count >= 2) {
      ScoreMoveList(list, ply, hashMove);
      SortMoveList(list);
    }
    return;
  }
  if (WhiteToMove) {
    GenerateWhiteQuiets(list);
    GenerateWhiteCaptures(CaptureScratch);
  } else {
    GenerateBlackQuiets(list);
    GenerateBlackCaptures(CaptureScratch);
  }
  for (int32_t i = 0; i < list.Count; i++) {
    const Move move = list.Moves[i];
    list.Scores[i] = move == hashMove ? HashMoveScore : QuietOrderingScore(move, list.Scores[i], ply);
  }
  for (int32_t i = 0; i < CaptureScratch.Count; i++) {
    const Move move = CaptureScratch.Moves[i];
    list.Moves[list.Count] = move;
    list.Scores[list.Count] = move == hashMove ? HashMoveScore : CaptureOrderingScore(move, CaptureScratch.Scores[i]);
    list.Count++;
  }
  if (list.Count >= 2) SortMoveList(list);
}

// Root moves go first by what they win at once (quiescence value), then
// the table's move to the front; with the killer and history tables just
// cleared, every other quiet move scores alike and keeps its place.
void PreSortRootMoves(MoveList& list) {
  LastShownBestMove = 0;
  PrincipalVariation scratch;
  for (int32_t i = 0; i < list.Count; i++) {
    MakeMove(list.Moves[i]);
    list.Scores[i] = -Quiesce(-Infinity, Infinity, scratch);
    UnmakeMove();
  }
  if (list.Count >= 2) SortMoveList(list);
  Move hashMove = 0;
  int32_t depth, value;
  uint32_t flags;
  if (!ProbeHash(HashKey, hashMove, depth, flags, value)) hashMove = 0;
  ScoreMoveList(list, 0, hashMove);
  if (list.Count >= 2) SortMoveList(list);
}
