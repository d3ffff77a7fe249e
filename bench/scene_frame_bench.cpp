// The cost of one UpdateFrame in each scene at its busiest, on the real data
// tree (run from the build directory) and SDL's dummy video driver: the
// title at rest, the field with all 30 enemies awake and 20 shots flying,
// the boss's second form firing, and the continue screen. Each iteration
// starts from the same saved game, so every timed frame is the same frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "game/actors/boss.h"
#include "platform/crt.h"
#include "tools/replay/headless_game.h"

namespace {

HWND Window;

struct SavedGame {
    Player player;
    Enemy enemies[EnemyCount];
    Enemy boss;
    Shot shots[ShotCount];
    int bossHp, scene, loadedSoundSet, continueAlpha, continueDelay;
};

SavedGame Save() {
    SavedGame g;
    g.player = ThePlayer;
    for (int i = 0; i < EnemyCount; ++i) g.enemies[i] = Enemies[i];
    g.boss = Boss;
    for (int i = 0; i < ShotCount; ++i) g.shots[i] = Shots[i];
    g.bossHp = BossHp;
    g.scene = Scene;
    g.loadedSoundSet = LoadedSoundSet;
    g.continueAlpha = ContinueAlpha;
    g.continueDelay = ContinueDelay;
    return g;
}

void Restore(const SavedGame& g) {
    ThePlayer = g.player;
    for (int i = 0; i < EnemyCount; ++i) Enemies[i] = g.enemies[i];
    Boss = g.boss;
    for (int i = 0; i < ShotCount; ++i) Shots[i] = g.shots[i];
    BossHp = g.bossHp;
    Scene = g.scene;
    LoadedSoundSet = g.loadedSoundSet;
    ContinueAlpha = g.continueAlpha;
    ContinueDelay = g.continueDelay;
}

void Frames(int count, std::initializer_list<int> keys = {}) {
    for (int i = 0; i < count; ++i) HeadlessFrame(Window, keys);
}

// From the program's start through the title into a new game's field,
// the player standing at the start.
void NewGame() {
    ResetGameToProgramStart();
    Frames(1, {VK_RETURN});  // the logo to rest
    Frames(1);
    Frames(1, {VK_RETURN});  // start
    Frames(90);              // the fade, then the player lands
}

// Twenty shots in flight across the view around (x, y).
void FillShots(float x, float y, int type) {
    for (int i = 0; i < ShotCount; ++i) {
        Shot& s = Shots[i];
        s = Shot{};
        s.x = x - 320.0f + 32.0f * i;
        s.y = y - 200.0f + 8.0f * i;
        s.vx = (i % 2) ? 4.0f : -4.0f;
        s.vy = 1.0f;
        s.type = type;
        s.width = 32;
        s.height = 32;
        s.life = 100;
        s.active = 1;
    }
}

void RunFrames(benchmark::State& state, const SavedGame& game) {
    for (auto _ : state) {
        state.PauseTiming();
        Restore(game);
        state.ResumeTiming();
        benchmark::DoNotOptimize(HeadlessFrame(Window, {}));
    }
}

void BM_TitleAtRest(benchmark::State& state) {
    ResetGameToProgramStart();
    Frames(1, {VK_RETURN});
    Frames(2);
    RunFrames(state, Save());
}

void BM_FieldAllEnemiesAwakeTwentyShots(benchmark::State& state) {
    NewGame();
    // Every enemy within waking range, spread over the view.
    for (int i = 0; i < EnemyCount; ++i) {
        Enemies[i].x = ThePlayer.x - 300.0f + 20.0f * i;
        Enemies[i].y = ThePlayer.y - 100.0f;
        Enemies[i].state = 1;
    }
    Frames(2);
    FillShots(ThePlayer.x, ThePlayer.y, 1);
    int awake = 0;
    for (const Enemy& e : Enemies) awake += e.state == 1;
    if (awake != EnemyCount) state.SkipWithError("not every enemy is awake");
    RunFrames(state, Save());
}

void BM_BossSecondFormWithShots(benchmark::State& state) {
    NewGame();
    ThePlayer.x = 6100.0f;
    ThePlayer.y = 100.0f;
    Frames(120);  // into the boss part; the player lands
    Boss.kind = BossSecondForm;
    Boss.state = BossFighting;
    BossHp = 100;
    FillShots(ThePlayer.x, ThePlayer.y, 2);
    if (Scene != SceneBoss) state.SkipWithError("not in the boss part");
    RunFrames(state, Save());
}

void BM_ContinueScreen(benchmark::State& state) {
    NewGame();
    ThePlayer.HP = 0;
    Frames(70);  // the death, then the picture at full strength
    if (Scene != SceneContinue) state.SkipWithError("not on the continue screen");
    RunFrames(state, Save());
}

BENCHMARK(BM_TitleAtRest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FieldAllEnemiesAwakeTwentyShots)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BossSecondFormWithShots)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContinueScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (access("Texture/Map/MapHitData.txt", R_OK) != 0) {
        std::fprintf(stderr, "run me from the build directory, where the data tree is\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    Window = StartHeadlessGame();
    if (!Window) {
        std::fprintf(stderr, "the game did not start\n");
        return 1;
    }
    crt::srand(1);
    benchmark::RunSpecifiedBenchmarks();
    StopHeadlessGame(Window);
    benchmark::Shutdown();
    return 0;
}
