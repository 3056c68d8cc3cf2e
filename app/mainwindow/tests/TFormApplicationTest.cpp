// The main window with real widgets (offscreen) on generated file sets: construction, the
// start-up opening, the patient display box by box, opening a DICOMDIR or a folder, the stack
// tiles and placement, the relay of the stack windows' requests, the studies panel and closing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "app/mainwindow/TFormApplication.h"
#include "app/mainwindow/tests/MainWindowFakes.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/testing/TestImages.h"
#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/windows/Messages.h"

using namespace vistrel_main;
using vistrel_main::test::FakeClientArea;
using vistrel_main::test::FakeStackWindow;
using vistrel_main::test::FakeStudiesPanel;
using vistrel_main::test::Received;
namespace fs = std::filesystem;

namespace {

struct Box {
  std::wstring text, caption;
  uint32_t flags;
};

// A temporary folder of its own for each test.
class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("mainwindow_" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Patient p has studies[p] studies, each of one series of `images` slices (one stack).
void WriteImages(const fs::path& folder, const std::vector<int>& studies, int images = 2) {
  int n = 0;
  for (size_t p = 0; p < studies.size(); ++p)
    for (int s = 0; s < studies[p]; ++s)
      for (int i = 0; i < images; ++i) {
        ORN_dicom::testing::TestImage image;
        image.patientID = "PID" + std::to_string(p + 1);
        image.patientName = "Patient^" + std::to_string(p + 1);
        image.studyUID = "1.2.3." + std::to_string(p + 1) + "." + std::to_string(s + 1);
        image.seriesUID = image.studyUID + ".1";
        image.sopInstance = image.seriesUID + "." + std::to_string(i + 1);
        image.studyDate = "2004010" + std::to_string(s + 1);
        image.instanceNumber = i + 1;
        image.position = std::vector<double>{0, 0, static_cast<double>(i)};
        fs::create_directories(folder / "IMG");
        ASSERT_TRUE(ORN_dicom::testing::WriteTestImage((folder / "IMG" / ("IM" + std::to_string(++n))).string(), image));
      }
}

// A DICOMDIR of this system over the images.
void WriteOwnDicomDir(const fs::path& folder) {
  ORN_dicom::TanDicomFileSet set;
  ASSERT_TRUE(set.BuildFromFolder(folder.string(), false)) << set.GetLastError();
  ASSERT_TRUE(set.BuildStacks(true)) << set.GetLastError();
  ASSERT_TRUE(set.SaveDicomDir(false)) << set.GetLastError();
}

std::map<std::string, std::string> Checksums(const fs::path& folder) {
  std::map<std::string, std::string> sums;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    sums[fs::relative(entry.path(), folder).string()] = std::to_string(std::hash<std::string>{}(bytes.str())) + ":" +
                                                       std::to_string(bytes.str().size()) + ":" +
                                                       std::to_string(platform::GetFileAttributes(entry.path().string()));
  }
  return sums;
}

// Serves the window's timers until the study boxes are complete (bounded).
void RunUntilBoxesComplete(TFormApplication& form) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!form.FStudyBoxesComplete && std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    parts_.MakeStudiesPanel = [this] {
      auto panel = std::make_unique<FakeStudiesPanel>();
      panels_.push_back(panel.get());
      return std::unique_ptr<iSTUDIES_PANEL>(std::move(panel));
    };
    parts_.MakeClientArea = [this] {
      auto area = std::make_unique<FakeClientArea>();
      areas_.push_back(area.get());
      return std::unique_ptr<iCLIENT_AREA>(std::move(area));
    };
    form_ = std::make_unique<TFormApplication>(nullptr, parts_);
    form_->ExecutableFolderPath = program_.path().string() + "/";
    form_->MessageBoxHook = [this](const std::wstring& text, const std::wstring& caption, uint32_t flags) {
      boxes_.push_back({text, caption, flags});
      if (answers_.empty()) return IDOK;
      const int answer = answers_.front();
      answers_.erase(answers_.begin());
      return answer;
    };
    form_->RunPatientNavigator = [this](int32_t& patient, int32_t& study, int32_t& stack) {
      ++navigatorRuns_;
      if (navigatorChoice_ < 0) return false;
      patient = navigatorChoice_, study = -1, stack = -1;
      return true;
    };
    form_->TerminateProcess = [this] { ++terminated_; };
  }
  FakeStudiesPanel* Panel() { return panels_.empty() ? nullptr : panels_.back(); }
  std::vector<int> ShownStudies() {
    std::vector<int> studies;
    if (Panel())
      for (auto& box : Panel()->Boxes) studies.push_back(box->Study);
    return studies;
  }

  TempFolder program_;
  TMainWindowParts parts_;
  std::vector<FakeStudiesPanel*> panels_;
  std::vector<FakeClientArea*> areas_;
  std::unique_ptr<TFormApplication> form_;
  std::vector<Box> boxes_;
  std::vector<int> answers_;
  int navigatorRuns_ = 0;
  int navigatorChoice_ = -1;
  int terminated_ = 0;
};

