// dicom_dump FILE: reads one DICOM file through the file object and prints its meta group and
// then its data set (see DumpLines.h), or one line "error: <text>" when the read fails.
// Exit status 0 after a read, 1 after a failure. Tests compare its lines with other readers.
#include <exception>
#include <iostream>
#include <sstream>

#include "DumpLines.h"
#include "dicom/io/file/TanDicomFileObject.h"

int main(int argc, char** argv) {
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
