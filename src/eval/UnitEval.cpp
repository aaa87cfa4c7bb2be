// Material evaluation, recognised endings, the material cache.
#include "eval/UnitEval.h"

#include "board/Position.h"

MaterialCacheEntry MaterialCache[MaterialCacheSize];
uint32_t MaterWrites, MaterHits;

namespace {

// Where each piece code's count lives in MaterialSignature and how wide the
// field is (the shifts agree with the board's MaterialShift table).
constexpr uint8_t FieldShift[11] = {0, 4, 10, 14, 18, 22, 20, 0, 8, 12, 16};
constexpr uint32_t FieldMask[11] = {0, 15, 3, 3, 3, 3, 3, 15, 3, 3, 3};

using PieceCounts = int32_t[11];  // by piece code 1..10

void ReadSignatureCounts(uint32_t signature, PieceCounts& n) {
  n[0] = 0;
  for (int c = 1; c <= 10; ++c) n[c] = (signature >> FieldShift[c]) & FieldMask[c];
}

void ReadBoardCounts(PieceCounts& n) {
  n[0] = 0;
  for (int c = 1; c <= 10; ++c) n[c] = PopCount(PieceBB[c - 1]);
}

// Recognised endings by the piece codes present besides the kings: [a][0]
// for a single man a, [a][b] with a <= b for two, [0][0] for bare kings.
struct EndingRow {
  uint8_t First, Second;  // White's men listed first; 0 = none
  int32_t Score;
};

// White's winning or drawing material; every other recognised ending scores 0.
constexpr EndingRow ScoredEndings[] = {
    {WhiteQueen, 0, 10000},           {WhiteRook, 0, 8000},
    {WhitePawn, 0, 150},              {WhiteQueen, WhiteRook, 20000},
    {WhiteQueen, WhiteBishop, 12000}, {WhiteQueen, WhiteKnight, 12000},
    {WhiteQueen, WhitePawn, 11000},   {WhiteRook, WhiteRook, 15000},
    {WhiteRook, WhiteBishop, 9000},   {WhiteRook, WhiteKnight, 9000},
    {WhiteRook, WhitePawn, 9000},     {WhiteBishop, WhiteBishop, 2000},
    {WhiteBishop, WhiteKnight, 900},  {WhiteBishop, WhitePawn, 1500},
    {WhiteKnight, WhitePawn, 1500},   {WhitePawn, WhitePawn, 350},
    {WhiteQueen, BlackRook, 275},     {WhiteQueen, BlackBishop, 8500},
    {WhiteQueen, BlackKnight, 8000},  {WhiteQueen, BlackPawn, 9000},
    {WhiteRook, BlackPawn, 800},
};

constexpr uint8_t OtherColor[13] = {0, 7, 8, 9, 10, 6, 5, 1, 2, 3, 4, 12, 11};

struct EndingTable {
  int32_t Score[11][11];
};

constexpr void PutEnding(EndingTable& t, uint8_t a, uint8_t b, int32_t score) {
  if (b != 0 && b < a) {
    uint8_t x = a;
    a = b;
    b = x;
  }
  t.Score[a][b] = score;
}

constexpr EndingTable BuildEndingTable() {
  EndingTable t{};
  for (const EndingRow& row : ScoredEndings) {
    PutEnding(t, row.First, row.Second, row.Score);
    PutEnding(t, OtherColor[row.First], OtherColor[row.Second], -row.Score);
  }
  return t;
}

constexpr EndingTable RecognisedEndings = BuildEndingTable();

int32_t RecognisedScore(const PieceCounts& n) {
  uint8_t first = 0, second = 0;
  for (uint8_t c = 1; c <= 10; ++c)
    for (int32_t k = 0; k < n[c]; ++k) (first == 0 ? first : second) = c;
  return RecognisedEndings.Score[first][second];
}

void MaterialOfCounts(const PieceCounts& n, int32_t& score, uint8_t& weight,
                      uint8_t& recognised) {
  const int32_t wp = n[WhitePawn], bp = n[BlackPawn], wn = n[WhiteKnight], bn = n[BlackKnight];
  const int32_t wb = n[WhiteBishop], bb = n[BlackBishop], wr = n[WhiteRook], br = n[BlackRook];
  const int32_t wq = n[WhiteQueen], bq = n[BlackQueen];

  if (wp + bp + wn + bn + wb + bb + wr + br + wq + bq < 3 && wq < 2 && bq < 2) {
    score = RecognisedScore(n);
    recognised = 1;
    weight = 255;
    return;
  }
  score = 900 * (wq - bq) + 500 * (wr - br) + 300 * (wn + wb - bn - bb) + 100 * (wp - bp);
  recognised = 0;

  // 26896 = 164 * 164, the square of the start position's phase.
  const int32_t phase = 28 * (wq + bq) + 12 * (wr + br) + 6 * (wb + bb) + 5 * (wn + bn) + (wp + bp);
  int32_t q = phase * phase * 255 / 26896;
  if (q > 255) q = 255;
  weight = static_cast<uint8_t>(255 - q);
}

void MaterialOfSignature(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  PieceCounts n;
  ReadSignatureCounts(MaterialSignature, n);
  MaterialOfCounts(n, score, weight, recognised);
}

void MaterialOfBoard(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  PieceCounts n;
  ReadBoardCounts(n);
  MaterialOfCounts(n, score, weight, recognised);
}

void StoreSlot(int32_t score, uint8_t weight, uint8_t recognised) {
  ++MaterWrites;
  MaterialCache[MaterialCacheSlot(MaterialSignature)] = {score, MaterialSignature, weight,
                                                         recognised};
}

bool ProbeSlot(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  const MaterialCacheEntry& e = MaterialCache[MaterialCacheSlot(MaterialSignature)];
  if (e.Signature != MaterialSignature) return false;
  ++MaterHits;
  score = e.Score;
  weight = e.EndgameWeight;
  recognised = e.Recognised;
  return true;
}

}  // namespace

