// Shared set-up for the board tests: tables built once, and the bytes a piece
// of code writes to standard output.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "board/Position.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"

inline void EnsureBoardTables() {
  static const bool built = [] {
    InitBitBoards();
    InitZobristKeys();
    InitPSETables();
    return true;
  }();
  (void)built;
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
  return CaptureStdout([&] { SetPositionFromFEN(fen); });
}

inline uint8_t Sq(const char* name) { return uint8_t((name[1] - '1') * 8 + (name[0] - 'a')); }

inline BitBoard Squares(std::initializer_list<const char*> names) {
  BitBoard b = 0;
  for (const char* n : names) b |= BitBoard{1} << Sq(n);
  return b;
}
