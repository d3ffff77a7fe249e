#include "tools/replay/replay.h"

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <zlib.h>

#include "game/actors/player.h"
#include "game/draw/draw.h"
#include "platform/crt.h"
#include "platform/testhooks.h"
#include "tools/replay/headless_game.h"

const char* const ReplayNames[] = {"title", "field", "boss", "quit"};
const int ReplayCount = sizeof ReplayNames / sizeof ReplayNames[0];

namespace {

struct KeyName {
    int key;
    const char* name;
};
constexpr KeyName KeyNames[] = {{VK_LEFT, "Left"}, {VK_UP, "Up"},   {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
                                {'Z', "Z"},        {'X', "X"},      {'C', "C"},          {VK_RETURN, "Enter"},
                                {VK_ESCAPE, "Esc"}};

// One field of the records, read as it lies in memory.
struct StateField {
    std::string key;   // in the digest
    std::string name;  // in messages
    const void* at;
    bool isFloat;
};

struct MemberField {
    const char* name;
    size_t offset;
    bool isFloat;
};

#define INT_FIELD(type, member) {#member, offsetof(type, member), false}
#define FLOAT_FIELD(type, member) {#member, offsetof(type, member), true}
const MemberField PlayerFields[] = {
    INT_FIELD(Player, HP),          FLOAT_FIELD(Player, x),          FLOAT_FIELD(Player, y),
    FLOAT_FIELD(Player, vx),        FLOAT_FIELD(Player, vy),         FLOAT_FIELD(Player, animation),
    INT_FIELD(Player, facing),      FLOAT_FIELD(Player, attackStartX), FLOAT_FIELD(Player, attackStartY),
    INT_FIELD(Player, attackState), INT_FIELD(Player, attackCount),  INT_FIELD(Player, guardState),
    INT_FIELD(Player, airborne),    INT_FIELD(Player, controllable), INT_FIELD(Player, Cnt)};
const MemberField EnemyFields[] = {
    FLOAT_FIELD(Enemy, x),       FLOAT_FIELD(Enemy, y),        FLOAT_FIELD(Enemy, xF),
    FLOAT_FIELD(Enemy, yF),      FLOAT_FIELD(Enemy, homeX),    FLOAT_FIELD(Enemy, homeY),
    FLOAT_FIELD(Enemy, animation), FLOAT_FIELD(Enemy, spin),   INT_FIELD(Enemy, facing),
    INT_FIELD(Enemy, airborne),  INT_FIELD(Enemy, attack),     INT_FIELD(Enemy, attackCounter),
    INT_FIELD(Enemy, kind),      INT_FIELD(Enemy, width),      INT_FIELD(Enemy, height),
    INT_FIELD(Enemy, bossCount), INT_FIELD(Enemy, state)};
const MemberField ShotFields[] = {
    FLOAT_FIELD(Shot, x),   FLOAT_FIELD(Shot, y),    FLOAT_FIELD(Shot, vx),    FLOAT_FIELD(Shot, vy),
    FLOAT_FIELD(Shot, spin), INT_FIELD(Shot, type),  INT_FIELD(Shot, width),   INT_FIELD(Shot, height),
    INT_FIELD(Shot, life),  INT_FIELD(Shot, active)};
#undef INT_FIELD
#undef FLOAT_FIELD

void AddRecord(std::vector<StateField>& fields, const std::string& key, const std::string& name, const void* record,
               const MemberField* members, int count) {
    for (int i = 0; i < count; ++i)
        fields.push_back({key + "." + members[i].name, name + "." + members[i].name,
                          (const char*)record + members[i].offset, members[i].isFloat});
}

const std::vector<StateField>& StateFields() {
    static const std::vector<StateField> fields = [] {
        std::vector<StateField> f = {
            {"Scene", "Scene", &Scene, false},
            {"BossHp", "BossHp", &BossHp, false},
            {"Sounds", "LoadedSoundSet", &LoadedSoundSet, false},
            {"T.cursor", "TitleCursor", &TitleCursor, false},
            {"T.choice", "TitleChoice", &TitleChoice, false},
            {"T.alpha", "TitleAlpha", &TitleAlpha, false},
            {"T.logoX", "LogoX", &LogoX, true},
            {"T.logoY", "LogoY", &LogoY, true},
            {"T.enter", "EnterHeld", &EnterHeld, false},
            {"C.cursor", "ContinueCursor", &ContinueCursor, false},
            {"C.alpha", "ContinueAlpha", &ContinueAlpha, false},
            {"C.delay", "ContinueDelay", &ContinueDelay, false},
        };
        AddRecord(f, "P", "ThePlayer", &ThePlayer, PlayerFields, sizeof PlayerFields / sizeof PlayerFields[0]);
        AddRecord(f, "B", "Boss", &Boss, EnemyFields, sizeof EnemyFields / sizeof EnemyFields[0]);
        for (int i = 0; i < EnemyCount; ++i)
            AddRecord(f, "E" + std::to_string(i), "Enemies[" + std::to_string(i) + "]", &Enemies[i], EnemyFields,
                      sizeof EnemyFields / sizeof EnemyFields[0]);
        for (int i = 0; i < ShotCount; ++i)
            AddRecord(f, "S" + std::to_string(i), "Shots[" + std::to_string(i) + "]", &Shots[i], ShotFields,
                      sizeof ShotFields / sizeof ShotFields[0]);
        return f;
    }();
    return fields;
}

// Shortest text that reads back to the same bits.
std::string FieldText(const StateField& field) {
    char text[32];
    std::to_chars_result end;
    if (field.isFloat)
        end = std::to_chars(text, text + sizeof text, *(const float*)field.at);
    else
        end = std::to_chars(text, text + sizeof text, *(const int*)field.at);
    return std::string(text, end.ptr);
}

// FNV-1a over the pixels; the unused top byte of each is left out.
std::string PictureHash() {
    const uint32_t* pixels = Graphics.device->BackBuffer();
    uint64_t hash = 1469598103934665603ull;
    int count = Graphics.device->BackBufferWidth() * Graphics.device->BackBufferHeight();
    for (int i = 0; i < count; ++i) {
        hash ^= pixels[i] & 0xFFFFFFu;
        hash *= 1099511628211ull;
    }
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", (unsigned long long)hash);
    return text;
}

// Where the current frame's events go while it runs.
std::vector<std::string>* FrameEvents = nullptr;
const std::vector<bool>* BoxAnswers = nullptr;
size_t NextAnswer = 0;

// Every slot that holds the segment: the loader hands the same file's
// sound to every slot that loads it, so "1/5" is one sound in two slots.
std::string SlotsOf(const IDirectMusicSegment8* segment) {
    std::string slots;
    for (int slot = 0; slot < SoundSlotCount; ++slot) {
        if (SoundSegments[slot] != segment) continue;
        if (!slots.empty()) slots += "/";
        slots += std::to_string(slot);
    }
    return slots.empty() ? "none" : slots;
}

int PathNumber(const IDirectMusicAudioPath8* path) {
    if (!path) return 0;
    if (path == AudioPath1) return 1;
    if (path == AudioPath2) return 2;
    return -1;
}

void HearSound(const SoundRequest& request) {
    if (!FrameEvents) return;
    if (!request.play) {
        FrameEvents->push_back(request.segment ? "stop(" + SlotsOf(request.segment) + ")" : "stopall");
        return;
    }
    int kind = (request.flags & DMUS_SEGF_SECONDARY) ? 1 : 0;
    int repeats = request.repeats == DMUS_SEG_REPEAT_INFINITE ? 0 : (int)request.repeats;
    FrameEvents->push_back("play(" + SlotsOf(request.segment) + "," + std::to_string(kind) + "," +
                           std::to_string(repeats) + "," + std::to_string(PathNumber(request.path)) + ")");
}

int AnswerBox(HWND owner, LPCSTR, LPCSTR, UINT type) {
    bool yes = NextAnswer < BoxAnswers->size() && (*BoxAnswers)[NextAnswer];
    if (FrameEvents) {
        char text[48];
        std::snprintf(text, sizeof text, "box(%s,%x%s)", yes ? "yes" : "no", type, owner ? ",owned" : "");
        FrameEvents->push_back(text);
    }
    ++NextAnswer;
    return yes ? IDYES : IDNO;
}

// What a fresh process has before start-up, beyond ResetGameToProgramStart.
void ResetLatches() {
    ResetGameToProgramStart();
    EnterHeld = 0;
    ZFlag = 0;
    XFlag = 0;
    GuardKeyHeld = 0;
    CameraX = 0;
    CameraY = 0;
}

bool ParseKeys(const std::string& text, std::vector<int>* keys) {
    keys->clear();
    if (text == "-") return true;
    std::stringstream parts(text);
    std::string name;
    while (std::getline(parts, name, '+')) {
        bool known = false;
        for (const KeyName& k : KeyNames)
            if (name == k.name) {
                keys->push_back(k.key);
                known = true;
            }
        if (!known) return false;
    }
    return !keys->empty();
}

std::string KeysText(const std::vector<int>& keys) {
    std::string text;
    for (const KeyName& k : KeyNames)
        for (int key : keys)
            if (key == k.key) text += (text.empty() ? "" : "+") + std::string(k.name);
    return text.empty() ? "-" : text;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : " ") + item;
    return text.empty() ? "(none)" : text;
}

}  // namespace