TEST_F(MainWindow, ConstructionGivesTheFirstValues) {
  TFormApplication& f = *form_;
  EXPECT_EQ(f.FPatientIndex, -1);
  EXPECT_EQ(f.FListedPatient, -1);
  EXPECT_EQ(f.FChooserColumns, 5);
  EXPECT_EQ(f.FStudiesPanelHideDelay, 400);
  EXPECT_EQ(f.FPanelHideTimerId, reinterpret_cast<uintptr_t>(f.pnlLeft));
  EXPECT_EQ(f.FStudyBoxTimerId, reinterpret_cast<uintptr_t>(f.pnlStudies));
  ASSERT_TRUE(f.FReferenceLines);
  ASSERT_EQ(f.FReferenceLines->Planes.size(), 1u);
  EXPECT_EQ(f.FReferenceLines->Planes[0].Rows, 0);
  EXPECT_EQ(f.CGaugeProgressBarBottom->Progress(), 1);
  EXPECT_EQ(f.CGaugeProgressBarBottom->MaxValue, 1);
  EXPECT_EQ(f.FStatisticsFlags, 1);  // no Base.ini beside the test program's stand-in folder
  EXPECT_EQ(f.Texts.FStudiesTitle, L"Studies");
  EXPECT_EQ(f.Texts.msgDicomDirIncorrect, L"The DICOMDIR file you are attempting to load was not built by ORN's tools.");
  int texts = 0;
  f.Texts.ForEach([&](const wchar_t*, std::wstring& text) { texts += !text.empty(); });
  EXPECT_EQ(texts, 42);
  EXPECT_FALSE(f.tbStudyStatus->Visible());
  EXPECT_FALSE(f.tbHP->Enabled());
  EXPECT_EQ(f.OpenDicomDirFileDialog->Title, L"Open DICOM Data");
  EXPECT_EQ(f.OpenDicomDirFileDialog->Filter, L"DICOM files|DICOMDIR");
  EXPECT_EQ(f.opendicomdirfile1->Caption(), L"open dicomdir file");
  EXPECT_EQ(f.exit1->Caption(), L"exit");
}

TEST(DicomTexts, DatesAndTimesReadLeniently) {
  platform::FileTime compact, dotted, hyphen;
  ASSERT_TRUE(ParseDicomDate("20040101", &compact));
  ASSERT_TRUE(ParseDicomDate("2004.01.01", &dotted));
  ASSERT_TRUE(ParseDicomDate(" 2004-01-01 ", &hyphen));
  EXPECT_EQ(compact.ticks, dotted.ticks);
  EXPECT_EQ(compact.ticks, hyphen.ticks);
  const char* refused[] = {"200401", "2004AB01", "", "0000101", "20041301", "20040145", "20040231", "20040431"};
  for (const char* text : refused) EXPECT_FALSE(ParseDicomDate(text, &compact)) << text;

  EXPECT_EQ(FormatDicomDate("20040105"), "1/5/2004");
  EXPECT_EQ(FormatDicomDate("2004.01.05"), "1/5/2004");
  EXPECT_EQ(FormatDicomDate("20040145"), "");  // read, then refused by the locale formatting
  EXPECT_EQ(FormatDicomDate("bad"), "");

  EXPECT_EQ(FormatDicomTime("1030"), "10:30:00");
  EXPECT_EQ(FormatDicomTime("103015.123456"), "10:30:15");
  EXPECT_EQ(FormatDicomTime("10:30:15"), "10:30:15");
  EXPECT_EQ(FormatDicomTime("103015+0100"), "10:30:15");
  EXPECT_EQ(FormatDicomTime("103099"), "");
  EXPECT_EQ(FormatDicomTime("2530"), "");
  EXPECT_EQ(FormatDicomTime("1"), "");

  platform::FileTime a{5}, b{5}, c{6};
  EXPECT_FALSE(FileTimeLess(&a, &b));
  EXPECT_TRUE(FileTimeEqual(&a, &b));
  EXPECT_TRUE(FileTimeLess(&a, &c));
}

