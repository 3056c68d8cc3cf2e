// The stack tile with real widgets (offscreen), a stand-in main window and stack windows, and
// the real engine started on a list of one missing image (it draws it black).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "browser/engines/TanEngineInitSlots.h"
#include "browser/tiles/StackIcon.h"
#include "browser/tiles/TFrameStackInfo.h"
#include "browser/tiles/tests/TileFakes.h"
#include "platform/com/Library.h"
#include "platform/core/Clock.h"
#include "platform/files/FileAttributes.h"
#include "platform/vcl/Forms.h"

using namespace ORN_browser;
using namespace tile_tests;

namespace {

platform::HBITMAP GradientIcon(int w, int h) {
  platform::HBITMAP icon = platform::CreateDibSection24(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = icon->StoredRow(h - 1 - y) + x * 3;
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 200;
    }
  return icon;
}

TStackDescription Description(int study, int series, int stack, const std::wstring& protocol = L"CHEST") {
  TStackDescription d;
  d.Study = study, d.Series = series, d.Stack = stack;
  d.SeriesNumber = 7;
  d.ImageCount = 3;
  d.Protocol = protocol;
  d.Date = "01.02.2024";
  d.Time = "10:11:12";
  d.Modality = "CT";
  d.BodyPart = "CHEST";
  d.Description = L"Thorax";
  return d;
}

class StackTile : public ::testing::Test {
 protected:
  void SetUp() override {
    TanEngineInitSlots::Reset();
    host = std::make_unique<FakeHost>(4);
    tile = std::make_unique<TFrameStackInfo>(nullptr);
    tile->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) { return host->Place(w); };
    tile->OnWindowCreatedInCell = [this](iTILE_STACK_WINDOW* w, int cell) { return host->Place(w, cell); };
    tile->OnEngineFilesRequest = [this](int, int, int, bool lossy, std::ostream& images, std::ostream&,
                                        std::ostream&, std::string&) {
      lossyRequests.push_back(lossy);
      images << "no_such_image.dcm\n" << '\0';  // the engine draws it black
      return true;
    };
  }
  void TearDown() override {
    if (tile && tile->StackWindow()) host->Forget(tile->StackWindow());
    tile.reset();
    host.reset();
    SetMessageBoxAnswers({});
    EXPECT_EQ(RunningEngines(), 0);
    EXPECT_EQ(FakeStackWindow::alive, 0);
    TanEngineInitSlots::Reset();
  }
  FakeStackWindow* Window() { return static_cast<FakeStackWindow*>(tile->StackWindow()); }
  uint32_t EnginePid() { return tile->Engine().ChildProcessId(); }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<TFrameStackInfo> tile;
  std::vector<bool> lossyRequests;
};

}  // namespace

TEST_F(StackTile, AnUnfilledTileIgnoresClicksShowSelectAndTheShowMessage) {
  tile->lblMouseScreenClick(nullptr);
  tile->Show();
  tile->Select(true);
  platform::SendMessage(tile->OwnHandle(), tile_msg::kShow, 0, 0);
  EXPECT_FALSE(tile->IsShown());
  EXPECT_FALSE(tile->IsSelected());
  EXPECT_TRUE(host->created.empty());
  EXPECT_EQ(tile->StudyIndex(), -1);
}

TEST_F(StackTile, FillWritesTheDescriptionAndCopiesTheIcon) {
  TStackDescription d = Description(1, 2, 0);
  d.Icon = GradientIcon(64, 48);
  tile->Fill(d);
  EXPECT_TRUE(tile->IsUsable());
  EXPECT_EQ(tile->lblSeriesNum->Caption(), L"SE #7");
  EXPECT_EQ(tile->lblNumOfImages->Caption(), L"IM: 3");
  EXPECT_EQ(tile->lblDateTime->Caption(), L"01.02.2024 10:11:12");
  EXPECT_EQ(tile->lblModality->Caption(), L"CT");
  EXPECT_EQ(tile->lblDescription->Caption(), L"Thorax");
  EXPECT_EQ(tile->lblNoIicon->Caption(), L"");
  EXPECT_GT(tile->WidestLabelWidth(), 0);
  EXPECT_EQ(tile->StudyIndex(), 1);
  EXPECT_EQ(tile->SeriesIndex(), 2);
  EXPECT_EQ(tile->StackIndex(), 0);
  TBitmap* picture = tile->imIcon->Picture();
  ASSERT_EQ(picture->Width(), 64);
  ASSERT_EQ(picture->Height(), 48);
  const uint8_t* row = picture->ScanLine(10);  // B = x, G = y, R = 200
  EXPECT_EQ(row[5 * 3 + 0], 5);
  EXPECT_EQ(row[5 * 3 + 1], 10);
  EXPECT_EQ(row[5 * 3 + 2], 200);
  EXPECT_EQ(tile->GetBaseWidth(), 142);
}

