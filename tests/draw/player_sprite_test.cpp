#include "draw_fixture.h"

#include "game/actors/player.h"

namespace {

constexpr int SheetTag = 8;
constexpr int EffectsTag = 9;
constexpr int Cell = 96;
// The player at (320, 380) with the camera at 0: the cell's top-left.
constexpr int AnchorX = 272;
constexpr int AnchorY = 284;

uint32_t SheetTexel(int u, int v) { return TexelColour(SheetTag, u, v) & 0xFFFFFF; }
uint32_t EffectsTexel(int u, int v) { return TexelColour(EffectsTag, u, v) & 0xFFFFFF; }

}  // namespace

class PlayerSprite : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        PlayerTextures[0] = MakeCoded(SheetTag, 8 * Cell, 8 * Cell);
        PlayerTextures[1] = MakeCoded(EffectsTag, 450, 322);
        ThePlayer.x = 320.0f;
        ThePlayer.y = 380.0f;
        ThePlayer.attackStartX = 120.0f;
        ThePlayer.attackStartY = 380.0f;
    }

    void DrawIt() { Render([] { DrawPlayer(0, 0); }); }

    void ExpectPose(int col, int row) {
        EXPECT_EQ(At(AnchorX, AnchorY), (Texel{SheetTag, col * Cell, row * Cell}));
        EXPECT_EQ(At(AnchorX + 95, AnchorY + 95), (Texel{SheetTag, col * Cell + 95, row * Cell + 95}));
        ExpectBlack({{AnchorX - 1, AnchorY}, {AnchorX + 96, AnchorY + 95}});
    }

    void Attack(int a, int n, int facing) {
        ThePlayer.attackState = a;
        ThePlayer.attackCount = n;
        ThePlayer.facing = facing;
    }
};

