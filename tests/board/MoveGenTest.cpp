// Legal move generation: list order and scores, pins, en passant, castling
// with its lazy clearing of rights, check evasions, colour symmetry, list
// capacity and shallow reference perft counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "board/BoardTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

// Index of a move text in the list, -1 when absent.
int IndexOf(const MoveList& list, const std::string& text) {
  for (int i = 0; i < list.Count; ++i)
    if (MoveText(list.Moves[i]) == text) return i;
  return -1;
}

// The full legal list of a position.
MoveList Legal(const std::string& fen) {
  SetFEN(fen);
  MoveList list;
  GenerateMoves(list);
  return list;
}

Move Find(const MoveList& list, const std::string& text) {
  const int i = IndexOf(list, text);
  return i < 0 ? 0 : list.Moves[i];
}

void MakeByText(const std::string& text) {
  MoveList list;
  GenerateMoves(list);
  const Move m = Find(list, text);
  ASSERT_NE(m, 0u) << text;
  MakeMove(m);
}

Texts From(const MoveList& list, const std::string& square) {
  Texts out;
  for (const auto& t : MoveTexts(list))
    if (t.substr(0, 2) == square) out.push_back(t);
  return out;
}

bool OwnKingAttackedAfterMove() {
  // After a move the side that moved is no longer to move.
  return WhiteToMove ? IsAttackedByWhite(uint8_t(BlackKingSquare)) : IsAttackedByBlack(uint8_t(WhiteKingSquare));
}

}  // namespace

TEST(MoveGenOrder, StartPositionQuietMovesInVisitingOrder) {
  MoveList list = Legal(StartFEN);
  EXPECT_EQ(MoveTexts(list), (Texts{"b1a3", "b1c3", "g1f3", "g1h3", "a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4",
                                    "g2g4", "h2h4", "a2a3", "b2b3", "c2c3", "d2d3", "e2e3", "f2f3", "g2g3", "h2h3"}));
  for (int i = 0; i < list.Count; ++i) {
    const Move m = list.Moves[i];
    EXPECT_EQ(MoveKind(m), uint32_t(KindQuiet));
    EXPECT_FALSE(MoveIsBlack(m));
    EXPECT_EQ(list.Scores[i], PSEDelta[MovePiece(m)][MoveFrom(m)][MoveTo(m)]);
  }
  EXPECT_EQ(list.Moves[0], MakeMoveValue(1, 16, WhiteKnight, 0, 0, KindQuiet));
  EXPECT_EQ(list.Moves[8], MakeMoveValue(12, 28, WhitePawn, 0, 0, KindQuiet));
}

TEST(MoveGenOrder, BlackWalksFromTheHighestSquare) {
  MoveList list = Legal("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"g8h6", "g8f6", "b8c6", "b8a6", "h7h5", "g7g5", "f7f5", "e7e5", "d7d5", "c7c5",
                                    "b7b5", "a7a5", "h7h6", "g7g6", "f7f6", "e7e6", "d7d6", "c7c6", "b7b6", "a7a6"}));
  for (int i = 0; i < list.Count; ++i) {
    const Move m = list.Moves[i];
    EXPECT_TRUE(MoveIsBlack(m));
    EXPECT_EQ(list.Scores[i], PSEDelta[MovePiece(m)][MoveFrom(m)][MoveTo(m)]);
  }
  EXPECT_EQ(MovePiece(list.Moves[0]), uint32_t(BlackKnight));
}

TEST(MoveGenOrder, PieceCapturesComeBeforePawnCapturesAfterAllQuietMoves) {
  MoveList list = Legal("4k3/8/8/3p4/4P3/8/B7/4K3 w - - 0 1");
  const int bishop = IndexOf(list, "a2d5"), pawn = IndexOf(list, "e4d5");
  ASSERT_GE(bishop, 0);
  ASSERT_EQ(pawn, list.Count - 1);
  EXPECT_EQ(bishop, list.Count - 2);
  EXPECT_EQ(list.Moves[bishop], MakeMoveValue(8, 35, WhiteBishop, BlackPawn, 0, KindCapture));
  EXPECT_EQ(list.Scores[bishop], -1);
  EXPECT_EQ(list.Scores[pawn], 28001);
  for (int i = 0; i < bishop; ++i) EXPECT_EQ(MoveKind(list.Moves[i]), uint32_t(KindQuiet));
}

