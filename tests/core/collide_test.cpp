// Stage collision: the four probes with the player's and the boss's sizes,
// and actors far outside the stage.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "game/stage/stage.h"
#include "stage_maker.h"

namespace {

constexpr int PlayerSizePx = 96;

struct Actor {
    float x, y, vy;
    int airborne;
};

class CollideTest : public testing::Test {
protected:
    ScratchDir scratch;
    StageMaker stage;

    Actor Collide(Actor a, int w = PlayerSizePx, int h = PlayerSizePx) {
        CollideWithMap(&a.x, &a.y, w, h, &a.airborne, &a.vy);
        return a;
    }
    // A floor across the whole stage whose top solid row is top.
    void Floor(int top) {
        stage.Fill(0, top, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
        stage.Load();
    }
};

TEST_F(CollideTest, GroundedPlayerFollowsFloorUpToNineteenBelowItsFeet) {
    Floor(900);
    Actor a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.x, 500.0f);
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 0);
}

TEST_F(CollideTest, GroundedPlayerStepsDownNineteenButLosesFloorAtTwenty) {
    Floor(919);
    Actor a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.y, 919.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 0);

    ScratchDir again;
    StageMaker lower;
    lower.Fill(0, 920, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    lower.Load();
    a = Collide({500.0f, 900.0f, 0.25f, 0});
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.vy, 0.25f);
    EXPECT_EQ(a.airborne, 1);
}

TEST_F(CollideTest, GroundedPlayerRisingLeavesTheFloor) {
    Floor(910);
    Actor a = Collide({500.0f, 900.0f, -8.0f, 0});
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.vy, -8.0f);
    EXPECT_EQ(a.airborne, 1);
}

TEST_F(CollideTest, FallingPlayerLandsButRisingPlayerOnlyLifts) {
    Floor(897);
    Actor falling = Collide({500.0f, 900.0f, 3.0f, 1});
    EXPECT_EQ(falling.y, 897.0f);
    EXPECT_EQ(falling.vy, 0.0f);
    EXPECT_EQ(falling.airborne, 0);

    Actor rising = Collide({500.0f, 900.0f, -2.0f, 1});
    EXPECT_EQ(rising.y, 897.0f);
    EXPECT_EQ(rising.vy, -2.0f);
    EXPECT_EQ(rising.airborne, 1);

    // A glider lands the same way; a floor further than half below the
    // feet's probe start is left alone.
    Actor gliding = Collide({500.0f, 900.0f, 1.5f, 2});
    EXPECT_EQ(gliding.y, 897.0f);
    EXPECT_EQ(gliding.airborne, 0);
    Actor high = Collide({500.0f, 890.0f, 3.0f, 1});
    EXPECT_EQ(high.y, 890.0f);
    EXPECT_EQ(high.vy, 3.0f);
    EXPECT_EQ(high.airborne, 1);
}

TEST_F(CollideTest, RightWallPushesBackOnlyWithinAQuarterWidth) {
    stage.Fill(520, 0, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    stage.Load();
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 496.0f);
    EXPECT_EQ(Collide({500.5f, 900.0f, 0.0f, 1}).x, 496.5f) << "the fraction survives a push";

    ScratchDir again;
    StageMaker further;
    further.Fill(525, 0, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    further.Load();
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 500.0f);
}

TEST_F(CollideTest, LeftWallPushesRight) {
    stage.Fill(0, 0, 480, StageHeightPx - 1, MaskSolid);
    stage.Load();
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 1}).x, 504.0f);
}

TEST_F(CollideTest, WallProbesLeaveFiveRowsAtHeadAndFeet) {
    // A step five pixels high is not a wall: the floor probe climbs it.
    stage.Fill(0, 900, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    stage.Fill(520, 895, StageWidthPx - 1, 899, MaskSolid);
    stage.Load();
    Actor a = Collide({500.0f, 900.0f, 0.0f, 0});
    EXPECT_EQ(a.x, 500.0f);

    // Six pixels high reaches the wall rows.
    ScratchDir again;
    StageMaker higher;
    higher.Fill(0, 900, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    higher.Fill(520, 894, StageWidthPx - 1, 899, MaskSolid);
    higher.Load();
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 0}).x, 496.0f);
}

TEST_F(CollideTest, CeilingPushesDownAndStopsTheRise) {
    stage.Fill(0, 0, StageWidthPx - 1, 806, MaskSolid);
    stage.Load();
    Actor a = Collide({500.0f, 900.0f, -4.0f, 1});
    EXPECT_EQ(a.y, 902.0f);
    EXPECT_EQ(a.vy, 0.0f);
    EXPECT_EQ(a.airborne, 1);
}

TEST_F(CollideTest, NothingBelowKeepsGlidingAndMakesOthersAirborne) {
    stage.Load();
    EXPECT_EQ(Collide({500.0f, 900.0f, 1.5f, 2}).airborne, 2);
    EXPECT_EQ(Collide({500.0f, 900.0f, 1.5f, 1}).airborne, 1);
    EXPECT_EQ(Collide({500.0f, 900.0f, 0.0f, 0}).airborne, 1);
}

TEST_F(CollideTest, BossSizeUsesItsOwnProbes) {
    Floor(700);
    Actor boss = Collide({6500.0f, 702.0f, 5.0f, 1}, 256, 256);
    EXPECT_EQ(boss.y, 700.0f);
    EXPECT_EQ(boss.airborne, 0);
    // Its floor columns reach 62 px right of the centre: a pit under the
    // rest of it still holds it.
    ScratchDir again;
    StageMaker ledge;
    ledge.Fill(6562, 700, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    ledge.Load();
    boss = Collide({6500.0f, 700.0f, 0.0f, 0}, 256, 256);
    EXPECT_EQ(boss.airborne, 0);
    boss = Collide({6499.0f, 700.0f, 0.0f, 0}, 256, 256);
    EXPECT_EQ(boss.airborne, 1);
}

TEST_F(CollideTest, TinyActorsNeverFindWallsFloorsOrCeilings) {
    stage.Fill(0, 0, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    stage.Load();
    Actor a = Collide({500.0f, 900.0f, 0.0f, 0}, 7, 11);
    EXPECT_EQ(a.x, 500.0f);
    EXPECT_EQ(a.y, 900.0f);
    EXPECT_EQ(a.airborne, 1);
}

// A dying enemy falls for ever and a bad size file can give any size: the
// resolver must stay defined and quick, and leave such actors alone.
TEST_F(CollideTest, ActorsFarOutsideOrHugeAreLeftAlone) {
    Floor(900);
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
    Actor wide = Collide({3000.0f, 900.0f, 1.0f, 1}, INT_MAX, 96);
    EXPECT_EQ(wide.airborne, 0) << "a wide actor still lands";
    Actor negative = Collide({3000.0f, 900.0f, 1.0f, 1}, INT_MIN, INT_MIN);
    EXPECT_EQ(negative.airborne, 1);
}

}  // namespace