TEST_F(MainWindow, StandaloneStartOnThreePatientsShowsOneBoxPerTick) {
  WriteImages(program_.path(), {3, 1, 2});
  WriteOwnDicomDir(program_.path());
  form_->OpenStandaloneFileSet();
  ASSERT_TRUE(boxes_.empty()) << platform::WideToUtf8(boxes_[0].text);
  EXPECT_EQ(navigatorRuns_, 1);  // several patients: the navigator opens at once; cancelled
  EXPECT_EQ(form_->FPatientIndex, 0);
  EXPECT_EQ(form_->FListedPatient, 0);
  EXPECT_EQ(form_->lblStudiesListTitle->Caption(), L"Studies: 3");
  EXPECT_EQ(form_->FPatientInfo->lblName->Caption(), L"Patient^1");
  EXPECT_EQ(form_->FPatientInfo->lblPatientTitle->Caption(), L"Patient 1/3:");
  EXPECT_TRUE(form_->tbNextPatient->Visible());
  EXPECT_TRUE(form_->tbNextPatient->Enabled());
  EXPECT_FALSE(form_->tbPrevPatient->Enabled());
  EXPECT_TRUE(form_->tbClose->Enabled());
  // No box before the first tick; then one per tick.
  ASSERT_NE(Panel(), nullptr);
  EXPECT_TRUE(Panel()->Boxes.empty());
  form_->OnTimer(form_->FStudyBoxTimerId);
  EXPECT_EQ(ShownStudies(), std::vector<int>({0}));
  form_->OnTimer(form_->FStudyBoxTimerId);
  EXPECT_EQ(ShownStudies(), std::vector<int>({0, 1}));
  RunUntilBoxesComplete(*form_);
  EXPECT_EQ(ShownStudies(), std::vector<int>({0, 1, 2}));
  EXPECT_EQ(Panel()->Boxes[0]->Stacks, 1);
  // Title: date, time, modalities, accession number and description, blanks between; the
  // patient's studies come newest first.
  EXPECT_EQ(Panel()->Boxes[0]->Title, L"1/3/2004 10:10:10 CT  ");
  EXPECT_EQ(Panel()->Boxes[2]->Title, L"1/1/2004 10:10:10 CT  ");
  EXPECT_EQ(Panel()->Boxes[2]->LossyState, -1);
  EXPECT_TRUE(Panel()->Boxes[2]->Callbacks.TileDescription);

  // The age limits of the patient: three distinct dates, newest first.
  EXPECT_GT(form_->FStudyAgeLimits[0].ticks, form_->FStudyAgeLimits[1].ticks);
  EXPECT_GT(form_->FStudyAgeLimits[1].ticks, form_->FStudyAgeLimits[2].ticks);

  // Next patient: a new panel, numbering starts again.
  form_->tbNextPatient->Click();
  EXPECT_EQ(form_->FPatientIndex, 1);
  EXPECT_EQ(form_->lblStudiesListTitle->Caption(), L"Studies: 1");
  RunUntilBoxesComplete(*form_);
  EXPECT_EQ(ShownStudies(), std::vector<int>({0}));
  EXPECT_TRUE(form_->tbPrevPatient->Enabled());
}

TEST_F(MainWindow, OnePatientWithOneStackOpensThatStackWithoutNavigation) {
  WriteImages(program_.path(), {1});
  WriteOwnDicomDir(program_.path());
  form_->OpenStandaloneFileSet();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(navigatorRuns_, 0);
  EXPECT_EQ(form_->FPatientIndex, 0);
  EXPECT_EQ(form_->FStudyIndex, 0);
  EXPECT_EQ(form_->FStackIndex, 0);
  EXPECT_FALSE(form_->tbNextPatient->Visible());
  EXPECT_FALSE(static_cast<bool>(form_->tbNextPatient->OnClick));
  EXPECT_TRUE(form_->tbPatientsList->Visible());
}

TEST_F(MainWindow, StandaloneStartFailuresCloseWithTheirTexts) {
  // No DICOMDIR beside the program.
  form_->OpenStandaloneFileSet();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"DICOMDIR file was not found.\nVistrel will be closed");
  EXPECT_EQ(boxes_[0].caption, L"Error");
  EXPECT_TRUE(form_->ProgramClosed);

  // A DICOMDIR that does not read.
  boxes_.clear();
  std::ofstream(program_.path() / "DICOMDIR") << "not a DICOMDIR";
  form_->ProgramClosed = false;
  form_->OpenStandaloneFileSet();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text.rfind(L"DICOMDIR Initialization Error.\n", 0), 0u);
  EXPECT_NE(boxes_[0].text.find(L"\nVistrel will be closed"), std::wstring::npos);
  EXPECT_TRUE(form_->ProgramClosed);
  EXPECT_FALSE(form_->FFileSet.FValid);
  EXPECT_TRUE(form_->tbClose->Enabled());
}

