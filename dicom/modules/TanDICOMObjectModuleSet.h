// The module-set family: a typed view of one DICOM module kind in one data set. A set holds
// one element per module instance, found in the items of a sequence (FromSQ), at the top
// level when a presence attribute is there (FromIOD), or both (the LUT kinds), and writes the
// elements back. Each kind supplies its traits (element interface, element factory, module
// name) and the two kind operations ReadElement and WriteElement.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/factory/iDDEFactory.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/TanImageSOPInstanceReferenceMacro.h"

namespace ndl {

using DataSet = ORN_dicom::TanDDESet<ORN_dicom::iDDE>;

class iDICOM_OBJECT_MODULE_SET_GENERAL {
 public:
  virtual bool Initialize(ORN_dicom::TanDicomFileObject& file) = 0;
  virtual bool Write(DataSet& dataSet) = 0;
  virtual bool Write(DataSet& dataSet, ORN_dicom::iDDEFactory* factory) = 0;
  virtual uint8_t GetKind() const = 0;
  virtual bool IsEmpty() const = 0;
  virtual int32_t GetCount() const = 0;
  virtual const char* GetErrorText() const = 0;
  virtual iDICOM_OBJECT_MODULE_SET_GENERAL& Erase(int32_t index) = 0;
  virtual iDICOM_OBJECT_MODULE_SET_GENERAL& Clear() = 0;
  virtual ~iDICOM_OBJECT_MODULE_SET_GENERAL() = default;

  // Always the set's own reference collection.
  iCOLLECTION<iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>* FReferences = nullptr;
};

template <class I>
class DICOM_OBJECT_MODULE_SET_INTERFACE : public iDICOM_OBJECT_MODULE_SET_GENERAL {
 public:
  virtual I* Front() = 0;
  virtual const I* Front() const = 0;
  virtual I* Back() = 0;
  virtual const I* Back() const = 0;
  virtual I* At(uint32_t index) = 0;
  virtual const I* At(uint32_t index) const = 0;
  virtual I* Item(int32_t index) = 0;
  virtual const I* Item(int32_t index) const = 0;
  virtual I* InsertNew(int32_t index) = 0;
  virtual bool Assign(const DICOM_OBJECT_MODULE_SET_INTERFACE& other) = 0;
  virtual DICOM_OBJECT_MODULE_SET_INTERFACE& operator=(const DICOM_OBJECT_MODULE_SET_INTERFACE& other) = 0;
};

}  // namespace ndl

namespace ndl_impl {

inline constexpr const char* kInitializationErrorPrefix = "error-occured-during-initialization-of-DICOM-object-module-";
inline constexpr const char* kAccessErrorPrefix = "error-occured-during-access-to-DICOM-object-module-";
inline constexpr const char* kResourcesErrorPrefix = "unsufficient-resources-in-DICOM-object-module-";

// The concrete set of each kind, specialised by its kind's file.
template <uint8_t K, class A = std::allocator<void>>
class TanDICOMObjectModule;

// Per kind: using Interface, Factory; static constexpr const char* FName.
template <uint8_t K>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT;

// Saves a data set's search cursor, sets it to the start and puts it back on every way out.
class TanCursorGuard {
 public:
  explicit TanCursorGuard(ndl::DataSet& set) : FSet(set), FSaved(set.FCursor) { set.FCursor = 0; }
  ~TanCursorGuard() { FSet.FCursor = FSaved; }
  TanCursorGuard(const TanCursorGuard&) = delete;
  TanCursorGuard& operator=(const TanCursorGuard&) = delete;