TEST(MoveGenOrder, QueenIsVisitedOnceForLinesAndOnceForDiagonals) {
  SetFEN("4k3/8/2p1r3/8/4Q3/8/8/K7 w - - 0 1");
  MoveList list;
  GenerateWhiteCaptures(list);
  EXPECT_EQ(MoveTexts(list), (Texts{"e4e6", "e4c6"}));
  EXPECT_EQ(list.Scores[0], -1);
  EXPECT_EQ(list.Scores[1], -1);
}

TEST(MoveGenPromotion, PushGivesUnderPromotionsFirstAndTheQueenAmongCaptures) {
  MoveList list = Legal("k7/4P3/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e1d1", "e1f1", "e1d2", "e1e2", "e1f2", "e7e8r", "e7e8b", "e7e8n", "e7e8q"}));
  for (int i = 5; i < 8; ++i) {
    EXPECT_EQ(list.Scores[i], 23000);
    EXPECT_EQ(MoveKind(list.Moves[i]), uint32_t(KindPromotion));
  }
  EXPECT_EQ(list.Moves[8], MakeMoveValue(52, 60, WhiteQueen, 0, 0, KindPromotion));
  EXPECT_EQ(list.Scores[8], 29000);
}

TEST(MoveGenPromotion, CaptureOntoTheLastRankGivesOneQueenCaptureAndThreeQuietUnderPromotions) {
  SetFEN("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
  MoveList quiets, captures;
  GenerateWhiteQuiets(quiets);
  GenerateWhiteCaptures(captures);
  EXPECT_EQ(From(quiets, "b7"), (Texts{"b7b8r", "b7b8b", "b7b8n", "b7a8r", "b7a8b", "b7a8n"}));
  const Move under = Find(quiets, "b7a8n");
  EXPECT_EQ(under, MakeMoveValue(49, 56, WhiteKnight, BlackRook, 0, KindCapturePromotion));
  EXPECT_EQ(quiets.Scores[IndexOf(quiets, "b7a8n")], 23000);
  EXPECT_EQ(MoveTexts(captures), (Texts{"b7b8q", "b7a8q"}));
  EXPECT_EQ(captures.Scores[0], 29000);
  EXPECT_EQ(captures.Scores[1], 29005);
  EXPECT_EQ(captures.Moves[1], MakeMoveValue(49, 56, WhiteQueen, BlackRook, 0, KindCapturePromotion));
}

TEST(MoveGenPromotion, BlackPromotesTowardsTheFirstRank) {
  SetFEN("4k3/8/8/8/8/8/1p6/R3K3 b - - 0 1");
  MoveList quiets, captures;
  GenerateBlackQuiets(quiets);
  GenerateBlackCaptures(captures);
  EXPECT_EQ(From(quiets, "b2"), (Texts{"b2b1r", "b2b1b", "b2b1n", "b2a1r", "b2a1b", "b2a1n"}));
  EXPECT_EQ(Find(quiets, "b2b1r"), MakeMoveValue(9, 1, BlackRook, 0, 1, KindPromotion));
  EXPECT_EQ(MoveTexts(captures), (Texts{"b2b1q", "b2a1q"}));
  EXPECT_EQ(captures.Moves[1], MakeMoveValue(9, 0, BlackQueen, WhiteRook, 1, KindCapturePromotion));
  EXPECT_EQ(captures.Scores[1], 29005);
}

TEST(MoveGenPins, PinnedPiecesMoveOnlyAlongThePin) {
  // A pinned knight never moves.
  MoveList list = Legal("4k3/4r3/8/8/8/2p5/4N3/4K3 w - - 0 1");
  EXPECT_TRUE(From(list, "e2").empty());

  // A rook pinned on a file takes the pinner but nothing on its rank.
  list = Legal("4k3/4r3/8/8/1p2R3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(From(list, "e4"), (Texts{"e4e2", "e4e3", "e4e5", "e4e6", "e4e7"}));

  // A bishop pinned on a file has no move.
  list = Legal("4k3/4r3/8/8/8/3p4/4B3/4K3 w - - 0 1");
    EXPECT_TRUE(From(list, "e2").empty());

  // A pawn pinned on its file still pushes, one pinned on a diagonal does not
  // push but may take its pinner.
  list = Legal("4k3/4r3/8/8/8/8/4P3/4K3 w - - 0 1");
    EXPECT_EQ(From(list, "e2"), (Texts{"e2e4", "e2e3"}));
  list = Legal("4k3/8/8/b7/8/8/3P4/4K3 w - - 0 1");
    EXPECT_TRUE(From(list, "d2").empty());
  list = Legal("4k3/8/8/8/8/2b5/3P4/4K3 w - - 0 1");
    EXPECT_EQ(From(list, "d2"), (Texts{"d2c3"}));

  // The same for Black: a queen pinned on a diagonal slides along it only.
  list = Legal("4k3/3q4/8/1B6/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(From(list, "d7"), (Texts{"d7c6", "d7b5"}));
}

TEST(MoveGenPins, PinnedPawnPromotesOnlyAlongThePin) {
  // The pawn on g7 is pinned on the diagonal h8-a1: it may take the bishop
  // on h8 with promotion, but neither push nor take on f8.
  MoveList list = Legal("5r1b/6P1/8/8/8/8/1K6/7k w - - 0 1");
  EXPECT_EQ(From(list, "g7"), (Texts{"g7h8r", "g7h8b", "g7h8n", "g7h8q"}));
}

TEST(MoveGenEnPassant, RankPinAndFileEdges) {
  // Taking en passant would empty the rank between the king and the rook.
  MoveList list = Legal("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1");
  EXPECT_EQ(IndexOf(list, "e5d6"), -1);
  list = Legal("8/8/8/K2pP3/8/8/8/7k w - d6 0 1");
    const int i = IndexOf(list, "e5d6");
  ASSERT_GE(i, 0);
  EXPECT_EQ(list.Moves[i], MakeMoveValue(36, 43, WhitePawn, BlackPawn, 0, KindEnPassant));
  EXPECT_EQ(list.Scores[i], 28001);

  // On the edge files only the one neighbouring file is examined, whatever
  // stands on the square the other offset would name.
  SetFEN("4k3/8/8/pP6/7P/8/8/4K3 w - a6 0 1");
  GenerateWhiteCaptures(list);
  EXPECT_EQ(MoveTexts(list), (Texts{"b5a6"}));
  SetFEN("4k3/8/P7/6Pp/8/8/8/4K3 w - h6 0 1");
  GenerateWhiteCaptures(list);
  EXPECT_EQ(MoveTexts(list), (Texts{"g5h6"}));

  // The pawn on the higher file comes first, for both colours.
  SetFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1");
  GenerateWhiteCaptures(list);
  EXPECT_EQ(MoveTexts(list), (Texts{"f5e6", "d5e6"}));
  SetFEN("4k3/8/8/8/3pPp2/8/8/4K3 b - e3 0 1");
  GenerateBlackCaptures(list);
  EXPECT_EQ(MoveTexts(list), (Texts{"f4e3", "d4e3"}));
  EXPECT_EQ(list.Moves[0], MakeMoveValue(29, 20, BlackPawn, WhitePawn, 1, KindEnPassant));
  EXPECT_EQ(list.Scores[0], 28001);

  // No file, nothing examined.
  SetFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - - 0 1");
  GenerateWhiteCaptures(list);
  EXPECT_EQ(list.Count, 0);
}

TEST(MoveGenKing, KingAvoidsAttackedSquaresAndDefendedPieces) {
  MoveList list = Legal("4k3/8/8/8/6p1/3n1n2/4K3/8 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e2d1", "e2f1", "e2e3", "e2d3"}));
  EXPECT_EQ(list.Moves[3], MakeMoveValue(12, 19, WhiteKing, BlackKnight, 0, KindCapture));
  EXPECT_EQ(list.Scores[3], 29996);
  EXPECT_EQ(list.Scores[0], PSEDelta[WhiteKing][12][3]);
}

TEST(MoveGenCastling, BothSidesCastleLastQueenSideFirst) {
  SetFEN("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  MoveList list;
  GenerateWhiteQuiets(list);
  ASSERT_GE(list.Count, 2);
  EXPECT_EQ(list.Moves[list.Count - 2], MakeMoveValue(4, 2, WhiteKing, 0, 0, KindCastleLong));
  EXPECT_EQ(list.Scores[list.Count - 2], 24000);
  EXPECT_EQ(list.Moves[list.Count - 1], MakeMoveValue(4, 6, WhiteKing, 0, 0, KindCastleShort));
  EXPECT_EQ(list.Scores[list.Count - 1], 25000);

  SetFEN("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1");
  GenerateBlackQuiets(list);
  ASSERT_GE(list.Count, 2);
  EXPECT_EQ(list.Moves[list.Count - 2], MakeMoveValue(60, 58, BlackKing, 0, 1, KindCastleLong));
  EXPECT_EQ(list.Moves[list.Count - 1], MakeMoveValue(60, 62, BlackKing, 0, 1, KindCastleShort));
}

TEST(MoveGenCastling, OnlyThePathTheKingCrossesMustBeUnattacked) {
  // b1 attacked, c1 and d1 not: castling long is allowed.
  MoveList list = Legal("4k3/8/8/8/8/n7/8/R3K2R w KQ - 0 1");
  EXPECT_GE(IndexOf(list, "e1c1"), 0);
  EXPECT_GE(IndexOf(list, "e1g1"), 0);

  // d1 attacked: no castling long, and the right stays.
  list = Legal("4k3/8/8/8/8/8/1n6/R3K2R w KQ - 0 1");
    EXPECT_EQ(IndexOf(list, "e1c1"), -1);
  EXPECT_GE(IndexOf(list, "e1g1"), 0);
  EXPECT_EQ(CastleRights, 3u);

  // g1 attacked: no castling short.
  list = Legal("4k3/8/8/8/8/7n/8/R3K2R w KQ - 0 1");
    EXPECT_EQ(IndexOf(list, "e1g1"), -1);
  EXPECT_GE(IndexOf(list, "e1c1"), 0);

  // Any piece between blocks, whichever colour.
  list = Legal("4k3/8/8/8/8/8/8/Rn2K1NR w KQ - 0 1");
    EXPECT_EQ(IndexOf(list, "e1c1"), -1);
  EXPECT_EQ(IndexOf(list, "e1g1"), -1);
}

namespace {

// Takes a piece off the board with every derived field kept in step, giving
// a position with a castling right whose rook has gone.
void RemovePiece(int s) {
  const uint8_t code = Board[s];
  Board[s] = Empty;
  Pieces(code) ^= SquareMask[s];
  (code <= WhiteQueen ? WhitePieces : BlackPieces) ^= SquareMask[s];
  Occupied ^= SquareMask[s];
  OccupiedFileRotated ^= SquareMaskFileRotated[s];
  OccupiedDiagRotatedA ^= SquareMaskDiagA[s];
  OccupiedDiagRotatedB ^= SquareMaskDiagB[s];
  HashKey ^= PieceKeys[code][s];
  PSEScore -= PSETable[code][s];
  MaterialSignature -= MaterialIncrement[code];
}

}  // namespace

TEST(MoveGenCastling, RightOfAMissingCornerRookIsClearedWithItsKeyTerm) {
  SetFEN("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  RemovePiece(0);
  ASSERT_EQ(HashKey, ComputeHashKey());
  const uint64_t before = HashKey;
  MoveList list;
  GenerateWhiteQuiets(list);
  EXPECT_EQ(IndexOf(list, "e1c1"), -1);
  EXPECT_GE(IndexOf(list, "e1g1"), 0);
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(HashKey, before ^ CastleKeys[3] ^ CastleKeys[1]);
  EXPECT_EQ(HashKey, ComputeHashKey());
  // Generating again changes nothing more.
  GenerateMoves(list);
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(HashKey, ComputeHashKey());

  // Counting the moves gives the right up the same way.
  SetFEN("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  RemovePiece(0);
  const int32_t counted = CountMoves();
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(HashKey, ComputeHashKey());
  GenerateMoves(list);
  EXPECT_EQ(counted, list.Count);

  // While another condition fails the right stays and the key is unchanged:
  // a piece between, or an attacked square on the king's path.
  SetFEN("4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1");
  RemovePiece(0);
  const uint64_t key = HashKey;
  GenerateWhiteQuiets(list);
  EXPECT_EQ(CastleRights, 3u);
  EXPECT_EQ(HashKey, key);
  SetFEN("4k3/8/8/8/8/8/1n6/R3K2R w KQ - 0 1");
  RemovePiece(0);
  GenerateWhiteQuiets(list);
  EXPECT_EQ(CastleRights, 3u);

  // The captures generator never touches the rights.
  SetFEN("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  RemovePiece(0);
  GenerateWhiteCaptures(list);
  EXPECT_EQ(CastleRights, 3u);

  // Black's king side, through the full generator.
  SetFEN("4k2r/8/8/8/8/8/8/4K3 b k - 0 1");
  RemovePiece(63);
  GenerateMoves(list);
  EXPECT_EQ(IndexOf(list, "e8g8"), -1);
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(HashKey, ComputeHashKey());
}

TEST(MoveGenCastling, RightClearedDuringASearchComesBackWithTheMoveTakenBack) {
  SetFEN("r3k3/8/8/8/8/8/8/R3K2R b KQq - 0 1");
  RemovePiece(0);
  const uint64_t key = HashKey;
  MakeByText("e8d8");
  MoveList list;
  GenerateMoves(list);
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(HashKey, ComputeHashKey());
  UnmakeMove();
  EXPECT_EQ(CastleRights, 11u);
  EXPECT_EQ(HashKey, key);
}

TEST(MoveGenEvasions, KingStepsAwayFromASliderAreRefused) {
  MoveList list = Legal("4r2k/8/8/8/4K3/8/8/8 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e4d3", "e4f3", "e4d4", "e4f4", "e4d5", "e4f5"}));
  EXPECT_EQ(list.Scores[0], PSEDelta[WhiteKing][28][19]);
}

TEST(MoveGenEvasions, KingMayStepOnAlongAPawnsDiagonal) {
  MoveList list = Legal("7k/8/8/3p4/4K3/8/8/8 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e4d3", "e4e3", "e4f3", "e4d4", "e4f4", "e4d5", "e4e5", "e4f5"}));
  EXPECT_EQ(list.Moves[5], MakeMoveValue(28, 35, WhiteKing, BlackPawn, 0, KindCapture));
  EXPECT_EQ(list.Scores[5], 29995);
}

TEST(MoveGenEvasions, DoubleCheckLeavesOnlyKingMoves) {
  MoveList list = Legal("3R4/7k/8/8/8/8/R1nb4/4K3 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e1d1", "e1f1", "e1d2", "e1e2", "e1f2"}));
  EXPECT_EQ(list.Scores[2], 29997);
}

