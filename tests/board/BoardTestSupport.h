// Shared by the board, eval and notation tests: tables built once, set-up,
// the bytes a piece of code writes to standard output, square names, the
// reference positions, move texts, a raw perft walk, and a copy of every
// field of the position state to compare before and after.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"

inline void EnsureBoardTables() {
  static const bool built = [] {
    InitBitBoards();
    InitZobristKeys();
    InitPSETables();
    InitAdvancedPawnTable();
    return true;
  }();
  (void)built;
}

inline void SetFEN(const std::string& fen) {
  EnsureBoardTables();
  SetPositionFromFEN(fen);
}

// Runs fn with file descriptor 1 sent to a temporary file and returns what it
// wrote, whether through stdio or straight to the descriptor.
inline std::string CaptureStdout(const std::function<void()>& fn) {
  std::fflush(stdout);
  FILE* sink = std::tmpfile();
  const int saved = dup(1);
  dup2(fileno(sink), 1);
  fn();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  std::string text;
  std::rewind(sink);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, sink)) > 0;) text.append(buffer, n);
  std::fclose(sink);
  return text;
}

// Sets a position and returns everything the set-up printed.
inline std::string SetUpOutput(const std::string& fen) {
  EnsureBoardTables();
  return CaptureStdout([&] { SetPositionFromFEN(fen); });
}

inline uint8_t Sq(const char* name) { return uint8_t((name[1] - '1') * 8 + (name[0] - 'a')); }

inline BitBoard Squares(std::initializer_list<const char*> names) {
  BitBoard b = 0;
  for (const char* n : names) b |= BitBoard{1} << Sq(n);
  return b;
}

struct PerftRecord {
  std::string Fen;
  std::vector<uint64_t> Counts;  // Counts[d - 1] is the leaf count at depth d
};

// The perft reference file: a FEN, then ";Dn count" for each depth.
inline const std::vector<PerftRecord>& ReferencePositions() {
  static const std::vector<PerftRecord> records = [] {
    std::vector<PerftRecord> out;
    std::ifstream in(std::string(VELKAR_TEST_DATA) + "/positions.epd");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::stringstream fields(line);
      PerftRecord r;
      std::getline(fields, r.Fen, ';');
      while (!r.Fen.empty() && r.Fen.back() == ' ') r.Fen.pop_back();
      for (std::string part; std::getline(fields, part, ';');) {
        std::stringstream p(part);
        std::string depth;
        uint64_t count = 0;
        if (p >> depth >> count) r.Counts.push_back(count);
      }
      out.push_back(r);
    }
    return out;
  }();
  return records;
}

inline std::vector<std::string> ReferenceFens() {
  std::vector<std::string> fens;
  for (const PerftRecord& r : ReferencePositions()) fens.push_back(r.Fen);
  return fens;
}

// Coordinate text with the promotion piece as a lower-case fifth letter,
// written here rather than by the notation code under test elsewhere.
inline std::string MoveText(Move m) {
  auto square = [](uint32_t s) { return std::string(1, char('a' + s % 8)) + char('1' + s / 8); };
  std::string t = square(MoveFrom(m)) + square(MoveTo(m));
  const uint32_t kind = MoveKind(m);
  if (kind == KindPromotion || kind == KindCapturePromotion) t += " pnbrqqpnbr"[MovePiece(m)];
  return t;
}

inline std::vector<std::string> MoveTexts(const MoveList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count; ++i) texts.push_back(MoveText(list.Moves[i]));
  return texts;
}

// Leaf count of the legal move tree with full lists at every ply.
inline uint64_t Perft(int depth) {
  MoveList list;
  GenerateMoves(list);
  if (depth <= 1) return depth == 1 ? uint64_t(list.Count) : 1;
  uint64_t nodes = 0;
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    nodes += Perft(depth - 1);
    UnmakeMove();
  }
  return nodes;
}

