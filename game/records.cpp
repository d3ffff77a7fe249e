// Placeholder until this area is built; replace wholesale.
#include "game/records.h"

Player ThePlayer;
Enemy Enemies[EnemyCount];
Enemy Boss;
Shot Shots[ShotCount];
int BossHp = BossStartHp;
