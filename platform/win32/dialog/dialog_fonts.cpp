// Toolkit fonts: described by createFont, made on first use from the
// control's screen resolution, counted per control that shows them, and
// deleted once given back and shown nowhere.
#include <string>

#include "platform/dialog.h"
#include "platform/font_table.h"
#include "platform/win32/dialog/ansi_conversion.h"
#include "platform/win32/dialog/dialog_font_users.h"
#include "platform/win32/dialog/dialog_records.h"
#include "platform/win32/dialog/font_height.h"
#include "platform/win32/dialog/window_handles.h"

namespace {

constexpr std::size_t kMaxFaceLength = LF_FACESIZE - 1;  // 31 characters

struct FontDescription {
  std::wstring face;
  double points = 8;
  int styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  int charset = 0;
  int pitchAndFamily = 0;
  int angle = 0;  // tenths of a degree
};

using Fonts = FontTable<FontDescription, HFONT>;
Fonts& fonts() {
  static Fonts table([](HFONT font) { DeleteObject(font); });
  return table;
}

LOGFONTW logFontFor(const FontDescription& font, int logPixelsY) {
  LOGFONTW description{};
  description.lfHeight = fontHeightForPoints(font.points, logPixelsY);
  description.lfWidth = 0;
  description.lfEscapement = font.angle;
  description.lfOrientation = font.angle;
  description.lfWeight = (font.styleBits & 1) != 0 ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (font.styleBits & 2) != 0;
  description.lfUnderline = (font.styleBits & 4) != 0;
  description.lfStrikeOut = (font.styleBits & 8) != 0;
  description.lfCharSet = static_cast<BYTE>(font.charset);
  description.lfPitchAndFamily = static_cast<BYTE>(font.pitchAndFamily);
  font.face.copy(description.lfFaceName, kMaxFaceLength);
  return description;
}

int logPixelsYOf(HWND control) {
  HDC context = GetDC(control);
  const int logPixelsY = GetDeviceCaps(context, LOGPIXELSY);
  ReleaseDC(control, context);
  return logPixelsY;
}

// The platform font of a toolkit font, made now if need be; nullptr when
// the font does not exist or cannot be made.
HFONT platformFont(FontId font, HWND control) {
  return fonts().made(font, [control](const FontDescription& description) {
    const LOGFONTW logFont = logFontFor(description, logPixelsYOf(control));
    return CreateFontIndirectW(&logFont);
  });
}

}  // namespace

FontId createFont(const Text& face, double points, int styleBits, int charset,
                  int pitchAndFamily, int angle) {
  FontDescription font;
  font.face = ansiToWide(face).substr(0, kMaxFaceLength);
  font.points = points == 0 ? 8 : points;
  font.styleBits = styleBits;
  font.charset = charset;
  font.pitchAndFamily = pitchAndFamily;
  font.angle = angle;
  return fonts().add(font);
}

void setControlFont(WindowHandle dialogHandle, int id, FontId font) {
  HWND dialog = toHwnd(dialogHandle);
  HWND control = toHwnd(controlWindow(dialogHandle, id));
  if (control == nullptr) return;

  HFONT handle = font == 0 ? dialogFontOf(dialog) : platformFont(font, control);
  if (handle == nullptr && font != 0) return;  // no such font, or it cannot be made

  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
  const std::optional<FontId> previous = swapControlFont(dialog, control, font);
  if (!previous) return;  // not a control of the toolkit: nothing to count
  fonts().countUser(font, +1);
  fonts().countUser(*previous, -1);
}

void releaseFont(FontId font) { fonts().release(font); }

void dropFontUsers(const std::vector<ControlRecord>& controls) {
  for (const ControlRecord& control : controls) fonts().countUser(control.font, -1);
}
