#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"

#include <cstring>

#include "base/text/CodePageDecode.h"
#include "platform/text/CodePageConversion.h"

namespace ORN_string_utils {

namespace {

using Entry = TanDicomAnsiToUnicode::ESC_SEQUENCE::type;
using TextKind = TanDicomAnsiToUnicode::TTextKind;

constexpr Entry kEscapeTable[] = {
    {{0x28, 0x42, 0}, "ISO 2022 IR 6"},       {{0x2D, 0x41, 0}, "ISO 2022 IR 100"},
    {{0x2D, 0x42, 0}, "ISO 2022 IR 101"},     {{0x2D, 0x43, 0}, "ISO 2022 IR 109"},
    {{0x2D, 0x44, 0}, "ISO 2022 IR 110"},     {{0x2D, 0x4C, 0}, "ISO 2022 IR 144"},
    {{0x2D, 0x47, 0}, "ISO 2022 IR 127"},     {{0x2D, 0x46, 0}, "ISO 2022 IR 126"},
    {{0x2D, 0x48, 0}, "ISO 2022 IR 138"},     {{0x2D, 0x4D, 0}, "ISO 2022 IR 148"},
    {{0x29, 0x49, 0}, "ISO 2022 IR 13"},      {{0x2D, 0x54, 0}, "ISO 2022 IR 166"},
    {{0x24, 0x42, 0}, "ISO 2022 IR 87"},      {{0x24, 0x28, 0x44}, "ISO 2022 IR 159"},
    {{0x24, 0x29, 0x43}, "ISO 2022 IR 149"},
};
static_assert(std::size(kEscapeTable) == 15);

constexpr unsigned char kEsc = 0x1B;
// The term SplitTerms puts for an empty first value: the default repertoire.
const char kDefaultTerm[] = "ISO_IR 6";

size_t SequenceLength(const Entry& e) { return e.Sequence[2] ? 3 : 2; }

// A multi-byte set (its sequence begins with "$"): its bytes only decode after its escape.
bool IsMultiByte(const Entry& e) { return e.Sequence[0] == 0x24; }

// A multi-byte set in G0 ("$B", "$(D"): its byte pairs use 21..7E, so "\", "=" and "^"
// inside it may be halves of a character and are no delimiters.
bool IsMultiByteG0(const Entry& e) { return IsMultiByte(e) && e.Sequence[1] != 0x29; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

bool IsDelimiter(unsigned char c, TextKind kind) {
  if (c < 0x20) return c != kEsc;
  if (kind == TextKind::LongText) return false;
  if (c == '\\') return true;
  return kind == TextKind::PersonName && (c == '=' || c == '^');
}

bool IsBlank(char c) { return c == ' ' || c == '\0'; }

}  // namespace

std::span<const TanDicomAnsiToUnicode::ESC_SEQUENCE::type> TanDicomAnsiToUnicode::EscapeTable() {
  return kEscapeTable;
}

uint16_t TanDicomAnsiToUnicode::GetCodePage(const std::string& term) const {
  // The base library's lookup has the same rows in the same order.
  return CodePageDecode<std::string>().GetCodePage(term);
}

bool TanDicomAnsiToUnicode::FindEscapeSequence(const std::string& term,
                                               ESC_SEQUENCE::type& entry) const {
  for (const Entry& e : kEscapeTable) {
    if (term == e.Term) {
      entry = e;
      return true;
    }
  }
  return false;
}

std::vector<std::string> TanDicomAnsiToUnicode::SplitTerms(const std::string& characterSet) const {
  std::vector<std::string> terms;
  std::string rest = Trim(characterSet);
  if (rest.empty()) {
    terms.emplace_back(kDefaultTerm);
  } else if (rest[0] == '\\') {
    terms.emplace_back(kDefaultTerm);
    rest.erase(0, 1);
  }
  for (size_t slash; (slash = rest.find('\\')) != std::string::npos;) {
    terms.push_back(Trim(rest.substr(0, slash)));
    rest.erase(0, slash + 1);
  }
  terms.push_back(Trim(rest));
  return terms;
}

std::vector<TanDicomAnsiToUnicode::TSegment> TanDicomAnsiToUnicode::SplitSegments(
    const char* bytes, int64_t count, const std::vector<std::string>& terms,
    TTextKind kind) const {
  std::vector<TSegment> segments;
  if (!bytes || count <= 0) return segments;
  const size_t n = static_cast<size_t>(count);
  size_t first = 0, end = n;
  while (first + 1 < n && IsBlank(bytes[first])) ++first;
  while (end - 1 > first && IsBlank(bytes[end - 1])) --end;

  const std::string firstTerm = terms.empty() ? std::string() : terms.front();
  // The escape sequence of each listed term, found once. The default repertoire that an
  // empty first value stands for comes back with ESC ( B, as ISO 2022 IR 6 does.
  std::vector<std::pair<const std::string*, Entry>> escapes;
  for (const std::string& term : terms) {
    Entry e;
    if (FindEscapeSequence(term == kDefaultTerm ? "ISO 2022 IR 6" : term, e)) {
      escapes.emplace_back(&term, e);
    }
  }

  segments.push_back({first, first, firstTerm, false});
  Entry current{};
  size_t i = first;
  while (i < end) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == kEsc) {
      const std::pair<const std::string*, Entry>* match = nullptr;
      for (const auto& candidate : escapes) {
        const size_t len = SequenceLength(candidate.second);
        if (i + len < end && std::memcmp(bytes + i + 1, candidate.second.Sequence, len) == 0) {
          match = &candidate;
          break;
        }
      }
      if (match) {
        const size_t begin = i + 1 + SequenceLength(match->second);
        if (!segments.back().Empty()) segments.push_back({});
        segments.back() = {begin, begin, *match->first, true};
        current = match->second;
        i = begin;
        continue;
      }
    } else if (segments.back().Escaped && IsDelimiter(c, kind) &&
               (c < 0x20 || !IsMultiByteG0(current))) {
      // The first term's set is in force again from the delimiter on.
      if (!segments.back().Empty()) segments.push_back({});
      segments.back() = {i, i, firstTerm, false};
    }
    segments.back().End = ++i;
  }
  return segments;
}

