// Window/level presets of a stack window: "Full Range" first, then the sections of
// "VOIPresets.ini" beside the program whose Modalities list the modality of the shown image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct VOI_FORM_PRESETS {
  std::string Name;
  int32_t WindowCenter = 0;
  int32_t WindowWidth = 0;
  int32_t Reserved = 0;  // 0 for every preset made here
};

using VoiPresetList = std::vector<VOI_FORM_PRESETS>;

inline constexpr const char* kVoiPresetsFileName = "VOIPresets.ini";
inline constexpr const char* kFullRangePresetName = "Full Range";

// True when `modality` (trimmed, not empty) is one whole entry of the list `modalities`
// ("CT,MR", "PT\CT", "CT MR"): entries are runs of letters, digits and '_'. "OCT" does not
// list CT.
bool ModalityListed(const std::string& modalities, const std::string& modality);

// Appends the presets of the file at `iniPath` that apply to `modality`, in the file's order.
// A section counts when its Modalities list the modality and it has both WindowCenter and
// WindowWidth; values that do not read as integers are 0. An empty modality reads nothing.
void LoadVoiPresets(VoiPresetList& presets, const std::string& modality, const std::string& iniPath);
// The same with the program's own "VOIPresets.ini".
void LoadVoiPresets(VoiPresetList& presets, const std::string& modality);

// The list a window offers for `modality`: "Full Range" (0, 0, 0), then LoadVoiPresets.
void RebuildVoiPresets(VoiPresetList& presets, const std::string& modality, const std::string& iniPath);

// The modality text of the engine's record: its bytes up to the first NUL, never past `size`.
std::string ModalityOfRecord(const void* data, size_t size);
