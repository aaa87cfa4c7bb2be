// Progress lines and principal-variation text.
#include "frontend/ProgressLines.h"

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "frontend/StartUp.h"
#include "frontend/UnitPerft.h"
#include "search/Clock.h"

std::string BestMoveText;

namespace {

// The console's variation column: it starts in column 37 and holds 42
// characters, so no row passes column 78.
constexpr size_t PVColumn = 36;
constexpr size_t PVWidth = 42;

std::string BoundMarker() {
  if (BestBound == 2) return "?";
  if (BestBound == 1) return "!";
  return "";
}

std::string UciScore() {
  int32_t mate = MateInMoves(BestScore);
  std::string text = mate == 0 ? "cp " + std::to_string(BestScore) : "mate " + std::to_string(mate);
  if (BestBound == 2) text += " lowerbound";
  if (BestBound == 1) text += " upperbound";
  return text;
}

// A mate is told by its distance: 10000 - 2m to mate, -10000 - 2m to be mated.
int32_t XboardScore() {
  int32_t mate = MateInMoves(BestScore);
  if (mate > 0) return 10000 - 2 * mate;
  if (mate < 0) return -10000 - 2 * mate;
  return BestScore;
}

std::string ConsoleScore() {
  if (!IsMateScore(BestScore)) return std::to_string(BestScore);
  int32_t distance = (Infinity + 1 - (BestScore < 0 ? -BestScore : BestScore)) / 2;
  return (BestScore > 0 ? "#" : "-#") + std::to_string(distance);
}

// Nothing is known of the speed before the first millisecond has passed.
int32_t NodesPerSecond(int64_t elapsedMs) {
  if (elapsedMs == 0) return 99999999;
  return static_cast<int32_t>(Round(static_cast<double>(Nodes) * 1000.0 / static_cast<double>(elapsedMs)));
}

std::string UciLine(int64_t elapsedMs) {
  return "info depth " + std::to_string(IterationDepth) + " seldepth " + std::to_string(SelDepth) +
         " score " + UciScore() + " time " + std::to_string(elapsedMs) + " nodes " + std::to_string(Nodes) +
         " nps " + std::to_string(NodesPerSecond(elapsedMs)) + " pv " + PVToUciText(RootPV);
}

std::string XboardLine(int64_t elapsedMs) {
  return std::to_string(IterationDepth) + " " + std::to_string(XboardScore()) + " " +
         std::to_string(elapsedMs / 10) + " " + std::to_string(Nodes) + " " + std::to_string(IterationDepth) +
         "/" + std::to_string(SelDepth) + " " + PVToSAN(RootPV, BoundMarker());
}

// Breaks at the last space that leaves a row of at most 42 characters;
// every further row starts under the first.
std::string WrapPV(std::string text) {
  std::string wrapped;
  while (text.size() > PVWidth) {
    size_t space = text.rfind(' ', PVWidth);
    if (space == std::string::npos) break;  // one unbroken word: left whole
    wrapped += text.substr(0, space) + "\r\n" + std::string(PVColumn, ' ');
    text.erase(0, space + 1);
  }
  return wrapped + text;
}

// The index of move in the list, or -1.
int32_t FindMove(const MoveList& list, Move move) {
  for (int32_t i = 0; i < list.Count; i++)
    if (list.Moves[i] == move) return i;
  return -1;
}

std::string MoveNumber() { return std::to_string(GamePly / 2 + 1) + "."; }

}  // namespace

std::string NodeCountText(int64_t nodes) {
  std::string text = FormatAbbreviated(nodes);
  // Whole thousands and whole millions keep a space in front, whatever their width.
  if ((nodes >= 100000 && nodes <= 999999) || nodes >= 100000000) return " " + text;
  return PadStr(text, -5);
}

std::string ConsoleSearchLine(const std::string& marker, int64_t elapsedMs) {
  return PadStr(std::to_string(IterationDepth) + "/" + std::to_string(SelDepth), -8) +
         PadStr(ConsoleScore(), -7) + PadStr(FormatElapsed(elapsedMs), -12) + "  " + NodeCountText(Nodes) +
         "  " + WrapPV(PVToSAN(RootPV, marker));
}

std::string SearchInfoLine(int64_t elapsedMs) {
  if (ProtocolMode == UciProtocol) return UciLine(elapsedMs);
  if (ProtocolMode == XboardProtocol) return XboardLine(elapsedMs);
  return ConsoleSearchLine(BoundMarker(), elapsedMs);
}

void PrintSearchInfo() { WriteLine(SearchInfoLine(ElapsedMs())); }

void PrintPVHeader() {
  PrintRule();
  WriteLine("   Depth  Score        Time  Nodes  PV");
  PrintRule();
}

void PrintPVLineConsole(const std::string& marker) { WriteLine(ConsoleSearchLine(marker, ElapsedMs())); }

std::string PVToSAN(const PrincipalVariation& pv, const std::string& marker) {
  static std::string texts[MaxMoves];
  std::string result;
  const int32_t base = Ply;
  std::string prefix = MoveNumber() + (WhiteToMove ? "" : "..");
  for (int32_t i = 0; i < PVLength && pv[i] != 0; i++) {
    if (GamePly % 2 == 0) prefix = MoveNumber();
    MoveList list;
    GenerateMoves(list);
    MovesToSAN(texts, list);
    int32_t found = FindMove(list, pv[i]);
    if (found >= 0) {
      if (i == 0) BestMoveText = texts[found].substr(0, 7);
      if (!result.empty()) result += ' ';
      result += prefix + texts[found];
      prefix.clear();
    }
    if (i == 0) result += marker;
    if (found < 0) break;
    MakeMove(pv[i]);
  }
  while (Ply > base) UnmakeMove();
  return result;
}

std::string PVToUciText(const PrincipalVariation& pv) {
  std::string text;
  for (int32_t i = 0; i < PVLength && pv[i] != 0; i++) text += MoveToText(pv[i]) + " ";
  return text;
}
