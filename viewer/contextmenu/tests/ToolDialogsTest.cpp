// The calibration dialog and the annotation text editor, run modally with real widgets; the
// editor talks to a stand-in engine window that answers as the engine's protocol says.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/startup/TResourceInitialization.h"
#include "platform/core/Clock.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "viewer/contextmenu/TfmCalibrationTool.h"
#include "viewer/contextmenu/TfmEditor.h"
#include "viewer/contextmenu/TsgCalibration.h"
#include "viewer/contextmenu/TsgEditor.h"
#include "viewer/engine/EngineMessages.h"

namespace {

constexpr uint16_t kReturn = 0x0D, kEscape = 0x1B;

// Runs `step` once the modal loop of the dialog runs; the timer dies with the dialog.
void Later(TComponent& dialog, std::function<void()> step) {
  auto* timer = new TTimer(&dialog);
  timer->SetInterval(30);
  timer->OnTimer = [timer, step = std::move(step)](TObject*) {
    timer->SetEnabled(false);
    step();
  };
  timer->SetEnabled(true);
}

std::vector<std::wstring> UnitCaptions(TfrmCalibrationEditor& editor) {
  std::vector<std::wstring> captions;
  for (TTntMenuItem* item : editor.UnitItems()) captions.push_back(item->Caption() + (item->Checked() ? L"*" : L""));
  return captions;
}

TsgCalibrationTool DefaultTable() {
  TsgCalibrationTool calibration;
  calibration.AddUnit("mm", 1.0);
  calibration.AddUnit("cm", 10.0);
  calibration.AddUnit("Fr", 0.33);
  calibration.SetUnit("mm");
  return calibration;
}

}  // namespace

TEST(Calibration, AFreshWrapperAndItsTable) {
  TsgCalibrationTool calibration;
  EXPECT_EQ(calibration.GetUnit(), "");
  EXPECT_FALSE(calibration.IsCancelled());
  EXPECT_EQ(calibration.GetUnitFactor(), 0.0);
  calibration.AddUnit("cm", 10.0);
  calibration.AddUnit("cm", 20.0);
  EXPECT_EQ(calibration.Units().size(), 1u);
  calibration.SetUnit("cm");
  EXPECT_EQ(calibration.GetUnitFactor(), 20.0);
  calibration.SetUnit("inch");  // kept although the table lacks it
  EXPECT_EQ(calibration.GetUnit(), "inch");
  EXPECT_EQ(calibration.GetUnitFactor(), 0.0);
  calibration.ClearUnits();
  EXPECT_TRUE(calibration.Units().empty());
}

TEST(Calibration, TheDialogListsTheUnitsAndReturnsTheValue) {
  platform::testing::FakeClock clock;  // the cancel's 400 ms pass at once
  TsgCalibrationTool calibration = DefaultTable();
  std::vector<std::wstring> listed;
  calibration.OnDialogShown = [&](TfmCalibrationTool& dialog) {
    listed = UnitCaptions(*dialog.GetEditor());
    Later(dialog, [&dialog] {
      TfrmCalibrationEditor& editor = *dialog.GetEditor();
      editor.edCalibrationValue->SetText(L"12.5");
      editor.UnitItems()[1]->Click();  // cm
      dialog.HandleKey(kReturn);
    });
  };
  const double value = calibration.Execute(40, 50, 0.0);
  EXPECT_EQ(listed, (std::vector<std::wstring>{L"Fr", L"cm", L"mm*"}));
  EXPECT_EQ(value, 12.5);
  EXPECT_EQ(calibration.GetUnit(), "cm");
  EXPECT_EQ(calibration.GetUnitFactor(), 10.0);
  EXPECT_FALSE(calibration.IsCancelled());
}

