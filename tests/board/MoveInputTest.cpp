// Typed moves: the spellings the move input takes and refuses, and every
// legal move of the reference positions typed back as it is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/MoveInputHelpers.h"
#include "board/Position.h"
#include "board/UnitMoves.h"

namespace {

// Each text, typed in the position, makes the move with these coordinates.
void ExpectAllMake(const std::string& fen, const std::vector<std::string>& texts,
                   const std::string& coordinates) {
  SetFEN(fen);
  PositionState expected = StateAfter(coordinates);
  for (const std::string& text : texts) {
    SetFEN(fen);
    EXPECT_TRUE(ParseAndMakeMove(text)) << text;
    EXPECT_EQ(StateDifferences(CaptureState(), expected), "") << text;
  }
}

// Each text, typed in the position, is refused and leaves the position as it was.
void ExpectAllRefused(const std::string& fen, const std::vector<std::string>& texts) {
  SetFEN(fen);
  PositionState before = CaptureState();
  for (const std::string& text : texts) {
    EXPECT_FALSE(ParseAndMakeMove(text)) << '"' << text << '"';
    EXPECT_EQ(StateDifferences(CaptureState(), before), "") << '"' << text << '"';
  }
}

std::string UpperCaseText(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string LowerCaseText(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

struct RoundTripCounts {
  int32_t Moves = 0;
  int32_t FoldedOntoBishop = 0;
};

// Types the text and checks that the move of entry `expected` was made, then
// takes it back.
void ExpectTypedMakes(const std::string& text, const LegalMoves& moves, int32_t expected,
                      const PositionState& before, const std::string& where) {
  MakeMove(moves.List.Moves[expected]);
  PositionState wanted = CaptureState();
  UnmakeMove();
  ASSERT_TRUE(ParseAndMakeMove(text)) << where << " text " << text;
  EXPECT_EQ(StateDifferences(CaptureState(), wanted), "") << where << " text " << text;
  UnmakeMove();
  ASSERT_EQ(StateDifferences(CaptureState(), before), "") << where << " text " << text;
}

// A text that folds onto an earlier entry's algebraic text makes that entry's
// move; the only such pair is a b-file text against a bishop's text.
int32_t ExpectedEntry(const LegalMoves& moves, const std::string& text, int32_t own,
                      RoundTripCounts& counts, const std::string& where) {
  int32_t folded = -1;
  for (int32_t j = 0; j < moves.List.Count && folded < 0; j++)
    if (UpperCaseText(moves.San[j]) == UpperCaseText(text)) folded = j;
  if (folded < 0 || folded == own) return own;
  EXPECT_EQ(text[0], 'b') << where << " text " << text << " folds onto " << moves.San[folded];
  EXPECT_EQ(moves.San[folded][0], 'B') << where << " text " << text;
  counts.FoldedOntoBishop++;
  return folded;
}

// Round trip over every legal move of the current position: its algebraic
// text, that text in all upper and all lower case, and its coordinate text.
void RoundTripCurrentPosition(const std::string& where, RoundTripCounts& counts) {
  // The generator gives up a castling right whose rook was taken on its
  // corner; let it do so before the position is taken as the reference.
  CurrentLegalMoves();
  PositionState before = CaptureState();
  auto moves = CurrentLegalMoves();
  ASSERT_EQ(StateDifferences(CaptureState(), before), "") << where;
  for (int32_t i = 0; i < moves->List.Count; i++) {
    const std::string& san = moves->San[i];
    const std::string& coordinates = moves->Coordinates[i];
    ASSERT_FALSE(san.empty()) << where << " entry " << i;
    EXPECT_LE(san.size(), 7u) << where << " " << san;
    EXPECT_TRUE(coordinates.size() == 4 || coordinates.size() == 5) << where << " " << coordinates;
    for (int32_t j = 0; j < i; j++) ASSERT_NE(moves->San[j], san) << where << " entry " << i;
    counts.Moves++;

    int32_t sanEntry = ExpectedEntry(*moves, san, i, counts, where);
    ExpectTypedMakes(san, *moves, sanEntry, before, where);
    ExpectTypedMakes(UpperCaseText(san), *moves, sanEntry, before, where);
    ExpectTypedMakes(LowerCaseText(san), *moves, sanEntry, before, where);
    ExpectTypedMakes(coordinates, *moves, ExpectedEntry(*moves, coordinates, i, counts, where),
                     before, where);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

const std::string Castling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
const std::string PawnOnE7 = "8/4P3/8/8/8/8/k7/4K3 w - - 0 1";

}  // namespace

TEST(ParseAndMakeMove, AlgebraicInAnyCaseAndLowerCaseCoordinates) {
  ExpectAllMake(StartFEN, {"e4", "E4", "e2e4"}, "e2e4");
  ExpectAllMake(StartFEN, {"Nf3", "nf3", "NF3", "nF3", "g1f3"}, "g1f3");
  ExpectAllRefused(StartFEN, {"E2E4", "E2e4", "e2E4", "G1F3", "e2-e4", "e2e5", "Ng1f3", " e4",
                              "e4 "});
}

TEST(ParseAndMakeMove, MadeMoveIsPlayedOnce) {
  SetFEN(StartFEN);
  ASSERT_TRUE(ParseAndMakeMove("e4"));
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(Ply, 1);
  EXPECT_EQ(KeyHistoryCount, 2);
  ASSERT_TRUE(ParseAndMakeMove("e7e5"));
  ASSERT_TRUE(ParseAndMakeMove("NF3"));
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2");
  EXPECT_FALSE(ParseAndMakeMove("e5"));  // Black's own pawn stands there now
}

TEST(ParseAndMakeMove, EveryCastlingSpelling) {
  ExpectAllMake(Castling, {"O-O", "o-o", "0-0", "00", "oo", "OO", "O-o", "e1g1"}, "e1g1");
  ExpectAllMake(Castling, {"O-O-O", "o-o-o", "0-0-0", "000", "ooo", "OOO", "e1c1"}, "e1c1");
  ExpectAllRefused(Castling, {"Oo", "oO", "0o", "O-0", "0-0-", "O", "0", "e8g8", "e8c8",
                              "e1g1q", "Ke1g1", "Kg1"});
  const std::string black = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1";
  ExpectAllMake(black, {"O-O", "00", "oo", "e8g8"}, "e8g8");
  ExpectAllMake(black, {"O-O-O", "000", "e8c8"}, "e8c8");
  ExpectAllRefused(black, {"e1g1", "e1c1"});
}

TEST(ParseAndMakeMove, CastlingTextsNeedALegalCastling) {
  // Rights gone: the king still stands on e1, but g1 and c1 are no king moves.
  ExpectAllRefused("r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", {"O-O", "O-O-O", "e1g1", "e1c1"});
  // A piece between king and rook on the queen side, an attacked square on the king side.
  ExpectAllRefused("r3k2r/8/8/8/8/8/6r1/RN2K2R w KQ - 0 1", {"O-O", "O-O-O", "e1g1", "e1c1"});
}

TEST(ParseAndMakeMove, PawnAndBishopCapturesFoldTogetherAndListOrderDecides) {
  // Piece captures are listed before pawn captures, so either spelling takes with the bishop.
  const std::string fen = "4k3/8/8/4B3/8/2n5/1P6/4K3 w - - 0 1";
  ExpectAllMake(fen, {"Bxc3", "bxc3", "BXC3", "e5c3"}, "e5c3");
  ExpectAllMake(fen, {"b2c3"}, "b2c3");
}

TEST(ParseAndMakeMove, PromotionTexts) {
  ExpectAllMake(PawnOnE7, {"e7e8q", "e7e8Q", "e8=Q", "e8=q", "E8=Q"}, "e7e8q");
  ExpectAllMake(PawnOnE7, {"e7e8n", "e7e8N", "e8=N"}, "e7e8n");
  ExpectAllMake(PawnOnE7, {"e7e8b", "e8=b"}, "e7e8b");
  // Under-promotions are quiet moves, rook first, listed before the queen promotion.
  ExpectAllMake(PawnOnE7, {"e7e8r", "e7e8"}, "e7e8r");
  ExpectAllRefused(PawnOnE7, {"e7e8x", "e7e8k", "e7e8p", "e8", "e8Q", "e8=K", "e7e8qq",
                              "e7-e8q"});
  // Black's promotion letter is compared without case too.
  ExpectAllMake("4k3/8/8/8/8/8/3p4/K7 b - - 0 1", {"d2d1q", "d2d1Q", "d1=Q+"}, "d2d1q");
}

TEST(ParseAndMakeMove, FifthLetterOfAMoveThatIsNoPromotionIsTheMover) {
  const std::string fen = "8/R7/8/8/8/7k/8/4K3 w - - 0 1";
  ExpectAllMake(fen, {"a7a8r", "a7a8R", "a7a8", "Ra8"}, "a7a8");
  ExpectAllRefused(fen, {"a7a8q", "a7a8x", "a6a8r"});
  // Rank digits other than 2 or 7 and 1 or 8 are no five-letter text at all.
  ExpectAllRefused(fen, {"a7a6r"});
}

TEST(ParseAndMakeMove, AlgebraicPassComesBeforeCoordinates) {
  // b1c3 folds onto B1c3, the bishop's move from a1, not the knight's.
  const std::string fen = "4k3/8/8/B7/8/8/8/BN2K3 w - - 0 1";
  SetFEN(fen);
  ASSERT_EQ(SanOf("a1c3"), "B1c3");
  ASSERT_EQ(SanOf("b1c3"), "Nc3");
  ExpectAllMake(fen, {"b1c3", "B1c3", "B1C3"}, "a1c3");
  ExpectAllMake(fen, {"Nc3", "nc3"}, "b1c3");
}

TEST(ParseAndMakeMove, CheckMarkIsPartOfTheText) {
  const std::string fen = "4k3/8/8/8/8/8/8/3QK3 w - - 0 1";
  SetFEN(fen);
  ASSERT_EQ(SanOf("d1h5"), "Qh5+");
  ExpectAllMake(fen, {"Qh5+", "qh5+", "d1h5"}, "d1h5");
  ExpectAllRefused(fen, {"Qh5", "Qh5#", "Qh5++", "d1h5+"});
}

TEST(ParseAndMakeMove, EmptyTextIsRefused) { ExpectAllRefused(StartFEN, {""}); }

TEST(ParseAndMakeMove, NothingIsTakenWithoutLegalMoves) {
  // White is mated.
  ExpectAllRefused("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",
                   {"", "e4", "e2e4", "a3", "Kf2", "e1f2", "O-O", "Nf3", "g1f3"});
  // Black is stalemated.
  ExpectAllRefused("k7/2Q5/1K6/8/8/8/8/8 b - - 0 1", {"", "Ka7", "a8b8", "Kb8", "a8a7", "Kxb7"});
}

TEST(ParseAndMakeMove, CaptureTextsAndEnPassant) {
  const std::string fen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
  ExpectAllMake(fen, {"exd6", "EXD6", "e5d6"}, "e5d6");
  ExpectAllRefused(fen, {"ed6", "exd6ep", "e5xd6", "d6", "xd6"});
}

TEST(ParseAndMakeMove, EveryMoveOfAPositionWithTwoHundredEighteen) {
  SetFEN("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
  RoundTripCounts counts;
  RoundTripCurrentPosition("218 moves", counts);
  EXPECT_EQ(counts.Moves, 218);
}

// Every legal move of every reference position, typed back as it is written.
TEST(ParseAndMakeMove, EveryLegalMoveOfEveryReferencePositionRoundTrips) {
  std::vector<std::string> fens = ReferenceFens();
  ASSERT_EQ(fens.size(), 86u);
  RoundTripCounts counts;
  for (const std::string& fen : fens) {
    SetFEN(fen);
    ASSERT_GT(CurrentLegalMoves()->List.Count, 0) << fen;
    RoundTripCurrentPosition(fen, counts);
    if (HasFatalFailure()) return;
  }
  RecordProperty("moves", counts.Moves);
  RecordProperty("folded_onto_bishop", counts.FoldedOntoBishop);
}
