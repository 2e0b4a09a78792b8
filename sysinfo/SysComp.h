// The system information component: what the operating system reports about the machine, read
// afresh at every access; it can also hide the application window and collect the names of files
// dropped onto its form or onto the application window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/StringList.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace sysinfo {

// Called after each drop with the component's own list of the dropped names.
using TDragDropEvent = std::function<void(runtime::TStringList& files)>;

// The pure parts of the properties, for any system.
std::string ProcessorTypeName(DWORD processorType);
std::string WinModeName(DWORD platformId);
std::string WinVersionText(DWORD major, DWORD minor, DWORD buildNumber);

class TSystem {
 public:
  // An owner that is a form gets its window, and the application window, to accept dropped files,
  // and the component chains its drop hook into the application message hook.
  explicit TSystem(toolkit::TWindow* owner);
  TSystem(const TSystem&) = delete;
  TSystem& operator=(const TSystem&) = delete;
  ~TSystem();

  TDragDropEvent OnDragDrop;
  // The names of the last drop, in code page 1252 ('?' for a character it lacks), and whole.
  const runtime::TStringList& DroppedFiles() const { return files_; }
  const std::vector<std::wstring>& WideDroppedFiles() const { return wideFiles_; }

  int ColorCount() const;
  bool Hide() const { return hide_; }
  // Shows or hides the application window, at every write.
  void SetHide(bool hide);

  // Memory figures in bytes; the 32-bit ones stop at 4294967295 where the figure is larger.
  DWORD TotalPhysMemory() const;
  DWORD AvailPhysMemory() const;
  DWORD TotalPageFile() const;
  DWORD AvailPageFile() const;
  DWORD TotalVirtualMemory() const;
  DWORD AvailVirtualMemory() const;
  unsigned long long TotalPhysMemory64() const;
  unsigned long long AvailPhysMemory64() const;
  unsigned long long TotalPageFile64() const;
  unsigned long long AvailPageFile64() const;
  unsigned long long TotalVirtualMemory64() const;
  unsigned long long AvailVirtualMemory64() const;
  int MemoryLoad() const;

  // As the free-resources library reports them; -1 without it.
  int FreeSystemRes() const;
  int FreeGDIRes() const;
  int FreeUserRes() const;

  std::string WindowsDirectory() const;
  std::string SystemDirectory() const;
  std::string TempDirectory() const;
  // Bytes of the drives that hold the temporary and the Windows directory. A failed query gives
  // all bits set; the 32-bit figures stop at 4294967295 for drives of 4 GiB and more.
  DWORD TempDiskSize() const;
  DWORD TempFreeDisk() const;
  DWORD WindowsDiskSize() const;
  DWORD WindowsFreeDisk() const;
  unsigned long long TempDiskSize64() const;
  unsigned long long TempFreeDisk64() const;
  unsigned long long WindowsDiskSize64() const;
  unsigned long long WindowsFreeDisk64() const;

  std::string UserName() const;
  // The registered organisation; raises runtime::ERegistryException for a value that is no text.
  std::string CompanyName() const;
  std::string ComputerName() const;

  bool Coprocessor() const { return true; }
  std::string ProcessorType() const;
  int ProcessorCount() const;
  // The measured clock rate; blocks for about half a second.
  double Mhz() const;
  std::string DosVersion() const { return "7.0 (?)"; }
  int WinHiVersion() const;
  int WinLoVersion() const;
  std::string WinVersion() const;
  std::string WinMode() const;

 private:
  // This component's link in the application's hook chain. A newer component's hook may still call
  // it after this one is gone (destruction out of order): it then only passes messages on.
  struct THookLink {
    TSystem* Owner;
    toolkit::TApplication::TMessageHook Previous;
  };
  struct THookForwarder {
    std::shared_ptr<THookLink> Link;
    void operator()(MSG& message, bool& handled) const;
  };
  void DropHook(MSG& message, bool& handled);

  toolkit::TLibrary library_;
  runtime::TStringList files_;
  std::vector<std::wstring> wideFiles_;
  bool hide_ = false;
  std::shared_ptr<THookLink> hook_;
};

}  // namespace sysinfo