TEST_F(MainWindow, FileSetWithoutPatientsShowsAnEmptyWindow) {
  WriteImages(program_.path(), {1});
  {
    ORN_dicom::TanDicomFileSet set;
    ASSERT_TRUE(set.BuildFromFolder(program_.path().string(), false));
    ASSERT_TRUE(set.DeleteSeries("1.2.3.1.1.1", "1.2.3.1.1", "PID1")) << set.GetLastError();
    if (set.GetDicomDir()->Patients().Count() != 0) GTEST_SKIP() << "the patient stays with its last series";
    ASSERT_TRUE(set.SaveDicomDir(false)) << set.GetLastError();
  }
  form_->OpenStandaloneFileSet();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_FALSE(form_->ProgramClosed);
  EXPECT_EQ(form_->FListedPatient, -1);
  EXPECT_EQ(form_->FMessagePanel->lblMessage->Caption(), L"The DICOMDIR holds no patients.");
}

TEST(HostTexts, ByteOrderMarkMeansUtf8) {
  const char bom[] = "\xEF\xBB\xBF<s>\xC3\xA9</s>";
  EXPECT_EQ(TFormApplication::DecodeHostText(-1, bom, static_cast<int32_t>(sizeof bom - 1)), L"<s>\u00E9</s>");
  const char ansi[] = "<s>\xE9</s>";  // Windows-1252
  EXPECT_EQ(TFormApplication::DecodeHostText(-1, ansi, static_cast<int32_t>(sizeof ansi - 1)), L"<s>\u00E9</s>");
  EXPECT_EQ(TFormApplication::DecodeHostText(-1, nullptr, 4), L"");
}

TEST_F(MainWindow, ForeignDicomDirIsRefused) {
  if (std::system("command -v dcmmkdir >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dcmmkdir";
  WriteImages(program_.path(), {1, 1});
  const std::string command = "cd '" + program_.path().string() + "' && dcmmkdir -q --invent +r IMG >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ASSERT_TRUE(fs::exists(program_.path() / "DICOMDIR"));
  form_->OpenStandaloneFileSet();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text,
            L"The DICOMDIR file you are attempting to load was not built by ORN's tools.\nVistrel will be closed");
  EXPECT_TRUE(form_->ProgramClosed);
  EXPECT_FALSE(form_->FFileSet.FValid);

  // The same through the menu: refused, and the program keeps running.
  boxes_.clear();
  form_->ProgramClosed = false;
  struct Dialog : TOpenDialog {
    using TOpenDialog::TOpenDialog;
    bool Execute() override { return true; }
  };
  auto* dialog = new Dialog(form_.get());
  dialog->FileName = platform::Utf8ToWide((program_.path() / "DICOMDIR").string());
  form_->OpenDicomDirFileDialog = dialog;
  form_->OpenDicomDirFileExecute(nullptr);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"The DICOMDIR file you are attempting to load was not built by ORN's tools.");
  EXPECT_FALSE(form_->ProgramClosed);
  EXPECT_TRUE(form_->tbClose->Enabled());
}

TEST_F(MainWindow, FolderActionAnsweredNoChangesNoFile) {
  TempFolder data;
  WriteImages(data.path(), {2, 1, 1});
  const auto before = Checksums(data.path());
  form_->SelectFolder = [&](std::wstring& folder) {
    folder = platform::Utf8ToWide(data.path().string());
    return true;
  };
  answers_ = {IDNO};
  form_->OpenFolderExecute(nullptr);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"DICOMDIR data created successfully.\nWould You like to save?");
  EXPECT_EQ(boxes_[0].caption, L"Warning");
  EXPECT_EQ(Checksums(data.path()), before);
  EXPECT_EQ(form_->lblStudiesListTitle->Caption(), L"Studies: 2");
  EXPECT_EQ(navigatorRuns_, 1);
  EXPECT_TRUE(form_->tbClose->Enabled());

  // Yes writes the DICOMDIR; a second Yes then asks before replacing it, and No keeps it.
  boxes_.clear();
  answers_ = {IDYES};
  form_->OpenFolderExecute(nullptr);
  ASSERT_EQ(boxes_.size(), 2u);
  const std::wstring target = platform::Utf8ToWide(data.path().string() + "/DICOMDIR");
  EXPECT_EQ(boxes_[1].text, target + L"\n saved successfully.");
  EXPECT_EQ(boxes_[1].caption, L"Notification");
  ASSERT_TRUE(fs::exists(data.path() / "DICOMDIR"));
  const auto saved = Checksums(data.path());
  boxes_.clear();
  answers_ = {IDYES, IDNO};
  form_->OpenFolderExecute(nullptr);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text, L"File already exists:\n" + target + L"\nOverwrite?");
  EXPECT_EQ(Checksums(data.path()), saved);
}

