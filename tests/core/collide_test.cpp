// Stage collision: the four probes with the player's and the boss's sizes,
// and actors far outside the stage or of absurd sizes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "game/stage/stage.h"
#include "stage_maker.h"

namespace {

constexpr int Right = StageWidthPx - 1;
constexpr int Bottom = StageHeightPx - 1;
constexpr float Any = std::numeric_limits<float>::quiet_NaN();  // a result the case does not pin

struct Actor {
    float x, y, vy;
    int airborne;  // -1 in an expectation: not pinned
};

struct Solid {
    int x0, y0, x1, y1;  // inclusive
};

struct Case {
    Actor in;
    int w, h;
    Actor want;
    const char* why;
};

struct StageCases {
    std::vector<Solid> solids;
    std::vector<Case> cases;
};

class CollideTest : public testing::Test {
protected:
    ScratchDir scratch;

    void LoadStage(const std::vector<Solid>& solids) {
        StageMaker stage;
        for (const Solid& s : solids) stage.Fill(s.x0, s.y0, s.x1, s.y1, MaskSolid);
        stage.Load();
    }
    Actor Collide(Actor a, int w = 96, int h = 96) {
        CollideWithMap(&a.x, &a.y, w, h, &a.airborne, &a.vy);
        return a;
    }
};

TEST_F(CollideTest, FloorsWallsCeilingsAndTheActorsSize) {
    const StageCases stages[] = {
        {{{0, 900, Right, Bottom}},
         {{{500.0f, 900.0f, 0.25f, 0}, 96, 96, {500.0f, 900.0f, 0.0f, 0}, "standing on the floor"},
          {{500.0f, 890.0f, -8.0f, 0}, 96, 96, {Any, 890.0f, Any, 1}, "rising leaves the floor"}}},
        {{{0, 919, Right, Bottom}},
         {{{500.0f, 900.0f, 0.25f, 0}, 96, 96, {Any, 919.0f, 0.0f, 0}, "followed down 19 px"}}},
        {{{0, 920, Right, Bottom}},
         {{{500.0f, 900.0f, 0.25f, 0}, 96, 96, {Any, 900.0f, 0.25f, 1}, "20 px down is too far"}}},
        {{{0, 897, Right, Bottom}},
         {{{500.0f, 900.0f, 3.0f, 1}, 96, 96, {Any, 897.0f, 0.0f, 0}, "falling lands"},
          {{500.0f, 900.0f, -2.0f, 1}, 96, 96, {Any, 897.0f, -2.0f, 1}, "rising is only lifted"},
          {{500.0f, 900.0f, 1.5f, 2}, 96, 96, {Any, Any, Any, 0}, "a glider lands too"},
          {{500.0f, 890.0f, 3.0f, 1}, 96, 96, {Any, 890.0f, Any, 1}, "still above the floor"}}},
        {{{520, 0, Right, Bottom}},
         {{{500.0f, 900.0f, 0.0f, 1}, 96, 96, {496.0f, Any, Any, -1}, "wall within a quarter width"},
          {{500.5f, 900.0f, 0.0f, 1}, 96, 96, {496.5f, Any, Any, -1}, "the fraction survives a push"}}},
        {{{525, 0, Right, Bottom}}, {{{500.0f, 900.0f, 0.0f, 1}, 96, 96, {500.0f, Any, Any, -1}, "wall too far"}}},
        {{{0, 0, 480, Bottom}}, {{{500.0f, 900.0f, 0.0f, 1}, 96, 96, {504.0f, Any, Any, -1}, "wall on the left"}}},
        {{{0, 900, Right, Bottom}, {520, 895, Right, 899}},
         {{{500.0f, 900.0f, 0.0f, 0}, 96, 96, {500.0f, Any, Any, -1}, "five rows at the feet are steps"}}},
        {{{0, 900, Right, Bottom}, {520, 894, Right, 899}},
         {{{500.0f, 900.0f, 0.0f, 0}, 96, 96, {496.0f, Any, Any, -1}, "six rows make a wall"}}},
        {{{0, 0, Right, 806}}, {{{500.0f, 900.0f, -4.0f, 1}, 96, 96, {Any, 902.0f, 0.0f, 1}, "the ceiling"}}},
        {{},
         {{{500.0f, 900.0f, 1.5f, 2}, 96, 96, {Any, Any, Any, 2}, "nothing below: gliding goes on"},
          {{500.0f, 900.0f, 1.5f, 1}, 96, 96, {Any, Any, Any, 1}, "nothing below: falling"},
          {{500.0f, 900.0f, 0.0f, 0}, 96, 96, {Any, Any, Any, 1}, "nothing below: standing falls"}}},
        // The boss's floor columns reach 62 px right of its centre.
        {{{6562, 700, Right, Bottom}},
         {{{6500.0f, 700.0f, 0.0f, 0}, 256, 256, {Any, Any, Any, 0}, "boss on the edge"},
          {{6499.0f, 700.0f, 0.0f, 0}, 256, 256, {Any, Any, Any, 1}, "boss past the edge"},
          {{6500.0f, 702.0f, 5.0f, 1}, 256, 256, {Any, 700.0f, Any, 0}, "boss lands"}}},
        {{{0, 0, Right, Bottom}},
         {{{500.0f, 900.0f, 0.0f, 0}, 7, 11, {500.0f, 900.0f, Any, 1}, "below 8 x 12 no probe at all"}}},
    };
    for (const StageCases& stage : stages) {
        LoadStage(stage.solids);
        for (const Case& c : stage.cases) {
            SCOPED_TRACE(c.why);
            const Actor got = Collide(c.in, c.w, c.h);
            if (!std::isnan(c.want.x)) { EXPECT_EQ(got.x, c.want.x); }
            if (!std::isnan(c.want.y)) { EXPECT_EQ(got.y, c.want.y); }
            if (!std::isnan(c.want.vy)) { EXPECT_EQ(got.vy, c.want.vy); }
            if (c.want.airborne >= 0) { EXPECT_EQ(got.airborne, c.want.airborne); }
        }
    }
}

// A dying enemy falls for ever and a bad size file can give any size: the
// resolver must stay defined and quick, and leave such actors alone.
TEST_F(CollideTest, ActorsFarOutsideOrHugeAreLeftAlone) {
    LoadStage({{0, 900, Right, Bottom}});
    for (float v : {1e12f, -1e12f, std::numeric_limits<float>::infinity(), Any}) {
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
