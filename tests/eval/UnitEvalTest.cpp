#include "eval/UnitEval.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "board/BoardTestSupport.h"

namespace {

// Changes the material without a set-up, as moves do, so the material cache
// keeps its entries; it also puts down material no FEN set-up accepts
// (sixteen pawns of one colour). Fills only what the material code reads.
void PlacePieces(const std::string& placement) {
  std::memset(Board, 0, sizeof Board);
  std::memset(PieceBB, 0, sizeof PieceBB);
  WhiteKingBB = BlackKingBB = WhitePieces = BlackPieces = Occupied = 0;
  MaterialSignature = 0;
  int rank = 7, file = 0;
  for (char ch : placement) {
    if (ch == ' ') break;
    if (ch == '/') {
      --rank;
      file = 0;
    } else if (ch >= '1' && ch <= '8') {
      file += ch - '0';
    } else {
      const uint8_t code = static_cast<uint8_t>(std::strchr(PieceLetters, ch) - PieceLetters);
      const int s = rank * 8 + file++;
      const BitBoard bit = BitBoard{1} << s;
      Board[s] = code;
      if (code == WhiteKing) {
        WhiteKingSquare = s;
        WhiteKingBB = bit;
      } else if (code == BlackKing) {
        BlackKingSquare = s;
        BlackKingBB = bit;
      } else {
        PieceBB[code - 1] |= bit;
        MaterialSignature += MaterialIncrement[code];
      }
      if (code <= WhiteQueen || code == WhiteKing)
        WhitePieces |= bit;
      else
        BlackPieces |= bit;
    }
  }
  Occupied = WhitePieces | BlackPieces;
}

struct Material {
  int32_t Score;
  int32_t Weight;
  int32_t Recognised;
};

Material CurrentMaterial() {
  Material m{};
  uint8_t w, r;
  EvaluateMaterial(m.Score, w, r);
  m.Weight = w;
  m.Recognised = r;
  return m;
}

Material MaterialOf(const std::string& fen) {
  EXPECT_EQ(SetUpOutput(fen), "") << fen;
  return CurrentMaterial();
}

const char* const Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Kings on e1 and e8, White's men from a3 on, Black's from h6 back.
std::string EndingFen(const std::string& white, const std::string& black) {
  std::string rank6 = black.empty() ? "8" : std::to_string(8 - black.size()) + black;
  std::string rank3 = white.empty() ? "8" : white + std::to_string(8 - white.size());
  return "4k3/8/" + rank6 + "/8/8/" + rank3 + "/8/4K3 w - - 0 1";
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(c));
  return s;
}
std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(c));
  return s;
}

TEST(MaterialEvaluation, CountedMaterialAndPhase) {
  struct Case {
    const char* fen;
    int32_t score, weight;
  } cases[] = {
      {Start, 0, 0},
      // queen and rook against queen: three men, so counted; phase 68
      {"3qk3/8/8/8/8/8/8/R2QK3 w - - 0 1", 500, 212},
      // two queens of one side are never a recognised ending; phase 56
      {"4k3/8/8/8/8/8/8/2QQK3 w - - 0 1", 1800, 226},
      // three pawns, phase 3
      {"4k3/8/8/8/8/8/PPP5/4K3 w - - 0 1", 300, 255},
      // everything but the queens, phase 108
      {"rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1", 0, 145},
      // the start position less a rook and two pawns, phase 150
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPP2/RNBQKBN1 w Qkq - 0 1", -700, 42},
      // less one pawn, phase 163
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPP1/RNBQKBNR w KQkq - 0 1", -100, 4},
      // a pawn promoted to a second queen, phase 191: clamped to 0
      {"rnbqkbnr/pppppppp/8/8/8/7Q/PPPPPPP1/RNBQKBNR w KQkq - 0 1", 800, 0},
      // Black's side counts negative
      {"rnbqkbnr/pppppppp/8/8/8/8/8/4K3 w kq - 0 1", -3900, 192},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    auto m = MaterialOf(c.fen);
    EXPECT_EQ(m.Score, c.score);
    EXPECT_EQ(m.Weight, c.weight);
    EXPECT_EQ(m.Recognised, 0);
  }
}

struct Ending {
  const char* white;
  const char* black;
  int32_t score;
};

// Every recognised ending with White holding the first column; the colour
// exchange of each is checked as well.
const Ending Endings[] = {
    {"Q", "", 10000},  {"R", "", 8000},    {"P", "", 150},     {"QR", "", 20000},
    {"QB", "", 12000}, {"QN", "", 12000},  {"QP", "", 11000},  {"RR", "", 15000},
    {"RB", "", 9000},  {"RN", "", 9000},   {"RP", "", 9000},   {"BB", "", 2000},
    {"BN", "", 900},   {"BP", "", 1500},   {"NP", "", 1500},   {"PP", "", 350},
    {"Q", "r", 275},   {"Q", "b", 8500},   {"Q", "n", 8000},   {"Q", "p", 9000},
    {"R", "p", 800},   {"", "", 0},        {"B", "", 0},       {"N", "", 0},
    {"NN", "", 0},     {"Q", "q", 0},      {"R", "r", 0},      {"B", "b", 0},
    {"N", "n", 0},     {"P", "p", 0},      {"R", "b", 0},      {"R", "n", 0},
    {"B", "n", 0},     {"B", "p", 0},      {"N", "p", 0},
};

