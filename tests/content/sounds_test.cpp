// Every sound file of the three scene sets and the continue screen: a
// well-formed, audible 16-bit PCM WAV that the sound module loads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/data_tree.h"
#include "support/scratch.h"
#include "sound/sound.h"

namespace {

const struct {
    const char* path;
    bool loop;
} Files[] = {
    {"Sound/素振り1.wav", false},     {"Sound/キラキラリン.wav", false}, {"Sound/syaki-n.wav", false},
    {"Sound/雨.wav", true},           {"Sound/sadsong-1.wav", true},     {"Sound/素振り2.wav", false},
    {"Sound/bom10.wav", false},       {"Sound/open.wav", false},         {"Sound/効果（攻撃）.wav", false},
    {"Sound/step01.wav", false},      {"Sound/step02.wav", false},       {"Sound/足踏み.wav", false},
    {"Sound/forest.wav", true},       {"Sound/Boss.wav", true},          {"Sound/うなり声.wav", false},
    {"Sound/太いものをブン回す.wav", false}, {"Sound/ボスッ.wav", false}, {"Sound/hyupa.wav", false},
};

struct Pcm {
    std::string error;  // empty when the file is a sound we can play
    int rate = 0, channels = 0;
    std::vector<int16_t> samples;  // interleaved
};

Pcm ReadWav(const char* path) {
    Pcm pcm;
    const std::vector<unsigned char> b = ReadBytes(path);
    auto le = [&b](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
        return v;
    };
    auto id = [&b](size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); };
    if (b.size() < 12 || id(0) != "RIFF" || id(8) != "WAVE") return pcm.error = "not RIFF WAVE", pcm;
    if (le(4, 4) + 8 != b.size()) return pcm.error = "RIFF size does not match the file", pcm;
    for (size_t at = 12; at + 8 <= b.size();) {
        const size_t size = le(at + 4, 4);
        if (at + 8 + size > b.size()) return pcm.error = "chunk " + id(at) + " runs past the end", pcm;
        if (id(at) == "fmt ") {
            pcm.channels = (int)le(at + 10, 2);
            pcm.rate = (int)le(at + 12, 4);
            if (size < 16 || le(at + 8, 2) != 1 || le(at + 22, 2) != 16) return pcm.error = "not 16-bit PCM", pcm;
            if (le(at + 20, 2) != 2u * pcm.channels || le(at + 16, 4) != 2u * pcm.channels * pcm.rate)
                return pcm.error = "inconsistent block align or byte rate", pcm;
        } else if (id(at) == "data") {
            if (pcm.channels == 0) return pcm.error = "data before fmt", pcm;
            if (size % (2 * pcm.channels)) return pcm.error = "partial sample frame", pcm;
            for (size_t i = 0; i < size; i += 2) pcm.samples.push_back((int16_t)le(at + 8 + i, 2));
        }
        at += 8 + size + (size & 1);
    }
    if (pcm.samples.empty()) pcm.error = "no format or no samples";
    return pcm;
}

TEST(Sounds, EveryFileIsAudible16BitPcmThatTheSoundModuleLoads) {
    InDataDirectory dir;
    ASSERT_TRUE(dir.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
    ASSERT_EQ(InitSound(nullptr), 1);
    int slot = 0;
    for (const auto& file : Files) {
        SCOPED_TRACE(file.path);
        EXPECT_EQ(LoadSound(file.path, slot++, 0), 1);
        const Pcm pcm = ReadWav(file.path);
        EXPECT_EQ(pcm.error, "");
        if (!pcm.error.empty()) continue;
        EXPECT_TRUE(pcm.channels == 1 || pcm.channels == 2);
        EXPECT_GE(pcm.rate, 11025);
        int peak = 0;
        for (int16_t s : pcm.samples) peak = std::max(peak, std::abs((int)s));
        EXPECT_GT(peak, 3000) << "too quiet to hear";
        EXPECT_LT(peak, 32767) << "clipped";
        const double seconds = (double)pcm.samples.size() / pcm.channels / pcm.rate;
        if (file.loop) {
            EXPECT_GE(seconds, 3.0);
        } else {
            EXPECT_LE(seconds, 2.0) << "an effect should be short";
        }
    }
    ReleaseSound();
}

}  // namespace
