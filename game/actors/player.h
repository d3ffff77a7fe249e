// The player character's keys and own motion, run once a field or boss frame.
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
