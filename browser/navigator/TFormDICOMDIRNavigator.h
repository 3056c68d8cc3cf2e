// The modal navigator over the file set: patients on top, the studies of the chosen patient
// below, the stacks of the chosen study at the bottom. Each choice rebuilds the levels below
// it; the chosen patient, study and stack are written to three integers the caller owns. The
// stack index is counted as the main window counts a study's stacks, so the navigator opens
// on the stack the main window shows and returns the one the user picked. Borderless: its
// caption bar moves it and eight thin edge panels resize it.
#pragma once

#include <cstdint>

#include "browser/navigator/NavigatorLevels.h"
#include "browser/navigator/TNavigatorStyle.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace ORN_dicom {
class TanDicomFileSet;
}

namespace ORN_browser {

class TFormDICOMDIRNavigator : public TForm {
 public:
  // The file set must be open on a DICOMDIR of this system.
  TFormDICOMDIRNavigator(TComponent* owner, ORN_dicom::TanDicomFileSet& fileSet, int32_t* patient, int32_t* study,
                         int32_t* stack, const TNavigatorStyle& style = TNavigatorStyle());

  void OnPatientChosen(int value, bool doubleClick);
  void OnStudyChosen(int value, bool doubleClick);
  void OnStackChosen(int value, bool doubleClick);

  void lblOkClick(TObject* sender);
  void lblCancellClick(TObject* sender);
  void sbCloseClick(TObject* sender);
  // Mouse-down on the caption or an edge, and the move handlers (left button held).
  void pnlLeftTopRightBottomMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  // Applies a move step of the cursor, now at screen point (x, y), through the given edge.
  enum class TDragEdge { Caption, LeftTop, RightTop, LeftBottom, RightBottom, Top, Bottom, Left, Right };
  void DragTo(TDragEdge edge, int x, int y);
  void SetDragOrigin(int x, int y) { m_DragOrigin = {x, y}; }

  TFramePatientLevel* m_PatientLevel;
  TFrameStudyLevel* m_StudyLevel;
  TFrameStackLevel* m_StackLevel;
  std::wstring m_PatientsText = L"Patients", m_StudiesText = L"Studies", m_StacksText = L"Stacks";

  TPanel *pnlMain, *pnlTop, *pnlLeftTop, *pnlRightTop, *pnlBottom, *pnlLeftBottom, *pnlRightBottom, *pnlLeft,
      *pnlRight, *pnlDesk, *pnlCaption, *Panel1, *pnlOkCancel, *pnlWorkDesk, *pnlPatientLevel, *pnlStudyLevel,
      *pnlStackLevel, *pnlPatientLevelHeadLine, *pnlStudyLevelHeadLine, *pnlStackLevelHeadLine;
  TImage* Image1;
  TLabel* TntLabel1;
  TSpeedButton* sbClose;
  TButton *lblOk, *lblCancell;
  TSplitter *SplitterPatientsStudies, *SplitterStudiesStacks;

 private:
  const ORN_dicom::TanPatientIE* Patient(int index) const;
  const ORN_dicom::TanStudyIE* Study(int patient, int index) const;
  void RefreshHeadline(TPanel* headline, const std::wstring& word, size_t count);
  // Sets a grid's current row without the choice handlers (the initial selection).
  void SelectQuietly(TDrawGrid* grid, int row);

  ORN_dicom::TanDicomFileSet& m_DFS;
  int32_t* m_Patient;
  int32_t* m_Study;
  int32_t* m_Stack;
  TPoint m_DragOrigin{0, 0};
  bool m_Quiet = false;
  bool m_LeftDown = false;
  TNavigatorStyle m_Style;
};

}  // namespace ORN_browser
