// Algebraic text of the whole legal-move list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/MoveInputHelpers.h"
#include "board/Position.h"
#include "frontend/Notation.h"

namespace {

// Every algebraic text of the current position, in list order.
std::vector<std::string> AllSan() {
  auto moves = CurrentLegalMoves();
  return std::vector<std::string>(moves->San, moves->San + moves->List.Count);
}

bool HasSan(const std::string& san) {
  std::vector<std::string> all = AllSan();
  return std::find(all.begin(), all.end(), san) != all.end();
}

}  // namespace

TEST(MovesToSAN, StartPositionInListOrderAndTheRestEmptied) {
  SetFEN(StartFEN);
  PositionState before = CaptureState();
  MoveList list;
  GenerateMoves(list);
  ASSERT_EQ(list.Count, 20);
  static std::string texts[MaxMoves];
  for (std::string& text : texts) text = "stale";
  MovesToSAN(texts, list);
  const std::vector<std::string> expected = {"Na3", "Nc3", "Nf3", "Nh3", "a4", "b4", "c4",
                                             "d4",  "e4",  "f4",  "g4",  "h4", "a3", "b3",
                                             "c3",  "d3",  "e3",  "f3",  "g3", "h3"};
  EXPECT_EQ(std::vector<std::string>(texts, texts + 20), expected);
  for (int32_t i = 20; i < MaxMoves; i++) ASSERT_EQ(texts[i], "") << "entry " << i;
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
}

TEST(MovesToSAN, BlackMovesUseTheSameUpperCaseLetters) {
  SetFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(SanOf("g8f6"), "Nf6");
  EXPECT_EQ(SanOf("e7e5"), "e5");
  EXPECT_EQ(SanOf("b8a6"), "Na6");

  SetFEN("rn2k3/8/5n2/8/r7/8/8/4K3 b - - 0 1");
  EXPECT_EQ(SanOf("b8d7"), "Nbd7");
  EXPECT_EQ(SanOf("f6d7"), "Nfd7");
  EXPECT_EQ(SanOf("a8a6"), "R8a6");
  EXPECT_EQ(SanOf("a4a6"), "R4a6");
  EXPECT_EQ(SanOf("a4a1"), "Ra1+");
  EXPECT_EQ(SanOf("a4b4"), "Rb4");
}

TEST(MovesToSAN, DisambiguationByFileThenRankThenSquare) {
  SetFEN("4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1");
  EXPECT_EQ(SanOf("b1d2"), "Nbd2");
  EXPECT_EQ(SanOf("f3d2"), "Nfd2");
  EXPECT_EQ(SanOf("b1c3"), "Nc3");
  EXPECT_EQ(SanOf("f3d4"), "Nd4");

  SetFEN("4k3/8/8/R7/8/8/8/R3K3 w - - 0 1");
  EXPECT_EQ(SanOf("a1a3"), "R1a3");
  EXPECT_EQ(SanOf("a5a3"), "R5a3");
  EXPECT_EQ(SanOf("a1c1"), "Rc1");

  // h4 shares its rank with e4 and its file with h1.
  SetFEN("8/8/k7/8/4Q2Q/8/8/K6Q w - - 0 1");
  EXPECT_EQ(SanOf("h4e1"), "Qh4e1");
  EXPECT_EQ(SanOf("e4e1"), "Qee1");
  EXPECT_EQ(SanOf("h1e1"), "Q1e1");
}

TEST(MovesToSAN, APinnedPieceForcesNoDisambiguation) {
  SetFEN("4k3/8/8/8/8/5N2/8/rN2K3 w - - 0 1");
  EXPECT_EQ(SanOf("f3d2"), "Nd2");
  EXPECT_EQ(SanOf("b1d2"), "");
}

