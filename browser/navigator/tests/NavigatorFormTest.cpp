#include <gtest/gtest.h>

#include "browser/navigator/TFormDICOMDIRNavigator.h"
#include "browser/navigator/tests/NavigatorFixture.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "fileset/dicomdir/TanDicomDirObject.h"
#include "platform/vcl/ExtCtrls.h"

using namespace ORN_browser;

namespace {

struct Indexes {
  int32_t patient, study, stack;
  bool operator==(const Indexes& o) const { return patient == o.patient && study == o.study && stack == o.stack; }
};

std::ostream& operator<<(std::ostream& out, const Indexes& i) {
  return out << "(" << i.patient << ", " << i.study << ", " << i.stack << ")";
}

class NavigatorForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { fixture_ = new browser_testing::ThreePatientFileSet(); }
  static void TearDownTestSuite() {
    delete fixture_;
    fixture_ = nullptr;
  }
  ORN_dicom::TanDicomFileSet& Set() { return fixture_->Set(); }
  static browser_testing::ThreePatientFileSet* fixture_;
};
browser_testing::ThreePatientFileSet* NavigatorForm::fixture_ = nullptr;

}  // namespace

TEST_F(NavigatorForm, OpensOnTheGivenIndexesAndOkReturnsThemUnchanged) {
  struct Case {
    Indexes open;
    int patientRow, studyRow, stackRow;
    const wchar_t *patients, *studies, *stacks;
  };
  // Patient 0's study holds two stacks; the main window's stack 0 is the last one built.
  const Case cases[] = {
      {{0, 0, 0}, 1, 1, 2, L"Patients: 3", L"Studies: 1", L"Stacks: 2"},
      {{0, 0, 1}, 1, 1, 1, L"Patients: 3", L"Studies: 1", L"Stacks: 2"},
      {{1, 0, 0}, 2, 1, 1, L"Patients: 3", L"Studies: 2", L"Stacks: 1"},
      {{1, 1, 0}, 2, 2, 1, L"Patients: 3", L"Studies: 2", L"Stacks: 1"},
      {{0, -1, -1}, 1, 1, 1, L"Patients: 3", L"Studies: 1", L"Stacks: 2"},
      {{2, 0, -1}, 3, 1, 1, L"Patients: 3", L"Studies: 1", L"Stacks: 1"},
  };
  for (const Case& c : cases) {
    Indexes i = c.open;
    TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
    EXPECT_EQ(form.m_PatientLevel->Grid->Row(), c.patientRow) << c.open;
    EXPECT_EQ(form.m_StudyLevel->Grid->Row(), c.studyRow) << c.open;
    EXPECT_EQ(form.m_StackLevel->Grid->Row(), c.stackRow) << c.open;
    EXPECT_EQ(form.pnlPatientLevelHeadLine->Caption(), c.patients);
    EXPECT_EQ(form.pnlStudyLevelHeadLine->Caption(), c.studies);
    EXPECT_EQ(form.pnlStackLevelHeadLine->Caption(), c.stacks);
    form.lblOk->Click();
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(i, c.open);
  }
}

