#pragma once
// Program text is ANSI bytes of the system code page; the window system and
// the speech service take UTF-16. These two conversions are the only place
// where the two meet. They are inline so that every Windows library of the
// program can use them without linking another.
#include <windows.h>

#include <climits>
#include <string>

#include "platform/text.h"

// MultiByteToWideChar with CP_ACP and MB_PRECOMPOSED. Every byte is
// converted, 0 included; an empty text gives an empty string.
inline std::wstring ansiToWide(const Text& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int wideLength =
      MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), length, wide.data(), wideLength);
  return wide;
}

// WideCharToMultiByte with CP_ACP, flags 0 and no default-character
// arguments: characters the code page cannot hold become its default
// character.
inline Text wideToAnsi(const wchar_t* wide, int count) {
  if (wide == nullptr || count <= 0) return Text();
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return Text();
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, count, text.data(), length, nullptr, nullptr);
  return text;
}

inline Text wideToAnsi(const std::wstring& wide) {
  if (wide.size() > INT_MAX) return Text();
  return wideToAnsi(wide.data(), static_cast<int>(wide.size()));
}
