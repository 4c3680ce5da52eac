// Control texts, checks and names, from the dialog's thread and from
// another one.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/win32/test_dialog.h"

namespace {

constexpr int kEdit = 1032;
constexpr int kButton = 1023;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dialog_.handle(), 0u);
    addControl(dialog_.handle(), ControlKind::EditBox, kEdit, "", 10, 10, 150, 15);
    addControl(dialog_.handle(), ControlKind::PushButton, kButton, "Update", 10, 30, 60, 15);
  }

  ScopedDialog dialog_;
};

TEST_F(ControlTest, TextsRoundTripIncludingBytesAboveAscii) {
  const Text texts[] = {"7", "Update", "Wake up, it is 7:30", "", "caf\xE9 \x80", Text(300, 'x')};
  for (const Text& text : texts) {
    setControlText(dialog_.handle(), kEdit, text);
    EXPECT_EQ(getControlText(dialog_.handle(), kEdit), text);
  }
  EXPECT_EQ(getControlText(dialog_.handle(), kButton), "Update");
  if (GetACP() == 1252) {
    setControlText(dialog_.handle(), kEdit, "\x93q\x94");
    wchar_t wide[8] = {};
    GetWindowTextW(dialog_.control(kEdit), wide, 8);
    EXPECT_STREQ(wide, L"\u201Cq\u201D");
  }
}

TEST_F(ControlTest, TextOfAControlThatDoesNotExistIsEmptyAndSettingItChangesNothing) {
  setControlText(dialog_.handle(), kEdit, "kept");
  setControlText(dialog_.handle(), 1034, "lost");
  setControlText(0, kEdit, "lost");
  EXPECT_EQ(getControlText(dialog_.handle(), 1034), "");
  EXPECT_EQ(getControlText(0, kEdit), "");
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), "kept");
  EXPECT_EQ(controlWindow(dialog_.handle(), 1034), 0u);
}

TEST_F(ControlTest, TextSetFromAnotherThreadTakesEffectWhenTheDialogThreadTakesMessages) {
  setControlText(dialog_.handle(), kEdit, "before");
  std::atomic<bool> done{false};
  std::thread clock([&] {
    setControlText(dialog_.handle(), kEdit, " 7:30:00 a");
    done = true;
  });

  // Wait until the text is waiting for this thread, without taking it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_NE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE, 0u);
  EXPECT_FALSE(done);
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), "before");

  EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
  clock.join();
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), " 7:30:00 a");
}

TEST_F(ControlTest, TextReadFromAnotherThreadWhileTheDialogThreadTakesMessages) {
  setControlText(dialog_.handle(), kEdit, "Text to Speak \xE9");
  std::atomic<bool> done{false};
  Text seen;
  std::thread reader([&] {
    seen = getControlText(dialog_.handle(), kEdit);
    done = true;
  });
  EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
  reader.join();
  EXPECT_EQ(seen, "Text to Speak \xE9");
}

TEST_F(ControlTest, FocusMovesToTheControlAskedFor) {
  ShowWindow(dialog_.hwnd(), SW_SHOW);
  focusWindow(toWindowHandle(dialog_.control(kButton)));
  EXPECT_EQ(focusedWindow(), toWindowHandle(dialog_.control(kButton)));
  focusWindow(controlWindow(dialog_.handle(), kEdit));
  EXPECT_EQ(focusedWindow(), toWindowHandle(dialog_.control(kEdit)));
}

// Stands in for MSAA's property service in this process while registered,
// and keeps every name given through it.
class RecordingPropertyService final : public IAccPropServices, public IClassFactory {
 public:
  struct Name {
    HWND control;
    DWORD object, child;
    MSAAPROPID property;
    std::wstring text;
  };
  std::vector<Name> names;

  HRESULT WINAPI SetHwndPropStr(HWND control, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
    names.push_back({control, object, child, property, text});
    return S_OK;
  }
  // Lives on the test's stack: no reference counting.
  HRESULT WINAPI QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IAccPropServices) *out = static_cast<IAccPropServices*>(this);
    if (iid == IID_IUnknown || iid == IID_IClassFactory) *out = static_cast<IClassFactory*>(this);
    return *out != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }
  HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** out) override {
    return QueryInterface(iid, out);
  }
  HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
  // The rest of the service, which the program does not use.
  HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                               AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                   AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                    AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
  HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
    return E_NOTIMPL;
  }
};