TEST(MaterialEvaluation, AllSixtyFourRecognisedEndings) {
  std::set<uint32_t> signatures;
  for (const Ending& e : Endings) {
    for (bool swapped : {false, true}) {
      std::string white = swapped ? Upper(e.black) : e.white;
      std::string black = swapped ? Lower(e.white) : e.black;
      std::string fen = EndingFen(white, black);
      SCOPED_TRACE(fen);
      auto m = MaterialOf(fen);
      EXPECT_EQ(m.Score, swapped ? -e.score : e.score);
      EXPECT_EQ(m.Weight, 255);
      EXPECT_EQ(m.Recognised, 1);
      signatures.insert(MaterialSignature);
    }
  }
  EXPECT_EQ(signatures.size(), 64u);
}

class MaterialCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearMaterialCache(); }
  int32_t score = -1;
  uint8_t weight = 99, recognised = 99;
};

TEST_F(MaterialCacheTest, ClearedCacheHitsBareKingsWithZeros) {
  PlacePieces("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_EQ(MaterialSignature, 0u);
  EXPECT_TRUE(ProbeMaterialCache(score, weight, recognised));
  EXPECT_EQ(score, 0);
  EXPECT_EQ(weight, 0);
  EXPECT_EQ(recognised, 0);
  EXPECT_EQ(MaterHits, 1u);
  EXPECT_EQ(MaterWrites, 0u);
}

TEST_F(MaterialCacheTest, SharedSlotEvictsBareKings) {
  // One black pawn and one black bishop: signature 0x1001, slot 0.
  PlacePieces("4k3/8/8/8/8/8/1p5b/4K3 w - - 0 1");
  ASSERT_EQ(MaterialSignature, 0x1001u);
  EXPECT_FALSE(ProbeMaterialCache(score, weight, recognised));
  EXPECT_EQ(MaterHits, 0u);
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, -1500);  // Black's bishop and pawn
  EXPECT_EQ(recognised, 1);
  EXPECT_EQ(MaterWrites, 1u);

  PlacePieces("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_FALSE(ProbeMaterialCache(score, weight, recognised));
  EXPECT_EQ(MaterHits, 0u);
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(weight, 255);
  EXPECT_EQ(recognised, 1);
  EXPECT_EQ(MaterWrites, 2u);
  EXPECT_EQ(MaterialCache[0].Signature, 0u);
  EXPECT_EQ(MaterialCache[0].EndgameWeight, 255);
}

TEST_F(MaterialCacheTest, FetchStoresOnceThenHits) {
  PlacePieces("3qk3/8/8/8/8/8/8/R2QK3 w - - 0 1");
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 500);
  EXPECT_EQ(weight, 212);
  EXPECT_EQ(MaterWrites, 1u);
  EXPECT_EQ(MaterHits, 0u);
  const MaterialCacheEntry& e = MaterialCache[MaterialCacheSlot(MaterialSignature)];
  EXPECT_EQ(e.Signature, MaterialSignature);
  EXPECT_EQ(e.Score, 500);
  EXPECT_EQ(e.EndgameWeight, 212);
  EXPECT_EQ(e.Recognised, 0);

  score = 0;
  weight = 0;
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 500);
  EXPECT_EQ(weight, 212);
  EXPECT_EQ(MaterWrites, 1u);
  EXPECT_EQ(MaterHits, 1u);
}

TEST_F(MaterialCacheTest, EveryStoreCountsAndReplaces) {
  PlacePieces(Start);
  StoreMaterialCache(7, 8, 0);
  StoreMaterialCache(7, 8, 0);
  EXPECT_EQ(MaterWrites, 2u);
  StoreMaterialCache(-3, 9, 1);
  EXPECT_EQ(MaterWrites, 3u);
  EXPECT_TRUE(ProbeMaterialCache(score, weight, recognised));
  EXPECT_EQ(score, -3);
  EXPECT_EQ(weight, 9);
  EXPECT_EQ(recognised, 1);

  ClearMaterialCache();
  EXPECT_EQ(MaterWrites, 0u);
  EXPECT_EQ(MaterHits, 0u);
  EXPECT_FALSE(ProbeMaterialCache(score, weight, recognised));
  EXPECT_EQ(MaterHits, 0u);
}

