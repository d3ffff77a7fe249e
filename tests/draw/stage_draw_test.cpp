#include "draw_fixture.h"

namespace {

constexpr int SheetTag = 8;
constexpr int EnemyTag = 9;
constexpr int ImpactTag = 10;
constexpr int ShotTag = 11;
constexpr int BarTag = 12;
constexpr int FillTag = 13;
constexpr int ClearTag = 14;

}  // namespace

class StageDraw : public DrawTest {
protected:
    void MakeBackgrounds() {
        for (int k = 0; k < BackgroundStripCount; ++k) BackgroundTextures[k] = MakeCoded(k + 1, 1024, 1024);
    }
};

TEST_F(StageDraw, CameraFollowsThePlayerWithinTheStage) {
    MakeBackgrounds();
    PlayerTextures[0] = MakeCoded(SheetTag, 768, 768);

    Render();
    EXPECT_EQ(CameraX, 0);
    EXPECT_EQ(CameraY, 0);
    EXPECT_EQ(At(0, 0), (Texel{1, 0, 0}));
    EXPECT_EQ(At(639, 479), (Texel{1, 639, 479}));

    ThePlayer.x = 6900.0f;
    ThePlayer.y = 1000.0f;
    Render();
    EXPECT_EQ(CameraX, 6528);
    EXPECT_EQ(CameraY, 544);
    EXPECT_EQ(At(0, 0), (Texel{7, 384, 544}));
    EXPECT_EQ(At(639, 479), (Texel{7, 1023, 1023}));
    // The standing cell, its centre 372 pixels from the view's left edge.
    EXPECT_EQ(At(372 - 48, 1000 - 544 - 96), (Texel{SheetTag, 0, 576}));
    EXPECT_EQ(At(372 - 49, 1000 - 544 - 96).tag, 7);

    // Truncation toward zero, never rounding.
    ThePlayer.x = 320.75f;
    ThePlayer.y = 380.5f;
    Render();
    EXPECT_EQ(CameraX, 0);
    EXPECT_EQ(CameraY, 0);
    ThePlayer.x = 319.5f;
    Render();
    EXPECT_EQ(CameraX, 0);
    ThePlayer.x = 1345.5f;
    ThePlayer.y = 500.0f;
    Render();
    EXPECT_EQ(CameraX, 1025);
    EXPECT_EQ(CameraY, 120);
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
    EXPECT_TRUE(Black(0, 0));
    EXPECT_TRUE(Black(320, 0));
}

TEST_F(StageDraw, EnemiesStandOnTheirFeetAndTurnAboutTheirMiddle) {
    EnemyTextures[0] = MakeCoded(EnemyTag, 96, 32);
    auto place = [](Enemy& e, float x, float y) {
        e.kind = 0;
        e.width = 32;
        e.height = 16;
        e.x = x;
        e.y = y;
        e.state = 1;
    };
    place(Enemies[0], 200.0f, 300.0f);
    Enemies[0].spin = 90.0f;
    place(Enemies[1], 400.0f, 300.0f);
    Enemies[1].attack = 1;
    Enemies[1].animation = 1.5f;
    place(Enemies[2], 500.0f, 300.0f);
    Enemies[2].animation = 1.9f;
    Enemies[2].facing = 1;
    place(Enemies[3], 100.0f, 200.0f);
    Enemies[3].state = 2;  // dying ones are drawn too
    Enemies[3].animation = 0.5f;
    // Records that select no picture or no cell draw nothing.
    place(Enemies[4], 300.0f, 100.0f);
    Enemies[4].kind = 10;
    place(Enemies[5], 300.0f, 150.0f);
    Enemies[5].kind = -1;
    place(Enemies[6], 300.0f, 200.0f);
    Enemies[6].animation = 3.0e9f;
    place(Enemies[7], 300.0f, 250.0f);
    Enemies[7].facing = 1 << 30;
    Render();

    // A quarter turn clockwise: the picture's (16 + dy, 7 - dx) lands on
    // the middle plus (dx, dy).
    for (int dx : {-8, -3, 0, 5, 7})
        for (int dy : {-16, -1, 0, 9, 15}) {
            EXPECT_EQ(At(200 + dx, 292 + dy), (Texel{EnemyTag, 16 + dy, 7 - dx})) << dx << ", " << dy;
        }
    EXPECT_TRUE(Black(200 + 8, 292));
    EXPECT_TRUE(Black(200, 292 + 16));

    EXPECT_EQ(At(384, 284), (Texel{EnemyTag, 64, 0}));
    EXPECT_EQ(At(415, 299), (Texel{EnemyTag, 95, 15}));
    EXPECT_TRUE(Black(416, 299));
    EXPECT_TRUE(Black(384, 300));
    EXPECT_EQ(At(484, 284), (Texel{EnemyTag, 32, 16}));
    EXPECT_EQ(At(84, 184), (Texel{EnemyTag, 0, 0}));
    for (int y : {90, 140, 190, 240}) {
        EXPECT_TRUE(Black(300, y)) << y;
    }
}

