// The UCI loop seen from a GUI: exact replies, CR LF line ends.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/EngineSetup.h"
#include "support/ProgramSession.h"

namespace {

const std::string UciHeader =
    "id name Velkar 0.5.9 RND\r\n"
    "id author the Velkar developers\r\n"
    "option name Hash type spin default 256 min 16 max 512\r\n"
    "uciok\r\n";

const std::string MateInOneFEN = "8/1Q6/8/p7/P7/K6p/1q4n1/1k6 w - - 0 1";
const std::string Scholar = "e2e4 f7f5 d1h5";

// The replies to the commands; times and speeds vary from run to run: they
// read T and R.
std::string Uci(const std::string& commands) {
  const std::string out = SessionOutput("uci\r\n" + commands + "quit\r\n");
  return std::regex_replace(std::regex_replace(out, std::regex("time \\d+"), "time T"), std::regex("nps \\d+"),
                            "nps R");
}

// The three lines a request to move answers with when one move is forced.
std::string Reply(const std::string& fen, const std::string& moves, const std::string& move) {
  return "info depth 1 seldepth 1 score cp " + StaticScoreAfter(fen, moves) + " time T nodes 1 nps R pv " + move +
         " \r\ninfo time T nodes 1 nps R hashfull 0\r\nbestmove " + move + "\r\n";
}

}  // namespace

TEST(UciSession, SettingsAndSilentCommands) {
  EXPECT_EQ(
      Uci("isready\r\nsetoption name Hash value 100\r\nsetoption name HASH value 16\r\n"
          "setoption name Hash value 8\r\nsetoption name Clear Hash\r\nucinewgame\r\nstop\r\nponderhit\r\nfoo\r\n"),
      UciHeader +
          "readyok\r\ninfo string HASH: size=64MB slots=4,194,307\r\ninfo string HASH: size=16MB slots=1,048,579\r\n");
}

TEST(UciSession, MalformedNumberEndsTheProgram) {
  // Only the word after depth or movetime is read; a clock word needs its number.
  const char* const cases[][2] = {{"go depth x 5", "x"}, {"go movetime 5x 7", "5x"}, {"go wtime", ""}};
  for (const auto& [go, text] : cases) {
    ProgramResult r = RunProgram("uci\r\n" + std::string(go) + "\r\nquit\r\n");
    EXPECT_EQ(r.Out, StartupText() + UciHeader);
    EXPECT_EQ(r.Err, ConversionErrorText(text)) << go;
    EXPECT_EQ(r.ExitCode, 1);
  }
}

TEST(UciGo, EveryFormGetsOneBestMove) {
  const std::string start = "position startpos moves " + Scholar + "\r\n";
  const std::string reply = Reply(StartFEN, Scholar, "g7g6");
  EXPECT_EQ(Uci(start + "go wtime 1000 btime 1000\r\n" + "position startpos moves " + Scholar +
                " g7g6 h5g6\r\ngo wtime 1000 btime 1000\r\n" + start +
                "go\r\ngo nodes 1000\r\ngo wtime 5000\r\ngo depth 3 movetime 100\r\n"),
            UciHeader + reply + Reply(StartFEN, Scholar + " g7g6 h5g6", "h7g6") + reply + reply + reply + reply);
}

TEST(UciGo, InfiniteAndPonderHoldTheBestMoveUntilTheSearchIsEnded) {
  const std::string reply = Reply(StartFEN, Scholar, "g7g6");
  const std::string report = reply.substr(0, reply.find("bestmove"));
  EXPECT_EQ(Uci("position startpos moves " + Scholar +
                "\r\ngo infinite\r\nisready\r\nstop\r\ngo ponder\r\nponderhit\r\n"
                "go wtime 900 ponder\r\ngo wtime 900\r\ngo infinite\r\n"),
            UciHeader + report + "readyok\r\nbestmove g7g6\r\n" + reply + reply + reply + report);
}

TEST(UciGo, NoLegalMoveGetsTheNullMove) {
  EXPECT_EQ(Uci("position fen " + MateInOneFEN + "\r\ngo\r\nposition fen " + MateInOneFEN + " moves b7b2\r\ngo\r\n"),
            UciHeader + Reply(MateInOneFEN, "", "b7b2") + "info time T nodes 0 nps R hashfull 0\r\nbestmove 0000\r\n");
}

TEST(UciSession, ALongMoveListAndABurstComeLineByLine) {
  std::string moves, isready, readyok;
  for (int i = 0; i < 1250; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  moves += Scholar;
  const std::string line = "position startpos moves " + moves;
  ASSERT_EQ(line.size(), 25038u);
  for (int i = 0; i < 1000; ++i) {
    isready += "isready\r\n";
    readyok += "readyok\r\n";
  }
  EXPECT_EQ(Uci(line + "\r\ngo wtime 1000 btime 1000\r\n" + isready),
            UciHeader + Reply(StartFEN, moves, "g7g6") + readyok);
}
