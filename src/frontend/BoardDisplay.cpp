// The board display with its position report.
#include "frontend/BoardDisplay.h"

#include <cinttypes>
#include <cstdio>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "search/UnitSearch.h"

char BoardDisplay = '1';
char Figurines = '1';

namespace {

// By piece code. Both colours share a glyph: the cell's colour tells them
// apart. The bytes are the console font's shapes for the pieces.
const char FigurineGlyphs[13] = {' ',    '\xF8', '\x9F', '\x06', '\x0F', 'W',   'W',
                                 '\xF8', '\x9F', '\x06', '\x0F', '\xC5', '\xC5'};

const char* const WhiteCastling[4] = {"W no castle, ", "W OO, ", "W OOO, ", "W OO & OOO, "};
const char* const BlackCastling[4] = {"B no castle", "B OO", "B OOO", "B OO & OOO"};

// Report lines 1 to 10 (entry 0 unused), one per row of the board's right side.
using Report = std::string[11];

std::string Bars(int width) { return std::string(static_cast<size_t>(width), '\xC4'); }

std::string Hex(uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*" PRIX64, digits, value);
  return text;
}

void SetSetting(char& setting, char last, const char* message, const std::string& p, bool show) {
  if (p.size() != 1 || p[0] < '0' || p[0] > last) {
    WriteLine(message + p);
    return;
  }
  setting = p[0];
  if (show) PrintBoard();
}

// The literal is split so that no "??)" is read as a trigraph.
std::string MoveLine() {
  if (WhiteToMove) return "WHITE to move (" + std::to_string((GamePly + 3) / 2) + ".????" ")";
  return "BLACK to move (" + std::to_string((GamePly + 2) / 2) + "...????" ")";
}

std::string CheckLine() {
  if (IsAttackedByBlack(static_cast<uint8_t>(WhiteKingSquare))) return "White is in check";
  if (IsAttackedByWhite(static_cast<uint8_t>(BlackKingSquare))) return "Black is in check";
  return "No one is in check";
}

std::string EpLine() {
  std::string ep = EpFile == 128 ? "No EP." : "EP file '" + std::string(1, static_cast<char>('a' + EpFile)) + "'.";
  return ep + " Last Eval: " + ScoreText(BestScore);
}

std::string MaterialReportLine() {
  int32_t score;
  uint8_t weight, recognised;
  EvaluateMaterial(score, weight, recognised);
  return "EndGame: " + std::to_string(Round(weight * 100 / 255.0)) + "% Material: " + std::to_string(score);
}

void BuildReport(Report& r) {
  r[1] = MoveLine();
  r[2] = CheckLine();
  r[3] = std::string(WhiteCastling[CastleRights & 3]) + BlackCastling[(CastleRights & 12) >> 2];
  r[4] = EpLine();
  r[5] = "PreLast: " + ScoreText(LastScore) + " Prepre: " + ScoreText(PrevLastScore);
  r[6] = "Static Eval: " + std::to_string(Evaluate(false)) + " PSE: " + std::to_string(PSEScore);
  r[7] = "50-mov: " + std::to_string(HalfmoveClock) + " Draw: " + (IsRepetitionOrFiftyMoves() ? "True" : "False");
  r[8] = "";
  r[9] = "H=$" + Hex(HashKey, 16) + " P=$" + Hex(PawnKey, 8);
  r[10] = MaterialReportLine();
}

bool IsWhitePiece(uint8_t code) { return (code >= WhitePawn && code <= WhiteQueen) || code == WhiteKing; }

char Glyph(uint8_t code) { return Figurines == '1' ? FigurineGlyphs[code] : PieceLetters[code]; }

// Dark squares (file + rank even, a1 among them) are brown, light ones grey.
void SetCellColor(int square, bool whiteForeground) {
  bool dark = ((square & 7) + (square >> 3)) % 2 == 0;
  if (dark)
    whiteForeground ? SetColorWhiteOnBrown() : SetColorBlackOnBrown();
  else
    whiteForeground ? SetColorWhiteOnGrey() : SetColorBlackOnGrey();
}

// One rank's eight cells, each in its own colour, then the normal colour
// again for the border. A cell shows its glyph between its pads; with
// glyphs off it is all blank in white on the square's colour, as the medium
// board's upper and lower cell rows are.
void WriteCells(int rank, const std::string& leftPad, const std::string& rightPad, bool glyphs) {
  for (int file = 0; file < 8; ++file) {
    int square = rank * 8 + file;
    uint8_t code = Board[square];
    SetCellColor(square, !glyphs || IsWhitePiece(code));
    WriteText(leftPad + (glyphs ? Glyph(code) : ' ') + rightPad);
  }
  SetColorNormal();
}

void DrawTinyBoard(const Report& r) {
  WriteLine("  a b c d e f g h\r\n \xDA" + Bars(16) + "\xBF");
  for (int rank = 7; rank >= 0; --rank) {
    const std::string digit(1, static_cast<char>('1' + rank));
    WriteText(digit + "\xB3");
    WriteCells(rank, " ", "", true);
    WriteText("\xB3" + digit + " ");
    WriteLine(r[8 - rank]);
  }
  WriteLine(" \xC0" + Bars(16) + "\xD9  " + r[9]);
  WriteLine("  a b c d e f g h    " + r[10]);
}

void DrawMediumBoard(const Report& r) {
  std::string letters = "\xB3";
  for (char file = 'a'; file <= 'h'; ++file) letters += std::string("    ") + file;
  letters += "    \xB3";
  WriteLine("\xDA" + Bars(44) + "\xBF");
  WriteLine(letters);
  WriteLine("\xB3 \xDA" + Bars(40) + "\xBF \xB3");
  for (int rank = 7; rank >= 0; --rank) {
    const std::string digit(1, static_cast<char>('1' + rank));
    WriteText("\xB3 \xB3");
    WriteCells(rank, "  ", "  ", false);
    WriteLine("\xB3 \xB3");
    WriteText("\xB3" + digit + "\xB3");
    WriteCells(rank, "  ", "  ", true);
    WriteLine("\xB3" + digit + "\xB3");
    WriteText("\xB3 \xB3");
    WriteCells(rank, "  ", "  ", false);
    WriteLine("\xB3 \xB3 " + r[8 - rank]);
  }
  WriteLine("\xB3 \xC0" + Bars(40) + "\xD9 \xB3");
  WriteLine(letters + " " + r[9]);
  WriteLine("\xC0" + Bars(44) + "\xD9 " + r[10]);
}

// Counts come from the piece sets: the set-up accepts more pieces of a kind
// than the signature's fields hold, and the line must not show a fourth
// knight as a bishop. The code is the signature as it stands.
void WriteMaterialLine() {
  std::string counts = "\r\nMaterial: ";
  for (uint8_t code = WhitePawn; code <= BlackRook; ++code) {
    counts += PieceLetters[code];
    counts += ':';
    counts += std::to_string(PopCount(Pieces(code))) + ' ';
  }
  WriteText(counts);
  WriteLine("Code:$" + Hex(MaterialSignature, 6));
}

}  // namespace

void SetBoardDisplay(const std::string& p, bool show) {
  SetSetting(BoardDisplay, '2', "Illegal board parameter: ", p, show);
}

void SetFigurines(const std::string& p, bool show) {
  SetSetting(Figurines, '1', "Illegal figurine parameter: ", p, show);
}

void PrintBoard() {
  if (BoardDisplay == '0') return;
  Report report;
  BuildReport(report);
  WriteLine("");
  if (BoardDisplay == '1')
    DrawTinyBoard(report);
  else
    DrawMediumBoard(report);
  WriteMaterialLine();
  Evaluate(true);
}

std::string ScoreText(int32_t score) {
  int32_t moves = MateInMoves(score);
  if (moves == 0) return std::to_string(score);
  std::string text = "#";
  return text += std::to_string(moves);
}