TEST_F(MainWindow, OpeningAnotherFileSetStopsTheOldBoxes) {
  WriteImages(program_.path(), {3, 1});
  WriteOwnDicomDir(program_.path());
  form_->OpenStandaloneFileSet();
  form_->OnTimer(form_->FStudyBoxTimerId);  // one box of the old patient
  FakeStudiesPanel* old = Panel();
  ASSERT_EQ(old->Boxes.size(), 1u);

  TempFolder other;
  WriteImages(other.path(), {1});
  form_->SelectFolder = [&](std::wstring& folder) {
    folder = platform::Utf8ToWide(other.path().string());
    return true;
  };
  answers_ = {IDNO};
  form_->OpenFolderExecute(nullptr);
  // One patient with one stack: shown at once, on a new panel whose boxes are its own.
  EXPECT_NE(Panel(), old);
  RunUntilBoxesComplete(*form_);
  EXPECT_EQ(ShownStudies(), std::vector<int>({0}));
  EXPECT_EQ(form_->lblStudiesListTitle->Caption(), L"Studies: 1");
  EXPECT_EQ(form_->FStudyIndex, 0);
}

TEST_F(MainWindow, StackTilesAndPlacementCarryTheWindowsSettings) {
  WriteImages(program_.path(), {2, 1});
  WriteOwnDicomDir(program_.path());
  form_->OpenStandaloneFileSet();
  TStackTileDescription tile;
  ASSERT_TRUE(form_->GetStackTileInfo(1, 0, tile));
  EXPECT_EQ(tile.StudyIndex, 1);
  EXPECT_EQ(tile.SeriesIndex, 0);
  EXPECT_EQ(tile.ImageCount, 2);
  EXPECT_EQ(tile.Modality, "CT");
  EXPECT_EQ(tile.SeriesNumber, 1);
  platform::DeleteBitmap(tile.Icon);
  EXPECT_THROW(form_->GetStackTileInfo(1, 5, tile), std::out_of_range);

  std::ostringstream images, states, frames;
  std::string key;
  ASSERT_TRUE(form_->FillEngineFileLists(0, 0, 0, false, images, states, frames, key));
  // Study 0 is the newer one, of the third and fourth file.
  EXPECT_EQ(images.str(), program_.path().string() + "/IMG/IM3\n" + program_.path().string() + "/IMG/IM4\n" +
                              std::string(1, '\0'));
  EXPECT_EQ(frames.str(), std::string("0\n0\n") + '\0');
  EXPECT_EQ(states.str(), std::string(1, '\0'));
  EXPECT_FALSE(key.empty());

  // Placing: the matrix is 1 x 1; the window gets the settings and the texts of its series.
  std::vector<Received> log;
  FakeStackWindow window(&log, "A");
  window.Study = 1, window.Series = 0, window.Stack = 0;
  form_->tbInverse->SetDown(true);
  form_->FOppositePan = true;
  form_->FStatisticsFlags = 0x5;
  ASSERT_TRUE(form_->PlaceNewStackWindow(window));
  EXPECT_EQ(areas_.back()->Cells[0], &window);
  EXPECT_TRUE(window.Shown);
  EXPECT_TRUE(window.InverseSet);
  EXPECT_TRUE(window.OppositePan);
  EXPECT_TRUE(window.ToolbarPinned);
  EXPECT_TRUE(window.Statistics[0]);
  EXPECT_FALSE(window.Statistics[1]);
  EXPECT_TRUE(window.Statistics[2]);
  EXPECT_EQ(window.Embedded.PatientName, L"Patient^1");
  EXPECT_EQ(window.Embedded.SeriesInstanceUID, "1.2.3.1.1.1");
  EXPECT_EQ(window.Embedded.SeriesNumber, "1");
  EXPECT_EQ(window.Chronological, 1);  // its study is the second newest of the patient
  // A full matrix without an active window has no cell; a negative cell is refused.
  FakeStackWindow second(&log, "B");
  EXPECT_FALSE(form_->PlaceNewStackWindow(second));
  EXPECT_FALSE(form_->PlaceStackWindowInCell(second, -1));
  EXPECT_TRUE(form_->PlaceStackWindowInCell(second, 0));
  EXPECT_EQ(areas_.back()->Cells[0], &second);
  EXPECT_FALSE(second.Shown);
}