TEST_F(StackTile, IconsWhoseRowsCannotAllBeReadAreRefused) {
  struct Case {
    const char* name;
    int width, height;
    int strideDelta;   // added to the stride
    int bitsDelta;     // added to the number of bits
  } cases[] = {{"short stride (not 24-bit)", 16, 16, -16, 0},
               {"bits end early", 16, 16, 0, -1},
               {"sound", 16, 16, 0, 0}};
  for (const auto& c : cases) {
    platform::HBITMAP icon = GradientIcon(c.width, c.height);
    icon->Stride = uint32_t(int(icon->Stride) + c.strideDelta);
    icon->Bits.resize(size_t(int(icon->Stride) * c.height + c.bitsDelta));
    const bool sound = c.strideDelta == 0 && c.bitsDelta == 0;
    EXPECT_EQ(IsReadableIcon(icon), sound) << c.name;
    TFrameStackInfo t(nullptr);
    TStackDescription d = Description(0, 0, 0);
    d.Icon = icon;  // the tile deletes it in every case
    t.Fill(d);
    EXPECT_EQ(t.lblNoIicon->Caption(), sound ? L"" : L"No Icon") << c.name;
  }
  EXPECT_FALSE(IsReadableIcon(nullptr));
}

TEST_F(StackTile, OnlyTheExactKeyImageProtocolMakesAKeyImageTile) {
  struct Case {
    std::wstring protocol;
    bool keyImages;
  } cases[] = {{L"Key Image Series", true}, {L"key image series", false}, {L"Key Image Series ", false}};
  for (const auto& c : cases) {
    TFrameStackInfo t(nullptr);
    int asked = 0;
    t.OnImageFileRequest = [&](int, int, int, int, std::string&, std::string&) { return ++asked, false; };
    TStackDescription d = Description(0, 0, 0, c.protocol);
    d.Icon = GradientIcon(8, 8);
    t.Fill(d);
    EXPECT_EQ(t.IsKeyImageTile(), c.keyImages);
    EXPECT_EQ(t.lblNoIicon->Caption(), c.keyImages ? L"Key Images" : L"");
    EXPECT_EQ(asked, c.keyImages ? 3 : 0);  // the key-image tile counts its transient images
  }
}

TEST_F(StackTile, ShowStartsTheEngineHideKeepsItAndShowingAgainReusesWindowAndEngine) {
  tile->Fill(Description(0, 0, 0));
  tile->Show();
  ASSERT_TRUE(tile->IsShown());
  EXPECT_TRUE(tile->chbView->Checked());
  EXPECT_EQ(tile->TextColor(), TColor(0xFFFFFF));
  ASSERT_TRUE(tile->IsEngineRunning());
  FakeStackWindow* window = Window();
  const uint32_t pid = EnginePid();
  const std::string stamp = tile->LastActivity();
  EXPECT_EQ(stamp.size(), 17u);
  EXPECT_EQ(window->caption, L"CHEST");
  EXPECT_EQ(window->dragIcon, tile->imIcon->Picture());

  tile->Show();  // shown already: nothing, not even the stamp
  EXPECT_EQ(host->placements, 1);
  EXPECT_EQ(tile->LastActivity(), stamp);

  tile->Hide(true);
  EXPECT_FALSE(tile->IsShown());
  EXPECT_FALSE(tile->chbView->Checked());
  EXPECT_TRUE(tile->IsEngineRunning());
  Pump(20);
  ASSERT_FALSE(window->received.empty());
  EXPECT_EQ(window->received.back().message, tile_msg::kHide);
  EXPECT_EQ(window->received.back().wParam, platform::WParam(tile->OwnHandle()));
  const std::string hiddenStamp = tile->LastActivity();
  tile->Hide(true);
  EXPECT_EQ(tile->LastActivity(), hiddenStamp);

  tile->Show();
  EXPECT_TRUE(tile->IsShown());
  EXPECT_EQ(Window(), window);
  EXPECT_EQ(EnginePid(), pid);
  EXPECT_EQ(host->placements, 2);  // the owner is asked to place the same window again
}

