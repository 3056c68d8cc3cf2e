// The attribute flags of one path: each getter reads the attribute word again; each setter
// changes one bit of the cached word and writes it.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_std {

class iFILEATTR {
 public:
  virtual ~iFILEATTR() = default;
  virtual bool IsArchive() = 0;
  virtual iFILEATTR& SetArchive(bool on) = 0;
  virtual bool IsHidden() = 0;
  virtual iFILEATTR& SetHidden(bool on) = 0;
  virtual bool HasNoAttributes() const = 0;
  virtual bool IsOffline() = 0;
  virtual iFILEATTR& SetOffline(bool on) = 0;
  virtual bool IsReadOnly() = 0;
  virtual iFILEATTR& SetReadOnly(bool on) = 0;
  virtual bool IsSystem() = 0;
  virtual iFILEATTR& SetSystem(bool on) = 0;
  virtual iFILEATTR& ClearAttributes() = 0;
};

class TabFileAttrubutes : public iFILEATTR {
 public:
  static constexpr uint32_t kUnreadable = 0xFFFFFFFF;

  explicit TabFileAttrubutes(const std::string& path);

  bool IsArchive() override;
  iFILEATTR& SetArchive(bool on) override;
  bool IsHidden() override;
  iFILEATTR& SetHidden(bool on) override;
  bool HasNoAttributes() const override;
  bool IsOffline() override;
  iFILEATTR& SetOffline(bool on) override;
  bool IsReadOnly() override;
  iFILEATTR& SetReadOnly(bool on) override;
  bool IsSystem() override;
  iFILEATTR& SetSystem(bool on) override;
  iFILEATTR& ClearAttributes() override;

 private:
  bool Has(uint32_t bit);
  iFILEATTR& Set(uint32_t bit, bool on);

  std::string FPath;
  uint32_t FAttributes;
};

}  // namespace ORN_std
