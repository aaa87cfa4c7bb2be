// The one position the engine holds: its state, its set-up from FEN with the
// checks and messages users see, and its FEN text.
#include "board/Position.h"

#include "board/ZobristKeys.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "frontend/ConsoleIO.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

uint8_t Board[64];
BitBoard PieceBB[10];
int32_t WhiteKingSquare, BlackKingSquare;
BitBoard WhiteKingBB, BlackKingBB, WhitePieces, BlackPieces, Occupied;
BitBoard OccupiedFileRotated, OccupiedDiagRotatedA, OccupiedDiagRotatedB;
uint8_t WhiteToMove;
uint32_t CastleRights;
int32_t EpFile = 128;
uint32_t HalfmoveClock;
uint8_t InCheck;
uint64_t HashKey;
uint32_t PawnKey;
int32_t PSEScore;
uint32_t MaterialSignature;
int32_t Ply;
uint8_t GamePly;
std::vector<uint64_t> KeyHistory(1024);
int32_t KeyHistoryCount;

const char PieceLetters[14] = " PNBRQqpnbrKk";
const char* const SquareNames[64] = {
    "a1", "b1", "c1", "d1", "e1", "f1", "g1", "h1", "a2", "b2", "c2", "d2", "e2", "f2", "g2", "h2",
    "a3", "b3", "c3", "d3", "e3", "f3", "g3", "h3", "a4", "b4", "c4", "d4", "e4", "f4", "g4", "h4",
    "a5", "b5", "c5", "d5", "e5", "f5", "g5", "h5", "a6", "b6", "c6", "d6", "e6", "f6", "g6", "h6",
    "a7", "b7", "c7", "d7", "e7", "f7", "g7", "h7", "a8", "b8", "c8", "d8", "e8", "f8", "g8", "h8"};
// Count fields of the material signature: black pawns in bits 0-3, white
// pawns 4-7, then two bits each for black and white knights, bishops, rooks
// and queens.
const uint8_t MaterialShift[11] = {0, 4, 10, 14, 18, 22, 20, 0, 8, 12, 16};
const uint32_t MaterialIncrement[11] = {0,       1u << 4,  1u << 10, 1u << 14, 1u << 18, 1u << 22,
                                        1u << 20, 1u << 0, 1u << 8,  1u << 12, 1u << 16};
const char* const StartFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

