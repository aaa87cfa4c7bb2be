// Frames and boxes as the program writes them to a pipe: code page 437 bytes.
#pragma once
#include <string>
#include <vector>

// A frame line: its left end, n horizontal bars, its right end.
inline std::string Frame(const std::string& left, size_t n, const std::string& right) {
  return left + std::string(n, '\xC4') + right;
}

// The table statistics box, from the texts of its twelve values in order.
inline std::string HashStatsBox(const std::vector<std::string>& values) {
  static const char* const labels[] = {"      Reads", "  Read hits", "     Writes", " Write hits",
                                       " Collisions", " Slots used", "Total slots", "      Evals",
                                       " Pawnwrites", "   Pawnhits", "Materwrites", "  Materhits"};
  const std::string rule = Frame("", 34, "\r\n");
  std::string box = "\r\n" + Frame("", 6, " HASH STATS ") + Frame("", 15, "\r\n");
  for (size_t i = 0; i < values.size(); i++)
    box += labels[i] + (": " + values[i]) + "\r\n" + (i == 6 || i == 7 || i == 11 ? rule : "");
  return box;
}
