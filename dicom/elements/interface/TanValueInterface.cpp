#include "dicom/elements/interface/TanValueInterface.h"

#include <cstdio>
#include <stdexcept>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/values/TanCVArray.h"
#include "dicom/elements/values/TanCharArray.h"
#include "dicom/elements/values/TanValueSet.h"

namespace ORN_dicom {

namespace {

// A value of none of the classes an operation accepts: the caller can handle it, the
// operation goes on with nothing.
[[noreturn]] void CheckFailed(const char* expression, int line) {
  throw std::logic_error(std::string("Assertion failed: ") + expression + ", file uValueInterface, line " +
                         std::to_string(line));
}

// Calls f with the number set of T in the little-endian, then the big-endian form.
template <class T, class F>
bool WithSet(TanValueBasis* v, F&& f) {
  if (auto* s = dynamic_cast<TanCVSingle<T, TanLEV>*>(v)) return f(*s), true;
  if (auto* s = dynamic_cast<TanCVSingle<T, TanBEV>*>(v)) return f(*s), true;
  return false;
}

template <class T, class F>
bool WithArray(TanValueBasis* v, F&& f) {
  if (auto* a = dynamic_cast<TanCVArray<T, TanLEV>*>(v)) return f(*a), true;
  if (auto* a = dynamic_cast<TanCVArray<T, TanBEV>*>(v)) return f(*a), true;
  return false;
}

// Reads value i of a set or entry i of an array as R; false when there is none.
template <class R>
struct Reader {
  R& out;
  uint32_t i;
  bool found = false;
  template <class S>
  void operator()(const S& s) {
    if (i < s.Count()) {
      if constexpr (requires { s.Get(i); }) out = static_cast<R>(s.Get(i));
      else out = static_cast<R>(s.At(i));
      found = true;
    }
  }
};

template <class W>
std::string HexWords(const W& a, int digits) {
  std::string text;
  char buf[16];
  for (uint32_t i = 0; i < a.Count() && text.size() < 255; ++i) {
    std::snprintf(buf, sizeof buf, "%0*X|", digits, static_cast<unsigned>(a.At(i)));
    text += buf;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace

uint32_t TanValueInterface::GetLength() const { return FValue->Length(); }

unsigned char* TanValueInterface::GetData() const {
  auto* b = dynamic_cast<TanValueBuffer*>(FValue);
  return b != nullptr ? b->GetData() : nullptr;
}

unsigned char* TanValueInterface::GetData(uint32_t offset, uint32_t count) const {
  auto* b = dynamic_cast<TanValueBuffer*>(FValue);
  return b != nullptr ? b->GetData(offset, count) : nullptr;
}

bool TanValueInterface::IsValid() const { return FValue->IsSuccess(); }
const char* TanValueInterface::GetLastError() const { return FValue->LastError().c_str(); }

TanDDEItemValue* TanValueInterface::GetItem() const {
  auto* v = dynamic_cast<VALUE_ITEM*>(FValue);
  if (v == nullptr) CheckFailed("dynamic_cast<VALUE_ITEM*>(FValue) != NULL", 40);
  return v;
}

TanDDESequenceValue* TanValueInterface::GetSequence() const {
  auto* v = dynamic_cast<VALUE_SQ*>(FValue);
  if (v == nullptr) CheckFailed("dynamic_cast<VALUE_SQ*>(FValue) != NULL", 46);
  return v;
}

TanEPDValue* TanValueInterface::GetEncapsulatedPixelData() const {
  auto* v = dynamic_cast<VALUE_EPD*>(FValue);
  if (v == nullptr) CheckFailed("dynamic_cast<VALUE_EPD*>(FValue) != NULL", 52);
  return v;
}

uint16_t TanValueInterface::GetUShort() const {
  uint16_t r = 0;
  Reader<uint16_t> read{r, 0};
  WithSet<uint16_t>(FValue, read) || WithSet<int16_t>(FValue, read);
  return r;
}

int16_t TanValueInterface::GetShort() const {
  int16_t r = 0;
  Reader<int16_t> read{r, 0};
  WithSet<int16_t>(FValue, read) || WithSet<uint16_t>(FValue, read);
  return r;
}

uint32_t TanValueInterface::GetULong() const {
  uint32_t r = 0;
  Reader<uint32_t> read{r, 0};
  WithSet<uint32_t>(FValue, read) || WithSet<int32_t>(FValue, read);
  return r;
}

std::string TanValueInterface::GetString() const {
  std::string text;
  auto numbers = [&](const auto& s) { text = s.ToString(); };
  if (WithSet<uint16_t>(FValue, numbers) || WithSet<int16_t>(FValue, numbers) ||
      WithSet<uint32_t>(FValue, numbers) || WithSet<int32_t>(FValue, numbers) ||
      WithSet<float>(FValue, numbers) || WithSet<double>(FValue, numbers))
    return text;
  if (auto* t = dynamic_cast<TanCharArray*>(FValue)) return t->ToString();
  if (auto* b = dynamic_cast<TanCVArray<unsigned char, TanLEV>*>(FValue)) return b->ToString();
  if (auto* c = dynamic_cast<TanCVArray<char, TanLEV>*>(FValue)) return c->ToString();
  if (WithArray<uint16_t>(FValue, [&](const auto& a) { text = HexWords(a, 4); })) return text;
  if (WithArray<uint32_t>(FValue, [&](const auto& a) { text = HexWords(a, 8); })) return text;
  return {};
}

TanValueInterface& TanValueInterface::SetUShort(uint16_t v) {
  WithSet<uint16_t>(FValue, [&](auto& s) {
    if (s.Count() > 0) s.At(0).Put(v);
  });
  return *this;
}

TanValueInterface& TanValueInterface::SetULong(uint32_t v) {
  WithSet<uint32_t>(FValue, [&](auto& s) {
    if (s.Count() > 0) s.At(0).Put(v);
  });
  return *this;
}

TanValueInterface& TanValueInterface::SetString(const std::string& text) {
  if (auto* t = dynamic_cast<TanCharArray*>(FValue)) t->SetText(text);
  else if (auto* c = dynamic_cast<TanCVArray<char, TanLEV>*>(FValue)) c->SetText(text);
  else if (auto* b = dynamic_cast<TanCVArray<unsigned char, TanLEV>*>(FValue)) b->SetText(text);
  return *this;
}

TanValueInterface& TanValueInterface::AddUShort(uint16_t v) {
  if (!WithSet<uint16_t>(FValue, [&](auto& s) { s.Push(v); }) &&
      !WithArray<uint16_t>(FValue, [&](auto& a) { a.Append(v); }))
    CheckFailed("success", 442);
  return *this;
}

TanValueInterface& TanValueInterface::AddShort(int16_t v) {
  if (!WithSet<int16_t>(FValue, [&](auto& s) { s.Push(v); }) &&
      !WithArray<uint16_t>(FValue, [&](auto& a) { a.Append(static_cast<uint16_t>(v)); }))
    CheckFailed("success", 453);
  return *this;
}

TanValueInterface& TanValueInterface::AddULong(uint32_t v) {
  if (!WithSet<uint32_t>(FValue, [&](auto& s) { s.Push(v); }) &&
      !WithSet<int32_t>(FValue, [&](auto& s) { s.Push(static_cast<int32_t>(v)); }))
    CheckFailed("success", 464);
  return *this;
}

TanValueInterface& TanValueInterface::AddLong(int32_t v) {
  if (!WithSet<int32_t>(FValue, [&](auto& s) { s.Push(v); }) &&
      !WithSet<uint32_t>(FValue, [&](auto& s) { s.Push(static_cast<uint32_t>(v)); }))
    CheckFailed("success", 475);
  return *this;
}

TanValueInterface& TanValueInterface::AddFloat(float v) {
  if (!WithSet<float>(FValue, [&](auto& s) { s.Push(v); })) CheckFailed("success", 484);
  return *this;
}

TanValueInterface& TanValueInterface::AddDouble(double v) {
  if (!WithSet<double>(FValue, [&](auto& s) { s.Push(v); })) CheckFailed("success", 493);
  return *this;
}

TanValueInterface& TanValueInterface::AddString(const std::string& text) {
  auto* t = dynamic_cast<TanCharArray*>(FValue);
  if (t == nullptr) CheckFailed("success", 501);
  t->Append(text);
  return *this;
}

int32_t TanValueInterface::GetCount() const {
  int64_t n = -1;
  auto count = [&](const auto& s) { n = s.Count(); };
  if (WithSet<uint16_t>(FValue, count) || WithSet<int16_t>(FValue, count) ||
      WithSet<uint32_t>(FValue, count) || WithSet<int32_t>(FValue, count) ||
      WithSet<float>(FValue, count) || WithSet<double>(FValue, count)) {
  } else if (auto* t = dynamic_cast<TanCharArray*>(FValue)) {
    n = t->Count();
  } else if (auto* b = dynamic_cast<TanCVArray<unsigned char, TanLEV>*>(FValue)) {
    n = b->Length();
  } else if (!WithArray<uint16_t>(FValue, count) && !WithArray<uint32_t>(FValue, count)) {
    CheckFailed("false", 605);
  }
  return static_cast<int32_t>(n);
}

bool TanValueInterface::GetUShortAt(uint16_t& out, uint32_t i) const {
  Reader<uint16_t> read{out, i};
  if (!WithSet<uint16_t>(FValue, read) && !WithSet<int16_t>(FValue, read) && !WithArray<uint16_t>(FValue, read))
    CheckFailed("false", 633);
  return read.found;
}

bool TanValueInterface::GetShortAt(int16_t& out, uint32_t i) const {
  Reader<int16_t> read{out, i};
  if (!WithSet<int16_t>(FValue, read) && !WithSet<uint16_t>(FValue, read) && !WithArray<uint16_t>(FValue, read))
    CheckFailed("false", 645);
  return read.found;
}

bool TanValueInterface::GetULongAt(uint32_t& out, uint32_t i) const {
  Reader<uint32_t> read{out, i};
  if (!WithSet<uint32_t>(FValue, read) && !WithSet<int32_t>(FValue, read) && !WithArray<uint32_t>(FValue, read))
    CheckFailed("false", 657);
  return read.found;
}

bool TanValueInterface::GetLongAt(int32_t& out, uint32_t i) const {
  Reader<int32_t> read{out, i};
  if (!WithSet<int32_t>(FValue, read) && !WithSet<uint32_t>(FValue, read) && !WithArray<uint32_t>(FValue, read))
    CheckFailed("false", 669);
  return read.found;
}

bool TanValueInterface::GetFloatAt(float& out, uint32_t i) const {
  Reader<float> read{out, i};
  if (!WithSet<float>(FValue, read)) CheckFailed("false", 677);
  return read.found;
}

bool TanValueInterface::GetDoubleAt(double& out, uint32_t i) const {
  Reader<double> read{out, i};
  if (!WithSet<double>(FValue, read)) CheckFailed("false", 685);
  return read.found;
}

bool TanValueInterface::GetStringAt(std::string& out, uint32_t i) const {
  bool found = false;
  auto number = [&](const auto& s) {
    found = i < s.Count();
    out = found ? s.ValueText(i) : std::string();
  };
  if (WithSet<uint16_t>(FValue, number) || WithSet<int16_t>(FValue, number) ||
      WithSet<uint32_t>(FValue, number) || WithSet<int32_t>(FValue, number) ||
      WithSet<float>(FValue, number) || WithSet<double>(FValue, number))
    return found;
  auto* t = dynamic_cast<TanCharArray*>(FValue);
  if (t == nullptr) CheckFailed("false", 711);
  out = t->Value(i);
  return i < t->Count();
}

bool TanValueInterface::SetUShortAt(uint16_t v, uint32_t i) {
  bool done = false;
  auto set = [&](auto& s) {
    if (i >= s.Count()) return;
    if constexpr (requires { s.Get(i); }) s.At(i).Put(static_cast<std::remove_cvref_t<decltype(s.Get(i))>>(v));
    else s.Set(i, v);
    done = true;
  };
  if (!WithSet<uint16_t>(FValue, set) && !WithSet<int16_t>(FValue, set) && !WithArray<uint16_t>(FValue, set))
    CheckFailed("false", 739);
  return done;
}

bool TanValueInterface::SetULongAt(uint32_t v, uint32_t i) {
  bool done = false;
  auto set = [&](auto& s) {
    if (i >= s.Count()) return;
    if constexpr (requires { s.Get(i); }) s.At(i).Put(static_cast<std::remove_cvref_t<decltype(s.Get(i))>>(v));
    else s.Set(i, v);
    done = true;
  };
  if (!WithSet<int32_t>(FValue, set) && !WithSet<uint32_t>(FValue, set) && !WithArray<uint32_t>(FValue, set))
    CheckFailed("false", 775);
  return done;
}

}  // namespace ORN_dicom