// Four or more of a kind (or sixteen pawns) carry into the neighbouring
// field; the true material must be used and a false ending never reported.
TEST(MaterialBeyondFields, TrueCountsDecideScoreAndPhase) {
  struct Case {
    const char* fen;
    int32_t score, weight;
  } cases[] = {
      // four White knights read as a lone Black bishop, a drawn ending
      {"4k3/8/8/8/8/8/8/NNNNK3 w - - 0 1", 1200, 255 - 20 * 20 * 255 / 26896},
      // nine queens read as a lone queen
      {"4k3/8/8/8/8/8/QQQQ1QQQ/QQ2K3 w - - 0 1", 8100, 0},
      // four black rooks carry into White's rook field
      {"rrrrk3/8/8/8/8/8/8/4K3 w - - 0 1", -2000, 255 - 48 * 48 * 255 / 26896},
      // four White knights carry into three Black bishops, which carry on
      // into White's bishop field: read as a lone White bishop
      {"bbbk4/8/8/8/8/8/8/NNNNK3 w - - 0 1", 300, 255 - 38 * 38 * 255 / 26896},
      // ten read as two White knights against two Black bishops
      {"4k3/8/8/8/8/8/NNNNNNNN/NN2K3 w - - 0 1", 3000, 255 - 50 * 50 * 255 / 26896},
      // four queens overflow out of the top field altogether
      {"4k3/8/8/8/8/8/8/QQQQK3 w - - 0 1", 3600, 255 - 112 * 112 * 255 / 26896},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    auto m = MaterialOf(c.fen);
    EXPECT_FALSE(SignatureHoldsMaterial());
    EXPECT_EQ(m.Score, c.score);
    EXPECT_EQ(m.Weight, c.weight);
    EXPECT_EQ(m.Recognised, 0);
  }
}

TEST(MaterialBeyondFields, SixteenPawns) {
  // read from the fields: a lone Black knight, and a lone White pawn
  PlacePieces("4k3/8/8/8/PPPPPPPP/PPPPPPPP/8/4K3 w - - 0 1");
  auto m = CurrentMaterial();
  EXPECT_EQ(m.Score, 1600);
  EXPECT_EQ(m.Weight, 255 - 16 * 16 * 255 / 26896);
  EXPECT_EQ(m.Recognised, 0);
  PlacePieces("4k3/8/pppppppp/pppppppp/8/8/8/4K3 w - - 0 1");
  m = CurrentMaterial();
  EXPECT_EQ(m.Score, -1600);
  EXPECT_EQ(m.Recognised, 0);
  // fifteen still fit
  PlacePieces("4k3/8/8/8/PPPPPPP1/PPPPPPPP/8/4K3 w - - 0 1");
  m = CurrentMaterial();
  EXPECT_TRUE(SignatureHoldsMaterial());
  EXPECT_EQ(m.Score, 1500);
}

TEST(MaterialBeyondFields, ThreeOfAKindStillFit) {
  auto m = MaterialOf("4k3/8/8/8/8/8/8/NNNBK1BB w - - 0 1");
  EXPECT_TRUE(SignatureHoldsMaterial());
  EXPECT_EQ(m.Score, 1800);
}

TEST_F(MaterialCacheTest, OverflowNeverMeetsTheCache) {
  // A lone Black bishop and four White knights have the same signature.
  const char* bishop = "4k3/8/8/8/8/8/8/b3K3 w - - 0 1";
  const char* knights = "4k3/8/8/8/8/8/8/NNNNK3 w - - 0 1";
  PlacePieces(bishop);
  const uint32_t signature = MaterialSignature;
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(recognised, 1);
  EXPECT_EQ(MaterWrites, 1u);

  PlacePieces(knights);
  ASSERT_EQ(MaterialSignature, signature);
  EXPECT_FALSE(ProbeMaterialCache(score, weight, recognised));
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 1200);
  EXPECT_EQ(recognised, 0);
  StoreMaterialCache(score, weight, recognised);
  EXPECT_EQ(MaterWrites, 1u);
  EXPECT_EQ(MaterHits, 0u);

  PlacePieces(bishop);
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(weight, 255);
  EXPECT_EQ(recognised, 1);
  EXPECT_EQ(MaterHits, 1u);
}

TEST_F(MaterialCacheTest, PromotionToAFourthQueenAndBack) {
  ASSERT_EQ(SetUpOutput("4k3/P7/8/8/8/8/8/QQQ1K3 w - - 0 1"), "");
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 2800);
  EXPECT_EQ(weight, 255 - 85 * 85 * 255 / 26896);
  EXPECT_EQ(MaterWrites, 1u);

  MakeMove(MakeMoveValue(48, 56, WhiteQueen, 0, 0, KindPromotion));
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 3600);
  EXPECT_EQ(weight, 255 - 112 * 112 * 255 / 26896);
  EXPECT_EQ(recognised, 0);
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 3600);
  EXPECT_EQ(MaterWrites, 1u);
  EXPECT_EQ(MaterHits, 0u);

  UnmakeMove();
  FetchMaterial(score, weight, recognised);
  EXPECT_EQ(score, 2800);
  EXPECT_EQ(MaterHits, 1u);
}

}  // namespace
