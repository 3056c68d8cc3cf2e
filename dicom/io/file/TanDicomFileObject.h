// One DICOM Part 10 file in memory: the leading 132 bytes, the file meta group and the data
// set, read from a file, a stream or a memory block, whole or up to the pixel data. Every
// reading operation returns an error text, empty for success, and never throws for bad input.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/io/file/TanPreamble.h"
#include "platform/files/FileHandle.h"

namespace ORN_dicom {

class TanTemporaryTarget;

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

  // Writing. Every file writer writes a temporary file in the target's folder and renames it
  // over the target only when the whole file is written and flushed, so a failed write leaves
  // an existing file as it was. The flag results leave the reason in FLastError.
  bool SaveToFile(const std::string& fileName);
  bool SaveToStream(std::ostream& out);
  bool Save(bool asynchronous);
  bool SaveAs(const std::string& fileName, bool asynchronous);
  static bool CreateFolders(const std::string& fileName);
  bool WriteAsynchronous(const std::string& fileName);
  bool WriteMapped(const std::string& fileName);
  bool WriteToMemory(void* block);
  uint32_t GetEncodedSize() const;
  static std::string GetSystemErrorTextA(uint32_t code);
  static std::string GetSystemErrorTextW(uint32_t code);

  // The private pixel-data index in (0002,0100) and (0002,0102).
  bool BuildPrivatePixelDataInfo();
  bool HasPixelData() const;
  // Pixel data (7FE0,0010) at index 2 or later of the set.
  static bool HasPixelDataIn(const TanIOD& set);

  // Re-encoding into transfer-syntax kind 1 to 7 (4: lossless JPEG for MONOCHROME images, RLE
  // for the rest), directly or through explicit VR little endian; the meta group follows.
  // A failure leaves data set, meta group and kind as they were, the reason in FLastError.
  bool ChangeTransferSyntax(uint8_t kind, uint8_t quality);
  bool ConvertTo(uint8_t kind, uint8_t quality);
  uint8_t ResolveTargetKind(uint8_t kind) const;
  // Moves every element of source into the data set, which keeps its identity.
  void ReplaceDataSet(TanIOD& source);

  // Loading through memory: the whole file, or only the bytes in front of its pixel data.
  std::string LoadFromFileViaMemory(const std::string& fileName, bool skip);
  std::string LoadFromFileViaMemoryAlt(const std::string& fileName, bool skip);
  std::string LoadHeaderFromFileViaMemory(const std::string& fileName, bool skip);
  // The same in either mode: set, overlapped reads into virtual memory; clear, a mapped view.
  std::string LoadFromFileInMemory(const std::string& fileName, bool virtualMemory, bool skip);
  std::string LoadHeaderFromFileInMemory(const std::string& fileName, bool virtualMemory, bool skip);

  // Test hook: called before each piece a file writer writes with the piece's file offset;
  // false makes that write fail as a full disk does.
  static std::function<bool(uint64_t offset)> FWriteFaultHook;

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

  // Refuses what cannot be read back; with buildMeta an empty meta group gets the default one.
  bool CheckWritable(bool buildMeta);
  void BuildDefaultMetaGroup();
  void FillBuffer(unsigned char* target) const;
  // The mapped writer's way when the file system cannot reserve blocks: the whole file
  // written through the temporary's handle.
  bool WriteThroughHandle(platform::FileHandle file, uint64_t size);
  bool CommitTemporary(TanTemporaryTarget& temporary);

  static uint8_t ResolveKindFor(const TanIOD& set, uint8_t kind);
  bool ConvertSet(TanIOD& source, uint8_t kind, uint8_t quality, TanIOD& target);
  void TakeConverted(TanIOD& converted, uint8_t kind);
  void SetMetaTransferSyntax(uint8_t kind);
  void SetMetaGroupLength();

  bool BuildPrivatePixelDataInfoImpl();
  bool IndexEncapsulatedFrames(iDDE* pixelData, uint64_t valueOffset, uint32_t frames);
  bool IndexNativeFrames(iDDE* pixelData, uint64_t valueOffset, uint32_t frames);
  bool PutIndexElements(uint32_t length, uint64_t extent, iDDE*& index);

  std::string MapFile(const std::string& fileName, bool virtualMemory, unsigned char*& buffer, uint64_t& count,
                      bool skip);
  static bool MapFileToMemory(unsigned char*& buffer, uint64_t& count, const std::string& fileName,
                              bool virtualMemory);
  static bool ReadFileToVirtualMemory(unsigned char*& buffer, uint64_t& count, const std::string& fileName);
  static bool MapFileView(unsigned char*& buffer, uint64_t& count, const std::string& fileName);
  static void ReleaseBuffer(unsigned char*& buffer, uint64_t& count, bool virtualMemory);
  struct BufferRelease;  // gives a loaded buffer back however a load ends
  // The kind of the meta group's transfer syntax into FKind; an error text when there is none.
  std::string TakeKindFromMeta(const std::string& fileName, std::string& uid);
};

}  // namespace ORN_dicom
