// Making and taking back moves. MakeMove keeps every derived part of the
// position (occupancies, rotated occupancies, keys, piece-square sum, material
// signature) up to date by deltas; UnmakeMove repeats the bitboard toggles and
// copies the saved scalars back, so the way back needs no arithmetic at all.
#include <vector>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"

std::vector<UndoRecord> UndoStack(1024);
std::vector<int32_t> NullMoveEpStack(1024);
int32_t NullMoveCount = 0;

namespace {

// Marks the side change of a null move in HashKey instead of SideKey.
constexpr uint64_t NullMoveKey = 0x12345678FEDCBA90ull;
constexpr int32_t NoEpFile = 128;

// Rights that survive a move from or onto a square: a rook leaving its corner,
// or captured on it, takes that corner's right with it. While a right stands
// its own rook is on the corner (the set-up checks it, and every way off the
// corner clears it), so a capture there always takes that rook.
constexpr uint8_t CornerRightsMask[64] = {
    13, 15, 15, 15, 15, 15, 15, 14, 15, 15, 15, 15, 15, 15, 15, 15,
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
    15, 15, 15, 15, 15, 15, 15, 15, 7,  15, 15, 15, 15, 15, 15, 11};

// Colour constants of the side that moves.
template <bool Black> constexpr uint8_t OwnPawn = Black ? BlackPawn : WhitePawn;
template <bool Black> constexpr uint8_t EnemyPawn = Black ? WhitePawn : BlackPawn;
template <bool Black> constexpr uint8_t OwnKing = Black ? BlackKing : WhiteKing;
template <bool Black> constexpr uint8_t OwnRook = Black ? BlackRook : WhiteRook;
template <bool Black> constexpr uint8_t EnemyRook = Black ? WhiteRook : BlackRook;
template <bool Black> constexpr uint32_t KingMoveRights = Black ? 3 : 12;

template <bool Black> BitBoard& OwnPieces() { return Black ? BlackPieces : WhitePieces; }
template <bool Black> BitBoard& EnemyPieces() { return Black ? WhitePieces : BlackPieces; }
template <bool Black> int32_t& OwnKingSquare() { return Black ? BlackKingSquare : WhiteKingSquare; }
template <bool Black> BitBoard& OwnKingBB() { return Black ? BlackKingBB : WhiteKingBB; }
template <bool Black> const uint32_t* OwnPawnKeys() { return Black ? BlackPawnKeys : WhitePawnKeys; }
template <bool Black> const uint32_t* EnemyPawnKeys() { return Black ? WhitePawnKeys : BlackPawnKeys; }

// The square of the pawn taken en passant, behind the target square.
template <bool Black> constexpr uint32_t EpVictimSquare(uint32_t to) { return Black ? to + 8 : to - 8; }

inline void ToggleRotated(uint32_t s) {
  OccupiedFileRotated ^= SquareMaskFileRotated[s];
  OccupiedDiagRotatedA ^= SquareMaskDiagA[s];
  OccupiedDiagRotatedB ^= SquareMaskDiagB[s];
}

inline void PlaceKing(int32_t& square, BitBoard& set, uint32_t s) {
  square = static_cast<int32_t>(s);
  set = SquareMask[s];
}

// The bitboard side of a quiet move; its own inverse.
template <bool Black> void ToggleQuiet(uint32_t f, uint32_t t, uint32_t m) {
  if (m != OwnKing<Black>) Pieces(m) ^= SquareMask[f] | SquareMask[t];
  OwnPieces<Black>() ^= SquareMask[f] | SquareMask[t];
  ToggleRotated(f);
  ToggleRotated(t);
}

// The bitboard side of a capture; its own inverse. The target square stays
// occupied, so only the from-square changes the rotated occupancies.
template <bool Black> void ToggleCapture(uint32_t f, uint32_t t, uint32_t m, uint32_t c) {
  if (m != OwnKing<Black>) Pieces(m) ^= SquareMask[f] | SquareMask[t];
  Pieces(c) ^= SquareMask[t];
  OwnPieces<Black>() ^= SquareMask[f] | SquareMask[t];
  EnemyPieces<Black>() ^= SquareMask[t];
  ToggleRotated(f);
}

template <bool Black> void ToggleEnPassant(uint32_t f, uint32_t t) {
  uint32_t v = EpVictimSquare<Black>(t);
  Pieces(OwnPawn<Black>) ^= SquareMask[f] | SquareMask[t];
  Pieces(EnemyPawn<Black>) ^= SquareMask[v];
  OwnPieces<Black>() ^= SquareMask[f] | SquareMask[t];
  EnemyPieces<Black>() ^= SquareMask[v];
  ToggleRotated(f);
  ToggleRotated(t);
  ToggleRotated(v);
}

template <bool Black> void TogglePromotion(uint32_t f, uint32_t t, uint32_t m) {
  Pieces(OwnPawn<Black>) ^= SquareMask[f];
  Pieces(m) ^= SquareMask[t];
  OwnPieces<Black>() ^= SquareMask[f] | SquareMask[t];
  ToggleRotated(f);
  ToggleRotated(t);
}

template <bool Black> void ToggleCapturePromotion(uint32_t f, uint32_t t, uint32_t m, uint32_t c) {
  Pieces(OwnPawn<Black>) ^= SquareMask[f];
  Pieces(m) ^= SquareMask[t];
  Pieces(c) ^= SquareMask[t];
  OwnPieces<Black>() ^= SquareMask[f] | SquareMask[t];
  EnemyPieces<Black>() ^= SquareMask[t];
  ToggleRotated(f);
}

// Castling squares by side: king from, king to, rook from, rook to.
template <bool Black, bool Short> constexpr uint32_t KingFrom = Black ? 60 : 4;
template <bool Black, bool Short> constexpr uint32_t KingTo = (Black ? 56 : 0) + (Short ? 6 : 2);
template <bool Black, bool Short> constexpr uint32_t RookFrom = (Black ? 56 : 0) + (Short ? 7 : 0);
template <bool Black, bool Short> constexpr uint32_t RookTo = (Black ? 56 : 0) + (Short ? 5 : 3);

template <bool Black, bool Short> void ToggleCastling() {
  constexpr uint32_t kf = KingFrom<Black, Short>, kt = KingTo<Black, Short>;
  constexpr uint32_t rf = RookFrom<Black, Short>, rt = RookTo<Black, Short>;
  Pieces(OwnRook<Black>) ^= SquareMask[rf] | SquareMask[rt];
  OwnPieces<Black>() ^= SquareMask[kf] | SquareMask[kt] | SquareMask[rf] | SquareMask[rt];
  ToggleRotated(kf);
  ToggleRotated(kt);
  ToggleRotated(rf);
  ToggleRotated(rt);
}

template <bool Black> void MakeQuiet(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move);
  Board[f] = Empty;
  Board[t] = static_cast<uint8_t>(m);
  ToggleQuiet<Black>(f, t, m);
  HashKey ^= PieceKeys[m][f] ^ PieceKeys[m][t];
  PSEScore += PSEDelta[m][f][t];
  if (m == OwnPawn<Black>) {
    PawnKey ^= OwnPawnKeys<Black>()[f] ^ OwnPawnKeys<Black>()[t];
    HalfmoveClock = 0;
    bool doubleStep = Black ? (f > 47 && t < 40) : (f < 16 && t > 23);
    if (doubleStep) {
      EpFile = static_cast<int32_t>(Black ? t - 32 : f - 8);
      HashKey ^= EpKeys[EpFile];
    }
    return;
  }
  HalfmoveClock++;
  if (m == OwnKing<Black>) {
    PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), t);
    CastleRights &= KingMoveRights<Black>;
  } else if (m == OwnRook<Black>) {
    CastleRights &= CornerRightsMask[f];
  }
}

