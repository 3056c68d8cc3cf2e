// read_folder --headers|--whole FOLDER: reads every file under FOLDER (recursively) through the
// file object, as one process does for a folder, so that its time and peak memory compare with
// dcmdump's over the same folder. Prints the number of files read and of those that failed.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "--headers") != 0 && std::strcmp(argv[1], "--whole") != 0)) {
    std::fprintf(stderr, "usage: read_folder --headers|--whole FOLDER\n");
    return 2;
  }
  const bool headers = std::strcmp(argv[1], "--headers") == 0;
  ORN_dicom::EnsureDDERegistry();
  long files = 0, failed = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::recursive_directory_iterator(argv[2], ec)) {
    if (!e.is_regular_file()) continue;
    ORN_dicom::TanDicomFileObject file;
    const std::string name = e.path().string();
    const std::string error = headers ? file.LoadHeaderFromFile(name, true) : file.LoadFromFile(name, true);
    ++files;
    failed += !error.empty();
  }
  std::printf("%ld files, %ld failed\n", files, failed);
  return failed == 0 ? 0 : 1;
}
