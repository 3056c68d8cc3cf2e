#include "platform/vcl/TStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> buffer(64 * 1024);
  int64_t done = 0;
  while (done < count) {
    const int64_t want = std::min<int64_t>(count - done, static_cast<int64_t>(buffer.size()));
    const int64_t got = source.Read(buffer.data(), want);
    if (got <= 0) break;
    if (Write(buffer.data(), got) != got) break;
    done += got;
  }
  return done;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - FPosition, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > Size()) FData.resize(static_cast<size_t>(FPosition + count));
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : Size();
  FPosition = std::max<int64_t>(0, base + offset);
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

bool TMemoryStream::LoadFromFile(const System::AnsiString& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> data;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return false;
  FData = std::move(data);
  FPosition = 0;
  return true;
}

bool TMemoryStream::SaveToFile(const System::AnsiString& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(FData.data(), 1, FData.size(), f) == FData.size();
  return (std::fclose(f) == 0) && ok;
}

TFileStream::TFileStream(const System::AnsiString& path, uint16_t mode) {
  const char* how = mode == fmCreate ? "w+b" : (mode & 3) == fmOpenRead ? "rb" : "r+b";
  FFile = std::fopen(path.c_str(), how);
  if (!FFile) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  return count <= 0 ? 0 : static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  return count <= 0 ? 0 : static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  std::fseek(FFile, offset, whence);
  return std::ftell(FFile);
}

int64_t TFileStream::Size() {
  const long here = std::ftell(FFile);
  std::fseek(FFile, 0, SEEK_END);
  const long size = std::ftell(FFile);
  std::fseek(FFile, here, SEEK_SET);
  return size;
}
