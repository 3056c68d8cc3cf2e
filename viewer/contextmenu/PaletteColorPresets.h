// Palette colour presets: named colour tables of 256 entries (red, green and blue channels)
// read from "PaletteColorPresets.ini" beside the program, one section per preset. A stack
// window owns one set, offers one menu item per preset (drawn as a colour bar through
// Resample) and sends the chosen preset's three channels to its engine.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ORN_gui {

class iPALETTE_COLOR_CHANNEL {
 public:
  virtual bool IsValid() const = 0;
  virtual const uint8_t* GetData() const = 0;
  virtual uint32_t GetSize() const = 0;
  virtual uint8_t GetValue(uint32_t index) const = 0;
  virtual ~iPALETTE_COLOR_CHANNEL() = default;
};

class iPALETTE_COLOR_PRESET {
 public:
  iPALETTE_COLOR_PRESET(iPALETTE_COLOR_CHANNEL& r, iPALETTE_COLOR_CHANNEL& g, iPALETTE_COLOR_CHANNEL& b)
      : red(r), green(g), blue(b) {}
  iPALETTE_COLOR_PRESET(const iPALETTE_COLOR_PRESET&) = delete;
  iPALETTE_COLOR_PRESET& operator=(const iPALETTE_COLOR_PRESET&) = delete;
  virtual const char* GetName() const = 0;
  virtual uint32_t GetSize() const = 0;
  // A bar of `count` colours repeated on `rows` rows, each entry B | G << 8 | R << 16 (a
  // 32-bit DIB pixel). False, `out` untouched, for an invalid preset or a negative size.
  virtual bool Resample(int32_t count, int32_t rows, std::vector<uint32_t>& out) const = 0;
  virtual bool IsValid() const = 0;
  virtual ~iPALETTE_COLOR_PRESET() = default;

  iPALETTE_COLOR_CHANNEL& red;
  iPALETTE_COLOR_CHANNEL& green;
  iPALETTE_COLOR_CHANNEL& blue;
};

class iPALETTE_COLOR_PRESET_SET {
 public:
  virtual bool IsEmpty() const = 0;
  virtual uint32_t GetCount() const = 0;
  virtual iPALETTE_COLOR_PRESET& GetAt(uint32_t index) = 0;
  virtual const iPALETTE_COLOR_PRESET& GetAt(uint32_t index) const = 0;
  virtual iPALETTE_COLOR_PRESET& Front() = 0;
  virtual const iPALETTE_COLOR_PRESET& Front() const = 0;
  virtual iPALETTE_COLOR_PRESET& Back() = 0;
  virtual const iPALETTE_COLOR_PRESET& Back() const = 0;
  virtual bool LoadFromFile(const std::string& path) = 0;
  virtual void Clear() = 0;
  virtual ~iPALETTE_COLOR_PRESET_SET() = default;
};

}  // namespace ORN_gui

namespace ORN_gui_impl {

template <uint32_t N>
class TanPaletteColorPresetChannel : public ORN_gui::iPALETTE_COLOR_CHANNEL {
 public:
  bool IsValid() const override { return valid_; }
  const uint8_t* GetData() const override { return data_; }
  uint32_t GetSize() const override { return N; }
  uint8_t GetValue(uint32_t index) const override { return data_[index]; }

  // Reads the channel from its ini value: two hexadecimal digits per byte, high digit first.
  // Valid when the value holds exactly N bytes (an odd last digit is ignored) and all of
  // them are hexadecimal digits; otherwise the data is left zero and the channel invalid.
  void ReadHex(const std::string& value);

 private:
  uint8_t data_[N] = {};
  bool valid_ = false;
};

template <uint32_t N>
class TanPaletteColorPreset : public ORN_gui::iPALETTE_COLOR_PRESET {
 public:
  explicit TanPaletteColorPreset(std::string name)
      : ORN_gui::iPALETTE_COLOR_PRESET(red_, green_, blue_), name_(std::move(name)) {}
  const char* GetName() const override { return name_.c_str(); }
  uint32_t GetSize() const override { return N; }
  bool Resample(int32_t count, int32_t rows, std::vector<uint32_t>& out) const override;
  bool IsValid() const override { return red_.IsValid() && green_.IsValid() && blue_.IsValid(); }

  TanPaletteColorPresetChannel<N>& Red() { return red_; }
  TanPaletteColorPresetChannel<N>& Green() { return green_; }
  TanPaletteColorPresetChannel<N>& Blue() { return blue_; }

 private:
  std::string name_;
  TanPaletteColorPresetChannel<N> red_, green_, blue_;
};

template <uint32_t N>
class TanPaletteColorPresetSet : public ORN_gui::iPALETTE_COLOR_PRESET_SET {
 public:
  bool IsEmpty() const override { return presets_.empty(); }
  uint32_t GetCount() const override { return static_cast<uint32_t>(presets_.size()); }
  ORN_gui::iPALETTE_COLOR_PRESET& GetAt(uint32_t index) override { return *At(index); }
  const ORN_gui::iPALETTE_COLOR_PRESET& GetAt(uint32_t index) const override { return *At(index); }
  ORN_gui::iPALETTE_COLOR_PRESET& Front() override { return *presets_.front(); }
  const ORN_gui::iPALETTE_COLOR_PRESET& Front() const override { return *presets_.front(); }
  ORN_gui::iPALETTE_COLOR_PRESET& Back() override { return *presets_.back(); }
  const ORN_gui::iPALETTE_COLOR_PRESET& Back() const override { return *presets_.back(); }
  // Replaces the whole set with the valid presets of the file; true when one was read.
  bool LoadFromFile(const std::string& path) override;
  void Clear() override { presets_.clear(); }
  virtual bool IsLoaded() const { return !presets_.empty(); }

 private:
  const std::unique_ptr<TanPaletteColorPreset<N>>& At(uint32_t index) const {
    if (index >= presets_.size()) throw std::out_of_range("vector");
    return presets_[index];
  }
  std::vector<std::unique_ptr<TanPaletteColorPreset<N>>> presets_;
};

}  // namespace ORN_gui_impl

// The file beside the program.
inline constexpr const char* kPaletteColorPresetsFileName = "PaletteColorPresets.ini";
std::string PaletteColorPresetsPath();

// The 768-byte block a preset goes to the engine in: red, green, blue channels in turn.
std::vector<uint8_t> PaletteColorBlock(const ORN_gui::iPALETTE_COLOR_PRESET& preset);
