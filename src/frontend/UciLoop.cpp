// The UCI protocol loop: the commands between requests to move, the position
// with its move list, the limits of "go" and the Hash option.
#include "frontend/UciLoop.h"

#include <string_view>

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/Notation.h"
#include "frontend/StartUp.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

std::string LastPositionMoves;
std::string LastPositionBase;

namespace {

constexpr int64_t OneDayMs = 86400000;
// The sizes the Hash option takes: any other value leaves the table as it is.
constexpr int32_t MinHashSizeMB = 16;
constexpr int32_t MaxHashSizeMB = 512;

// The "bestmove" line of a "go infinite" or "go ponder": a GUI waits for it
// only after it has told that search to end.
std::string HeldBestMove;

void WriteHeldBestMove() {
  if (HeldBestMove.empty()) return;
  WriteLine(HeldBestMove);
  HeldBestMove.clear();
}

// Long move lists are walked without copying what is left of them.
std::string_view NextWord(std::string_view& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) first = text.size();
  text.remove_prefix(first);
  size_t end = text.find(' ');
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return word;
}

std::string LowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool HasWord(std::string_view text, std::string_view wanted) {
  while (!text.empty())
    if (NextWord(text) == wanted) return true;
  return false;
}

// The list extends the last one when it begins with it and the last one's
// final move is not the start of a longer word.
bool ExtendsLastList(const std::string& base, const std::string& list) {
  const std::string& last = LastPositionMoves;
  return base == LastPositionBase && list.compare(0, last.size(), last) == 0 &&
         (last.empty() || list.size() == last.size() || list[last.size()] == ' ');
}

// Plays a move list on its base: only the new moves when it extends the last
// list, else all of them on a fresh set-up. A base FEN that is rejected gets
// no moves. The first move that fails ends the list, silently.
void SetPositionAndMoves(const std::string& base, const std::string& list) {
  std::string_view moves = list;
  if (ExtendsLastList(base, list)) {
    moves.remove_prefix(LastPositionMoves.size());
    if (!moves.empty() && moves[0] == ' ') moves.remove_prefix(1);
  } else {
    NewGame();
    if (!base.empty()) {
      if (!SetPositionFromFEN(base)) return;
      LastPositionBase = base;
    }
  }
  while (!moves.empty())
    if (!ParseAndMakeMove(std::string(NextWord(moves)))) break;
  LastPositionMoves = list;
}

// The reply to a "go": the chosen move, or the null move when there was none.
std::string BestMoveLine() {
  if (BestMove == 0) return "bestmove 0000";
  std::string line = "bestmove " + MoveToText(BestMove);
  if (RootPV[1] != 0) line += " ponder " + MoveToText(RootPV[1]);
  return line;
}

void ClockLimits(std::string args) {
  int32_t wtime = 0, btime = 0, winc = 0, binc = 0, movestogo = 0;
  while (!args.empty()) {
    std::string word = NextToken(args);
    int32_t* value = word == "wtime"       ? &wtime
                     : word == "btime"     ? &btime
                     : word == "winc"      ? &winc
                     : word == "binc"      ? &binc
                     : word == "movestogo" ? &movestogo
                                           : nullptr;
    if (value) *value = StrToInt(NextToken(args));
  }
  if (movestogo == 0) movestogo = 45;
  uint32_t time = static_cast<uint32_t>(WhiteToMove ? wtime : btime);
  uint32_t inc = static_cast<uint32_t>(WhiteToMove ? winc : binc);
  // The clock arithmetic wraps in 32 bits; a budget of 0 or below still
  // gets a move, with limits of 0 or below.
  int32_t budget = static_cast<int32_t>(time + static_cast<uint32_t>(movestogo) * inc);
  SoftTimeMs = budget / 55;
  HardTimeMs = budget / 35;
}

bool UciCommand(const std::string& line) {
  if (line == "isready") {
    WriteLine("readyok");
  } else if (HasPrefix(line, "setoption ")) {
    WriteHeldBestMove();
    UciSetOption(ArgumentFrom(line, 11));
  } else if (line == "ucinewgame") {
    WriteHeldBestMove();
    NewGame();
  } else if (HasPrefix(line, "position ")) {
    WriteHeldBestMove();
    UciPosition(ArgumentFrom(line, 10));
  } else if (line == "go" || HasPrefix(line, "go ")) {
    WriteHeldBestMove();
    UciGo(ArgumentFrom(line, 4));
  } else if (line == "stop") {
    WriteHeldBestMove();
    StopSearch = true;
  } else if (line == "ponderhit") {
    WriteHeldBestMove();
  } else if (line == "quit") {
    return false;
  }
  return true;
}

}  // namespace

void UciLoop() {
  std::string line;
  for (;;)
    if (NextCommandLine(line) && !UciCommand(line)) return;
}

void UciPrintOptions() {
  WriteLine("option name Hash type spin default " + std::to_string(DefaultHashSizeMB) + " min " +
            std::to_string(MinHashSizeMB) + " max " + std::to_string(MaxHashSizeMB));
}

std::string NextToken(std::string& text) {
  std::string_view rest = text;
  std::string word(NextWord(rest));
  text.erase(0, text.size() - rest.size());
  return word;
}

void UciSetOption(std::string args) {
  if (NextToken(args) != "name") return;
  std::string name = LowerCase(NextToken(args));
  if (NextToken(args) != "value") return;
  std::string value = LowerCase(NextToken(args));
  if (name != "hash") return;
  int32_t megabytes = StrToInt(value);
  if (megabytes < MinHashSizeMB || megabytes > MaxHashSizeMB) return;
  HashSizeMB = megabytes;
  SetHashSize();
}

void UciGoLimits(std::string args) {
  if (args == "ponder") {
    SoftTimeMs = HardTimeMs = OneDayMs;
  } else if (HasPrefix(args, "depth ")) {
    std::string rest = ArgumentFrom(args, 7);
    MaxDepth = StrToInt(NextToken(rest));
    SoftTimeMs = HardTimeMs = OneDayMs;
  } else if (args == "infinite") {
    InfiniteSearch = true;
  } else if (HasPrefix(args, "movetime ")) {
    std::string rest = ArgumentFrom(args, 10);
    SoftTimeMs = HardTimeMs = StrToInt(NextToken(rest));
  } else {
    ClockLimits(args);
  }
}

void UciGo(std::string args) {
  ResetSearch();
  UciGoLimits(args);
  Think();
  PrintInfoTimeNodes();
  // A stop read while thinking has already ended this search.
  bool held = (HasWord(args, "infinite") || HasWord(args, "ponder")) && !StopSearch;
  if (held)
    HeldBestMove = BestMoveLine();
  else
    WriteLine(BestMoveLine());
}

void UciPosition(std::string args) {
  bool startpos = false;
  if (HasPrefix(args, "startpos")) {
    startpos = true;
    args = ArgumentFrom(args, 10);
  }
  if (HasPrefix(args, "fen ")) {
    std::string fen = ArgumentFrom(args, 5);
    size_t split = fen.find(" moves ");
    if (split == std::string::npos) {
      NewGame();
      if (SetPositionFromFEN(fen)) LastPositionBase = fen;
    } else {
      SetPositionAndMoves(fen.substr(0, split), fen.substr(split + 7));
    }
  } else if (HasPrefix(args, "moves ")) {
    startpos = false;
    SetPositionAndMoves("", ArgumentFrom(args, 7));
  }
  if (startpos) NewGame();
}
