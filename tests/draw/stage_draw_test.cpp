#include "draw_fixture.h"

namespace {
constexpr int SheetTag = 8, EnemyTag = 9, ImpactTag = 10, ShotTag = 11, BarTag = 12, FillTag = 13, ClearTag = 14;
constexpr int BossCell = 16;
}  // namespace

class StageDraw : public DrawTest {
protected:
    void MakeBackgrounds() {
        for (int k = 0; k < BackgroundStripCount; ++k) BackgroundTextures[k] = MakeCoded(k + 1, 1024, 1024);
    }
    // The camera's corner after a frame drawn with the player at (x, y).
    void RenderAt(float x, float y, int cameraX, int cameraY) {
        ThePlayer.x = x;
        ThePlayer.y = y;
        Render();
        EXPECT_EQ(CameraX, cameraX) << "player at " << x << ", " << y;
        EXPECT_EQ(CameraY, cameraY) << "player at " << x << ", " << y;
    }
    void PlaceBoss(int state) {
        Scene = SceneBoss;
        Boss.x = Boss.y = 300.0f;
        Boss.width = Boss.height = BossCell;
        Boss.state = state;
    }
};

TEST_F(StageDraw, CameraFollowsThePlayerWithinTheStage) {
    MakeBackgrounds();
    PlayerTextures[0] = MakeCoded(SheetTag, 768, 768);

    RenderAt(100.0f, 300.0f, 0, 0);
    EXPECT_EQ(At(0, 0), (Texel{1, 0, 0}));
    EXPECT_EQ(At(639, 479), (Texel{1, 639, 479}));
    RenderAt(6900.0f, 1000.0f, 6528, 544);
    EXPECT_EQ(At(0, 0), (Texel{7, 384, 544}));
    EXPECT_EQ(At(639, 479), (Texel{7, 1023, 1023}));
    // The standing cell, its centre 372 pixels from the view's left edge.
    EXPECT_EQ(At(372 - 48, 1000 - 544 - 96), (Texel{SheetTag, 0, 576}));
    EXPECT_EQ(At(372 - 49, 1000 - 544 - 96).tag, 7);
    // Truncation toward zero, never rounding.
    RenderAt(320.75f, 380.5f, 0, 0);
    RenderAt(319.5f, 380.5f, 0, 0);
    RenderAt(1345.5f, 500.0f, 1025, 120);
    EXPECT_EQ(At(0, 0), (Texel{2, 1, 120}));
    EXPECT_EQ(At(0, 479), (Texel{2, 1, 599}));
}

TEST_F(StageDraw, StripsFollowTheBackgroundOrder) {
    MakeBackgrounds();
    BackgroundOrder[0] = 6;
    BackgroundOrder[1] = 0;
    ThePlayer.x = 1024.0f;  // camera 704: strips 0 and 1 in view
    Render();
    EXPECT_EQ(At(0, 0), (Texel{7, 704, 0}));
    EXPECT_EQ(At(319, 0), (Texel{7, 1023, 0}));
    EXPECT_EQ(At(320, 0), (Texel{1, 0, 0}));

    // A picture number outside the table draws nothing.
    BackgroundOrder[0] = 10;
    BackgroundOrder[1] = -1;
    Render();
    ExpectBlack({{0, 0}, {320, 0}});
}

TEST_F(StageDraw, EnemiesStandOnTheirFeetAndTurnAboutTheirMiddle) {
    EnemyTextures[0] = MakeCoded(EnemyTag, 96, 32);
    auto place = [](int i, float x, float y) { return PlaceEnemy(i, 0, x, y, 32, 16); };
    place(0, 200.0f, 300.0f)->spin = 90.0f;
    place(1, 400.0f, 300.0f)->attack = 1;
    Enemies[1].animation = 1.5f;
    place(2, 500.0f, 300.0f)->animation = 1.9f;
    Enemies[2].facing = 1;
    place(3, 100.0f, 200.0f)->state = 2;  // dying ones are drawn too
    Enemies[3].animation = 0.5f;
    // Records that select no picture or no cell draw nothing.
    place(4, 300.0f, 100.0f)->kind = 10;
    place(5, 300.0f, 150.0f)->kind = -1;
    place(6, 300.0f, 200.0f)->animation = 3.0e9f;
    place(7, 300.0f, 250.0f)->facing = 1 << 30;
    Render();

    // A quarter turn clockwise: the picture's (16 + dy, 7 - dx) lands on
    // the middle plus (dx, dy).
    for (int dx : {-8, -3, 0, 5, 7})
        for (int dy : {-16, -1, 0, 9, 15})
            EXPECT_EQ(At(200 + dx, 292 + dy), (Texel{EnemyTag, 16 + dy, 7 - dx})) << dx << ", " << dy;
    ExpectBlack({{208, 292}, {200, 308}});

    EXPECT_EQ(At(384, 284), (Texel{EnemyTag, 64, 0}));
    EXPECT_EQ(At(415, 299), (Texel{EnemyTag, 95, 15}));
    EXPECT_EQ(At(484, 284), (Texel{EnemyTag, 32, 16}));
    EXPECT_EQ(At(84, 184), (Texel{EnemyTag, 0, 0}));
    ExpectBlack({{416, 299}, {384, 300}, {300, 90}, {300, 140}, {300, 190}, {300, 240}});
}

