// The three stage file readers on well-formed files and on their quirks:
// files that end early or at 0x1A, short and long lines, CR LF, bad digits,
// no file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/stage/stage.h"
#include "stage_maker.h"

namespace {

std::string Repeat(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line;
    return text;
}

// A 32-digit mask row: digit d at column c when (c + row) % 3 == 0, else 0.
std::string MaskRow(int row, char d) {
    std::string line(32, '0');
    for (int c = 0; c < 32; ++c)
        if ((c + row) % 3 == 0) line[c] = d;
    return line;
}

// Chosen cells of one tile, each {row, column, value}.
void ExpectMask(int tile, std::initializer_list<std::array<int, 3>> cells) {
    for (const auto& c : cells) EXPECT_EQ(MapTiles[tile].mask[c[0]][c[1]], c[2]) << c[0] << "," << c[1];
}

class StageFileTest : public testing::Test {
protected:
    ScratchDir scratch;
    void SetUp() override {
        std::memset(MapTiles, 0, sizeof MapTiles);
        std::memset(TileIndexMap, 0, sizeof TileIndexMap);
        std::memset(BackgroundOrder, 0, sizeof BackgroundOrder);
    }
};

TEST_F(StageFileTest, FilesReadRowByRowWithAnyDigitAndCrLfReadsAsLf) {
    std::string lf, crlf;
    for (int row = 0; row < 32; ++row) {
        lf += MaskRow(row, row == 5 ? '7' : '1') + "\n";
        crlf += MaskRow(row, row == 5 ? '7' : '1') + "\r\n";
    }
    WriteTextFile("lf.txt", lf);
    WriteTextFile("crlf.txt", crlf);
    LoadMapTile(3, "lf.txt");
    LoadMapTile(1, "crlf.txt");
    for (int row = 0; row < 32; ++row)
        for (int c = 0; c < 32; ++c)
            ASSERT_EQ(MapTiles[3].mask[row][c], (c + row) % 3 == 0 ? (row == 5 ? 7 : 1) : 0) << row << "," << c;
    EXPECT_EQ(std::memcmp(&MapTiles[3], &MapTiles[1], sizeof(MapTile)), 0);
    EXPECT_EQ(MapTiles[2].mask[0][0], 0) << "other tiles untouched";
}

TEST_F(StageFileTest, EarlyEndsShortAndLongLinesShowTheReadersBuffer) {
    std::string text;
    for (int row = 0; row < 10; ++row) text += MaskRow(row, '1') + "\n";
    WriteTextFile("m.txt", text);
    LoadMapTile(0, "m.txt");
    for (int row = 10; row < 32; ++row) ASSERT_EQ(std::memcmp(MapTiles[0].mask[row], MapTiles[0].mask[9], 32), 0);

    // No line at all: nothing was ever read, every position decodes as -48.
    WriteTextFile("empty.txt", "");
    LoadMapTile(4, "empty.txt");
    EXPECT_EQ(MapTiles[4].mask[0][0], -48);
    EXPECT_EQ(MapTiles[4].mask[31][31], -48);

    // A first line cut short reads its LF as -38 and the closing zero as
    // -48; what follows was never read and is -48 too.
    WriteTextFile("Texture/Map/MapImageData.txt", "12\n3456789\n");
    LoadBackgroundOrder();
    const int expected[] = {1, 2, -38, -48, -48, -48, -48};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(BackgroundOrder[k], expected[k]) << k;

    WriteTextFile("m.txt", std::string(32, '1') + "\n" + "0000\n" + Repeat(std::string(32, '0') + "\n", 30));
    LoadMapTile(5, "m.txt");
    // Behind the short line's end the first line shows through.
    ExpectMask(5, {{1, 3, 0}, {1, 4, -38}, {1, 5, -48}, {1, 6, 1}, {1, 31, 1}, {2, 6, 0}});

    // 40 digits: the first read takes 33 of them, the next the other 7 and
    // the LF, over what the first left behind.
    WriteTextFile("m.txt", std::string(33, '1') + "2222222\n" + Repeat(std::string(32, '0') + "\n", 31));
    LoadMapTile(6, "m.txt");
    ExpectMask(6, {{0, 31, 1}, {1, 0, 2}, {1, 6, 2}, {1, 7, -38}, {1, 8, -48}, {1, 9, 1}, {2, 0, 0}, {31, 0, 0}});

    // The background file reads its first line only, however long.
    WriteTextFile("Texture/Map/MapImageData.txt", "0123456789012345\n9999999\n");
    LoadBackgroundOrder();
    EXPECT_EQ(BackgroundOrder[6], 6);
}

TEST_F(StageFileTest, AnEndOfTextByteEndsTheFileAsTextModeReadsIt) {
    const std::string endOfText(1, '\x1A');
    std::string rows;
    for (int row = 0; row < 10; ++row) rows += MaskRow(row, '1') + "\n";
    WriteTextFile("cut.txt", rows + endOfText + Repeat(std::string(32, '7') + "\n", 22));
    WriteTextFile("short.txt", rows);
    LoadMapTile(0, "cut.txt");
    LoadMapTile(1, "short.txt");
    EXPECT_EQ(std::memcmp(&MapTiles[0], &MapTiles[1], sizeof(MapTile)), 0) << "read as if the file ended there";

    // Inside a line: the line ends there, its closing zero showing, and every
    // later row repeats it.
    const std::string laterRows = Repeat(std::string(224, '3') + "\n", 39);
    WriteTextFile("Texture/Map/MapHitData.txt", std::string(100, '1') + endOfText + std::string(123, '2') + "\n" + laterRows);
    LoadTileIndexMap();
    for (int row : {0, 39}) {
        EXPECT_EQ(TileIndexMap[row][99], 1) << row;
        EXPECT_EQ(TileIndexMap[row][100], -48) << row;
        EXPECT_EQ(TileIndexMap[row][223], -48) << row;
    }

    // A CR before it stays a CR.
    WriteTextFile("Texture/Map/MapImageData.txt", "012\r" + endOfText + "3456\n");
    LoadBackgroundOrder();
    const int expected[] = {0, 1, 2, '\r' - '0', -48, -48, -48};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(BackgroundOrder[k], expected[k]) << k;
}

TEST_F(StageFileTest, BadCharactersAreStoredAndNeverIndexOutsideTheTiles) {
    std::string mask = "1a" + std::string(30, '0') + "\n" + Repeat(std::string(32, '0') + "\n", 31);
    WriteTextFile("m.txt", mask);
    LoadMapTile(1, "m.txt");
    EXPECT_EQ(MapTiles[1].mask[0][1], 'a' - '0');

    // A byte-order mark shifts the first row and decodes to negative indices.
    std::string index = "\xEF\xBB\xBF" + std::string(221, '1') + "\n" + Repeat(std::string(224, '1') + "\n", 39);
    WriteTextFile("Texture/Map/MapHitData.txt", index);
    LoadTileIndexMap();
    EXPECT_EQ(TileIndexMap[0][0], (signed char)0xEF - '0');
    EXPECT_EQ(TileIndexMap[0][3], 1);
    EXPECT_EQ(TileIndexMap[0][223], 1);
    EXPECT_EQ(SampleMapHit(1, 1), -1);
    EXPECT_EQ(SampleMapHit(3 * 32, 0), 1) << "the first whole digit names tile 1";

    // A mask longer than the tile count is read without harm.
    LoadMapTile(10, "m.txt");
    LoadMapTile(-1, "m.txt");
}

TEST_F(StageFileTest, MissingFileSaysSoAndLeavesTheTable) {
    TileIndexMap[5][5] = 4;
    BackgroundOrder[2] = 3;
    MapTiles[6].mask[1][1] = 1;
    testing::internal::CaptureStderr();
    LoadTileIndexMap();
    LoadBackgroundOrder();
    LoadMapTile(6, "Texture/Map/Map06.txt");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(TileIndexMap[5][5], 4);
    EXPECT_EQ(BackgroundOrder[2], 3);
    EXPECT_EQ(MapTiles[6].mask[1][1], 1);
    for (const char* file : {"Texture/Map/MapHitData.txt\n", "Texture/Map/MapImageData.txt\n", "Texture/Map/Map06.txt\n"})
        EXPECT_NE(said.find(file), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3);
}

}  // namespace
