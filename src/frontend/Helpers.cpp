#include "frontend/Helpers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "frontend/ConsoleIO.h"

uint32_t RandSeed = 0;

int64_t Round(double x) {
  // nearbyint follows the rounding mode, which we never change from
  // round-to-nearest-even.
  return static_cast<int64_t>(std::nearbyint(x));
}

uint32_t Random(uint32_t n) {
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(RandSeed) * n) >> 32);
}

void Reseed() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t counter = static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
  uint32_t r = Random(2147483647u);
  RandSeed = r ^ static_cast<uint32_t>(counter) ^ static_cast<uint32_t>(counter >> 32);
}

namespace {

struct ParseResult {
  uint64_t Magnitude;  // the digits read, before the sign
  bool Negative;
  bool Hex;
  bool Overflow;  // stopped at a digit that would not fit 64 bits
  int32_t Pos;    // as Val reports it
};

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

ParseResult ParseInteger(const std::string& text) {
  ParseResult r{0, false, false, false, 0};
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) r.Negative = text[i++] == '-';
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    r.Hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && text[i + 1] == 'x') {
    r.Hex = true;
    i += 2;
  }
  const uint64_t base = r.Hex ? 16 : 10;
  // Decimal stops where the signed 64-bit range ends; hexadecimal may use all 64 bits.
  const uint64_t limit = r.Hex ? UINT64_MAX : (r.Negative ? (uint64_t{1} << 63) : INT64_MAX);
  bool anyDigit = false;
  for (; i < n; ++i) {
    int d = HexDigit(static_cast<unsigned char>(text[i]));
    if (d < 0 || static_cast<uint64_t>(d) >= base) break;
    if (r.Magnitude > (limit - static_cast<uint64_t>(d)) / base) {
      r.Overflow = true;
      break;
    }
    r.Magnitude = r.Magnitude * base + static_cast<uint64_t>(d);
    anyDigit = true;
  }
  r.Pos = (i == n && anyDigit) ? 0 : static_cast<int32_t>(i + 1);
  return r;
}

int64_t SignedValue(const ParseResult& r) {
  uint64_t v = r.Negative ? 0 - r.Magnitude : r.Magnitude;
  return static_cast<int64_t>(v);
}

}  // namespace

std::string ConversionErrorMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

int32_t StrToInt(const std::string& text) {
  ParseResult r = ParseInteger(text);
  // Hexadecimal text may spell the 32-bit pattern of a negative number.
  bool fits = r.Hex ? r.Magnitude <= UINT32_MAX
                    : r.Magnitude <= (r.Negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX});
  if (r.Pos == 0 && fits) {
    uint32_t bits = static_cast<uint32_t>(r.Magnitude);
    return static_cast<int32_t>(r.Negative ? 0u - bits : bits);
  }
  // No loop catches this: what the user sees is the message and the exit code.
  FlushText();
  std::string message = ConversionErrorMessage(text) + "\n";
  fwrite(message.data(), 1, message.size(), stderr);
  fflush(stderr);
  std::exit(1);
}

int64_t Val(const std::string& text, int32_t& pos) {
  ParseResult r = ParseInteger(text);
  pos = r.Pos;
  return SignedValue(r);
}

int64_t StrToIntDef(const std::string& text, int64_t def) {
  int32_t pos;
  int64_t v = Val(text, pos);
  return pos == 0 ? v : def;
}

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return std::string(text.substr(first, last - first));
}

std::string FormatThousands(int64_t n) {
  bool negative = n < 0;
  uint64_t value = negative ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  std::string result;
  while (value >= 1) {
    std::string group = std::to_string(value % 1000);
    if (value > 999) group.insert(0, 3 - group.size(), '0');
    result = result.empty() ? group : group + "," + result;
    value /= 1000;
  }
  if (result.empty()) return "0";
  return negative ? "-" + result : result;
}

bool HasPrefix(const std::string& line, const char* word) { return line.rfind(word, 0) == 0; }

std::string ArgumentFrom(const std::string& line, size_t position) {
  return line.size() >= position ? line.substr(position - 1) : std::string();
}
