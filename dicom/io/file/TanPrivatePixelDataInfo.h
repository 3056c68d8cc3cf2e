// Reader of the private pixel-data index kept in (0002,0102): for each frame the absolute file
// offset and the length of each of its fragments. A missing, foreign or malformed index reads
// as an empty object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_dicom {

class TanDicomFileObject;

inline constexpr const char* kPrivatePixelDataTitle = "ORN_PRIVATE_PIXEL_DATA_TITLE";

class iPRIVATE_PIXEL_DATA_INFO_FRAME {
 public:
  virtual bool IsEmpty() const = 0;
  virtual uint32_t GetTotalLength() const = 0;
  virtual uint32_t GetFrameOffset() const = 0;  // throws std::out_of_range "vector" without fragments
  virtual uint32_t GetFragmentCount() const = 0;
  virtual uint32_t& FragmentOffset(uint32_t i) = 0;
  virtual uint32_t& FragmentLength(uint32_t i) = 0;

 protected:
  ~iPRIVATE_PIXEL_DATA_INFO_FRAME() = default;
};

class TanPrivatePixelDataInfoFrame : public iPRIVATE_PIXEL_DATA_INFO_FRAME {
 public:
  bool IsEmpty() const override { return FOffsets.empty(); }
  uint32_t GetTotalLength() const override;
  uint32_t GetFrameOffset() const override { return FOffsets.at(0); }
  uint32_t GetFragmentCount() const override { return static_cast<uint32_t>(FOffsets.size()); }
  uint32_t& FragmentOffset(uint32_t i) override { return FOffsets[i]; }
  uint32_t& FragmentLength(uint32_t i) override { return FLengths[i]; }

  std::vector<uint32_t> FOffsets;
  std::vector<uint32_t> FLengths;
};

class iPRIVATE_PIXEL_DATA_INFO_FRAME_SET {
 public:
  virtual bool IsEmpty() const = 0;
  virtual uint32_t GetCount() const = 0;
  virtual iPRIVATE_PIXEL_DATA_INFO_FRAME& Frame(uint32_t i) = 0;  // throws std::out_of_range "vector"
  virtual const iPRIVATE_PIXEL_DATA_INFO_FRAME& Frame(uint32_t i) const = 0;
  virtual iPRIVATE_PIXEL_DATA_INFO_FRAME& First() = 0;
  virtual const iPRIVATE_PIXEL_DATA_INFO_FRAME& First() const = 0;
  virtual iPRIVATE_PIXEL_DATA_INFO_FRAME& Last() = 0;
  virtual const iPRIVATE_PIXEL_DATA_INFO_FRAME& Last() const = 0;

 protected:
  ~iPRIVATE_PIXEL_DATA_INFO_FRAME_SET() = default;
};

class TanPrivatePixelDataInfoFrameSet : public iPRIVATE_PIXEL_DATA_INFO_FRAME_SET {
 public:
  bool IsEmpty() const override { return FFrames.empty(); }
  uint32_t GetCount() const override { return static_cast<uint32_t>(FFrames.size()); }
  iPRIVATE_PIXEL_DATA_INFO_FRAME& Frame(uint32_t i) override { return FFrames.at(i); }
  const iPRIVATE_PIXEL_DATA_INFO_FRAME& Frame(uint32_t i) const override { return FFrames.at(i); }
  iPRIVATE_PIXEL_DATA_INFO_FRAME& First() override { return FFrames.front(); }
  const iPRIVATE_PIXEL_DATA_INFO_FRAME& First() const override { return FFrames.front(); }
  iPRIVATE_PIXEL_DATA_INFO_FRAME& Last() override { return FFrames.back(); }
  const iPRIVATE_PIXEL_DATA_INFO_FRAME& Last() const override { return FFrames.back(); }

  std::vector<TanPrivatePixelDataInfoFrame> FFrames;
};

class TanPrivatePixelDataInfo {
 public:
  explicit TanPrivatePixelDataInfo(TanDicomFileObject& file);
  // Parses index bytes directly (what the constructor does with the (0002,0102) value).
  TanPrivatePixelDataInfo(const unsigned char* bytes, uint32_t length);
  TanPrivatePixelDataInfo(const TanPrivatePixelDataInfo&) = delete;
  TanPrivatePixelDataInfo& operator=(const TanPrivatePixelDataInfo&) = delete;

  iPRIVATE_PIXEL_DATA_INFO_FRAME_SET& FFrames;
  TanPrivatePixelDataInfoFrameSet FFrameSet;
  std::string FTitle;

 private:
  void Parse(const unsigned char* bytes, uint32_t length);
  void Empty();
};

}  // namespace ORN_dicom
