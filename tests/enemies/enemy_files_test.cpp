// The enemy list and per-kind files, read from a scratch directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "game/actors/enemies.h"

namespace {

namespace fs = std::filesystem;

class EnemyFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(savedDir, sizeof savedDir), nullptr);
        char pattern[] = "/tmp/kestoria-enemy-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        fs::create_directories(scratch / "Texture" / "Enemy");
        ASSERT_EQ(chdir(scratch.c_str()), 0);
        memset(table, 0, sizeof table);
    }

    void TearDown() override {
        ASSERT_EQ(chdir(savedDir), 0);
        fs::remove_all(scratch);
    }

    static void Write(const char* path, const std::string& text) {
        FILE* file = fopen(path, "w");
        ASSERT_NE(file, nullptr);
        fputs(text.c_str(), file);
        fclose(file);
    }

    // 30 entries; entry i has the given kind, x 100 i + 0.5 and y 10 i.
    static std::string List(const int (&kinds)[EnemyCount]) {
        std::string text;
        for (int i = 0; i < EnemyCount; ++i) {
            text += std::to_string(kinds[i]) + " " + std::to_string(100 * i) + ".5\t" +
                    std::to_string(10 * i) + (i % 3 == 2 ? "\n" : "  ");
        }
        return text;
    }

    static void WriteKinds() {
        Write("Texture/Enemy/no0.txt", "32 32 -1.5 0.0 1\n");
        Write("Texture/Enemy/no1.txt", "40\n48\n2.25\n-1\n0\n");
        Write("Texture/Enemy/no2.txt", "64 64 3 1 0");
        Write("Texture/Enemy/no3.txt", "   16 24 0.125 -0.5 2 trailing text");
    }

    static void Poison(Enemy* e) {
        e->kind = -77;
        e->x = e->homeX = -1.0f;
        e->y = e->homeY = -2.0f;
        e->width = e->height = -3;
        e->xF = e->yF = -4.0f;
        e->airborne = -5;
        e->animation = 1.5f;
        e->spin = 90.0f;
        e->facing = 1;
        e->state = 2;
        e->attack = 1;
        e->attackCounter = 12;
        e->bossCount = 44;
    }

    char savedDir[4096];
    fs::path scratch;
    Enemy table[EnemyCount];
};

TEST_F(EnemyFiles, ReadsEveryEntryAndItsKindValues) {
    int kinds[EnemyCount];
    for (int i = 0; i < EnemyCount; ++i) kinds[i] = i % 4;
    Write("Texture/Enemy/enemy.txt", List(kinds) + "3 1 1 this is past the 30th entry\n");
    WriteKinds();
    for (Enemy& e : table) Poison(&e);

    LoadEnemies(table);

    for (int i = 0; i < EnemyCount; ++i) {
        const Enemy& e = table[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.kind, i % 4);
        EXPECT_EQ(e.homeX, 100.0f * i + 0.5f);
        EXPECT_EQ(e.x, e.homeX);
        EXPECT_EQ(e.homeY, 10.0f * i);
        EXPECT_EQ(e.y, e.homeY);
        EXPECT_EQ(e.animation, 0.0f);
        EXPECT_EQ(e.spin, 0.0f);
        EXPECT_EQ(e.facing, 0);
        EXPECT_EQ(e.state, 1);
        EXPECT_EQ(e.attack, 0);
        EXPECT_EQ(e.attackCounter, 0);
        EXPECT_EQ(e.bossCount, 44);
    }
    EXPECT_EQ(table[0].width, 32);
    EXPECT_EQ(table[0].xF, -1.5f);
    EXPECT_EQ(table[0].airborne, 1);
    EXPECT_EQ(table[1].width, 40);
    EXPECT_EQ(table[1].height, 48);
    EXPECT_EQ(table[1].xF, 2.25f);
    EXPECT_EQ(table[1].yF, -1.0f);
    EXPECT_EQ(table[2].height, 64);
    EXPECT_EQ(table[2].yF, 1.0f);
    EXPECT_EQ(table[29].kind, 1);
    EXPECT_EQ(table[29].height, 48);
    EXPECT_EQ(table[3].width, 16);
    EXPECT_EQ(table[3].height, 24);
    EXPECT_EQ(table[3].xF, 0.125f);
    EXPECT_EQ(table[3].yF, -0.5f);
    EXPECT_EQ(table[3].airborne, 2);
}