bool SignatureHoldsMaterial() {
  // A field overflows only at 4 of a 2-bit kind or 16 pawns of one colour.
  const int32_t pieces = PopCount(PieceBB[WhiteKnight - 1]) | PopCount(PieceBB[WhiteBishop - 1]) |
                         PopCount(PieceBB[WhiteRook - 1]) | PopCount(PieceBB[WhiteQueen - 1]) |
                         PopCount(PieceBB[BlackKnight - 1]) | PopCount(PieceBB[BlackBishop - 1]) |
                         PopCount(PieceBB[BlackRook - 1]) | PopCount(PieceBB[BlackQueen - 1]);
  const int32_t pawns = PopCount(PieceBB[WhitePawn - 1]) | PopCount(PieceBB[BlackPawn - 1]);
  return pieces < 4 && pawns < 16;
}

void EvaluateMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  if (SignatureHoldsMaterial())
    MaterialOfSignature(score, weight, recognised);
  else
    MaterialOfBoard(score, weight, recognised);
}

void ClearMaterialCache() {
  for (MaterialCacheEntry& e : MaterialCache) e = {};
  MaterWrites = 0;
  MaterHits = 0;
}

void StoreMaterialCache(int32_t score, uint8_t weight, uint8_t recognised) {
  if (SignatureHoldsMaterial()) StoreSlot(score, weight, recognised);
}

bool ProbeMaterialCache(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  return SignatureHoldsMaterial() && ProbeSlot(score, weight, recognised);
}

void FetchMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  if (!SignatureHoldsMaterial()) {
    MaterialOfBoard(score, weight, recognised);
    return;
  }
  if (ProbeSlot(score, weight, recognised)) return;
  MaterialOfSignature(score, weight, recognised);
  StoreSlot(score, weight, recognised);
}
