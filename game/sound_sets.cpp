// Which sounds each scene loads into which slots, and the switch between sets.
#include "game/actors/boss.h"
#include "game/frame.h"
#include "sound/sound.h"

namespace {

// One step of loading a set: a file into a slot, or (no file) starting the
// slot's loop. Steps run in table order.
struct SoundStep {
    int set;
    int slot;
    const char* file;  // null: start the slot looping
};

constexpr int EffectKind = 1;  // a secondary segment
constexpr int LoopForever = 0;
constexpr int DefaultPath = 0;

constexpr SoundStep SoundSteps[] = {
    {SoundSetTitle, 1, "Sound/素振り1.wav"},                 // title and continue cursor
    {SoundSetTitle, 2, "Sound/キラキラリン.wav"},           // title choice
    {SoundSetTitle, 3, "Sound/syaki-n.wav"},                 // never played
    {SoundSetTitle, 0, "Sound/雨.wav"},                      // rain
    {SoundSetTitle, 0, nullptr},                             // loops until stopped
    {SoundSetTitle, 0, "Sound/sadsong-1.wav"},               // the song over the rain, same slot
    {SoundSetTitle, 0, nullptr},                             // loops until stopped
    {SoundSetField, 5, "Sound/素振り1.wav"},                 // ground attack step 1
    {SoundSetField, 6, "Sound/素振り2.wav"},                 // step 2 and the aerial strike
    {SoundSetField, 7, "Sound/bom10.wav"},                   // step 3
    {SoundSetField, 8, "Sound/open.wav"},                    // canopy opens
    {SoundSetField, 9, "Sound/効果（攻撃）.wav"},            // a strike lands
    {SoundSetField, 10, "Sound/step01.wav"},                 // footstep
    {SoundSetField, 11, "Sound/step02.wav"},                 // footstep
    {SoundSetField, 12, "Sound/足踏み.wav"},                 // jump
    {SoundSetField, 4, "Sound/forest.wav"},                  // forest
    {SoundSetField, 4, nullptr},                             // loops until stopped
    {SoundSetBoss, 13, "Sound/Boss.wav"},                    // boss music
    {SoundSetBoss, 14, "Sound/うなり声.wav"},                // an attack begins
    {SoundSetBoss, 15, "Sound/太いものをブン回す.wav"},      // swing
    {SoundSetBoss, 16, "Sound/ボスッ.wav"},                  // thud
    {SoundSetBoss, 13, nullptr},                             // music starts after all four loads
};

}  // namespace

void SwitchSoundSet(int set) {
    LoadedSoundSet = set;
    StopAllSounds();
    for (const SoundStep& step : SoundSteps) {
        if (step.set != set) continue;
        if (step.file)
            LoadSound(step.file, step.slot, 0);
        else
            PlaySoundSlot(step.slot, EffectKind, LoopForever, DefaultPath);
    }
    // Every first boss frame meets a fresh boss.
    if (set == SoundSetBoss) ResetBoss();
}
