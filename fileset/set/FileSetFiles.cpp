#include "fileset/set/FileSetFiles.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/com/Library.h"

namespace ORN_dicom::fileset_files {

namespace {

std::tm LocalNow(int* millis) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  if (millis != nullptr)
    *millis = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  if (std::tm* t = std::localtime(&seconds)) local = *t;
  return local;
}

std::string WithoutTrailingSeparators(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string TrimText(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool IsDicomPart10File(const std::string& path) { return TestPart10File(path) == Part10Test::Part10; }

Part10Test TestPart10File(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Part10Test::NotReadable;
  char magic[4];
  if (!in.seekg(128) || !in.read(magic, 4)) return Part10Test::Other;
  static const char kUpper[4] = {'D', 'I', 'C', 'M'};
  for (int i = 0; i < 4; ++i)
    if ((magic[i] & ~0x20) != kUpper[i]) return Part10Test::Other;
  return Part10Test::Part10;
}

bool IsDicomDirName(const std::string& path) {
  const std::string name = FileNameOf(path);
  static const char kUpper[] = "DICOMDIR";
  if (name.size() != sizeof kUpper - 1) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != kUpper[i]) return false;
  return true;
}

void AppendNotMovedLog(const std::string& reason, const std::string& entry, const std::string& logPath) {
  AppendErrorLog(reason + "[ file: " + entry + "]", logPath);
  AppendErrorLog(" - is not moved\n", logPath);
}

void FilterDicomFiles(TStringList& list) {
  for (int i = list.Count() - 1; i >= 0; --i)
    if (!IsDicomPart10File(list.Strings[i])) list.Delete(i);
}

void AppendErrorLog(const std::string& text, const std::string& logPath) {
  std::ofstream log(logPath, std::ios::app);
  if (!log) return;
  const std::tm t = LocalNow(nullptr);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d/%02d/%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                t.tm_hour, t.tm_min, t.tm_sec);
  log << stamp << " Error : " << text;
}

std::string MakeRejectFolder(const std::string& path) {
  const std::string folder = WithoutTrailingSeparators(TrimText(path));
  if (FolderExists(folder)) return folder;
  if (folder.empty()) return WithoutTrailingSeparators(platform::ProgramFolder());
  const size_t slash = folder.find_last_of('/');
  const std::string parent = slash == std::string::npos ? std::string() : folder.substr(0, slash);
  const std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  // "/x" has the root as its parent.
  std::string made = slash == 0 ? std::string("/") : MakeRejectFolder(parent);
  if (made.empty()) return std::string();
  if (made.back() != '/') made += '/';
  const std::string result = made + name;
  if (FolderExists(result)) return result;
  std::error_code ec;
  if (!std::filesystem::create_directory(result, ec) && !FolderExists(result)) return std::string();
  return result;
}

std::string TimeStamp() {
  int millis = 0;
  const std::tm t = LocalNow(&millis);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d%02d%02d%02d%03d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec, millis);
  return stamp;
}

std::string RejectTarget(const std::string& rejectFolder, const std::string& entry) {
  std::string target = rejectFolder + "/" + FileNameOf(entry);
  if (!PathExists(target)) return target;
  std::string stamp = TimeStamp();
  while (PathExists(target + stamp)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stamp = TimeStamp();
  }
  return target + stamp;
}

}  // namespace ORN_dicom::fileset_files

namespace ORN_dicom::fileset_files {

TanCurrentFolder::TanCurrentFolder(const std::string& folder) {
  std::error_code ec;
  FPrevious = std::filesystem::current_path(ec).string();
  if (folder.empty()) return;
  std::filesystem::current_path(folder, ec);
  FChanged = !ec;
  FFailed = static_cast<bool>(ec);
}

TanCurrentFolder::~TanCurrentFolder() {
  if (!FChanged || FPrevious.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(FPrevious, ec);
}

}  // namespace ORN_dicom::fileset_files