TEST_F(StageDraw, BossCellsFollowItsAttackAndCounter) {
    constexpr int W = 16;
    BossTextures[0] = MakeCoded(SheetTag, 7 * W, 512 + 2 * W);
    BossTextures[1] = MakeCoded(ImpactTag, W, 2 * W);
    Scene = SceneBoss;
    Boss.x = 300.0f;
    Boss.y = 300.0f;
    Boss.width = W;
    Boss.height = W;
    Boss.state = 1;
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
        if (c.facing == 1) {
            EXPECT_EQ(At(300 - 170, 300 - 128) == (Texel{ImpactTag, 0, W}), impact);
        } else {
            EXPECT_EQ(At(300 + 98, 300 - 128) == (Texel{ImpactTag, 0, 0}), impact);
        }
    }
}

TEST_F(StageDraw, TransformationCellsAndBadBossRecords) {
    constexpr int W = 16;
    BossTextures[3] = MakeCoded(SheetTag, 4 * W, W);
    Scene = SceneBoss;
    Boss.x = 300.0f;
    Boss.y = 300.0f;
    Boss.width = W;
    Boss.height = W;
    Boss.state = 2;
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

    for (int count : {40, 2147483647, -2147483647 - 1}) {
        Boss.bossCount = count;
        Render();
        EXPECT_TRUE(Black(left + 1, 284)) << count;
    }
    Boss.bossCount = 30;
    for (int form : {10, -1, 1 << 30}) {
        Boss.kind = form;
        Render();
        EXPECT_TRUE(Black(left + 1, 284)) << form;
    }
    Boss.kind = 3;
    Boss.state = 1;
    Boss.attack = 9;
    Render();
    EXPECT_TRUE(Black(left + 1, 284));
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
    EXPECT_TRUE(Black(165, 66));
    EXPECT_TRUE(Black(250, 60));
    EXPECT_TRUE(Black(350, 60));
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
    BossHp = 300;
    Render();
    EXPECT_EQ(At(339, 10), (Texel{BarTag + 1, 339, 10}));
    EXPECT_EQ(At(340, 10), (Texel{FillTag + 1, 340, 10}));
    EXPECT_EQ(At(639, 239), (Texel{FillTag + 1, 639, 239}));
    EXPECT_EQ(At(5, 300), (Texel{BarTag, 5, 300}));
    BossHp = 1;
    Render();
    EXPECT_EQ(At(638, 10), (Texel{BarTag + 1, 638, 10}));
    EXPECT_EQ(At(639, 10), (Texel{FillTag + 1, 639, 10}));
    for (int hp : {0, -2, -2147483647 - 1}) {
        BossHp = hp;
        Render();
        EXPECT_EQ(At(639, 10), (Texel{BarTag + 1, 639, 10})) << hp;
        EXPECT_EQ(At(5, 300), (Texel{ClearTag, 5, 300})) << hp;
    }
    // More life than the bar is wide fills it all.
    BossHp = 1000;
    Render();
    EXPECT_EQ(At(0, 10), (Texel{FillTag + 1, 0, 10}));
}

TEST_F(StageDraw, ContinueScreenShowsNoEnemyNoBossAndNoBossBar) {
    EnemyTextures[0] = MakeCoded(EnemyTag, 96, 32);
    BossTextures[0] = MakeCoded(SheetTag, 112, 544);
    BossTextures[4] = MakeCoded(BarTag, 640, 240);
    PlayerTextures[2] = MakeCoded(BarTag + 1, 512, 512);
    ShotTextures[0] = MakeCoded(ShotTag, 16, 8);
    Enemies[0].x = 560.0f;
    Enemies[0].y = 460.0f;
    Enemies[0].width = 32;
    Enemies[0].height = 16;
    Boss.x = 600.0f;
    Boss.y = 400.0f;
    Boss.width = 16;
    Boss.height = 16;
    Boss.state = 1;
    Shots[0] = Shot{520.0f, 300.0f, 0, 0, 0, 0, 16, 8, 10, 1};
    SceneTextures[7] = MakePicture(640, 480, [](int u, int v) { return u < 620 ? 0u : TexelColour(ClearTag, u, v); });

    Render();
    EXPECT_EQ(At(544, 444).tag, EnemyTag);
    EXPECT_TRUE(Black(592, 384));
    EXPECT_TRUE(Black(600, 10));
    EXPECT_EQ(At(520, 300).tag, ShotTag);
    EXPECT_EQ(At(10, 10).tag, BarTag + 1);
    Scene = SceneBoss;
    Render();
    EXPECT_TRUE(Black(544, 444));
    EXPECT_EQ(At(592, 384).tag, SheetTag);
    EXPECT_EQ(At(600, 10).tag, BarTag);

    Scene = SceneContinue;
    Render();
    EXPECT_TRUE(Black(544, 444));
    EXPECT_TRUE(Black(592, 384));
    EXPECT_TRUE(Black(600, 10));
    EXPECT_EQ(At(520, 300).tag, ShotTag);
    EXPECT_EQ(At(10, 10).tag, BarTag + 1);
    EXPECT_TRUE(Black(630, 300));
    BossHp = 0;
    Render();
    EXPECT_EQ(At(630, 300).tag, ClearTag);
}