int StateFieldCount() { return (int)StateFields().size(); }
const std::string& StateFieldKey(int field) { return StateFields()[field].key; }
std::string StateFieldName(int field) { return StateFields()[field].name; }

bool ReadKeyStream(const std::string& path, KeyStream* stream, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    *stream = KeyStream{};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::stringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        bool ok = true;
        if (first == "seed") {
            ok = bool(words >> stream->seed);
        } else if (first == "answers") {
            for (std::string answer; words >> answer;) {
                ok = ok && (answer == "yes" || answer == "no");
                stream->answers.push_back(answer == "yes");
            }
        } else {
            int count = std::atoi(first.c_str());
            std::string keys = "-";
            words >> keys;
            std::vector<int> down;
            ok = count > 0 && ParseKeys(keys, &down);
            if (ok) stream->frames.insert(stream->frames.end(), count, down);
        }
        if (!ok) {
            *error = path + ":" + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

bool WriteKeyStream(const std::string& path, const KeyStream& stream) {
    std::ofstream out(path);
    out << "seed " << stream.seed << "\n";
    if (!stream.answers.empty()) {
        out << "answers";
        for (bool yes : stream.answers) out << (yes ? " yes" : " no");
        out << "\n";
    }
    for (size_t i = 0; i < stream.frames.size();) {
        size_t run = 1;
        while (i + run < stream.frames.size() && stream.frames[i + run] == stream.frames[i]) ++run;
        out << run << " " << KeysText(stream.frames[i]) << "\n";
        i += run;
    }
    return bool(out);
}

bool PlayKeys(unsigned seed, const std::vector<bool>& answers, const KeySource& keysFor,
              std::vector<FrameRecord>* frames, std::string* error) {
    frames->clear();
    ResetLatches();
    HWND window = StartHeadlessGame();
    if (!window) {
        *error = "no device could be made";
        return false;
    }
    // After LoadResources, which seeds from the clock.
    crt::srand(seed);
    BoxAnswers = &answers;
    NextAnswer = 0;
    SetMessageBoxHook(AnswerBox);
    SetSoundRequestHook(HearSound);
    std::vector<int> down;
    for (int i = 0; keysFor(i, &down); ++i) {
        FrameRecord frame;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        BYTE keys[256] = {};
        for (int key : down) keys[key & 0xFF] = 0x80;
        FrameEvents = &frame.events;
        SetKeyboardState(keys);
        int running = UpdateFrame(window);
        FrameEvents = nullptr;
        if (!running) frame.events.push_back("end");
        for (const StateField& field : StateFields()) frame.values.push_back(FieldText(field));
        if (i % PictureEveryFrames == 0 || !running) frame.picture = PictureHash();
        frames->push_back(std::move(frame));
        if (!running) break;
    }
    SetSoundRequestHook(nullptr);
    SetMessageBoxHook(nullptr);
    StopHeadlessGame(window);
    return true;
}

bool PlayKeyStream(const KeyStream& stream, std::vector<FrameRecord>* frames, std::string* error) {
    return PlayKeys(
        stream.seed, stream.answers,
        [&stream](int frame, std::vector<int>* keys) {
            if (frame >= (int)stream.frames.size()) return false;
            *keys = stream.frames[frame];
            return true;
        },
        frames, error);
}

bool WriteDigestFile(const std::string& path, const std::vector<FrameRecord>& frames) {
    std::string text = "# one line a frame: changed fields, sounds and boxes, picture hash every " +
                       std::to_string(PictureEveryFrames) + " frames\n";
    const std::vector<StateField>& fields = StateFields();
    std::vector<std::string> last(fields.size(), "0");
    for (const FrameRecord& frame : frames) {
        std::string line;
        for (size_t f = 0; f < fields.size(); ++f) {
            if (frame.values[f] == last[f]) continue;
            line += (line.empty() ? "" : " ") + fields[f].key + "=" + frame.values[f];
            last[f] = frame.values[f];
        }
        for (const std::string& event : frame.events) line += (line.empty() ? "" : " ") + event;
        if (!frame.picture.empty()) line += (line.empty() ? "" : " ") + ("pic=" + frame.picture);
        text += (line.empty() ? "-" : line) + "\n";
    }
    gzFile file = gzopen(path.c_str(), "wb9");
    if (!file) return false;
    bool written = gzwrite(file, text.data(), (unsigned)text.size()) == (int)text.size();
    return gzclose(file) == Z_OK && written;
}

bool ReadDigestFile(const std::string& path, std::vector<FrameRecord>* frames, std::string* error) {
    frames->clear();
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot open " + path;
        return false;
    }
    std::string text;
    char chunk[1 << 16];
    for (int got; (got = gzread(file, chunk, sizeof chunk)) > 0;) text.append(chunk, got);
    gzclose(file);
    const std::vector<StateField>& fields = StateFields();
    std::vector<std::string> values(fields.size(), "0");
    std::stringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        FrameRecord frame;
        std::stringstream tokens(line);
        for (std::string token; tokens >> token;) {
            if (token == "-") continue;
            size_t equals = token.find('=');
            if (equals == std::string::npos) {
                frame.events.push_back(token);
                continue;
            }
            std::string key = token.substr(0, equals), value = token.substr(equals + 1);
            if (key == "pic") {
                frame.picture = value;
                continue;
            }
            size_t f = 0;
            while (f < fields.size() && fields[f].key != key) ++f;
            if (f == fields.size()) {
                *error = "digest line " + std::to_string(number) + ": unknown field " + key;
                return false;
            }
            values[f] = value;
        }
        frame.values = values;
        frames->push_back(std::move(frame));
    }
    return true;
}

