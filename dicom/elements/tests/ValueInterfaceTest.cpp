#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <memory>
#include <stdexcept>
#include <string>

#include "dicom/elements/element/ElementClasses.h"

namespace ORN_dicom {
namespace {

template <class T>
std::unique_ptr<T> Make(uint16_t vrCode, const std::string& bytes = {}) {
  return std::unique_ptr<T>(new T(0x0011, 0x0022, vrCode, bytes.data(), static_cast<uint32_t>(bytes.size())));
}

TEST(GetString, Forms) {
  auto us = Make<dde::ShortUS>(vr::US);
  for (uint16_t v : {1, 2, 3}) us->AddUShort(v);
  auto ssBE = Make<dde::ShortSSBE>(vr::SS);
  ssBE->AddShort(-5);
  auto flt = Make<dde::ShortFL>(vr::FL);
  flt->AddFloat(0.1f);
  auto dbl = Make<dde::ShortFDBE>(vr::FD);
  dbl->AddDouble(2.5);
  auto cs = Make<dde::ShortText>(vr::CS, "DERIVED\\PRIMARY ");
  auto ui = Make<dde::ShortText>(vr::UI, std::string("1.2.3\0", 6));
  auto lt = Make<dde::ShortChars>(vr::LT, " text\r\n");
  std::string hundred(100, 'z');
  hundred[0] = 'a';
  auto ob = Make<dde::LongBytes>(vr::OB, hundred);
  auto at = Make<dde::ShortWords>(vr::AT, std::string("\x08\x00\x16\x00", 4));
  auto ow = Make<dde::LongWords>(vr::OW, std::string(120, '\x01'));
  auto of = Make<dde::LongLongs>(vr::OF, std::string(160, '\x02'));
  auto sq = std::make_unique<dde::LongSequence>(0x0008, 0x1115, vr::SQ, kUndefinedLength);
  auto delimiter = std::make_unique<dde::ImplicitDelimiter>(0xFFFE, 0xE0DD, vr::no);
  auto pixels = std::make_unique<dde::LongPixelData>(0x7FE0, 0x0010, vr::OB, kUndefinedLength);

  std::string ow51, of29;
  for (int i = 0; i < 51; ++i) ow51 += "0101|";
  ow51.pop_back();
  for (int i = 0; i < 29; ++i) of29 += "02020202|";
  of29.pop_back();
  struct Case {
    iDDE* e;
    std::string text;
  } cases[] = {
      {us.get(), "1\\2\\3"}, {ssBE.get(), "-5"}, {flt.get(), "0.100000001490116"}, {dbl.get(), "2.5"},
      {cs.get(), "DERIVED\\PRIMARY"}, {ui.get(), "1.2.3"}, {lt.get(), "text"},
      {ob.get(), "a" + std::string(69, 'z')}, {at.get(), "0008|0016"}, {ow.get(), ow51}, {of.get(), of29},
      {sq.get(), ""}, {delimiter.get(), ""}, {pixels.get(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.e->GetString(), c.text) << c.e->VRText();
  EXPECT_EQ(ow51.size(), 254u);
}

TEST(GetString, DecimalSeparatorIsAPointWhateverTheLocale) {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "C.UTF-8"};
  const char* chosen = nullptr;
  for (const char* n : names)
    if (std::setlocale(LC_ALL, n) != nullptr) {
      chosen = n;
      break;
    }
  // The C++ locale too: a decimal comma there must not reach the text.
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new Comma));
  auto fd = Make<dde::ShortFD>(vr::FD);
  fd->AddDouble(2.5);
  std::string text = fd->GetString();
  std::string at;
  fd->GetStringAt(at, 0);
  std::locale::global(before);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(text, "2.5") << (chosen ? chosen : "no locale");
  EXPECT_EQ(at, "2.5");
}

TEST(ValueInterface, StringAtAndCount) {
  auto cs = Make<dde::ShortText>(vr::CS, "DERIVED\\PRIMARY ");
  std::string s;
  EXPECT_EQ(cs->GetCount(), 2);
  EXPECT_TRUE(cs->GetStringAt(s, 1));
  EXPECT_EQ(s, "PRIMARY ");
  EXPECT_FALSE(cs->GetStringAt(s, 2));
  EXPECT_EQ(s, "");
  auto empty = Make<dde::ShortText>(vr::LO);
  EXPECT_EQ(empty->GetString(), "");
  EXPECT_FALSE(empty->GetStringAt(s, 0));
  EXPECT_EQ(empty->GetCount(), 0);
  auto us = Make<dde::ShortUS>(vr::US);
  us->AddUShort(7);
  EXPECT_TRUE(us->GetStringAt(s, 0));
  EXPECT_EQ(s, "7");
  EXPECT_FALSE(us->GetStringAt(s, 1));
  auto ob = Make<dde::LongBytes>(vr::OB, "12345");
  EXPECT_EQ(ob->GetCount(), 6);  // made even
  auto ow = Make<dde::LongWords>(vr::OW, "1234");
  EXPECT_EQ(ow->GetCount(), 2);
  auto lt = Make<dde::ShortChars>(vr::LT, "x");
  EXPECT_THROW(lt->GetCount(), std::logic_error);
}

TEST(ValueInterface, ReadingAcrossSignedAndUnsigned) {
  auto ss = Make<dde::ShortSS>(vr::SS);
  ss->AddShort(-5);
  EXPECT_EQ(ss->GetUShort(), 65531);
  EXPECT_EQ(ss->GetShort(), -5);
  auto usBE = Make<dde::ShortUSBE>(vr::US);
  usBE->AddUShort(65535);
  EXPECT_EQ(usBE->GetShort(), -1);
  auto sl = Make<dde::ShortSLBE>(vr::SL);
  sl->AddLong(-2);
  EXPECT_EQ(sl->GetULong(), 0xFFFFFFFEu);
  uint32_t u = 0;
  int32_t l = 0;
  EXPECT_TRUE(sl->GetULongAt(u, 0));
  EXPECT_TRUE(sl->GetLongAt(l, 0));
  EXPECT_EQ(u, 0xFFFFFFFEu);
  EXPECT_EQ(l, -2);
  auto ow = Make<dde::LongWordsBE>(vr::OW, std::string("\x12\x34", 2));
  uint16_t w = 0;
  EXPECT_TRUE(ow->GetUShortAt(w, 0));
  EXPECT_EQ(w, 0x1234);
}

TEST(ValueInterface, TypedGettersOnEmptyOrShortValuesReportFailure) {
  auto us = Make<dde::ShortUS>(vr::US);
  auto ss = Make<dde::ShortSS>(vr::SS);
  auto ul = Make<dde::ShortUL>(vr::UL);
  auto fd = Make<dde::ShortFD>(vr::FD);
  auto fl = Make<dde::ShortFL>(vr::FL);
  auto ow = Make<dde::LongWords>(vr::OW);
  auto of = Make<dde::LongLongs>(vr::OF, "1234");
  EXPECT_EQ(us->GetUShort(), 0);
  EXPECT_EQ(ss->GetShort(), 0);
  EXPECT_EQ(ul->GetULong(), 0u);
  uint16_t w = 9;
  int16_t s = 9;
  uint32_t u = 9;
  int32_t l = 9;
  float f = 9;
  double d = 9;
  EXPECT_FALSE(us->GetUShortAt(w, 0));
  EXPECT_FALSE(ss->GetShortAt(s, 0));
  EXPECT_FALSE(ul->GetULongAt(u, 0));
  EXPECT_FALSE(ul->GetLongAt(l, 0));
  EXPECT_FALSE(fl->GetFloatAt(f, 0));
  EXPECT_FALSE(fd->GetDoubleAt(d, 0));
  EXPECT_FALSE(ow->GetUShortAt(w, 0));
  EXPECT_FALSE(of->GetULongAt(u, 1));  // index equal to the count
  EXPECT_TRUE(of->GetULongAt(u, 0));
  ss->AddShort(1);
  EXPECT_FALSE(ss->GetShortAt(s, 1));
  EXPECT_FALSE(us->SetUShortAt(1, 0));
  EXPECT_FALSE(ow->SetUShortAt(1, 0));
}

TEST(ValueInterface, TypedGettersCheckTheClass) {
  auto cs = Make<dde::ShortText>(vr::CS, "12");
  auto ul = Make<dde::ShortUL>(vr::UL);
  ul->AddULong(70000);
  EXPECT_EQ(cs->GetUShort(), 0);   // a text is not read as a number
  EXPECT_EQ(ul->GetUShort(), 0);   // nor a 32-bit set as a 16-bit one
  EXPECT_EQ(cs->GetULong(), 0u);
  uint16_t w = 0;
  EXPECT_THROW(ul->GetUShortAt(w, 0), std::logic_error);
  EXPECT_THROW(cs->GetItem(), std::logic_error);
  EXPECT_THROW(cs->GetSequence(), std::logic_error);
  EXPECT_THROW(cs->GetEncapsulatedPixelData(), std::logic_error);
  EXPECT_THROW(cs->AddUShort(1), std::logic_error);
  try {
    ul->AddFloat(1);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "Assertion failed: success, file uValueInterface, line 484");
  }
  EXPECT_EQ((cs->ValueAs<TanCVSingle<uint16_t, TanLEV>>()), nullptr);
  EXPECT_NE(cs->ValueAs<TanCharArray>(), nullptr);
  EXPECT_EQ(cs->GetData(0, 2)[1], '2');
  EXPECT_EQ(ul->GetData(), nullptr);
}

