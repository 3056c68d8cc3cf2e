// The 45 element classes: header form and byte order paired with a value class. Each lives in
// the element pool of its own sizeof on this platform; the sizes are fixed below so that a
// change of layout shows at compile time (see README.md for the table).
#pragma once

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/TanDDE.h"
#include "dicom/elements/header/TanDDEHeader.h"
#include "dicom/elements/values/TanCVArray.h"
#include "dicom/elements/values/TanCharArray.h"
#include "dicom/elements/values/TanValueNull.h"
#include "dicom/elements/values/TanValueSet.h"

namespace ORN_dicom {

namespace dde {
// Implicit VR, little endian
using ImplicitDelimiter = TanDDE<ImplicitLE, TanValueNull>;                         // 1
using ImplicitItem = TanDDE<ImplicitLE, TanDDEItemValue>;                            // 2
using ImplicitSequence = TanDDE<ImplicitLE, TanDDESequenceValue>;                    // 3
using ImplicitText = TanDDE<ImplicitLE, TanCharArray>;                               // 4
using ImplicitChars = TanDDE<ImplicitLE, TanCVArray<char, TanLEV>>;                  // 5
using ImplicitBytes = TanDDE<ImplicitLE, TanCVArray<unsigned char, TanLEV>>;         // 6
using ImplicitWords = TanDDE<ImplicitLE, TanCVArray<uint16_t, TanLEV>>;              // 7
using ImplicitLongs = TanDDE<ImplicitLE, TanCVArray<uint32_t, TanLEV>>;              // 8
using ImplicitFD = TanDDE<ImplicitLE, TanCVSingle<double, TanLEV>>;                  // 9
using ImplicitFL = TanDDE<ImplicitLE, TanCVSingle<float, TanLEV>>;                   // 10
using ImplicitSL = TanDDE<ImplicitLE, TanCVSingle<int32_t, TanLEV>>;                 // 11
using ImplicitUL = TanDDE<ImplicitLE, TanCVSingle<uint32_t, TanLEV>>;                // 12
using ImplicitSS = TanDDE<ImplicitLE, TanCVSingle<int16_t, TanLEV>>;                 // 13
using ImplicitUS = TanDDE<ImplicitLE, TanCVSingle<uint16_t, TanLEV>>;                // 14
// Explicit VR, little endian
using ShortText = TanDDE<ShortLE, TanCharArray>;                                     // 15
using ShortChars = TanDDE<ShortLE, TanCVArray<char, TanLEV>>;                        // 16
using ShortWords = TanDDE<ShortLE, TanCVArray<uint16_t, TanLEV>>;                    // 17
using ShortFD = TanDDE<ShortLE, TanCVSingle<double, TanLEV>>;                        // 18
using ShortFL = TanDDE<ShortLE, TanCVSingle<float, TanLEV>>;                         // 19
using ShortSL = TanDDE<ShortLE, TanCVSingle<int32_t, TanLEV>>;                       // 20
using ShortUL = TanDDE<ShortLE, TanCVSingle<uint32_t, TanLEV>>;                      // 21
using ShortSS = TanDDE<ShortLE, TanCVSingle<int16_t, TanLEV>>;                       // 22
using ShortUS = TanDDE<ShortLE, TanCVSingle<uint16_t, TanLEV>>;                      // 23
using LongBytes = TanDDE<LongLE, TanCVArray<unsigned char, TanLEV>>;                 // 24
using LongWords = TanDDE<LongLE, TanCVArray<uint16_t, TanLEV>>;                      // 25
using LongLongs = TanDDE<LongLE, TanCVArray<uint32_t, TanLEV>>;                      // 26
using LongChars = TanDDE<LongLE, TanCVArray<char, TanLEV>>;                          // 27
using LongSequence = TanDDE<LongLE, TanDDESequenceValue>;                            // 28
using LongPixelData = TanDDE<LongLE, TanEPDValue>;                                   // 29
// Big endian (items and delimiters have the implicit layout there)
using ImplicitDelimiterBE = TanDDE<ImplicitBE, TanValueNull>;                       // 30
using ImplicitItemBE = TanDDE<ImplicitBE, TanDDEItemValue>;                          // 31
using ShortTextBE = TanDDE<ShortBE, TanCharArray>;                                   // 32
using ShortCharsBE = TanDDE<ShortBE, TanCVArray<char, TanLEV>>;                      // 33
using ShortWordsBE = TanDDE<ShortBE, TanCVArray<uint16_t, TanBEV>>;                  // 34
using ShortFDBE = TanDDE<ShortBE, TanCVSingle<double, TanBEV>>;                      // 35
using ShortFLBE = TanDDE<ShortBE, TanCVSingle<float, TanBEV>>;                       // 36
using ShortSLBE = TanDDE<ShortBE, TanCVSingle<int32_t, TanBEV>>;                     // 37
using ShortULBE = TanDDE<ShortBE, TanCVSingle<uint32_t, TanBEV>>;                    // 38
using ShortSSBE = TanDDE<ShortBE, TanCVSingle<int16_t, TanBEV>>;                     // 39
using ShortUSBE = TanDDE<ShortBE, TanCVSingle<uint16_t, TanBEV>>;                    // 40
using LongBytesBE = TanDDE<LongBE, TanCVArray<unsigned char, TanLEV>>;               // 41
using LongWordsBE = TanDDE<LongBE, TanCVArray<uint16_t, TanBEV>>;                    // 42
using LongLongsBE = TanDDE<LongBE, TanCVArray<uint32_t, TanBEV>>;                    // 43
using LongCharsBE = TanDDE<LongBE, TanCVArray<char, TanLEV>>;                        // 44
using LongSequenceBE = TanDDE<LongBE, TanDDESequenceValue>;                          // 45
}  // namespace dde

}  // namespace ORN_dicom