// The relay of the stack windows' requests, with real windows receiving real messages.
class Relay : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    WriteImages(program_.path(), {1, 1});
    WriteOwnDicomDir(program_.path());
    form_->OpenStandaloneFileSet();
    form_->SetMatrix(2, 2);
    area_ = areas_.back();
    area_->Cells = {&a_, &b_, &c_, nullptr};
    Application->ProcessMessages();
    log_.clear();
  }
  std::vector<Received> Served() {
    Application->ProcessMessages();
    std::vector<Received> served = log_;
    log_.clear();
    return served;
  }
  static platform::LParam Code(int code, int high = 0) { return static_cast<platform::LParam>(code | (high << 16)); }

  std::vector<Received> log_;
  FakeStackWindow a_{&log_, "A"}, b_{&log_, "B"}, c_{&log_, "C"};
  FakeClientArea* area_ = nullptr;
};

TEST_F(Relay, ToolCodesPressButtonsStoreSettingsAndReachEveryWindow) {
  const platform::WParam fromA = a_.Handle();
  struct Case {
    int code;
    TToolButton* TFormApplication::*button;
  } pressed[] = {{1, &TFormApplication::tbZoom},         {2, &TFormApplication::tbVOI},
                 {3, &TFormApplication::tbPan},          {4, &TFormApplication::tbNavigator},
                 {5, &TFormApplication::tbMagnifier},    {7, &TFormApplication::tbEdgeEnhancement},
                 {10, &TFormApplication::tbNavigator}};
  for (const Case& c : pressed) {
    form_->OnStackWindowTool(fromA, Code(c.code));
    EXPECT_TRUE((form_.get()->*c.button)->Down()) << c.code;
    const std::vector<Received> expected = {{"A", kWmStackTool, fromA, Code(c.code)},
                                            {"B", kWmStackTool, fromA, Code(c.code)},
                                            {"C", kWmStackTool, fromA, Code(c.code)}};
    EXPECT_EQ(Served(), expected) << c.code;
  }
  // Codes without an action of the main window pass on unchanged.
  for (int code : {9, 11, 15, 21, 40}) {
    form_->OnStackWindowTool(fromA, Code(code));
    EXPECT_EQ(Served().size(), 3u) << code;
  }
  // Settings carry their value in WParam and reach every window.
  form_->OnStackWindowTool(0, Code(12));
  EXPECT_FALSE(form_->FStackToolsPanelFix);
  form_->OnStackWindowTool(1, Code(13));
  EXPECT_TRUE(form_->FNavigatorPanelFix);
  form_->OnStackWindowTool(7, Code(16));
  EXPECT_EQ(form_->FLinkAutomated, 7);
  form_->OnStackWindowTool(0, Code(18));
  EXPECT_FALSE(form_->FShowStackInfo);
  form_->OnStackWindowTool(fromA, Code(20, 0xB));
  EXPECT_EQ(form_->FStatisticsFlags, 0xB);
  EXPECT_EQ(Served().size(), 15u);

  // Code 6: every window, the sender included, gets the tool and then the measurement type.
  form_->FMeasurementType = 3;
  form_->OnStackWindowTool(fromA, Code(6));
  EXPECT_TRUE(form_->tbMeasurement->Down());
  const std::vector<Received> measurement = {
      {"A", kWmStackTool, fromA, Code(6)}, {"A", kWmMeasurementType, 0, 3}, {"B", kWmStackTool, fromA, Code(6)},
      {"B", kWmMeasurementType, 0, 3},     {"C", kWmStackTool, fromA, Code(6)}, {"C", kWmMeasurementType, 0, 3}};
  EXPECT_EQ(Served(), measurement);
}