 private:
  ndl::DataSet& FSet;
  int32_t FSaved;
};

// Builds a Referenced Image Sequence (0008,1140) from a collection; null when no item was
// written.
ORN_dicom::iDDE* MakeReferencedImageSequence(ORN_dicom::iDDEFactory* factory,
                                             const ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references);

// Reads a Referenced Image Sequence into a collection; clears it when a reference is bad.
bool ReadReferencedImageSequence(ndl::DataSet& dataSet,
                                 ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references);

template <uint8_t K, class A = std::allocator<void>>
class TanDICOMObjectModuleSet
    : public ndl::DICOM_OBJECT_MODULE_SET_INTERFACE<typename DICOM_OBJECT_MODULE_INTERFACE_STRUCT<K>::Interface> {
 public:
  using Traits = DICOM_OBJECT_MODULE_INTERFACE_STRUCT<K>;
  using I = typename Traits::Interface;
  using Interface = ndl::DICOM_OBJECT_MODULE_SET_INTERFACE<I>;
  using Vector = std::vector<std::unique_ptr<I>>;

  TanDICOMObjectModuleSet() { this->FReferences = &FReferenceSet; }
  TanDICOMObjectModuleSet(const TanDICOMObjectModuleSet&) = delete;
  ~TanDICOMObjectModuleSet() override = default;

  bool Initialize(ORN_dicom::TanDicomFileObject& file) override {
    return Fill([&](Vector& v) { return Collect(file, v); });
  }
  bool InitializeFromDataSet(ORN_dicom::TanDicomFileObject& file, ndl::DataSet& dataSet) {
    return Fill([&](Vector& v) { return Collect(dataSet, file, v); });
  }

  // The name the file set uses for InitializeFromDataSet.
  bool InitializeFrame(ORN_dicom::TanDicomFileObject& file, ndl::DataSet& dataSet) {
    return InitializeFromDataSet(file, dataSet);
  }

  uint8_t GetKind() const override { return K; }
  bool IsEmpty() const override { return !FModules || FModules->empty(); }
  int32_t GetCount() const override { return FModules ? static_cast<int32_t>(FModules->size()) : 0; }
  const char* GetErrorText() const override { return FErrorText.c_str(); }

  Interface& Erase(int32_t index) override {
    FErrorText.clear();
    if (!FModules || index < 0 || index >= GetCount()) AccessFailure();
    FModules->erase(FModules->begin() + index);
    return *this;
  }
  Interface& Clear() override {
    FModules.reset();
    return *this;
  }

  I* Front() override { return const_cast<I*>(static_cast<const TanDICOMObjectModuleSet*>(this)->Front()); }
  const I* Front() const override {
    if (IsEmpty()) AccessFailure();
    FErrorText.clear();
    return FModules->front().get();
  }
  I* Back() override { return const_cast<I*>(static_cast<const TanDICOMObjectModuleSet*>(this)->Back()); }
  const I* Back() const override {
    if (IsEmpty()) AccessFailure();
    FErrorText.clear();
    return FModules->back().get();
  }
  I* At(uint32_t index) override { return const_cast<I*>(static_cast<const TanDICOMObjectModuleSet*>(this)->At(index)); }
  const I* At(uint32_t index) const override {
    if (!FModules || index >= FModules->size()) AccessFailure();
    FErrorText.clear();
    return (*FModules)[index].get();
  }
  I* Item(int32_t index) override { return const_cast<I*>(static_cast<const TanDICOMObjectModuleSet*>(this)->Item(index)); }
  const I* Item(int32_t index) const override {
    if (index < 0 || index >= GetCount()) {
      FErrorText = std::string(kAccessErrorPrefix) + Traits::FName;
      return nullptr;
    }
    FErrorText.clear();
    return (*FModules)[static_cast<size_t>(index)].get();
  }

  I* InsertNew(int32_t index) override {
    if (index < -1 || index > GetCount()) AccessFailure();
    try {
      if (!FModules) FModules = std::make_unique<Vector>();
      std::unique_ptr<I> element(typename Traits::Factory().CreateDefault());
      if (!element) throw std::bad_alloc();
      I* result = element.get();
      if (index == -1) FModules->push_back(std::move(element));
      else FModules->insert(FModules->begin() + index, std::move(element));
      FErrorText.clear();
      return result;
    } catch (const std::exception&) {
      FModules.reset();
      AccessFailure();
    } catch (...) {
      FModules.reset();
      FErrorText = std::string(kResourcesErrorPrefix) + Traits::FName;
      throw std::runtime_error(FErrorText);
    }
  }

  bool Assign(const Interface& other) override {
    if (&other == this) return true;
    const auto& source = dynamic_cast<const TanDICOMObjectModuleSet&>(other);
    FReferenceSet = source.FReferenceSet;
    FModules.reset();
    if (source.IsEmpty()) return true;
    try {
      auto copies = std::make_unique<Vector>();
      for (int32_t i = 0; i < source.GetCount(); ++i) {
        std::unique_ptr<I> copy(typename Traits::Factory().CreateCopy(*source.At(static_cast<uint32_t>(i))));
        if (copy) copies->push_back(std::move(copy));
      }
      if (static_cast<int32_t>(copies->size()) == source.GetCount()) {
        FModules = std::move(copies);
        FErrorText.clear();
        return true;
      }
    } catch (...) {
    }
    FErrorText = std::string(kInitializationErrorPrefix) + Traits::FName;
    return false;
  }
  Interface& operator=(const Interface& other) override {
    Assign(other);
    return *this;
  }

  virtual bool Collect(ORN_dicom::TanDicomFileObject& file, Vector& vector) = 0;
  virtual bool Collect(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector) = 0;

 protected:
  template <class F>
  bool Fill(F collect) {
    FReferenceSet.Clear();
    FModules.reset();
    try {
      auto vector = std::make_unique<Vector>();
      if (collect(*vector) && !vector->empty()) {
        FModules = std::move(vector);
        FErrorText.clear();
        return true;
      }
      FErrorText = std::string(kInitializationErrorPrefix) + Traits::FName;
    } catch (...) {
    }
    return false;
  }

  [[noreturn]] void AccessFailure() const {
    FErrorText = std::string(kAccessErrorPrefix) + Traits::FName;
    throw std::out_of_range(FErrorText);
  }

  TanImageSOPInstanceReferenceMacroSet<> FReferenceSet;
  std::unique_ptr<Vector> FModules;
  mutable std::string FErrorText;
};

// Writes with a factory made for the data set's transfer-syntax kind; a data set without a
// factory kind (one made in memory) gets false: such callers pass their own factory.
bool WriteWithKindFactory(ndl::DataSet& dataSet, const std::function<bool(ORN_dicom::iDDEFactory*)>& write);

// Module instances in the items of the sequence T.
template <uint32_t T, uint8_t K, class A = std::allocator<void>>
class TanDICOMObjectModuleSetFromSQ : public virtual TanDICOMObjectModuleSet<K, A> {
 public:
  using Base = TanDICOMObjectModuleSet<K, A>;
  using typename Base::I;
  using typename Base::Vector;

