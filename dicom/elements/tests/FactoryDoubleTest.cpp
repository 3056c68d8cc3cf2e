// The element-factory interface as the readers use it: a minimal factory double that reads
// explicit little-endian elements from memory, nesting items through itself.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/elements/factory/iDDEFactory.h"
#include "dicom/elements/tests/LoadDictionary.h"

namespace ORN_dicom {
namespace {

class ExplicitLEDouble : public iDDEFactory {
 public:
  iDDE* MakeDDEFromMemory(const void* element) override {
    const auto* p = static_cast<const unsigned char*>(element);
    const uint32_t tag = MakeTag(p);
    if (tag == 0xFFFEE000u) {
      const ImplicitLE h(p);
      auto* item = new dde::ImplicitItem(0xFFFE, 0xE000, vr::no, h.Length());
      ReadInto(*item->GetItem(), p + 8, h.Length());
      return item;
    }
    const uint16_t code = TanLEV<uint16_t>::Decode(p + 4);
    if (code == vr::SQ) {
      const LongLE h(p);
      auto* sq = new dde::LongSequence(h.Group(), h.Element(), vr::SQ, h.Length());
      ReadInto(*sq->GetSequence(), p + 12, h.Length());
      return sq;
    }
    if (code == vr::US) return new dde::ShortUS(p);
    return new dde::ShortText(p);
  }
  iDDE* MakeDDEFromStream(std::istream&) override { return nullptr; }
  iDDE* MakeDDEFromDDE(iDDE*) override { return nullptr; }
  iDDE* MakeDDEFromDDEPtr(iDDE* source) override { return MakeDDEFromDDE(source); }
  iDDE* MakeDDE(uint16_t, uint16_t, uint32_t, ...) override { return nullptr; }
  iDDE* MakeDDEWithVR(uint16_t, uint16_t, const char*, uint32_t, ...) override { return nullptr; }
  iDDE* MakeSequence(uint16_t g, uint16_t e, uint8_t undefined) override {
    return new dde::LongSequence(g, e, vr::SQ, undefined ? kUndefinedLength : 0);
  }
  iDDE* MakeItem(uint8_t undefined) override {
    return new dde::ImplicitItem(0xFFFE, 0xE000, vr::no, undefined ? kUndefinedLength : 0);
  }
  iDDE* MakePixelData(uint16_t, uint32_t, ...) override { return nullptr; }
  const char* GetLastMessage() override { return nullptr; }

 private:
  void ReadInto(TanDDESet<iDDE>& set, const unsigned char* p, uint32_t length) {
    for (uint32_t at = 0; at < length;) {
      iDDE* e = MakeDDEFromMemory(p + at);
      at += e->Size();
      set.Append(e);
    }
  }
};

TEST(FactoryDouble, NestedSetsReadThroughTheInterfaceWriteBackTheSameBytes) {
  const std::vector<unsigned char> bytes = {
      0x08, 0x00, 0x15, 0x11, 'S', 'Q', 0, 0, 30, 0, 0, 0,         // sequence, 30 bytes
      0xFE, 0xFF, 0x00, 0xE0, 22, 0, 0, 0,                          // item, 22 bytes
      0x08, 0x00, 0x50, 0x11, 'U', 'I', 4, 0, '1', '.', '2', 0,     // UI
      0x28, 0x00, 0x10, 0x00, 'U', 'S', 2, 0, 0x00, 0x02};          // US
  testing::LoadDictionary();  // item headers have the implicit layout and ask for their VR
  std::unique_ptr<iDDEFactory> factory(new ExplicitLEDouble);
  std::unique_ptr<iDDE> sq(factory->MakeDDEFromMemory(bytes.data()));
  ASSERT_EQ(sq->Size(), bytes.size());
  TanItems items(*sq->GetSequence());
  ASSERT_EQ(items.Count(), 1u);
  EXPECT_EQ(items.Item(0)->Find(0x00081150)->GetString(), "1.2");
  EXPECT_EQ(items.Item(0)->Find(0x00280010)->GetUShort(), 512);
  std::vector<unsigned char> out(sq->Size());
  sq->CopyTo(out.data());
  EXPECT_EQ(out, bytes);
  // Changing a nested value updates every defined length on the way up.
  items.Item(0)->Find(0x00081150)->SetString("1.2.3.4");
  EXPECT_EQ(sq->Length(), 34u);
  EXPECT_EQ(sq->GetSequence()->At(0)->Length(), 26u);
  std::unique_ptr<iDDE> item(factory->MakeItem(1));
  EXPECT_EQ(item->Length(), kUndefinedLength);
}

}  // namespace
}  // namespace ORN_dicom
