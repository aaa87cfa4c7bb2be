// The position a UCI "position" command leaves, alone and after another one.
#include <gtest/gtest.h>

#include "board/Position.h"
#include "frontend/UciLoop.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"

TEST(UciPosition, SetsUpAndExtendsOnlyOnTheSameBase) {
  InitEngineOnce();
  const std::string pawn = "fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
  struct Case {
    std::string before, command;
    const char* fen;
  };
  const Case cases[] = {
      {"startpos moves e2e4 e7e5", "startpos moves e2e4 e7e5 g1f3 b8c6",
       "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"},
      {"startpos moves e2e4 e7e5", "startpos moves d2d4", "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1"},
      // A FEN's moves are made; a list after a FEN never extends onto it.
      {"startpos", pawn + " moves a7a8q e8d7", "Q7/3k4/8/8/8/8/8/4K3 w - - 1 2"},
      {pawn, "startpos moves e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
      // The last move must end where the old list ended: a7a8 is no start of a7a8n.
      {pawn + " moves a7a8", pawn + " moves a7a8n", "N3k3/8/8/8/8/8/8/4K3 b - - 0 1"},
      {pawn + " moves a7a8n", pawn + " moves a7a8n e8d7", "N7/3k4/8/8/8/8/8/4K3 w - - 1 2"},
      {"startpos", "startpos moves e2e4 e2e4 d2d4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
      {"startpos moves e2e4", "startpos moves", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"startpos moves e2e4", "startpos fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
  };
  for (const Case& c : cases) {
    NewGame();
    UciPosition(c.before);
    UciPosition(c.command);
    EXPECT_EQ(GetFEN(), c.fen) << c.before << " / " << c.command;
  }
}
