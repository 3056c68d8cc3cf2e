// The navigator's three level frames, one family: each holds an owner-drawn grid over its
// rows (patients, studies of a patient, stacks of a study), lays its columns out to the
// rows' texts, paints the title row, the current row and shaded even rows, and tells the
// navigator through m_OnRowChosen which row the user clicked or double-clicked. The stacks
// frame adds a details panel with the current stack's icon and main attributes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "browser/navigator/NavigatorRows.h"
#include "browser/navigator/TNavigatorStyle.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

namespace ORN_browser {

// The colours all three grids share; the stacks frame's constructor sets them.
struct TNavigatorGridColors {
  static TColor GridTitleColor;
  static TColor GridTitleTextColor;
  static TColor GridSelectedColor;
  static TColor GridSelectedTextColor;
  static TColor GridRowColor;
  static TColor GridRowTextColor;
  static void Reset();
};

enum class TColumnWidth { WW16, WW32, Title16, Title32, Text16, Text32 };

struct TLevelColumn {
  std::wstring Title;
  const wchar_t* Key;  // null for the running-number column
  bool Count;          // the title gets "#" after a page's value
  TAlignment TitleAlign, DataAlign;
  TColumnWidth Width;
  bool Decoded;        // shown through the row's character set
};

template <class Row>
class TNavigatorLevelFrame : public TFrame {
 public:
  using TRowChosen = std::function<void(int index, bool doubleClick)>;

  TNavigatorLevelFrame(TComponent* owner, const TNavigatorStyle& style, std::vector<TLevelColumn> columns);

  std::deque<Row> m_Rows;
  TRowChosen m_OnRowChosen;
  TPanel* pnlMain;
  TPanel* pnlTableDesk;
  TDrawGrid* Grid;

  void LayoutColumns();
  void FrameResize(TObject* sender);
  const std::wstring& Title(int col) const { return m_Columns.at(size_t(col)).Title; }
  // The text of a row's cell as the grid shows it, and the bytes its width is measured on.
  virtual std::wstring CellText(const Row& row, int col) const = 0;
  virtual std::string StoredText(const Row& row, int col) const = 0;

 protected:
  // Replaces the rows and lays out: the common tail of the load operations.
  void AfterLoad();
  virtual void DrawCurrentRowExtra(int /*rowIndex*/) {}
  virtual int HeightCap() const { return 12; }
  virtual int ExtraHeight() const { return 0; }
  void DrawCell(int col, int row, const TRect& rect);
  void PaintCell(TColor background, TColor text, bool shaded, const TRect& rect, const std::wstring& content,
                 TAlignment alignment);
  void ReportChoice(bool doubleClick);

  TNavigatorStyle m_Style;
  std::vector<TLevelColumn> m_Columns;
};

class TFramePatientLevel : public TNavigatorLevelFrame<ORN_dicomdir::TanPatientInfoObj<char>> {
 public:
  TFramePatientLevel(TComponent* owner, const TNavigatorStyle& style);
  void LoadPatients(const ORN_dicom::TanDicomDirObject& dicomDir);
  std::wstring CellText(const ORN_dicomdir::TanPatientInfoObj<char>& row, int col) const override;
  std::string StoredText(const ORN_dicomdir::TanPatientInfoObj<char>& row, int col) const override;
};

class TFrameStudyLevel : public TNavigatorLevelFrame<ORN_dicomdir::TanStudyInfoObj<char>> {
 public:
  TFrameStudyLevel(TComponent* owner, const TNavigatorStyle& style);
  // Null: a patient that cannot be reached; the level is emptied.
  void LoadStudies(const ORN_dicom::TanPatientIE* patient);
  std::wstring CellText(const ORN_dicomdir::TanStudyInfoObj<char>& row, int col) const override;
  std::string StoredText(const ORN_dicomdir::TanStudyInfoObj<char>& row, int col) const override;
};

class TFrameStackLevel : public TNavigatorLevelFrame<ORN_dicomdir::TanStackInfoObj<char>> {
 public:
  TFrameStackLevel(TComponent* owner, const TNavigatorStyle& style);
  // Null: a study that does not exist (a patient without studies); the level is emptied.
  void LoadStacks(const ORN_dicom::TanStudyIE* study);
  std::wstring CellText(const ORN_dicomdir::TanStackInfoObj<char>& row, int col) const override;
  std::string StoredText(const ORN_dicomdir::TanStackInfoObj<char>& row, int col) const override;
  void ShowDetails(int rowIndex);
  // False when the bitmap was refused (not a sound 24-bit bitmap): the icon area is cleared.
  bool ShowIcon(platform::HBITMAP bitmap);
  void ClearIcon();

  TPanel* pnlDetailes;
  TPanel* ShapeIcon;
  TImage* imIcon;
  TLabel* lblNoIcon;
  TLabel *sModality, *sNInstances, *sNFrames, *sNPS, *sDataTime, *sPName, *sBodyPart;
  TLabel *stextModality, *stextNumberOfInstances, *stextNumberOfFrames, *stetxNumberOfPS, *stetxDateTime,
      *stextProtocolName, *stextBodyPartExamined;

 protected:
  void DrawCurrentRowExtra(int rowIndex) override { ShowDetails(rowIndex); }
  int HeightCap() const override { return 6; }
  int ExtraHeight() const override { return pnlDetailes->Height(); }
};

}  // namespace ORN_browser