TEST(MoveGenEvasions, EveryCheckersLineIsExcludedWithThreeCheckers) {
  // Rook e8, bishop b7 and rook a4 all give check: stepping on along the
  // line of any of them, f4 included, stays in check.
  MoveList list = Legal("4r2k/1b6/8/8/r3K3/8/8/8 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e4d3", "e4f5"}));
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    EXPECT_FALSE(OwnKingAttackedAfterMove()) << MoveText(list.Moves[i]);
    UnmakeMove();
  }
}

TEST(MoveGenEvasions, KnightCheckIsAnsweredByKingOrCapture) {
  MoveList list = Legal("4k3/8/8/8/8/3n4/2P5/4KB2 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e1d1", "e1d2", "e1e2", "f1d3", "c2d3"}));
  EXPECT_EQ(list.Scores[3], 29000);
  EXPECT_EQ(list.Scores[4], 29000);
  EXPECT_EQ(list.Moves[4], MakeMoveValue(10, 19, WhitePawn, BlackKnight, 0, KindCapture));
}

TEST(MoveGenEvasions, PinnedPieceNeverTakesTheChecker) {
  MoveList list = Legal("4k3/8/8/8/8/2b5/8/r2NK3 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e1f1", "e1e2", "e1f2"}));
  list = Legal("4k3/8/8/8/8/2b5/8/3NK3 w - - 0 1");
    EXPECT_EQ(MoveTexts(list), (Texts{"e1f1", "e1e2", "e1f2", "d1c3"}));
  EXPECT_EQ(list.Scores[3], 29000);
}

