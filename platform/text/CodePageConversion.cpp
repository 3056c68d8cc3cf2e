#include "platform/text/CodePageConversion.h"

#include <cerrno>
#include <iconv.h>

#include <array>
#include <iterator>
#include <string>

#include "platform/core/LastError.h"

namespace platform {

namespace {

enum class Kind { Plain, Windows1252, Iso2022Jp, Iso2022Kr };

struct CodePageInfo {
  uint32_t codePage;
  const char* decoder;
  const char* encoder;
  Kind kind;
};

const CodePageInfo kCodePages[] = {
    {0, "CP1252", "CP1252", Kind::Windows1252},
    {1252, "CP1252", "CP1252", Kind::Windows1252},
    {28591, "ISO-8859-1", "ISO-8859-1", Kind::Plain},
    {28592, "ISO-8859-2", "ISO-8859-2", Kind::Plain},
    {28593, "ISO-8859-3", "ISO-8859-3", Kind::Plain},
    {28594, "ISO-8859-4", "ISO-8859-4", Kind::Plain},
    {28595, "ISO-8859-5", "ISO-8859-5", Kind::Plain},
    {28596, "ISO-8859-6", "ISO-8859-6", Kind::Plain},
    {28597, "ISO-8859-7", "ISO-8859-7", Kind::Plain},
    {28598, "ISO-8859-8", "ISO-8859-8", Kind::Plain},
    {28599, "ISO-8859-9", "ISO-8859-9", Kind::Plain},
    {874, "CP874", "CP874", Kind::Plain},
    {936, "GB18030", "CP936", Kind::Plain},
    {65001, "UTF-8", "UTF-8", Kind::Plain},
    {50220, "ISO-2022-JP-2", "ISO-2022-JP", Kind::Iso2022Jp},
    {50221, "ISO-2022-JP-2", "ISO-2022-JP", Kind::Iso2022Jp},
    {50222, "ISO-2022-JP-2", "ISO-2022-JP", Kind::Iso2022Jp},
    {50225, "EUC-KR", "ISO-2022-KR", Kind::Iso2022Kr},
};

const CodePageInfo* Find(uint32_t codePage) {
  for (const CodePageInfo& info : kCodePages) {
    if (info.codePage == codePage) return &info;
  }
  return nullptr;
}

constexpr wchar_t kReplacement = 0xFFFD;
constexpr unsigned char kEsc = 0x1B, kShiftOut = 0x0E, kShiftIn = 0x0F;

// Opening a converter costs far more than a short text, so each thread keeps the ones it
// used, one per code page and direction; a descriptor is reset to its initial shift state
// before every use.
class ConverterCache {
 public:
  ~ConverterCache() {
    for (auto& pair : FConverters) {
      for (iconv_t cd : pair) {
        if (cd != kNone) iconv_close(cd);
      }
    }
  }