TEST_F(ControlTest, NamesGoToTheSystemsPropertyServiceAndTheCaptionsStay) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  // The system's own service: where it answers E_NOTIMPL (Wine), the control
  // goes on as it was.
  setControlAccessibleName(dialog_.handle(), kButton, "Update the clock");
  EXPECT_EQ(getControlText(dialog_.handle(), kButton), "Update");

  RecordingPropertyService service;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                  CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  setControlAccessibleName(dialog_.handle(), kButton, "Set alarm A");
  setControlAccessibleName(dialog_.handle(), kEdit, "Alarm A hour");
  setControlAccessibleName(dialog_.handle(), 1034, "no such control");
  CoRevokeClassObject(cookie);

  ASSERT_EQ(service.names.size(), 2u);
  const std::pair<int, const wchar_t*> expected[] = {{kButton, L"Set alarm A"},
                                                     {kEdit, L"Alarm A hour"}};
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& name = service.names[i];
    EXPECT_EQ(name.control, dialog_.control(expected[i].first));
    EXPECT_EQ(name.object, static_cast<DWORD>(OBJID_CLIENT));
    EXPECT_EQ(name.child, static_cast<DWORD>(CHILDID_SELF));
    EXPECT_TRUE(IsEqualGUID(name.property, PROPID_ACC_NAME));
    EXPECT_EQ(name.text, expected[i].second);
  }
  EXPECT_EQ(getControlText(dialog_.handle(), kButton), "Update");
  CoUninitialize();
}

class CheckTest : public ::testing::Test {
 protected:
  // Laid out as alarm rows are: radio buttons between edit and check boxes.
  void SetUp() override {
    ASSERT_NE(dialog_.handle(), 0u);
    int y = 5;
    for (int row = 0; row < 3; ++row, y += 20) {
      addControl(dialog_.handle(), ControlKind::CheckBox, 1003 + row, "A", 5, y, 20, 15);
      addControl(dialog_.handle(), ControlKind::EditBox, 1007 + 4 * row, "12", 30, y, 20, 15);
      addControl(dialog_.handle(), ControlKind::RadioButton, kRadios[row], "set", 60, y, 30, 15);
    }
  }
  UINT checkOf(int id) const {
    return static_cast<UINT>(SendMessageW(dialog_.control(id), BM_GETCHECK, 0, 0));
  }

  static constexpr int kRadios[3] = {1010, 1014, 1018};
  ScopedDialog dialog_;
};

TEST_F(CheckTest, SetControlCheckChecksOnlyThatControl) {
  setControlCheck(dialog_.handle(), 1004, 1);
  setControlCheck(dialog_.handle(), kRadios[2], 1);
  EXPECT_EQ(checkOf(1003), BST_UNCHECKED);
  EXPECT_EQ(checkOf(1004), BST_CHECKED);
  EXPECT_EQ(checkOf(1005), BST_UNCHECKED);
  EXPECT_EQ(checkOf(kRadios[0]), BST_UNCHECKED);
  EXPECT_EQ(checkOf(kRadios[2]), BST_CHECKED);
  setControlCheck(dialog_.handle(), 1034, 1);  // no such control: nothing happens
}

TEST_F(CheckTest, AllRadioButtonsOfTheDialogFormOneGroup) {
  setControlCheck(dialog_.handle(), 1003, 1);
  for (int clicked : kRadios) {
    SCOPED_TRACE(clicked);
    SendMessageW(dialog_.control(clicked), BM_CLICK, 0, 0);
    for (int radio : kRadios) EXPECT_EQ(checkOf(radio), radio == clicked ? BST_CHECKED : 0u);
    EXPECT_EQ(checkOf(1003), BST_CHECKED);  // check boxes are not part of it
  }
}

}  // namespace