TEST(MoveGenEvasions, EnPassantTakesTheCheckingPawn) {
  MoveList list = Legal("4k3/8/8/3PpP2/5K2/8/8/8 w - e6 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"f4e3", "f4f3", "f4g3", "f4e4", "f4g4", "f4e5", "f4g5", "f5e6", "d5e6"}));
  EXPECT_EQ(list.Scores[5], 29995);
  EXPECT_EQ(list.Moves[7], MakeMoveValue(37, 44, WhitePawn, BlackPawn, 0, KindEnPassant));
  EXPECT_EQ(list.Scores[7], 28001);
  EXPECT_EQ(list.Scores[8], 28001);

  // The f-pawn is pinned to its king by the rook on f8.
  list = Legal("4kr2/8/8/3PpP2/5K2/8/8/8 w - e6 0 1");
    EXPECT_EQ(IndexOf(list, "f5e6"), -1);
  EXPECT_EQ(IndexOf(list, "d5e6"), list.Count - 1);

  // A set-up position with a bishop behind the checking pawn: taking it en
  // passant would open the diagonal onto the king.
  SetFEN("4k3/8/2b5/3pP3/4K3/8/8/8 w - d6 0 1");
  ASSERT_TRUE(InCheck);
  GenerateMoves(list);
  EXPECT_EQ(IndexOf(list, "e5d6"), -1);
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    EXPECT_FALSE(OwnKingAttackedAfterMove()) << MoveText(list.Moves[i]);
    UnmakeMove();
  }

  // Black takes the checking white pawn the same way, higher file first.
  list = Legal("8/8/8/5k2/3pPp2/8/8/4K3 b - e3 0 1");
    ASSERT_GE(list.Count, 2);
  EXPECT_EQ(MoveText(list.Moves[list.Count - 2]), "f4e3");
  EXPECT_EQ(MoveText(list.Moves[list.Count - 1]), "d4e3");
  EXPECT_TRUE(MoveIsBlack(list.Moves[list.Count - 1]));
}

