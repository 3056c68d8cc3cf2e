// Settings files beside the test program under a name of their own per run, so that test
// programs of two checkouts or two tests never share one; removed again at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/Library.h"
#include "platform/process/Process.h"

namespace app::test {

inline std::string ProgramFolder() {
  const std::string exe = platform::ModuleFileName();
  return exe.substr(0, exe.rfind('/'));
}

class ScratchIni {
 public:
  explicit ScratchIni(const std::string& tag)
      : prefix_("startup_" + tag + "_" + std::to_string(platform::CurrentProcessId())),
        ini_(ProgramFolder() + "/" + prefix_ + ".ini"),
        base_(ProgramFolder() + "/" + prefix_ + "Base.ini") {}
  ~ScratchIni() {
    std::error_code ignored;
    std::filesystem::remove(ini_, ignored);
    std::filesystem::remove(base_, ignored);
  }
  void WriteIni(const std::string& text) const { std::ofstream(ini_) << text; }
  void WriteBaseIni(const std::string& text) const { std::ofstream(base_) << text; }
  std::string ReadIni() const {
    std::ifstream in(ini_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const std::string& Prefix() const { return prefix_; }
  const std::string& BaseIni() const { return base_; }

 private:
  std::string prefix_, ini_, base_;
};

}  // namespace app::test
