// The UCI loop seen from a GUI: exact replies, CR LF line ends.
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

const std::string UciHeader =
    "id name Velkar 0.5.9 RND\r\n"
    "id author the Velkar developers\r\n"
    "option name Hash type spin default 256 min 16 max 512\r\n"
    "uciok\r\n";

// Times and speeds vary from run to run: they read T and R.
std::string WithoutTimes(const std::string& out) {
  return std::regex_replace(std::regex_replace(out, std::regex("time \\d+"), "time T"), std::regex("nps \\d+"),
                            "nps R");
}

void ExpectUci(const ProgramResult& r, const std::string& afterHeader) {
  EXPECT_EQ(WithoutTimes(r.Out), StartupText() + UciHeader + afterHeader);
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.ExitCode, 0);
}

ProgramResult RunUci(const std::string& commands) { return RunProgram("uci\r\n" + commands + "quit\r\n"); }

}  // namespace

TEST(UciSession, SettingsAndSilentCommands) {
  ExpectUci(RunUci("isready\r\nsetoption name Hash value 100\r\nsetoption name HASH value 16\r\n"
                   "setoption name Hash value 8\r\nsetoption name Clear Hash\r\nucinewgame\r\nstop\r\n"
                   "ponderhit\r\nfoo\r\n"),
            "readyok\r\n"
            "info string HASH: size=64MB slots=4,194,307\r\n"
            "info string HASH: size=16MB slots=1,048,579\r\n");
}

TEST(UciSession, MalformedNumberEndsTheProgram) {
  // Only the word after depth or movetime is read; a clock word needs its number.
  const char* const cases[][2] = {{"go depth x 5", "x"}, {"go movetime 5x 7", "5x"}, {"go wtime", ""}};
  for (const auto& [go, text] : cases) {
    ProgramResult r = RunUci(std::string(go) + "\r\n");
    EXPECT_EQ(r.Out, StartupText() + UciHeader);
    EXPECT_EQ(r.Err, ConversionErrorText(text)) << go;
    EXPECT_EQ(r.ExitCode, 1);
  }
}

TEST(UciSession, ABurstOfCommandsIsTakenLineByLine) {
  std::string isready, readyok;
  for (int i = 0; i < 1000; ++i) {
    isready += "isready\r\n";
    readyok += "readyok\r\n";
  }
  ExpectUci(RunUci(isready), readyok);
}