TEST(Calibration, InputThatIsNoNumberIsUndone) {
  TsgCalibrationTool calibration = DefaultTable();
  std::vector<std::wstring> texts;
  calibration.OnDialogShown = [&](TfmCalibrationTool& dialog) {
    Later(dialog, [&dialog, &texts] {
      TTntEdit& edit = *dialog.GetEditor()->edCalibrationValue;
      edit.SetText(L"3.5");
      edit.SetText(L"3.5x");  // a letter
      texts.push_back(edit.Text());
      edit.SetText(L" 4");  // a blank before a number
      texts.push_back(edit.Text());
      edit.SetText(L"");  // empty, then Enter: 0
      dialog.HandleKey(kReturn);
    });
  };
  EXPECT_EQ(calibration.Execute(0, 0, 7.0), 0.0);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"3.5", L"3.5"}));
}

TEST(Calibration, EscRestoresTheValueAndTheUnit) {
  platform::testing::FakeClock clock;
  TsgCalibrationTool calibration = DefaultTable();
  calibration.OnDialogShown = [&](TfmCalibrationTool& dialog) {
    Later(dialog, [&dialog] {
      dialog.GetEditor()->edCalibrationValue->SetText(L"99");
      dialog.GetEditor()->UnitItems()[0]->Click();  // Fr
      dialog.HandleKey(kEscape);
    });
  };
  EXPECT_EQ(calibration.Execute(0, 0, 2.0), 2.0);
  EXPECT_TRUE(calibration.IsCancelled());
  EXPECT_GE(clock.SleptMilliseconds(), 400u);
  EXPECT_EQ(calibration.GetUnit(), "mm");
}

// A unit shown under a translated caption is still the unit of the table.
TEST(Calibration, TheUnitIsKeptByItsNameNotItsCaption) {
  TsgCalibrationTool calibration = DefaultTable();
  struct Record : app::iRESOURCE_INITIALIZATION {
    void LoadHints() override {}
    void LoadCursors() override {}
    std::wstring GetText(const std::wstring& name) override {
      return name == L"GUI_MENU_ITEMS"
                 ? L"<GUI_MENU_ITEMS><calibration_units><Fr value=\"French\"/><mm value=\"Millimetre\"/>"
                   L"</calibration_units></GUI_MENU_ITEMS>"
                 : L"";
    }
    std::wstring GetText2(const std::wstring&) override { return L""; }
    app::HMODULE GetTextModule() override { return nullptr; }
    app::HMODULE GetImagesModule() override { return nullptr; }
    app::HMODULE GetModule(const std::wstring&) override { return nullptr; }
    app::TsgFonts<TFont>* GetFonts() override { return nullptr; }
    app::TsgColors* GetColors() override { return nullptr; }
    app::TsgVersionInfoSet<std::wstring>* GetVersionInfoSet() override { return nullptr; }
    bool GetDesktopRect(TRect*) override { return false; }
    void GetCalibrationFactors(app::TCalibrationFactors&) override {}
    std::wstring GetDefaultCalibrationUnit() override { return L""; }
    System::AnsiString GetLanguageDll() override { return ""; }
  } record;
  calibration.LoadUnits(record);
  std::vector<std::wstring> listed;
  calibration.OnDialogShown = [&](TfmCalibrationTool& dialog) {
    listed = UnitCaptions(*dialog.GetEditor());
    Later(dialog, [&dialog] {
      dialog.GetEditor()->edCalibrationValue->SetText(L"3");
      dialog.GetEditor()->UnitItems()[0]->Click();  // "French"
      dialog.btnOk->Click();
    });
  };
  EXPECT_EQ(calibration.Execute(0, 0, 0.0), 3.0);
  EXPECT_EQ(listed, (std::vector<std::wstring>{L"French", L"cm", L"Millimetre*"}));
  EXPECT_EQ(calibration.GetUnit(), "Fr");
  EXPECT_EQ(calibration.GetUnitFactor(), 0.33);
  const CalibrationForEngine sent = ConvertCalibration(3.0, calibration.GetUnit());
  EXPECT_EQ(sent.unit, "mm");
  EXPECT_DOUBLE_EQ(sent.value, 0.99);
  EXPECT_EQ(ConvertCalibration(3.0, "cm").unit, "cm");
}