namespace ORN_dicom::dde {

// The element pools in use: every class above lives in one of them (its own sizeof).
inline constexpr unsigned kElementPoolSizes[] = {200, 224, 232, 256, 264, 272};

template <class T>
constexpr bool InElementPool() {
  for (unsigned s : kElementPoolSizes)
    if (sizeof(T) == s) return true;
  return false;
}

#define ORN_DDE_POOL_CHECK(T) static_assert(InElementPool<T>(), #T " has a size without an element pool")
ORN_DDE_POOL_CHECK(ImplicitDelimiter); ORN_DDE_POOL_CHECK(ImplicitItem); ORN_DDE_POOL_CHECK(ImplicitSequence);
ORN_DDE_POOL_CHECK(ImplicitText); ORN_DDE_POOL_CHECK(ImplicitChars); ORN_DDE_POOL_CHECK(ImplicitBytes);
ORN_DDE_POOL_CHECK(ImplicitWords); ORN_DDE_POOL_CHECK(ImplicitLongs); ORN_DDE_POOL_CHECK(ImplicitFD);
ORN_DDE_POOL_CHECK(ImplicitFL); ORN_DDE_POOL_CHECK(ImplicitSL); ORN_DDE_POOL_CHECK(ImplicitUL);
ORN_DDE_POOL_CHECK(ImplicitSS); ORN_DDE_POOL_CHECK(ImplicitUS); ORN_DDE_POOL_CHECK(ShortText);
ORN_DDE_POOL_CHECK(ShortChars); ORN_DDE_POOL_CHECK(ShortWords); ORN_DDE_POOL_CHECK(ShortFD);
ORN_DDE_POOL_CHECK(ShortFL); ORN_DDE_POOL_CHECK(ShortSL); ORN_DDE_POOL_CHECK(ShortUL);
ORN_DDE_POOL_CHECK(ShortSS); ORN_DDE_POOL_CHECK(ShortUS); ORN_DDE_POOL_CHECK(LongBytes);
ORN_DDE_POOL_CHECK(LongWords); ORN_DDE_POOL_CHECK(LongLongs); ORN_DDE_POOL_CHECK(LongChars);
ORN_DDE_POOL_CHECK(LongSequence); ORN_DDE_POOL_CHECK(LongPixelData); ORN_DDE_POOL_CHECK(ImplicitDelimiterBE);
ORN_DDE_POOL_CHECK(ImplicitItemBE); ORN_DDE_POOL_CHECK(ShortTextBE); ORN_DDE_POOL_CHECK(ShortCharsBE);
ORN_DDE_POOL_CHECK(ShortWordsBE); ORN_DDE_POOL_CHECK(ShortFDBE); ORN_DDE_POOL_CHECK(ShortFLBE);
ORN_DDE_POOL_CHECK(ShortSLBE); ORN_DDE_POOL_CHECK(ShortULBE); ORN_DDE_POOL_CHECK(ShortSSBE);
ORN_DDE_POOL_CHECK(ShortUSBE); ORN_DDE_POOL_CHECK(LongBytesBE); ORN_DDE_POOL_CHECK(LongWordsBE);
ORN_DDE_POOL_CHECK(LongLongsBE); ORN_DDE_POOL_CHECK(LongCharsBE); ORN_DDE_POOL_CHECK(LongSequenceBE);
#undef ORN_DDE_POOL_CHECK

}  // namespace ORN_dicom::dde
