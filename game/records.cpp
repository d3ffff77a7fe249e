// The actors' records, in static storage for the whole run.
#include "game/records.h"

Player ThePlayer;
Enemy Enemies[EnemyCount];
Enemy Boss;
Shot Shots[ShotCount];
int BossHp = BossStartHp;
