// Image references: a SOP class and instance UID pair and, for a referenced image, the frame
// number (1 and up one frame, 0 every frame, -1 an empty reference). The collection of them
// tells which images a module element applies to; an empty collection applies to all.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/modules/TanCollection.h"

namespace ndl {

class iSOP_UID_PAIR {
 public:
  virtual bool IsEmpty() const = 0;
  virtual const char* GetSOPClassUID() const = 0;
  virtual const char* GetSOPInstanceUID() const = 0;
  virtual void Clear() = 0;
  virtual void Assign(const iSOP_UID_PAIR& other) = 0;
  virtual bool IsEqual(const iSOP_UID_PAIR* other) const = 0;
  virtual bool SetFromPair(const iSOP_UID_PAIR& other) = 0;
  virtual bool SetUIDs(const char* classUID, const char* instanceUID) = 0;
  virtual ~iSOP_UID_PAIR() = default;
};

class iIMAGE_SOP_INSTANCE_REFERENCE_MACRO : public virtual iSOP_UID_PAIR {
 public:
  virtual int32_t GetFrameNumber() const = 0;
  virtual bool SetReference(const char* classUID, const char* instanceUID, int32_t frame) = 0;
  ~iIMAGE_SOP_INSTANCE_REFERENCE_MACRO() override = default;
};

}  // namespace ndl

namespace ndl_impl {

class TanSOPUIDPair : public virtual ndl::iSOP_UID_PAIR {
 public:
  TanSOPUIDPair() = default;
  // Throws std::runtime_error "SOP-UID-PAIR-initializetion-error" for a null text.
  TanSOPUIDPair(const char* classUID, const char* instanceUID);
  TanSOPUIDPair(const TanSOPUIDPair&) = default;
  TanSOPUIDPair& operator=(const TanSOPUIDPair&) = default;
  ~TanSOPUIDPair() override = default;

  bool IsEmpty() const override;
  const char* GetSOPClassUID() const override { return FSOPClassUID.c_str(); }
  const char* GetSOPInstanceUID() const override { return FSOPInstanceUID.c_str(); }
  void Clear() override;
  // The other pair must be a TanSOPUIDPair (std::bad_cast otherwise).
  void Assign(const ndl::iSOP_UID_PAIR& other) override;
  bool IsEqual(const ndl::iSOP_UID_PAIR* other) const override;
  bool SetFromPair(const ndl::iSOP_UID_PAIR& other) override;
  bool SetUIDs(const char* classUID, const char* instanceUID) override;

 protected:
  std::string FSOPClassUID;
  std::string FSOPInstanceUID;
};

class TanImageSOPInstanceReferenceMacro : public ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO,
                                          public TanSOPUIDPair {
 public:
  // The empty reference that InsertNew adds.
  TanImageSOPInstanceReferenceMacro() = default;
  // Throws std::runtime_error: the pair's text for a null UID,
  // "IMAGE-SOP-INSTANCE-REFERENCE-MACRO-initializetion-error" for a negative frame number.
  TanImageSOPInstanceReferenceMacro(const char* classUID, const char* instanceUID, int32_t frame);
  // The form the file set calls, with a leading flag it passes as 0.
  TanImageSOPInstanceReferenceMacro(int /*flag*/, const char* classUID, const char* instanceUID, int32_t frame)
      : TanImageSOPInstanceReferenceMacro(classUID, instanceUID, frame) {}
  TanImageSOPInstanceReferenceMacro(const TanImageSOPInstanceReferenceMacro&) = default;
  TanImageSOPInstanceReferenceMacro& operator=(const TanImageSOPInstanceReferenceMacro&) = default;
  ~TanImageSOPInstanceReferenceMacro() override = default;

  int32_t GetFrameNumber() const override { return FFrameNumber; }
  bool SetReference(const char* classUID, const char* instanceUID, int32_t frame) override;

  bool IsEmpty() const override;
  void Clear() override;
  void Assign(const ndl::iSOP_UID_PAIR& other) override;
  // Frame 0 on either side matches every frame of the same image.
  bool IsEqual(const ndl::iSOP_UID_PAIR* other) const override;
  bool SetFromPair(const ndl::iSOP_UID_PAIR& other) override;
  bool SetUIDs(const char* classUID, const char* instanceUID) override;

 private:
  int32_t FFrameNumber = -1;
};

template <class A = std::allocator<TanImageSOPInstanceReferenceMacro>>
class TanImageSOPInstanceReferenceMacroSet
    : public TanCollection<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO, TanImageSOPInstanceReferenceMacro, A> {
 public:
  ~TanImageSOPInstanceReferenceMacroSet() override = default;
};

}  // namespace ndl_impl
