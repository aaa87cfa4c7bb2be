// The round trip of move text: every legal move of a position, written as
// algebraic and as coordinate text and typed back, makes exactly that move.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "board/MoveInputHelpers.h"

// The FEN part of every line of the perft reference file.
inline std::vector<std::string> ReferenceFens() {
  std::ifstream file(std::string(VELKAR_TEST_DATA) + "/positions.epd");
  std::vector<std::string> fens;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    fens.push_back(line.substr(0, line.find(';')));
  }
  return fens;
}

inline std::string UpperCaseText(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

inline std::string LowerCaseText(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

struct RoundTripCounts {
  int32_t Positions = 0;
  int32_t Moves = 0;
  int32_t FoldedOntoBishop = 0;
};

// Types the text and checks that the move of entry `expected` was made, then
// takes it back.
inline void ExpectTypedMakes(const std::string& text, const LegalMoves& moves, int32_t expected,
                             const PositionSnapshot& before, const std::string& where) {
  MakeMove(moves.List.Moves[expected]);
  PositionSnapshot wanted = TakeSnapshot();
  UnmakeMove();
  ASSERT_TRUE(ParseAndMakeMove(text)) << where << " text " << text;
  EXPECT_EQ(TakeSnapshot(), wanted) << where << " text " << text;
  UnmakeMove();
  ASSERT_EQ(TakeSnapshot(), before) << where << " text " << text;
}

// A text that folds onto an earlier entry's algebraic text makes that entry's
// move; the only such pair is a b-file text against a bishop's text.
inline int32_t ExpectedEntry(const LegalMoves& moves, const std::string& text, int32_t own,
                             RoundTripCounts& counts, const std::string& where) {
  int32_t folded = -1;
  for (int32_t j = 0; j < moves.List.Count && folded < 0; j++)
    if (UpperCaseText(moves.San[j]) == UpperCaseText(text)) folded = j;
  if (folded < 0 || folded == own) return own;
  EXPECT_EQ(text[0], 'b') << where << " text " << text << " folds onto " << moves.San[folded];
  EXPECT_EQ(moves.San[folded][0], 'B') << where << " text " << text;
  counts.FoldedOntoBishop++;
  return folded;
}

// Round trip over every legal move of the current position; `variants` adds
// the all upper-case and all lower-case spellings of each algebraic text.
inline void RoundTripCurrentPosition(const std::string& where, bool variants,
                                     RoundTripCounts& counts) {
  // The generator gives up a castling right whose rook was taken on its
  // corner; let it do so before the position is taken as the reference.
  CurrentLegalMoves();
  PositionSnapshot before = TakeSnapshot();
  auto moves = CurrentLegalMoves();
  ASSERT_EQ(TakeSnapshot(), before) << where;
  counts.Positions++;
  for (int32_t i = 0; i < moves->List.Count; i++) {
    const std::string& san = moves->San[i];
    const std::string& coordinates = moves->Coordinates[i];
    ASSERT_FALSE(san.empty()) << where << " entry " << i;
    EXPECT_LE(san.size(), 7u) << where << " " << san;
    EXPECT_TRUE(coordinates.size() == 4 || coordinates.size() == 5) << where << " " << coordinates;
    for (int32_t j = 0; j < i; j++) ASSERT_NE(moves->San[j], san) << where << " entry " << i;
    counts.Moves++;

    int32_t sanEntry = ExpectedEntry(*moves, san, i, counts, where);
    ExpectTypedMakes(san, *moves, sanEntry, before, where);
    if (variants) {
      ExpectTypedMakes(UpperCaseText(san), *moves, sanEntry, before, where);
      ExpectTypedMakes(LowerCaseText(san), *moves, sanEntry, before, where);
    }
    ExpectTypedMakes(coordinates, *moves, ExpectedEntry(*moves, coordinates, i, counts, where),
                     before, where);
    if (::testing::Test::HasFatalFailure()) return;
  }
}
