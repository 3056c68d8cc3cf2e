#include "viewer/frame/VoiPresets.h"

#include <cstring>

#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"
#include "platform/vcl/TStringList.h"

namespace {

bool IsModalityChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool ModalityListed(const std::string& modalities, const std::string& modality) {
  const std::string wanted = Trim(modality);
  if (wanted.empty()) return false;
  size_t i = 0;
  while (i < modalities.size()) {
    while (i < modalities.size() && !IsModalityChar(modalities[i])) ++i;
    const size_t start = i;
    while (i < modalities.size() && IsModalityChar(modalities[i])) ++i;
    if (modalities.compare(start, i - start, wanted) == 0) return true;
  }
  return false;
}

void LoadVoiPresets(VoiPresetList& presets, const std::string& modality, const std::string& iniPath) {
  const std::string wanted = Trim(modality);
  if (wanted.empty()) return;
  TMemIniFile ini(iniPath);
  TStringList sections;
  ini.ReadSections(sections);
  for (int i = 0; i < sections.Count(); ++i) {
    const std::string section = sections.Strings[i];
    if (!ModalityListed(ini.ReadString(section, "Modalities", ""), wanted)) continue;
    if (!ini.ValueExists(section, "WindowCenter") || !ini.ValueExists(section, "WindowWidth")) continue;
    presets.push_back(VOI_FORM_PRESETS{Trim(section), ini.ReadInteger(section, "WindowCenter", 0),
                                       ini.ReadInteger(section, "WindowWidth", 0), 0});
  }
}

void LoadVoiPresets(VoiPresetList& presets, const std::string& modality) {
  LoadVoiPresets(presets, modality, platform::ProgramFolder() + kVoiPresetsFileName);
}

void RebuildVoiPresets(VoiPresetList& presets, const std::string& modality, const std::string& iniPath) {
  presets.clear();
  presets.push_back(VOI_FORM_PRESETS{kFullRangePresetName, 0, 0, 0});
  LoadVoiPresets(presets, modality, iniPath);
}

std::string ModalityOfRecord(const void* data, size_t size) {
  if (!data || size == 0) return {};
  const char* text = static_cast<const char*>(data);
  const void* end = std::memchr(text, 0, size);
  return std::string(text, end ? static_cast<size_t>(static_cast<const char*>(end) - text) : size);
}
