// The controls read the start-up record's colours, pages and status settings through
// TStartupResources: the painter's popup colours, and the chooser's texts.
#include <gtest/gtest.h>

#include <map>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/tests/PagesRecord.h"
#include "app/widgets/FreeMatrixControl.h"
#include "app/widgets/ItemPainter.h"
#include "app/widgets/StartupResources.h"

namespace app {
namespace {

using test::PagesRecord;

TEST(StartupResourcesTest, ColoursAndPagesComeFromTheRecord) {
  PagesRecord record({{L"GUI_COLORS", L"<GUI_COLORS><popup_back_hot value=\"$00112233\"/>"
                                      L"<cMCHeader red=\"1\" green=\"2\" blue=\"3\"/></GUI_COLORS>"},
                      {L"GUI_STRINGS", L"<GUI_STRINGS><mcCancelMess value=\"Abort\"/></GUI_STRINGS>"}});
  TStartupResources resources(&record);
  EXPECT_EQ(resources.GetColor("popup_back_hot", 0), 0x112233);
  EXPECT_EQ(resources.GetColor("cMissing", 0x0A0B0C), 0x0A0B0C);
  EXPECT_EQ(resources.GetStudyStatusSetting(L"StatusOnOpen", L"none"), L"none");

  TVCLItemPainter painter;
  painter.LoadColors(&resources);
  EXPECT_EQ(painter.LookupColor("base_hot", 0), 0x112233);
  EXPECT_EQ(painter.LookupColor("base_normal", 0), 0x404040);

  TFreeMatrixControl chooser(nullptr, true, 1, 2);
  const TPoint away = chooser.pbCells->ClientToScreen(Point(300, 300));
  SetCursorPos(away.x, away.y);  // the pointer off the grid: the cancel text shows
  chooser.ApplyGuiResources(&resources);
  EXPECT_EQ(chooser.pnlHeader->Color(), 0x030201);
  EXPECT_EQ(chooser.lblInfo->Caption(), L"Abort");

  TStartupResources none(nullptr);
  EXPECT_EQ(none.GetColor("popup_back_hot", 7), 7);
  EXPECT_EQ(none.GetText(L"GUI_STRINGS"), L"");
}

}  // namespace
}  // namespace app
