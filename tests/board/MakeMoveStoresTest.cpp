// The undo stack, the key history and the null-move stack hold a game of any
// length: thousands of plies play on, repetitions stay visible, and the whole
// game comes back move by move.
#include <gtest/gtest.h>

#include "board/BoardTestSupport.h"

namespace {

// The knights go out and back, so the start position recurs every 4 plies.
Move KnightShuffle(int ply) {
  switch (ply % 4) {
    case 0: return MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet);
    case 1: return MoveOf("g8", "f6", BlackKnight, 0, KindQuiet);
    case 2: return MoveOf("f3", "g1", WhiteKnight, 0, KindQuiet);
    default: return MoveOf("f6", "g8", BlackKnight, 0, KindQuiet);
  }
}

constexpr int LongGame = 5000;

}  // namespace

TEST(MoveStores, FiveThousandPliesPlayOnWithRepetitionsVisible) {
  EnsureBoardTables();
  SetPositionFromFEN(StartFEN);
  PositionState start = CaptureState();
  for (int ply = 0; ply < LongGame; ply++) {
    MakeMove(KnightShuffle(ply));
    ASSERT_EQ(KeyHistory[KeyHistoryCount], HashKey) << ply;
    if (KeyHistoryCount > 4) {
      ASSERT_EQ(KeyHistory[KeyHistoryCount - 4], HashKey) << ply;
    }
  }
  EXPECT_EQ(Ply, LongGame);
  EXPECT_EQ(GamePly, static_cast<uint8_t>(LongGame));
  EXPECT_EQ(KeyHistoryCount, LongGame + 1);
  EXPECT_EQ(HalfmoveClock, static_cast<uint32_t>(LongGame));
  EXPECT_EQ(HashKey, start.HashKey);
  // Growing the history kept every earlier key where it was.
  for (int i = 1; i <= KeyHistoryCount; i += 4) ASSERT_EQ(KeyHistory[i], start.HashKey) << i;
  EXPECT_EQ(ScratchDifferences(), "");

  // A search on top of the long game, then the whole game taken back.
  PositionState top = CaptureState();
  MakeMove(MoveOf("e2", "e4", WhitePawn, 0, KindQuiet));
  MakeNullMove();
  MakeMove(MoveOf("d2", "d4", WhitePawn, 0, KindQuiet));
  UnmakeMove();
  UnmakeNullMove();
  UnmakeMove();
  EXPECT_EQ(StateDifferences(CaptureState(), top), "");
  for (int ply = 0; ply < LongGame; ply++) UnmakeMove();
  EXPECT_EQ(StateDifferences(CaptureState(), start), "");
}

TEST(MoveStores, LongGameAfterAFreshSetUpStartsAtTheBottomAgain) {
  EnsureBoardTables();
  SetPositionFromFEN(StartFEN);
  for (int ply = 0; ply < 3000; ply++) MakeMove(KnightShuffle(ply));
  SetPositionFromFEN(StartFEN);
  EXPECT_EQ(KeyHistoryCount, 1);
  EXPECT_EQ(Ply, 0);
  for (int ply = 0; ply < 1500; ply++) MakeMove(KnightShuffle(ply));
  EXPECT_EQ(KeyHistoryCount, 1501);
  EXPECT_EQ(ScratchDifferences(), "");
}

TEST(MoveStores, ThousandsOfNestedNullMovesComeBack) {
  EnsureBoardTables();
  SetPositionFromFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  PositionState before = CaptureState();
  for (int i = 0; i < LongGame; i++) MakeNullMove();
  EXPECT_EQ(NullMoveCount, before.NullMoveCount + LongGame);
  EXPECT_EQ(EpFile, 128);
  for (int i = 0; i < LongGame; i++) UnmakeNullMove();
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
  EXPECT_EQ(EpFile, 4);
}

TEST(MoveStores, KeyHistoryRoomCanBeAskedForAhead) {
  EnsureBoardTables();
  SetPositionFromFEN(StartFEN);
  uint64_t first = KeyHistory[1];
  EnsureKeyHistoryRoom(20000);
  EXPECT_GT(KeyHistory.size(), 20000u);
  EXPECT_EQ(KeyHistory[1], first);
  KeyHistory[20000] = 1;  // in bounds, which the sanitizer build checks
}

TEST(MoveStores, FiveThousandTypedMovesAreAllTakenAndPlayOn) {
  EnsureBoardTables();
  SetPositionFromFEN(StartFEN);
  uint64_t start = HashKey;
  const char* const cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int ply = 0; ply < LongGame; ply++) ASSERT_TRUE(ParseAndMakeMove(cycle[ply % 4])) << ply;
  EXPECT_EQ(HashKey, start);
  EXPECT_EQ(KeyHistory[KeyHistoryCount - 4], start);
  ASSERT_TRUE(ParseAndMakeMove("e4"));
  // The move number counts plies modulo 256, as it always has.
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 69");
  EXPECT_EQ(KeyHistoryCount, LongGame + 2);
  EXPECT_EQ(ScratchDifferences(), "");
}
