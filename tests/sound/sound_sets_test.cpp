// The scenes' sound sets heard through the real frame: the slots each
// scene fills on its first frame, the loops it starts and what it stops.
#include <cstring>
#include <initializer_list>
#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"
#include "game/stage/stage.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/testhooks.h"
#include "sound/sound.h"
#include "sound_fixture.h"
#include "support/actor_scene.h"
#include "support/headless_game.h"
#include "support/test_graphics.h"

namespace {
// Each loop at its own level and each field effect on a bit of its own
// above them, so the mix tells what plays.
constexpr int16_t Rain = 8192, SadSong = 4096, Forest = 20480, BossMusic = 16384;
constexpr int16_t SwingOne = 16;  // also the title's cursor
constexpr int16_t SwingTwo = 32, Bomb = 64, Open = 128, Hit = 256, StepOne = 512, StepTwo = 1024, Stamp = 2048;
constexpr int16_t Choice = 3, Farewell = 5, OtherEffect = 1;

struct SoundFile {
    const char* path;
    int16_t level;
};

constexpr SoundFile GameSounds[] = {
    {"Sound/素振り1.wav", SwingOne},      {"Sound/キラキラリン.wav", Choice},  {"Sound/syaki-n.wav", OtherEffect},
    {"Sound/雨.wav", Rain},               {"Sound/sadsong-1.wav", SadSong},    {"Sound/素振り2.wav", SwingTwo},
    {"Sound/bom10.wav", Bomb},            {"Sound/open.wav", Open},            {"Sound/効果（攻撃）.wav", Hit},
    {"Sound/step01.wav", StepOne},        {"Sound/step02.wav", StepTwo},       {"Sound/足踏み.wav", Stamp},
    {"Sound/forest.wav", Forest},         {"Sound/Boss.wav", BossMusic},       {"Sound/うなり声.wav", OtherEffect},
    {"Sound/太いものをブン回す.wav", OtherEffect}, {"Sound/ボスッ.wav", OtherEffect}, {"Sound/hyupa.wav", Farewell},
};
constexpr int GameSoundCount = sizeof GameSounds / sizeof GameSounds[0];

constexpr int KeyCanopy = 'C', KeyAttack = 'X', KeyJump = 'Z';
constexpr int FloorRow = 30;  // y 960 down is solid
constexpr int SolidTile = 1;

int AnswerYes(HWND, LPCSTR, LPCSTR, UINT) { return IDYES; }

void LayFloor() {
    std::memset(MapTiles[SolidTile].mask, MaskSolid, sizeof MapTiles[SolidTile].mask);
    for (int row = 0; row < StageRows; ++row)
        for (int column = 0; column < StageColumns; ++column)
            TileIndexMap[row][column] = row >= FloorRow ? SolidTile : 0;
}

// Runs one frame with exactly these keys down.
void Frame(std::initializer_list<int> keys = {}) {
    HoldKeys(keys);
    ASSERT_EQ(UpdateFrame(nullptr), 1);
}

// Runs the frames, waits for the mix to play out whatever they started,
// and gives the effects heard above the forest, one bit each.
int EffectsHeard(int frames, int key = 0) {
    long from = MixWatch::Count();
    for (int frame = 0; frame < frames; ++frame) key ? Frame({key}) : Frame();
    EXPECT_TRUE(MixWatch::WaitFrames(from, 2 * ShortFrames + 4096));
    int heard = 0;
    for (long i = from; i < MixWatch::Count(); ++i)
        if (MixWatch::At(i).high >= Forest) heard |= MixWatch::At(i).high - Forest;
    return heard;
}

// Slots first to last hold a sound, and from `empty` on none does.
void ExpectFilled(int first, int last, int empty = SoundSlotCount) {
    for (int slot = first; slot <= last; ++slot) EXPECT_NE(SoundSegments[slot], nullptr) << "slot " << slot;
    for (int slot = empty; slot < SoundSlotCount; ++slot) EXPECT_EQ(SoundSegments[slot], nullptr) << "slot " << slot;
}

class SoundSetTest : public SoundTest {
protected:
    void SetUp() override {
        for (const SoundFile& file : GameSounds) WriteConstantWave(file.path, ShortFrames, file.level);
        SoundTest::SetUp();
        ASSERT_TRUE(OpenTestGraphics());
        SetMessageBoxHook(AnswerYes);
        LayFloor();
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        CloseTestGraphics();
        Graphics = DirectGraphics{};
        SoundTest::TearDown();
    }
};
}  // namespace

