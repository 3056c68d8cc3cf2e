#include "fileset/dicomdir/TanFileMetaInfo.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {

std::string TextOf(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.FindFromCursor(tag);
  return e == nullptr ? std::string() : e->GetString();
}

// The length of ".yyyymmdd.1hhnnsszzz.1ccccc".
constexpr size_t kSuffixLength = 27;
constexpr size_t kMaxUIDLength = 64;

}  // namespace

TanFileMetaInfo::TanFileMetaInfo()
    : FImplementationClassUID(kOwnImplementationClassUID), FImplementationVersionName(kOwnImplementationVersionName) {}

TanFileMetaInfo::TanFileMetaInfo(TanDicomFileObject& file) {
  TanDDESet<iDDE>& meta = file.FMetaGroup;
  meta.FCursor = 0;
  FValid = TextOf(meta, 0x00020002u) == kDirectoryStorageUID;
  FImplementationClassUID = TextOf(meta, 0x00020012u);
  FImplementationVersionName = TextOf(meta, 0x00020013u);
}

std::string TanFileMetaInfo::MakeInstanceUID() const {
  static std::atomic<uint32_t> counter{0};
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  if (std::tm* t = std::localtime(&seconds)) local = *t;
  const uint32_t serial = counter.fetch_add(1) % 100000;
  // The leading 1 of the second and third components keeps them free of leading zeros.
  char suffix[96];
  std::snprintf(suffix, sizeof suffix, ".%04d%02d%02d.1%02d%02d%02d%03d.1%05u", (local.tm_year + 1900) % 10000,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis),
                serial);
  std::string root = FImplementationClassUID;
  if (root.empty() || root.size() + kSuffixLength > kMaxUIDLength) root = kOwnImplementationClassUID;
  return root + suffix;
}

void TanFileMetaInfo::WriteTo(TanDicomFileObject& file) const {
  TanDDEFactory factory(2);
  static const unsigned char kVersion[2] = {0x00, 0x01};
  TanDDESet<iDDE>& meta = file.FMetaGroup;
  const std::string instance = MakeInstanceUID();
  auto add = [&meta](iDDE* e) {
    if (e != nullptr && !meta.Append(e)) delete e;
  };
  auto text = [](const std::string& s) { return s.empty() ? 0u : 1u; };
  add(factory->MakeDDE(0x0002, 0x0001, 1, uint32_t{2}, static_cast<const void*>(kVersion)));
  add(factory->MakeDDE(0x0002, 0x0002, 1, kDirectoryStorageUID));
  add(factory->MakeDDE(0x0002, 0x0003, 1, instance.c_str()));
  add(factory->MakeDDE(0x0002, 0x0010, 1, "1.2.840.10008.1.2.1"));
  add(factory->MakeDDE(0x0002, 0x0012, text(FImplementationClassUID), FImplementationClassUID.c_str()));
  add(factory->MakeDDE(0x0002, 0x0013, text(FImplementationVersionName), FImplementationVersionName.c_str()));
  const uint32_t length = meta.Length();
  iDDE* groupLength = factory->MakeDDE(0x0002, 0x0000, 1, length);
  if (groupLength != nullptr && !meta.Insert(groupLength)) delete groupLength;
}

}  // namespace ORN_dicom