TEST(MoveGenEvasions, InterpositionsSquareBySquare) {
  MoveList list = Legal("4k3/8/8/b7/8/8/1PP5/4K3 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"e1d1", "e1f1", "e1e2", "e1f2", "c2c3", "b2b4"}));
  EXPECT_EQ(list.Scores[4], PSEDelta[WhitePawn][10][18]);
  EXPECT_EQ(list.Scores[5], PSEDelta[WhitePawn][9][25]);
}

TEST(MoveGenEvasions, PromotionsWhileInCheck) {
  // Taking the checking rook on the last rank: all four pieces, queen first.
  MoveList list = Legal("7r/6P1/8/8/7K/8/8/k7 w - - 0 1");
  EXPECT_EQ(MoveTexts(list), (Texts{"h4g3", "h4g4", "h4g5", "g7h8q", "g7h8r", "g7h8b", "g7h8n"}));
  EXPECT_EQ(list.Scores[3], 29005);
  for (int i = 4; i < 7; ++i) EXPECT_EQ(list.Scores[i], 23000);
  EXPECT_EQ(list.Moves[3], MakeMoveValue(54, 63, WhiteQueen, BlackRook, 0, KindCapturePromotion));

  // Interposing by a promotion, for Black (highest squares first).
  list = Legal("4K3/8/8/8/8/8/4p3/R6k b - - 0 1");
    EXPECT_EQ(MoveTexts(list), (Texts{"h1h2", "h1g2", "e2e1q", "e2e1r", "e2e1b", "e2e1n"}));
  EXPECT_EQ(list.Moves[2], MakeMoveValue(12, 4, BlackQueen, 0, 1, KindPromotion));
  EXPECT_EQ(list.Scores[2], 29000);
  EXPECT_EQ(list.Scores[5], 23000);
}

namespace {

std::string FlipFEN(const std::string& fen) {
  std::stringstream in(fen);
  std::string placement, side, castling, ep;
  in >> placement >> side >> castling >> ep;
  std::vector<std::string> ranks;
  std::stringstream p(placement);
  for (std::string r; std::getline(p, r, '/');) ranks.push_back(r);
  std::reverse(ranks.begin(), ranks.end());
  std::string out;
  for (size_t i = 0; i < ranks.size(); ++i) {
    if (i) out += '/';
    for (char c : ranks[i]) out += char(std::isalpha(static_cast<unsigned char>(c)) ? (c ^ 32) : c);
  }
  std::string rights;
  for (char c : castling) rights += char(c == '-' ? c : (c ^ 32));
  std::string flippedRights;
  for (char c : std::string("KQkq"))
    if (rights.find(c) != std::string::npos) flippedRights += c;
  if (flippedRights.empty()) flippedRights = "-";
  if (ep != "-") ep[1] = ep[1] == '3' ? '6' : '3';
  return out + (side == "w" ? " b " : " w ") + flippedRights + " " + ep + " 0 1";
}

Move FlipMove(Move m) {
  static constexpr uint32_t other[13] = {0, 7, 8, 9, 10, 6, 5, 1, 2, 3, 4, 12, 11};
  return MakeMoveValue(MoveFrom(m) ^ 56, MoveTo(m) ^ 56, other[MovePiece(m)], other[MoveCaptured(m)],
                       MoveIsBlack(m) ? 0 : 1, MoveKind(m));
}

std::vector<Move> SortedMoves(const MoveList& list) {
  std::vector<Move> v(list.Moves, list.Moves + list.Count);
  std::sort(v.begin(), v.end());
  return v;
}

// Walks the legal move tree: the count equals the list, out of check the list
// is the quiet list then the capture list, no move repeats or leaves its
// king attacked, every derived field matches its from-scratch value, and
// taking each move back restores every field.
void ExpectTreeSound(int depth) {
  // Counting first: it must give up the same castling rights as the list.
  const int32_t counted = CountMoves();
  const uint32_t rights = CastleRights;
  MoveList list;
  GenerateMoves(list);
  ASSERT_EQ(list.Count, counted) << GetFEN();
  ASSERT_EQ(CastleRights, rights);
  ASSERT_EQ(ScratchDifferences(), "") << GetFEN();
  if (!InCheck) {
    MoveList quiets, captures;
    if (WhiteToMove) {
      GenerateWhiteQuiets(quiets);
      GenerateWhiteCaptures(captures);
    } else {
      GenerateBlackQuiets(quiets);
      GenerateBlackCaptures(captures);
    }
    ASSERT_EQ(list.Count, quiets.Count + captures.Count);
    for (int i = 0; i < list.Count; ++i) {
      const bool quiet = i < quiets.Count;
      ASSERT_EQ(list.Moves[i], quiet ? quiets.Moves[i] : captures.Moves[i - quiets.Count]);
      ASSERT_EQ(list.Scores[i], quiet ? quiets.Scores[i] : captures.Scores[i - quiets.Count]);
    }
  }
  std::vector<Move> seen(list.Moves, list.Moves + list.Count);
  std::sort(seen.begin(), seen.end());
  ASSERT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end()) << GetFEN();
  const PositionState before = CaptureState();
  for (int i = 0; i < list.Count; ++i) {
    const Move m = list.Moves[i];
    ASSERT_EQ(MoveIsBlack(m), !WhiteToMove);
    MakeMove(m);
    ASSERT_FALSE(OwnKingAttackedAfterMove()) << GetFEN() << " after " << MoveText(m);
    if (depth > 1) ExpectTreeSound(depth - 1);
    else ASSERT_EQ(ScratchDifferences(), "") << GetFEN();
    UnmakeMove();
    ASSERT_EQ(StateDifferences(CaptureState(), before), "") << GetFEN() << " after " << MoveText(m);
  }
}

}  // namespace

