// dicom_dump FILE: reads one DICOM file through the file object and prints its meta group and
// then its data set (see DumpLines.h), or one line "error: <text>" when the read fails.
// Exit status 0 after a read, 1 after a failure. Tests compare its lines with other readers.
// dicom_dump --rewrite [--async|--mapped|--index] IN OUT: reads IN and writes it to OUT (the
// stream writer unless told; --index builds the private pixel-data index first), so that
// other tools can check the files this system writes.
// dicom_dump --convert KIND IN OUT: reads IN, re-encodes it into transfer-syntax kind KIND (1 to
// 7; lossy JPEG at quality 90) and writes OUT with the stream writer.
#include <exception>
#include <iostream>
#include <sstream>

#include "DumpLines.h"
#include "FileSetDump.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace {
int Rewrite(int argc, char** argv) {
  std::string mode = argc == 5 ? argv[2] : "";
  const char* in = argv[argc - 2];
  const char* out = argv[argc - 1];
  ORN_dicom::TanDicomFileObject file;
  const std::string error = file.LoadFromFile(in, false);
  if (!error.empty()) {
    std::cout << "error: " << error << '\n';
    return 1;
  }
  if (mode == "--index" && !file.BuildPrivatePixelDataInfo()) {
    std::cout << "error: " << file.FLastError << '\n';
    return 1;
  }
  const bool ok = mode == "--async"    ? file.WriteAsynchronous(out)
                  : mode == "--mapped" ? file.WriteMapped(out)
                                       : file.SaveToFile(out);
  if (!ok) {
    std::cout << "error: " << file.FLastError << '\n';
    return 1;
  }
  return 0;
}
int Convert(char** argv) {
  const std::string kindText = argv[2];
  const bool digit = kindText.size() == 1 && kindText[0] >= '0' && kindText[0] <= '9';
  const int kind = digit ? kindText[0] - '0' : -1;
  ORN_dicom::TanDicomFileObject file;
  const std::string error = file.LoadFromFile(argv[3], false);
  if (!error.empty()) {
    std::cout << "error: " << error << '\n';
    return 1;
  }
  if (kind < 0 || !file.ChangeTransferSyntax(static_cast<uint8_t>(kind), 90) || !file.SaveToFile(argv[4])) {
    std::cout << "error: " << (kind < 0 ? "no transfer-syntax kind: " + kindText : file.FLastError) << '\n';
    return 1;
  }
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--convert") {
    try {
      return Convert(argv);
    } catch (const std::exception& e) {
      std::cout << "error: " << e.what() << '\n';
      return 1;
    }
  }
  if (const int status = dump::FileSetMode(argc, argv); status >= 0) return status;
  if (argc >= 4 && argc <= 5 && std::string(argv[1]) == "--rewrite") {
    try {
      return Rewrite(argc, argv);
    } catch (const std::exception& e) {
      std::cout << "error: " << e.what() << '\n';
      return 1;
    }
  }
  if (argc != 2) {
    std::cerr << "usage: dicom_dump FILE\n";
    return 1;
  }
  try {
    ORN_dicom::TanDicomFileObject file;
    const std::string error = file.LoadFromFile(argv[1], false);
    if (!error.empty()) {
      std::cout << "error: " << error << '\n';
      return 1;
    }
    std::ostringstream out;
    dump::WriteSet(out, file.FMetaGroup, 0);
    dump::WriteSet(out, file.FDataSet, 0);
    std::cout << out.str();
    return 0;
  } catch (const std::exception& e) {
    std::cout << "error: " << e.what() << '\n';
    return 1;
  }
}
