// A scripted player: each frame it reads the game's records and decides
// which keys are down, as a person at the keyboard would.
#pragma once
#include <cstdint>

struct BotKeys {
    unsigned char state[256];
};

class Bot {
public:
    // The keys for the coming frame.
    BotKeys Decide();

private:
    void Title(BotKeys& keys);
    void Continue(BotKeys& keys);
    void Field(BotKeys& keys);
    void BossFight(BotKeys& keys);
    // Walks one way, jumping at pits and walls and gliding where a fall would miss.
    void Walk(BotKeys& keys, int direction);
    // Presses a key that acts once per press: down only if it was up last frame.
    void Tap(BotKeys& keys, int key);
    void Hold(BotKeys& keys, int key) { keys.state[key] = 0x80; }

    unsigned char last_[256] = {};
    float progressX_ = 0;
    int stuckFrames_ = 0;
};