TEST_F(NavigatorForm, ChoicesRebuildTheLevelsBelowAndCountStacksAsTheMainWindow) {
  Indexes i{0, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
  // A click on patient 1: its two studies, the stacks of its first study.
  form.m_PatientLevel->Grid->SetRow(2);
  EXPECT_EQ(i, (Indexes{1, -1, -1}));
  EXPECT_EQ(form.m_StudyLevel->m_Rows.size(), 2u);
  EXPECT_EQ(form.m_StudyLevel->Grid->Row(), 1);
  EXPECT_EQ(form.pnlStudyLevelHeadLine->Caption(), L"Studies: 2");
  form.m_StudyLevel->Grid->SetRow(2);
  EXPECT_EQ(i, (Indexes{1, 1, -1}));
  EXPECT_EQ(form.m_StackLevel->m_Rows.size(), 1u);
  // Back to patient 0 and its first built stack, which the main window counts last.
  form.m_PatientLevel->Grid->SetRow(1);
  form.m_StackLevel->Grid->SetRow(2);
  EXPECT_EQ(i, (Indexes{0, 0, 0}));
  form.m_StackLevel->Grid->SetRow(1);
  EXPECT_EQ(i, (Indexes{0, 0, 1}));
  EXPECT_EQ(form.ModalResult(), mrNone);
}

TEST_F(NavigatorForm, DoubleClicksEndWithOk) {
  struct Case {
    int level;  // 0 patients, 1 studies, 2 stacks
    int row;
    Indexes expected;
  };
  for (const Case& c : {Case{0, 2, {1, -1, -1}}, Case{1, 1, {0, 0, -1}}, Case{2, 1, {0, 0, 1}}}) {
    Indexes i{0, 0, 0};
    TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
    TDrawGrid* grids[] = {form.m_PatientLevel->Grid, form.m_StudyLevel->Grid, form.m_StackLevel->Grid};
    form.OnPatientChosen(0, false);  // study and stack rows back to 1
    grids[c.level]->SetRow(c.row);
    if (grids[c.level]->OnDblClick) grids[c.level]->OnDblClick(grids[c.level]);
    EXPECT_EQ(form.ModalResult(), mrOk) << c.level;
    EXPECT_EQ(i, c.expected) << c.level;
  }
}

TEST_F(NavigatorForm, ShowModalReturnsTheChoiceOnOkAndCancelOnClose) {
  for (bool ok : {true, false}) {
    Indexes i{0, 0, 0};
    TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
    TTimer timer(nullptr);
    timer.SetInterval(50);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      form.m_PatientLevel->Grid->SetRow(3);
      if (ok) form.lblOk->Click();
      else form.sbClose->Click();
    };
    timer.SetEnabled(true);
    const int result = form.ShowModal();
    EXPECT_EQ(result, ok ? mrOk : mrCancel);
    EXPECT_EQ(i, (Indexes{2, -1, -1}));  // written on every choice, kept on Cancel
  }
}

TEST_F(NavigatorForm, PatientWithoutStudiesShowsEmptyLevels) {
  browser_testing::ThreePatientFileSet own;
  own.Set().GetDicomDir()->Patients().At(2)->FStudies.EraseAt(0);
  Indexes i{2, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, own.Set(), &i.patient, &i.study, &i.stack);
  EXPECT_TRUE(form.m_StudyLevel->m_Rows.empty());
  EXPECT_TRUE(form.m_StackLevel->m_Rows.empty());
  EXPECT_EQ(form.pnlStudyLevelHeadLine->Caption(), L"Studies: 0");
  form.m_PatientLevel->Grid->SetRow(1);
  EXPECT_EQ(form.m_StudyLevel->m_Rows.size(), 1u);
  form.m_PatientLevel->Grid->SetRow(3);
  EXPECT_TRUE(form.m_StackLevel->m_Rows.empty());
  EXPECT_EQ(i, (Indexes{2, -1, -1}));
}

