// One DICOM Part 10 file in memory: the leading 132 bytes, the file meta group and the data
// set, read from a file, a stream or a memory block, whole or up to the pixel data. Every
// reading operation returns an error text, empty for success, and never throws for bad input.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/io/file/TanPreamble.h"

namespace ORN_dicom {

class TanDicomFileObject {
 public:
  TanDicomFileObject();
  ~TanDicomFileObject();
  TanDicomFileObject(const TanDicomFileObject&) = delete;
  TanDicomFileObject& operator=(const TanDicomFileObject&) = delete;

  std::string LoadFromFile(const std::string& fileName, bool skip);
  std::string LoadHeaderFromFile(const std::string& fileName, bool skip);
  std::string ReadFromStream(std::istream& in, bool skip);
  std::string ReadHeaderFromStream(std::istream& in, bool skip);
  std::string ReadFromMemory(const void* buffer, uint32_t count, bool skip);
  std::string ReadHeaderFromMemory(const void* buffer, uint32_t count, bool skip);

  void Clear();
  uint8_t GetTransferSyntaxKind();
  std::string GetModality() const;
  bool HasContent() const;

  static uint8_t KindFromTransferSyntax(const std::string& uid);
  static uint8_t TransferSyntaxKindOf(const std::string& uid) { return KindFromTransferSyntax(uid); }

  std::string FFileName;
  std::string FLastError;
  uint8_t FKind = 0;
  TanPreamble FPreamble;
  TanIOD FMetaGroup;
  TanIOD FDataSet;

 private:
  std::string LoadFile(const std::string& fileName, bool skip, bool header);
  std::string ReadStream(std::istream& in, bool skip, bool header);
  std::string ReadMemory(const void* buffer, uint32_t count, bool skip, bool header);
  // Preamble and meta group; on success offset is where the data set starts.
  std::string ReadPreambleAndMetaFromMemory(const void* buffer, uint32_t count, bool skip, uint32_t& offset);
};

}  // namespace ORN_dicom
