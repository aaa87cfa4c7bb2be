// Move text. Coordinate text needs nothing but the move; algebraic text needs
// the whole legal-move list (disambiguation) and the position (check marks).
#include "frontend/Notation.h"

#include "board/Position.h"

namespace {

// Move types: the kind doubled plus the colour bit (bits 20-23 of a move).
bool IsCaptureType(uint32_t type) {
  return type == 2 || type == 3 || type == 8 || type == 9 || type == 12 || type == 13;
}

bool IsPromotionType(uint32_t type) { return type >= 10 && type <= 13; }

bool IsCastlingType(uint32_t type) { return type >= 4 && type <= 7; }

char UpperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

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
  uint8_t Type = 0;
  std::string San;
};

// "+" or "#" when the move checks or mates, else nothing. The reply list is
// generated whether or not the move checks, as the move input does, so that a
// castling right the generator gives up there is given up here too (and taken
// back with the move).
std::string CheckMark(Move move) {
  MoveList replies;
  MakeMove(move);
  GenerateMoves(replies);
  std::string mark;
  if (InCheck) mark = replies.Count == 0 ? "#" : "+";
  UnmakeMove();
  return mark;
}

// Piece letter, capture mark, target, promotion piece and check mark; the
// from-square part that a piece move may need comes later.
void BuildPlainSAN(SANRecord& record, Move move) {
  uint32_t type = MoveType(move);
  record.Type = static_cast<uint8_t>(type);
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
    record.San = SquareNames[record.To];
    if (IsCaptureType(type)) record.San = "x" + record.San;
    if (record.Letter != 'P')
      record.San = record.Letter + record.San;
    else if (IsCaptureType(type))
      record.San = SquareNames[record.From][0] + record.San;
    if (IsPromotionType(type)) {
      record.San += '=';
      record.San += UpperCase(PieceLetters[MovePiece(move)]);
    }
  }
  record.San += CheckMark(move);
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
  std::string insert;
  if (fileUnique)
    insert = fromName[0];
  else if (rankUnique)
    insert = fromName[1];
  else
    insert = fromName;
  record.San = record.Letter + insert + record.San.substr(1);
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
  static_assert(MaxMoves >= 256, "a move list holds at least every move of a legal position");
  SANRecord records[MaxMoves];
  int32_t count = list.Count;
  // Check marks first: the disambiguation keeps whatever follows the letter.
  for (int32_t i = 0; i < count; i++) BuildPlainSAN(records[i], list.Moves[i]);
  for (int32_t i = 0; i < count; i++)
    if (!IsCastlingType(records[i].Type) && NeedsDisambiguation(records[i].Letter))
      Disambiguate(records, count, i);
  for (int32_t i = 0; i < count; i++) texts[i] = records[i].San;
  for (int32_t i = count; i < MaxMoves; i++) texts[i].clear();
}
