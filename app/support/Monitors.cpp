#include "app/support/Monitors.h"

#include <cwchar>

#include "platform/vcl/Forms.h"

namespace app {

bool GetMonitorInfoW(HMONITOR monitor, MONITORINFOEXW* info) {
  if (!info || info->cbSize != sizeof(MONITORINFOEXW) || monitor == 0 || !Screen) return false;
  TMonitor* m = Screen->Monitors(static_cast<int>(monitor - 1));
  if (!m) return false;
  info->rcMonitor = m->BoundsRect;
  info->rcWork = m->WorkareaRect;
  info->dwFlags = m->Primary ? MONITORINFOF_PRIMARY : 0;
  const std::wstring name = m->DeviceName.substr(0, 31);
  std::wmemset(info->szDevice, 0, 32);
  std::wmemcpy(info->szDevice, name.data(), name.size());
  return true;
}

bool EnumDisplayMonitors(MonitorEnumProc callback, void* data) {
  if (!callback || !Screen) return false;
  const int count = Screen->MonitorCount();
  for (int i = 0; i < count; ++i)
    if (!callback(static_cast<HMONITOR>(i + 1), data)) return false;
  return true;
}

bool TsgMonitor::Attach(HMONITOR monitor) {
  handle_ = monitor;
  info_ = MONITORINFOEXW();
  if (monitor != 0 && GetMonitorInfoW(monitor, &info_)) return true;
  info_.rcMonitor = TRect();
  info_.rcWork = TRect();
  info_.dwFlags = 0;
  std::wmemset(info_.szDevice, 0, 32);
  std::wmemcpy(info_.szDevice, L"NULL_MONITOR", 12);
  return false;
}

std::wstring TsgMonitor::GetDeviceName() const {
  return std::wstring(info_.szDevice, wcsnlen(info_.szDevice, 32));
}

bool TsgMonitor::CopyRect(const TRect& from, TRect* to) {
  if (!to || from.Left >= from.Right || from.Top >= from.Bottom) return false;
  *to = from;
  return true;
}

int TsgMonitors::IndexOfDevice(const std::wstring& name) const {
  for (size_t i = 0; i < monitors_.size(); ++i)
    if (monitors_[i]->GetDeviceName() == name) return static_cast<int>(i);
  return -1;
}

iMONITOR& TsgMonitors::GetMonitor(int index) {
  if (index < 0 || index >= GetCount()) return null_;
  return *monitors_[static_cast<size_t>(index)];
}

bool TsgMonitors::ComesBefore(const iMONITOR& a, const iMONITOR& b) {
  return a.GetTop() + a.GetHeight() <= b.GetTop() || a.GetLeft() + a.GetWidth() <= b.GetLeft();
}

void TsgMonitors::Add(HMONITOR monitor) {
  monitors_.push_back(std::make_unique<TsgMonitor>(monitor));
  // Insertion sort: the relation is not a strict weak order for monitors placed diagonally,
  // so each element moves toward the front only while it comes before its neighbour, and
  // jumps to the front when it comes before the first element.
  for (size_t i = 1; i < monitors_.size(); ++i) {
    if (ComesBefore(*monitors_[i], *monitors_[0])) {
      auto moved = std::move(monitors_[i]);
      monitors_.erase(monitors_.begin() + static_cast<std::ptrdiff_t>(i));
      monitors_.insert(monitors_.begin(), std::move(moved));
      continue;
    }
    for (size_t j = i; j > 0 && ComesBefore(*monitors_[j], *monitors_[j - 1]); --j)
      std::swap(monitors_[j], monitors_[j - 1]);
  }
}

iMONITOR& TsgMonitors::GetPrimary() {
  for (auto& m : monitors_)
    if (m->IsPrimary()) return *m;
  return null_;
}

int TsgMonitors::IndexFromPoint(const TPoint& point) const {
  for (size_t i = 0; i < monitors_.size(); ++i) {
    TRect r;
    if (monitors_[i]->GetMonitorRect(&r) && PtInRect(r, point)) return static_cast<int>(i);
  }
  return -1;
}

TsgVirtualDesktop::TsgVirtualDesktop() { EnumDisplayMonitors(&TsgVirtualDesktop::EnumProc, this); }

int TsgVirtualDesktop::GetTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
int TsgVirtualDesktop::GetLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
int TsgVirtualDesktop::GetWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
int TsgVirtualDesktop::GetHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }

bool TsgVirtualDesktop::Refresh() {
  monitors_.Clear();
  return EnumDisplayMonitors(&TsgVirtualDesktop::EnumProc, this);
}

bool TsgVirtualDesktop::EnumProc(HMONITOR monitor, void* data) {
  if (!data) return false;
  static_cast<TsgVirtualDesktop*>(data)->monitors_.Add(monitor);
  return true;
}

}  // namespace app
