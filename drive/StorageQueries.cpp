#include "drive/StorageQueries.h"

#include "runtime/Handles.h"

namespace drive {

namespace {

// Room for any answer the details ask for: a device descriptor with its four texts, a partition, the
// extents of a volume on many disks.
const DWORD kAnswerRoom = 4096;

using TLibrary = runtime::TUniqueHandle<HMODULE, FreeLibrary>;

// The network library from the system's folder, loaded only for a mapped drive: the program starts
// without it, and a folder of the program's own never supplies it.
TLibrary LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TLibrary();
  return TLibrary(LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str()));
}

class TSystemStorageQueries final : public TStorageQueries {
 public:
  std::optional<std::wstring> VolumeGuidPath(const std::wstring& root) const override {
    wchar_t name[MAX_PATH] = L"";
    if (!GetVolumeNameForVolumeMountPointW(root.c_str(), name, MAX_PATH)) return std::nullopt;
    return std::wstring(name);
  }

  std::vector<std::wstring> MountPoints(const std::wstring& volumeGuidPath) const override {
    std::vector<wchar_t> names(MAX_PATH);
    DWORD needed = 0;
    while (!GetVolumePathNamesForVolumeNameW(volumeGuidPath.c_str(), names.data(),
                                             static_cast<DWORD>(names.size()), &needed)) {
      if (GetLastError() != ERROR_MORE_DATA || needed <= names.size()) return {};
      names.resize(needed);
    }
    // Names, each ended by a zero, and an empty one at the end.
    std::vector<std::wstring> points;
    for (const wchar_t* name = names.data(); *name; name += points.back().size() + 1)
      points.emplace_back(name);
    return points;
  }

  std::optional<std::wstring> RemoteName(const std::wstring& localName) const override {
    const TLibrary mpr = LoadSystemLibrary(L"mpr.dll");
    using TGetConnection = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    const auto getConnection = mpr ? reinterpret_cast<TGetConnection>(reinterpret_cast<void*>(
                                         GetProcAddress(mpr.Get(), "WNetGetConnectionW")))
                                   : nullptr;
    if (!getConnection) return std::nullopt;
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
      DWORD size = static_cast<DWORD>(name.size());
      const DWORD result = getConnection(localName.c_str(), name.data(), &size);
      if (result == NO_ERROR) return std::wstring(name.data());
      if (result != ERROR_MORE_DATA || size <= name.size()) return std::nullopt;
      name.resize(size);
    }
  }

  TIoAnswer DeviceControl(const std::wstring& device, DWORD code,
                          const std::vector<BYTE>& input) const override {
    // No access rights: the storage and partition queries need none, and no user is asked to elevate.
    const runtime::TKernelHandle handle{runtime::NullIfInvalid(CreateFileW(
        device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr))};
    if (!handle) return {GetLastError()};
    TIoAnswer answer{0, std::vector<BYTE>(kAnswerRoom)};
    DWORD returned = 0;
    if (!DeviceIoControl(handle.Get(), code, const_cast<BYTE*>(input.data()),
                         static_cast<DWORD>(input.size()), answer.Bytes.data(), kAnswerRoom, &returned,
                         nullptr))
      return {GetLastError()};
    answer.Bytes.resize(returned);
    return answer;
  }
};

}  // namespace

const TStorageQueries& SystemStorageQueries() {
  static const TSystemStorageQueries queries;
  return queries;
}

}  // namespace drive