TEST_F(StackTile, ShowFailsCleanlyWhenTheOwnerRefusesOrCannotNameTheFiles) {
  tile->Fill(Description(0, 0, 0));
  host->refusePlacement = true;
  tile->Show();
  EXPECT_FALSE(tile->IsShown());
  EXPECT_EQ(tile->StackWindow(), nullptr);
  EXPECT_FALSE(tile->IsEngineRunning());

  host->refusePlacement = false;
  tile->OnEngineFilesRequest = nullptr;
  tile->Show();
  EXPECT_FALSE(tile->IsShown());
  EXPECT_FALSE(tile->chbView->Checked());
  EXPECT_NE(tile->StackWindow(), nullptr);  // placed, without engine; the next Show tries again
  EXPECT_FALSE(tile->IsEngineRunning());

  tile->OnWindowCreated = nullptr;
  tile->Show();
  EXPECT_FALSE(tile->IsShown());
}

TEST_F(StackTile, SelectionColoursAndTheMessagesToTheStackWindow) {
  tile->Fill(Description(0, 0, 0));
  std::vector<bool> selected;
  tile->OnTileSelected = [&](TFrameStackInfo*, bool notify) { selected.push_back(notify); };
  tile->Select(true);
  EXPECT_FALSE(tile->IsSelected());  // only a shown tile is selected
  tile->Show();
  FakeStackWindow* window = Window();

  // The window's own activation: no message back.
  platform::SendMessage(tile->OwnHandle(), tile_msg::kSelect, window->Handle(), 0);
  EXPECT_TRUE(tile->IsSelected());
  EXPECT_EQ(selected, std::vector<bool>{false});
  EXPECT_TRUE(window->received.empty());

  platform::SendMessage(tile->OwnHandle(), tile_msg::kUnselect, window->Handle(), 0);
  EXPECT_FALSE(tile->IsSelected());
  EXPECT_EQ(tile->TextColor(), TColor(0xC0C0C0));
  EXPECT_TRUE(window->received.empty());

  tile->NotifyActivation(true);
  EXPECT_TRUE(tile->IsSelected());
  ASSERT_EQ(window->received.size(), 1u);
  EXPECT_EQ(window->received[0].message, tile_msg::kSelect);
  tile->NotifyActivation(false);
  ASSERT_EQ(window->received.size(), 2u);
  EXPECT_EQ(window->received[1].message, tile_msg::kUnselect);
}

TEST_F(StackTile, StackInitialisationAsksTheOwnerToPlaceOnlyTheFirstClick) {
  host->stackInitialisation = true;
  tile = std::make_unique<TFrameStackInfo>(nullptr);  // reads the flag at construction
  tile->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) { return host->Place(w); };
  tile->OnEngineFilesRequest = [](int, int, int, bool, std::ostream& images, std::ostream&, std::ostream&,
                                  std::string&) {
    images << "no_such_image.dcm\n" << '\0';
    return true;
  };
  int asked = 0;
  tile->OnPlaceStack = [&](int, int, int) { return ++asked, true; };
  tile->Fill(Description(0, 0, 0));
  tile->lblMouseScreenClick(nullptr);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(tile->IsShown());  // the owner placed it
  tile->lblMouseScreenClick(nullptr);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(tile->IsShown());
  EXPECT_TRUE(tile->IsSelected());
  tile->CloseStack();
  EXPECT_FALSE(tile->PlacementAsked());
  EXPECT_EQ(tile->StackWindow(), nullptr);
  EXPECT_FALSE(tile->IsEngineRunning());
  tile->lblMouseScreenClick(nullptr);
  EXPECT_EQ(asked, 2);
}

