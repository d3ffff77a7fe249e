// The actors' records: the player, the enemies and the boss, the shots.
// Every game area reads and writes these globals directly.
#pragma once

constexpr int EnemyCount = 30;
constexpr int ShotCount = 20;
constexpr int BossStartHp = 300;

// Player.attackState
constexpr int AttackNone = 0;
constexpr int AttackAerialWindUp = 4;
constexpr int AttackAerialStrike = 5;
// Player.guardState
constexpr int GuardNone = 0;
constexpr int GuardForward = 1;
constexpr int GuardOverhead = 2;
constexpr int GuardThrustReach = 4;

struct Player {
    int HP;              // life points; also the life bar's fill width
    float x;             // horizontal centre, stage px
    float y;             // feet, stage px
    float vx;            // lunge magnitude during combo steps, else signed speed
    float vy;            // positive downwards
    float animation;     // walk cycle position in sheet columns
    int facing;          // 1 left, 0 right
    float attackStartX;  // where the running attack began (after-image)
    float attackStartY;
    int attackState;   // 0 none, 1-3 ground combo, 4 aerial wind-up, 5 aerial strike
    int attackCount;   // frames left of the attack or thrust
    int guardState;    // 0 none, 1 forward, 2 overhead, 3 thrust wind-up, 4 thrust reach
    int airborne;      // 0 ground, 1 air, 2 gliding
    int controllable;  // 0 during knock-back
    int Cnt;           // hit timer; harmless and blinking while not 0
};

// One layout for the enemies and the boss.
struct Enemy {
    float x;  // horizontal centre
    float y;  // feet
    float xF;
    float yF;
    float homeX;  // enemy: where the list placed it
    float homeY;
    float animation;
    float spin;  // degrees
    int facing;
    int airborne;
    int attack;         // enemy: shot cooldown running; boss: 0 walk, 1 swing, 2 thud, 3 leap, 4 shots
    int attackCounter;  // frames left of the cooldown or boss attack
    int kind;           // enemy: kind 0-3; boss: form 0 first, 3 transforming, 2 second
    int width;
    int height;
    int bossCount;  // boss: frames left of the transformation
    int state;      // enemy: 0 asleep, 1 active, 2 dying; boss: 0 defeated, 1 fighting, 2 transforming
};

struct Shot {
    float x;  // left edge
    float y;  // top edge
    float vx;
    float vy;
    float spin;  // degrees, keeps turning across launches
    int type;    // 0 enemy throw, 1 enemy aimed, 2 boss
    int width;
    int height;
    int life;    // frames left
    int active;  // slot holds a flying shot
};

extern Player ThePlayer;          // the one player character
extern Enemy Enemies[EnemyCount];  // the field's enemies, placed by the enemy list
extern Enemy Boss;                // the boss of the stage's end
extern Shot Shots[ShotCount];     // every flying projectile, enemy's and boss's
extern int BossHp;                // boss life points; 0 or below is defeated
