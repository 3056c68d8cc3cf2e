#include <gtest/gtest.h>

#include "viewer/frame/SLinkOptions.h"
#include "viewer/frame/SMagnifierOptions.h"

namespace {

TEST(LinkOptions, NewRecordLinksEverythingWithNoNavigationKind) {
  SLinkOptions o;
  EXPECT_TRUE(o.LinkByZoom());
  EXPECT_TRUE(o.LinkByVoi());
  EXPECT_TRUE(o.LinkByPan());
  EXPECT_TRUE(o.LinkBySpatialTransform());
  EXPECT_TRUE(o.LinkByNavigation());
  EXPECT_EQ(o.Automated(), 1);
  EXPECT_FALSE(o.NavigateByIndex());
  EXPECT_FALSE(o.NavigateByPosition());
  EXPECT_FALSE(o.NavigateByTime());
  EXPECT_TRUE(o.LinkEnabled());
  EXPECT_TRUE(o.LinkVisible());
}

// Each step sets one navigation kind; the row gives the three kinds afterwards.
TEST(LinkOptions, NavigationKindsFollowTheirExclusionRules) {
  enum Kind { Index, Position, Time };
  struct Step {
    Kind kind;
    bool value;
    bool index, position, time;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"position after time leaves only position, index may join it",
       {{Time, true, false, false, true}, {Position, true, false, true, false}, {Index, true, true, true, false}}},
      {"time clears index and position",
       {{Index, true, true, false, false}, {Position, true, false, true, false}, {Time, true, false, false, true}}},
      {"position clears index",
       {{Index, true, true, false, false}, {Position, true, false, true, false}}},
      {"clearing a kind leaves the others",
       {{Time, true, false, false, true}, {Index, true, true, false, true}, {Time, false, true, false, false}}},
      {"clearing position does not bring index back",
       {{Index, true, true, false, false}, {Position, true, false, true, false}, {Position, false, false, false, false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SLinkOptions o;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      SCOPED_TRACE("step " + std::to_string(i));
      if (s.kind == Index) o.SetNavigateByIndex(s.value);
      if (s.kind == Position) o.SetNavigateByPosition(s.value);
      if (s.kind == Time) o.SetNavigateByTime(s.value);
      EXPECT_EQ(o.NavigateByIndex(), s.index);
      EXPECT_EQ(o.NavigateByPosition(), s.position);
      EXPECT_EQ(o.NavigateByTime(), s.time);
    }
  }
}

TEST(LinkOptions, PlainSettersStoreThroughTheVirtualSlots) {
  SLinkOptions concrete;
  SLinkOptions& o = concrete;
  o.SetLinkByZoom(false);
  o.SetLinkByVoi(false);
  o.SetLinkByPan(false);
  o.SetLinkBySpatialTransform(false);
  o.SetLinkByNavigation(false);
  o.SetAutomated(-7);
  o.SetLinkEnabled(false);
  o.SetLinkVisible(false);
  EXPECT_FALSE(o.LinkByZoom() || o.LinkByVoi() || o.LinkByPan() || o.LinkBySpatialTransform() ||
               o.LinkByNavigation() || o.LinkEnabled() || o.LinkVisible());
  EXPECT_EQ(o.Automated(), -7);
}

// The one threshold that makes a stack a cine (time link) and gives it reference times.
TEST(LinkOptions, CineFrameRateThresholdIsStrictlyAboveFive) {
  const struct {
    double fps;
    bool cine;
  } cases[] = {{0, false}, {5, false}, {5.5, true}, {6, true}, {9, true}, {10, true}, {-1, false}};
  for (const auto& c : cases) EXPECT_EQ(IsCineFrameRate(c.fps), c.cine) << c.fps;
}

TEST(MagnifierOptions, DefaultsAndDirectWrites) {
  SMagnifierOptions m;
  EXPECT_EQ(m.GetSize(), 256);
  EXPECT_EQ(m.GetShape(), 1);
  EXPECT_DOUBLE_EQ(m.GetZoom(), 200.0);
  EXPECT_TRUE(m.IsOptimized());
  m.Size = 128;
  m.Shape = 2;
  m.Zoom = 350.5;
  m.Optimized = false;
  EXPECT_EQ(m.GetSize(), 128);
  EXPECT_EQ(m.GetShape(), 2);
  EXPECT_DOUBLE_EQ(m.GetZoom(), 350.5);
  EXPECT_FALSE(m.IsOptimized());
}

}  // namespace