TEST(MoveGenSymmetry, ColorFlippedPositionsGiveFlippedMoves) {
  for (const auto& record : ReferencePositions()) {
    MoveList list = Legal(record.Fen);
    std::vector<Move> flipped;
    for (int i = 0; i < list.Count; ++i) flipped.push_back(FlipMove(list.Moves[i]));
    std::sort(flipped.begin(), flipped.end());
    const uint64_t leaves = record.Counts.size() >= 2 ? Perft(2) : 0;
    list = Legal(FlipFEN(record.Fen));
        EXPECT_EQ(SortedMoves(list), flipped) << record.Fen;
    if (record.Counts.size() >= 2) {
      EXPECT_EQ(Perft(2), leaves) << record.Fen;
    }
  }
}

TEST(MoveGenTree, EveryMoveIsLegalAndMadeAndTakenBackExactly) {
  for (const auto& record : ReferencePositions()) {
    SetFEN(record.Fen);
    ExpectTreeSound(record.Counts.size() > 1 && record.Counts[1] < 3000 ? 3 : 2);
  }
}

TEST(MoveGenCapacity, CrowdedPositionListsEveryMove) {
  // Nine queens and six other pieces: the most moves a position can have.
  SetFEN("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
  ASSERT_EQ(GetFEN(), "R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
  MoveList list;
  GenerateMoves(list);
  MoveList quiets, captures;
  GenerateWhiteQuiets(quiets);
  GenerateWhiteCaptures(captures);
  EXPECT_EQ(list.Count, 218);
  EXPECT_EQ(list.Count, quiets.Count + captures.Count);
  std::vector<Move> all(list.Moves, list.Moves + list.Count);
  std::sort(all.begin(), all.end());
  EXPECT_TRUE(std::adjacent_find(all.begin(), all.end()) == all.end());
  static_assert(MaxMoves >= 64 * 16 + 24 * 3, "a target square has at most 16 origins");
}

TEST(MoveGenPerft, ShallowReferenceCounts) {
  // Depths of up to a few hundred thousand leaves; the full counts run in the
  // slow test.
  const auto records = ReferencePositions();
  ASSERT_EQ(records.size(), 86u);
  for (const auto& record : records) {
    SetFEN(record.Fen);
    for (size_t d = 1; d <= record.Counts.size() && record.Counts[d - 1] <= 300000; ++d)
      EXPECT_EQ(Perft(int(d)), record.Counts[d - 1]) << record.Fen << " depth " << d;
  }
}