TEST_F(PlayerSprite, PoseRulesInOrder) {
    struct Case {
        const char* name;
        void (*arrange)(Player&);
        int col, row;
    };
    const Case cases[] = {
        {"knocked left", [](Player& p) { p.controllable = 0; p.vx = -5.0f; p.facing = 1; }, 1, 7},
        {"knocked, still", [](Player& p) { p.controllable = 0; p.facing = 1; }, 2, 7},
        {"knocked right", [](Player& p) { p.controllable = 0; p.vx = 5.0f; }, 2, 6},
        {"knock-back over an attack",
         [](Player& p) { p.controllable = 0; p.attackState = 1; p.attackCount = 20; p.guardState = 1; }, 2, 6},
        {"thrust wind-up", [](Player& p) { p.guardState = 3; p.airborne = 1; }, 2, 4},
        {"forward guard left", [](Player& p) { p.guardState = 1; p.facing = 1; }, 0, 5},
        {"gliding", [](Player& p) { p.airborne = 2; p.vy = 1.5f; }, 6, 0},
        {"rising", [](Player& p) { p.airborne = 1; p.vy = -8.0f; p.animation = 2.0f; }, 4, 0},
        {"falling left", [](Player& p) { p.airborne = 1; p.vy = 3.0f; p.facing = 1; }, 5, 1},
        {"standing", [](Player&) {}, 0, 6},
        {"first walk frame", [](Player& p) { p.animation = 0.1f; }, 0, 0},
        {"walking left", [](Player& p) { p.animation = 3.95f; p.facing = 1; }, 3, 1},
        {"attack's last frame", [](Player& p) { p.attackState = 1; }, 0, 6},
        {"strike's last frame in the air",
         [](Player& p) { p.attackState = 5; p.airborne = 1; p.vy = 2.0f; }, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandPlayer(320.0f, 380.0f, 0);
        c.arrange(ThePlayer);
        DrawIt();
        ExpectPose(c.col, c.row);
    }
}

// Dim at alpha 0x32 on every hit-timer count but 100 and 94 to 90 of each
// ten; guards blink too, attacks do not.
TEST_F(PlayerSprite, BlinksWhileTheHitTimerRuns) {
    const struct {
        int cnt, guard, attack, row;
        bool dim;
    } cases[] = {{99, 0, 0, 6, true}, {98, 0, 0, 6, true}, {97, 0, 0, 6, true}, {96, 0, 0, 6, true},
                 {95, 0, 0, 6, true}, {15, 0, 0, 6, true}, {100, 0, 0, 6, false}, {94, 0, 0, 6, false},
                 {93, 0, 0, 6, false}, {92, 0, 0, 6, false}, {91, 0, 0, 6, false}, {90, 0, 0, 6, false},
                 {0, 0, 0, 6, false}, {57, 1, 0, 4, true}, {57, 0, 1, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "Cnt " << c.cnt << " guard " << c.guard << " attack " << c.attack);
        ThePlayer.Cnt = c.cnt;
        ThePlayer.guardState = c.guard;
        Attack(c.attack, c.attack ? 5 : 0, 0);
        DrawIt();
        const uint32_t texel = SheetTexel(10, c.row * Cell + 20);
        if (c.dim) {
            ExpectBlend(AnchorX + 10, AnchorY + 20, texel, 0x32);
        } else {
            EXPECT_EQ(Pixel(AnchorX + 10, AnchorY + 20), texel);
        }
    }
}

TEST_F(PlayerSprite, GroundStepWithAfterImageAndEffects) {
    // Step 1 facing left: the after-image stands where the step began.
    Attack(1, 29, 1);
    DrawIt();
    const uint32_t startCell = SheetTexel(28, 3 * Cell + 16);
    ExpectBlend(30, 300, EffectsTexel(12, Cell + 16), 57);  // after-image effect alone, from x 18
    ExpectBlend(100, 300, EffectsTexel(82, Cell + 16), 57, Blended(startCell, 153, 0));
    ExpectBlend(230, 300, EffectsTexel(12, Cell + 16), 241);  // the effect at the player, from x 218
    ExpectBlend(300, 300, EffectsTexel(82, Cell + 16), 241, SheetTexel(28, 3 * Cell + 16));
    ExpectBlack({{170, 300}, {368, 300}});

    Attack(1, 15, 1);
    DrawIt();
    ExpectBlend(30, 300, EffectsTexel(12, Cell + 16), 15);
    ExpectBlend(100, 300, EffectsTexel(82, Cell + 16), 15, Blended(startCell, 55, 0));
    EXPECT_TRUE(Black(230, 300));
    EXPECT_EQ(Pixel(300, 300), SheetTexel(28, 3 * Cell + 16));

    Attack(1, 10, 1);
    DrawIt();
    ExpectBlack({{30, 300}, {100, 300}, {230, 300}});
    EXPECT_EQ(Pixel(300, 300), SheetTexel(28, 3 * Cell + 16));

    // Step 2 facing right: its own cells, the effect starting at the cell.
    Attack(2, 20, 0);
    DrawIt();
    ExpectBlend(100, 300, EffectsTexel(150 + 28, 16), 30, Blended(SheetTexel(Cell + 28, 2 * Cell + 16), 90, 0));
    ExpectBlend(400, 300, EffectsTexel(150 + 128, 16), 160);
    EXPECT_TRUE(Black(271, 300));
}

TEST_F(PlayerSprite, FinisherAndAerialPictures) {
    Attack(3, 49, 0);
    DrawIt();
    ExpectBlend(100, 300, SheetTexel(2 * Cell + 28, 2 * Cell + 16), 156);
    ExpectBlack({{30, 300}, {170, 300}});  // no after-image effect for the finisher
    ExpectBlend(400, 300, EffectsTexel(300 + 128, 16), 249);
    ExpectBlend(300, 300, EffectsTexel(300 + 28, 16), 249, SheetTexel(2 * Cell + 28, 2 * Cell + 16));

    // The aerial strike's square effect, facing left.
    Attack(5, 24, 1);
    ThePlayer.airborne = 1;
    DrawIt();
    ExpectBlend(100, 300, SheetTexel(4 * Cell + 28, 3 * Cell + 16), 118);
    ExpectBlend(250, 270, EffectsTexel(130 + 12, 192 + 3), 196);
    ExpectBlack({{237, 270}, {250, 266}, {30, 300}});

    // The wind-up shows no effect at all.
    Attack(4, 27, 0);
    DrawIt();
    ExpectBlend(100, 300, SheetTexel(3 * Cell + 28, 2 * Cell + 16), 139);
    EXPECT_EQ(Pixel(300, 300), SheetTexel(3 * Cell + 28, 2 * Cell + 16));
    ExpectBlack({{380, 300}, {30, 300}});
}

TEST_F(PlayerSprite, CountsOutsideTheAttacksStillDrawSafely) {
    // Colours keep the alpha's low 8 bits: 9 x 100 - 20 = 880 gives 112.
    Attack(1, 100, 0);
    DrawIt();
    ExpectBlend(400, 300, EffectsTexel(128, 16), 880 & 0xFF);
    Attack(1, 2147483647, 1);
    DrawIt();
    Attack(9, 20, 0);  // no such step: no cell on the sheet
    ThePlayer.facing = 1 << 30;
    DrawIt();
    EXPECT_TRUE(Black(AnchorX + 10, AnchorY + 20));
}