template <bool Black> void MakeCapture(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move), c = MoveCaptured(move);
  Board[f] = Empty;
  Board[t] = static_cast<uint8_t>(m);
  ToggleCapture<Black>(f, t, m, c);
  HashKey ^= PieceKeys[m][f] ^ PieceKeys[m][t] ^ PieceKeys[c][t];
  if (m == OwnPawn<Black>) PawnKey ^= OwnPawnKeys<Black>()[f] ^ OwnPawnKeys<Black>()[t];
  if (c == EnemyPawn<Black>) PawnKey ^= EnemyPawnKeys<Black>()[t];
  PSEScore += PSEDelta[m][f][t] - PSETable[c][t];
  MaterialSignature -= MaterialIncrement[c];
  if (m == OwnKing<Black>) {
    PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), t);
    CastleRights &= KingMoveRights<Black>;
  } else if (m == OwnRook<Black>) {
    CastleRights &= CornerRightsMask[f];
  }
  // Otherwise another rook that reached the emptied corner could castle.
  if (c == EnemyRook<Black>) CastleRights &= CornerRightsMask[t];
  HalfmoveClock = 0;
}

template <bool Black> void MakeEnPassant(Move move) {
  constexpr uint32_t P = OwnPawn<Black>, E = EnemyPawn<Black>;
  uint32_t f = MoveFrom(move), t = MoveTo(move), v = EpVictimSquare<Black>(t);
  Board[f] = Empty;
  Board[t] = P;
  Board[v] = Empty;
  ToggleEnPassant<Black>(f, t);
  HashKey ^= PieceKeys[P][f] ^ PieceKeys[P][t] ^ PieceKeys[E][v];
  PawnKey ^= OwnPawnKeys<Black>()[f] ^ OwnPawnKeys<Black>()[t] ^ EnemyPawnKeys<Black>()[v];
  PSEScore += PSEDelta[P][f][t] - PSETable[E][v];
  MaterialSignature -= MaterialIncrement[E];
  HalfmoveClock = 0;
}

