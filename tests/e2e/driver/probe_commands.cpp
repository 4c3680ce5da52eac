// Commands answered inside the program's process by the probe hook: fonts,
// the dialog's own dialog-unit conversion and the dialog's icons.
#include <windows.h>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"
#include "probe_client.h"

namespace {

std::string fontText(const LOGFONTW& font) {
  return std::to_string(font.lfHeight) + "\t" + std::to_string(font.lfWeight) + "\t" +
         std::to_string(font.lfItalic) + "\t" + std::to_string(font.lfUnderline) + "\t" +
         std::to_string(font.lfStrikeOut) + "\t" + std::to_string(font.lfCharSet) + "\t" +
         toAnsi(font.lfFaceName);
}

}  // namespace

int fonts(const Arguments& args) {
  if (!args.empty()) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  std::optional<ProbeBlock> probe = runProbe(dialog, {});
  if (!probe) return 3;
  writeOut("dpi\t" + std::to_string(probe->logPixelsY) + "\n");
  writeOut("dialog\t" + (probe->dialogHasFont ? fontText(probe->dialogFont) : "none") + "\n");
  for (LONG i = 0; i < probe->controlCount; ++i) {
    const ProbeControl& control = probe->controls[i];
    const char* whose = !control.hasFont ? "none" : control.isDialogFont ? "dialog" : "own";
    writeOut("font\t" + std::to_string(control.id) + "\t" + whose + "\t" +
             (control.hasFont ? fontText(control.font) : "") + "\n");
  }
  return 0;
}

int dialogRects(const Arguments& args) {
  if (args.empty() || args.size() % 4 != 0) return 2;
  std::vector<RECT> rects;
  for (size_t i = 0; i < args.size(); i += 4) {
    long x = 0, y = 0, w = 0, h = 0;
    if (!parseNumber(args[i], x) || !parseNumber(args[i + 1], y) ||
        !parseNumber(args[i + 2], w) || !parseNumber(args[i + 3], h)) {
      return 2;
    }
    rects.push_back(RECT{x, y, x + w, y + h});
  }
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  std::optional<ProbeBlock> probe = runProbe(dialog, rects);
  if (!probe) return 3;
  if (!probe->rectsMapped) {
    writeErr("bq_driver: MapDialogRect failed in the program\n");
    return 1;
  }
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT& r = probe->rects[i];
    writeOut(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
             std::to_string(r.right) + " " + std::to_string(r.bottom) + "\n");
  }
  return 0;
}

int windowIcons(const Arguments& args) {
  if (!args.empty()) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  std::optional<ProbeBlock> probe = runProbe(dialog, {});
  if (!probe) return 3;
  auto sizeText = [](const SIZE& size) {
    return std::to_string(size.cx) + "x" + std::to_string(size.cy);
  };
  writeOut("big\t" + sizeText(probe->bigIcon) + "\n");
  writeOut("small\t" + sizeText(probe->smallIcon) + "\n");
  return 0;
}