namespace {

// Piece code of a FEN piece letter, 0 for any other character.
uint8_t PieceCode(char c) {
  for (uint8_t code = 1; code <= 12; code++)
    if (PieceLetters[code] == c) return code;
  return Empty;
}

int CountOf(uint8_t code) { return PopCount(Pieces(code)); }

// The placement field's syntax, with its digit line for the failures that
// have one. Nothing is changed here, so a rejected text leaves the position
// and everything derived from it as it was.
bool PlacementSyntaxIsValid(const std::string& fen) {
  int32_t n = 0, k = 0;
  for (size_t i = 0; i < fen.size(); i++) {
    const char c = fen[i];
    if (PieceCode(c) != Empty) {
      n++;
    } else if (c >= '1' && c <= '8') {
      n += c - '0';
    } else if (c == '/') {
      if (n != 8) {
        WriteLine("1");
        return false;
      }
      n = 0;
      if (++k == 9) {
        WriteLine("2");
        return false;
      }
    } else if (c == ' ') {
      if (k == 7 && n == 8) return i + 1 < fen.size() && (fen[i + 1] == 'w' || fen[i + 1] == 'b');
    } else {
      WriteLine("3");
      return false;
    }
    if (n > 8) {
      WriteLine("4");
      return false;
    }
  }
  return false;
}

void ClearBoard() {
  for (BitBoard& b : PieceBB) b = 0;
  for (uint8_t& c : Board) c = Empty;
  MaterialSignature = 0;
}

// Fills Board, PieceBB, the king squares and MaterialSignature from the
// placement characters before the first space, counting the kings found.
void PlacePieces(const std::string& placement, uint8_t& whiteKings, uint8_t& blackKings) {
  int32_t rank = 7, file = 0;
  for (const char c : placement) {
    const uint8_t code = PieceCode(c);
    if (code != Empty) {
      const int32_t s = rank * 8 + file;
      Board[s] = code;
      if (code <= 10) {
        Pieces(code) |= SquareMask[s];
        MaterialSignature += MaterialIncrement[code];
      } else if (code == WhiteKing) {
        WhiteKingSquare = s;
        whiteKings++;
      } else {
        BlackKingSquare = s;
        blackKings++;
      }
      file++;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
    } else if (c == '/') {
      rank--;
      file = 0;
    }
  }
}

uint32_t ReadCastleRights(const std::string& field) {
  uint32_t rights = 0;
  for (const char c : field) {
    if (c == 'K') rights |= 1;
    if (c == 'Q') rights |= 2;
    if (c == 'k') rights |= 4;
    if (c == 'q') rights |= 8;
  }
  return rights;
}

// A file is kept only when a double step onto it can just have happened: the
// capture generators and MakeMove take the pawn behind the target square and
// the empty target for granted.
int32_t ReadEpFile(char c) {
  if (c < 'a' || c > 'h') return 128;
  const int32_t f = c - 'a';
  const bool possible =
      WhiteToMove ? Board[f + 32] == BlackPawn && Board[f + 40] == Empty && Board[f + 48] == Empty
                  : Board[f + 24] == WhitePawn && Board[f + 16] == Empty && Board[f + 8] == Empty;
  return possible ? f : 128;
}

// Side letter, castling field and en-passant character from the text after
// the placement. A text that stops early is never read past its end: what is
// missing reads as no rights and no en-passant file.
void ReadSideCastlingAndEp(const std::string& fen, size_t firstSpace) {
  WhiteToMove = firstSpace + 1 < fen.size() && fen[firstSpace + 1] == 'w';
  const std::string rest = firstSpace + 3 <= fen.size() ? fen.substr(firstSpace + 3) : "";
  const size_t q = rest.find(' ');
  CastleRights = ReadCastleRights(rest.substr(0, q));
  EpFile = q != std::string::npos && q + 1 < rest.size() ? ReadEpFile(rest[q + 1]) : 128;
}

std::string PlacementMessages(uint8_t whiteKings, uint8_t blackKings) {
  std::string m;
  for (int s = 0; s < 8; s++)
    if (Board[s] == WhitePawn || Board[s] == BlackPawn) m += "Pawns on the first rank\r\n";
  for (int s = 56; s < 64; s++)
    if (Board[s] == WhitePawn || Board[s] == BlackPawn) m += "Pawns on the eighth rank\r\n";
  if (whiteKings != 1) m += "Illegal White King's number\r\n";
  if (blackKings != 1) m += "Illegal Black King's number\r\n";
  if (CountOf(WhitePawn) > 8) m += "Too many White pawns\r\n";
  if (CountOf(BlackPawn) > 8) m += "Too many Black pawns\r\n";
  return m;
}

// Counts come from the piece sets rather than the 2-bit signature fields, so
// a fourth piece of a kind cannot carry into a neighbouring field and slip
// past the limits.
std::string MaterialAndCastlingMessages() {
  std::string m;
  const int mW = 8 - CountOf(WhitePawn), mB = 8 - CountOf(BlackPawn);
  const int wn = CountOf(WhiteKnight), wb = CountOf(WhiteBishop), wr = CountOf(WhiteRook),
            wq = CountOf(WhiteQueen);
  const int bn = CountOf(BlackKnight), bb = CountOf(BlackBishop), br = CountOf(BlackRook),
            bq = CountOf(BlackQueen);
  if (wn > mW + 2) m += "Too many White Knights\r\n";
  if (wb > mW + 2) m += "Too many White Bishops\r\n";
  if (wr > mW + 2) m += "Too many White Rooks\r\n";
  if (wq > mW + 1) m += "Too many White Queens\r\n";
  if (bn > mB + 2) m += "Too many Black Knights\r\n";
  if (bb > mB + 2) m += "Too many Black Bishops\r\n";
  if (br > mB + 2) m += "Too many Black Rooks\r\n";
  if (bq > mB + 1) m += "Too many Black Queens\r\n";
  if (wn + wb + wr + wq > mW + 7) m += "Too many White pieces\r\n";
  if (bn + bb + br + bq > mB + 7) m += "Too many Black pieces\r\n";
  if ((CastleRights & 2) && Board[0] != WhiteRook) m += "White couldn't castle long\r\n";
  if ((CastleRights & 1) && Board[7] != WhiteRook) m += "White couldn't castle short\r\n";
  if ((CastleRights & 8) && Board[56] != BlackRook) m += "Black couldn't castle long\r\n";
  if ((CastleRights & 4) && Board[63] != BlackRook) m += "Black couldn't castle short\r\n";
  if (KingDistance[WhiteKingSquare][BlackKingSquare] < 2) m += "Kings are too close\r\n";
  return m;
}

// A right whose king is away from its home square would let castling move a
// king that is not there.
void DropRightsOfMovedKings() {
  if (WhiteKingSquare != 4) CastleRights &= ~3u;
  if (BlackKingSquare != 60) CastleRights &= ~12u;
}

void BuildDerivedSets() {
  WhiteKingBB = SquareMask[WhiteKingSquare];
  BlackKingBB = SquareMask[BlackKingSquare];
  WhitePieces = WhiteKingBB;
  for (uint8_t code = WhitePawn; code <= WhiteQueen; code++) WhitePieces |= Pieces(code);
  BlackPieces = BlackKingBB;
  for (uint8_t code = BlackQueen; code <= BlackRook; code++) BlackPieces |= Pieces(code);
  Occupied = WhitePieces | BlackPieces;
  OccupiedFileRotated = OccupiedDiagRotatedA = OccupiedDiagRotatedB = 0;
  for (BitBoard rest = Occupied; rest;) {
    const int s = BitScanReverse(rest);
    rest &= ~SquareMask[s];
    OccupiedFileRotated |= SquareMaskFileRotated[s];
    OccupiedDiagRotatedA |= SquareMaskDiagA[s];
    OccupiedDiagRotatedB |= SquareMaskDiagB[s];
  }
}

void ResetDependents() {
  BlendPSETables();
  ClearMaterialCache();
  ClearPawnCache();
  ResetKeyHistory();
  LastScore = 0;
  PrevLastScore = 0;
  ClearHash();
}

}  // namespace

