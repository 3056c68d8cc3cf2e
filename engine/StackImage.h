// One image of the stack: what the engine knows of it after reading its header (geometry,
// pixel layout, modality LUT, windows, VOI LUT, presentation LUT, palette, plane, texts), and
// the decoding of its frame into stored values (grey) or RGB triplets (colour).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ORN_dicom {
class iDDE;
}

namespace ORN_engine {

// A lookup table of a LUT descriptor: entries, first mapped input value, bits per entry.
struct LookupTable {
  int32_t FirstMapped = 0;
  int32_t Bits = 0;
  std::vector<uint16_t> Entries;
  bool Empty() const { return Entries.empty(); }
  // The entry for an input value, clamped to the table's ends.
  uint16_t At(int64_t input) const {
    int64_t i = input - FirstMapped;
    if (i < 0) i = 0;
    if (i >= int64_t(Entries.size())) i = int64_t(Entries.size()) - 1;
    return Entries[size_t(i)];
  }
};

struct ImageHeader {
  std::string Path;
  int32_t Frame = 0;  // 0-based frame inside the file
  std::string Error;  // empty when the header was read and the image can be drawn

  int32_t Columns = 0, Rows = 0, Samples = 1, BitsAllocated = 0, BitsStored = 0, HighBit = 0;
  bool Signed = false;
  int32_t Planar = 0;
  int32_t Frames = 1;
  std::string Photometric;
  uint8_t Kind = 0;  // transfer-syntax kind of the file

  double Slope = 1.0, Intercept = 0.0;
  LookupTable ModalityLut;
  std::vector<double> WindowCentres, WindowWidths;
  LookupTable VoiLut;
  bool PresentationInverse = false;  // Presentation LUT Shape INVERSE
  LookupTable PaletteRed, PaletteGreen, PaletteBlue;

  std::string PatientName, Modality, SopInstanceUid, SopClassUid, FrameOfReferenceUid;
  int32_t InstanceNumber = 0;
  bool HasPlane = false;
  double Position[3] = {0, 0, 0};
  double Orientation[6] = {1, 0, 0, 0, 1, 0};
  double Spacing[2] = {1, 1};  // Pixel Spacing: row spacing, column spacing (1, 1 when absent)
  bool HasSpacing = false;
  double ImagerSpacing[2] = {0, 0};
  bool HasImagerSpacing = false;
  double SliceThickness = 0;
  double FrameRate = 0;  // Cine Rate or Recommended Display Frame Rate, 0 when none

  bool Grey() const { return Samples == 1 && Photometric != "PALETTE COLOR"; }
  bool Palette() const { return Samples == 1 && Photometric == "PALETTE COLOR" && !PaletteRed.Empty(); }
};

// The decoded pixels of one image.
struct DecodedImage {
  int32_t Columns = 0, Rows = 0;
  bool Colour = false;
  std::vector<int32_t> Values;  // grey and palette: stored values, one per pixel
  std::vector<uint8_t> Rgb;     // colour: R, G, B per pixel
  // Smallest and largest modality values (grey only): the full-range window.
  double Minimum = 0, Maximum = 0;
  size_t Bytes() const { return Values.size() * sizeof(int32_t) + Rgb.size(); }
};

// Reads the header of the file (up to its pixel data); Error tells why it cannot be drawn.
ImageHeader ReadImageHeader(const std::string& path, int32_t frame);
// Reads the file and decodes the header's frame; null with `error` set on failure.
std::shared_ptr<DecodedImage> DecodeImage(const ImageHeader& header, std::string& error);
// A LUT from its descriptor and data elements; empty when malformed or missing.
LookupTable ReadLut(ORN_dicom::iDDE* descriptor, ORN_dicom::iDDE* data, bool signedInput);
// The modality value of a stored value.
double ModalityValue(const ImageHeader& header, int32_t stored);

}  // namespace ORN_engine
