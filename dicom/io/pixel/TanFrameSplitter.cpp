#include "dicom/io/pixel/TanFrameSplitter.h"

#include <cstring>
#include <deque>

#include "dicom/elements/element/iDDE.h"
#include "imaging/TanORNRLEChecker.h"
#include "imaging/TgbORNJpegChecker.h"

namespace ORN_dicom {

std::vector<uint32_t> FindJpegFrameStarts(const uint8_t* data, size_t length, uint32_t frames) {
  std::vector<uint32_t> starts;
  // A start of image cannot occur inside entropy-coded data (0xFF is stuffed there), but it
  // may lie at an odd offset after a stream of odd length: every byte is tried.
  for (size_t p = 0; p + 1 < length && starts.size() < frames; ++p) {
    if (data[p] != 0xFF || data[p + 1] != 0xD8) continue;
    if (TgbORNJpegChecker::FindFrameHeader(data + p, length - p) < 0) continue;
    starts.push_back(static_cast<uint32_t>(p));
    ++p;
  }
  return starts;
}

namespace {
uint32_t LE32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

bool StartsFrame(const uint8_t* data, uint32_t length, int32_t kind) {
  if (data == nullptr) return false;
  if (kind == 6) {
    if (length < 64) return false;
    const uint32_t segments = LE32(data);
    return segments >= 1 && segments <= 15 && LE32(data + 4) == 64;
  }
  return length >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}
}  // namespace

bool TanFrameSplitter::Split(TanEPDValue& value, int32_t frames, int32_t kind) {
  FFrames.clear();
  FAll.clear();
  FJoined.clear();
  FErrorText.clear();
  if (frames <= 0) {
    FErrorText = "Number of Frames is not a positive number.";
    return false;
  }
  TanFrames& view = value.FFrames;
  const uint32_t first = view.FirstFragmentIndex(), end = view.EndFragmentIndex();
  const uint32_t fragments = end > first ? end - first : 0;
  if (fragments == 0) {
    FErrorText = "Encapsulated pixel data without fragments.";
    return false;
  }
  auto fragment = [&value](uint32_t j) {
    iDDE* f = value.At(j);
    return Range{f->GetData(), f->GetLength()};
  };
  // A table is trusted only when it has one entry per frame and every entry is the start of
  // a fragment item; several writers store one entry too many or offsets that ignore the
  // padding byte of an odd-length fragment, and those tables are passed over.
  if (view.HasOffsetTable() && view.Count() == static_cast<uint32_t>(frames)) {
    std::vector<uint64_t> starts;  // offsets of the fragment items, counted from the first
    uint64_t position = 0;
    for (uint32_t j = first; j < end; ++j) {
      starts.push_back(position);
      position += value.At(j)->Size();
    }
    bool fits = view.Offset(0) == 0;
    size_t at = 0;
    for (uint32_t i = 1; fits && i < view.Count(); ++i) {
      while (at < starts.size() && starts[at] < view.Offset(i)) ++at;
      fits = at < starts.size() && starts[at] == view.Offset(i) && view.Offset(i) > view.Offset(i - 1);
    }
    if (fits) {
      FFrames.resize(view.Count());
      uint32_t frame = 0;
      for (uint32_t j = first, k = 0; j < end; ++j, ++k) {
        while (frame + 1 < view.Count() && view.Offset(frame + 1) <= starts[k]) ++frame;
        FFrames[frame].push_back(fragment(j));
      }
      return true;
    }
  }
  if (frames == 1) {
    FFrames.emplace_back();
    for (uint32_t j = first; j < end; ++j) FFrames[0].push_back(fragment(j));
    return true;
  }
  if (fragments == static_cast<uint32_t>(frames)) {
    for (uint32_t j = first; j < end; ++j) FFrames.push_back(std::vector<Range>{fragment(j)});
    return true;
  }
  // A frame spread over several fragments starts with a fragment that begins a JPEG stream
  // or an RLE header.
  for (uint32_t j = first; j < end; ++j) {
    const Range r = fragment(j);
    if (FFrames.empty() || StartsFrame(r.Data, r.Length, kind)) FFrames.emplace_back();
    FFrames.back().push_back(r);
  }
  if (FFrames.size() == static_cast<uint32_t>(frames)) return true;
  FFrames.clear();
  for (uint32_t j = first; j < end; ++j) {
    const Range r = fragment(j);
    if (r.Length > 0) FAll.insert(FAll.end(), r.Data, r.Data + r.Length);
  }
  return SplitJoined(static_cast<uint32_t>(frames), kind);
}

bool TanFrameSplitter::SplitJoined(uint32_t frames, int32_t kind) {
  std::vector<uint32_t> starts;
  if (kind == 6) {
    std::deque<uint32_t> ends;  // a fresh list: nothing of an earlier attempt is kept
    TanORNRLEChecker::CollectFrameOffsets(FAll.data(), FAll.size(), frames, ends);
    // The ends walked before a header that does not parse still start the frames after them.
    if (StartsFrame(FAll.data(), static_cast<uint32_t>(FAll.size()), 6)) starts.push_back(0);
    for (size_t i = 0; !starts.empty() && i < ends.size() && starts.size() < frames && ends[i] < FAll.size(); ++i)
      starts.push_back(ends[i]);
  } else {
    starts = FindJpegFrameStarts(FAll.data(), FAll.size(), frames);
  }
  // The frames found are kept, so that a viewer may still show them; the first one that
  // cannot be found is named.
  for (uint32_t i = 0; i < starts.size(); ++i) {
    const uint32_t end = i + 1 < starts.size() ? starts[i + 1] : static_cast<uint32_t>(FAll.size());
    if (end <= starts[i] || end > FAll.size()) break;
    FFrames.push_back(std::vector<Range>{Range{FAll.data() + starts[i], end - starts[i]}});
  }
  if (FFrames.size() == frames) return true;
  FErrorText = "Frame " + std::to_string(FFrames.size() + 1) + " cannot be found in the encapsulated pixel data.";
  return false;
}

TanFrameSplitter::Range TanFrameSplitter::Frame(uint32_t i) {
  if (i >= FFrames.size()) return {};
  const auto& parts = FFrames[i];
  if (parts.size() == 1) return parts[0];
  FJoined.clear();
  for (const Range& r : parts)
    if (r.Length > 0) FJoined.insert(FJoined.end(), r.Data, r.Data + r.Length);
  return Range{FJoined.data(), static_cast<uint32_t>(FJoined.size())};
}

}  // namespace ORN_dicom
