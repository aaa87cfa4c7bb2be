// The xboard loop seen from a GUI: exact replies, CR LF line ends.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/EngineSetup.h"
#include "support/ProgramSession.h"

namespace {

const std::string Feature =
    "feature ping=1 setboard=1 playother=1 usermove=1 analyze=0 myname=\"Velkar 0.5.9 RND\" "
    "variants=\"normal\" colors=0 done=1\r\n";

// The replies after the empty line that hands over to xboard. The thinking
// line's time (third field, centiseconds) varies: it reads T.
std::string Xboard(const std::string& commands) {
  const std::string out = SessionOutput("xboard\r\n" + commands + "quit\r\n");
  EXPECT_EQ(out.substr(0, 2), "\r\n");
  return std::regex_replace(out.substr(2), std::regex("(^|\n)(1 -?\\d+) \\d+ 1 1/1 "), "$1$2 T 1 1/1 ");
}

// The thinking line of a forced move: its score is the static evaluation of
// the position it is chosen in.
std::string Thinking(const std::string& fen, const std::string& moves, const std::string& pv) {
  return "1 " + StaticScoreAfter(fen, moves) + " T 1 1/1 " + pv + "\r\n";
}

std::string UserMoves(const std::string& moves) {
  return std::regex_replace(moves, std::regex("(\\S+) ?"), "usermove $1\r\n");
}

const std::string MateInOneFEN = "8/1Q6/8/p7/P7/K6p/1q4n1/1k6 w - - 0 1";
const std::string StalemateFEN = "8/8/8/8/7q/7K/4NR2/7k w - - 0 1";

}  // namespace

TEST(XboardSession, FeaturesPingMessagesAndWhoMates) {
  EXPECT_EQ(Xboard("protover 2\r\nping 7\r\nnps\r\nnps 5\r\nrejected foo\r\nping\r\n"),
            Feature + "pong 7\r\nError (unkown command): nps\r\ntelluser rejected foo\r\n");
  EXPECT_EQ(Xboard("new\r\nforce\r\n" + UserMoves("f2f3 e7e5 g2g4") + "playother\r\n" + UserMoves("d8h4") +
                   "new\r\nforce\r\n" + UserMoves("e2e5")),
            "0-1 {Black Mates}\r\nIllegal move: e2e5\r\n");
  EXPECT_EQ(Xboard("setboard " + MateInOneFEN + "\r\ngo\r\nping 3\r\nsetboard " + StalemateFEN + "\r\ngo\r\ngo\r\n"),
            Thinking(MateInOneFEN, "", "1.Qxb2#") + "move b7b2\r\n1-0 {White Mates}\r\npong 3\r\n" +
                Thinking(StalemateFEN, "", "1.Kxh4") + "move h3h4\r\n1/2-1/2 {Stalemate}\r\n1/2-1/2 {Stalemate}\r\n");
}

TEST(XboardSession, TheEngineAnswersBeforeTheNextCommand) {
  EXPECT_TRUE(std::regex_match(Xboard("new\r\nusermove e2e4\r\nping 9\r\n"),
                               std::regex("[\\s\\S]*\r\nmove [a-h][1-8][a-h][1-8]\r\npong 9\r\n")));
}

TEST(XboardSession, ABurstOfMovesComesWhole) {
  std::string moves;
  for (int i = 0; i < 100; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  moves += "e2e4 f7f5 d1h5";
  EXPECT_EQ(Xboard("new\r\nforce\r\n" + UserMoves(moves) + "go\r\n"),
            Thinking(StartFEN, moves, "74...g6") + "move g7g6\r\n");
}

TEST(XboardSession, InterruptsAreIgnored) {
  EXPECT_EQ(SessionOutput({"xboard\r\nprotover 2\r\n", InterruptAfter(Feature), "ping 1\r\nquit\r\n"}),
            "\r\n" + Feature + "pong 1\r\n");
}
