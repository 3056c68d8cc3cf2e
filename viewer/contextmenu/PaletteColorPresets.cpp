#include "viewer/contextmenu/PaletteColorPresets.h"

#include <cstring>

#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"
#include "platform/vcl/TStringList.h"

namespace ORN_gui_impl {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

template <uint32_t N>
void TanPaletteColorPresetChannel<N>::ReadHex(const std::string& value) {
  std::memset(data_, 0, sizeof data_);
  valid_ = false;
  if (value.size() / 2 != N) return;
  uint8_t bytes[N];
  for (uint32_t i = 0; i < N; ++i) {
    const int high = HexDigit(value[2 * i]), low = HexDigit(value[2 * i + 1]);
    // A stray character makes the channel unreadable rather than half-read.
    if (high < 0 || low < 0) return;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  std::memcpy(data_, bytes, N);
  valid_ = true;
}

template <uint32_t N>
bool TanPaletteColorPreset<N>::Resample(int32_t count, int32_t rows, std::vector<uint32_t>& out) const {
  if (!IsValid() || count < 0 || rows < 0) return false;
  out.resize(static_cast<size_t>(count) * static_cast<size_t>(rows));
  if (count == 0 || rows == 0) return true;
  const double step = static_cast<double>(N) / static_cast<uint32_t>(count);
  std::vector<uint32_t> row(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t p = static_cast<uint32_t>(i * step);
    row[static_cast<size_t>(i)] = blue.GetValue(p) | green.GetValue(p) << 8 | static_cast<uint32_t>(red.GetValue(p)) << 16;
  }
  for (int32_t r = 0; r < rows; ++r) std::copy(row.begin(), row.end(), out.begin() + static_cast<ptrdiff_t>(r) * count);
  return true;
}

template <uint32_t N>
bool TanPaletteColorPresetSet<N>::LoadFromFile(const std::string& path) {
  presets_.clear();
  TMemIniFile ini(path);
  TStringList sections;
  ini.ReadSections(sections);
  for (int i = 0; i < sections.Count(); ++i) {
    const std::string name = Trim(sections.Strings[i]);
    if (name.empty()) continue;
    auto preset = std::make_unique<TanPaletteColorPreset<N>>(name);
    preset->Red().ReadHex(ini.ReadString(sections.Strings[i], "R-Channel-Data", ""));
    preset->Green().ReadHex(ini.ReadString(sections.Strings[i], "G-Channel-Data", ""));
    preset->Blue().ReadHex(ini.ReadString(sections.Strings[i], "B-Channel-Data", ""));
    if (preset->IsValid()) presets_.push_back(std::move(preset));
  }
  return !presets_.empty();
}

template class TanPaletteColorPresetChannel<256>;
template class TanPaletteColorPreset<256>;
template class TanPaletteColorPresetSet<256>;

}  // namespace ORN_gui_impl

std::string PaletteColorPresetsPath() { return platform::ProgramFolder() + kPaletteColorPresetsFileName; }

std::vector<uint8_t> PaletteColorBlock(const ORN_gui::iPALETTE_COLOR_PRESET& preset) {
  std::vector<uint8_t> block(768);
  std::memcpy(block.data(), preset.red.GetData(), 256);
  std::memcpy(block.data() + 256, preset.green.GetData(), 256);
  std::memcpy(block.data() + 512, preset.blue.GetData(), 256);
  return block;
}
