// Listens to the real sound module and counts how often each of a few
// slots has been played. Every watched slot holds a short sound of its own
// steady level, so the sum of everything mixed tells the plays apart
// whenever they happened; up to seven plays per slot between two reads.
#pragma once
#include <initializer_list>
#include <string>

#include "support/scratch.h"

class PlayedSounds {
public:
    // Starts the sound module in a scratch working directory with a sound
    // loaded into each slot (at most five).
    explicit PlayedSounds(std::initializer_list<int> slots);
    // Shuts the sound module down and puts the working directory back.
    ~PlayedSounds();
    // Waits until every sound started so far has ended; then the plays of
    // `slot` since the previous read.
    int Plays(int slot);
    // Waits as above; "slot x count" for every slot played since the
    // previous read, or "" when none was.
    std::string Heard();

private:
    void Settle();
    int slots_[5];
    int count_ = 0;
    int plays_[5] = {};
    long long heardUnits_ = 0;
    ScratchDir scratch_;
};
