// The scenes' sound sets heard through the real frame: which files each
// scene loads into which slots on its first frame, which loops it starts,
// and what a change of scene stops.
#include <cstring>
#include <initializer_list>
#include "game/frame.h"
#include "game/records.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/testhooks.h"
#include "sound/sound.h"
#include "sound_fixture.h"

namespace {
// Each loop at its own level, so the mix tells which loops play.
constexpr int16_t Rain = 1000;
constexpr int16_t SadSong = 2000;
constexpr int16_t Forest = 3000;
constexpr int16_t BossMusic = 4000;
constexpr int16_t Cursor = 100;
constexpr int16_t Choice = 200;
constexpr int16_t Farewell = 300;
constexpr int16_t OtherEffect = 50;

struct SoundFile {
    const char* path;
    int16_t level;
};

constexpr SoundFile GameSounds[] = {
    {"Sound/素振り1.wav", Cursor},
    {"Sound/キラキラリン.wav", Choice},
    {"Sound/syaki-n.wav", OtherEffect},
    {"Sound/雨.wav", Rain},
    {"Sound/sadsong-1.wav", SadSong},
    {"Sound/素振り2.wav", OtherEffect},
    {"Sound/bom10.wav", OtherEffect},
    {"Sound/open.wav", OtherEffect},
    {"Sound/効果（攻撃）.wav", OtherEffect},
    {"Sound/step01.wav", OtherEffect},
    {"Sound/step02.wav", OtherEffect},
    {"Sound/足踏み.wav", OtherEffect},
    {"Sound/forest.wav", Forest},
    {"Sound/Boss.wav", BossMusic},
    {"Sound/うなり声.wav", OtherEffect},
    {"Sound/太いものをブン回す.wav", OtherEffect},
    {"Sound/ボスッ.wav", OtherEffect},
    {"Sound/hyupa.wav", Farewell},
};
constexpr int GameSoundCount = sizeof GameSounds / sizeof GameSounds[0];

int AnswerYes(HWND, LPCSTR, LPCSTR, UINT) { return IDYES; }

// Runs one frame with exactly these keys down.
void Frame(std::initializer_list<int> keys = {}) {
    BYTE state[256] = {};
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
    ASSERT_EQ(UpdateFrame(nullptr), 1);
}

void ExpectFilled(std::initializer_list<int> slots) {
    for (int slot : slots) EXPECT_NE(SoundSegments[slot], nullptr) << "slot " << slot;
}

void ExpectEmpty(int first, int last) {
    for (int slot = first; slot <= last; ++slot) EXPECT_EQ(SoundSegments[slot], nullptr) << "slot " << slot;
}

class SoundSetTest : public SoundTest {
protected:
    void SetUp() override {
        for (const SoundFile& file : GameSounds) WriteConstantWave(file.path, ShortFrames, file.level);
        SoundTest::SetUp();
        Graphics.d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(Graphics.d3d, nullptr);
        D3DPRESENT_PARAMETERS params;
        std::memset(&params, 0, sizeof params);
        params.BackBufferWidth = 640;
        params.BackBufferHeight = 480;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        ASSERT_EQ(Graphics.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                             D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &Graphics.device),
                  D3D_OK);
        ASSERT_EQ(D3DXCreateSprite(Graphics.device, &Graphics.sprite), D3D_OK);
        SetMessageBoxHook(AnswerYes);
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        if (Graphics.sprite) Graphics.sprite->Release();
        if (Graphics.device) Graphics.device->Release();
        if (Graphics.d3d) Graphics.d3d->Release();
        Graphics = DirectGraphics{};
        SoundTest::TearDown();
    }
};
}  // namespace

TEST_F(SoundSetTest, EachSceneLoadsItsSetOnItsFirstFrameAndTheLoopsFollowTheScenes) {
    // The program's first frame: the title set, rain and sad song both
    // looping from slot 0.
    ASSERT_EQ(Scene, SceneTitle);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);
    ExpectFilled({0, 1, 2, 3});
    ExpectEmpty(4, 99);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + SadSong));

    // Enter brings the menu at once; a cursor move plays slot 1 twice
    // over the loops.
    Frame({VK_RETURN});
    Frame();
    long from = MixWatch::Count();
    Frame({VK_DOWN});
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * ShortFrames + 4096));
    long cursorFrames = 0;
    for (long i = from; i < MixWatch::Count(); ++i)
        if (MixWatch::At(i).high == Rain + SadSong + Cursor) cursorFrames += MixWatch::At(i).frames;
    EXPECT_GT(cursorFrames, 0);
    Frame({VK_UP});
    Frame({VK_RETURN});
    for (int frame = 0; frame < 1000 && Scene == SceneTitle; ++frame) Frame();
    ASSERT_EQ(Scene, SceneField);

    // The first field frame stops the title's loops and starts the forest.
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    ExpectFilled({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ExpectEmpty(13, 99);
    EXPECT_EQ(SoundSegments[1], SoundSegments[5]);
    EXPECT_TRUE(MixWatch::SteadyAt(Forest));

    // A death: the continue screen loads slot 17 and the forest plays on
    // under it and back into the field.
    long fieldFrom = MixWatch::Count();
    Scene = SceneContinue;
    Frame();
    ExpectFilled({17});
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    for (int frame = 0; frame < 70; ++frame) Frame();
    Frame({VK_RETURN});
    for (int frame = 0; frame < 100 && Scene == SceneContinue; ++frame) Frame();
    ASSERT_EQ(Scene, SceneField);
    Frame();
    // Once the choice's sound has played out.
    ASSERT_TRUE(MixWatch::WaitFrames(MixWatch::Count(), 2 * ShortFrames));
    EXPECT_TRUE(MixWatch::SteadyAt(Forest));
    for (long i = fieldFrom; i < MixWatch::Count(); ++i) ASSERT_GE(MixWatch::At(i).low, Forest) << "buffer " << i;

    // Past the gate: the boss set replaces the forest with the boss music.
    ThePlayer.x = 6001.0f;
    Frame();
    ASSERT_EQ(Scene, SceneBoss);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetBoss);
    ExpectFilled({13, 14, 15, 16});
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