TEST_F(StackTile, LossyModeRestartsTheEngineWhenItsModeDiffers) {
  tile->Fill(Description(0, 0, 0));
  tile->Show();
  const uint32_t first = EnginePid();
  tile->SetLossy(1);  // shown: restart at once
  EXPECT_TRUE(tile->lblLossy->Visible());
  EXPECT_TRUE(tile->IsLossyApplied());
  EXPECT_NE(EnginePid(), first);
  EXPECT_EQ(lossyRequests, (std::vector<bool>{false, true}));

  tile->Hide(true);
  const uint32_t second = EnginePid();
  tile->SetLossy(0);  // hidden: no restart until the next Show
  EXPECT_EQ(EnginePid(), second);
  EXPECT_FALSE(tile->lblLossy->Visible());
  tile->Show();
  EXPECT_NE(EnginePid(), second);
  EXPECT_FALSE(tile->IsLossyApplied());

  // The strip's button restarts a running engine even while hidden.
  tile->Hide(true);
  const uint32_t third = EnginePid();
  tile->infoStrip->cbLossyMode->SetEnabled(true);
  tile->infoStrip->cbLossyMode->Click();
  EXPECT_TRUE(tile->IsLossyWanted());
  EXPECT_TRUE(tile->IsLossyApplied());
  EXPECT_NE(EnginePid(), third);
}

TEST_F(StackTile, TransientKeyImagesCountOnlyHiddenUnmarkedFiles) {
  const std::string folder = platform::ProgramFolder() + "tile_key_image_";
  struct Case {
    const char* name;
    uint32_t attributes;
    bool counted;
  } cases[] = {{"hidden.ornkitmp", platform::attr::Hidden, true},
               {"plain.ornkitmp", platform::attr::Normal, false},
               {"hidden_ro.ornkitmp", platform::attr::Hidden | platform::attr::ReadOnly, false},
               {"hidden_archive.ornkitmp", platform::attr::Hidden | platform::attr::Archive, false},
               {"hidden_offline.ornkitmp", platform::attr::Hidden | platform::attr::Offline, false},
               {"hidden.ORNKITMP", platform::attr::Hidden, false},
               {"missing.ornkitmp", 0, false}};
  int expected = 0;
  for (const auto& c : cases) {
    const std::string path = folder + c.name;
    if (c.attributes == 0) continue;
    platform::SetFileAttributes(path, platform::attr::Normal);
    std::ofstream(path) << "x";
    ASSERT_TRUE(platform::SetFileAttributes(path, c.attributes)) << c.name;
    expected += c.counted;
  }
  TStackDescription d = Description(0, 0, 0, L"Key Image Series");
  d.ImageCount = static_cast<int>(std::size(cases));
  tile->OnImageFileRequest = [&](int, int, int, int index, std::string&, std::string& file) {
    file = folder + cases[index].name;
    return true;
  };
  tile->Fill(d);
  EXPECT_EQ(tile->TransientKeyImageCount(), expected);
  for (const auto& c : cases) platform::SetFileAttributes(folder + c.name, platform::attr::Normal);

  // Saving: a refusal shows the error and keeps the count; success clears it.
  SetMessageBoxAnswers({IDOK});
  tile->OnSaveKeyImages = [](int, int, int) { return false; };
  tile->SaveTransientKeyImages();
  EXPECT_EQ(tile->TransientKeyImageCount(), expected);
  tile->OnSaveKeyImages = [](int, int, int) { return true; };
  tile->SaveTransientKeyImages();
  EXPECT_EQ(tile->TransientKeyImageCount(), 0);
}

TEST_F(StackTile, RelaysOfTheStackWindowReachTheOwnerWithTheTile) {
  tile->Fill(Description(3, 4, 5));
  tile->Show();
  FakeStackWindow* window = Window();
  int a = -1, b = -1, c = -1;
  window->requests.StackIndexes(a, b, c);
  EXPECT_EQ(std::tie(a, b, c), std::make_tuple(3, 4, 5));
  EXPECT_FALSE(window->requests.MprSeries(nullptr));  // no owner closure: refused
  EXPECT_EQ(window->requests.StudyLossy(true), 0);
  TFrameStackInfo* seen = nullptr;
  tile->OnWorkAreaMiddleUp = [&](TFrameStackInfo* t) { seen = t; };
  window->requests.MiddleUp();
  EXPECT_EQ(seen, tile.get());
  int image = -1;
  tile->OnImageFileRequest = [&](int s, int, int, int i, std::string&, std::string& file) {
    image = i;
    file = "f" + std::to_string(s);
    return true;
  };
  std::string text, file;
  EXPECT_TRUE(window->requests.ImageFile(2, text, file));
  EXPECT_EQ(image, 2);
  EXPECT_EQ(file, "f3");
}

