// King safety: pawn shelter, the king's rank, the shelter castling could
// still reach, and the opponent's attacks around the king.
#include <algorithm>

#include "board/Position.h"
#include "eval/UnitEval.h"

namespace {

// By own pawns on the three shelter squares one rank ahead (near) and two
// ranks ahead (far).
constexpr int32_t KingShelter[4][4] = {
    {-90, -60, -30, -10}, {-40, -20, -10, 0}, {-10, -5, 10, 10}, {0, 10, 15, 15}};
// By the king's rank counted from its own first rank.
constexpr int32_t KingRankPenalty[8] = {0, -20, -40, -60, -80, -100, -200, -300};
// By the number of attacked neighbour squares, and of attacked squares at
// distance two.
constexpr int32_t KingZoneAttack[9] = {0, 5, 10, 15, 20, 50, 100, 200, 400};
constexpr int32_t KingRingAttack[17] = {0,  2,  4,   6,   10,  15,  20,  30, 40,
                                        50, 100, 150, 200, 250, 300, 300, 300};

constexpr uint32_t WhiteKingSide = 1, WhiteQueenSide = 2, BlackKingSide = 4, BlackQueenSide = 8;

// Shelter squares of files f-h and a-c on one rank (the low three bits of
// the rank shifted up to it).
constexpr BitBoard FilesFToH = 0xE0, FilesAToC = 0x07;

int32_t Shelter(BitBoard pawns, int nearStart, int farStart) {
  // A start square past the board wraps round it; the shift must stay below
  // 64 in any case.
  const int near = PopCount((pawns >> (nearStart & 63)) & 7);
  const int far = PopCount((pawns >> (farStart & 63)) & 7);
  return KingShelter[near][far];
}

// Shelter of the squares castling would put the king behind: one rank of
// three files (near) and the rank beyond it (far).
int32_t CastlingShelter(BitBoard pawns, BitBoard files, int nearRank, int farRank) {
  return KingShelter[PopCount(pawns & (files << (8 * nearRank)))]
                    [PopCount(pawns & (files << (8 * farRank)))];
}

// Left file of the three shelter files, relative to the king's file.
int ShelterOffset(int k) {
  const int file = k % 8;
  return file == 0 ? 0 : file == 7 ? -2 : -1;
}

int32_t AttacksAround(int k, BitBoard enemyAttacks) {
  return KingZoneAttack[PopCount(KingAttacks[k] & enemyAttacks)] +
         KingRingAttack[PopCount(KingRing2[k] & enemyAttacks)];
}

}  // namespace

int32_t WhiteKingSafety() {
  if (Pieces(BlackQueen) == 0) return 0;
  const int k = WhiteKingSquare;
  const BitBoard pawns = Pieces(WhitePawn);
  const int start = k + ShelterOffset(k);
  int32_t safety = Shelter(pawns, start + 8, start + 16) + KingRankPenalty[k / 8];
  if (CastleRights & WhiteKingSide) safety = std::max(safety, CastlingShelter(pawns, FilesFToH, 1, 2));
  if (CastleRights & WhiteQueenSide) safety = std::max(safety, CastlingShelter(pawns, FilesAToC, 1, 2));
  return safety - AttacksAround(k, BlackAttackSet);
}

int32_t BlackKingSafety() {
  if (Pieces(WhiteQueen) == 0) return 0;
  const int k = BlackKingSquare;
  const BitBoard pawns = Pieces(BlackPawn);
  const int start = k + ShelterOffset(k);
  int32_t safety = Shelter(pawns, start - 8, start - 16) + KingRankPenalty[7 - k / 8];
  if (CastleRights & BlackKingSide) safety = std::max(safety, CastlingShelter(pawns, FilesFToH, 6, 5));
  if (CastleRights & BlackQueenSide) safety = std::max(safety, CastlingShelter(pawns, FilesAToC, 6, 5));
  return safety - AttacksAround(k, WhiteAttackSet);
}
