// The display monitors of the desktop: one monitor with its rectangles, device name and primary
// flag; the list in monitor order (rows top to bottom, left to right within a row); the
// virtual screen with that list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"

namespace app {

// A monitor of the screen: its number in the screen's list plus one; 0 is no monitor.
using HMONITOR = uintptr_t;

struct MONITORINFOEXW {
  uint32_t cbSize = sizeof(MONITORINFOEXW);
  TRect rcMonitor;
  TRect rcWork;
  uint32_t dwFlags = 0;
  wchar_t szDevice[32] = {};
};
constexpr uint32_t MONITORINFOF_PRIMARY = 1;

// Win32's monitor queries over the screen's monitors.
bool GetMonitorInfoW(HMONITOR monitor, MONITORINFOEXW* info);
using MonitorEnumProc = bool (*)(HMONITOR monitor, void* data);
bool EnumDisplayMonitors(MonitorEnumProc callback, void* data);

class iMONITOR {
 public:
  virtual ~iMONITOR() = default;
  virtual int GetTop() const = 0;
  virtual int GetLeft() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual int GetWorkTop() const = 0;
  virtual int GetWorkLeft() const = 0;
  virtual int GetWorkWidth() const = 0;
  virtual int GetWorkHeight() const = 0;
  virtual bool GetWorkRect(TRect* rect) const = 0;
  virtual bool GetMonitorRect(TRect* rect) const = 0;
  virtual std::wstring GetDeviceName() const = 0;
  virtual HMONITOR GetHandle() const = 0;
  virtual bool IsPrimary() const = 0;
  virtual bool Attach(HMONITOR monitor) = 0;
};

class TsgMonitor : public iMONITOR {
 public:
  explicit TsgMonitor(HMONITOR monitor) { TsgMonitor::Attach(monitor); }
  int GetTop() const override { return info_.rcMonitor.Top; }
  int GetLeft() const override { return info_.rcMonitor.Left; }
  int GetWidth() const override { return info_.rcMonitor.Width(); }
  int GetHeight() const override { return info_.rcMonitor.Height(); }
  int GetWorkTop() const override { return info_.rcWork.Top; }
  int GetWorkLeft() const override { return info_.rcWork.Left; }
  int GetWorkWidth() const override { return info_.rcWork.Width(); }
  int GetWorkHeight() const override { return info_.rcWork.Height(); }
  bool GetWorkRect(TRect* rect) const override { return CopyRect(info_.rcWork, rect); }
  bool GetMonitorRect(TRect* rect) const override { return CopyRect(info_.rcMonitor, rect); }
  std::wstring GetDeviceName() const override;
  HMONITOR GetHandle() const override { return handle_; }
  bool IsPrimary() const override { return info_.dwFlags == MONITORINFOF_PRIMARY; }
  bool Attach(HMONITOR monitor) override;

 private:
  static bool CopyRect(const TRect& from, TRect* to);
  HMONITOR handle_ = 0;
  MONITORINFOEXW info_;
};

class iMONITORS {
 public:
  virtual ~iMONITORS() = default;
  virtual int GetCount() const = 0;
  virtual int IndexOfDevice(const std::wstring& name) const = 0;
  virtual void Clear() = 0;
  virtual iMONITOR& GetMonitor(int index) = 0;
  virtual void Add(HMONITOR monitor) = 0;
  virtual iMONITOR& GetPrimary() = 0;
  virtual int IndexFromPoint(const TPoint& point) const = 0;
};

class TsgMonitors : public iMONITORS {
 public:
  TsgMonitors() : null_(0) {}
  int GetCount() const override { return static_cast<int>(monitors_.size()); }
  int IndexOfDevice(const std::wstring& name) const override;
  void Clear() override { monitors_.clear(); }
  iMONITOR& GetMonitor(int index) override;
  void Add(HMONITOR monitor) override;
  iMONITOR& GetPrimary() override;
  int IndexFromPoint(const TPoint& point) const override;

  // Whether monitor a comes before monitor b: a row above, or to the left within a row.
  static bool ComesBefore(const iMONITOR& a, const iMONITOR& b);

 private:
  TsgMonitor null_;
  std::vector<std::unique_ptr<TsgMonitor>> monitors_;
};

class TsgVirtualDesktop {
 public:
  TsgVirtualDesktop();
  virtual ~TsgVirtualDesktop() { monitors_.Clear(); }
  virtual int GetTop() const;
  virtual int GetLeft() const;
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual bool Refresh();
  virtual iMONITORS& GetMonitors() { return monitors_; }

 private:
  static bool EnumProc(HMONITOR monitor, void* data);
  TsgMonitors monitors_;
};

}  // namespace app