  iconv_t Get(const CodePageInfo& info, bool decode) {
    iconv_t& cd = FConverters[&info - kCodePages][decode ? 0 : 1];
    if (cd == kNone) {
      cd = decode ? iconv_open("WCHAR_T", info.decoder) : iconv_open(info.encoder, "WCHAR_T");
      if (cd == kNone) return cd;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
  }

 private:
  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
  std::array<std::array<iconv_t, 2>, std::size(kCodePages)> FConverters = MakeEmpty();

  static std::array<std::array<iconv_t, 2>, std::size(kCodePages)> MakeEmpty() {
    std::array<std::array<iconv_t, 2>, std::size(kCodePages)> a;
    for (auto& pair : a) pair = {kNone, kNone};
    return a;
  }
};

iconv_t Converter(const CodePageInfo& info, bool decode) {
  thread_local ConverterCache cache;
  return cache.Get(info, decode);
}

bool IsWindows1252Hole(uint32_t c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Decodes a run of bytes, keeping the descriptor's shift state for the next run.
// A byte that does not decode becomes U+FFFD (the five holes of CP1252 become U+0081...,
// as Windows maps them); an incomplete sequence at the end becomes one U+FFFD.
void DecodeRun(iconv_t cd, Kind kind, const char* bytes, size_t count, std::wstring& out) {
  char* in = const_cast<char*>(bytes);
  size_t inLeft = count;
  wchar_t buffer[256];
  while (inLeft > 0) {
    char* o = reinterpret_cast<char*>(buffer);
    size_t oLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    const int error = errno;
    out.append(buffer, reinterpret_cast<wchar_t*>(o) - buffer);
    if (r != static_cast<size_t>(-1) || error == E2BIG) continue;
    if (error == EILSEQ) {
      const unsigned char b = static_cast<unsigned char>(*in);
      out.push_back(kind == Kind::Windows1252 && IsWindows1252Hole(b) ? wchar_t(b) : kReplacement);
      ++in;
      --inLeft;
    } else {
      out.push_back(kReplacement);
      inLeft = 0;
    }
  }
}

bool IsAsciiOnly(std::string_view bytes) {
  for (const char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80 || b == kEsc || b == kShiftOut || b == kShiftIn) return false;
  }
  return true;
}

// The ISO-2022-JP family as Windows reads it: iconv's ISO-2022-JP-2 for the escape-designated
// sets, and half-width katakana, which iconv's Japanese converters do not read, handled here in
// its three forms: 8-bit bytes A1..DF, ESC ( I designating it to G0, and SO..SI.
void DecodeIso2022Jp(iconv_t cd, std::string_view bytes, std::wstring& out) {
  enum class Kana { Off, Designated, ShiftedOut } kana = Kana::Off;
  const size_t n = bytes.size();
  size_t runStart = 0;
  auto flush = [&](size_t end) {
    DecodeRun(cd, Kind::Iso2022Jp, bytes.data() + runStart, end - runStart, out);
  };
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      flush(i);
      out.push_back(wchar_t(0xFF61 + b - 0xA1));
      runStart = ++i;
    } else if (kana != Kana::Off && b >= 0x21 && b <= 0x5F) {
      flush(i);
      out.push_back(wchar_t(0xFF61 + b - 0x21));
      runStart = ++i;
    } else if (b == kShiftOut || b == kShiftIn) {
      flush(i);
      kana = b == kShiftOut ? Kana::ShiftedOut : Kana::Off;
      runStart = ++i;
    } else if (b == kEsc && i + 2 < n && bytes[i + 1] == '(' && bytes[i + 2] == 'I') {
      flush(i);
      // iconv's G0 goes back to ASCII so that what follows the katakana reads as ASCII.
      static const char kAscii[] = "\x1b(B";
      DecodeRun(cd, Kind::Iso2022Jp, kAscii, 3, out);
      kana = Kana::Designated;
      i += 3;
      runStart = i;
    } else {
      // Another designation to G0 ends katakana in G0.
      if (b == kEsc && kana == Kana::Designated && i + 1 < n &&
          (bytes[i + 1] == '(' || bytes[i + 1] == '$')) {
        kana = Kana::Off;
      }
      ++i;
    }
  }
  flush(n);
}

// Korean as ISO-2022-KR (ESC $ ) C, then SO..SI around KS X 1001 in 7 bits) or as EUC-KR
// (KS X 1001 in 8-bit bytes, the form DICOM uses after ESC $ ) C): both become EUC-KR.
// The designations ESC $ ) C and ESC ( B change nothing in EUC-KR and are dropped.
void DecodeIso2022Kr(iconv_t cd, std::string_view bytes, std::wstring& out) {
  std::string euc;
  euc.reserve(bytes.size());
  bool shiftedOut = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == kEsc && bytes.substr(i, 4) == "\x1b$)C") {
      i += 3;
    } else if (b == kEsc && bytes.substr(i, 3) == "\x1b(B") {
      i += 2;  // ASCII in G0, as it is in both forms anyway
    } else if (b == kShiftOut || b == kShiftIn) {
      shiftedOut = b == kShiftOut;
    } else if (shiftedOut && b >= 0x21 && b <= 0x7E) {
      euc.push_back(static_cast<char>(b | 0x80));
    } else {
      euc.push_back(static_cast<char>(b));
    }
  }
  DecodeRun(cd, Kind::Iso2022Kr, euc.data(), euc.size(), out);
}

