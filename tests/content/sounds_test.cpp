// Every sound file of the three scene sets and the continue screen loads.
#include <gtest/gtest.h>

#include "support/data_tree.h"
#include "sound/sound.h"

namespace {

const char* const Files[] = {
    "Sound/素振り1.wav",  "Sound/キラキラリン.wav", "Sound/syaki-n.wav",  "Sound/雨.wav",
    "Sound/sadsong-1.wav", "Sound/素振り2.wav",     "Sound/bom10.wav",    "Sound/open.wav",
    "Sound/効果（攻撃）.wav", "Sound/step01.wav",  "Sound/step02.wav",   "Sound/足踏み.wav",
    "Sound/forest.wav",   "Sound/Boss.wav",        "Sound/うなり声.wav", "Sound/太いものをブン回す.wav",
    "Sound/ボスッ.wav",   "Sound/hyupa.wav",
};

TEST(Sounds, EveryFileIsOneTheSoundModuleLoads) {
    InDataDirectory dir;
    ASSERT_TRUE(dir.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
    ASSERT_EQ(InitSound(nullptr), 1);
    int slot = 0;
    for (const char* path : Files) EXPECT_EQ(LoadSound(path, slot++, 0), 1) << path;
    ReleaseSound();
}

}  // namespace