namespace {

// The engine's side of the text exchange: it answers 0x8080 with its text and keeps what it
// is sent back.
class EngineStandIn {
 public:
  explicit EngineStandIn(std::vector<uint8_t> reply)
      : reply_(std::move(reply)), window_([this](uint32_t m, platform::WParam, platform::LParam l) { return Proc(m, l); }) {}
  platform::WindowHandle Handle() const { return window_.Handle(); }
  int requests = 0;
  std::vector<std::vector<uint8_t>> received;

 private:
  platform::LResult Proc(uint32_t message, platform::LParam lParam) {
    if (message == ORN_image::engine_msg::kRequestAnnotationText) {
      ++requests;
      if (!reply_.empty()) {
        const platform::CopyDataStruct record{ORN_image::engine_msg::kAnnotationText,
                                              static_cast<uint32_t>(reply_.size()), reply_.data()};
        platform::SendMessage(static_cast<platform::WindowHandle>(lParam), platform::kWmCopyData, 0,
                              reinterpret_cast<platform::LParam>(&record));
      }
    } else if (message == platform::kWmCopyData) {
      const auto* record = reinterpret_cast<const platform::CopyDataStruct*>(lParam);
      if (record->dwData == ORN_image::engine_msg::kAnnotationText) {
        const auto* bytes = static_cast<const uint8_t*>(record->lpData);
        received.emplace_back(bytes, bytes + record->cbData);
      }
    }
    return 0;
  }
  std::vector<uint8_t> reply_;
  platform::Window window_;
};

std::vector<uint8_t> Utf16(const std::wstring& text) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

// Waits in the modal loop until the engine's text has arrived, then acts.
void WhenReceived(TfmEditor& form, std::function<void()> step) {
  auto* timer = new TTimer(&form);
  timer->SetInterval(20);
  int ticks = 0;
  timer->OnTimer = [timer, &form, step = std::move(step), ticks](TObject*) mutable {
    if (!form.TextReceived() && ++ticks < 50) return;
    timer->SetEnabled(false);
    step();
  };
  timer->SetEnabled(true);
}

}  // namespace

TEST(AnnotationEditor, TextGoesFromTheEngineAndBack) {
  EngineStandIn engine(Utf16(L"Old text"));
  TsgAnnotationEditor editor;
  EXPECT_TRUE(editor.WasCancelled());
  bool readOnlyAtFirst = false;
  editor.OnDialogShown = [&](TfmEditor& form) {
    readOnlyAtFirst = form.ReadOnly();
    WhenReceived(form, [&form] {
      EXPECT_FALSE(form.ReadOnly());
      EXPECT_EQ(form.GetText(), L"Old text");
      form.memEditor->SetText(L"New text");
      form.HandleKey(kReturn, 0);
    });
  };
  EXPECT_EQ(editor.EditAt(30, 40, engine.Handle()), L"New text");
  EXPECT_TRUE(readOnlyAtFirst);
  EXPECT_FALSE(editor.WasCancelled());
  EXPECT_EQ(engine.requests, 1);
  ASSERT_EQ(engine.received.size(), 1u);
  EXPECT_EQ(engine.received[0], Utf16(L"New text"));
  EXPECT_FALSE(editor.ShouldEraseAfterEdit(L"New text"));
}

TEST(AnnotationEditor, EscSendsTheEnginesOwnTextBack) {
  platform::testing::FakeClock clock;
  EngineStandIn engine(Utf16(L"Keep me"));
  TsgAnnotationEditor editor;
  editor.OnDialogShown = [&](TfmEditor& form) {
    WhenReceived(form, [&form] {
      form.memEditor->SetText(L"changed");
      form.HandleKey(kEscape, 0);
    });
  };
  EXPECT_EQ(editor.EditAt(0, 0, engine.Handle()), L"Keep me");
  EXPECT_TRUE(editor.WasCancelled());
  ASSERT_EQ(engine.received.size(), 1u);
  EXPECT_EQ(engine.received[0], Utf16(L"Keep me"));
}

