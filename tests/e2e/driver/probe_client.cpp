#include "probe_client.h"

#include <string>

#include "ansi_io.h"
#include "target_window.h"

namespace {

// probe_hook.dll lies beside the driver.
std::wstring hookPath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + L"probe_hook.dll";
}

}  // namespace

std::optional<ProbeBlock> runProbe(HWND dialog, const std::vector<RECT>& dialogUnitRects) {
  if (dialogUnitRects.size() > static_cast<size_t>(kProbeMaxRects)) return std::nullopt;
  HMODULE hook = LoadLibraryW(hookPath().c_str());
  if (hook == nullptr) {
    writeErr("bq_driver: cannot load probe_hook.dll\n");
    return std::nullopt;
  }
  auto procedure = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(hook, kProbeHookProc)));
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(ProbeBlock), kProbeMemory);
  auto* block = mapping == nullptr ? nullptr
                                   : static_cast<ProbeBlock*>(MapViewOfFile(
                                         mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
  std::optional<ProbeBlock> result;
  if (procedure != nullptr && block != nullptr) {
    ZeroMemory(block, sizeof *block);
    block->rectCount = static_cast<LONG>(dialogUnitRects.size());
    for (size_t i = 0; i < dialogUnitRects.size(); ++i) block->rects[i] = dialogUnitRects[i];
    HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, procedure, hook,
                                        GetWindowThreadProcessId(dialog, nullptr));
    if (installed != nullptr) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(dialog, RegisterWindowMessageW(kProbeMessage), 0, 0, SMTO_NORMAL,
                          kSendTimeoutMs, &ignored);
      UnhookWindowsHookEx(installed);
      if (block->answered) result = *block;
    }
    if (!result) writeErr("bq_driver: the probe hook did not answer\n");
  }
  if (block != nullptr) UnmapViewOfFile(block);
  if (mapping != nullptr) CloseHandle(mapping);
  FreeLibrary(hook);
  return result;
}
