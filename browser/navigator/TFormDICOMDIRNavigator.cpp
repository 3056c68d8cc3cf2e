#include "browser/navigator/TFormDICOMDIRNavigator.h"

#include <algorithm>
#include <cassert>

#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/dicomdir/TanDicomDirObject.h"
#include "fileset/set/TanDicomFileSet.h"

namespace ORN_browser {
namespace {

TPanel* NewPanel(TComponent* owner, TWinControl* parent, TAlign align, TColor color, int size = 0) {
  auto* panel = new TPanel(owner);
  panel->SetParent(parent);
  panel->BevelOuter = bvNone;
  panel->SetColor(color);
  if (align == alTop || align == alBottom) panel->SetHeight(size);
  if (align == alLeft || align == alRight) panel->SetWidth(size);
  panel->SetAlign(align);
  return panel;
}

}  // namespace

TFormDICOMDIRNavigator::TFormDICOMDIRNavigator(TComponent* owner, ORN_dicom::TanDicomFileSet& fileSet, int32_t* patient,
                                               int32_t* study, int32_t* stack, const TNavigatorStyle& style)
    : TForm(owner), m_DFS(fileSet), m_Patient(patient), m_Study(study), m_Stack(stack), m_Style(style) {
  assert(m_DFS.GetDicomDir() != nullptr && m_DFS.IsOwnDicomDir() && "m_DFS.IsInitialized && m_DFS.IsConsistent");
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetBounds(0, 0, 982, 700);
  Font.Name = style.DefaultFont.Name;
  Font.Size = m_Style.Scaled(style.DefaultFont.Size);
  FontChanged();

  // Frame and edges.
  pnlMain = NewPanel(this, this, alClient, clAqua);
  pnlTop = NewPanel(this, pnlMain, alTop, clWhite, 4);
  pnlTop->SetCursor(crSizeNS);
  pnlLeftTop = NewPanel(this, pnlTop, alLeft, clWhite, 4);
  pnlLeftTop->SetCursor(crSizeNWSE);
  pnlRightTop = NewPanel(this, pnlTop, alRight, clWhite, 4);
  pnlRightTop->SetCursor(crSizeNESW);
  pnlBottom = NewPanel(this, pnlMain, alBottom, clWhite, 4);
  pnlBottom->SetCursor(crSizeNS);
  pnlLeftBottom = NewPanel(this, pnlBottom, alLeft, clWhite, 4);
  pnlLeftBottom->SetCursor(crSizeNESW);
  pnlRightBottom = NewPanel(this, pnlBottom, alRight, clWhite, 4);
  pnlRightBottom->SetCursor(crSizeNWSE);
  pnlLeft = NewPanel(this, pnlMain, alLeft, clWhite, 4);
  pnlLeft->SetCursor(crSizeWE);
  pnlRight = NewPanel(this, pnlMain, alRight, clWhite, 4);
  pnlRight->SetCursor(crSizeWE);
  pnlDesk = NewPanel(this, pnlMain, alClient, clSilver);

  // Caption bar.
  pnlCaption = NewPanel(this, pnlDesk, alTop, clBlack, m_Style.Scaled(21));
  pnlCaption->SetCursor(crSizeAll);
  Image1 = new TImage(this);
  Image1->SetParent(pnlCaption);
  Image1->Stretch = true;
  Image1->Transparent = true;
  Image1->SetBounds(m_Style.Scaled(1), m_Style.Scaled(1), m_Style.Scaled(19), m_Style.Scaled(19));
  TntLabel1 = new TLabel(this);
  TntLabel1->SetParent(pnlCaption);
  TntLabel1->Font = style.TitleFont;
  TntLabel1->Font.Size = m_Style.Scaled(style.TitleFont.Size);
  TntLabel1->Font.Style = fsBold;
  TntLabel1->Font.Color = m_Style.Color("cDICOMDIRHeaderText", clWhite);
  TntLabel1->FontChanged();
  TntLabel1->SetLeft(m_Style.Scaled(24));
  TntLabel1->SetTop(m_Style.Scaled(4));
  TntLabel1->SetCaption(L"Data Set");
  Panel1 = NewPanel(this, pnlCaption, alRight, clBlack, 23);
  sbClose = new TSpeedButton(this);
  sbClose->SetParent(Panel1);
  sbClose->Flat = true;
  sbClose->SetCaption(L"\u00D7");
  sbClose->SetBounds(1, 1, m_Style.Scaled(21), m_Style.Scaled(19));
  sbClose->OnClick = [this](TObject* s) { sbCloseClick(s); };

  // OK and Cancel.
  pnlOkCancel = NewPanel(this, pnlDesk, alBottom, clBlack, m_Style.Scaled(29));
  lblCancell = new TButton(this);
  lblCancell->SetParent(pnlOkCancel);
  lblCancell->Font = style.FooterFont;
  lblCancell->Font.Size = m_Style.Scaled(style.FooterFont.Size);
  lblCancell->FontChanged();
  lblCancell->SetCaption(L"Cancel");
  lblCancell->Cancel = true;
  lblCancell->ModalResult = mrCancel;
  lblCancell->SetBounds(m_Style.Scaled(864), m_Style.Scaled(3), m_Style.Scaled(75), m_Style.Scaled(25));
  lblCancell->Anchors = akTop | akRight;
  lblOk = new TButton(this);
  lblOk->SetParent(pnlOkCancel);
  lblOk->Font = lblCancell->Font;
  lblOk->FontChanged();
  lblOk->SetCaption(L"Ok");
  lblOk->Default = true;
  lblOk->ModalResult = mrOk;
  lblOk->SetBounds(m_Style.Scaled(775), m_Style.Scaled(3), m_Style.Scaled(75), m_Style.Scaled(25));
  lblOk->Anchors = akTop | akRight;

  // The three levels.
  pnlWorkDesk = NewPanel(this, pnlDesk, alClient, clSilver);
  auto level = [&](TPanel*& panel, TPanel*& headline, int height) {
    panel = NewPanel(this, pnlWorkDesk, alTop, clSilver, height);
    headline = NewPanel(this, panel, alTop, clSilver, 25);
    headline->BevelOuter = bvLowered;
    headline->Font = style.TitleFont;
    headline->Font.Size = m_Style.Scaled(style.TitleFont.Size);
    headline->Font.Style = fsBold;
    headline->Font.Color = m_Style.Color("cDICOMDIRLevelsText", clWhite);
    headline->FontChanged();
    headline->SetHeight(m_Style.Scaled(25));
    headline->SetColor(m_Style.Color("cTitle", clSilver));
  };
  auto splitter = [&]() {
    auto* s = new TSplitter(this);
    s->SetParent(pnlWorkDesk);
    s->SetAlign(alTop);
    s->SetHeight(4);
    s->SetColor(m_Style.Color("cActive", clWhite));
    return s;
  };
  level(pnlPatientLevel, pnlPatientLevelHeadLine, 197);
  SplitterPatientsStudies = splitter();
  level(pnlStudyLevel, pnlStudyLevelHeadLine, 199);
  SplitterStudiesStacks = splitter();
  level(pnlStackLevel, pnlStackLevelHeadLine, 237);

  m_PatientLevel = new TFramePatientLevel(this, style);
  m_StudyLevel = new TFrameStudyLevel(this, style);
  m_StackLevel = new TFrameStackLevel(this, style);

  // Texts of the GUI page.
  std::wstring dataset = TntLabel1->Caption(), ok = lblOk->Caption(), cancel = lblCancell->Caption();
  ApplyGuiStrings(style.GuiStrings, {{L"dataset", &dataset}, {L"ok", &ok}, {L"cancel", &cancel},
                                     {L"patients", &m_PatientsText}, {L"studies", &m_StudiesText},
                                     {L"stacks", &m_StacksText}});
  TntLabel1->SetCaption(dataset);
  lblOk->SetCaption(ok);
  lblCancell->SetCaption(cancel);

  m_PatientLevel->SetParent(pnlPatientLevel);
  m_StudyLevel->SetParent(pnlStudyLevel);
  m_StackLevel->SetParent(pnlStackLevel);

  // Rows, from the indexes the caller gave.
  const int32_t patient0 = *m_Patient, study0 = *m_Study, stack0 = *m_Stack;
  const int p = std::max(patient0, 0), s = std::max(study0, 0);
  m_PatientLevel->LoadPatients(*m_DFS.GetDicomDir());
  m_StudyLevel->LoadStudies(Patient(p));
  m_StackLevel->LoadStacks(Study(p, s));

  // Sizes.
  pnlPatientLevel->SetHeight(m_PatientLevel->Height() + pnlPatientLevelHeadLine->Height());
  pnlStudyLevel->SetHeight(m_StudyLevel->Height() + pnlStudyLevelHeadLine->Height());
  pnlStackLevel->SetHeight(m_StackLevel->Height() + pnlStackLevelHeadLine->Height());
  const int widest = std::max({m_PatientLevel->Width(), m_StudyLevel->Width(), m_StackLevel->Width()});
  SetWidth(widest + pnlLeft->Width() + pnlRight->Width() + 4);
  SetHeight(pnlPatientLevel->Height() + pnlStudyLevel->Height() + pnlStackLevel->Height() +
            SplitterPatientsStudies->Height() + SplitterStudiesStacks->Height() + 60);
  pnlStackLevel->SetAlign(alClient);

  m_PatientLevel->m_OnRowChosen = [this](int v, bool d) { OnPatientChosen(v, d); };
  m_PatientLevel->SetAlign(alClient);
  m_PatientLevel->Show();
  RefreshHeadline(pnlPatientLevelHeadLine, m_PatientsText, m_PatientLevel->m_Rows.size());
  m_StudyLevel->m_OnRowChosen = [this](int v, bool d) { OnStudyChosen(v, d); };
  m_StudyLevel->SetAlign(alClient);
  m_StudyLevel->Show();
  RefreshHeadline(pnlStudyLevelHeadLine, m_StudiesText, m_StudyLevel->m_Rows.size());
  m_StackLevel->m_OnRowChosen = [this](int v, bool d) { OnStackChosen(v, d); };
  m_StackLevel->SetAlign(alClient);
  m_StackLevel->Show();
  RefreshHeadline(pnlStackLevelHeadLine, m_StacksText, m_StackLevel->m_Rows.size());

  // Initial selection: the rows of the given indexes, the stack counted as the main window
  // counts it. The levels are loaded already, so the choice handlers do not run and the
  // caller's indexes come back unchanged when the user presses OK at once.
  const int stackRow = stack0 >= 0 ? ORN_dicomdir::ToMainWindowStackIndex(stack0, int(m_StackLevel->m_Rows.size())) : -1;
  SelectQuietly(m_PatientLevel->Grid, patient0 >= 0 ? patient0 + 1 : 1);
  SelectQuietly(m_StudyLevel->Grid, study0 >= 0 ? study0 + 1 : 1);
  SelectQuietly(m_StackLevel->Grid, stackRow >= 0 ? stackRow + 1 : 1);

  // Colours.
  pnlCaption->SetColor(m_Style.Color("cTitle", pnlCaption->Color()));
  pnlOkCancel->SetColor(m_Style.Color("cFooter", pnlOkCancel->Color()));
  for (TPanel* edge : {pnlBottom, pnlLeftBottom, pnlRightBottom, pnlLeft, pnlRight, pnlTop, pnlLeftTop, pnlRightTop})
    edge->SetColor(m_Style.Color("cActive", edge->Color()));
  pnlDesk->SetColor(m_Style.Color("cDefault", pnlDesk->Color()));

  // Caption picture from the GUI_IMAGES page.
  if (style.LoadImage) {
    std::wstring image;
    bool found = false;
    ReadGuiAttribute(style.GuiImages, L"dataset", L"image", image, found);
    std::string name;
    for (wchar_t c : image) name += char(c);
    if (found && !name.empty()) style.LoadImage(name, *Image1->Picture());
  }

  // Moving and resizing through the caption and the edges.
  struct EdgeOf {
    TPanel* panel;
    TDragEdge edge;
  };
  for (const EdgeOf& e : {EdgeOf{pnlCaption, TDragEdge::Caption}, EdgeOf{pnlLeftTop, TDragEdge::LeftTop},
                          EdgeOf{pnlRightTop, TDragEdge::RightTop}, EdgeOf{pnlLeftBottom, TDragEdge::LeftBottom},
                          EdgeOf{pnlRightBottom, TDragEdge::RightBottom}, EdgeOf{pnlTop, TDragEdge::Top},
                          EdgeOf{pnlBottom, TDragEdge::Bottom}, EdgeOf{pnlLeft, TDragEdge::Left},
                          EdgeOf{pnlRight, TDragEdge::Right}}) {
    TPanel* panel = e.panel;
    const TDragEdge edge = e.edge;
    panel->OnMouseDown = [this, panel](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      const TPoint screen = panel->ClientToScreen({x, y});
      pnlLeftTopRightBottomMouseDown(s, b, sh, screen.x, screen.y);
    };
    panel->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
      if (b == mbLeft) m_LeftDown = false;
    };
    panel->OnMouseMove = [this, panel, edge](TObject*, TShiftState, int x, int y) {
      if (!m_LeftDown) return;
      const TPoint screen = panel->ClientToScreen({x, y});
      DragTo(edge, screen.x, screen.y);
    };
  }
}

