#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"

namespace {

using ORN_string_utils::TanDicomAnsiToUnicode;
using Kind = TanDicomAnsiToUnicode::TTextKind;

std::wstring Decode(const std::string& characterSet, const std::string& bytes,
                    Kind kind = Kind::Text) {
  return TanDicomAnsiToUnicode().Decode(characterSet, bytes.data(),
                                        static_cast<int64_t>(bytes.size()), kind);
}

TEST(GetCodePage, FollowsTheTermTable) {
  const struct {
    const char* term;
    uint16_t codePage;
  } cases[] = {{"ISO_IR 138", 28598}, {"ISO_IR 13", 50222},        {"ISO 2022 IR 138", 28598},
               {" ISO_IR 100 ", 28591}, {"ISO_IR 6", 0},           {"", 0},
               {"GB18030", 936},      {"ISO 2022 IR 87", 50220},   {"ISO 2022 IR 159", 50221},
               {"ISO 2022 IR 149", 50225}, {"ISO_IR 166", 874},    {"ISO_IR 192", 65001},
               {"unknown", 0}};
  TanDicomAnsiToUnicode converter;
  for (const auto& c : cases) EXPECT_EQ(converter.GetCodePage(c.term), c.codePage) << c.term;
}

TEST(SplitTerms, GivesTheDefinedTermsInOrder) {
  using Terms = std::vector<std::string>;
  const struct {
    const char* value;
    Terms terms;
  } cases[] = {
      {"", {"ISO_IR 6", ""}},
      {"   ", {"ISO_IR 6", ""}},
      {"ISO_IR 100", {"ISO_IR 100"}},
      {" ISO_IR 100 ", {"ISO_IR 100"}},
      {"\\ISO 2022 IR 149", {"ISO_IR 6", "ISO 2022 IR 149"}},
      {"ISO 2022 IR 6\\ISO 2022 IR 87", {"ISO 2022 IR 6", "ISO 2022 IR 87"}},
      {"ISO 2022 IR 13 \\ ISO 2022 IR 87 ", {"ISO 2022 IR 13", "ISO 2022 IR 87"}},
      {"ISO 2022 IR 100\\", {"ISO 2022 IR 100", ""}},
      {"\\\\ISO 2022 IR 87", {"ISO_IR 6", "", "ISO 2022 IR 87"}},
  };
  TanDicomAnsiToUnicode converter;
  for (const auto& c : cases) EXPECT_EQ(converter.SplitTerms(c.value), c.terms) << c.value;
}

TEST(FindEscapeSequence, MatchesTheTermExactly) {
  TanDicomAnsiToUnicode converter;
  TanDicomAnsiToUnicode::ESC_SEQUENCE::type entry{};
  ASSERT_TRUE(converter.FindEscapeSequence("ISO 2022 IR 159", entry));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.Sequence), 3), "$(D");
  ASSERT_TRUE(converter.FindEscapeSequence("ISO 2022 IR 13", entry));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.Sequence), 3), std::string(")I\0", 3));
  for (const char* term : {"ISO_IR 100", " ISO 2022 IR 87", "ISO 2022 IR 8", "ISO_IR 6", ""}) {
    EXPECT_FALSE(converter.FindEscapeSequence(term, entry)) << term;
  }
  // Every entry is found by its own term, and no two entries share a sequence or a term.
  std::set<std::string> sequences, terms;
  for (const auto& e : TanDicomAnsiToUnicode::EscapeTable()) {
    ASSERT_TRUE(converter.FindEscapeSequence(e.Term, entry)) << e.Term;
    sequences.insert(std::string(reinterpret_cast<const char*>(e.Sequence), 3));
    terms.insert(e.Term);
  }
  EXPECT_EQ(TanDicomAnsiToUnicode::EscapeTable().size(), 15u);
  EXPECT_EQ(sequences.size(), 15u);
  EXPECT_EQ(terms.size(), 15u);
}

struct SegmentCase {
  const char* name;
  std::string characterSet;
  std::string bytes;
  Kind kind;
  // begin, end, term, escaped of every segment
  std::vector<std::tuple<size_t, size_t, std::string, bool>> segments;
};

void PrintTo(const SegmentCase& c, std::ostream* os) { *os << c.name; }

class SplitSegmentsTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SplitSegmentsTest, CutsTheValueAtEscapesAndDelimiters) {
  TanDicomAnsiToUnicode converter;
  const SegmentCase& c = GetParam();
  const auto segments =
      converter.SplitSegments(c.bytes.data(), static_cast<int64_t>(c.bytes.size()),
                              converter.SplitTerms(c.characterSet), c.kind);
  std::vector<std::tuple<size_t, size_t, std::string, bool>> got;
  for (const auto& s : segments) got.emplace_back(s.Begin, s.End, s.Term, s.Escaped);
  EXPECT_EQ(got, c.segments);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SplitSegmentsTest,
    ::testing::Values(
        SegmentCase{"no_bytes", "\\ISO 2022 IR 100", "", Kind::Text, {}},
        SegmentCase{"escape_opens_segment", "\\ISO 2022 IR 100", "AB\x1b-A\xe9", Kind::Text,
                    {{0, 2, "ISO_IR 6", false}, {5, 6, "ISO 2022 IR 100", true}}},
        SegmentCase{"leading_escape_reuses_empty_segment", "\\ISO 2022 IR 87", "\x1b$B;3", Kind::Text,
                    {{3, 5, "ISO 2022 IR 87", true}}},
        SegmentCase{"unlisted_escape_stays", "ISO 2022 IR 6\\ISO 2022 IR 100", "x\x1b-By", Kind::Text,
                    {{0, 5, "ISO 2022 IR 6", false}}},
        SegmentCase{"blanks_and_nuls_trimmed", "\\ISO 2022 IR 100", std::string(" \0a \0", 5), Kind::Text,
                    {{2, 3, "ISO_IR 6", false}}},
        SegmentCase{"blanks_only_keep_last_byte", "\\ISO 2022 IR 100", "   ", Kind::Text,
                    {{2, 3, "ISO_IR 6", false}}},
        SegmentCase{"escape_at_the_end_opens_empty_segment", "\\ISO 2022 IR 87", "ab\x1b$B", Kind::Text,
                    {{0, 2, "ISO_IR 6", false}, {5, 5, "ISO 2022 IR 87", true}}},
        SegmentCase{"escape_cut_short_stays", "\\ISO 2022 IR 159", "ab\x1b$(", Kind::Text,
                    {{0, 5, "ISO_IR 6", false}}},
        SegmentCase{"esc_paren_b_returns_to_the_default_set", "\\ISO 2022 IR 149",
                    "\x1b$)C\xb1\xe8\x1b(Bx", Kind::Text,
                    {{4, 6, "ISO 2022 IR 149", true}, {9, 10, "ISO_IR 6", true}}},
        SegmentCase{"backslash_ends_a_single_byte_set", "\\ISO 2022 IR 100", "\x1b-A\xe9\\\xe9", Kind::Text,
                    {{3, 4, "ISO 2022 IR 100", true}, {4, 6, "ISO_IR 6", false}}},
        SegmentCase{"backslash_is_a_character_of_long_text", "\\ISO 2022 IR 100", "\x1b-A\xe9\\\xe9",
                    Kind::LongText, {{3, 6, "ISO 2022 IR 100", true}}},
        SegmentCase{"caret_ends_a_set_in_person_names", "\\ISO 2022 IR 149", "\x1b$)C\xb1\xe8^\xb1\xe8",
                    Kind::PersonName, {{4, 6, "ISO 2022 IR 149", true}, {6, 9, "ISO_IR 6", false}}},
        SegmentCase{"caret_inside_kanji_is_no_delimiter", "\\ISO 2022 IR 87", "\x1b$B$^$@", Kind::PersonName,
                    {{3, 7, "ISO 2022 IR 87", true}}},
        SegmentCase{"newline_ends_kanji", "\\ISO 2022 IR 87", "\x1b$B;3\n;3", Kind::LongText,
                    {{3, 5, "ISO 2022 IR 87", true}, {5, 8, "ISO_IR 6", false}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
  const char* name;
  std::string characterSet;
  std::string bytes;
  Kind kind;
  std::wstring text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesTheText) {
  EXPECT_EQ(Decode(GetParam().characterSet, GetParam().bytes, GetParam().kind), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DecodeTest,
    ::testing::Values(
        // one term: every byte with that term's code page
        DecodeCase{"utf8", "ISO_IR 192", "\xc3\xa9", Kind::Text, L"\u00e9"},
        DecodeCase{"latin1", "ISO_IR 100", "\xe9", Kind::Text, L"\u00e9"},
        DecodeCase{"no_character_set_is_ansi", "", "\x80", Kind::Text, L"\u20ac"},
        DecodeCase{"unknown_term_is_ansi", "FOO", "\x80\xe9", Kind::Text, L"\u20ac\u00e9"},
        DecodeCase{"one_term_keeps_blanks", "ISO_IR 100", std::string(" a \0", 4), Kind::Text,
                   std::wstring(L" a \0", 4)},
        DecodeCase{"hebrew_not_katakana", "ISO_IR 138", "\xf9", Kind::Text, L"\u05e9"},
        DecodeCase{"katakana", "ISO_IR 13", "\xd4\xcf", Kind::Text, L"\uff94\uff8f"},
        DecodeCase{"thai", "ISO_IR 166", "\xa1", Kind::Text, L"\u0e01"},
        DecodeCase{"gb18030", "GB18030", "\xcd\xf5^\xd0\xa1", Kind::PersonName, L"\u738b^\u5c0f"},
        DecodeCase{"empty", "ISO_IR 100", "", Kind::Text, L""},
        // failed conversions keep the bytes as replacement characters
        DecodeCase{"invalid_utf8", "ISO_IR 192", "a\xff" "b", Kind::Text, L"a\ufffd" L"b"},
        DecodeCase{"arabic_undefined_byte", "ISO_IR 127", "\xa1", Kind::Text, L"\ufffd"},
        // two or more terms: segments between escape sequences
        DecodeCase{"escape_switches_set", "\\ISO 2022 IR 100", "AB\x1b-A\xe9", Kind::Text,
                   L"AB\u00e9"},
        DecodeCase{"unlisted_escape_stays_as_text", "ISO 2022 IR 6\\ISO 2022 IR 100", "x\x1b-By",
                   Kind::Text, L"x\x1b-By"},
        DecodeCase{"blanks_dropped", "\\ISO 2022 IR 100", std::string(" \0a\x1b-A\xe9 \0", 9),
                   Kind::Text, L"a\u00e9"},
        DecodeCase{"escape_at_the_very_end", "\\ISO 2022 IR 87", "ab\x1b$B", Kind::Text, L"ab"},
        DecodeCase{"escape_cut_short", "\\ISO 2022 IR 87", "ab\x1b$", Kind::Text, L"ab\x1b$"},
        DecodeCase{"jis_person_name", "\\ISO 2022 IR 87",
                   "Yamada^Tarou=\x1b$B;3ED\x1b(B^\x1b$BB@O:\x1b(B=\x1b$B$d$^$@\x1b(B^\x1b$B$?$m$&\x1b(B",
                   Kind::PersonName,
                   L"Yamada^Tarou=\u5c71\u7530^\u592a\u90ce=\u3084\u307e\u3060^\u305f\u308d\u3046"},
        DecodeCase{"katakana_and_kanji", "ISO 2022 IR 13\\ISO 2022 IR 87",
                   "\xd4\xcf\xc0\xde^\xc0\xdb\xb3=\x1b$B;3ED\x1b(J^\x1b$BB@O:\x1b(J", Kind::PersonName,
                   L"\uff94\uff8f\uff80\uff9e^\uff80\uff9b\uff73=\u5c71\u7530^\u592a\u90ce"},
        DecodeCase{"jis_x_0212", "\\ISO 2022 IR 159", "a\x1b$(D\x30\x21\x1b(Bb", Kind::Text,
                   L"a\u4e02" L"b"},
        DecodeCase{"korean_person_name", "\\ISO 2022 IR 149",
                   "Hong^Gildong=\x1b$)C\xfb\xf3^\x1b$)C\xd1\xce\xd4\xd7=\x1b$)C\xc8\xab^\x1b$)C\xb1\xe6\xb5\xbf",
                   Kind::PersonName, L"Hong^Gildong=\u6d2a^\u5409\u6d1e=\ud64d^\uae38\ub3d9"},
        DecodeCase{"korean_back_to_ascii", "\\ISO 2022 IR 149", "\x1b$)C\xb1\xe8\x1b(B x",
                   Kind::Text, L"\uae40 x"},
        DecodeCase{"esc_paren_b_returns_to_the_default_set", "\\ISO 2022 IR 144",
                   "\x1b-L\xbb\x1b(B\xbb", Kind::Text, L"\u041b\u00bb"},
        DecodeCase{"latin_greek", "ISO 2022 IR 100\\ISO 2022 IR 126", "\xe9\x1b-F\xc4\x1b-A\xe9",
                   Kind::Text, L"\u00e9\u0394\u00e9"},
        // the first set comes back at delimiters (here ANSI reads BB as U+00BB)
        DecodeCase{"backslash_resets", "\\ISO 2022 IR 144", "\x1b-L\xbb\\\xbb", Kind::Text,
                   L"\u041b\\\u00bb"},
        DecodeCase{"long_text_keeps_set_over_backslash", "\\ISO 2022 IR 144", "\x1b-L\xbb\\\xbb",
                   Kind::LongText, L"\u041b\\\u041b"},
        DecodeCase{"line_end_resets", "\\ISO 2022 IR 144", "\x1b-L\xbb\r\n\xbb", Kind::LongText,
                   L"\u041b\r\n\u00bb"},
        DecodeCase{"caret_resets_person_name", "\\ISO 2022 IR 144", "\x1b-L\xbb^\xbb=\x1b-L\xbb",
                   Kind::PersonName, L"\u041b^\u00bb=\u041b"},
        DecodeCase{"caret_is_text_in_other_values", "\\ISO 2022 IR 144", "\x1b-L\xbb^\xbb",
                   Kind::Text, L"\u041b^\u041b"},
        DecodeCase{"newline_ends_kanji", "\\ISO 2022 IR 87", "\x1b$B;3\n;3", Kind::LongText,
                   L"\u5c71\n;3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decode, ValueOfBackslashesAndBlanksGivesNoCrash) {
  // Every split of a short value full of escape starts and delimiters stays inside the bytes.
  const std::string bytes = "\x1b$)C\x1b\x1b$\\^=\x1b";
  for (size_t n = 0; n <= bytes.size(); ++n) {
    const std::wstring text = Decode("\\ISO 2022 IR 149\\ISO 2022 IR 87", bytes.substr(0, n),
                                     Kind::PersonName);
    EXPECT_LE(text.size(), n + 1);
  }
}

TEST(ToWide, CodePageThisPlatformLacksStillShowsTheBytes) {
  TanDicomAnsiToUnicode converter;
  EXPECT_EQ(converter.ToWide(437, "ab\xe9", 3), L"ab\u00e9");
  EXPECT_EQ(converter.ToWide(65001, "ab", 0), L"");
  EXPECT_EQ(converter.ToWide(65001, "ab", -1), L"");
  EXPECT_EQ(converter.DecodeByTerm("ISO_IR 100", "\xe9", 0), L"");
  EXPECT_EQ(converter.ToMultiByte(437, L"ab\u00e9", 3), "ab\xe9");
}

TEST(Encode, WritesTheCodePageOfTheTerm) {
  TanDicomAnsiToUnicode converter;
  const std::wstring name = L"J\u00e9r\u00f4me";
  EXPECT_EQ(converter.EncodeUtf8(name.data(), name.size()), "J\xc3\xa9r\xc3\xb4me");
  EXPECT_EQ(converter.Encode("ISO_IR 100", name.data(), name.size()), "J\xe9r\xf4me");
  EXPECT_EQ(converter.Encode("unknown", name.data(), name.size()), "J\xe9r\xf4me");
  EXPECT_EQ(converter.Encode("ISO_IR 144", name.data(), name.size()), "J?r?me");
  const std::wstring kanji = L"\u5c71\u7530";
  EXPECT_EQ(converter.Encode("ISO 2022 IR 87", kanji.data(), kanji.size()), "\x1b$B;3ED\x1b(B");
  EXPECT_EQ(converter.EncodeUtf8(nullptr, 3), "");
  EXPECT_EQ(converter.EncodeUtf8(name.data(), 0), "");
  EXPECT_EQ(converter.Encode("ISO_IR 100", name.data(), -1), "");
}

TEST(Encode, DecodesBackToTheSameText) {
  TanDicomAnsiToUnicode converter;
  const struct {
    const char* term;
    std::wstring text;
  } cases[] = {{"ISO_IR 192", L"\u738b^\u5c0f\u6771"}, {"ISO_IR 126", L"\u0394\u03b9\u03bf"},
               {"GB18030", L"\u738b^\u5c0f\u4e1c"},    {"ISO_IR 13", L"\uff94\uff8f\uff80"},
               {"ISO 2022 IR 149", L"\uae40\ud76c"},   {"ISO_IR 166", L"\u0e01"}};
  for (const auto& c : cases) {
    const std::string bytes = converter.Encode(c.term, c.text.data(), c.text.size());
    EXPECT_EQ(Decode(c.term, bytes), c.text) << c.term;
  }
}

}  // namespace