// The same walk with the last ply counted by CountMoves, without a list.
inline uint64_t PerftCounted(int depth) {
  if (depth <= 1) return depth == 1 ? uint64_t(CountMoves()) : 1;
  MoveList list;
  GenerateMoves(list);
  uint64_t nodes = 0;
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    nodes += PerftCounted(depth - 1);
    UnmakeMove();
  }
  return nodes;
}

// A move value as the generators encode it.
inline Move MoveOf(const char* from, const char* to, uint32_t piece, uint32_t captured, uint32_t kind) {
  uint32_t black = (piece >= BlackQueen && piece <= BlackRook) || piece == BlackKing;
  return MakeMoveValue(Sq(from), Sq(to), piece, captured, black, kind);
}

// Castling as its bare type value: type in bits 20-23, every other bit 0.
inline Move BareCastling(bool black, bool kingSide) {
  uint32_t type = (kingSide ? 4u : 6u) + (black ? 1u : 0u);
  return type << 20;
}

// Every field of the position state.
struct PositionState {
  uint8_t Board[64];
  BitBoard PieceBB[10];
  int32_t WhiteKingSquare, BlackKingSquare;
  BitBoard WhiteKingBB, BlackKingBB, WhitePieces, BlackPieces, Occupied;
  BitBoard FileRotated, DiagRotatedA, DiagRotatedB;
  uint8_t WhiteToMove;
  uint32_t CastleRights;
  int32_t EpFile;
  uint32_t HalfmoveClock;
  uint8_t InCheck;
  uint64_t HashKey;
  uint32_t PawnKey;
  int32_t PSEScore;
  uint32_t MaterialSignature;
  int32_t Ply;
  uint8_t GamePly;
  int32_t KeyHistoryCount;
  uint64_t KeyHistoryTop;
  int32_t NullMoveCount;
};

inline PositionState CaptureState() {
  PositionState s{{}, {}, WhiteKingSquare, BlackKingSquare, WhiteKingBB, BlackKingBB, WhitePieces, BlackPieces,
                  Occupied, OccupiedFileRotated, OccupiedDiagRotatedA, OccupiedDiagRotatedB, WhiteToMove,
                  CastleRights, EpFile, HalfmoveClock, InCheck, HashKey, PawnKey, PSEScore, MaterialSignature,
                  Ply, GamePly, KeyHistoryCount, KeyHistory[KeyHistoryCount], NullMoveCount};
  std::memcpy(s.Board, Board, sizeof s.Board);
  std::memcpy(s.PieceBB, PieceBB, sizeof s.PieceBB);
  return s;
}

template <typename T> void NoteDifference(std::ostringstream& out, const char* name, const T& a, const T& b) {
  if (!(a == b)) out << name << ": " << +a << " vs " << +b << "; ";
}

// Names every field that differs (empty when the states are equal).
inline std::string StateDifferences(const PositionState& a, const PositionState& b) {
  std::ostringstream out;
  for (int s = 0; s < 64; s++)
    if (a.Board[s] != b.Board[s]) out << "Board[" << SquareNames[s] << "]: " << +a.Board[s] << " vs " << +b.Board[s] << "; ";
  for (int c = 0; c < 10; c++)
    if (a.PieceBB[c] != b.PieceBB[c]) out << "PieceBB[" << c + 1 << "]; ";
#define VELKAR_NOTE(field) NoteDifference(out, #field, a.field, b.field)
  VELKAR_NOTE(WhiteKingSquare); VELKAR_NOTE(BlackKingSquare); VELKAR_NOTE(WhiteKingBB);
  VELKAR_NOTE(BlackKingBB); VELKAR_NOTE(WhitePieces); VELKAR_NOTE(BlackPieces); VELKAR_NOTE(Occupied);
  VELKAR_NOTE(FileRotated); VELKAR_NOTE(DiagRotatedA); VELKAR_NOTE(DiagRotatedB);
  VELKAR_NOTE(WhiteToMove); VELKAR_NOTE(CastleRights); VELKAR_NOTE(EpFile); VELKAR_NOTE(HalfmoveClock);
  VELKAR_NOTE(InCheck); VELKAR_NOTE(HashKey); VELKAR_NOTE(PawnKey); VELKAR_NOTE(PSEScore);
  VELKAR_NOTE(MaterialSignature); VELKAR_NOTE(Ply); VELKAR_NOTE(GamePly); VELKAR_NOTE(KeyHistoryCount);
  VELKAR_NOTE(KeyHistoryTop); VELKAR_NOTE(NullMoveCount);
#undef VELKAR_NOTE
  return out.str();
}

