// The player character: input, motion, its boxes and the hurt step.
// HandlePlayerInput then UpdatePlayer run once a frame in the field and
// boss scenes, before the enemies, the shots and the stage collision.
#pragma once

// Key latches, so that one press acts once; a new game keeps them.
extern int ZFlag;         // jump key latch
extern int XFlag;         // attack key latch
extern int GuardKeyHeld;  // canopy key latch

// Turns the frame's key state (see KeyDown) into walking, jumps, glides,
// guards, the thrust and the attacks.
void HandlePlayerInput(const unsigned char* keys);
// Moves the player one frame: death, knock-back or its own motion, the
// footsteps, the lunge, the attack count, the hit timer.
void UpdatePlayer();

// The footstep sound slot for a walk cycle position, 0 for none: the exact
// single-precision sums put SlotFootstepA on the 5th and SlotFootstepB on
// the 26th of the cycle's 40 frames.
int FootstepSlot(float animation);

// An integer box: left, top, width, height.
struct Box {
    int left, top, width, height;
};

// The player's defensive boxes, worked out from its position and facing
// each time a hit test asks; every corner is truncated toward zero.
Box PlayerBodyBox();
Box PlayerForwardGuardBox();
Box PlayerThrustReachBox();
Box PlayerBackHalfBox();
Box PlayerOverheadBox();
Box PlayerLowBodyBox();
// 1 when the boxes overlap; touching edges do not.
int BoxesOverlap(const Box& a, const Box& b);

// Takes damage points and starts the knock-back; leaves vx and HP's
// clamping to the caller.
void HurtPlayer(int damage);
