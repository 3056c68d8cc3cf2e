// The file operations of the file set that need no record tree: the Part 10 test, filtering a
// file list, the reject folder and its log. TanDicomFileSet offers them under its own names.
#pragma once

#include <string>

#include "platform/vcl/TStringList.h"

namespace ORN_dicom::fileset_files {

// True when the file has "DICM" (any mix of letter cases) at byte 128.
bool IsDicomPart10File(const std::string& path);
// The Part 10 test that tells a file that cannot be opened for reading from one that is no
// Part 10 file.
enum class Part10Test { Part10, Other, NotReadable };
Part10Test TestPart10File(const std::string& path);
// True for a path whose last component is "DICOMDIR" in any letter case: the directory file
// of a file set (the folder's own or a nested one), never one of the files to add.
bool IsDicomDirName(const std::string& path);
// Logs a file that stays where it is: the reason, the file as listed, and " - is not moved".
void AppendNotMovedLog(const std::string& reason, const std::string& entry, const std::string& logPath);
// Removes every entry that is not a Part 10 file, keeping the order of the others.
void FilterDicomFiles(TStringList& list);
// Appends the local time "dd/mm/yyyy hh:nn:ss", " Error : " and the text to the log; nothing
// happens when the log cannot be opened.
void AppendErrorLog(const std::string& text, const std::string& logPath);
// Makes the folder and its missing parents; the folder made, or "" when it cannot be made. An
// empty path gives the program's folder.
std::string MakeRejectFolder(const std::string& path);
// The target in the reject folder for a listed file: the folder, "/" and the file's last name
// component, with "_" and a 17-digit local time stamp appended while that name is taken.
std::string RejectTarget(const std::string& rejectFolder, const std::string& entry);

// "_" followed by the local time as "yyyymmddhhnnsszzz".
std::string TimeStamp();
// Leading and trailing characters of code 32 or less removed.
std::string TrimText(const std::string& text);
// The file name of a path (its last component).
std::string FileNameOf(const std::string& path);
bool PathExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace ORN_dicom::fileset_files

namespace ORN_dicom::fileset_files {

// Makes a folder the process's current folder for its lifetime and restores the previous one.
class TanCurrentFolder {
 public:
  // An empty folder changes nothing.
  explicit TanCurrentFolder(const std::string& folder = std::string());
  ~TanCurrentFolder();
  TanCurrentFolder(const TanCurrentFolder&) = delete;
  TanCurrentFolder& operator=(const TanCurrentFolder&) = delete;
  bool Changed() const { return FChanged; }
  bool Failed() const { return FFailed; }

 private:
  std::string FPrevious;
  bool FChanged = false;
  bool FFailed = false;
};

}  // namespace ORN_dicom::fileset_files
