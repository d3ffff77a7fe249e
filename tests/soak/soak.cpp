// The soak: the game played for a long time by a random player through the
// shell's own main loop pass, on a driven clock so that no frame waits.
// Keys arrive as key messages on the window's queue, the return-to-title
// question is answered at random, and now and then the device is lost.
// Passes when every scene was played, nothing crashed (the sanitizer build
// aborts on any report) and memory stayed flat from the first tenth
// of the run (once every scene has loaded its sounds) to its end.
//   kestoria_soak FRAMES [SEED]   (run where the data tree is)
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/crt.h"
#include "platform/testhooks.h"
#include "tools/replay/headless_game.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SOAK_ASAN 1
#endif
#ifdef SOAK_ASAN
// The sanitizer's count of live heap bytes (quarantine not included).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Live heap may wander by a few buffers of the mixer; a leak of a sound
// set or a picture per scene change is far more.
constexpr long HeapGrowthLimitBytes = 1 << 20;
constexpr long RssGrowthLimitBytes = 8 << 20;
constexpr int LongestHoldFrames = 24;
constexpr int PassesPerFrameLimit = 1000;  // a frame must come within these

// The keys the game reads.
constexpr int PlayKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', VK_RETURN, VK_ESCAPE};
constexpr int PlayKeyCount = sizeof PlayKeys / sizeof PlayKeys[0];

// Chance of each key being held in a new hold, by scene.
constexpr double TitleOdds[PlayKeyCount] = {0, 0, 0.3, 0.15, 0, 0, 0, 0.5, 0};
constexpr double ActionOdds[PlayKeyCount] = {0.1, 0.8, 0.1, 0.05, 0.4, 0.35, 0.15, 0.03, 0.001};
constexpr double ContinueOdds[PlayKeyCount] = {0.5, 0.1, 0, 0, 0, 0, 0, 0.4, 0};
constexpr double YesOdds = 0.2;
constexpr double DeviceLossOdds = 0.0002;
constexpr int SceneCount = 4;

std::mt19937 Chance;
bool Chancy(double odds) { return std::uniform_real_distribution<double>(0.0, 1.0)(Chance) < odds; }

struct Tally {
    long frames[SceneCount];
    long entries[SceneCount];
    long questions, yes, quits, bossDefeats, deviceLosses;
} Counts;

bool EveryScenePlayed() {
    for (long entries : Counts.entries)
        if (entries == 0) return false;
    return true;
}

int AnswerAtRandom(HWND, LPCSTR, LPCSTR, UINT) {
    ++Counts.questions;
    if (!Chancy(YesOdds)) return IDNO;
    ++Counts.yes;
    return IDYES;
}

