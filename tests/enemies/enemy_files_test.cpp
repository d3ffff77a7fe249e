// The enemy list and per-kind files, read from a scratch directory.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "game/actors/enemies.h"
#include "support/scratch.h"

namespace {

constexpr const char* ListFile = "Texture/Enemy/enemy.txt";

class EnemyFiles : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTextFile("Texture/Enemy/no0.txt", "32 32 -1.5 0.0 1\n");
        WriteTextFile("Texture/Enemy/no1.txt", "40\n48\n2.25\n-1\n0\n");
        WriteTextFile("Texture/Enemy/no2.txt", "64 64 3 1 0");
        WriteTextFile("Texture/Enemy/no3.txt", "   16 24 0.125 -0.5 2 trailing text");
        // Every field holds a value no file gives.
        for (Enemy& e : table) e = Enemy{-1, -2, -4, -4, -1, -2, 1.5f, 90, 1, -5, 1, 12, -77, -3, -3, 44, 2};
    }
    // 30 entries spread over lines; entry i at x 100 i + 0.5, y 10 i.
    static void WriteList(const int (&kinds)[EnemyCount], const std::string& tail = "") {
        std::string text;
        for (int i = 0; i < EnemyCount; ++i) {
            text += std::to_string(kinds[i]) + " " + std::to_string(100 * i) + ".5\t" + std::to_string(10 * i) +
                    (i % 3 == 2 ? "\n" : "  ");
        }
        WriteTextFile(ListFile, text + tail);
    }
    ScratchDir scratch;
    Enemy table[EnemyCount];
};

int OpenFiles() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST_F(EnemyFiles, EntriesRunOnAcrossLinesAndNoFileStaysOpen) {
    int kinds[EnemyCount];
    for (int i = 0; i < EnemyCount; ++i) kinds[i] = i % 4;
    WriteList(kinds, "3 1 1 past the 30th entry\n");
    const int open = OpenFiles();
    LoadEnemies(table);
    EXPECT_EQ(OpenFiles(), open);
    EXPECT_EQ(table[29].homeX, 2900.5f);
    EXPECT_EQ(table[29].y, 290.0f);
    EXPECT_EQ(table[29].height, 48);
    EXPECT_EQ(table[3].xF, 0.125f);  // after leading space, before trailing text
}

TEST_F(EnemyFiles, MissingFilesStopTheLoadWhereTheyAreNeeded) {
    testing::internal::CaptureStdout();
    LoadEnemies(table);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ファイルオープンエラー\n");
    for (const Enemy& e : table)
        EXPECT_TRUE(e.state == 1 && e.spin == 0 && e.facing == FacingRight && e.kind == -77 && e.x == -1 && e.width == -3);
    // A kind with no file of its own keeps its values; the rest load.
    WriteList({7, -1, 2, 4});
    WriteTextFile("Texture/Enemy/no7.txt", "999 999 9 9 9");
    LoadEnemies(table);
    EXPECT_EQ(table[0].kind, 7);
    for (int i : {0, 1, 3}) EXPECT_EQ(table[i].width, -3) << i;
    EXPECT_EQ(table[2].width, 64);
    EXPECT_EQ(table[29].width, 32);
    // Without no1.txt the load ends silently at the first enemy of kind 1.
    WriteList({0, 2, 3, 0, 2, 1, 0, 0});
    std::filesystem::remove("Texture/Enemy/no1.txt");
    for (Enemy& e : table) e.width = -3;
    testing::internal::CaptureStdout();
    LoadEnemies(table);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (int i = 0; i < EnemyCount; ++i) EXPECT_TRUE(table[i].x == 100.0f * i + 0.5f && (table[i].width > 0) == (i < 5)) << i;
}

TEST_F(EnemyFiles, NumbersReadAsTheFormattedReadTakesThemButSaturate) {
    // Each case is the whole list: the first entry's kind, x and y. A failed
    // read leaves the kind at -77 and the position at home (8, 9).
    const struct { const char* text; int kind; float x, y; } rows[] = {
        {"99999999999999999999 1e999 -1e999", INT_MAX, INFINITY, -INFINITY},
        {"-2147483649 -inf INFINITY", INT_MIN, -INFINITY, INFINITY},
        {"+3 .5e1 5.", 3, 5.0f, 5.0f},
        {"-0 -12.5E-1 16777217", 0, -1.25f, 16777216.0f},
        {"12-5 7", 12, -5.0f, 7.0f},
        {"1 2 3e+", 1, 2.0f, 9.0f},
        {"1 2e1-3", 1, 20.0f, -3.0f},
        {"1 - 3", 1, 8.0f, 9.0f},
        {"1 infin 3", 1, 8.0f, 9.0f},
        {"1 nan(x 3", 1, 8.0f, 9.0f},
        {"1 . 3", 1, 8.0f, 9.0f},
        {"x 2 3", -77, 8.0f, 9.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        WriteTextFile(ListFile, row.text);
        table[0].homeX = 8.0f;
        table[0].homeY = 9.0f;
        table[0].kind = -77;
        LoadEnemies(table);
        EXPECT_EQ(table[0].kind, row.kind);
        EXPECT_EQ(table[0].x, row.x);
        EXPECT_EQ(table[0].y, row.y);
        EXPECT_EQ(table[1].kind, -77);  // nothing past the list's end reaches the next entry
    }
    // Long digit strings still round to the nearest float.
    std::string tiny = "0." + std::string(300, '0') + "1e301";
    const char* tie = "0.100000001490116119384765625000000000000000000000000000001";
    WriteTextFile(ListFile, "1 " + tiny + " " + tie + " 2 nan(1a_b) 1.40129846432481707e-45");
    WriteTextFile("Texture/Enemy/no1.txt", "-99999999999 4294967296 nan -1e39 -3000000000");
    LoadEnemies(table);
    EXPECT_EQ(table[0].x, 1.0f);
    EXPECT_EQ(table[0].y, strtof(tie, nullptr));
    EXPECT_TRUE(std::isnan(table[1].x));
    EXPECT_EQ(table[1].y, strtof("1.40129846432481707e-45", nullptr));
    EXPECT_TRUE(table[0].width == INT_MIN && table[0].height == INT_MAX && std::isnan(table[0].xF) &&
                table[0].yF == -INFINITY && table[0].airborne == INT_MIN);
    // After a failed read every later read fails, but positions follow home.
    SetUp();
    WriteTextFile(ListFile, "0 10 20\n2 30 40\n3 abc 60\n1 70 80\n");
    table[2].homeX = 555.0f;
    table[2].homeY = 666.0f;
    LoadEnemies(table);
    EXPECT_TRUE(table[1].x == 30 && table[2].kind == 3 && table[2].x == 555 && table[2].y == 666 &&
                table[2].width == 16 && table[3].kind == -77 && table[29].x == -1);
}

}  // namespace
