// Helpers for tests that set actors up in the records and run them through
// the real update and hit-test functions.
#pragma once
#include <functional>
#include <string>

#include "game/records.h"

// Every actor record back to program start: all zero, BossHp 300.
void ClearActors();
// The player standing controllable at (x, y) with 300 life points, no
// guard, attack or hit timer.
void StandPlayer(float x, float y, int facing);
// Parks every enemy far out of the player's reach, asleep.
void ParkEnemies();
// An active enemy of the given kind and size standing at (x, y), at home there.
Enemy* PlaceEnemy(int index, int kind, float x, float y, int width = 32, int height = 32);
// An active shot with its full life.
Shot* LaunchTestShot(int slot, int type, float x, float y, int size);

// The first seed whose next `count` draws of crt::rand pass `wanted`, and
// seeds the generator with it.
unsigned SeedFor(int count, const std::function<bool(const int* draws)>& wanted);

// Every field of a shot on one line, exact floats, for one comparison per shot.
std::string ShotFields(const Shot& s);