  bool Write(ndl::DataSet& dataSet) override {
    return WriteWithKindFactory(dataSet, [&](ORN_dicom::iDDEFactory* f) { return Write(dataSet, f); });
  }
  bool Write(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) override { return WriteSQ(dataSet, factory); }
  ~TanDICOMObjectModuleSetFromSQ() override = default;
  bool Collect(ORN_dicom::TanDicomFileObject& file, Vector& vector) override { return CollectSQ(file.FDataSet, vector); }
  bool Collect(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector) override {
    return CollectSQ(dataSet, vector);
  }

  virtual bool ReadElement(ndl::DataSet& item, Vector& vector) = 0;
  virtual bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, I& element) = 0;

 protected:
  bool CollectSQ(ndl::DataSet& dataSet, Vector& vector) {
    ORN_dicom::iDDE* sq = dataSet.Find(T);
    if (sq == nullptr || sq->GetSequence() == nullptr) return false;
    ndl::DataSet& items = *sq->GetSequence();
    if (items.IsEmpty()) return false;
    bool result = false;
    for (uint32_t i = 0; i < items.Count(); ++i) {
      ORN_dicom::iDDE* item = items.At(i);
      if (item->Tag() != 0xFFFEE000u || item->GetItem() == nullptr || item->GetItem()->IsEmpty()) continue;
      result = ReadElement(*item->GetItem(), vector);
    }
    return result;
  }

  bool WriteSQ(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory);
};

// Module instances at the top level, when the presence tag T is there; N bounds the
// repeating-group index (2: only T's own group).
template <uint32_t N, uint32_t T, uint8_t K, class A = std::allocator<void>>
class TanDICOMObjectModuleSetFromIOD : public virtual TanDICOMObjectModuleSet<K, A> {
 public:
  using Base = TanDICOMObjectModuleSet<K, A>;
  using typename Base::I;
  using typename Base::Vector;

  bool Write(ndl::DataSet& dataSet) override {
    return WriteWithKindFactory(dataSet, [&](ORN_dicom::iDDEFactory* f) { return Write(dataSet, f); });
  }
  bool Write(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) override { return WriteIOD(dataSet, factory); }
  ~TanDICOMObjectModuleSetFromIOD() override = default;
  bool Collect(ORN_dicom::TanDicomFileObject& file, Vector& vector) override {
    return CollectIOD(file.FDataSet, file, vector);
  }
  bool Collect(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector) override {
    return CollectIOD(dataSet, file, vector);
  }

