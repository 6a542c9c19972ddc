// Lenient number conversions, scanf-style field reading and fixed-length line splitting.
#include "files/TextScan.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool isBlankLine(std::string_view line) {
  for (char c : line)
    if (!isBlank(c)) return false;
  return true;
}

static bool isDigit(char c) { return c >= '0' && c <= '9'; }

int32_t leadingInt(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = static_cast<int64_t>(INT32_MAX) + 1;  // saturate; clamped below
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

static double clampToFloatRange(double v) {
  if (std::isnan(v)) return 0;
  if (v > FLT_MAX) return FLT_MAX;
  if (v < -FLT_MAX) return -FLT_MAX;
  return v;
}

double leadingNumber(std::string_view text) {
  // Only the plain decimal form: sign, digits, a point, digits, an exponent.
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      i = j;
    }
  }
  // Numbers are read the same whatever locale the program runs in.
  const char* begin = text.data();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto [end, error] = std::from_chars(begin, text.data() + i, value);
  if (error == std::errc::result_out_of_range) return text[0] == '-' ? -FLT_MAX : FLT_MAX;
  return clampToFloatRange(value);
}

void FieldScanner::skipBlanks() {
  while (*at && isBlank(*at)) ++at;
}

bool FieldScanner::readInt(int32_t& value) {
  if (stopped) return false;
  skipBlanks();
  const char* start = at;
  const char* p = at;
  if (*p == '-' || *p == '+') ++p;
  if (!isDigit(*p)) {
    stopped = true;
    return false;
  }
  while (isDigit(*p)) ++p;
  value = leadingInt(std::string_view(start, static_cast<size_t>(p - start)));
  at = p;
  return true;
}

bool FieldScanner::readFloat(float& value) {
  if (stopped) return false;
  skipBlanks();
  // As %f reads it, in any locale: an optional sign, then a decimal number, "inf" or "nan".
  const char* begin = at;
  const bool negative = *begin == '-';
  if (*begin == '+' || *begin == '-') ++begin;
  const char* last = begin + std::strlen(begin);
  float v = 0;
  auto [end, error] = std::from_chars(begin, last, v, std::chars_format::general);
  if (error == std::errc::invalid_argument || *begin == '-' || *begin == '+') {
    stopped = true;
    return false;
  }
  if (error == std::errc::result_out_of_range) v = std::numeric_limits<float>::infinity();
  value = negative ? -v : v;
  at = end;
  return true;
}

bool LineReader::next(std::string& line) {
  if (position >= text.size()) return false;
  size_t end = text.find('\n', position);
  const size_t stop = end == std::string_view::npos ? text.size() : end;
  std::string_view whole = text.substr(position, stop - position);
  if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
  line.assign(whole.substr(0, limit));
  position = end == std::string_view::npos ? text.size() : end + 1;
  return true;
}

std::string cutUtf8(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut));
}
