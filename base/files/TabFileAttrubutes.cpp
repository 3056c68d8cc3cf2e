#include "base/files/TabFileAttrubutes.h"

#include "platform/files/FileAttributes.h"

namespace ORN_std {

namespace {
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kHidden = 0x2;
constexpr uint32_t kOffline = 0x1000;
constexpr uint32_t kReadOnly = 0x1;
constexpr uint32_t kSystem = 0x4;
}  // namespace

TabFileAttrubutes::TabFileAttrubutes(const std::string& path)
    : FPath(path), FAttributes(platform::GetFileAttributes(path)) {}

bool TabFileAttrubutes::Has(uint32_t bit) {
  FAttributes = platform::GetFileAttributes(FPath);
  return FAttributes != kUnreadable && (FAttributes & bit) != 0;
}

iFILEATTR& TabFileAttrubutes::Set(uint32_t bit, bool on) {
  if (FAttributes == kUnreadable) return *this;
  const uint32_t word = on ? (FAttributes | bit) : (FAttributes & ~bit);
  if (platform::SetFileAttributes(FPath, word)) FAttributes = word;
  return *this;
}

bool TabFileAttrubutes::IsArchive() { return Has(kArchive); }
iFILEATTR& TabFileAttrubutes::SetArchive(bool on) { return Set(kArchive, on); }
bool TabFileAttrubutes::IsHidden() { return Has(kHidden); }
iFILEATTR& TabFileAttrubutes::SetHidden(bool on) { return Set(kHidden, on); }
bool TabFileAttrubutes::HasNoAttributes() const { return FAttributes == 0; }
bool TabFileAttrubutes::IsOffline() { return Has(kOffline); }
iFILEATTR& TabFileAttrubutes::SetOffline(bool on) { return Set(kOffline, on); }
bool TabFileAttrubutes::IsReadOnly() { return Has(kReadOnly); }
iFILEATTR& TabFileAttrubutes::SetReadOnly(bool on) { return Set(kReadOnly, on); }
bool TabFileAttrubutes::IsSystem() { return Has(kSystem); }
iFILEATTR& TabFileAttrubutes::SetSystem(bool on) { return Set(kSystem, on); }

iFILEATTR& TabFileAttrubutes::ClearAttributes() {
  if (platform::SetFileAttributes(FPath, 0)) FAttributes = 0;
  return *this;
}

}  // namespace ORN_std
