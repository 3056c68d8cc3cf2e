// The interfaces of one file: its information, its general operations, its services, and the
// file itself with a reference to each of the three views.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_std {

class iFILEATTR;
class iFILETIME;
class iFILE_IO;
class iFILE_MAPPING;

class iFILE_INFO {
 public:
  virtual iFILEATTR* GetAttributes() = 0;
  virtual iFILEATTR* GetAttributes() const = 0;
  // Kind 1 last access, 2 last modification, any other value creation.
  virtual iFILETIME* GetFileTime(uint8_t kind) = 0;
  virtual iFILETIME* GetFileTime(uint8_t kind) const = 0;
  virtual const std::string& GetName() const = 0;
  virtual const std::string& GetFolder() const = 0;
  virtual const std::string& GetExtension() const = 0;
  virtual const std::string& GetPath() const = 0;
  // The size divided by 1024 unitExponent times; -1 with the error text when it is unknown.
  virtual int64_t GetSize(uint8_t unitExponent) const = 0;
  virtual const std::string& GetLastErrorText() const = 0;
  virtual ~iFILE_INFO() = default;
};

class iFILE_GENERAL : public iFILE_INFO {
 public:
  virtual bool Exists() const = 0;
  virtual bool Create(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) = 0;
  virtual bool Create(bool overlapped) = 0;
  virtual bool Open(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) = 0;
  virtual bool Open(bool overlapped) = 0;
  virtual bool CopyTo(const char* newPath, bool failIfExists) = 0;
  virtual bool MoveTo(const char* newPath, bool replaceExisting) = 0;
  virtual bool Delete() = 0;
  virtual bool Rename(const char* newName) = 0;
  virtual iFILE_GENERAL& Close() = 0;
  virtual const iFILE_GENERAL& Close() const = 0;
};

class iFILE_SERVICE : public iFILE_GENERAL {
 public:
  virtual iFILE_IO* GetIOService() = 0;
  virtual iFILE_IO* GetIOService() const = 0;
  virtual iFILE_MAPPING* GetMappingService() = 0;
  virtual iFILE_MAPPING* GetMappingService() const = 0;
};

class iFILE : public iFILE_SERVICE {
 public:
  virtual iFILE& Assign(const iFILE& other) = 0;

  iFILE_INFO& Info;
  iFILE_GENERAL& General;
  iFILE_SERVICE& Service;

 protected:
  iFILE() : Info(*this), General(*this), Service(*this) {}
  iFILE(const iFILE&) = delete;
  iFILE& operator=(const iFILE&) = delete;
};

}  // namespace ORN_std