// The engine gave no text and the user pressed Esc: nothing is sent and nothing is erased.
TEST(AnnotationEditor, EscWithoutTheEnginesTextChangesNothing) {
  platform::testing::FakeClock clock;
  EngineStandIn engine({});
  TsgAnnotationEditor editor;
  editor.OnDialogShown = [&](TfmEditor& form) { Later(form, [&form] { form.HandleKey(kEscape, 0); }); };
  const System::WideString text = editor.EditAt(0, 0, engine.Handle());
  EXPECT_EQ(text, L"");
  EXPECT_TRUE(editor.WasCancelled());
  EXPECT_TRUE(engine.received.empty());
  EXPECT_FALSE(editor.ShouldEraseAfterEdit(text));
}

TEST(AnnotationEditor, AnEmptyTextAtOkIsSentEmptyAndErases) {
  EngineStandIn engine(Utf16(L"x"));
  TsgAnnotationEditor editor;
  editor.OnDialogShown = [&](TfmEditor& form) {
    WhenReceived(form, [&form] {
      form.memEditor->SetText(L"");
      form.btnOK->Click();
    });
  };
  const System::WideString text = editor.EditAt(0, 0, engine.Handle());
  EXPECT_EQ(text, L"");
  ASSERT_EQ(engine.received.size(), 1u);
  EXPECT_TRUE(engine.received[0].empty());
  EXPECT_TRUE(editor.ShouldEraseAfterEdit(text));
}

TEST(AnnotationEditor, ReceivedRecordsAreReadWithinTheirBytes) {
  TfmEditor form(nullptr);
  form.SetSource(0, 0x8080, 0x807A);
  const std::vector<uint8_t> hebrew = Utf16(L"\u05E9\u05DC\u05D5\u05DD");
  platform::CopyDataStruct record{0x807A, 5, hebrew.data()};  // two and a half characters
  form.OnTextReceived(&record);
  EXPECT_EQ(form.GetText(), L"\u05E9\u05DC");
  EXPECT_TRUE(form.RightToLeft());
  const std::vector<uint8_t> withNul = Utf16(std::wstring(L"ab\0cd", 5));
  record = {0x807A, static_cast<uint32_t>(withNul.size()), withNul.data()};
  form.OnTextReceived(&record);
  EXPECT_EQ(form.GetText(), L"ab");
  EXPECT_FALSE(form.RightToLeft());
  // Another code or no data changes no text but makes the memo editable.
  form.SetSource(0, 0x8080, 0x807A);
  record = {0x1234, static_cast<uint32_t>(withNul.size()), withNul.data()};
  form.OnTextReceived(&record);
  EXPECT_EQ(form.GetText(), L"ab");
  EXPECT_FALSE(form.ReadOnly());
}

TEST(AnnotationEditor, CtrlEnterBreaksTheLineAndTheFormGrows) {
  TfmEditor form(nullptr);
  form.SetText(L"one");
  form.FitHeightToLines();
  const int oneLine = form.Height();
  EXPECT_FALSE(form.HandleKey(kReturn, ssCtrl));
  form.memEditor->SetText(L"one\ntwo");
  EXPECT_GT(form.Height(), oneLine);
  EXPECT_GE(oneLine, 72);
}

TEST(AnnotationEditor, EditWithoutAnEngine) {
  TsgEditor<TfmEditor, System::WideString> editor;
  editor.OnDialogShown = [&](TfmEditor& form) {
    EXPECT_FALSE(form.ReadOnly());
    Later(form, [&form] { form.HandleKey(kReturn, 0); });
  };
  EXPECT_EQ(editor.Edit(0, 0, L"plain"), L"plain");
  EXPECT_FALSE(editor.WasCancelled());
}