TEST_F(NavigatorForm, DraggingTheCaptionAndEdgesMovesAndResizes) {
  Indexes i{0, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
  form.SetBounds(100, 100, 900, 650);
  using E = TFormDICOMDIRNavigator::TDragEdge;
  struct Case {
    E edge;
    int dx, dy;
    TRect expected;  // left, top, width, height
  };
  const Case cases[] = {
      {E::RightBottom, 30, 20, {100, 100, 930, 670}},
      {E::Top, 0, 10, {100, 110, 930, 660}},
      {E::Caption, -20, 5, {80, 115, 930, 660}},
      {E::LeftTop, 10, 10, {90, 125, 920, 650}},
      {E::Left, -10, 0, {80, 125, 930, 650}},
  };
  for (const Case& c : cases) {
    form.SetDragOrigin(500, 500);
    form.DragTo(c.edge, 500 + c.dx, 500 + c.dy);
    EXPECT_EQ(form.Left(), c.expected.Left);
    EXPECT_EQ(form.Top(), c.expected.Top);
    EXPECT_EQ(form.Width(), c.expected.Right);
    EXPECT_EQ(form.Height(), c.expected.Bottom);
  }
  // The right button starts no drag.
  form.pnlLeftTopRightBottomMouseDown(nullptr, mbRight, 0, 0, 0);
}

TEST_F(NavigatorForm, GuiPageTextsReplaceCaptionsAndTitles) {
  TNavigatorStyle style;
  style.GuiStrings =
      "<GUI_STRINGS><patients value=\"Kranke\"/><ok/><ps value=\"Zust\"/><prot_name/>"
      "<dataset value=\"Daten\"/></GUI_STRINGS>";
  Indexes i{0, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack, style);
  EXPECT_EQ(form.pnlPatientLevelHeadLine->Caption(), L"Kranke: 3");
  EXPECT_EQ(form.lblOk->Caption(), L"");
  EXPECT_EQ(form.lblCancell->Caption(), L"Cancel");
  EXPECT_EQ(form.TntLabel1->Caption(), L"Daten");
  EXPECT_EQ(form.m_StackLevel->Title(7), L"Zust#");
  EXPECT_EQ(form.m_StackLevel->sNPS->Caption(), L"Zust#");
  EXPECT_EQ(form.m_StackLevel->Title(9), L"");
  EXPECT_EQ(form.m_StackLevel->sPName->Caption(), L"");
  EXPECT_EQ(form.m_StudyLevel->Title(2), L"Accession \u00B9");
}

TEST_F(NavigatorForm, LevelsLayOutToTheirRowsAndShowCellTexts) {
  Indexes i{1, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
  // Three patients: 4 grid rows of 24 + 1 lines; one stack: 2 rows plus the details panel.
  EXPECT_EQ(form.m_PatientLevel->Height(), 4 * 25 + 1);
  TFrameStackLevel stacks(nullptr, TNavigatorStyle());
  stacks.LoadStacks(Set().GetDicomDir()->Patients().At(0)->FStudies.At(0));
  EXPECT_EQ(stacks.Height(), 3 * 25 + 1 + stacks.pnlDetailes->Height());
  const auto& patient = form.m_PatientLevel->m_Rows[1];
  EXPECT_EQ(form.m_PatientLevel->CellText(patient, 0), L"2");
  EXPECT_EQ(form.m_PatientLevel->CellText(patient, 1), L"Bravo^Bob");
  EXPECT_EQ(form.m_PatientLevel->CellText(patient, 3), L"M");
  EXPECT_EQ(form.m_PatientLevel->CellText(patient, 4), L"1/1/1970");
  EXPECT_EQ(form.m_PatientLevel->CellText(patient, 5), L"2");
  const auto& study = form.m_StudyLevel->m_Rows[0];
  EXPECT_EQ(form.m_StudyLevel->CellText(study, 4), L"12/31/2023");
  EXPECT_EQ(form.m_StudyLevel->CellText(study, 5), L"23:59:59");
  form.m_StackLevel->ShowDetails(0);
  EXPECT_EQ(form.m_StackLevel->stextNumberOfInstances->Caption(), L"2");
  EXPECT_EQ(form.m_StackLevel->stextModality->Caption(), L"CT");
}

TEST_F(NavigatorForm, FormHeightIsTheLevelsAndSplittersPlus60) {
  Indexes i{0, 0, 0};
  TFormDICOMDIRNavigator form(nullptr, Set(), &i.patient, &i.study, &i.stack);
  EXPECT_EQ(form.SplitterPatientsStudies->Height(), 4);
  EXPECT_EQ(form.pnlPatientLevel->Height(), 4 * 25 + 1 + 25);
  EXPECT_EQ(form.pnlStudyLevel->Height(), 2 * 25 + 1 + 25);
  // Two stacks: 3 grid rows and the details panel of 160.
  const int stacks = 3 * 25 + 1 + 160 + 25;
  EXPECT_EQ(form.Height(), (4 * 25 + 1 + 25) + (2 * 25 + 1 + 25) + stacks + 2 * 4 + 60);
}

TEST(NavigatorIcon, UnsoundBitmapsAreRefusedAndClearTheIcon) {
  TNavigatorStyle style;
  TFrameStackLevel frame(nullptr, style);
  platform::HBITMAP good = platform::CreateDibSection24(4, 4);
  EXPECT_TRUE(frame.ShowIcon(good));
  EXPECT_TRUE(frame.imIcon->Visible());
  EXPECT_EQ(frame.imIcon->Picture()->Width(), 4);
  platform::HBITMAP bad = platform::CreateDibSection24(64, 64);
  bad->Bits.resize(16);
  EXPECT_FALSE(frame.ShowIcon(bad));
  EXPECT_TRUE(frame.lblNoIcon->Visible());
  EXPECT_EQ(frame.lblNoIcon->Caption(), L"No Icon");
  frame.stextProtocolName->SetCaption(L"Key Image Series");
  EXPECT_TRUE(frame.ShowIcon(nullptr));
  EXPECT_EQ(frame.lblNoIcon->Caption(), L"Key Image Series");
  platform::DeleteBitmap(good);
  platform::DeleteBitmap(bad);
}
