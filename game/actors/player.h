// The player character: input, motion, its boxes and the hurt step.
#pragma once

extern int ZFlag;         // jump key latch
extern int XFlag;         // attack key latch
extern int GuardKeyHeld;  // canopy key latch

void HandlePlayerInput(const unsigned char* keys);
void UpdatePlayer();

// An integer box: left, top, width, height.
struct Box {
    int left, top, width, height;
};

Box PlayerBodyBox();
Box PlayerForwardGuardBox();
Box PlayerThrustReachBox();
Box PlayerBackHalfBox();
Box PlayerOverheadBox();
Box PlayerLowBodyBox();
int BoxesOverlap(const Box& a, const Box& b);

// Takes damage points and starts the knock-back; leaves vx and HP's
// clamping to the caller.
void HurtPlayer(int damage);