TEST_F(StageDraw, BossCellsFollowItsAttackAndCounter) {
    constexpr int W = BossCell;
    BossTextures[0] = MakeCoded(SheetTag, 7 * W, 512 + 2 * W);
    BossTextures[1] = MakeCoded(ImpactTag, W, 2 * W);
    PlaceBoss(1);
    struct Case {
        int attack, counter, facing;
        float animation;
        int u, v;
    };
    const Case cases[] = {
        {0, 0, 0, 0.0f, 0, 0},           {0, 0, 1, 1.2f, W, W},
        {4, 10, 0, 0.0f, 6 * W, 512},    {4, 10, 1, 0.0f, 6 * W, 512 + W},
        {3, 76, 0, 0.0f, 4 * W, 512},    {3, 75, 0, 0.0f, 5 * W, 512},
        {1, 26, 0, 0.0f, 0, 512},        {1, 25, 1, 0.0f, W, 512 + W},
        {1, 24, 1, 0.0f, W, 512 + W},    {2, 26, 0, 0.0f, 2 * W, 512},
        {2, 25, 0, 0.0f, 3 * W, 512},    {2, 3, 1, 0.0f, 3 * W, 512 + W},
    };
    for (const Case& c : cases) {
        Boss.attack = c.attack;
        Boss.attackCounter = c.counter;
        Boss.facing = c.facing;
        Boss.animation = c.animation;
        Render();
        SCOPED_TRACE(testing::Message() << "attack " << c.attack << " counter " << c.counter);
        EXPECT_EQ(At(300 - W / 2, 300 - W), (Texel{SheetTag, c.u, c.v}));
        EXPECT_EQ(At(300 + W / 2 - 1, 299), (Texel{SheetTag, c.u + W - 1, c.v + W - 1}));
        // The impact shows beside the boss only in the swing's second half.
        const bool impact = c.attack == 1 && c.counter < 25;
        EXPECT_EQ(At(c.facing ? 300 - 170 : 300 + 98, 300 - 128) == (Texel{ImpactTag, 0, c.facing ? W : 0}), impact);
    }
}

TEST_F(StageDraw, TransformationCellsAndBadBossRecords) {
    constexpr int W = BossCell;
    BossTextures[3] = MakeCoded(SheetTag, 4 * W, W);
    PlaceBoss(2);
    Boss.kind = 3;
    const int left = 300 - W / 2;
    const int cells[][2] = {{30, 3}, {29, 2}, {20, 2}, {19, 1}, {10, 1}, {9, 0}, {1, 0}};
    for (const auto& c : cells) {
        Boss.bossCount = c[0];
        Render();
        // One pixel left of the grid; the first cell's first column lies
        // off the picture.
        EXPECT_EQ(At(left + 1, 284), (Texel{SheetTag, c[1] * W, 0})) << "count " << c[0];
        if (c[1] > 0) {
            EXPECT_EQ(At(left, 284), (Texel{SheetTag, c[1] * W - 1, 0})) << "count " << c[0];
        } else {
            EXPECT_TRUE(Black(left, 284));
        }
    }

    // Counts, forms and attacks that select no cell draw nothing.
    const struct {
        int count, form, state, attack;
    } bad[] = {{40, 3, 2, 0}, {2147483647, 3, 2, 0}, {-2147483647 - 1, 3, 2, 0}, {30, 10, 2, 0},
               {30, -1, 2, 0}, {30, 1 << 30, 2, 0}, {30, 3, 1, 9}};
    for (const auto& b : bad) {
        Boss.bossCount = b.count;
        Boss.kind = b.form;
        Boss.state = b.state;
        Boss.attack = b.attack;
        Render();
        EXPECT_TRUE(Black(left + 1, 284)) << "count " << b.count << " form " << b.form << " attack " << b.attack;
    }
}

TEST_F(StageDraw, ShotsPlacedByTheirTopLeftAndOnlyWhileActive) {
    ShotTextures[2] = MakeCoded(ShotTag, 16, 8);
    Shots[0] = Shot{50.0f, 60.0f, 0, 0, 0, 2, 16, 8, 10, 1};
    Shots[1] = Shot{150.0f, 60.0f, 0, 0, 0, 2, 15, 7, 10, 1};  // odd sizes
    Shots[2] = Shot{250.0f, 60.0f, 0, 0, 0, 2, 16, 8, 10, 0};
    Shots[3] = Shot{350.0f, 60.0f, 0, 0, 0, 7, 16, 8, 10, 1};
    Shots[4] = Shot{450.0f, 60.0f, 0, 0, 180.0f, 2, 16, 8, 10, 1};
    Render();
    EXPECT_EQ(At(50, 60), (Texel{ShotTag, 0, 0}));
    EXPECT_EQ(At(65, 67), (Texel{ShotTag, 15, 7}));
    EXPECT_EQ(At(150, 60), (Texel{ShotTag, 0, 0}));
    EXPECT_EQ(At(164, 66), (Texel{ShotTag, 14, 6}));
    ExpectBlack({{165, 66}, {250, 60}, {350, 60}});
    // Half a turn about the middle of its box.
    EXPECT_EQ(At(450, 60), (Texel{ShotTag, 15, 7}));
    EXPECT_EQ(At(465, 67), (Texel{ShotTag, 0, 0}));
}

