// Move text. Coordinate text needs nothing but the move; algebraic text needs
// the whole legal-move list (disambiguation) and the position (check marks).
#include "frontend/Notation.h"

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "search/UnitSearch.h"

namespace {

// Move types: the kind doubled plus the colour bit (bits 20-23 of a move).
bool IsCaptureType(uint32_t type) {
  return type == 2 || type == 3 || type == 8 || type == 9 || type == 12 || type == 13;
}

bool IsPromotionType(uint32_t type) { return type >= 10 && type <= 13; }

char UpperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper-case letter of a piece code as the move holds it (bits 12-15).
char PieceLetterOf(uint32_t piece) {
  return piece <= BlackKing ? UpperCase(PieceLetters[piece]) : '?';
}

char PromotionLetter(uint32_t piece) {
  switch (piece) {
    case WhiteQueen: case BlackQueen: return 'q';
    case WhiteRook: case BlackRook: return 'r';
    case WhiteBishop: case BlackBishop: return 'b';
    case WhiteKnight: case BlackKnight: return 'n';
    default: return '?';
  }
}

// One list entry while its algebraic text is built.
struct SANRecord {
  char Letter = ' ';  // upper-case piece letter of the mover, 'O' for a castling
  uint8_t From = 0, To = 0;  // not filled for a castling
  std::string San;
};

// '+' or '#' when the move checks or mates, else 0. Only a check needs the
// replies; whatever the generator changes there (a castling right given up)
// goes back with the move.
char CheckMark(Move move) {
  MakeMove(move);
  char mark = 0;
  if (InCheck) {
    MoveList replies;
    GenerateMoves(replies);
    mark = replies.Count == 0 ? '#' : '+';
  }
  UnmakeMove();
  return mark;
}

// Piece letter (or a capturing pawn's file), capture mark, target, promotion
// piece and check mark; the from-square part that a piece move may need comes
// later.
void BuildPlainSAN(SANRecord& record, Move move) {
  uint32_t type = MoveType(move);
  record.San.clear();
  if (type == 4 || type == 5) {
    record.Letter = 'O';
    record.San = "O-O";
  } else if (type == 6 || type == 7) {
    record.Letter = 'O';
    record.San = "O-O-O";
  } else {
    record.From = static_cast<uint8_t>(MoveFrom(move));
    record.To = static_cast<uint8_t>(MoveTo(move));
    // The letter comes from the board: a promotion's move field holds the new piece.
    record.Letter = UpperCase(PieceLetters[Board[record.From]]);
    bool capture = IsCaptureType(type);
    if (record.Letter != 'P')
      record.San += record.Letter;
    else if (capture)
      record.San += SquareNames[record.From][0];
    if (capture) record.San += 'x';
    record.San += SquareNames[record.To];
    if (IsPromotionType(type)) {
      record.San += '=';
      record.San += PieceLetterOf(MovePiece(move));
    }
  }
  char mark = CheckMark(move);
  if (mark) record.San += mark;
}

bool NeedsDisambiguation(char letter) {
  return letter == 'B' || letter == 'N' || letter == 'Q' || letter == 'R';
}

// Inserts the from-file, else the from-rank, else the whole from-square after
// the letter when another piece of the same kind reaches the same square.
void Disambiguate(SANRecord* records, int32_t count, int32_t i) {
  SANRecord& record = records[i];
  bool found = false, fileUnique = true, rankUnique = true;
  for (int32_t j = 0; j < count; j++) {
    const SANRecord& other = records[j];
    if (j == i || other.Letter != record.Letter || other.To != record.To) continue;
    found = true;
    if (other.From % 8 == record.From % 8) fileUnique = false;
    if (other.From / 8 == record.From / 8) rankUnique = false;
  }
  if (!found) return;
  const char* fromName = SquareNames[record.From];
  std::string san(1, record.Letter);
  if (fileUnique)
    san += fromName[0];
  else if (rankUnique)
    san += fromName[1];
  else
    san += fromName;
  san.append(record.San, 1, std::string::npos);
  record.San = san;
}

}  // namespace

std::string MoveToText(Move move) {
  if (move == 0) return "NULL";
  uint32_t type = MoveType(move);
  switch (type) {
    case 4: return "e1g1";
    case 5: return "e8g8";
    case 6: return "e1c1";
    case 7: return "e8c8";
    case 14: case 15: return "0000";
    default: break;
  }
  std::string text = std::string(SquareNames[MoveFrom(move)]) + SquareNames[MoveTo(move)];
  if (IsPromotionType(type)) text += PromotionLetter(MovePiece(move));
  return text;
}

void MovesToSAN(std::string (&texts)[MaxMoves], MoveList list) {
  SANRecord records[MaxMoves];
  int32_t count = list.Count;
  // Check marks first: the disambiguation keeps whatever follows the letter.
  for (int32_t i = 0; i < count; i++) BuildPlainSAN(records[i], list.Moves[i]);
  for (int32_t i = 0; i < count; i++)
    if (NeedsDisambiguation(records[i].Letter))
      Disambiguate(records, count, i);
  for (int32_t i = 0; i < count; i++) texts[i] = records[i].San;
  for (int32_t i = count; i < MaxMoves; i++) texts[i].clear();
}

void ListLegalMoves() {
  // A stop typed during an earlier list would otherwise cut every later one
  // short, since only a request to move clears it.
  StopSearch = false;
  MoveList list;
  GenerateMoves(list);
  WriteLine("");
  if (list.Count == 0) {
    WriteLine("No moves");
    return;
  }
  PrincipalVariation pv;
  for (int32_t i = 0; i < list.Count; i++) {
    MakeMove(list.Moves[i]);
    list.Scores[i] = -Quiesce(-Infinity, Infinity, pv);
    UnmakeMove();
  }
  SortMoveList(list);
  std::string san[MaxMoves];
  MovesToSAN(san, list);
  for (int32_t i = 0; i < list.Count; i++) {
    std::string line = std::to_string(i + 1);
    if (i + 1 < 10) line.insert(0, 1, '0');
    line += "." + san[i] + " (" + std::to_string(list.Scores[i]) + ")" + std::string(12, ' ');
    WriteLine(line.substr(0, 20));
  }
  WriteLine("\r\n\r\n");
}