TEST_F(StackTile, AnEngineThatEndsByItselfClosesTheStackAndAsks) {
  tile->Fill(Description(0, 0, 0));
  tile->Show();
  ASSERT_TRUE(tile->IsEngineRunning());
  auto engine = platform::Process::Open(EnginePid());
  ASSERT_NE(engine, nullptr);
  SetMessageBoxAnswers({IDNO});
  host->Forget(tile->StackWindow());
  engine->Terminate(1);
  ASSERT_TRUE(PumpUntil([&] { return tile->StackWindow() == nullptr; }, 10000));
  EXPECT_FALSE(tile->IsShown());
  EXPECT_FALSE(tile->IsEngineRunning());

  // Yes opens the stack again with a new engine.
  tile->Show();
  engine = platform::Process::Open(EnginePid());
  ASSERT_NE(engine, nullptr);
  SetMessageBoxAnswers({IDYES});
  host->Forget(tile->StackWindow());
  engine->Terminate(1);
  ASSERT_TRUE(PumpUntil([&] { return tile->IsShown() && tile->IsEngineRunning() && tile->Engine().ChildProcessId() != engine->Id(); }, 10000));
  EXPECT_TRUE(tile->IsSelected());
}

TEST_F(StackTile, AHiddenTilesEngineThatEndsIsClosedWithoutAQuestion) {
  tile->Fill(Description(0, 0, 0));
  tile->Show();
  tile->Hide(true);
  auto engine = platform::Process::Open(EnginePid());
  ASSERT_NE(engine, nullptr);
  // Were the question asked, Yes would open the stack again.
  SetMessageBoxAnswers({IDYES});
  host->Forget(tile->StackWindow());
  engine->Terminate(1);
  ASSERT_TRUE(PumpUntil([&] { return tile->StackWindow() == nullptr; }, 10000));
  Pump(50);
  EXPECT_FALSE(tile->IsShown());
  EXPECT_FALSE(tile->IsEngineRunning());
  EXPECT_EQ(tile->StackWindow(), nullptr);
}

// ---------------------------------------------------------------- placement

TEST_F(StackTile, PlaceInCellOpensOrMovesAndRefusesAWindowWithoutCell) {
  tile->Fill(Description(0, 0, 0));
  EXPECT_TRUE(tile->PlaceInCell(2, true, true));  // opens there; a new window is not reinitialised
  ASSERT_TRUE(tile->IsShown());
  EXPECT_EQ(Window()->CellIndex(), 2);
  EXPECT_TRUE(tile->IsSelected());
  EXPECT_EQ(Window()->reinitialised, 0);

  Window()->ready = true;
  EXPECT_TRUE(tile->PlaceInCell(0, false, true));
  EXPECT_EQ(Window()->CellIndex(), 0);
  EXPECT_EQ(Window()->reinitialised, 1);

  // An engine that never answers the reinitialisation: the wait ends at its time-out.
  Window()->answerReinitialise = false;
  {
    platform::testing::FakeClock clock;
    EXPECT_TRUE(tile->PlaceInCell(1, false, true));
    EXPECT_GE(clock.Now(), 1000 + TFrameStackInfo::kEngineWaitTimeoutMs);
  }
  EXPECT_EQ(Window()->reinitialised, 2);

  host->Forget(Window());
  Window()->SetCell(-1);
  EXPECT_FALSE(tile->PlaceInCell(1, false, true));
  EXPECT_EQ(Window()->reinitialised, 2);
}

TEST_F(StackTile, TheChooserMovesOnlyToACellOfTheMatrix) {
  tile->Fill(Description(0, 0, 0));
  tile->PlaceInCell(1, false, false);
  int chosen = -1;
  tile->RunChooser = [&](app::TFreeMatrixControl& chooser) {
    EXPECT_EQ(chooser.CellCount(), 4);
    // Nothing hovered: the chooser answers -1, which moves nothing.
    if (chosen < 0) return int(mrOk);
    chooser.pbCellsMouseMove(nullptr, 0, chooser.Cell(chosen).GetRect().Left + 1,
                             chooser.Cell(chosen).GetRect().Top + 1);
    return int(mrOk);
  };
  tile->PlaceInFreeMatrixCell(10, 10, true);
  EXPECT_TRUE(host->moves.empty());
  EXPECT_EQ(Window()->CellIndex(), 1);

  chosen = 3;
  tile->PlaceInFreeMatrixCell(10, 10, true);
  ASSERT_EQ(host->moves.size(), 1u);
  EXPECT_EQ(host->moves[0], std::make_pair(1, 3));
  EXPECT_EQ(Window()->CellIndex(), 3);
  EXPECT_TRUE(tile->IsSelected());

  // Cancel changes nothing.
  tile->RunChooser = [](app::TFreeMatrixControl&) { return int(mrCancel); };
  tile->PlaceInFreeMatrixCell(10, 10, true);
  EXPECT_EQ(host->moves.size(), 1u);
}

