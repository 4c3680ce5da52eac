// Toolkit fonts: described by createFont, made on first use from the
// control's screen resolution, counted per control that shows them, and
// deleted once given back and shown nowhere.
#include <map>
#include <mutex>
#include <string>

#include "platform/dialog.h"
#include "platform/win32/dialog/ansi_conversion.h"
#include "platform/win32/dialog/dialog_font_users.h"
#include "platform/win32/dialog/dialog_records.h"
#include "platform/win32/dialog/font_height.h"
#include "platform/win32/dialog/window_handles.h"

namespace {

// Ids 1 to 3 belong to the toolkit's own fonts, which are never given back.
constexpr FontId kFirstProgramFont = 4;
constexpr std::size_t kMaxFaceLength = LF_FACESIZE - 1;  // 31 characters

struct FontRecord {
  std::wstring face;
  double points = 8;
  int styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  int charset = 0;
  int pitchAndFamily = 0;
  int angle = 0;  // tenths of a degree
  HFONT handle = nullptr;  // made on first use
  int users = 0;  // controls showing the font
  bool released = false;  // given back while still shown
};

std::mutex fontsLock;
FontId nextFont = kFirstProgramFont;
std::map<FontId, FontRecord>& fonts() {
  static std::map<FontId, FontRecord> records;
  return records;
}

LOGFONTW logFontFor(const FontRecord& font, int logPixelsY) {
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
  FontRecord description;
  {
    std::lock_guard<std::mutex> lock(fontsLock);
    auto found = fonts().find(font);
    if (found == fonts().end()) return nullptr;
    if (found->second.handle != nullptr) return found->second.handle;
    description = found->second;
  }
  const LOGFONTW logFont = logFontFor(description, logPixelsYOf(control));
  HFONT made = CreateFontIndirectW(&logFont);
  if (made == nullptr) return nullptr;

  std::lock_guard<std::mutex> lock(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) {
    DeleteObject(made);
    return nullptr;
  }
  if (found->second.handle == nullptr) found->second.handle = made;
  if (found->second.handle != made) DeleteObject(made);
  return found->second.handle;
}

// Deletes the font when it has been given back and no control shows it.
// Called with the lock held.
void deleteIfUnused(std::map<FontId, FontRecord>::iterator font) {
  if (!font->second.released || font->second.users > 0) return;
  if (font->second.handle != nullptr) DeleteObject(font->second.handle);
  fonts().erase(font);
}

void countUser(FontId font, int change) {
  if (font == 0) return;
  std::lock_guard<std::mutex> lock(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) return;
  found->second.users += change;
  if (found->second.users < 0) found->second.users = 0;
  deleteIfUnused(found);
}

}  // namespace

FontId createFont(const Text& face, double points, int styleBits, int charset,
                  int pitchAndFamily, int angle) {
  FontRecord font;
  font.face = ansiToWide(face).substr(0, kMaxFaceLength);
  font.points = points == 0 ? 8 : points;
  font.styleBits = styleBits;
  font.charset = charset;
  font.pitchAndFamily = pitchAndFamily;
  font.angle = angle;

  std::lock_guard<std::mutex> lock(fontsLock);
  const FontId id = nextFont++;
  fonts()[id] = font;
  return id;
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
  countUser(font, +1);
  countUser(*previous, -1);
}

void releaseFont(FontId font) {
  if (font < kFirstProgramFont) return;
  std::lock_guard<std::mutex> lock(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) return;
  found->second.released = true;
  deleteIfUnused(found);
}

void dropFontUsers(const std::vector<ControlRecord>& controls) {
  for (const ControlRecord& control : controls) countUser(control.font, -1);
}
