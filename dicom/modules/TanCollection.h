// An owning collection of module values held by value in a vector that exists only while the
// collection has elements. Image references, VOI LUT objects and functional-group macros are
// kept in it; each element class gives a default, a copy, IsEmpty and IsEqual.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace ndl {

template <class I>
class iCOLLECTION {
 public:
  virtual ~iCOLLECTION() = default;
  virtual bool IsEmpty() const = 0;
  virtual uint32_t GetCount() const = 0;
  virtual bool Contains(const I* item) const = 0;
  virtual I& Front() = 0;
  virtual const I& Front() const = 0;
  virtual I& Back() = 0;
  virtual const I& Back() const = 0;
  virtual I& At(uint32_t index) = 0;
  virtual const I& At(uint32_t index) const = 0;
  virtual I& InsertNew(int32_t index) = 0;
  virtual void Erase(int32_t index) = 0;
  virtual void Clear() = 0;
};

}  // namespace ndl

namespace ndl_impl {

template <class I, class Impl, class A = std::allocator<Impl>>
class TanCollection : public ndl::iCOLLECTION<I> {
 public:
  using Vector = std::vector<Impl, A>;

  TanCollection() = default;
  TanCollection(const TanCollection& other)
      : FItems(other.FItems ? std::make_unique<Vector>(*other.FItems) : nullptr) {}
  TanCollection& operator=(const TanCollection& other) {
    if (this != &other) FItems = other.FItems ? std::make_unique<Vector>(*other.FItems) : nullptr;
    return *this;
  }
  ~TanCollection() override = default;

  bool IsEmpty() const override {
    if (!FItems) return true;
    for (const Impl& e : *FItems)
      if (!e.IsEmpty()) return false;
    return true;
  }
  uint32_t GetCount() const override { return FItems ? static_cast<uint32_t>(FItems->size()) : 0; }
  bool Contains(const I* item) const override {
    if (!FItems) return false;
    for (const Impl& e : *FItems)
      if (e.IsEqual(item)) return true;
    return false;
  }
  I& Front() override { return At(0); }
  const I& Front() const override { return At(0); }
  I& Back() override { return At(GetCount() - 1); }
  const I& Back() const override { return At(GetCount() - 1); }
  I& At(uint32_t index) override { return const_cast<I&>(static_cast<const TanCollection*>(this)->At(index)); }
  const I& At(uint32_t index) const override {
    if (!FItems) throw std::out_of_range("out-of-bounds");
    try {
      return FItems->at(index);
    } catch (const std::out_of_range&) {
      throw std::out_of_range("out-of-bounds");
    }
  }
  I& InsertNew(int32_t index) override {
    if (!FItems) FItems = std::make_unique<Vector>();
    if (index == -1) {
      FItems->emplace_back();
      return FItems->back();
    }
    if (index < 0 || static_cast<size_t>(index) > FItems->size()) return FItems->at(FItems->size());
    FItems->emplace(FItems->begin() + index);
    return FItems->at(static_cast<size_t>(index));
  }
  void Erase(int32_t index) override {
    if (!FItems || FItems->empty()) return;
    if (index == -1) FItems->pop_back();
    else if (index >= 0 && static_cast<size_t>(index) < FItems->size()) FItems->erase(FItems->begin() + index);
    if (FItems->empty()) FItems.reset();
  }
  void Clear() override { FItems.reset(); }

 protected:
  std::unique_ptr<Vector> FItems;
};

}  // namespace ndl_impl