bool SetPositionFromFEN(const std::string& fen) {
  if (!PlacementSyntaxIsValid(fen)) {
    WriteLine("\r\nIllegal FEN: syntax is not recognized");
    return false;
  }
  ClearBoard();
  uint8_t whiteKings = 0, blackKings = 0;
  const size_t firstSpace = fen.find(' ');
  PlacePieces(fen.substr(0, firstSpace), whiteKings, blackKings);
  ReadSideCastlingAndEp(fen, firstSpace);

  std::string messages = PlacementMessages(whiteKings, blackKings);
  if (messages.empty()) messages = MaterialAndCastlingMessages();
  if (!messages.empty()) {
    WriteLine("\r\nIllegal FEN: " + messages);
    SetPositionFromFEN(StartFEN);
    return false;
  }

  DropRightsOfMovedKings();
  BuildDerivedSets();
  if (WhiteToMove ? IsAttackedByWhite(uint8_t(BlackKingSquare))
                  : IsAttackedByBlack(uint8_t(WhiteKingSquare))) {
    WriteLine("\r\nIllegal FEN: side not to move is in check");
    SetPositionFromFEN(StartFEN);
    return false;
  }
  InCheck = WhiteToMove ? IsAttackedByBlack(uint8_t(WhiteKingSquare))
                        : IsAttackedByWhite(uint8_t(BlackKingSquare));
  HashKey = ComputeHashKey();
  PawnKey = ComputePawnKey();
  Ply = 0;
  GamePly = WhiteToMove ? 0 : 1;
  ResetDependents();
  return true;
}

std::string GetFEN() {
  std::string fen;
  for (int rank = 7; rank >= 0; rank--) {
    int emptyRun = 0;
    for (int file = 0; file < 8; file++) {
      const uint8_t code = Board[rank * 8 + file];
      if (code == Empty) {
        emptyRun++;
        continue;
      }
      if (emptyRun > 0) fen += char('0' + emptyRun);
      emptyRun = 0;
      fen += PieceLetters[code];
    }
    if (emptyRun > 0) fen += char('0' + emptyRun);
    if (rank > 0) fen += '/';
  }
  fen += WhiteToMove ? " w " : " b ";
  if (CastleRights & 1) fen += 'K';
  if (CastleRights & 2) fen += 'Q';
  if (CastleRights & 4) fen += 'k';
  if (CastleRights & 8) fen += 'q';
  if ((CastleRights & 15) == 0) fen += '-';
  fen += ' ';
  if (EpFile < 128)
    fen += SquareNames[EpFile + (WhiteToMove ? 40 : 16)];
  else
    fen += '-';
  fen += ' ' + std::to_string(HalfmoveClock) + ' ' + std::to_string((GamePly + 2) / 2);
  return fen;
}
