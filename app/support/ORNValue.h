// A value held as text with integer and boolean read-outs, and its formatting parameters.
#pragma once

#include <cstdint>
#include <cwchar>
#include <string>

namespace app {

class iORN_FORMAT {
 public:
  virtual ~iORN_FORMAT() = default;
};

template <class S>
class TsgORNBaseFormat : public iORN_FORMAT {};

template <class S>
class TsgORNFormat : public TsgORNBaseFormat<S> {
 public:
  using Char = typename S::value_type;
  virtual int32_t GetRadix() const { return radix_; }
  virtual Char GetDecimalSeparator() const { return decimalSeparator_; }
  virtual Char GetMinusSign() const { return minusSign_; }
  virtual int32_t GetMode() const { return mode_; }
  virtual int32_t GetPrecision() const { return precision_; }
  virtual bool SetRadix(int32_t radix) { return radix >= 2 && radix <= 36 ? (radix_ = radix, true) : false; }
  virtual bool SetDecimalSeparator(Char c) { return decimalSeparator_ = c, true; }
  virtual bool SetMinusSign(Char c) { return minusSign_ = c, true; }
  virtual bool SetMode(int32_t mode) { return mode >= 0 && mode <= 2 ? (mode_ = mode, true) : false; }
  virtual bool SetPrecision(int32_t precision) { return precision <= 349 ? (precision_ = precision, true) : false; }
  virtual S GetFalseText() const { return falseText_; }
  virtual S GetTrueText() const { return trueText_; }
  virtual void SetBooleanTexts(const S& trueText, const S& falseText) {
    trueText_ = trueText;
    falseText_ = falseText;
  }

 private:
  int32_t precision_ = 10;
  Char minusSign_ = '-';
  Char decimalSeparator_ = '.';
  int32_t mode_ = 0;
  int32_t radix_ = 10;
  S falseText_ = L"False";
  S trueText_ = L"True";
};

class iORN_VALUE {
 public:
  virtual ~iORN_VALUE() = default;
  virtual void ClearValue() = 0;
  virtual void Draw(void* dc, const void* rect, uint32_t format) = 0;
  virtual int32_t GetType() const = 0;
  virtual bool PopErrorFlag() = 0;
};

template <class S>
class TsgORNBaseValue : public iORN_VALUE {
 public:
  explicit TsgORNBaseValue(S text, int32_t type = 0) : text_(std::move(text)), type_(type) {}
  int32_t GetType() const override { return type_; }
  bool PopErrorFlag() override {
    const bool flag = error_;
    error_ = false;
    return flag;
  }
  virtual TsgORNFormat<S>& GetFormat() { return format_; }

 protected:
  S text_;
  TsgORNFormat<S> format_;
  bool error_ = false;
  int32_t type_;
};

template <class S>
class TsgORNValue : public TsgORNBaseValue<S> {
 public:
  explicit TsgORNValue(S text) : TsgORNBaseValue<S>(std::move(text), 3) {}
  void ClearValue() override { this->text_.clear(); }
  // Values are never drawn by the support library; windows draw their own texts.
  void Draw(void*, const void*, uint32_t) override {}

  virtual bool ApplyFormat(const TsgORNFormat<S>& source, uint32_t flags) {
    bool ok = true;
    auto& f = this->format_;
    if (flags & 0x8000) ok = f.SetRadix(source.GetRadix()) && ok;
    if (flags & 0x10000) ok = f.SetDecimalSeparator(source.GetDecimalSeparator()) && ok;
    if (flags & 0x20000) ok = f.SetMinusSign(source.GetMinusSign()) && ok;
    if (flags & 0x40000) ok = f.SetMode(source.GetMode()) && ok;
    if (flags & 0x80000) ok = f.SetPrecision(source.GetPrecision()) && ok;
    return ok;
  }

  // The decimal value of the text (leading blanks, a sign, digits up to the first other
  // character); the error flag tells whether a character other than '-' and digits occurs.
  int32_t ToInteger() {
    for (auto c : this->text_) {
      this->error_ = !(c == '-' || (c >= '0' && c <= '9'));
      if (this->error_) break;
    }
    size_t i = 0;
    const S& t = this->text_;
    while (i < t.size() && (t[i] == ' ' || (t[i] >= 9 && t[i] <= 13))) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    int64_t value = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      value = value * 10 + (t[i] - '0');
      if (value > 0x80000000LL) value = 0x80000000LL;  // saturate instead of overflowing
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(value);
  }

  // Exactly the words listed: Yes/No, True/False, On/Off in three letter cases each; an empty
  // text is false and any other text true.
  bool ToBoolean() const {
    static const wchar_t* const kFalse[] = {L"No", L"NO", L"no", L"False", L"FALSE", L"false", L"Off", L"OFF", L"off"};
    const S& t = this->text_;
    if (t.empty()) return false;
    for (const wchar_t* word : kFalse)
      if (t == word) return false;
    return true;
  }

  const S& Text() const { return this->text_; }
};

}  // namespace app
