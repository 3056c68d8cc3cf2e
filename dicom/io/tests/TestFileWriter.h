// Test-only: a converted data set written as a Part 10 file (preamble, "DICM", the source's meta
// group with the new transfer syntax and its group length recomputed, the data set), so that
// dcmtk and dicom3tools can read what the factories made.
#pragma once

#include <fstream>
#include <string>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"

namespace ORN_dicom::testing {

inline bool WritePart10(const std::string& path, TanDDESet<iDDE>& meta, TanDDESet<iDDE>& data,
                        const std::string& transferSyntax) {
  TanExplicitLEFactory le;
  TanDDESet<iDDE> group;
  for (uint32_t i = 0; i < meta.Count(); ++i) {
    iDDE* e = le.MakeDDEFromDDE(meta.At(i));
    if (e == nullptr || !group.Insert(e)) return false;
  }
  iDDE* syntax = group.Find(0x00020010u);
  if (syntax == nullptr) return false;
  syntax->SetString(transferSyntax);
  uint32_t length = 0;
  for (uint32_t i = 0; i < group.Count(); ++i)
    if (group.At(i)->Element() != 0) length += group.At(i)->Size();
  if (iDDE* g = group.Find(0x00020000u)) g->SetULong(length);
  std::ofstream out(path, std::ios::binary);
  out << std::string(128, '\0') << "DICM";
  group.WriteTo(out);
  data.WriteTo(out);
  return bool(out);
}

}  // namespace ORN_dicom::testing