TEST_F(Relay, QueriesMirrorsOppositePanAndActivation) {
  const platform::WParam fromB = b_.Handle();
  // A query while the magnifier is down is answered to the asker only.
  form_->tbMagnifier->SetDown(true);
  form_->OnStackWindowTool(fromB, Code(0));
  EXPECT_EQ(Served(), std::vector<Received>({{"B", kWmStackTool, 0, 5}}));
  // No tool down: no answer.
  form_->tbMagnifier->SetDown(false);
  form_->OnStackWindowTool(fromB, Code(0));
  EXPECT_TRUE(Served().empty());

  // Palette colour on all three windows of a 2 x 2 matrix with one empty cell: unchanged.
  a_.Palette = b_.Palette = c_.Palette = true;
  form_->OnStackWindowTool(fromB, Code(19));
  EXPECT_FALSE(form_->tbPaletteColor->Down());
  FakeStackWindow d(&log_, "D");
  d.Palette = true;
  area_->Cells[3] = &d;
  form_->OnStackWindowTool(fromB, Code(19));
  EXPECT_TRUE(form_->tbPaletteColor->Down());
  // Link on two of three windows: unchanged; on none: up.
  area_->Cells[3] = nullptr;
  form_->tbLink->SetDown(true);
  a_.Link = b_.Link = true;
  form_->OnStackWindowTool(fromB, Code(17));
  EXPECT_TRUE(form_->tbLink->Down());
  a_.Link = b_.Link = false;
  form_->OnStackWindowTool(fromB, Code(17));
  EXPECT_FALSE(form_->tbLink->Down());
  // Inverse: every window shows it but one cell is empty; a mixed matrix keeps the button.
  a_.Inverse = b_.Inverse = c_.Inverse = true;
  form_->OnStackWindowTool(fromB, Code(8));
  EXPECT_FALSE(form_->tbInverse->Down());
  EXPECT_TRUE(Served().empty());

  // Code 33 sets the option on every window but the sender, posting nothing.
  form_->OnStackWindowTool(fromB, Code(33, 1));
  EXPECT_TRUE(form_->FOppositePan);
  EXPECT_TRUE(a_.OppositePan);
  EXPECT_FALSE(b_.OppositePan);
  EXPECT_TRUE(c_.OppositePan);
  EXPECT_TRUE(Served().empty());

  // Activation is sent to every window, the sender included.
  form_->OnStackWindowActivated(fromB, 0);
  EXPECT_EQ(log_, std::vector<Received>({{"A", kWmStackDeactivate, fromB, 0},
                                         {"B", kWmStackDeactivate, fromB, 0},
                                         {"C", kWmStackDeactivate, fromB, 0}}));
  log_.clear();
  // The measurement type goes to the others; a detach empties the sender's cell.
  form_->OnMeasurementType(fromB, 4);
  EXPECT_EQ(Served(), std::vector<Received>({{"A", kWmMeasurementType, fromB, 4}, {"C", kWmMeasurementType, fromB, 4}}));
  form_->OnStackWindowDetach(fromB, 0);
  EXPECT_EQ(area_->Cells[1], nullptr);
  EXPECT_EQ(area_->Relayouts, 1);
  form_->OnStackWindowDetach(12345, 0);  // a handle no cell holds
  EXPECT_EQ(area_->Relayouts, 1);
}

TEST_F(Relay, ReferenceLineContainersAreFreedOnceAfterTheirMessages) {
  const platform::WParam fromA = a_.Handle();
  auto* first = new TgbReferenceLineContainer;
  first->Planes.resize(2);
  form_->OnStackWindowTool(reinterpret_cast<platform::WParam>(first), Code(14));
  EXPECT_EQ(form_->FReferenceLines.get(), first);
  // The same pointer again: nothing freed, passed on.
  form_->OnStackWindowTool(reinterpret_cast<platform::WParam>(first), Code(14));
  EXPECT_EQ(form_->FReferenceLines.get(), first);
  // A new one: the old stays alive while the messages that name it wait in the queue. Each
  // window reads the container it is handed when its message is served (ASan sees a read of
  // a freed one).
  size_t planesRead = 0;
  for (FakeStackWindow* w : {&a_, &b_, &c_})
    w->Frame.WindowProc = [&planesRead](uint32_t message, platform::WParam wParam, platform::LParam lParam) {
      if (message == kWmStackTool && (lParam & 0xFFFF) == 14 && wParam != 0)
        planesRead += reinterpret_cast<TgbReferenceLineContainer*>(wParam)->Planes.size();
      return platform::LResult(0);
    };
  auto* second = new TgbReferenceLineContainer;
  form_->OnStackWindowTool(reinterpret_cast<platform::WParam>(second), Code(14));
  ASSERT_EQ(form_->FRetiredReferenceLines.size(), 2u);  // the start container and the first
  EXPECT_EQ(form_->FRetiredReferenceLines.back().second.get(), first);
  Application->ProcessMessages();
  EXPECT_EQ(planesRead, 2u * 3 * 2);  // the first container, twice to three windows
  EXPECT_TRUE(form_->FRetiredReferenceLines.empty());
  // Handing back a null pointer clears the lines.
  form_->OnStackWindowTool(0, Code(14));
  EXPECT_FALSE(form_->FReferenceLines);
  Served();
  (void)fromA;
}