template <bool Black> void MakePromotion(Move move) {
  constexpr uint32_t P = OwnPawn<Black>;
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move);
  Board[f] = Empty;
  Board[t] = static_cast<uint8_t>(m);
  TogglePromotion<Black>(f, t, m);
  HashKey ^= PieceKeys[P][f] ^ PieceKeys[m][t];
  PawnKey ^= OwnPawnKeys<Black>()[f];
  PSEScore += PSETable[m][t] - PSETable[P][f];
  MaterialSignature += MaterialIncrement[m] - MaterialIncrement[P];
  HalfmoveClock = 0;
}

template <bool Black> void MakeCapturePromotion(Move move) {
  constexpr uint32_t P = OwnPawn<Black>;
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move), c = MoveCaptured(move);
  Board[f] = Empty;
  Board[t] = static_cast<uint8_t>(m);
  ToggleCapturePromotion<Black>(f, t, m, c);
  HashKey ^= PieceKeys[P][f] ^ PieceKeys[m][t] ^ PieceKeys[c][t];
  PawnKey ^= OwnPawnKeys<Black>()[f];
  PSEScore += PSETable[m][t] - PSETable[P][f] - PSETable[c][t];
  MaterialSignature += MaterialIncrement[m] - MaterialIncrement[c] - MaterialIncrement[P];
  if (c == EnemyRook<Black>) CastleRights &= CornerRightsMask[t];
  HalfmoveClock = 0;
}

// Castling reads nothing but the type, so the bare type value castles too.
template <bool Black, bool Short> void MakeCastling() {
  constexpr uint32_t kf = KingFrom<Black, Short>, kt = KingTo<Black, Short>;
  constexpr uint32_t rf = RookFrom<Black, Short>, rt = RookTo<Black, Short>;
  constexpr uint32_t K = OwnKing<Black>, R = OwnRook<Black>;
  Board[kf] = Empty;
  Board[rf] = Empty;
  Board[rt] = R;
  Board[kt] = K;
  ToggleCastling<Black, Short>();
  PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), kt);
  HashKey ^= PieceKeys[K][kf] ^ PieceKeys[K][kt] ^ PieceKeys[R][rf] ^ PieceKeys[R][rt];
  int32_t delta = Short ? CastleShortPSEDelta : CastleLongPSEDelta;
  PSEScore += Black ? -delta : delta;
  CastleRights &= KingMoveRights<Black>;
  HalfmoveClock = 0;
}