TEST_F(EnemyFiles, MissingListPrintsTheMessageAndKeepsAllButTheReset) {
    WriteKinds();
    for (Enemy& e : table) Poison(&e);

    testing::internal::CaptureStdout();
    LoadEnemies(table);
    std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(printed, "ファイルオープンエラー\n");
    for (const Enemy& e : table) {
        EXPECT_EQ(e.state, 1);
        EXPECT_EQ(e.facing, 0);
        EXPECT_EQ(e.spin, 0.0f);
        EXPECT_EQ(e.animation, 0.0f);
        EXPECT_EQ(e.attack, 0);
        EXPECT_EQ(e.attackCounter, 0);
        EXPECT_EQ(e.kind, -77);
        EXPECT_EQ(e.x, -1.0f);
        EXPECT_EQ(e.width, -3);
        EXPECT_EQ(e.airborne, -5);
    }
}

TEST_F(EnemyFiles, MissingKindFileStopsTheLoadAtItsFirstEnemy) {
    int kinds[EnemyCount] = {0, 2, 3, 0, 2, 1, 0, 0};
    Write("Texture/Enemy/enemy.txt", List(kinds));
    WriteKinds();
    fs::remove("Texture/Enemy/no1.txt");
    for (Enemy& e : table) Poison(&e);

    testing::internal::CaptureStdout();
    LoadEnemies(table);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    for (int i = 0; i < 5; ++i) EXPECT_GT(table[i].width, 0) << i;
    for (int i = 5; i < EnemyCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i].width, -3);
        EXPECT_EQ(table[i].xF, -4.0f);
        EXPECT_EQ(table[i].airborne, -5);
        // The list itself was read in full.
        EXPECT_EQ(table[i].x, 100.0f * i + 0.5f);
    }
}

TEST_F(EnemyFiles, KindWithoutAFileKeepsItsValuesAndTheRestLoad) {
    int kinds[EnemyCount] = {7, -1, 2};
    kinds[3] = 4;
    Write("Texture/Enemy/enemy.txt", List(kinds));
    WriteKinds();
    // A file for the stray kind must never be read.
    Write("Texture/Enemy/no7.txt", "999 999 9 9 9");
    for (Enemy& e : table) Poison(&e);

    LoadEnemies(table);

    EXPECT_EQ(table[0].kind, 7);
    EXPECT_EQ(table[0].width, -3);
    EXPECT_EQ(table[1].kind, -1);
    EXPECT_EQ(table[1].width, -3);
    EXPECT_EQ(table[2].width, 64);
    EXPECT_EQ(table[3].width, -3);
    EXPECT_EQ(table[4].width, 32);
    EXPECT_EQ(table[29].width, 32);
}

TEST_F(EnemyFiles, NumbersBeyondTheirRangeSaturate) {
    std::string text = "99999999999999999999 1e999 -1e999\n-2147483649 -inf nan(1a_b)\n";
    text += "+2147483647 -0.0000000000000000000000000000000000000000000000001 INFINITY\n";
    for (int i = 3; i < EnemyCount; ++i) text += "0 1 2\n";
    Write("Texture/Enemy/enemy.txt", text);
    WriteKinds();
    Write("Texture/Enemy/no0.txt", "-99999999999 4294967296 nan -1e39 -3000000000");

    LoadEnemies(table);

    EXPECT_EQ(table[0].kind, INT_MAX);
    EXPECT_EQ(table[0].x, INFINITY);
    EXPECT_EQ(table[0].y, -INFINITY);
    EXPECT_EQ(table[1].kind, INT_MIN);
    EXPECT_EQ(table[1].x, -INFINITY);
    EXPECT_TRUE(std::isnan(table[1].y));
    EXPECT_EQ(table[2].kind, INT_MAX);
    EXPECT_EQ(table[2].x, 0.0f);
    EXPECT_TRUE(std::signbit(table[2].x));
    EXPECT_EQ(table[2].y, INFINITY);
    EXPECT_EQ(table[3].width, INT_MIN);
    EXPECT_EQ(table[3].height, INT_MAX);
    EXPECT_TRUE(std::isnan(table[3].xF));
    EXPECT_EQ(table[3].yF, -INFINITY);
    EXPECT_EQ(table[3].airborne, INT_MIN);
}

