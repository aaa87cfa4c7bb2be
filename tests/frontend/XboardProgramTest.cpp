// The xboard loop seen from a GUI: exact replies, CR LF line ends.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/EngineSetup.h"
#include "support/ProgramDriver.h"

namespace {

const std::string Feature =
    "feature ping=1 setboard=1 playother=1 usermove=1 analyze=0 myname=\"Velkar 0.5.9 RND\" "
    "variants=\"normal\" colors=0 done=1\r\n";

// The thinking line's time (third field, centiseconds) varies: it reads T.
std::string WithoutTimes(const std::string& out) {
  return std::regex_replace(out, std::regex("(^|\n)(1 -?\\d+) \\d+ 1 1/1 "), "$1$2 T 1 1/1 ");
}

void ExpectXboard(const ProgramResult& r, const std::string& afterHandOver) {
  EXPECT_EQ(WithoutTimes(r.Out), StartupText() + "\r\n" + afterHandOver);
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.ExitCode, 0);
}

ProgramResult RunXboard(const std::string& commands) {
  return RunProgram("xboard\r\n" + commands + "quit\r\n");
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

TEST(XboardSession, FeaturesPingAndMessages) {
  ExpectXboard(RunXboard("protover 2\r\nping 7\r\nnps\r\nnps 5\r\nrejected foo\r\nping\r\n"),
               Feature + "pong 7\r\nError (unkown command): nps\r\ntelluser rejected foo\r\n");
}

TEST(XboardSession, IllegalMoveAndTheUsersMate) {
  ExpectXboard(RunXboard("new\r\nforce\r\n" + UserMoves("f2f3 e7e5 g2g4") + "playother\r\n" + UserMoves("d8h4") +
                         "new\r\nforce\r\n" + UserMoves("e2e5")),
               "0-1 {Black Mates}\r\nIllegal move: e2e5\r\n");
}

TEST(XboardSession, TheEnginesMateAndStalemate) {
  ExpectXboard(RunXboard("setboard " + MateInOneFEN + "\r\ngo\r\nping 3\r\nsetboard " + StalemateFEN +
                         "\r\ngo\r\ngo\r\n"),
               Thinking(MateInOneFEN, "", "1.Qxb2#") + "move b7b2\r\n1-0 {White Mates}\r\npong 3\r\n" +
                   Thinking(StalemateFEN, "", "1.Kxh4") + "move h3h4\r\n1/2-1/2 {Stalemate}\r\n" +
                   "1/2-1/2 {Stalemate}\r\n");
}

TEST(XboardSession, TheEngineAnswersBeforeTheNextCommand) {
  ProgramResult r = RunXboard("new\r\nusermove e2e4\r\nping 9\r\n");
  EXPECT_TRUE(std::regex_match(r.Out, std::regex("[\\s\\S]*\r\nmove [a-h][1-8][a-h][1-8]\r\npong 9\r\n")));
}

TEST(XboardSession, ABurstOfMovesComesWhole) {
  std::string moves;
  for (int i = 0; i < 100; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  moves += "e2e4 f7f5 d1h5";
  ExpectXboard(RunXboard("new\r\nforce\r\n" + UserMoves(moves) + "go\r\n"),
               Thinking(StartFEN, moves, "74...g6") + "move g7g6\r\n");
}

TEST(XboardSession, InterruptsAreIgnored) {
  ProgramResult r = RunProgram({"xboard\r\nprotover 2\r\n", InterruptAfter(Feature), "ping 1\r\nquit\r\n"});
  EXPECT_EQ(r.Out, StartupText() + "\r\n" + Feature + "pong 1\r\n");
  EXPECT_EQ(r.ExitCode, 0);
}