template <bool Black> void UnmakeQuiet(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move);
  Board[f] = static_cast<uint8_t>(m);
  Board[t] = Empty;
  ToggleQuiet<Black>(f, t, m);
  if (m == OwnKing<Black>) PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), f);
}

template <bool Black> void UnmakeCapture(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move), m = MovePiece(move), c = MoveCaptured(move);
  Board[f] = static_cast<uint8_t>(m);
  Board[t] = static_cast<uint8_t>(c);
  ToggleCapture<Black>(f, t, m, c);
  if (m == OwnKing<Black>) PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), f);
}

template <bool Black> void UnmakeEnPassant(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move);
  Board[f] = OwnPawn<Black>;
  Board[t] = Empty;
  Board[EpVictimSquare<Black>(t)] = EnemyPawn<Black>;
  ToggleEnPassant<Black>(f, t);
}

template <bool Black> void UnmakePromotion(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move);
  Board[f] = OwnPawn<Black>;
  Board[t] = Empty;
  TogglePromotion<Black>(f, t, MovePiece(move));
}

template <bool Black> void UnmakeCapturePromotion(Move move) {
  uint32_t f = MoveFrom(move), t = MoveTo(move);
  Board[f] = OwnPawn<Black>;
  Board[t] = static_cast<uint8_t>(MoveCaptured(move));
  ToggleCapturePromotion<Black>(f, t, MovePiece(move), MoveCaptured(move));
}

template <bool Black, bool Short> void UnmakeCastling() {
  Board[KingFrom<Black, Short>] = OwnKing<Black>;
  Board[RookFrom<Black, Short>] = OwnRook<Black>;
  Board[RookTo<Black, Short>] = Empty;
  Board[KingTo<Black, Short>] = Empty;
  ToggleCastling<Black, Short>();
  PlaceKing(OwnKingSquare<Black>(), OwnKingBB<Black>(), KingFrom<Black, Short>);
}

void SaveUndoRecord(UndoRecord& r, Move move) {
  r.move = move;
  r.EpFile = static_cast<uint8_t>(EpFile);
  r.CastleRights = static_cast<uint8_t>(CastleRights);
  r.PSEScore = PSEScore;
  r.HashKey = HashKey;
  r.PawnKey = PawnKey;
  r.InCheck = InCheck;
  r.HalfmoveClock = HalfmoveClock;
  r.MaterialSignature = MaterialSignature;
}

void RestoreUndoRecord(const UndoRecord& r) {
  EpFile = r.EpFile;
  CastleRights = r.CastleRights;
  PSEScore = r.PSEScore;
  HashKey = r.HashKey;
  MaterialSignature = r.MaterialSignature;
  PawnKey = r.PawnKey;
  InCheck = r.InCheck;
  HalfmoveClock = r.HalfmoveClock;
}

void ApplyMove(Move move) {
  switch (MoveType(move)) {
    case 0: MakeQuiet<false>(move); break;
    case 1: MakeQuiet<true>(move); break;
    case 2: MakeCapture<false>(move); break;
    case 3: MakeCapture<true>(move); break;
    case 4: MakeCastling<false, true>(); break;
    case 5: MakeCastling<true, true>(); break;
    case 6: MakeCastling<false, false>(); break;
    case 7: MakeCastling<true, false>(); break;
    case 8: MakeEnPassant<false>(move); break;
    case 9: MakeEnPassant<true>(move); break;
    case 10: MakePromotion<false>(move); break;
    case 11: MakePromotion<true>(move); break;
    case 12: MakeCapturePromotion<false>(move); break;
    case 13: MakeCapturePromotion<true>(move); break;
    default: break;
  }
}