// Signature field positions by piece code, written out here rather than read
// from the engine so that a wrong engine table shows up.
constexpr int SignatureShift[11] = {0, 4, 10, 14, 18, 22, 20, 0, 8, 12, 16};

// Names every derived field that differs from its value computed from Board
// and the side to move (empty when all agree). Only for positions reached by
// a set-up or ordinary moves: a null move changes the key on purpose.
inline std::string ScratchDifferences() {
  std::ostringstream out;
  BitBoard sets[10] = {};
  BitBoard white = 0, black = 0, fileRotated = 0, diagA = 0, diagB = 0;
  uint32_t signature = 0;
  int whiteKings = 0, blackKings = 0;
  for (int s = 0; s < 64; s++) {
    uint8_t code = ::Board[s];
    if (code == 0) continue;
    BitBoard bit = BitBoard{1} << s;
    fileRotated |= BitBoard{1} << FileRotationMap[s];
    diagA |= BitBoard{1} << DiagARotationMap[s];
    diagB |= BitBoard{1} << DiagBRotationMap[s];
    if (code <= 5 || code == WhiteKing) white |= bit; else black |= bit;
    if (code <= 10) {
      sets[code - 1] |= bit;
      signature += uint32_t{1} << SignatureShift[code];
    } else if (code == WhiteKing) {
      whiteKings++;
      if (::WhiteKingSquare != s) out << "WhiteKingSquare; ";
      if (::WhiteKingBB != bit) out << "WhiteKingBB; ";
    } else {
      blackKings++;
      if (::BlackKingSquare != s) out << "BlackKingSquare; ";
      if (::BlackKingBB != bit) out << "BlackKingBB; ";
    }
  }
  if (whiteKings != 1 || blackKings != 1) out << "king count; ";
  for (int c = 0; c < 10; c++)
    if (::PieceBB[c] != sets[c]) out << "PieceBB[" << c + 1 << "]; ";
  NoteDifference(out, "WhitePieces", ::WhitePieces, white);
  NoteDifference(out, "BlackPieces", ::BlackPieces, black);
  NoteDifference(out, "Occupied", ::Occupied, white | black);
  NoteDifference(out, "OccupiedFileRotated", ::OccupiedFileRotated, fileRotated);
  NoteDifference(out, "OccupiedDiagRotatedA", ::OccupiedDiagRotatedA, diagA);
  NoteDifference(out, "OccupiedDiagRotatedB", ::OccupiedDiagRotatedB, diagB);
  NoteDifference(out, "MaterialSignature", ::MaterialSignature, signature);
  NoteDifference(out, "HashKey", ::HashKey, ComputeHashKey());
  NoteDifference(out, "PawnKey", ::PawnKey, ComputePawnKey());
  NoteDifference(out, "PSEScore", ::PSEScore, ComputePSEScore());
  uint8_t check = ::WhiteToMove ? IsAttackedByBlack(static_cast<uint8_t>(::WhiteKingSquare))
                                : IsAttackedByWhite(static_cast<uint8_t>(::BlackKingSquare));
  NoteDifference(out, "InCheck", ::InCheck, check);
  NoteDifference(out, "KeyHistory[KeyHistoryCount]", ::KeyHistory[::KeyHistoryCount], ::HashKey);
  if (!(::EpFile == 128 || (::EpFile >= 0 && ::EpFile < 8))) out << "EpFile out of range; ";
  if (::CastleRights > 15) out << "CastleRights out of range; ";
  return out.str();
}
