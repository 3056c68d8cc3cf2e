#include "DumpLines.h"

#include <cstdio>
#include <string>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/VRCodes.h"

namespace dump {

using namespace ORN_dicom;

namespace {

constexpr unsigned kMaxText = 40;    // characters of a text value shown
constexpr unsigned kMaxNumbers = 8;  // numbers shown
constexpr unsigned kMaxBytes = 16;   // bytes shown in hexadecimal

bool IsTextVR(uint16_t code) {
  switch (code) {
    case vr::AE: case vr::AS: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::LT: case vr::PN: case vr::SH: case vr::ST: case vr::TM: case vr::UC: case vr::UI: case vr::UR:
    case vr::UT:
      return true;
    default:
      return false;
  }
}

std::string Text(const unsigned char* p, uint32_t n) {
  while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == 0)) --n;
  std::string s;
  for (uint32_t i = 0; i < n && i < kMaxText; ++i) s += (p[i] >= 32 && p[i] < 127) ? static_cast<char>(p[i]) : '?';
  return s;
}

std::string Hex(const unsigned char* p, uint32_t n) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (uint32_t i = 0; i < n && i < kMaxBytes; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  if (n > kMaxBytes) s += "...";
  return s;
}

template <class T, class Get>
std::string Numbers(const iDDE& e, Get get) {
  std::string s;
  T v{};
  uint32_t i = 0;
  for (; i < kMaxNumbers && (e.*get)(v, i); ++i) {
    if (i > 0) s += '\\';
    char buf[64];
    if constexpr (std::is_floating_point_v<T>) std::snprintf(buf, sizeof buf, "%.6g", static_cast<double>(v));
    else std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
    s += buf;
  }
  if (i == kMaxNumbers && (e.*get)(v, i)) s += "\\...";
  return s;
}

std::string ValueText(const iDDE& e) {
  const uint16_t code = e.VR();
  switch (code) {
    case vr::US: return Numbers<uint16_t>(e, &iDDE::GetUShortAt);
    case vr::SS: return Numbers<int16_t>(e, &iDDE::GetShortAt);
    case vr::UL: return Numbers<uint32_t>(e, &iDDE::GetULongAt);
    case vr::SL: return Numbers<int32_t>(e, &iDDE::GetLongAt);
    case vr::FL: return Numbers<float>(e, &iDDE::GetFloatAt);
    case vr::FD: return Numbers<double>(e, &iDDE::GetDoubleAt);
    default: break;
  }
  const unsigned char* p = e.GetData();
  const uint32_t n = e.GetLength();
  if (p == nullptr || n == 0) return "";
  return IsTextVR(code) ? Text(p, n) : Hex(p, n);
}

bool IsDelimiter(uint32_t tag) { return tag == 0xFFFEE00Du || tag == 0xFFFEE0DDu; }

}  // namespace

void WriteSet(std::ostream& out, const TanDDESet<iDDE>& set, int level) {
  for (uint32_t i = 0; i < set.Count(); ++i) {
    const iDDE& e = *set.At(i);
    const uint32_t tag = e.Tag();
    if (IsDelimiter(tag)) continue;
    char head[64];
    std::snprintf(head, sizeof head, "(%04x,%04x)", tag >> 16, tag & 0xFFFF);
    const TanDDESet<iDDE>* nested = nullptr;
    std::string vrText = e.VRText();
    if (auto* item = e.ValueAs<TanDDEItemValue>()) {
      nested = item;
      vrText = "na";
    } else if (auto* sq = e.ValueAs<TanDDESequenceValue>()) {
      nested = sq;
      vrText = "SQ";  // also a UN (OB, ...) of undefined length read as its items
    } else if (auto* epd = e.ValueAs<TanEPDValue>()) {
      nested = epd;
    }
    if (tag == 0xFFFEE000u) vrText = "na";  // items, and the fragments of pixel data
    out << std::string(2 * level, ' ') << head << ' ' << vrText << " len=" << e.Length();
    if (nested != nullptr) {
      out << '\n';
      WriteSet(out, *nested, level + 1);
      continue;
    }
    const std::string value = ValueText(e);
    if (!value.empty()) out << ' ' << value;
    out << '\n';
  }
}

}  // namespace dump
