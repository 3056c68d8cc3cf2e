// Decodes the bytes of a DICOM text value into wide text by the value of Specific Character
// Set (0008,0005), including the ISO 2022 code extensions in which escape sequences switch the
// character set inside a value, and encodes wide text into the bytes of a character set.
// Wide text holds Unicode code points. The converter keeps no state; make one where needed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ORN_string_utils {

class TanDicomAnsiToUnicode {
 public:
  struct ESC_SEQUENCE {
    struct type {
      unsigned char Sequence[3];  // the bytes after ESC; the third is 0 for a two-byte sequence
      const char* Term;           // the defined term the sequence designates
    };
  };

  // Where, besides an escape sequence, the character set of the first term comes back inside
  // a value (the standard has an encoder switch back before these; a decoder that does the
  // same reads values whose writer relied on it).
  enum class TTextKind {
    Text,        // SH, LO, UC and other multi-valued texts: at "\" and control characters
    LongText,    // ST, LT, UT (one value, "\" is a character): at control characters
    PersonName,  // PN: at "\", at "=" between component groups, "^" and control characters
  };

  // A run of value bytes decoded with one character set: bytes [Begin, End) of the value.
  struct TSegment {
    size_t Begin = 0;
    size_t End = 0;
    std::string Term;
    bool Escaped = false;  // opened by the term's escape sequence
    bool Empty() const { return End <= Begin; }
  };

  std::wstring Decode(const std::string& characterSet, const char* bytes, int64_t count,
                      TTextKind kind = TTextKind::Text) const;
  std::string EncodeUtf8(const wchar_t* text, int64_t count) const;
  std::string Encode(const std::string& term, const wchar_t* text, int64_t count) const;

  // Windows code page of a defined term, 0 for the ANSI code page.
  uint16_t GetCodePage(const std::string& term) const;

  std::vector<std::string> SplitTerms(const std::string& characterSet) const;
  std::vector<TSegment> SplitSegments(const char* bytes, int64_t count,
                                      const std::vector<std::string>& terms,
                                      TTextKind kind = TTextKind::Text) const;
  bool FindEscapeSequence(const std::string& term, ESC_SEQUENCE::type& entry) const;

  std::wstring DecodeByTerm(const std::string& term, const char* bytes, int64_t count) const;
  std::wstring ToWide(uint32_t codePage, const char* bytes, int64_t count) const;
  std::string ToMultiByte(uint32_t codePage, const wchar_t* text, int64_t count) const;

  // The 15 escape sequences the decoder knows, one per defined term.
  static std::span<const ESC_SEQUENCE::type> EscapeTable();
};

}  // namespace ORN_string_utils
