// The error guard: message, flag and code, the history window, the callback that can withdraw
// an error, HRESULT names and system texts.
#include <gtest/gtest.h>

#include "app/support/ErrorGuard.h"
#include "platform/core/LastError.h"

namespace app {
namespace {

namespace hr = platform::com::hr;

TEST(ErrorGuardTest, FreshGuardAndPopping) {
  TErrorGuard guard;
  EXPECT_EQ(guard.PopMessage(), L"");
  EXPECT_FALSE(guard.PopErrorFlag());
  EXPECT_EQ(guard.GetHistoryMessage(0), L"");

  guard.SetError(L"A", 7);
  EXPECT_TRUE(guard.PopErrorFlag());
  EXPECT_FALSE(guard.PopErrorFlag());
  EXPECT_EQ(guard.PopMessage(), L"A");
  EXPECT_EQ(guard.PopMessage(), L"");
}

TEST(ErrorGuardTest, CheckClearsOnFalseButKeepsHistory) {
  TErrorGuard guard;
  guard.EnableHistory(5);
  EXPECT_TRUE(guard.Check(true, L"first", 3));
  EXPECT_FALSE(guard.Check(false, L"unused", 4));
  EXPECT_FALSE(guard.PopErrorFlag());
  EXPECT_EQ(guard.PopMessage(), L"");
  EXPECT_EQ(guard.GetHistoryMessage(0), L"first");
  EXPECT_EQ(guard.GetHistoryMessage(1), L"");  // past the end: empty, never read beyond
}

struct Seen {
  int calls = 0;
  int32_t code = 0;
  std::wstring message;
  bool withdraw = false;
};

bool Record(void* context, int32_t code, std::wstring message) {
  auto* seen = static_cast<Seen*>(context);
  ++seen->calls;
  seen->code = code;
  seen->message = message;
  return seen->withdraw;
}

TEST(ErrorGuardTest, HResultNamesAndCodes) {
  struct Case {
    HRESULT hr;
    const wchar_t* name;
    bool result;
  } cases[] = {
      {hr::False, L"S_FALSE", false},
      {hr::Fail, L"UNKNOWN_ERROR", true},
      {hr::OutOfMemory, L"E_OUTOFMEMORY", true},
      {hr::InvalidArg, L"E_INVALIDARG", true},
      {hr::Unexpected, L"E_UNEXPECTED", true},
      {hr::ClassNotRegistered, L"REGDB_E_CLASSNOTREG", true},
      {hr::NoAggregation, L"CLASS_E_NOAGGREGATION", true},
      {2, L"UNKNOWN_ERROR", false},
  };
  for (const auto& c : cases) {
    TErrorGuard guard;
    Seen seen;
    guard.SetCallback(&Record, &seen);
    EXPECT_EQ(guard.CheckHResult(c.hr, L"P "), c.result) << c.name;
    EXPECT_EQ(seen.code, c.hr);
    EXPECT_TRUE(guard.PopErrorFlag());
    EXPECT_EQ(guard.PopMessage(), std::wstring(L"P ") + c.name);
  }
  // S_OK leaves a pending error untouched.
  TErrorGuard guard;
  guard.SetError(L"pending", 9);
  EXPECT_FALSE(guard.CheckHResult(hr::Ok, L"P "));
  EXPECT_TRUE(guard.PopErrorFlag());
  EXPECT_EQ(guard.PopMessage(), L"pending");
}

TEST(ErrorGuardTest, HistoryKeepsTheLastMessages) {
  TErrorGuard guard;
  guard.SetError(L"not kept", 0);  // history disabled at first
  guard.EnableHistory(2);
  for (const wchar_t* m : {L"A", L"B", L"C"}) guard.SetError(m, 0);
  EXPECT_EQ(guard.GetHistoryMessage(0), L"B");
  EXPECT_EQ(guard.GetHistoryMessage(1), L"C");

  // Lowering the maximum does not shrink the history: each error replaces one old entry.
  guard.EnableHistory(1);
  guard.SetError(L"D", 0);
  EXPECT_EQ(guard.GetHistoryMessage(0), L"C");
  EXPECT_EQ(guard.GetHistoryMessage(1), L"D");

  guard.DisableHistory();
  guard.SetError(L"E", 0);
  EXPECT_EQ(guard.GetHistoryMessage(1), L"D");
  guard.ClearHistory();
  EXPECT_EQ(guard.GetHistoryMessage(0), L"");
  guard.EnableHistory(5);
  guard.SetError(L"F", 0);
  EXPECT_EQ(guard.GetHistoryMessage(0), L"F");

  TErrorGuard none;
  none.EnableHistory(0);
  none.SetError(L"G", 0);
  EXPECT_EQ(none.GetHistoryMessage(0), L"");
}

TEST(ErrorGuardTest, CallbackCanWithdrawTheError) {
  TErrorGuard guard;
  Seen seen;
  seen.withdraw = true;
  guard.EnableHistory(5);
  guard.SetCallback(&Record, &seen);
  guard.SetError(L"withdrawn", 42);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.code, 42);
  EXPECT_EQ(seen.message, L"withdrawn");
  EXPECT_FALSE(guard.PopErrorFlag());
  EXPECT_EQ(guard.PopMessage(), L"");
  EXPECT_EQ(guard.GetHistoryMessage(0), L"withdrawn");

  // A copy carries the callback and the history.
  TErrorGuard copy = guard;
  EXPECT_EQ(copy.GetHistoryMessage(0), L"withdrawn");
  copy.SetErrorText(L"again", 1);
  EXPECT_EQ(seen.calls, 2);

  guard.ResetCallback();
  guard.SetError(L"kept", 1);
  EXPECT_EQ(seen.calls, 2);
  EXPECT_TRUE(guard.PopErrorFlag());
}

TEST(ErrorGuardTest, SystemErrorTextAndCode) {
  TErrorGuard guard;
  Seen seen;
  guard.SetCallback(&Record, &seen);
  platform::SetLastError(platform::err::FileNotFound);
  guard.SetSystemError(L"Open: ");
  EXPECT_EQ(seen.code, 2);
  EXPECT_EQ(guard.PopMessage(), L"Open: The system cannot find the file specified.\r\n");
}

TEST(ErrorGuardTest, QueryInterface) {
  TErrorGuard guard;
  EXPECT_EQ(guard.QueryInterface(IID_ERROR_GUARD, nullptr), hr::Fail);
  void* out = &guard;
  EXPECT_EQ(guard.QueryInterface(platform::com::IID_IUnknown, &out), hr::Fail);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(guard.QueryInterface(IID_ERROR_GUARD, &out), hr::Ok);
  EXPECT_EQ(out, static_cast<iERROR_GUARD*>(&guard));
}

}  // namespace
}  // namespace app