const ORN_dicom::TanPatientIE* TFormDICOMDIRNavigator::Patient(int index) const {
  const auto& patients = m_DFS.GetDicomDir()->Patients();
  return index >= 0 && index < patients.Count() ? patients.At(index) : nullptr;
}

const ORN_dicom::TanStudyIE* TFormDICOMDIRNavigator::Study(int patient, int index) const {
  const ORN_dicom::TanPatientIE* record = Patient(patient);
  // A patient without studies shows an empty stacks level.
  if (record == nullptr || index < 0 || index >= record->FStudies.Count()) return nullptr;
  return record->FStudies.At(index);
}

void TFormDICOMDIRNavigator::RefreshHeadline(TPanel* headline, const std::wstring& word, size_t count) {
  headline->SetCaption(word + L": " + std::to_wstring(count));
}

void TFormDICOMDIRNavigator::SelectQuietly(TDrawGrid* grid, int row) {
  m_Quiet = true;
  grid->SetRow(std::clamp(row, 1, std::max(grid->RowCount() - 1, 1)));
  m_Quiet = false;
}

void TFormDICOMDIRNavigator::OnPatientChosen(int value, bool doubleClick) {
  if (m_Quiet) return;
  *m_Patient = value;
  *m_Study = -1;
  *m_Stack = -1;
  if (doubleClick) {
    SetModalResult(mrOk);
    return;
  }
  m_StudyLevel->LoadStudies(Patient(value));
  RefreshHeadline(pnlStudyLevelHeadLine, m_StudiesText, m_StudyLevel->m_Rows.size());
  m_StackLevel->LoadStacks(Study(value, std::max(*m_Study, 0)));
  RefreshHeadline(pnlStackLevelHeadLine, m_StacksText, m_StackLevel->m_Rows.size());
  SelectQuietly(m_StudyLevel->Grid, 1);
  SelectQuietly(m_StackLevel->Grid, 1);
  SelectQuietly(m_PatientLevel->Grid, value + 1);
  for (TControl* frame : {static_cast<TControl*>(m_PatientLevel), static_cast<TControl*>(m_StudyLevel),
                          static_cast<TControl*>(m_StackLevel)})
    frame->SetWidth(frame->Width() + 1);
}

