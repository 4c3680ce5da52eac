// Commands that read what the shell shows of the running program's exe: its
// version information, its icon and its manifest.
#include <windows.h>

#include <string>
#include <vector>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"

namespace {

// The exe file of the process that owns the main window.
std::wstring mainWindowExe(HWND dialog) {
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const BOOL found = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  return found ? std::wstring(path, size) : std::wstring();
}

std::wstring requireExe() {
  HWND dialog = requireDialog();
  if (dialog == nullptr) return {};
  std::wstring exe = mainWindowExe(dialog);
  if (exe.empty()) writeErr("bq_driver: cannot name the program's exe\n");
  return exe;
}

std::string versionText(DWORD high, DWORD low) {
  return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
         std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

#pragma pack(push, 2)
struct IconGroupEntry {  // GRPICONDIRENTRY
  BYTE width, height, colorCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
struct IconGroupHeader {  // GRPICONDIR
  WORD reserved, type, count;
};
#pragma pack(pop)

// The program's exe, loaded for its resources only while this lives.
struct ExeResources {
  HMODULE module = nullptr;
  ExeResources() {
    const std::wstring exe = requireExe();
    if (exe.empty()) return;
    module = LoadLibraryExW(exe.c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) writeErr("bq_driver: cannot read the program's exe\n");
  }
  ~ExeResources() {
    if (module != nullptr) FreeLibrary(module);
  }
  ExeResources(const ExeResources&) = delete;
  ExeResources& operator=(const ExeResources&) = delete;
};

const void* resourceData(HMODULE module, LPCWSTR type, LPCWSTR name, DWORD& size) {
  HRSRC resource = FindResourceW(module, name, type);
  if (resource == nullptr) return nullptr;
  size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  return loaded != nullptr ? LockResource(loaded) : nullptr;
}

}  // namespace

int versionInfo(const Arguments& args) {
  if (!args.empty()) return 2;
  const std::wstring exe = requireExe();
  if (exe.empty()) return 2;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  std::vector<BYTE> block(size);
  if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) {
    writeErr("bq_driver: no version information\n");
    return 1;
  }
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    writeOut("FileVersion (number)\t" + versionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS) +
             "\n");
    writeOut("ProductVersion (number)\t" +
             versionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS) + "\n");
  }
  // The strings of the first language the exe lists.
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
      length < 4) {
    return 0;
  }
  const WORD* language = static_cast<const WORD*>(value);
  wchar_t prefix[40];
  wsprintfW(prefix, L"\\StringFileInfo\\%04x%04x\\", language[0], language[1]);
  for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"FileVersion",
                              L"LegalCopyright", L"OriginalFilename", L"ProductName",
                              L"ProductVersion"}) {
    if (!VerQueryValueW(block.data(), (std::wstring(prefix) + name).c_str(), &value, &length)) {
      continue;
    }
    writeOut(toAnsi(name) + "\t" + toAnsi(static_cast<const wchar_t*>(value)) + "\n");
  }
  return 0;
}

int iconGroup(const Arguments& args) {
  if (!args.empty()) return 2;
  const ExeResources exe;
  if (exe.module == nullptr) return 2;
  DWORD size = 0;
  const auto* header = static_cast<const IconGroupHeader*>(
      resourceData(exe.module, RT_GROUP_ICON, MAKEINTRESOURCEW(1), size));
  if (header == nullptr || size < sizeof *header ||
      size < sizeof *header + header->count * sizeof(IconGroupEntry)) {
    writeErr("bq_driver: no icon group 1\n");
    return 1;
  }
  // One line per image: its size, colour depth and whether its RT_ICON
  // data is there in the size the group announces.
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  for (WORD i = 0; i < header->count; ++i) {
    const IconGroupEntry& entry = entries[i];
    DWORD imageSize = 0;
    const bool present =
        resourceData(exe.module, RT_ICON, MAKEINTRESOURCEW(entry.id), imageSize) != nullptr &&
        imageSize == entry.bytesInRes;
    const int width = entry.width == 0 ? 256 : entry.width;
    const int height = entry.height == 0 ? 256 : entry.height;
    writeOut(std::to_string(width) + "x" + std::to_string(height) + "\t" +
             std::to_string(entry.bitCount) + "\t" + (present ? "present" : "missing") + "\n");
  }
  return 0;
}

int manifest(const Arguments& args) {
  if (!args.empty()) return 2;
  const ExeResources exe;
  if (exe.module == nullptr) return 2;
  DWORD size = 0;
  const void* text = resourceData(exe.module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), size);
  if (text != nullptr) writeOut(std::string(static_cast<const char*>(text), size));
  return text != nullptr ? 0 : 1;
}
