// Stage collision: the four probes with the player's and the boss's sizes,
// and actors far outside the stage or of absurd sizes.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <limits>

#include "game/stage/stage.h"
#include "stage_maker.h"

namespace {

constexpr int Right = StageWidthPx - 1;
constexpr int Bottom = StageHeightPx - 1;

struct Actor {
    float x, y, vy;
    int airborne;
};

struct Solid {
    int x0, y0, x1, y1;  // inclusive
};

class CollideTest : public testing::Test {
protected:
    ScratchDir scratch;

    // A fresh stage, free but for these solid rectangles.
    void LoadStage(std::initializer_list<Solid> solids) {
        StageMaker stage;
        for (const Solid& s : solids) stage.Fill(s.x0, s.y0, s.x1, s.y1, MaskSolid);
        stage.Load();
    }
    Actor Collide(Actor a, int w = 96, int h = 96) {
        CollideWithMap(&a.x, &a.y, w, h, &a.airborne, &a.vy);
        return a;
    }
};

TEST_F(CollideTest, GroundedPlayerFollowsAFloorUpToNineteenBelowItsFeet) {
    LoadStage({{0, 900, Right, Bottom}});
    Actor a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.x, 500.0f);
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 0);
    // Rising, it leaves the floor.
    a = Collide({500.0f, 890.0f, -8.0f, 0});
    EXPECT_EQ(a.y, 890.0f);
    EXPECT_EQ(a.airborne, 1);

    LoadStage({{0, 919, Right, Bottom}});
    a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.y, 919.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 0);

    LoadStage({{0, 920, Right, Bottom}});
    a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.vy, 0.25f);
    EXPECT_EQ(a.airborne, 1);
}

TEST_F(CollideTest, FallingActorsLandButRisingOnesAreOnlyLifted) {
    LoadStage({{0, 897, Right, Bottom}});
    Actor falling = Collide({500.0f, 900.0f, 3.0f, 1});
    EXPECT_EQ(falling.y, 897.0f);
    EXPECT_EQ(falling.vy, 0.0f);
    EXPECT_EQ(falling.airborne, 0);

    Actor rising = Collide({500.0f, 900.0f, -2.0f, 1});
    EXPECT_EQ(rising.y, 897.0f);
    EXPECT_EQ(rising.vy, -2.0f);
    EXPECT_EQ(rising.airborne, 1);

    EXPECT_EQ(Collide({500.0f, 900.0f, 1.5f, 2}).airborne, 0) << "a glider lands too";
    Actor high = Collide({500.0f, 890.0f, 3.0f, 1});
    EXPECT_EQ(high.y, 890.0f);
    EXPECT_EQ(high.airborne, 1);
}

TEST_F(CollideTest, WallsPushBackOnlyWithinAQuarterWidth) {
    LoadStage({{520, 0, Right, Bottom}});
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 496.0f);
    EXPECT_EQ(Collide({500.5f, 900.0f, 0.0f, 1}).x, 496.5f) << "the fraction survives a push";
    LoadStage({{525, 0, Right, Bottom}});
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 500.0f);
    LoadStage({{0, 0, 480, Bottom}});
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 504.0f);
}

TEST_F(CollideTest, WallProbesLeaveFiveRowsAtTheFeetForSteps) {
    LoadStage({{0, 900, Right, Bottom}, {520, 895, Right, 899}});
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 0}).x, 500.0f);
    LoadStage({{0, 900, Right, Bottom}, {520, 894, Right, 899}});
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 0}).x, 496.0f);
}

TEST_F(CollideTest, CeilingPushesDownAndStopsTheRise) {
    LoadStage({{0, 0, Right, 806}});
    Actor a = Collide({500.0f, 900.0f, -4.0f, 1});
    EXPECT_EQ(a.y, 902.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 1);
}

TEST_F(CollideTest, NothingBelowKeepsGlidingAndMakesOthersAirborne) {
    LoadStage({});
    EXPECT_EQ(Collide({500.0f, 900.0f, 1.5f, 2}).airborne, 2);
    EXPECT_EQ(Collide({500.0f, 900.0f, 1.5f, 1}).airborne, 1);
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 0}).airborne, 1);
}

TEST_F(CollideTest, ActorSizeSetsTheProbes) {
    // The boss's floor columns reach 62 px right of its centre.
    LoadStage({{6562, 700, Right, Bottom}});
    EXPECT_EQ(Collide({6500.0f, 700.0f, 0.0f, 0}, 256, 256).airborne, 0);
    EXPECT_EQ(Collide({6499.0f, 700.0f, 0.0f, 0}, 256, 256).airborne, 1);
    Actor boss = Collide({6500.0f, 702.0f, 5.0f, 1}, 256, 256);
    EXPECT_EQ(boss.y, 700.0f);
    EXPECT_EQ(boss.airborne, 0);

    // Narrower than 8 or shorter than 12: no floor, ceiling or wall at all.
    LoadStage({{0, 0, Right, Bottom}});
    Actor tiny = Collide({500.0f, 900.0f, 0.0f, 0}, 7, 11);
    EXPECT_EQ(tiny.x, 500.0f);
    EXPECT_EQ(tiny.y, 900.0f);
    EXPECT_EQ(tiny.airborne, 1);
}

// A dying enemy falls for ever and a bad size file can give any size: the
// resolver must stay defined and quick, and leave such actors alone.
TEST_F(CollideTest, ActorsFarOutsideOrHugeAreLeftAlone) {
    LoadStage({{0, 900, Right, Bottom}});
    const float far[] = {1e12f, -1e12f, std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
    for (float v : far) {
        Actor below = Collide({500.0f, v, 10.0f, 1});
        EXPECT_EQ(below.x, 500.0f);
        EXPECT_EQ(below.airborne, 1);
        Actor aside = Collide({v, 900.0f, 10.0f, 1});
        EXPECT_EQ(aside.y, 900.0f);
        EXPECT_EQ(aside.airborne, 1);
    }
    Actor huge = Collide({3000.0f, 900.0f, 1.0f, 1}, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.x, 3000.0f);
    EXPECT_EQ(huge.y, 900.0f);
    EXPECT_EQ(Collide({3000.0f, 900.0f, 1.0f, 1}, INT_MAX, 96).airborne, 0) << "a wide actor still lands";
    EXPECT_EQ(Collide({3000.0f, 900.0f, 1.0f, 1}, INT_MIN, INT_MIN).airborne, 1);
}

}  // namespace
