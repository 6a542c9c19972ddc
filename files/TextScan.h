// Number and line scanning shared by the text readers: lenient leading-digit conversions, scanf-style
// field reading, and line splitting with a fixed line length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A decimal integer from the leading characters (optional sign, digits), else 0; clamped to int32.
int32_t leadingInt(std::string_view text);
// A decimal number from the leading numeric characters, else 0; clamped to the finite float range.
double leadingNumber(std::string_view text);

// Reads blank-separated fields one after another as %d and %f would: once a field fails to convert,
// that field and every later one fail, and the caller's value is left as it was.
class FieldScanner {
public:
  explicit FieldScanner(const std::string& line) : text(line.c_str()), at(line.c_str()) {}
  bool readInt(int32_t& value);
  bool readFloat(float& value);
  bool failed() const { return stopped; }

private:
  void skipBlanks();
  const char* text;
  const char* at;
  bool stopped = false;
};

// Splits text into lines ended by LF (a CR before the LF is dropped). A line longer than maxLength keeps
// its first maxLength characters; the rest of it is skipped, not read as a new line.
class LineReader {
public:
  LineReader(std::string_view bytes, size_t maxLength) : text(bytes), limit(maxLength) {}
  bool next(std::string& line);

private:
  std::string_view text;
  size_t limit;
  size_t position = 0;
};

bool isBlank(char c);
// True for a line holding nothing but blanks.
bool isBlankLine(std::string_view line);
// The text cut to at most maxBytes, never inside a UTF-8 character.
std::string cutUtf8(std::string_view text, size_t maxBytes);
