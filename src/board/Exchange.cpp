// Static exchange evaluation: the material outcome, in whole pawns, of a
// capture when both sides keep recapturing on the square with their least
// valuable piece. Nothing is moved; legality plays no part.
#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/ConsoleIO.h"

// An empty square is worth a pawn so that en passant, whose target square is
// empty, wins one.
const int32_t SeeValue[13] = {1, 1, 3, 3, 5, 9, 9, 1, 3, 3, 5, 0, 0};

namespace {

// A slider joins the exchange again each time a piece nearer the target on
// its line captures, so the number of captures is not bounded by the number
// of pieces. Real exchanges stay far below this; a full list ends it.
constexpr int SwapListSize = 64;

// The least valuable attacker of one side, as a one-bit set; White takes the
// lowest square of a kind, Black the highest, as its move lists run.
template <bool Black> BitBoard LeastValuable(BitBoard attackers) {
  static constexpr uint8_t order[5] = {Black ? BlackPawn : WhitePawn, Black ? BlackKnight : WhiteKnight,
                                       Black ? BlackBishop : WhiteBishop, Black ? BlackRook : WhiteRook,
                                       Black ? BlackQueen : WhiteQueen};
  for (uint8_t code : order) {
    const BitBoard b = attackers & Pieces(code);
    if (b) return SquareMask[Black ? BitScanReverse(b) : BitScanForward(b)];
  }
  return attackers & (Black ? BlackKingBB : WhiteKingBB);
}

}  // namespace

BitBoard AddXrayAttackers(BitBoard attackers, uint8_t sq, int8_t dir) {
  const BitBoard straight = Pieces(WhiteRook) | Pieces(WhiteQueen) | Pieces(BlackRook) | Pieces(BlackQueen);
  const BitBoard diagonal = Pieces(WhiteBishop) | Pieces(WhiteQueen) | Pieces(BlackBishop) | Pieces(BlackQueen);
  // The line is taken as empty: every slider of the right kind beyond sq joins.
  switch (dir) {
    case 1: return attackers | (RankAttacks[sq][0] & straight & RayE[sq]);
    case -1: return attackers | (RankAttacks[sq][0] & straight & RayW[sq]);
    case 8: return attackers | (FileAttacks[sq][0] & straight & RayN[sq]);
    case -8: return attackers | (FileAttacks[sq][0] & straight & RayS[sq]);
    case 7: return attackers | (DiagAttacksA[sq][0] & diagonal & RayNW[sq]);
    case -7: return attackers | (DiagAttacksA[sq][0] & diagonal & RaySE[sq]);
    case 9: return attackers | (DiagAttacksB[sq][0] & diagonal & RayNE[sq]);
    case -9: return attackers | (DiagAttacksB[sq][0] & diagonal & RaySW[sq]);
    default:
      WriteLine("DEBUG ERROR SX");
      return 0;
  }
}

int32_t SwapOff(uint8_t from, uint8_t to) {
  int32_t gain[SwapListSize];
  gain[0] = SeeValue[Board[to]];
  int32_t onTarget = SeeValue[Board[from]];
  BitBoard attackers = AttacksTo(to) & ~SquareMask[from];
  int8_t d = int8_t(Direction[to][from]);
  if (d != 0) attackers = AddXrayAttackers(attackers, from, d);

  bool whiteSide = !WhiteToMove;
  uint8_t n = 1;
  while (attackers && n < SwapListSize) {
    const BitBoard chosen = whiteSide ? LeastValuable<false>(attackers) : LeastValuable<true>(attackers);
    if (!chosen) break;
    gain[n] = onTarget - gain[n - 1];
    attackers &= ~chosen;
    const int s = BitScanForward(chosen);
    onTarget = SeeValue[Board[s]];
    d = int8_t(Direction[to][s]);
    if (d != 0) attackers = AddXrayAttackers(attackers, uint8_t(s), d);
    ++n;
    whiteSide = !whiteSide;
  }
  if (n < 2) return gain[0];
  while (n > 1) {
    --n;
    if (gain[n] > -gain[n - 1]) gain[n - 1] = -gain[n];
  }
  return gain[0];
}

int32_t SEE(Move move) { return SwapOff(uint8_t(MoveFrom(move)), uint8_t(MoveTo(move))); }