std::string FirstDifference(const std::vector<FrameRecord>& expected, const std::vector<FrameRecord>& actual,
                            int* frame) {
    const std::vector<StateField>& fields = StateFields();
    for (size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        *frame = (int)i;
        const FrameRecord& want = expected[i];
        const FrameRecord& got = actual[i];
        std::string at = "frame " + std::to_string(i) + ": ";
        for (size_t f = 0; f < fields.size(); ++f)
            if (want.values[f] != got.values[f])
                return at + fields[f].name + " is " + got.values[f] + ", expected " + want.values[f];
        if (want.events != got.events)
            return at + "sounds and boxes are \"" + Joined(got.events) + "\", expected \"" + Joined(want.events) + "\"";
        if (want.picture != got.picture)
            return at + "the picture hashes to " + got.picture + ", expected " + want.picture;
    }
    *frame = (int)std::min(expected.size(), actual.size());
    if (expected.size() != actual.size())
        return "the run lasted " + std::to_string(actual.size()) + " frames, expected " +
               std::to_string(expected.size());
    return "";
}

std::string DescribeFrame(const FrameRecord& frame) {
    const std::vector<StateField>& fields = StateFields();
    std::string text;
    for (size_t f = 0; f < fields.size();) {
        // A record of only zeros (an empty shot, an unplaced enemy) is left out.
        std::string record = fields[f].key.substr(0, fields[f].key.find('.'));
        size_t end = f;
        bool allZero = true;
        while (end < fields.size() && fields[end].key.substr(0, fields[end].key.find('.')) == record) {
            allZero = allZero && frame.values[end] == "0";
            ++end;
        }
        if (!(allZero && (record[0] == 'E' || record[0] == 'S')))
            for (; f < end; ++f) text += fields[f].name + " " + frame.values[f] + "\n";
        f = end;
    }
    text += "events " + Joined(frame.events) + "\n";
    if (!frame.picture.empty()) text += "picture " + frame.picture + "\n";
    return text;
}
