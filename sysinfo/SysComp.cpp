#include "sysinfo/SysComp.h"

#include <algorithm>
#include <climits>

#include "runtime/DiskFreeSpace.h"
#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "sysinfo/ClockRate.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Shell.h"

namespace sysinfo {

namespace {

using TFreeResources = int(WINAPI*)(int kind);

// The free-resources entry point of the newest component's library, shared by all components.
TFreeResources freeResourcesEntry = nullptr;

const unsigned long long kDiskFailed = ~0ull;

DWORD Saturate(unsigned long long value) {
  return static_cast<DWORD>(std::min<unsigned long long>(value, 0xFFFFFFFFull));
}

MEMORYSTATUSEX MemoryStatus() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  return status;
}

OSVERSIONINFOA VersionInfo() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);  // 148
  GetVersionExA(&info);
  return info;
}

SYSTEM_INFO SystemInfo() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info;
}

// A directory from a query that takes a buffer and its length, retried with the length the system
// asks for, so that no path is ever cut; empty when the query fails.
template <typename Query>
std::string DirectoryText(Query query, DWORD bufferLength) {
  std::string text(bufferLength, '\0');
  DWORD length = query(text.data(), static_cast<DWORD>(text.size()));
  if (length >= text.size()) {
    text.assign(length + 1, '\0');
    length = query(text.data(), static_cast<DWORD>(text.size()));
  }
  if (length == 0 || length >= text.size()) return "";
  text.resize(length);
  return text;
}

struct TDiskSpace {
  unsigned long long Total = kDiskFailed;
  unsigned long long Free = kDiskFailed;
};

// The drive named by the path's first character.
TDiskSpace DiskSpaceOf(const std::string& path) {
  TDiskSpace space;
  if (path.empty()) return space;
  const std::string root = std::string(1, path[0]) + ":\\";
  if (const runtime::TGetDiskFreeSpaceExA query = runtime::DiskFreeSpaceExFunction()) {
    ULARGE_INTEGER user{}, total{}, free{};
    if (query(root.c_str(), &user, &total, &free)) space = {total.QuadPart, user.QuadPart};
    return space;
  }
  DWORD sectors{}, bytes{}, freeClusters{}, clusters{};
  if (GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters)) {
    const unsigned long long cluster = static_cast<unsigned long long>(sectors) * bytes;
    space = {cluster * clusters, cluster * freeClusters};
  }
  return space;
}

using TRegistryKey = toolkit::TUniqueHandle<HKEY, RegCloseKey>;

}  // namespace

std::string ProcessorTypeName(DWORD processorType) {
  switch (processorType) {
    case 386:
      return "Intel 386";
    case 486:
      return "Intel 486";
    case 586:
      return "Intel Pentium";
    case 601:
      return "PPC 601";
    case 603:
      return "PPC 603";
    case 604:
      return "PPC 604";
    case 620:
      return "PPC 620";
    case 860:
      return "Intel 860";
    case 2000:
      return "MIPS R2000";
    case 3000:
      return "MIPS R3000";
    case 4000:
      return "MIPS R4000";
    case 21064:
      return "ALPHA 21064";
    default:
      return "";
  }
}

std::string WinModeName(DWORD platformId) {
  switch (platformId) {
    case 0:
      return "Win32 - Extension";
    case 1:
      return "Windows 95";
    case 2:
      return "Windows NT";
    default:
      return "";  // a platform this program does not know
  }
}

std::string WinVersionText(DWORD major, DWORD minor, DWORD buildNumber) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(LOWORD(buildNumber));
}

