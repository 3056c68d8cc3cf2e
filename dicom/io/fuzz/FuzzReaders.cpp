#include "dicom/io/fuzz/FuzzReaders.h"

#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom::fuzz {

int ReadAllWays(const uint8_t* data, size_t size) {
  int ok = 0;
  // An exact copy, so that a read past the end shows under the address sanitizer.
  std::vector<uint8_t> bytes(data, data + size);
  const auto count = static_cast<uint32_t>(size);
  {
    TanDicomFileObject file;
    ok += file.ReadFromMemory(bytes.data(), count, false).empty();
    ok += file.ReadHeaderFromMemory(bytes.data(), count, true).empty();
  }
  {
    TanDicomFileObject file;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    ok += file.ReadFromStream(in, false).empty();
    std::istringstream again(std::string(bytes.begin(), bytes.end()));
    ok += file.ReadHeaderFromStream(again, true).empty();
  }
  // The bytes as a bare data set in each kind, from memory and from a stream.
  for (uint8_t kind : {1, 2, 3}) {
    TanIODFactory factory(kind, 50);
    TanIOD set;
    set.SetTransferSyntaxKind(kind);
    uint32_t n = count;
    ok += factory->ReadFromMemory(set, bytes.data(), n, false);
    TanIOD fromStream;
    fromStream.SetTransferSyntaxKind(kind);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    n = count;
    ok += factory->ReadFromStream(fromStream, in, n, true);
  }
  return ok;
}

}  // namespace ORN_dicom::fuzz