// Writes the sequence that returns a stateful encoder to its initial state.
void FinishState(iconv_t cd, std::string& out) {
  char buffer[16];
  char* o = buffer;
  size_t oLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &o, &oLeft);
  out.append(buffer, o - buffer);
}

// Encodes a run of wide text; a character the code page lacks becomes '?' (U+FFFD in UTF-8),
// written in the initial shift state.
void EncodeRun(iconv_t cd, const CodePageInfo& info, const wchar_t* text, size_t count,
               std::string& out) {
  char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text));
  size_t inLeft = count * sizeof(wchar_t);
  char buffer[1024];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    const int error = errno;
    out.append(buffer, o - buffer);
    if (r != static_cast<size_t>(-1) || error == E2BIG) continue;
    const uint32_t c = static_cast<uint32_t>(*reinterpret_cast<const wchar_t*>(in));
    FinishState(cd, out);
    if (info.kind == Kind::Windows1252 && IsWindows1252Hole(c)) {
      out.push_back(static_cast<char>(c));
    } else if (info.codePage == 65001) {
      out += "\xEF\xBF\xBD";
    } else {
      out.push_back('?');
    }
    in += sizeof(wchar_t);
    inLeft = inLeft >= sizeof(wchar_t) ? inLeft - sizeof(wchar_t) : 0;
  }
}

bool IsHalfWidthKatakana(wchar_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// Windows writes half-width katakana as ESC ( I in 50221 and as SO..SI in 50222.
void EncodeIso2022Jp(iconv_t cd, const CodePageInfo& info, std::wstring_view text,
                     std::string& out) {
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    if (info.codePage != 50220 && IsHalfWidthKatakana(text[i])) {
      while (end < text.size() && IsHalfWidthKatakana(text[end])) ++end;
      FinishState(cd, out);
      out += info.codePage == 50221 ? "\x1b(I" : "\x0e";
      for (size_t k = i; k < end; ++k) out.push_back(static_cast<char>(text[k] - 0xFF61 + 0x21));
      out += info.codePage == 50221 ? "\x1b(B" : "\x0f";
    } else {
      while (end < text.size() && (info.codePage == 50220 || !IsHalfWidthKatakana(text[end]))) ++end;
      EncodeRun(cd, info, text.data() + i, end - i, out);
    }
    i = end;
  }
}

}  // namespace

const char* CodePageDecoderName(uint32_t codePage) {
  const CodePageInfo* info = Find(codePage);
  return info ? info->decoder : nullptr;
}

bool MultiByteToWide(uint32_t codePage, std::string_view bytes, std::wstring& result) {
  result.clear();
  const CodePageInfo* info = Find(codePage);
  iconv_t cd = info ? Converter(*info, true) : reinterpret_cast<iconv_t>(-1);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  // Every code page here reads ASCII as ASCII outside escape and shift sequences.
  if (IsAsciiOnly(bytes)) {
    result.assign(bytes.begin(), bytes.end());
    return true;
  }
  result.reserve(bytes.size());
  switch (info->kind) {
    case Kind::Iso2022Jp: DecodeIso2022Jp(cd, bytes, result); break;
    case Kind::Iso2022Kr: DecodeIso2022Kr(cd, bytes, result); break;
    default: DecodeRun(cd, info->kind, bytes.data(), bytes.size(), result); break;
  }
  return true;
}

bool WideToMultiByte(uint32_t codePage, std::wstring_view text, std::string& result) {
  result.clear();
  const CodePageInfo* info = Find(codePage);
  iconv_t cd = info ? Converter(*info, false) : reinterpret_cast<iconv_t>(-1);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  if (info->kind == Kind::Iso2022Jp) {
    EncodeIso2022Jp(cd, *info, text, result);
  } else {
    EncodeRun(cd, *info, text.data(), text.size(), result);
  }
  FinishState(cd, result);
  return true;
}

}  // namespace platform