TSystem::TSystem(toolkit::TWindow* owner) {
  if (auto* form = dynamic_cast<toolkit::TForm*>(owner)) {
    toolkit::DragAcceptFiles(form->Handle(), TRUE);
    toolkit::DragAcceptFiles(toolkit::Application().Handle(), TRUE);
    hook_ = std::make_shared<THookLink>(THookLink{this, toolkit::Application().OnMessage});
    toolkit::Application().OnMessage = THookForwarder{hook_};
  }
  freeResourcesEntry = nullptr;
  library_.Reset(LoadLibraryA("Rsrc32.DLL"));
  if (library_)
    freeResourcesEntry = reinterpret_cast<TFreeResources>(
        reinterpret_cast<void*>(GetProcAddress(library_.Get(), "_MyGetFreeSystemResources32@4")));
}

TSystem::~TSystem() {
  if (hook_) {
    hook_->Owner = nullptr;
    // Only the newest hook can simply be taken out; an older one stays as a pass-through link.
    const auto* installed = toolkit::Application().OnMessage.target<THookForwarder>();
    if (installed && installed->Link == hook_) toolkit::Application().OnMessage = hook_->Previous;
  }
  if (library_) {
    library_.Reset();
    // The shared entry point must not outlive the last handle on its library.
    HMODULE loaded = nullptr;
    if (freeResourcesEntry &&
        !GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
            reinterpret_cast<LPCSTR>(reinterpret_cast<void*>(freeResourcesEntry)), &loaded))
      freeResourcesEntry = nullptr;
  }
}

