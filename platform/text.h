#pragma once
// Program text: 8-bit characters of the system ANSI code page with an
// explicit length. Any byte value is allowed, 0 included. Positions count
// from 1, as everywhere in the program.
#include <cstdint>
#include <string>

using Text = std::string;
using TextPos = std::int64_t;

TextPos textLength(const Text& t);
Text joinText(const Text& a, const Text& b);
// Up to count bytes from position start; empty when start is 0 or past the end.
Text substring(const Text& t, TextPos start, TextPos count);
// The last n bytes; all of t when n >= length.
Text rightPart(const Text& t, TextPos n);
// Replaces bytes of t in place from start with the first bytes of r; the
// length of t never changes.
void overwrite(Text& t, TextPos start, TextPos count, const Text& r);
// Position of the first occurrence of part in t at or after start; 0 when
// none or t is empty; start when part is empty.
TextPos findText(TextPos start, const Text& t, const Text& part);
// Lower-cased copy by the system's ANSI rules.
Text lowerCase(const Text& t);
bool textEqual(const Text& a, const Text& b);
// Byte value at position p (0..255), or -1 when t is empty or p is outside it.
int characterCode(const Text& t, TextPos p);
// One byte of value n (0..255).
Text character(int n);
