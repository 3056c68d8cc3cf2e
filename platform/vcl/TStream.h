// The VCL's streams: a position over bytes in memory (TMemoryStream) or in a file
// (TFileStream). Read and Write return the bytes moved; a file that cannot be opened throws
// EFOpenError, as the VCL does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/vcl/SystemTypes.h"

class EFOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  // Copies `count` bytes (all of `source` from its start when 0) and returns the count.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t size);
  void Clear();
  void* Memory() { return FData.data(); }
  bool LoadFromFile(const System::AnsiString& path);
  bool SaveToFile(const System::AnsiString& path);

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

enum TFileMode : uint16_t { fmCreate = 0xFFFF, fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2 };

class TFileStream : public TStream {
 public:
  TFileStream(const System::AnsiString& path, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;

 private:
  std::FILE* FFile = nullptr;
};