// The driven clock: time stands still inside a frame and a sleep jumps to
// its deadline, so the pass that asked for one has run a frame.
uint64_t ClockNs = 1000000000;
long Sleeps;
uint64_t DrivenNow() { return ClockNs; }
void DrivenSleepUntil(uint64_t deadline) {
    if (deadline > ClockNs) ClockNs = deadline;
    ++Sleeps;
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

#ifdef SOAK_ASAN
constexpr bool SanitizedHeap = true;
#else
constexpr bool SanitizedHeap = false;
#endif

long LiveHeapBytes() {
#ifdef SOAK_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long>(mallinfo2().uordblks);
#endif
}

// Presses and releases go on the queue as the window system would put them.
bool Held[PlayKeyCount];
void HoldKeys(HWND window, const bool* wanted) {
    for (int i = 0; i < PlayKeyCount; ++i) {
        if (wanted[i] == Held[i]) continue;
        PostTestMessage(window, wanted[i] ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(PlayKeys[i]), 1);
        Held[i] = wanted[i];
    }
}

void NewHold(bool* keys) {
    const double* odds = Scene == SceneTitle ? TitleOdds : Scene == SceneContinue ? ContinueOdds : ActionOdds;
    for (int i = 0; i < PlayKeyCount; ++i) keys[i] = Chancy(odds[i]);
}

// A device lost for this many more passes of the loop; then it can be reset.
int LostPasses;

// Passes of the main loop until one has run a frame. False when the loop
// would have ended (the quit choice has faded out).
bool PassUntilFrame(HWND window, MSG* msg) {
    long before = Sleeps;
    for (int pass = 0; pass < PassesPerFrameLimit; ++pass) {
        if (LostPasses > 0 && --LostPasses == 0) ForceDeviceLossState(DeviceLossState::NotReset);
        if (!MainLoopPass(window, msg)) return false;
        if (Sleeps != before) return true;
    }
    std::fprintf(stderr, "soak: no frame ran in %d passes of the main loop\n", PassesPerFrameLimit);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FRAMES [SEED]\n", argv[0]);
        return 2;
    }
    long frames = std::atol(argv[1]);
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    if (frames < 10) {
        std::fprintf(stderr, "soak: FRAMES must be at least 10\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (access("Texture/Map/MapHitData.txt", R_OK) != 0) {
        std::fprintf(stderr, "soak: run me where the data tree is (no Texture/Map/MapHitData.txt here)\n");
        return 2;
    }
    Chance.seed(seed);
    const ClockHooks clock = {DrivenNow, DrivenSleepUntil, nullptr};
    SetClockHooks(&clock);
    SetMessageBoxHook(AnswerAtRandom);
    HWND window = StartHeadlessGame();
    if (!window) {
        std::fprintf(stderr, "soak: the game did not start\n");
        return 1;
    }
    crt::srand(seed);

    MSG msg{};
    bool keys[PlayKeyCount] = {};
    int holdLeft = 0, lastScene = -1;
    long heapAtBaseline = 0, rssAtBaseline = 0, baselineFrame = 0;
    bool baselineTaken = false;
    for (long frame = 0; frame < frames; ++frame) {
        // The baseline waits until every scene has loaded its sounds once:
        // a first visit fills slots for good, a leak grows on every visit.
        if (!baselineTaken && frame >= frames / 10 && EveryScenePlayed()) {
            heapAtBaseline = LiveHeapBytes();
            rssAtBaseline = ResidentBytes();
            baselineFrame = frame;
            baselineTaken = true;
        }
        if (Scene != lastScene && Scene >= 0 && Scene < SceneCount) ++Counts.entries[Scene];
        lastScene = Scene;
        if (Scene >= 0 && Scene < SceneCount) ++Counts.frames[Scene];
        if (holdLeft-- <= 0) {
            NewHold(keys);
            holdLeft = std::uniform_int_distribution<int>(1, LongestHoldFrames)(Chance);
        }
        HoldKeys(window, keys);

        // A lost device: the loop restores it once it can be reset.
        if (LostPasses == 0 && Chancy(DeviceLossOdds)) {
            ForceDeviceLossState(DeviceLossState::Lost);
            LostPasses = std::uniform_int_distribution<int>(2, 30)(Chance);
            ++Counts.deviceLosses;
        }

        bool bossWasUp = Scene == SceneBoss && BossHp > 0;
        if (!PassUntilFrame(window, &msg)) {
            // The player quit; the next one starts at a fresh title.
            ++Counts.quits;
            ResetTitle();
        }
        if (bossWasUp && BossHp <= 0) ++Counts.bossDefeats;
    }
    long heapAtEnd = LiveHeapBytes();
    long rssAtEnd = ResidentBytes();
    StopHeadlessGame(window);
    SetMessageBoxHook(nullptr);
    SetClockHooks(nullptr);

    static const char* const names[SceneCount] = {"title", "field", "boss", "continue"};
    std::printf("soak: %ld frames, seed %u\n", frames, seed);
    for (int s = 0; s < SceneCount; ++s)
        std::printf("  %-8s %9ld frames in %6ld visits\n", names[s], Counts.frames[s], Counts.entries[s]);
    std::printf("  questions %ld (yes %ld), quits %ld, boss defeats %ld, device losses %ld\n", Counts.questions,
                Counts.yes, Counts.quits, Counts.bossDefeats, Counts.deviceLosses);
    std::printf("  live heap %ld -> %ld bytes, resident %ld -> %ld KiB, from frame %ld to the end\n",
                heapAtBaseline, heapAtEnd, rssAtBaseline / 1024, rssAtEnd / 1024, baselineFrame);
    std::fflush(stdout);

    int failures = 0;
    for (int s = 0; s < SceneCount; ++s) {
        if (Counts.frames[s] == 0) {
            std::fprintf(stderr, "soak: FAIL: the %s scene was never played\n", names[s]);
            ++failures;
        }
    }
    if (!baselineTaken) {
        std::fprintf(stderr, "soak: FAIL: no frame after every scene was played to measure memory from\n");
        ++failures;
    } else if (frames - baselineFrame < frames / 2) {
        std::fprintf(stderr, "soak: FAIL: memory measured over only %ld frames\n", frames - baselineFrame);
        ++failures;
    }
    if (baselineTaken && heapAtEnd - heapAtBaseline > HeapGrowthLimitBytes) {
        std::fprintf(stderr, "soak: FAIL: the live heap grew by %ld bytes\n", heapAtEnd - heapAtBaseline);
        ++failures;
    }
    // The sanitizer keeps freed blocks in quarantine (up to 256 MB), so the
    // resident set grows there by design; its live heap count stands in.
    if (!SanitizedHeap && baselineTaken && rssAtEnd - rssAtBaseline > RssGrowthLimitBytes) {
        std::fprintf(stderr, "soak: FAIL: the resident set grew by %ld KiB\n", (rssAtEnd - rssAtBaseline) / 1024);
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
