#include "platform/win32/dialog/dialog_template.h"

#include <cstring>

namespace {

class TemplateWriter {
 public:
  void word(unsigned value) { words_.push_back(static_cast<WORD>(value)); }
  void dword(DWORD value) {
    word(value & 0xFFFF);
    word(value >> 16);
  }
  void string(const wchar_t* text) {
    for (; *text != L'\0'; ++text) word(static_cast<WORD>(*text));
    word(0);
  }
  std::vector<DWORD> finish() const {
    std::vector<DWORD> dwords((words_.size() + 1) / 2, 0);
    std::memcpy(dwords.data(), words_.data(), words_.size() * sizeof(WORD));
    return dwords;
  }

 private:
  std::vector<WORD> words_;
};

}  // namespace

std::vector<DWORD> buildDialogTemplate(DWORD style, DWORD exStyle, int x, int y, int width,
                                       int height) {
  TemplateWriter t;
  t.word(1);       // dlgVer
  t.word(0xFFFF);  // signature: extended template
  t.dword(0);      // helpID
  t.dword(exStyle);
  t.dword(style);
  t.word(0);  // cDlgItems: controls are added one by one afterwards
  t.word(static_cast<WORD>(static_cast<short>(x)));
  t.word(static_cast<WORD>(static_cast<short>(y)));
  t.word(static_cast<WORD>(static_cast<short>(width)));
  t.word(static_cast<WORD>(static_cast<short>(height)));
  t.word(0);          // no menu
  t.word(0);          // the default dialog class
  t.string(L" ");     // title
  t.word(8);          // point size
  t.word(FW_NORMAL);  // weight 400
  t.word(0);          // italic (low byte) 0, character set (high byte) 0
  t.string(L"MS Sans Serif");
  return t.finish();
}
