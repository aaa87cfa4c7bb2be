// The xboard loop seen from a GUI: exact replies, CR LF line ends.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "eval/UnitEval.h"
#include "search/UnitSearch.h"
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

std::string UserMoves(const std::string& moves) {
  return std::regex_replace(moves, std::regex("(\\S+) ?"), "usermove $1\r\n");
}

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

TEST(XboardSession, InterruptsAreIgnored) {
  ProgramResult r = RunProgram({"xboard\r\nprotover 2\r\n", InterruptAfter(Feature), "ping 1\r\nquit\r\n"});
  EXPECT_EQ(r.Out, StartupText() + "\r\n" + Feature + "pong 1\r\n");
  EXPECT_EQ(r.ExitCode, 0);
}
