#include "dicom/entities/registry/TanFileDateTime.h"

#include <ctime>

#include "dicom/entities/registry/RecordKeys.h"
#include "platform/files/FileHandle.h"
#include "platform/files/FileOperations.h"
#include "platform/files/FileTime.h"

namespace ORN_utility {
namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// UTC ticks to local ticks by the system's zone rules; false when the time cannot be converted.
bool ToLocal(uint64_t utcTicks, uint64_t* localTicks) {
  const int64_t unixSeconds = static_cast<int64_t>(utcTicks / kTicksPerSecond) - kUnixEpochSeconds;
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  const std::tm* local = std::localtime(&t);  // GUI thread only
  if (local == nullptr) return false;
  const int64_t localSeconds = DaysFromCivil(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday) * 86400 +
                               local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
  const int64_t offset = localSeconds - unixSeconds;
  const int64_t ticks = static_cast<int64_t>(utcTicks) + offset * static_cast<int64_t>(kTicksPerSecond);
  if (ticks < 0) return false;
  *localTicks = static_cast<uint64_t>(ticks);
  return true;
}

}  // namespace

TanFileDateTime::TanFileDateTime(const std::string& fileName, int kind) : FPath(ORN_dicom::TrimText(fileName)) {
  platform::FileHandle handle = platform::CreateFile(FPath, platform::access::GenericRead, platform::share::Read,
                                                     platform::Disposition::OpenExisting, 0);
  if (handle == platform::kInvalidFileHandle) return;
  platform::FileTime creation, lastAccess, lastWrite;
  const bool read = platform::GetFileTime(handle, &creation, &lastAccess, &lastWrite);
  platform::CloseFile(handle);
  if (!read) return;
  const platform::FileTime& asked = kind == kLastAccess ? lastAccess : kind == kLastWrite ? lastWrite : creation;
  uint64_t local = 0;
  if (!ToLocal(asked.ticks, &local)) return;
  FFileTime = local;
  FUtc = asked.ticks;
  FLastWriteUtc = lastWrite.ticks;
  FValid = true;
}

int TanFileDateTime::Compare(const TanFileDateTime& a, const TanFileDateTime& b) {
  if (a.FValid != b.FValid) return a.FValid ? 1 : -1;
  if (a.FValid) {
    if (a.FUtc != b.FUtc) return a.FUtc < b.FUtc ? -1 : 1;
    if (a.FLastWriteUtc != b.FLastWriteUtc) return a.FLastWriteUtc < b.FLastWriteUtc ? -1 : 1;
  }
  const int byPath = a.FPath.compare(b.FPath);
  return byPath < 0 ? -1 : byPath > 0 ? 1 : 0;
}

bool TanFileDateTime::IsEarlier(const TanFileDateTime& a, const TanFileDateTime& b) { return Compare(a, b) < 0; }

bool TanFileDateTime::IsNotLater(const TanFileDateTime& a, const TanFileDateTime& b) { return Compare(a, b) <= 0; }

bool TanFileDateTime::IsSameFile(const std::string& a, const std::string& b) {
  platform::FileId idA, idB;
  return platform::GetFileId(ORN_dicom::TrimText(a), &idA) && platform::GetFileId(ORN_dicom::TrimText(b), &idB) &&
         idA == idB;
}

}  // namespace ORN_utility