TEST(ValueInterface, SettersAndAddersFollowTheHeaderLength) {
  auto ss = Make<dde::ShortSS>(vr::SS);
  ss->AddShort(4);
  ss->SetUShort(9);  // not a US value: nothing changes
  EXPECT_EQ(ss->GetShort(), 4);
  EXPECT_TRUE(ss->SetUShortAt(0xFFFF, 0));
  EXPECT_EQ(ss->GetShort(), -1);
  auto us = Make<dde::ShortUSBE>(vr::US);
  us->AddUShort(1);
  us->SetString("7");  // not a text: nothing changes
  us->SetUShort(0x0203);
  EXPECT_EQ(us->GetUShort(), 0x0203);
  EXPECT_EQ(us->Length(), 2u);
  auto ul = Make<dde::ShortULBE>(vr::UL);
  ul->AddULong(1);
  ul->SetULong(0x01020304);
  EXPECT_EQ(ul->GetULong(), 0x01020304u);
  EXPECT_TRUE(ul->SetULongAt(5, 0));
  EXPECT_EQ(ul->GetULong(), 5u);

  auto ow = Make<dde::LongWords>(vr::OW, "abcd");
  ow->AddUShort(0xBEEF);
  EXPECT_EQ(ow->Length(), 6u);
  uint16_t w = 0;
  EXPECT_TRUE(ow->GetUShortAt(w, 2));
  EXPECT_EQ(w, 0xBEEF);

  auto cs = Make<dde::ShortText>(vr::CS, "A");
  cs->AddString("B");
  EXPECT_EQ(cs->GetString(), "A\\B");
  EXPECT_EQ(cs->Length(), 4u);
  auto empty = Make<dde::ShortText>(vr::CS);
  empty->AddString("B");
  EXPECT_EQ(empty->GetString(), "B");
  EXPECT_EQ(empty->Length(), 2u);
  cs->SetString("");
  EXPECT_EQ(cs->Length(), 0u);
  auto ob = Make<dde::LongBytes>(vr::OB, "xx");
  ob->SetString("hello");
  EXPECT_EQ(ob->Length(), 6u);
  EXPECT_EQ(ob->GetString(), "hello");

  auto sl = Make<dde::ShortSL>(vr::SL);
  sl->AddULong(3).AddLong(-3);
  EXPECT_EQ(sl->GetString(), "3\\-3");
  EXPECT_EQ(sl->Length(), 8u);
}

TEST(ValueInterface, TextTooLongForA16BitLengthFieldIsRefused) {
  auto lo = Make<dde::ShortText>(vr::LO, "KEEP");
  lo->SetString(std::string(70000, 'x'));
  EXPECT_FALSE(lo->FValueInterface->IsValid());
  EXPECT_STREQ(lo->GetLastError(), TanValueBasis::kTooLongText);
  EXPECT_EQ(lo->GetString(), "KEEP");
  EXPECT_EQ(lo->Length(), 4u);
  // The explicit long form takes it.
  auto ut = Make<dde::LongChars>(vr::UT, "x");
  ut->SetString(std::string(70000, 'y'));
  EXPECT_EQ(ut->Length(), 70000u);
  EXPECT_TRUE(ut->IsValid());
}

}  // namespace
}  // namespace ORN_dicom
