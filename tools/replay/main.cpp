// The replay tool, run by hand; no test writes or records with it:
//   kestoria_replay write          plays every key stream, writes its expected digest
//   kestoria_replay show NAME [F]  both runs' full records at frame F (else at the first
//                                  difference), and the first difference
//   kestoria_replay record [NAME]  records the key streams anew with the scripted player
// It runs in the built data tree (KESTORIA_DATA_DIR, else the build directory).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "game/frame.h"
#include "game/records.h"
#include "game/stage/stage.h"
#include "game/title.h"
#include "bot.h"
#include "tools/replay/replay.h"

namespace {

std::string StreamPath(const std::string& name) { return std::string(KESTORIA_REPLAY_DIR) + "/" + name + ".keys"; }
std::string DigestPath(const std::string& name) {
    return std::string(KESTORIA_REPLAY_DIR) + "/" + name + ".digest.gz";
}

bool Play(const std::string& name, std::vector<FrameRecord>* frames) {
    KeyStream stream;
    std::string error;
    if (!ReadKeyStream(StreamPath(name), &stream, &error) || !PlayKeyStream(stream, frames, &error)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    return true;
}

int WriteAll() {
    for (int i = 0; i < ReplayCount; ++i) {
        std::vector<FrameRecord> frames;
        if (!Play(ReplayNames[i], &frames)) return 1;
        if (!WriteDigestFile(DigestPath(ReplayNames[i]), frames)) {
            std::fprintf(stderr, "cannot write %s\n", DigestPath(ReplayNames[i]).c_str());
            return 1;
        }
        std::printf("%s: %zu frames\n", ReplayNames[i], frames.size());
    }
    return 0;
}

// A frame number as written: decimal digits only, within int.
bool ReadFrameNumber(const char* text, int* frame) {
    if (!*text) return false;
    long value = 0;
    for (const char* digit = text; *digit; ++digit) {
        if (*digit < '0' || *digit > '9') return false;
        value = value * 10 + (*digit - '0');
        if (value > INT_MAX) return false;
    }
    *frame = (int)value;
    return true;
}

int Show(const std::string& name, int at) {
    std::vector<FrameRecord> expected, actual;
    std::string error;
    if (!ReadDigestFile(DigestPath(name), &expected, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!Play(name, &actual)) return 1;
    int first = 0;
    std::string difference = FirstDifference(expected, actual, &first);
    std::printf("first difference: %s\n", difference.empty() ? "none" : difference.c_str());
    if (at >= (int)expected.size() && at >= (int)actual.size()) {
        std::fprintf(stderr, "frame %d is past the end: %s has %zu frames expected and %zu in this build\n", at,
                     name.c_str(), expected.size(), actual.size());
        return 1;
    }
    if (at < 0) at = first;
    if (at < (int)expected.size()) std::printf("--- expected, frame %d\n%s", at, DescribeFrame(expected[at]).c_str());
    if (at < (int)actual.size()) std::printf("--- this build, frame %d\n%s", at, DescribeFrame(actual[at]).c_str());
    return difference.empty() ? 0 : 2;
}

// Recording: each stream is the scripted player's keys, with a plan of its
// own on top: which keys to press instead, and when the stream ends.
struct Plan {
    unsigned seed;
    std::vector<bool> answers;
    // The keys for frame n, given the scripted player's choice; false ends the stream.
    std::function<bool(int frame, std::vector<int>& keys)> step;
};

constexpr int FrameLimit = 12000;

std::vector<int> Down(const BotKeys& keys) {
    std::vector<int> down;
    for (int key = 0; key < 256; ++key)
        if (keys.state[key] & 0x80) down.push_back(key);
    return down;
}

// Nothing solid below the stage a step ahead of the player.
bool PitAhead() {
    for (int y = (int)ThePlayer.y; y < StageHeightPx; ++y)
        if (SampleMapHit((int)ThePlayer.x + 30, y) == 1) return false;
    return true;
}

// Counts frames in the current phase of a plan.
struct Phase {
    int number = 0;
    int since = 0;
    void Next() {
        ++number;
        since = 0;
    }
};

Plan TitlePlan() {
    auto phase = std::make_shared<Phase>();
    // The slide in full, the cursor both ways, a held Down, then a start.
    static const std::vector<std::pair<int, std::vector<int>>> script = {
        {90, {}}, {1, {VK_DOWN}}, {8, {}}, {1, {VK_UP}}, {8, {}}, {3, {VK_DOWN}}, {8, {}},
        {1, {VK_UP}}, {10, {}}, {1, {VK_RETURN}}};
    return {7, {}, [phase](int, std::vector<int>& keys) {
                Phase& p = *phase;
                if (p.number < (int)script.size()) {
                    keys = script[p.number].second;
                    if (++p.since == script[p.number].first) p.Next();
                    return true;
                }
                // The fade to the field, and a short walk there.
                if (Scene == SceneField) ++p.since;
                return p.since < 80;
            }};
}

Plan FieldPlan() {
    auto phase = std::make_shared<Phase>();
    return {3, {}, [phase](int, std::vector<int>& keys) {
                Phase& p = *phase;
                ++p.since;
                switch (p.number) {
                case 0:  // play on to the first enemies, then walk on blindly
                    if (ThePlayer.x > 1100) keys = {VK_RIGHT};
                    if (Scene == SceneContinue) p.Next();
                    return true;
                case 2:  // play on, but walk into the next pit
                    if (ThePlayer.airborne != 0 || PitAhead()) keys = {VK_RIGHT};
                    if (Scene == SceneContinue) p.Next();
                    return true;
                case 1:  // continue
                    if (Scene == SceneField) p.Next();
                    return true;
                case 3:  // give up this time
                    keys.clear();
                    if (ContinueAlpha == FullStrength && ContinueDelay == 0) {
                        if (ContinueCursor == 0) keys = {VK_RIGHT};
                        else if (p.since % 10 == 0) keys = {VK_RETURN};
                    }
                    if (Scene == SceneTitle) p.Next();
                    return true;
                default:
                    keys.clear();
                    return p.since < 40;
                }
            }};
}

Plan BossPlan() {
    auto phase = std::make_shared<Phase>();
    return {11, {false}, [phase](int, std::vector<int>& keys) {
                Phase& p = *phase;
                if (Scene == SceneBoss && ++p.since == 120) keys.push_back(VK_ESCAPE);  // and stay
                if (BossHp <= 0 && Scene == SceneTitle) p.number = 1;
                return p.number == 0 || ++p.since < 150;
            }};
}

Plan QuitPlan() {
    auto phase = std::make_shared<Phase>();
    return {5, {false, true}, [phase](int, std::vector<int>& keys) {
                Phase& p = *phase;
                ++p.since;
                switch (p.number) {
                case 0:  // skip the slide, start
                    keys.clear();
                    if (p.since == 20 || p.since == 26) keys = {VK_RETURN};
                    if (Scene == SceneField) p.Next();
                    return true;
                case 1:  // a thrust and an overhead guard; Esc answered No, then Yes: the title again
                    if (p.since >= 40 && p.since < 120) keys.clear();  // the combo runs out
                    if (p.since >= 70 && p.since < 100) keys = {'C'};
                    if (p.since == 76) keys.push_back('X');
                    if (p.since >= 102 && p.since < 116) keys = {VK_UP, 'C'};
                    if (p.since == 130 || p.since == 180) keys.push_back(VK_ESCAPE);
                    if (Scene == SceneTitle) p.Next();
                    return true;
                default:  // the quit entry, faded out to the end
                    keys.clear();
                    if (p.since == 100 || p.since == 120) keys = {VK_RETURN};
                    if (p.since == 110) keys = {VK_DOWN};
                    return true;
                }
            }};
}

// Plays each plan with the scripted player, writes its keys, then checks
// that the keys alone play the same.
int Record(const std::string& only) {
    const Plan plans[] = {TitlePlan(), FieldPlan(), BossPlan(), QuitPlan()};
    for (int i = 0; i < ReplayCount; ++i) {
        if (!only.empty() && only != ReplayNames[i]) continue;
        KeyStream stream;
        stream.seed = plans[i].seed;
        stream.answers = plans[i].answers;
        Bot bot;
        auto keysFor = [&](int frame, std::vector<int>* keys) {
            if (frame >= FrameLimit) return false;
            *keys = Down(bot.Decide());
            if (!plans[i].step(frame, *keys)) return false;
            stream.frames.push_back(*keys);
            return true;
        };
        std::vector<FrameRecord> played, replayed;
        std::string error;
        if (!PlayKeys(stream.seed, stream.answers, keysFor, &played, &error) ||
            !PlayKeyStream(stream, &replayed, &error)) {
            std::fprintf(stderr, "%s: %s\n", ReplayNames[i], error.c_str());
            return 1;
        }
        int frame = 0;
        std::string difference = FirstDifference(played, replayed, &frame);
        if (!difference.empty()) {
            std::fprintf(stderr, "%s: the keys alone play otherwise: %s\n", ReplayNames[i], difference.c_str());
            return 1;
        }
        WriteKeyStream(StreamPath(ReplayNames[i]), stream);
        std::printf("%s: %zu frames recorded\n", ReplayNames[i], stream.frames.size());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const char* data = std::getenv("KESTORIA_DATA_DIR");
    if (chdir(data ? data : KESTORIA_DATA_DEFAULT) != 0) {
        std::perror("the data tree");
        return 1;
    }
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "write") return WriteAll();
    if (command == "record") return Record(argc > 2 ? argv[2] : "");
    if (command == "show" && argc > 2 && argc < 5) {
        int frame = -1;
        if (argc > 3 && !ReadFrameNumber(argv[3], &frame)) {
            std::fprintf(stderr, "\"%s\" is not a frame number (0 or more)\n", argv[3]);
            return 1;
        }
        return Show(argv[2], frame);
    }
    std::fprintf(stderr, "usage: kestoria_replay write | show NAME [FRAME] | record [NAME]\n");
    return 1;
}