TEST(MovesToSAN, DisambiguationKeepsCaptureAndCheckMarks) {
  SetFEN("8/8/8/8/2k5/5N2/3p4/1N5K w - - 0 1");
  EXPECT_EQ(SanOf("b1d2"), "Nbxd2+");
  EXPECT_EQ(SanOf("f3d2"), "Nfxd2+");

  // The longest texts: full square, capture and check; a pawn capture promoting with check.
  SetFEN("8/8/8/k7/4Q2Q/8/8/K3n2Q w - - 0 1");
  EXPECT_EQ(SanOf("h4e1"), "Qh4xe1+");
  EXPECT_EQ(SanOf("e4e1"), "Qexe1+");
  EXPECT_EQ(SanOf("h1e1"), "Q1xe1+");
  SetFEN("3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(SanOf("e7d8q"), "exd8=Q+");
}

TEST(MovesToSAN, PawnCapturesEnPassantAndPromotions) {
  SetFEN("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  EXPECT_EQ(SanOf("e5d6"), "exd6");
  EXPECT_EQ(SanOf("e5e6"), "e6");

  SetFEN("8/4P3/8/8/8/8/k7/4K3 w - - 0 1");
  EXPECT_EQ(SanOf("e7e8q"), "e8=Q");
  EXPECT_EQ(SanOf("e7e8r"), "e8=R");
  EXPECT_EQ(SanOf("e7e8b"), "e8=B");
  EXPECT_EQ(SanOf("e7e8n"), "e8=N");

  SetFEN("k2r4/4P3/1K6/8/8/8/8/8 w - - 0 1");
  EXPECT_EQ(SanOf("e7d8q"), "exd8=Q#");
  EXPECT_EQ(SanOf("e7d8r"), "exd8=R#");
  EXPECT_EQ(SanOf("e7d8n"), "exd8=N");
  EXPECT_EQ(SanOf("e7e8q"), "e8=Q");

  SetFEN("K3k3/8/8/8/8/8/4p3/8 b - - 0 1");
  EXPECT_EQ(SanOf("e2e1q"), "e1=Q");
  EXPECT_EQ(SanOf("e2e1n"), "e1=N");
}

TEST(MovesToSAN, CastlingWithAndWithoutCheck) {
  SetFEN("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  EXPECT_EQ(SanOf("e1g1"), "O-O");
  EXPECT_EQ(SanOf("e1c1"), "O-O-O");

  SetFEN("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1");
  EXPECT_EQ(SanOf("e8g8"), "O-O");
  EXPECT_EQ(SanOf("e8c8"), "O-O-O");

  SetFEN("5k2/8/8/8/8/8/8/4K2R w K - 0 1");
  EXPECT_EQ(SanOf("e1g1"), "O-O+");
  SetFEN("3k4/8/8/8/8/8/8/R3K3 w Q - 0 1");
  EXPECT_EQ(SanOf("e1c1"), "O-O-O+");
}

TEST(MovesToSAN, MateReplacesCheckAndStalemateGetsNoMark) {
  SetFEN("k7/8/1K6/8/8/8/8/2Q5 w - - 0 1");
  PositionState before = CaptureState();
  EXPECT_EQ(SanOf("c1c8"), "Qc8#");
  EXPECT_EQ(SanOf("c1c7"), "Qc7");
  EXPECT_EQ(SanOf("c1h1"), "Qh1+");
  EXPECT_TRUE(HasSan("Qc8#"));
  EXPECT_FALSE(HasSan("Qc8+"));
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
}

TEST(MovesToSAN, NoLegalMoveGivesNoText) {
  SetFEN("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
  EXPECT_TRUE(AllSan().empty());
}

TEST(MovesToSAN, ListsLongerThanTwoHundredFiftySixEntries) {
  // 218 legal moves; the list handed over twice makes 436 entries, each with
  // its twin as the other piece on the same square, so every piece move gets
  // its whole from-square.
  SetFEN("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
  PositionState before = CaptureState();
  auto single = CurrentLegalMoves();
  ASSERT_EQ(single->List.Count, 218);
  static MoveList doubled;
  doubled = single->List;
  for (int32_t i = 0; i < 218; i++) doubled.Moves[218 + i] = single->List.Moves[i];
  doubled.Count = 436;
  static std::string texts[MaxMoves];
  MovesToSAN(texts, doubled);
  for (int32_t i = 0; i < 218; i++) {
    const std::string& coordinates = single->Coordinates[i];
    EXPECT_EQ(texts[218 + i], texts[i]) << coordinates;
    char letter = texts[i][0];
    if (letter == 'B' || letter == 'N' || letter == 'Q' || letter == 'R') {
      EXPECT_EQ(texts[i].substr(1, 2), coordinates.substr(0, 2)) << texts[i];
    } else {
      EXPECT_EQ(texts[i], single->San[i]);
    }
  }
  EXPECT_EQ(texts[436], "");
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
}
