// The calibration dialog: a borderless form with a dark drag strip, a value frame (the value
// edit, a button that shows the unit and an arrow that opens the unit menu), OK and Cancel.
// Enter accepts (an empty value is 0), Esc or Cancel restores the values at opening and
// blocks input for 400 ms, Up and Down open the unit menu.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

class TfrmCalibrationEditor : public TFrame {
 public:
  explicit TfrmCalibrationEditor(TComponent* owner);
  ~TfrmCalibrationEditor() override;

  virtual void SetValue(double value);
  virtual double GetValue() const { return value_; }
  virtual System::WideString GetUnitCaption() const { return unitCaption_; }
  virtual void Revert();
  virtual void ClearUnitItems();
  // A unit of the menu under its caption; the key is the unit's name in the unit table.
  virtual void AddUnitItem(const System::WideString& caption, bool checked, const System::AnsiString& key);
  virtual void ShowUnitMenu();
  // The name of the unit whose item is checked (its caption may be a translation).
  System::AnsiString GetUnitKey() const { return unitKey_; }
  // The value as the edit shows it: 15 significant digits, the locale's separator.
  static System::WideString FormatValue(double value);

  TTntEdit* edCalibrationValue;
  TTntSpeedButton* sbMeasures;
  TTntSpeedButton* sbPopup;
  TTntPopupMenu* mnuMeasures;
  const std::vector<TTntMenuItem*>& UnitItems() const { return unitItems_; }

 private:
  void edCalibrationValueChange(TObject* sender);
  void OnUnitItemClick(TObject* sender);

  double savedValue_ = 0.0;
  double value_ = 0.0;
  System::WideString unitCaption_, savedUnitCaption_;
  System::AnsiString unitKey_, savedUnitKey_;
  System::WideString acceptedText_;
  bool reverting_ = false;
  int itemWidth_ = 50, itemHeight_ = 20;
  std::vector<TTntMenuItem*> unitItems_;
  std::vector<System::AnsiString> unitKeys_;
};

class TfmCalibrationTool : public TForm {
 public:
  explicit TfmCalibrationTool(TComponent* owner);
  ~TfmCalibrationTool() override;

  virtual TfrmCalibrationEditor* GetEditor() { return m_CalibrationTool; }
  virtual bool IsCancelled() const { return cancelled_; }
  virtual void SetFormVisible(bool visible) { SetVisible(visible); }
  virtual void SetFormTop(int top) { SetTop(top); }
  virtual void SetFormLeft(int left) { SetLeft(left); }

  // The dialog's keys: true when the key was taken.
  bool HandleKey(uint16_t key);
  void btnOkClick(TObject* sender);
  void sbCancelClick(TObject* sender);

  TTntPanel* pnlCalibrationHeader;
  TTntSpeedButton* sbCancel;
  TTntPanel* Panel1;
  TfrmCalibrationEditor* m_CalibrationTool;
  TTntButton* btnOk;
  TTntButton* btnCancel;
  TApplicationEvents* ApplicationEvents1;

 private:
  TPoint drag_;
  bool dragging_ = false;
  bool cancelled_ = false;
};
