// The calibration wrapper a stack window owns: the table of length units with their factors,
// the unit last chosen, and the run of the calibration dialog. The unit is kept by its name
// in the table, apart from the caption the dialog shows for it, so a translated caption
// never changes which unit (and factor) was chosen.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/vcl/SystemTypes.h"

namespace app {
class iRESOURCE_INITIALIZATION;
}
class TfmCalibrationTool;

template <class TForm, class TValue, class TText>
class TsgCalibration;

template <>
class TsgCalibration<TfmCalibrationTool, double, System::AnsiString> {
 public:
  TsgCalibration() = default;
  virtual ~TsgCalibration() = default;

  // Adds the unit, or replaces the factor of a name already there (names compared byte-wise).
  virtual void AddUnit(const System::AnsiString& name, double factor) { units_[name] = factor; }
  virtual void ClearUnits() { units_.clear(); }
  // Not checked against the table: a name it lacks is kept and has the factor 0.
  virtual void SetUnit(const System::AnsiString& name) { unit_ = name; }
  virtual System::AnsiString GetUnit() const { return unit_; }
  virtual double GetUnitFactor() const;
  virtual bool IsCancelled() const { return cancelled_; }
  // The captions of the units: section "calibration_units" of the page "GUI_MENU_ITEMS".
  virtual void LoadUnits(app::iRESOURCE_INITIALIZATION& record);
  // Runs the dialog modally with its top-left corner at (x, y); the value entered.
  virtual double Execute(int32_t x, int32_t y, double value);

  const std::map<System::AnsiString, double>& Units() const { return units_; }
  const std::wstring& UnitCaptionSource() const { return captions_; }
  // Called with the dialog once it is filled and before it runs (tests drive it from here).
  std::function<void(TfmCalibrationTool&)> OnDialogShown;

 private:
  std::map<System::AnsiString, double> units_;
  System::AnsiString unit_;
  bool cancelled_ = false;
  std::wstring captions_;
};

using TsgCalibrationTool = TsgCalibration<TfmCalibrationTool, double, System::AnsiString>;

// What the stack window sends its engine for a calibration: the value in "mm" when the unit
// is "fr" in any case (value × 0.33), otherwise the value and unit as chosen.
struct CalibrationForEngine {
  double value;
  System::AnsiString unit;
};
CalibrationForEngine ConvertCalibration(double value, const System::AnsiString& unit);
