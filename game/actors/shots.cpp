// Every shot in flight, whoever launched it.
#include "game/actors/shots.h"

#include "game/records.h"

namespace {

constexpr float ShotSpinDeg = 10.0f;

}  // namespace

int FirstFreeShotSlot() {
    for (int i = 0; i < ShotCount; ++i) {
        if (Shots[i].active == 0) return i;
    }
    return -1;
}

// Shots pass through the stage; only their life or the player ends them.
void UpdateShots() {
    for (Shot& s : Shots) {
        if (s.active == 0) continue;
        s.life -= 1;
        s.x += s.vx;
        s.y += s.vy;
        s.spin += ShotSpinDeg;
        if (s.life < 0) s.active = 0;
    }
}