TEST_F(StageDraw, LifeBarsAndStageClear) {
    PlayerTextures[2] = MakeCoded(BarTag, 512, 512);
    PlayerTextures[3] = MakeCoded(FillTag, 512, 512);
    ThePlayer.HP = 300;
    Render();
    EXPECT_EQ(At(299, 400), (Texel{FillTag, 299, 400}));
    EXPECT_EQ(At(300, 400), (Texel{BarTag, 300, 400}));
    ThePlayer.HP = 0;
    Render();
    EXPECT_EQ(At(0, 400), (Texel{BarTag, 0, 400}));

    BossTextures[4] = MakeCoded(BarTag + 1, 640, 240);
    BossTextures[5] = MakeCoded(FillTag + 1, 640, 240);
    // The stage-clear picture leaves the top rows clear, to see the bar under it.
    SceneTextures[7] = MakePicture(640, 480, [](int u, int v) { return v < 240 ? 0u : TexelColour(ClearTag, u, v); });
    Scene = SceneBoss;
    // The boss bar's frame left of `fillFrom`, its fill from there to the
    // right edge; the stage-clear picture once the boss has no life left.
    const struct {
        int hp, fillFrom;
    } bars[] = {{300, 340}, {1, 639}, {0, 640}, {-2, 640}, {-2147483647 - 1, 640}, {1000, 0}};
    for (const auto& c : bars) {
        BossHp = c.hp;
        Render();
        SCOPED_TRACE(testing::Message() << "BossHp " << c.hp);
        if (c.fillFrom > 0) {
            EXPECT_EQ(At(c.fillFrom - 1, 10), (Texel{BarTag + 1, c.fillFrom - 1, 10}));
        }
        if (c.fillFrom < 640) {
            EXPECT_EQ(At(c.fillFrom, 10), (Texel{FillTag + 1, c.fillFrom, 10}));
            EXPECT_EQ(At(639, 239), (Texel{FillTag + 1, 639, 239}));
        }
        EXPECT_EQ(At(5, 300), c.hp > 0 ? (Texel{BarTag, 5, 300}) : (Texel{ClearTag, 5, 300}));
    }
}

TEST_F(StageDraw, ContinueScreenShowsNoEnemyNoBossAndNoBossBar) {
    EnemyTextures[0] = MakeCoded(EnemyTag, 96, 32);
    BossTextures[0] = MakeCoded(SheetTag, 112, 544);
    BossTextures[4] = MakeCoded(BarTag, 640, 240);
    PlayerTextures[2] = MakeCoded(BarTag + 1, 512, 512);
    ShotTextures[0] = MakeCoded(ShotTag, 16, 8);
    PlaceEnemy(0, 0, 560.0f, 460.0f, 32, 16);
    PlaceBoss(1);
    Boss.x = 600.0f;
    Boss.y = 400.0f;
    Scene = SceneField;
    Shots[0] = Shot{520.0f, 300.0f, 0, 0, 0, 0, 16, 8, 10, 1};
    SceneTextures[7] = MakePicture(640, 480, [](int u, int v) { return u < 620 ? 0u : TexelColour(ClearTag, u, v); });

    // The tag (0: black, -1: not looked at) at the enemy, the boss, its bar, the shot and
    // the player's bar in each scene.
    const struct {
        int scene, enemy, boss, bossBar, shot, playerBar;
    } scenes[] = {{SceneField, EnemyTag, 0, 0, ShotTag, BarTag + 1},
                  {SceneBoss, 0, SheetTag, BarTag, -1, -1},
                  {SceneContinue, 0, 0, 0, ShotTag, BarTag + 1}};
    for (const auto& c : scenes) {
        Scene = c.scene;
        Render();
        SCOPED_TRACE(testing::Message() << "scene " << c.scene);
        EXPECT_TRUE(Shows(544, 444, c.enemy));
        EXPECT_TRUE(Shows(592, 384, c.boss));
        EXPECT_TRUE(Shows(600, 10, c.bossBar));
        EXPECT_TRUE(Shows(520, 300, c.shot));
        EXPECT_TRUE(Shows(10, 10, c.playerBar));
    }
    EXPECT_TRUE(Black(630, 300));
    BossHp = 0;
    Render();
    EXPECT_EQ(At(630, 300).tag, ClearTag);
}
