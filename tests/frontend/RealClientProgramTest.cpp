// Whole games under a real interface against a real opponent: xboard, on a
// virtual X server, plays two games between Velkar and Fairy-Max, with
// Velkar speaking xboard's protocol or UCI through polyglot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace {

std::string FileText(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// Velkar is always xboard's first program; the colours alternate. Each match
// gets its own X server number and home, so matches run side by side and
// leave no settings behind. A match that hangs is ended after 150 seconds,
// killed if it ignores that. Both games must be complete and end on the
// board: mate, stalemate or a draw rule, never a resignation, a forfeit, a
// flag or a lost engine.
void ExpectCompleteGames(int server, bool uci, const std::string& setUpFEN = "") {
  // xvfb-run cannot let a client onto its server without xauth, which the
  // xvfb package only recommends.
  for (const char* tool :
       {"/usr/bin/xvfb-run", "/usr/bin/xauth", "/usr/games/xboard", "/usr/games/polyglot", "/usr/games/fairymax"})
    if (access(tool, X_OK) != 0) GTEST_SKIP() << tool << " is not installed";
  TempDir dir;
  std::string command = "cd " + dir.Path + " && HOME=" + dir.Path + " timeout -k 10 150 xvfb-run -n " +
                        std::to_string(server) +
                        " -a /usr/games/xboard -noGUI -popupExitMessage false -saveSettingsOnExit false "
                        "-matchGames 2 -tc 0:10 -fcp " VELKAR_BINARY " -fd " +
                        dir.Path + " -scp /usr/games/fairymax -sd " + dir.Path +
                        " -saveGameFile games.pgn -debugMode true -nameOfDebugFile debug.log";
  if (uci) command += " -fUCI -adapterCommand '/usr/games/polyglot -noini -ec \"%fcp\" -ed \"%fd\"'";
  if (!setUpFEN.empty()) command += " -loadPositionFile " + dir.Write("start.fen", setUpFEN + "\n");
  command += " </dev/null >xboard.out 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << FileText(dir.Path + "/xboard.out");
  const std::string games = FileText(dir.Path + "/games.pgn"), log = FileText(dir.Path + "/debug.log");

  std::regex ending("\\{([^}]*)\\} (1-0|0-1|1/2-1/2)\\s*(\\[|$)");
  std::regex onTheBoard("checkmate|mates|stalemate|repetition|50|fifty|insufficient", std::regex::icase);
  int count = 0;
  for (auto it = std::sregex_iterator(games.begin(), games.end(), ending); it != std::sregex_iterator(); ++it) {
    ++count;
    EXPECT_TRUE(std::regex_search((*it)[1].str(), onTheBoard)) << (*it)[0];
  }
  EXPECT_EQ(count, 2) << games;
  std::smatch found;
  for (const char* fault :
       {"[Ii]llegal", "[Ff]orfeit", "exited unexpectedly", "<first : resign", "(White|Black) resigns"})
    EXPECT_FALSE(std::regex_search(log, found, std::regex(".*(" + std::string(fault) + ").*"))) << found[0];
}

}  // namespace

TEST(RealClient, XboardModeAgainstFairyMax) { ExpectCompleteGames(120, false); }

TEST(RealClient, UciModeThroughPolyglotAgainstFairyMax) { ExpectCompleteGames(140, true); }

TEST(RealClient, UciModeFromASetUpPosition) {
  ExpectCompleteGames(160, true, "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");
}
