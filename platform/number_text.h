#pragma once
// Numbers the program computes with, and their text forms.
#include <cstdint>

#include "platform/text.h"

// 80-bit extended precision under gcc and mingw.
using Number = long double;

// Sign column first: a blank for zero and positive values, "-" otherwise.
// 15 significant digits; no 0 before the point; exponent form beyond.
Text numberToText(Number v);
// Removes leading blanks (0x20 only).
Text trimLeft(const Text& t);
// Reads the longest number at the start of t; text without one reads as 0.
Number textToNumber(const Text& t);

// Storing a number into an integer rounds to nearest, halves to even.
std::int16_t toInt16(Number v);
std::int32_t toInt32(Number v);
