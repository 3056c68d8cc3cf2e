// The three ways a factory fills a new element from the values of a MakeDDE call, shared by
// the implicit and explicit factories: numbers through TInitDDE, one text, or a byte run given
// as a length and a pointer.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

#include "dicom/io/factory/TanDDEFactoryBasis.h"

namespace ORN_dicom::making {

template <class C, class T>
iDDE* Filled(uint16_t g, uint16_t e, uint16_t code, int32_t count, va_list& args) {
  auto* dde = new C(g, e, code);
  if (dde == nullptr) return nullptr;
  return TanDDEFactoryBasis::TInitDDE<T>(dde).AddValues(code, count, args);
}

template <class C>
iDDE* OneText(uint16_t g, uint16_t e, uint16_t code, int32_t count, va_list& args) {
  if (count == 0) return new C(g, e, code);
  const char* s = va_arg(args, const char*);
  return new C(g, e, code, typename C::ValueType(code, std::string(s != nullptr ? s : "")));
}

template <class C>
iDDE* Bytes(uint16_t g, uint16_t e, uint16_t code, int32_t count, va_list& args) {
  if (count == 0) return new C(g, e, code);
  const uint32_t length = va_arg(args, uint32_t);
  const void* data = va_arg(args, const void*);
  return new C(g, e, code, data, length);
}

}  // namespace ORN_dicom::making
