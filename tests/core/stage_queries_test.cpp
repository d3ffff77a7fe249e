// Point samples, line scans and box tests over the stage, at its edges and
// against a plain pixel-by-pixel walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "game/geometry.h"
#include "game/stage/stage.h"
#include "stage_maker.h"

namespace {

class StageQueryTest : public testing::Test {
protected:
    ScratchDir scratch;
    StageMaker stage;
};

TEST_F(StageQueryTest, SamplesOutsideTheStageOrOfCellsNamingNoTileAreMinusOne) {
    stage.Fill(0, 0, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    stage.Fill(StageWidthPx - 1, StageHeightPx - 1, StageWidthPx - 1, StageHeightPx - 1, 7);
    stage.Load();
    TileIndexMap[3][5] = 10;
    TileIndexMap[3][6] = -38;
    TileIndexMap[3][7] = INT_MIN;
    const struct {
        int x, y, want;
    } samples[] = {{-1, 100, -1},        {100, -1, -1},     {7168, 0, -1},
                   {0, 1280, -1},        {INT_MIN, INT_MAX, -1}, {7167, 1279, 7},
                   {0, 0, 1},            {5 * 32, 3 * 32, -1},   {6 * 32 + 31, 3 * 32 + 31, -1},
                   {7 * 32, 3 * 32, -1}, {8 * 32, 3 * 32, 1}};
    for (const auto& s : samples) EXPECT_EQ(SampleMapHit(s.x, s.y), s.want) << s.x << "," << s.y;
    EXPECT_EQ(TileIndexMap[3][6], -38) << "the stored value is kept";
}

// The plain walk: every pixel of every line through SampleMapHit.
int PlainScan(int x, int y, int* freeCount, int dir, int half, int dist) {
    *freeCount = 0;
    int64_t count = (dir == 0 || dir == 1) ? (int64_t)dist + 1 : dist;
    int step = (dir == 0 || dir == 1) ? -1 : 1;
    bool columns = dir == 0 || dir == 2;
    for (int64_t i = 0; i < count; ++i) {
        int64_t line = (columns ? x : y) + step * i;
        bool solid = false;
        int last = -1;
        for (int64_t k = -half; k < half; ++k) {
            int64_t across = (columns ? y : x) + k;
            auto clip = [](int64_t v) { return (int)std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v)); };
            int s = columns ? SampleMapHit(clip(line), clip(across)) : SampleMapHit(clip(across), clip(line));
            if (s == 1) solid = true;
            last = s;
        }
        if (solid) return 1;
        if (half > 0 && last == 0) ++*freeCount;
    }
    return 0;
}

// Random tiles of solid, free and odd pixels (solid one in `solidIn`), with
// cells naming no tile among them.
void ScatterTiles(std::minstd_rand& random, int solidIn, int cellSpread) {
    for (int t = 0; t < TileCount; ++t)
        for (auto& row : MapTiles[t].mask)
            for (signed char& v : row)
                v = (signed char)(random() % (solidIn ? solidIn : t < 5 ? 400 : 9) == 0 ? 1 : random() % 5 == 0 ? 3 : 0);
    for (auto& row : TileIndexMap)
        for (int& cell : row) cell = (int)(random() % cellSpread) - 1;
}

::testing::AssertionResult AgreesWithPlainWalk(int x, int y, int dir, int half, int dist) {
    int fast = -1, plain = -1;
    const int r = ScanMap(x, y, &fast, (unsigned char)dir, half, dist);
    const int p = PlainScan(x, y, &plain, dir, half, dist);
    if (r == p && fast == plain) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << x << "," << y << " dir " << dir << " half " << half << " dist " << dist
                                         << ": " << r << "/" << fast << " against " << p << "/" << plain;
}

// Left and up walk dist + 1 lines, right and down dist lines; a line is
// 2 x half wide, from centre - half to centre + half - 1, and counts as free
// when its last pixel is free. Near every edge, and across many cells both
// ways from anywhere on the stage, the walk by bands of cells stops on the
// same line and counts the same free lines as the walk pixel by pixel.
TEST(StageScanTest, ScansAgreeWithThePlainWalk) {
    std::minstd_rand random(7);
    ScatterTiles(random, 150, 12);
    const int xs[] = {-40, -1, 0, 5, 120, StageWidthPx - 130, StageWidthPx - 1, StageWidthPx, StageWidthPx + 30};
    const int ys[] = {-40, -1, 0, 7, 150, StageHeightPx - 160, StageHeightPx - 1, StageHeightPx + 20};
    for (int x : xs)
        for (int y : ys)
            for (int dir = 0; dir < 4; ++dir)
                for (int half : {-5, 0, 1, 3, 40})
                    for (int dist : {-1, 0, 1, 60, 300}) EXPECT_TRUE(AgreesWithPlainWalk(x, y, dir, half, dist));
    int free = 99;
    EXPECT_EQ(ScanMap(100, 50, &free, 4, 10, 300), 0) << "no such direction";
    EXPECT_EQ(free, 0);

    ScatterTiles(random, 0, 13);
    for (int i = 0; i < 600; ++i) {
        const int x = (int)(random() % (StageWidthPx + 200)) - 100;
        const int y = (int)(random() % (StageHeightPx + 200)) - 100;
        const int dir = (int)(random() % 4);
        const int half = (int)(random() % 140);
        ASSERT_TRUE(AgreesWithPlainWalk(x, y, dir, half, (int)(random() % 320)));
    }
}

TEST(RectsOverlapTest, HalfOpenEdgesAndOverflowFreeSums) {
    EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 10, 0, 10, 10), 0);
    EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 0, 10, 10, 10), 0);
    EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 9, 9, 10, 10), 1);
    EXPECT_EQ(RectsOverlap(5, 0, 0, 10, 0, 0, 10, 10), 1);
    EXPECT_EQ(RectsOverlap(0, 0, 0, 10, 0, 0, 10, 10), 0);
    EXPECT_EQ(RectsOverlap(-20, -20, 15, 15, -10, -10, 5, 5), 1);
    // Boxes at the far end of the int range still meet as boxes.
    EXPECT_EQ(RectsOverlap(INT_MAX - 5, 0, 10, 10, INT_MAX - 3, 0, 2, 10), 1);
    EXPECT_EQ(RectsOverlap(INT_MIN, 0, 10, 10, INT_MAX - 20, 0, 100, 10), 0);
    EXPECT_EQ(RectsOverlap(0, INT_MAX - 1, 10, INT_MAX, 0, 0, 10, 10), 0);
}

TEST(TruncToIntTest, TruncatesTowardZeroAndSaturates) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double in;
        int want;
    } cases[] = {{-1.5, -1},          {-0.99, 0},          {2.99, 2},           {2147483647.9, INT_MAX},
                 {-2147483648.9, INT_MIN}, {2147483648.0, INT_MAX}, {-2147483649.0, INT_MIN}, {1e30, INT_MAX},
                 {-inf, INT_MIN},     {inf, INT_MAX},      {std::nan(""), INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(TruncToInt(c.in), c.want) << c.in;
}

}  // namespace
