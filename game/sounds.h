// The game's sounds: what each slot holds, the scenes' sound sets, and playing an effect.
#pragma once

// Sound slots, filled by the scenes' sets and by the continue screen.
constexpr int SlotTitleMusic = 0;   // the rain, then the song over it
constexpr int SlotCursor = 1;       // every cursor move, title and continue
constexpr int SlotTitleChoice = 2;  // the title's Enter on an entry
constexpr int SlotTitleSpare = 3;   // loaded with the title, never played
constexpr int SlotForest = 4;
constexpr int SlotComboStep1 = 5;
constexpr int SlotComboStep2 = 6;  // also the aerial strike
constexpr int SlotComboStep3 = 7;
constexpr int SlotCanopy = 8;       // glide, guard, every thrust reach frame
constexpr int SlotStrikeLands = 9;  // the player's strike meets an enemy or the boss
constexpr int SlotFootstepA = 10;
constexpr int SlotFootstepB = 11;
constexpr int SlotJump = 12;
constexpr int SlotBossMusic = 13;
constexpr int SlotBossRoar = 14;  // a boss attack begins
constexpr int SlotBossSwing = 15;
constexpr int SlotBossThud = 16;
constexpr int SlotContinueChoice = 17;  // loaded by the continue screen itself

// Sound sets, one per scene that has sounds.
constexpr int SoundSetNone = 0;
constexpr int SoundSetTitle = 1;
constexpr int SoundSetField = 2;
constexpr int SoundSetBoss = 3;

extern int LoadedSoundSet;  // the sound set loaded last

// Stops all sounds and loads the set into its slots, starting its loops.
// Loading the boss's set also resets the boss.
void SwitchSoundSet(int set);
// Plays a slot's sound beside everything playing, as every game event does.
void PlayEffect(int slot);