void TakeBackMove(Move move) {
  switch (MoveType(move)) {
    case 0: UnmakeQuiet<false>(move); break;
    case 1: UnmakeQuiet<true>(move); break;
    case 2: UnmakeCapture<false>(move); break;
    case 3: UnmakeCapture<true>(move); break;
    case 4: UnmakeCastling<false, true>(); break;
    case 5: UnmakeCastling<true, true>(); break;
    case 6: UnmakeCastling<false, false>(); break;
    case 7: UnmakeCastling<true, false>(); break;
    case 8: UnmakeEnPassant<false>(move); break;
    case 9: UnmakeEnPassant<true>(move); break;
    case 10: UnmakePromotion<false>(move); break;
    case 11: UnmakePromotion<true>(move); break;
    case 12: UnmakeCapturePromotion<false>(move); break;
    case 13: UnmakeCapturePromotion<true>(move); break;
    default: break;
  }
}

// Growing doubles the store, so a long game pays for it a handful of times.
template <typename T> [[gnu::noinline, gnu::cold]] void GrowStore(std::vector<T>& store, size_t index) {
  size_t size = store.size() < 1024 ? 1024 : store.size();
  while (size <= index) size *= 2;
  store.resize(size);
}

}  // namespace

void EnsureKeyHistoryRoom(int32_t index) {
  if (index < 0) return;  // no entry below 0 is ever written
  if (static_cast<size_t>(index) >= KeyHistory.size()) [[unlikely]]
    GrowStore(KeyHistory, static_cast<size_t>(index));
}

void MakeMove(Move move) {
  Ply++;
  GamePly++;
  if (static_cast<size_t>(Ply) >= UndoStack.size()) [[unlikely]]
    GrowStore(UndoStack, static_cast<size_t>(Ply));
  UndoRecord& saved = UndoStack[Ply];
  SaveUndoRecord(saved, move);
  if (EpFile < NoEpFile) HashKey ^= EpKeys[EpFile];
  EpFile = NoEpFile;
  ApplyMove(move);
  Occupied = WhitePieces | BlackPieces;
  if (CastleRights != saved.CastleRights) HashKey ^= CastleKeys[saved.CastleRights] ^ CastleKeys[CastleRights];
  WhiteToMove = !WhiteToMove;
  HashKey ^= SideKey;
  KeyHistoryCount++;
  if (static_cast<size_t>(KeyHistoryCount) >= KeyHistory.size()) [[unlikely]]
    GrowStore(KeyHistory, static_cast<size_t>(KeyHistoryCount));
  KeyHistory[KeyHistoryCount] = HashKey;
  InCheck = WhiteToMove ? IsAttackedByBlack(static_cast<uint8_t>(WhiteKingSquare))
                        : IsAttackedByWhite(static_cast<uint8_t>(BlackKingSquare));
}

void UnmakeMove() {
  const UndoRecord& r = UndoStack[Ply];
  TakeBackMove(r.move);
  Occupied = WhitePieces | BlackPieces;
  RestoreUndoRecord(r);
  KeyHistoryCount--;
  Ply--;
  GamePly--;
  WhiteToMove = !WhiteToMove;
}

void MakeNullMove() {
  WhiteToMove = !WhiteToMove;
  if (static_cast<size_t>(NullMoveCount) >= NullMoveEpStack.size()) [[unlikely]]
    GrowStore(NullMoveEpStack, static_cast<size_t>(NullMoveCount));
  NullMoveEpStack[NullMoveCount] = EpFile;
  NullMoveCount++;
  EpFile = NoEpFile;
  HashKey ^= NullMoveKey;
}

void UnmakeNullMove() {
  WhiteToMove = !WhiteToMove;
  NullMoveCount--;
  EpFile = NullMoveEpStack[NullMoveCount];
  HashKey ^= NullMoveKey;
}