  virtual bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector,
                           uint32_t groupPrefix) = 0;
  virtual bool WriteElement(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint16_t index, I& element) = 0;

 protected:
  bool CollectIOD(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector) {
    if (dataSet.Find(T) == nullptr) return true;
    dataSet.FCursor = 0;
    for (uint32_t i = 0; i < N; i += 2) {
      const uint32_t group = (T >> 16) | i;
      if (dataSet.IndexOfFromCursor((group << 16) | (T & 0xFFFFu)) < 0) break;
      ReadElement(dataSet, file, vector, group << 16);
    }
    dataSet.FCursor = 0;
    return !vector.empty();
  }

  bool WriteIOD(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) {
    if (this->IsEmpty()) return true;
    dataSet.FCursor = 0;
    uint32_t i = 0;
    while (i < N && dataSet.IndexOfFromCursor((((T >> 16) | i) << 16) | (T & 0xFFFFu)) >= 0) i += 2;
    bool result = true;
    for (auto& element : *this->FModules) {
      result = WriteElement(dataSet, factory, static_cast<uint16_t>(i), *element);
      if (!result) break;
      i += 2;
    }
    return result;
  }
};

// The LUT kinds: the top-level element first, then the items. The image's Pixel
// Representation is noted before the items are read, as their first mapped values follow it.
template <uint32_t P, uint32_t T, uint8_t K, class A = std::allocator<void>>
class TanLUTModuleSet : public TanDICOMObjectModuleSetFromIOD<2, P, K, A>, public TanDICOMObjectModuleSetFromSQ<T, K, A> {
 public:
  using IOD = TanDICOMObjectModuleSetFromIOD<2, P, K, A>;
  using SQ = TanDICOMObjectModuleSetFromSQ<T, K, A>;
  using typename IOD::Vector;
  using IOD::ReadElement;
  using IOD::WriteElement;
  using SQ::ReadElement;
  using SQ::WriteElement;

  bool Write(ndl::DataSet& dataSet) override {
    return WriteWithKindFactory(dataSet, [&](ORN_dicom::iDDEFactory* f) { return Write(dataSet, f); });
  }
  bool Write(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) override {
    return this->WriteIOD(dataSet, factory) && this->WriteSQ(dataSet, factory);
  }
  bool Collect(ORN_dicom::TanDicomFileObject& file, Vector& vector) override {
    return Collect(file.FDataSet, file, vector);
  }
  bool Collect(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector) override {
    ORN_dicom::iDDE* representation = dataSet.Find(0x00280103u);
    FPixelSigned = representation != nullptr && representation->GetUShort() == 1;
    const bool top = this->CollectIOD(dataSet, file, vector);
    const bool items = top && this->CollectSQ(dataSet, vector);
    return (top && items) || !vector.empty();
  }

 protected:
  bool FPixelSigned = false;
};

template <uint32_t T, uint8_t K, class A>
bool TanDICOMObjectModuleSetFromSQ<T, K, A>::WriteSQ(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) {
  using ORN_dicom::iDDE;
  if (this->IsEmpty()) return true;
  bool result = true;
  std::vector<std::unique_ptr<iDDE>> items;
  for (int32_t i = 0; i < this->GetCount(); ++i) {
    std::unique_ptr<iDDE> item(factory->MakeItem(0));
    if (!item || item->GetItem() == nullptr) {
      result = false;
      break;
    }
    if (!WriteElement(*item->GetItem(), factory, *this->Item(i))) {
      result = false;
      break;
    }
    if (!item->GetItem()->IsEmpty()) items.push_back(std::move(item));
  }
  if (items.empty()) return result;
  iDDE* sq = dataSet.Find(T);
  if (sq == nullptr) {
    std::unique_ptr<iDDE> made(factory->MakeSequence(static_cast<uint16_t>(T >> 16), static_cast<uint16_t>(T), 0));
    if (!made || made->GetSequence() == nullptr || !dataSet.Insert(made.get())) return false;
    sq = made.release();
  }
  ndl::DataSet& sequence = *sq->GetSequence();
  for (auto& item : items) {
    for (uint32_t j = sequence.Count(); j-- > 0;) {
      iDDE* old = sequence.At(j);
      if (old->Tag() == 0xFFFEE000u && old->GetItem() != nullptr &&
          ORN_dicom::TanTags(*old->GetItem()).IsEmpty())
        delete sequence.Remove(j);
    }
    // New items go before a sequence delimitation item.
    const uint32_t count = sequence.Count();
    if (count > 0 && sequence.At(count - 1)->Tag() == 0xFFFEE0DDu) sequence.InsertAt(count - 1, item.release());
    else sequence.Append(item.release());
  }
  // One Referenced Image Sequence at the top level: a second write replaces the first.
  if (iDDE* references = MakeReferencedImageSequence(factory, this->FReferenceSet)) {
    dataSet.DeleteByTag(0x00081140u);
    if (!dataSet.Insert(references)) delete references;
  }
  return result;
}

}  // namespace ndl_impl
