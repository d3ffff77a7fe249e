// Which sounds each scene loads into which slots, and the switch between sets.
#include "game/sounds.h"

#include "game/actors/boss.h"
#include "sound/sound.h"

int LoadedSoundSet;

namespace {

constexpr int EffectRepeats = 1;

// One step of loading a set; a set's steps run in table order.
struct SoundStep {
    int set;
    int action;  // LoadFile or StartLoop
    int slot;
    const char* file;
};

constexpr int LoadFile = 0;   // the file into the slot; what it held plays on
constexpr int StartLoop = 1;  // the slot's sound, looping until stopped

constexpr SoundStep Load(int set, int slot, const char* file) { return SoundStep{set, LoadFile, slot, file}; }
constexpr SoundStep Loop(int set, int slot) { return SoundStep{set, StartLoop, slot, nullptr}; }

constexpr SoundStep SoundSteps[] = {
    Load(SoundSetTitle, SlotCursor, "Sound/素振り1.wav"),
    Load(SoundSetTitle, SlotTitleChoice, "Sound/キラキラリン.wav"),
    Load(SoundSetTitle, SlotTitleSpare, "Sound/syaki-n.wav"),
    Load(SoundSetTitle, SlotTitleMusic, "Sound/雨.wav"),
    Loop(SoundSetTitle, SlotTitleMusic),
    Load(SoundSetTitle, SlotTitleMusic, "Sound/sadsong-1.wav"),  // the rain plays on under the song
    Loop(SoundSetTitle, SlotTitleMusic),
    Load(SoundSetField, SlotComboStep1, "Sound/素振り1.wav"),
    Load(SoundSetField, SlotComboStep2, "Sound/素振り2.wav"),
    Load(SoundSetField, SlotComboStep3, "Sound/bom10.wav"),
    Load(SoundSetField, SlotCanopy, "Sound/open.wav"),
    Load(SoundSetField, SlotStrikeLands, "Sound/効果（攻撃）.wav"),
    Load(SoundSetField, SlotFootstepA, "Sound/step01.wav"),
    Load(SoundSetField, SlotFootstepB, "Sound/step02.wav"),
    Load(SoundSetField, SlotJump, "Sound/足踏み.wav"),
    Load(SoundSetField, SlotForest, "Sound/forest.wav"),
    Loop(SoundSetField, SlotForest),
    Load(SoundSetBoss, SlotBossMusic, "Sound/Boss.wav"),
    Load(SoundSetBoss, SlotBossRoar, "Sound/うなり声.wav"),
    Load(SoundSetBoss, SlotBossSwing, "Sound/太いものをブン回す.wav"),
    Load(SoundSetBoss, SlotBossThud, "Sound/ボスッ.wav"),
    Loop(SoundSetBoss, SlotBossMusic),  // the music starts after all four loads
};

}  // namespace

void SwitchSoundSet(int set) {
    LoadedSoundSet = set;
    StopAllSounds();
    for (const SoundStep& step : SoundSteps) {
        if (step.set != set) continue;
        switch (step.action) {
            case LoadFile: LoadSound(step.file, step.slot, WaveFile); break;
            case StartLoop: PlaySoundSlot(step.slot, SecondarySound, LoopForever, DefaultPathNumber); break;
            default: break;
        }
    }
    // Every first boss frame meets a fresh boss.
    if (set == SoundSetBoss) ResetBoss();
}

void PlayEffect(int slot) {
    PlaySoundSlot(slot, SecondarySound, EffectRepeats, DefaultPathNumber);
}