TEST_F(StackTile, DraggingTheIconOntoACellOpensOrMovesTheStack) {
  tile->Fill(Description(0, 0, 0));
  host->dropCell = 2;
  TLabel* surface = tile->lblMouseScreen;
  tile->lblMouseScreenMouseDown(surface, mbLeft, ssLeft, 5, 5);
  EXPECT_TRUE(tile->IsDragging());
  tile->lblMouseScreenMouseMove(surface, ssLeft, 8, 8);
  EXPECT_TRUE(tile->dragPicture->Visible());
  EXPECT_EQ(tile->dragPicture->GetCellIndex(), -1);
  tile->lblMouseScreenMouseUp(surface, mbLeft, 0, 8, 8);
  EXPECT_FALSE(tile->IsDragging());
  EXPECT_FALSE(tile->dragPicture->Visible());
  ASSERT_TRUE(tile->IsShown());
  EXPECT_EQ(Window()->CellIndex(), 2);

  // A shown tile moves its window from its cell to the target.
  host->dropCell = 0;
  tile->lblMouseScreenMouseDown(surface, mbLeft, ssLeft, 5, 5);
  tile->lblMouseScreenMouseMove(surface, ssLeft, 9, 9);
  EXPECT_EQ(tile->dragPicture->GetCellIndex(), 2);
  tile->lblMouseScreenMouseUp(surface, mbLeft, 0, 9, 9);
  EXPECT_EQ(Window()->CellIndex(), 0);

  // Released outside every cell, or before the picture appeared: nothing moves.
  host->dropCell = -1;
  tile->lblMouseScreenMouseDown(surface, mbLeft, ssLeft, 5, 5);
  tile->lblMouseScreenMouseMove(surface, ssLeft, 9, 9);
  tile->lblMouseScreenMouseUp(surface, mbLeft, 0, 9, 9);
  host->dropCell = 3;
  tile->lblMouseScreenMouseDown(surface, mbLeft, ssLeft, 5, 5);
  tile->lblMouseScreenMouseUp(surface, mbLeft, 0, 9, 9);
  EXPECT_EQ(host->moves.size(), 1u);
  EXPECT_EQ(Window()->CellIndex(), 0);
}

TEST(StackTileStrip, OpacityIsWithinZeroAndOneAndAStripRowOfZeroDoesNotDivide) {
  struct Case {
    int mouseY, stripRow;
    double opacity;
  } cases[] = {{0, 100, 0.0}, {50, 100, 0.5}, {100, 100, 1.0}, {250, 100, 1.0},
               {-20, 100, 0.0}, {10, 0, 1.0}, {10, -5, 1.0}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(TFrameStackInfo::StripOpacity(c.mouseY, c.stripRow), c.opacity) << c.mouseY << "/" << c.stripRow;
}

TEST_F(StackTile, TheWheelIsForwardedOnlyOverTheShownWindow) {
  tile->Fill(Description(0, 0, 0));
  EXPECT_FALSE(tile->ForwardMouseWheel(5, 5, 120, 0));
  tile->Show();
  tile->Hide(false);
  EXPECT_FALSE(tile->ForwardMouseWheel(5, 5, 120, 0));  // hidden
  tile->Show();
  Window()->screenRect = TRect{0, 0, 100, 100};
  Window()->received.clear();
  EXPECT_FALSE(tile->ForwardMouseWheel(150, 5, 120, 0));
  EXPECT_TRUE(tile->ForwardMouseWheel(10, 20, -120, 8));
  Pump(20);
  EXPECT_TRUE(tile->IsSelected());
  ASSERT_FALSE(Window()->received.empty());
  const auto& wheel = Window()->received.back();
  EXPECT_EQ(wheel.message, 0x020Au);
  EXPECT_EQ(uint32_t(wheel.wParam), (uint32_t(uint16_t(-120)) << 16) | 8u);
  EXPECT_EQ(uint32_t(wheel.lParam), (20u << 16) | 10u);
}