std::wstring TanDicomAnsiToUnicode::Decode(const std::string& characterSet, const char* bytes,
                                           int64_t count, TTextKind kind) const {
  if (!bytes || count <= 0) return std::wstring();
  const std::vector<std::string> terms = SplitTerms(characterSet);
  if (terms.size() == 1) return DecodeByTerm(terms.front(), bytes, count);

  // What each term needs, found once per value rather than once per segment.
  struct TermInfo {
    uint16_t codePage;
    bool multiByte;
    Entry entry;
  };
  std::vector<TermInfo> infos(terms.size());
  for (size_t t = 0; t < terms.size(); ++t) {
    infos[t].codePage = GetCodePage(terms[t]);
    infos[t].multiByte = FindEscapeSequence(terms[t], infos[t].entry) && IsMultiByte(infos[t].entry);
  }

  std::wstring text;
  std::string escaped;
  for (const TSegment& segment : SplitSegments(bytes, count, terms, kind)) {
    if (segment.Empty()) continue;
    const char* p = bytes + segment.Begin;
    const size_t n = segment.End - segment.Begin;
    size_t t = 0;
    while (t + 1 < terms.size() && terms[t] != segment.Term) ++t;
    const TermInfo& info = infos[t];
    if (segment.Escaped && info.multiByte) {
      // The ISO 2022 converters of the multi-byte sets read their bytes only after the
      // escape sequence that designates them, so it goes along with the segment.
      escaped.assign(1, static_cast<char>(kEsc));
      escaped.append(reinterpret_cast<const char*>(info.entry.Sequence), SequenceLength(info.entry));
      escaped.append(p, n);
      text += ToWide(info.codePage, escaped.data(), static_cast<int64_t>(escaped.size()));
    } else {
      text += ToWide(info.codePage, p, static_cast<int64_t>(n));
    }
  }
  return text;
}

std::wstring TanDicomAnsiToUnicode::DecodeByTerm(const std::string& term, const char* bytes,
                                                 int64_t count) const {
  if (!bytes || count <= 0) return std::wstring();
  return ToWide(GetCodePage(term), bytes, count);
}

std::wstring TanDicomAnsiToUnicode::ToWide(uint32_t codePage, const char* bytes,
                                           int64_t count) const {
  std::wstring text;
  if (!bytes || count <= 0) return text;
  const std::string_view view(bytes, static_cast<size_t>(count));
  // A code page this platform lacks still shows the bytes, read in the ANSI code page.
  if (!platform::MultiByteToWide(codePage, view, text)) platform::MultiByteToWide(0, view, text);
  return text;
}

std::string TanDicomAnsiToUnicode::ToMultiByte(uint32_t codePage, const wchar_t* text,
                                               int64_t count) const {
  std::string bytes;
  if (!text || count <= 0) return bytes;
  const std::wstring_view view(text, static_cast<size_t>(count));
  if (!platform::WideToMultiByte(codePage, view, bytes)) platform::WideToMultiByte(0, view, bytes);
  return bytes;
}

std::string TanDicomAnsiToUnicode::EncodeUtf8(const wchar_t* text, int64_t count) const {
  return Encode("ISO_IR 192", text, count);
}

std::string TanDicomAnsiToUnicode::Encode(const std::string& term, const wchar_t* text,
                                          int64_t count) const {
  if (!text || count <= 0) return std::string();
  return ToMultiByte(GetCodePage(term), text, count);
}

}  // namespace ORN_string_utils
