// The actors' records and the values of their state fields, read and written directly by every game area.
#pragma once

constexpr int EnemyCount = 30;
constexpr int ShotCount = 20;
constexpr int BossStartHp = 300;

// The values of the records' state fields, each set with the files that move it.

// Player.attackState: started by player_input.cpp, counted down and ended by
// player_update.cpp, cleared by a hurt (player_boxes.cpp) and a continue.
constexpr int AttackNone = 0;
constexpr int AttackStep1 = 1;  // the ground combo's three steps
constexpr int AttackStep2 = 2;
constexpr int AttackFinisher = 3;
constexpr int AttackAerialWindUp = 4;
constexpr int AttackAerialStrike = 5;
// Player.guardState: player_input.cpp, from the canopy key and the thrust's
// count; cleared by a hurt and a continue.
constexpr int GuardNone = 0;
constexpr int GuardForward = 1;
constexpr int GuardOverhead = 2;
constexpr int GuardThrustWindUp = 3;
constexpr int GuardThrustReach = 4;
// airborne of every actor: collide.cpp lands and drops them, player_input.cpp
// jumps and glides. An enemy whose file says Gliding or more hangs in the air.
constexpr int OnGround = 0;
constexpr int InAir = 1;
constexpr int Gliding = 2;
// facing of every actor, also the sheet row of its pictures.
constexpr int FacingRight = 0;
constexpr int FacingLeft = 1;

// Enemy.state: enemy_load.cpp starts it active, enemy_update.cpp wakes and
// sends to sleep, attacks.cpp strikes down.
constexpr int EnemyAsleep = 0;  // the player is 800 px away or more
constexpr int EnemyActive = 1;
constexpr int EnemyDying = 2;  // struck: flies off for good
// Enemy.attack: enemy_update.cpp, from a shot until the cooldown ends.
constexpr int EnemyNotShooting = 0;
constexpr int EnemyShooting = 1;
// Enemy.kind, from the enemy list: the behaviour, the per-kind file, the sheet.
constexpr int EnemyWandererA = 0;  // A and B turn about at random near the player
constexpr int EnemyWandererB = 1;
constexpr int EnemyThrower = 2;
constexpr int EnemyShooter = 3;  // fires aimed shots

// Boss.attack, Boss.state and Boss.kind (its form): all moved by boss_update.cpp.
constexpr int BossWalking = 0;
constexpr int BossSwing = 1;
constexpr int BossThud = 2;
constexpr int BossLeap = 3;
constexpr int BossShots = 4;
constexpr int BossDefeated = 0;
constexpr int BossFighting = 1;
constexpr int BossTransforming = 2;
constexpr int BossFirstForm = 0;
constexpr int BossSecondForm = 2;
constexpr int BossChangingForm = 3;

// Shot.type, set by the launcher: enemy_update.cpp or boss_update.cpp.
constexpr int ShotThrown = 0;
constexpr int ShotAimed = 1;
constexpr int ShotBoss = 2;

struct Player {
    int HP;              // life points; also the life bar's fill width
    float x;             // horizontal centre, stage px
    float y;             // feet, stage px
    float vx;            // lunge magnitude during combo steps, else signed speed
    float vy;            // positive downwards
    float animation;     // walk cycle position in sheet columns
    int facing;          // Facing...
    float attackStartX;  // where the running attack began (after-image)
    float attackStartY;
    int attackState;   // Attack...
    int attackCount;   // frames left of the attack or thrust
    int guardState;    // Guard...
    int airborne;      // OnGround, InAir, Gliding
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
    int attack;         // enemy: EnemyShooting while the cooldown runs; boss: Boss... attack
    int attackCounter;  // frames left of the cooldown or boss attack
    int kind;           // enemy: Enemy... kind; boss: Boss...Form
    int width;
    int height;
    int bossCount;  // boss: frames left of the transformation
    int state;      // enemy: EnemyAsleep, EnemyActive, EnemyDying; boss: BossDefeated, BossFighting, BossTransforming
};

struct Shot {
    float x;  // left edge
    float y;  // top edge
    float vx;
    float vy;
    float spin;  // degrees, keeps turning across launches
    int type;    // Shot...
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