void TFormDICOMDIRNavigator::OnStudyChosen(int value, bool doubleClick) {
  if (m_Quiet) return;
  *m_Patient = std::max(*m_Patient, 0);
  *m_Study = value;
  *m_Stack = -1;
  if (doubleClick) {
    SetModalResult(mrOk);
    return;
  }
  m_StackLevel->LoadStacks(Study(*m_Patient, value));
  RefreshHeadline(pnlStackLevelHeadLine, m_StacksText, m_StackLevel->m_Rows.size());
  SelectQuietly(m_StackLevel->Grid, 1);
  SelectQuietly(m_StudyLevel->Grid, value + 1);
  m_StudyLevel->SetWidth(m_StudyLevel->Width() + 1);
  m_StackLevel->SetWidth(m_StackLevel->Width() + 1);
}

void TFormDICOMDIRNavigator::OnStackChosen(int value, bool doubleClick) {
  if (m_Quiet) return;
  *m_Patient = std::max(*m_Patient, 0);
  *m_Study = std::max(*m_Study, 0);
  *m_Stack = ORN_dicomdir::ToMainWindowStackIndex(value, int(m_StackLevel->m_Rows.size()));
  if (doubleClick) SetModalResult(mrOk);
}

void TFormDICOMDIRNavigator::lblOkClick(TObject*) { SetModalResult(mrOk); }
void TFormDICOMDIRNavigator::lblCancellClick(TObject*) { SetModalResult(mrCancel); }
void TFormDICOMDIRNavigator::sbCloseClick(TObject*) { SetModalResult(mrCancel); }

void TFormDICOMDIRNavigator::pnlLeftTopRightBottomMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  m_LeftDown = true;
  m_DragOrigin = {x, y};
}

void TFormDICOMDIRNavigator::DragTo(TDragEdge edge, int x, int y) {
  const int dx = x - m_DragOrigin.x, dy = y - m_DragOrigin.y;
  int left = Left(), top = Top(), width = Width(), height = Height();
  switch (edge) {
    case TDragEdge::Caption: left += dx; top += dy; break;
    case TDragEdge::LeftTop: left += dx; top += dy; width -= dx; height -= dy; break;
    case TDragEdge::RightTop: top += dy; width += dx; height -= dy; break;
    case TDragEdge::LeftBottom: left += dx; width -= dx; height += dy; break;
    case TDragEdge::RightBottom: width += dx; height += dy; break;
    case TDragEdge::Top: top += dy; height -= dy; break;
    case TDragEdge::Bottom: height += dy; break;
    case TDragEdge::Left: left += dx; width -= dx; break;
    case TDragEdge::Right: width += dx; break;
  }
  SetBounds(left, top, width, height);
  m_DragOrigin = {x, y};
  Repaint();
}

}  // namespace ORN_browser