TEST_F(SoundSetTest, EachSceneLoadsItsSetOnItsFirstFrameAndTheLoopsFollowTheScenes) {
    // The title's rain and sad song both loop from slot 0.
    ASSERT_EQ(Scene, SceneTitle);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);
    ExpectFilled(0, 3, 4);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + SadSong));

    // Enter brings the menu at once; a cursor move plays slot 1 over the loops.
    Frame({VK_RETURN});
    Frame();
    long from = MixWatch::Count();
    Frame({VK_DOWN});
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * ShortFrames + 4096));
    long cursorFrames = 0;
    for (long i = from; i < MixWatch::Count(); ++i)
        if (MixWatch::At(i).high == Rain + SadSong + SwingOne) cursorFrames += MixWatch::At(i).frames;
    EXPECT_GT(cursorFrames, 0);
    Frame({VK_UP});
    Frame({VK_RETURN});
    for (int frame = 0; frame < 1000 && Scene == SceneTitle; ++frame) Frame();
    ASSERT_EQ(Scene, SceneField);

    // The first field frame stops the title's loops and starts the forest.
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    ExpectFilled(0, 12, 13);
    EXPECT_EQ(SoundSegments[1], SoundSegments[5]);
    EXPECT_TRUE(MixWatch::SteadyAt(Forest));

    // The continue screen loads slot 17; the forest plays on under it.
    long fieldFrom = MixWatch::Count();
    Scene = SceneContinue;
    Frame();
    ExpectFilled(17, 17);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    for (int frame = 0; frame < 70; ++frame) Frame();
    Frame({VK_RETURN});
    for (int frame = 0; frame < 100 && Scene == SceneContinue; ++frame) Frame();
    ASSERT_EQ(Scene, SceneField);
    Frame();
    ASSERT_TRUE(MixWatch::WaitFrames(MixWatch::Count(), 2 * ShortFrames));
    EXPECT_TRUE(MixWatch::SteadyAt(Forest));
    for (long i = fieldFrom; i < MixWatch::Count(); ++i) ASSERT_GE(MixWatch::At(i).low, Forest) << "buffer " << i;

    // Past the gate: the boss set replaces the forest with the boss music.
    ThePlayer.x = 6001.0f;
    Frame();
    ASSERT_EQ(Scene, SceneBoss);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetBoss);
    ExpectFilled(13, 16);
    EXPECT_TRUE(MixWatch::SteadyAt(BossMusic));

    // Esc and Yes: the next frame is the title's, with its own loops again.
    Frame({VK_ESCAPE});
    ASSERT_EQ(Scene, SceneTitle);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + SadSong));

    // However often the sets load, each file stays decoded once.
    EXPECT_EQ(LiveSoundSegments(), GameSoundCount);
}

TEST_F(SoundSetTest, ThePlayersActionsPlayTheFieldEffects) {
    StandPlayer(300.0f, 900.0f, 0);
    Scene = SceneField;
    LoadedSoundSet = SoundSetNone;
    EXPECT_EQ(EffectsHeard(60), 0);
    ASSERT_EQ(LoadedSoundSet, SoundSetField);
    ASSERT_EQ(ThePlayer.airborne, 0);
    // Frames run with the key held (0: none) and the effects they play; a
    // second jump press once falling opens the canopy.
    const struct {
        int frames, key, heard;
    } steps[] = {{1, KeyJump, Stamp}, {40, 0, 0},
                 {1, KeyJump, Open}, {200, 0, 0},
                 {1, KeyCanopy, Open}, {1, 0, 0},
                 {15, VK_RIGHT, StepOne}, {20, VK_RIGHT, StepTwo}, {1, 0, 0},
                 {1, KeyAttack, SwingOne}, {1, 0, 0}, {1, KeyAttack, SwingTwo}, {1, 0, 0}, {1, KeyAttack, Bomb},
                 {80, 0, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << &step - steps);
        EXPECT_EQ(EffectsHeard(step.frames, step.key), step.heard);
    }
    // An enemy in reach: the strike's swing and its hit sound together.
    PlaceEnemy(0, 0, ThePlayer.x + 70.0f, ThePlayer.y, 40, 64);
    EXPECT_EQ(EffectsHeard(1, KeyAttack), SwingOne | Hit);
}