TEST_F(MainWindow, StudiesPanelWidthRules) {
  WriteImages(program_.path(), {1, 1});
  WriteOwnDicomDir(program_.path());
  form_->OpenStandaloneFileSet();
  Panel()->PreferredWidth = 60;
  form_->FFitStudiesPanel = true;
  form_->tbStudiesPanelPin->SetDown(false);
  form_->tbStudiesPanelPinClick(nullptr);
  EXPECT_TRUE(form_->pnlStudiesResize->Visible());
  EXPECT_FALSE(form_->Splitter->Visible());
  form_->FitStudiesPanelWidth(300);
  EXPECT_EQ(form_->pnlLeft->Width(), 309);
  form_->tbStudiesPanelPin->SetDown(true);
  form_->tbStudiesPanelPinClick(nullptr);
  EXPECT_FALSE(form_->pnlStudiesResize->Visible());
  form_->FitStudiesPanelWidth(300);
  EXPECT_EQ(form_->pnlLeft->Width(), 302);
  EXPECT_EQ(form_->FStudiesPanelWidth, 302);
  // Down: the icon width; up again: the remembered width.
  form_->tbMinimizeToIcons->SetDown(true);
  form_->tbMinimizeToIconsClick(nullptr);
  EXPECT_EQ(form_->pnlLeft->Width(), 60);
  EXPECT_TRUE(form_->tbMinimizeToIcons->Down());
  form_->tbMinimizeToIcons->SetDown(false);
  form_->tbMinimizeToIconsClick(nullptr);
  EXPECT_EQ(form_->pnlLeft->Width(), 302);
  // Sorting: reverses the boxes and inserts later ones first.
  form_->tbSortingForward->SetDown(true);
  form_->tbSortingForwardClick(nullptr);
  EXPECT_EQ(Panel()->Reversals, 1);
  EXPECT_FALSE(form_->FAppendStudyBoxes);
  EXPECT_EQ(form_->tbSortingForward->Hint(), L"sort forward");
  EXPECT_FALSE(form_->MoveCell(0, 0));
}

TEST_F(MainWindow, ClosingMarksThisRunsHiddenKeyImagesDiscarded) {
  TempFolder keys;
  form_->RunKeyImageFolder = keys.path().string();
  const std::pair<const char*, uint32_t> files[] = {
      {"a.ornkitmp", platform::attr::Hidden},
      {"b.ornkitmp", platform::attr::Hidden | platform::attr::Archive},
      {"c.ornkitmp", platform::attr::Archive},
      {"d.other", platform::attr::Hidden}};
  for (const auto& [name, attributes] : files) {
    const std::string path = (keys.path() / name).string();
    std::ofstream(path) << "x";
    ASSERT_TRUE(platform::SetFileAttributes(path, attributes));
  }
  // Without the key-image button nothing is asked.
  form_->tbCloseClick(nullptr);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(terminated_, 1);

  form_->tbSaveKeyImages->SetVisible(true);
  form_->tbSaveKeyImages->SetEnabled(true);
  answers_ = {IDNO};
  form_->exit1Click(nullptr);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"Some temporary key image objects were not saved to archive.\nWould You like to save?");
  EXPECT_EQ(terminated_, 2);
  auto attributes = [&](const char* name) { return platform::GetFileAttributes((keys.path() / name).string()); };
  EXPECT_EQ(attributes("a.ornkitmp"), platform::attr::Offline);
  EXPECT_EQ(attributes("b.ornkitmp"), platform::attr::Hidden | platform::attr::Archive);
  EXPECT_EQ(attributes("c.ornkitmp"), platform::attr::Archive);
  EXPECT_EQ(attributes("d.other"), platform::attr::Hidden);
}

TEST_F(MainWindow, AttachmentsOpenOnlyFromAUidFolder) {
  std::vector<std::string> opened;
  form_->ShellOpenFile = [&](const std::string& path) { opened.push_back(path); };
  struct Dialog : TOpenDialog {
    using TOpenDialog::TOpenDialog;
    std::wstring seen;
    bool Execute() override {
      seen = InitialDir;
      FileName = InitialDir + L"/report.pdf";
      return true;
    }
  };
  auto* dialog = new Dialog(form_.get());
  form_->dlgOpenAttachments = dialog;
  fs::create_directories(program_.path() / "Attachment" / "1.2.3");
  form_->OpenStudyAttachments("1.2.3");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], (program_.path() / "Attachment" / "1.2.3" / "report.pdf").string());
  // Not a UID (a path that climbs out), or no folder: nothing opens.
  fs::create_directories(program_.path() / "x");
  form_->OpenStudyAttachments("../x");
  form_->OpenStudyAttachments("1.2.4");
  EXPECT_EQ(opened.size(), 1u);
  form_->OpenHostStudyAttachments(nullptr);
}

}  // namespace