void TSystem::DropHook(MSG& message, bool& handled) {
  // A drop that a newer component's hook handled is gone: its handle is already released.
  if (message.message == WM_DROPFILES && !handled) {
    HDROP drop = reinterpret_cast<HDROP>(message.wParam);
    files_.Clear();
    wideFiles_.clear();
    const UINT count = toolkit::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      // Each name whole, whatever its length and script.
      std::wstring name(toolkit::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
      name.resize(toolkit::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
      files_.Add(runtime::Cp1252FromWide(name));
      wideFiles_.push_back(std::move(name));
    }
    toolkit::DragFinish(drop);
    handled = true;
    if (OnDragDrop) OnDragDrop(files_);
  }
  if (hook_->Previous) hook_->Previous(message, handled);
}

void TSystem::THookForwarder::operator()(MSG& message, bool& handled) const {
  if (Link->Owner)
    Link->Owner->DropHook(message, handled);
  else if (Link->Previous)
    Link->Previous(message, handled);
}

int TSystem::ColorCount() const {
  const toolkit::TWindowDC screen;
  return GetDeviceCaps(screen.Get(), SIZEPALETTE);
}

void TSystem::SetHide(bool hide) {
  hide_ = hide;
  // Shown without being activated: the focus stays where the user is (a screen reader would read
  // the application window first).
  ShowWindow(toolkit::Application().Handle(), hide ? SW_HIDE : SW_SHOWNA);
}

DWORD TSystem::TotalPhysMemory() const {
  return Saturate(TotalPhysMemory64());
}
DWORD TSystem::AvailPhysMemory() const {
  return Saturate(AvailPhysMemory64());
}
DWORD TSystem::TotalPageFile() const {
  return Saturate(TotalPageFile64());
}
DWORD TSystem::AvailPageFile() const {
  return Saturate(AvailPageFile64());
}
DWORD TSystem::TotalVirtualMemory() const {
  return Saturate(TotalVirtualMemory64());
}
DWORD TSystem::AvailVirtualMemory() const {
  return Saturate(AvailVirtualMemory64());
}
unsigned long long TSystem::TotalPhysMemory64() const {
  return MemoryStatus().ullTotalPhys;
}
unsigned long long TSystem::AvailPhysMemory64() const {
  return MemoryStatus().ullAvailPhys;
}
unsigned long long TSystem::TotalPageFile64() const {
  return MemoryStatus().ullTotalPageFile;
}
unsigned long long TSystem::AvailPageFile64() const {
  return MemoryStatus().ullAvailPageFile;
}
unsigned long long TSystem::TotalVirtualMemory64() const {
  return MemoryStatus().ullTotalVirtual;
}
unsigned long long TSystem::AvailVirtualMemory64() const {
  return MemoryStatus().ullAvailVirtual;
}
int TSystem::MemoryLoad() const {
  return static_cast<int>(MemoryStatus().dwMemoryLoad);
}

int TSystem::FreeSystemRes() const {
  return freeResourcesEntry ? freeResourcesEntry(0) : -1;
}
int TSystem::FreeGDIRes() const {
  return freeResourcesEntry ? freeResourcesEntry(1) : -1;
}
int TSystem::FreeUserRes() const {
  return freeResourcesEntry ? freeResourcesEntry(2) : -1;
}

std::string TSystem::WindowsDirectory() const {
  return DirectoryText([](char* buffer, DWORD length) { return GetWindowsDirectoryA(buffer, length); }, 261);
}
std::string TSystem::SystemDirectory() const {
  return DirectoryText([](char* buffer, DWORD length) { return GetSystemDirectoryA(buffer, length); }, 261);
}
std::string TSystem::TempDirectory() const {
  return DirectoryText([](char* buffer, DWORD length) { return GetTempPathA(length, buffer); }, 256);
}

DWORD TSystem::TempDiskSize() const {
  return Saturate(TempDiskSize64());
}
DWORD TSystem::TempFreeDisk() const {
  return Saturate(TempFreeDisk64());
}
DWORD TSystem::WindowsDiskSize() const {
  return Saturate(WindowsDiskSize64());
}
DWORD TSystem::WindowsFreeDisk() const {
  return Saturate(WindowsFreeDisk64());
}
unsigned long long TSystem::TempDiskSize64() const {
  return DiskSpaceOf(TempDirectory()).Total;
}
unsigned long long TSystem::TempFreeDisk64() const {
  return DiskSpaceOf(TempDirectory()).Free;
}
unsigned long long TSystem::WindowsDiskSize64() const {
  return DiskSpaceOf(WindowsDirectory()).Total;
}
unsigned long long TSystem::WindowsFreeDisk64() const {
  return DiskSpaceOf(WindowsDirectory()).Free;
}

std::string TSystem::UserName() const {
  char buffer[1024] = "";
  DWORD size = sizeof(buffer);
  if (!GetUserNameA(buffer, &size)) return "";
  return buffer;
}

std::string TSystem::ComputerName() const {
  char buffer[MAX_COMPUTERNAME_LENGTH + 1] = "";
  DWORD size = sizeof(buffer);
  if (!GetComputerNameA(buffer, &size)) return "";
  return buffer;
}

std::string TSystem::CompanyName() const {
  const char kValue[] = "RegisteredOrganization";
  HKEY opened = nullptr;
  // Reading needs no more: full access is never granted to an ordinary user.
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ,
                    &opened) != ERROR_SUCCESS)
    return "";
  TRegistryKey key(opened);
  DWORD type{}, size{};
  if (RegQueryValueExA(key.Get(), kValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw runtime::ERegistryException(L"Ungültiger Datentyp für '" + runtime::WideFromCp1252(kValue) + L"'");
  std::string text(size, '\0');
  if (RegQueryValueExA(key.Get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS)
    return "";
  text.resize(std::min<size_t>(size, text.size()));
  return text.substr(0, text.find('\0'));
}

std::string TSystem::ProcessorType() const {
  return ProcessorTypeName(SystemInfo().dwProcessorType);
}
int TSystem::ProcessorCount() const {
  return static_cast<int>(SystemInfo().dwNumberOfProcessors);
}
double TSystem::Mhz() const {
  return MeasureMhz();
}

int TSystem::WinHiVersion() const {
  return static_cast<int>(VersionInfo().dwMajorVersion);
}
int TSystem::WinLoVersion() const {
  return static_cast<int>(VersionInfo().dwMinorVersion);
}
std::string TSystem::WinVersion() const {
  const OSVERSIONINFOA info = VersionInfo();
  return WinVersionText(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
}
std::string TSystem::WinMode() const {
  return WinModeName(VersionInfo().dwPlatformId);
}

}  // namespace sysinfo
