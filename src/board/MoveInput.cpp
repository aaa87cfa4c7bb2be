// Move input: a typed or received move text matched against the legal moves
// of the current position, algebraic text first, then coordinate text.
#include "board/Position.h"
#include "board/UnitMoves.h"
#include "frontend/Notation.h"

namespace {

char UpperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCaseText(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) c = UpperCase(c);
  return folded;
}

// The castling spellings people type, folded onto the algebraic forms.
std::string NormaliseCastling(const std::string& text) {
  if (text == "00" || text == "0-0" || text == "oo" || text == "o-o" || text == "OO") return "O-O";
  if (text == "000" || text == "0-0-0" || text == "ooo" || text == "o-o-o" || text == "OOO")
    return "O-O-O";
  return text;
}

bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }

int32_t SquareOf(char file, char rank) { return (file - 'a') + 8 * (rank - '1'); }

// Index of the first entry whose algebraic text folds to the same upper-case text, or -1.
int32_t MatchSAN(const std::string& text, const std::string* names, int32_t count) {
  std::string folded = UpperCaseText(text);
  for (int32_t i = 0; i < count; i++)
    if (UpperCaseText(names[i]) == folded) return i;
  return -1;
}

// Index of the first entry from one square to another, or -1.
int32_t MatchSquares(const MoveList& list, int32_t from, int32_t to) {
  for (int32_t i = 0; i < list.Count; i++)
    if (static_cast<int32_t>(MoveFrom(list.Moves[i])) == from &&
        static_cast<int32_t>(MoveTo(list.Moves[i])) == to)
      return i;
  return -1;
}

// "e2e4": lower-case file letters only, so an upper-case text is no square pair.
int32_t MatchCoordinates(const std::string& text, const MoveList& list) {
  if (text.size() != 4) return -1;
  if (!IsFileLetter(text[0]) || !IsRankDigit(text[1]) || !IsFileLetter(text[2]) ||
      !IsRankDigit(text[3]))
    return -1;
  return MatchSquares(list, SquareOf(text[0], text[1]), SquareOf(text[2], text[3]));
}

// "e7e8q": the fifth letter names the piece promoted to, or the mover of a
// move that is no promotion, in either case.
int32_t MatchPromotion(const std::string& text, const MoveList& list) {
  if (text.size() != 5) return -1;
  if (!IsFileLetter(text[0]) || (text[1] != '2' && text[1] != '7') || !IsFileLetter(text[2]) ||
      (text[3] != '1' && text[3] != '8'))
    return -1;
  int32_t from = SquareOf(text[0], text[1]), to = SquareOf(text[2], text[3]);
  char wanted = LowerCase(text[4]);
  for (int32_t i = 0; i < list.Count; i++) {
    Move move = list.Moves[i];
    if (static_cast<int32_t>(MoveFrom(move)) != from || static_cast<int32_t>(MoveTo(move)) != to)
      continue;
    uint32_t piece = MovePiece(move);
    if (piece <= BlackKing && LowerCase(PieceLetters[piece]) == wanted) return i;
  }
  return -1;
}

// Only a bishop's move that names its rank (B1c3) folds to the same text as
// a move in coordinate form; every other coordinate text can match no
// algebraic text. GUIs send whole games in coordinate form, so those skip
// writing the algebraic texts, which costs most of the time here.
bool CanOnlyBeCoordinates(const std::string& text) {
  return (text.size() == 4 || text.size() == 5) && IsFileLetter(text[0]) && text[0] != 'b' &&
         IsRankDigit(text[1]) && IsFileLetter(text[2]) && IsRankDigit(text[3]);
}

}  // namespace

bool ParseAndMakeMove(const std::string& text) {
  MoveList list;
  GenerateMoves(list);
  int32_t index = -1;
  std::string typed = text;
  if (!CanOnlyBeCoordinates(text)) {
    std::string names[MaxMoves];
    MovesToSAN(names, list);
    typed = NormaliseCastling(text);
    index = MatchSAN(typed, names, list.Count);
  }
  if (index < 0) index = MatchCoordinates(typed, list);
  if (index < 0) index = MatchPromotion(typed, list);
  if (index < 0) return false;
  MakeInputMove(list.Moves[index]);
  return true;
}

void MakeInputMove(Move move) { MakeMove(move); }
