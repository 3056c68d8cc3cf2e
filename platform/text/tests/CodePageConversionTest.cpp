#include <gtest/gtest.h>

#include <string>

#include "platform/core/LastError.h"
#include "platform/text/CodePageConversion.h"

namespace {

struct DecodeCase {
  const char* name;
  uint32_t codePage;
  std::string bytes;
  std::wstring text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesCodePoints) {
  std::wstring text;
  ASSERT_TRUE(platform::MultiByteToWide(GetParam().codePage, GetParam().bytes, text));
  EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, DecodeTest,
    ::testing::Values(
        DecodeCase{"ansi_is_1252", 0, "a\x80\xe9", L"a\u20ac\u00e9"},
        DecodeCase{"holes_of_1252_kept_as_c1", 0, "\x81\x8d\x8f\x90\x9d", L"\u0081\u008d\u008f\u0090\u009d"},
        DecodeCase{"latin1", 28591, "\x80\xe9", L"\u0080\u00e9"},
        DecodeCase{"latin2", 28592, "\xb1", L"\u0105"},
        DecodeCase{"cyrillic", 28595, "\xbb\xde", L"\u041b\u043e"},
        DecodeCase{"arabic_undefined_byte", 28596, "\xa1", L"\ufffd"},
        DecodeCase{"greek", 28597, "\xc4", L"\u0394"},
        DecodeCase{"hebrew", 28598, "\xf9", L"\u05e9"},
        DecodeCase{"turkish", 28599, "\xdd", L"\u0130"},
        DecodeCase{"thai", 874, "\xa1", L"\u0e01"},
        DecodeCase{"gbk", 936, "\xcd\xf5", L"\u738b"},
        DecodeCase{"gb18030_four_bytes", 936, "\x81\x30\x81\x30", L"\u0080"},
        DecodeCase{"utf8", 65001, "\xc3\xa9\xe7\x8e\x8b", L"\u00e9\u738b"},
        DecodeCase{"utf8_invalid_byte", 65001, "a\xffz", L"a\ufffdz"},
        DecodeCase{"utf8_cut_short", 65001, "a\xe7\x8e", L"a\ufffd"},
        DecodeCase{"jis_x_0208", 50220, "\x1b$B;3ED\x1b(B^", L"\u5c71\u7530^"},
        DecodeCase{"jis_x_0212", 50221, "\x1b$(D\x30\x21", L"\u4e02"},
        DecodeCase{"jis_roman", 50220, "\x1b(J^", L"^"},
        DecodeCase{"kana_8bit", 50222, "\xd4\xcf\xc0\xde", L"\uff94\uff8f\uff80\uff9e"},
        DecodeCase{"kana_esc_i", 50221, "\x1b(I\x54\x1b(Ba", L"\uff94a"},
        DecodeCase{"kana_so_si", 50222, "\x0e\x54\x0f\x54", L"\uff94T"},
        DecodeCase{"kana_after_kanji", 50220, "\x1b$B;3\x1b(I\x54 ", L"\u5c71\uff94 "},
        DecodeCase{"korean_8bit", 50225, "\x1b$)C\xb1\xe8", L"\uae40"},
        DecodeCase{"korean_shifted", 50225, "\x1b$)C\x0e\x31\x68\x0f" "a", L"\uae40a"},
        DecodeCase{"korean_back_to_ascii", 50225, "\x1b$)C\xb1\xe8\x1b(B ", L"\uae40 "},
        DecodeCase{"korean_invalid_pair", 50225, "\xff", L"\ufffd"},
        DecodeCase{"ascii_fast_path", 50220, "Yamada^Tarou", L"Yamada^Tarou"},
        DecodeCase{"empty", 65001, "", L""}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
  const char* name;
  uint32_t codePage;
  std::wstring text;
  std::string bytes;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class EncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTest, GivesBytes) {
  std::string bytes;
  ASSERT_TRUE(platform::WideToMultiByte(GetParam().codePage, GetParam().text, bytes));
  EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, EncodeTest,
    ::testing::Values(
        EncodeCase{"ansi", 0, L"\u20ac\u00e9\u0081", "\x80\xe9\x81"},
        EncodeCase{"ansi_lacks_kanji", 0, L"a\u5c71b", "a?b"},
        EncodeCase{"latin1", 28591, L"J\u00e9r\u00f4me", "J\xe9r\xf4me"},
        EncodeCase{"utf8", 65001, L"\u738b", "\xe7\x8e\x8b"},
        EncodeCase{"utf8_lone_surrogate", 65001, std::wstring(1, wchar_t(0xD800)), "\xef\xbf\xbd"},
        EncodeCase{"gbk", 936, L"\u738b", "\xcd\xf5"},
        EncodeCase{"jis_returns_to_ascii", 50220, L"\u5c71\u7530^", "\x1b$B;3ED\x1b(B^"},
        EncodeCase{"jis_lacking_char_in_ascii", 50220, L"\u5c71\u00e9", "\x1b$B;3\x1b(B?"},
        EncodeCase{"kana_50220", 50220, L"\uff94", "?"},
        EncodeCase{"kana_50221", 50221, L"\uff94a", "\x1b(I\x54\x1b(Ba"},
        EncodeCase{"kana_50222", 50222, L"\uff94a", "\x0e\x54\x0f" "a"},
        EncodeCase{"korean", 50225, L"\uae40", "\x1b$)C\x0e\x31\x68\x0f"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePageConversion, RoundTripsEveryCodePage) {
  const struct {
    uint32_t codePage;
    std::wstring text;
  } cases[] = {{0, L"Caf\u00e9 \u20ac"},       {28591, L"\u00c4neas"}, {28597, L"\u0394\u03b9"},
               {874, L"\u0e01\u0e02"},         {936, L"\u738b\u5c0f\u4e1c"},
               {65001, L"\U0001F600 \u00e9"},  {50220, L"\u3084\u307e\u3060^\u305f"},
               {50221, L"\uff94\uff8f\u5c71"}, {50222, L"\uff94\uff8f\u5c71"},
               {50225, L"\ud64d\uae38\ub3d9"}};
  for (const auto& c : cases) {
    std::string bytes;
    std::wstring back;
    ASSERT_TRUE(platform::WideToMultiByte(c.codePage, c.text, bytes)) << c.codePage;
    ASSERT_TRUE(platform::MultiByteToWide(c.codePage, bytes, back)) << c.codePage;
    EXPECT_EQ(back, c.text) << c.codePage;
  }
}

TEST(CodePageConversion, RefusesCodePagesThisPlatformLacks) {
  for (uint32_t codePage : {1u, 437u, 54936u, 99999u}) {
    std::wstring text = L"x";
    std::string bytes = "x";
    platform::SetLastError(0);
    EXPECT_FALSE(platform::MultiByteToWide(codePage, "abc", text)) << codePage;
    EXPECT_EQ(platform::GetLastError(), platform::err::InvalidParameter);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(platform::WideToMultiByte(codePage, L"abc", bytes)) << codePage;
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(platform::CodePageDecoderName(codePage), nullptr);
  }
  EXPECT_STREQ(platform::CodePageDecoderName(0), "CP1252");
}

}  // namespace