TEST_F(EnemyFiles, DecimalsRoundAsTheFormattedReadRoundsThem) {
    // Long digit strings, exponents and signs as fscanf takes them.
    std::string longOne = "0." + std::string(300, '0') + "1e301";
    std::string text = "+3 " + longOne + " .5e1\n";
    text += "-0 5. -12.5E-1\n";
    text += "2 16777217 0.100000001490116119384765625000000000000000000000000000001\n";
    text += "1 3.4028235677973366e38 1.40129846432481707e-45\n";
    for (int i = 4; i < EnemyCount; ++i) text += "0 1 2\n";
    Write("Texture/Enemy/enemy.txt", text);
    WriteKinds();

    LoadEnemies(table);

    EXPECT_EQ(table[0].kind, 3);
    EXPECT_EQ(table[0].x, 1.0f);
    EXPECT_EQ(table[0].y, 5.0f);
    EXPECT_EQ(table[1].kind, 0);
    EXPECT_EQ(table[1].x, 5.0f);
    EXPECT_EQ(table[1].y, -1.25f);
    EXPECT_EQ(table[2].x, strtof("16777217", nullptr));
    EXPECT_EQ(table[2].y, strtof("0.100000001490116119384765625000000000000000000000000000001", nullptr));
    EXPECT_EQ(table[3].x, strtof("3.4028235677973366e38", nullptr));
    EXPECT_EQ(table[3].y, strtof("1.40129846432481707e-45", nullptr));
}

TEST_F(EnemyFiles, AFailedReadLeavesItsFieldAndEveryLaterOne) {
    // Entry 2's x is not a number; nothing after it is read, yet x and y
    // still take the home values that stood.
    Write("Texture/Enemy/enemy.txt", "0 10 20\n2 30 40\n3 abc 60\n1 70 80\n");
    WriteKinds();
    for (Enemy& e : table) Poison(&e);
    table[2].homeX = 555.0f;
    table[2].homeY = 666.0f;

    LoadEnemies(table);

    EXPECT_EQ(table[1].kind, 2);
    EXPECT_EQ(table[1].x, 30.0f);
    EXPECT_EQ(table[2].kind, 3);
    EXPECT_EQ(table[2].homeX, 555.0f);
    EXPECT_EQ(table[2].x, 555.0f);
    EXPECT_EQ(table[2].y, 666.0f);
    EXPECT_EQ(table[3].kind, -77);
    EXPECT_EQ(table[3].x, -1.0f);
    EXPECT_EQ(table[29].x, -1.0f);
    EXPECT_EQ(table[2].width, 16);
    EXPECT_EQ(table[3].width, -3);
}

TEST_F(EnemyFiles, HalfWrittenNumbersFailAndNeighboursSplit) {
    // "12-5" is two numbers; "1e" and "-" and "infin" are not numbers at all.
    const char* cases[][2] = {
        {"12-5 7", "12 -5 7"},
        {"1 2 3e+", "fail at y"},
        {"1 - 3", "fail at x"},
        {"1 infin 3", "fail at x"},
        {"1 nan(x 3", "fail at x"},
        {"1 . 3", "fail at x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        std::string text = std::string(c[0]) + "\n";
        Write("Texture/Enemy/enemy.txt", text);
        WriteKinds();
        for (Enemy& e : table) Poison(&e);
        table[0].homeX = 8.0f;
        table[0].homeY = 9.0f;
        LoadEnemies(table);
        if (std::string(c[1]) == "12 -5 7") {
            EXPECT_EQ(table[0].kind, 12);
            EXPECT_EQ(table[0].x, -5.0f);
            EXPECT_EQ(table[0].y, 7.0f);
        } else if (std::string(c[1]) == "fail at y") {
            EXPECT_EQ(table[0].x, 2.0f);
            EXPECT_EQ(table[0].y, 9.0f);
        } else {
            EXPECT_EQ(table[0].kind, 1);
            EXPECT_EQ(table[0].x, 8.0f);
            EXPECT_EQ(table[0].y, 9.0f);
        }
        EXPECT_EQ(table[1].kind, -77);
    }
}

}  // namespace
