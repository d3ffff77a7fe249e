// The game started with one file of its data tree missing, for every file
// in turn, or with no data tree at all: it starts, and a player's tour goes
// through every scene to the quit choice without a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/testhooks.h"
#include "tools/replay/headless_game.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace {

constexpr int SceneFrameLimit = 400;  // far beyond any fade or delay

int Answer = IDNO;
int AnswerQuestion(HWND, LPCSTR, LPCSTR, UINT) { return Answer; }

fs::path DataDir() {
    const char* dir = std::getenv("KESTORIA_DATA_DIR");
    return dir ? fs::path(dir) : fs::current_path();
}

// The data files under one top folder of the tree, relative to the tree.
std::vector<fs::path> DataFiles(const std::string& top) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(DataDir() / top))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), DataDir()));
    return files;
}

class MissingDataTest : public testing::Test {
protected:
    HWND window = nullptr;
    bool visited[4] = {};

    void SetUp() override {
        ASSERT_TRUE(fs::exists(DataDir() / "Texture")) << "no data tree at " << DataDir();
        SetMessageBoxHook(AnswerQuestion);
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }

    int Frame(std::initializer_list<int> keys = {}) {
        int running = HeadlessFrame(window, keys);
        if (Scene >= 0 && Scene < 4) visited[Scene] = true;
        return running;
    }
    // Frames with these keys until the scene is reached; false if it never is.
    bool FramesUntil(int scene, std::initializer_list<int> keys = {}) {
        for (int i = 0; i < SceneFrameLimit && Scene != scene; ++i) Frame(keys);
        return Scene == scene;
    }

    // Every scene in turn, as a player would go, ending with the quit.
    void Tour(const std::string& what) {
        SCOPED_TRACE(what);
        ResetGameToProgramStart();
        window = StartHeadlessGame();
        ASSERT_NE(window, nullptr);

        Frame({VK_RETURN});  // the logo to rest
        Frame();
        Frame({VK_RETURN});  // start
        ASSERT_TRUE(FramesUntil(SceneField));
        for (int i = 0; i < 20; ++i) Frame({VK_RIGHT, 'Z'});
        for (int i = 0; i < 10; ++i) Frame({i < 5 ? 'X' : 'C'});
        Answer = IDNO;
        Frame({VK_ESCAPE});

        // Past the field's end; a death on the way comes back at that x.
        for (int i = 0; i < SceneFrameLimit && Scene != SceneBoss; ++i) {
            if (Scene == SceneContinue) {
                Frame({i % 2 ? VK_RETURN : VK_LEFT});
            } else {
                ThePlayer.x = 6001.0f;
                Frame();
            }
        }
        ASSERT_EQ(Scene, SceneBoss);
        for (int i = 0; i < 20; ++i) Frame({VK_LEFT, 'X'});

        ThePlayer.HP = 0;
        ASSERT_TRUE(FramesUntil(SceneContinue));
        for (int i = 0; i < 70; ++i) Frame({VK_RIGHT});  // the picture comes in; give up
        ASSERT_TRUE(FramesUntil(SceneTitle, {VK_RETURN}));

        Frame();
        Frame({VK_RETURN});  // the logo to rest
        Frame({VK_DOWN});
        Frame({VK_RETURN});  // quit
        int running = 1;
        for (int i = 0; i < SceneFrameLimit && running; ++i) running = Frame();
        EXPECT_EQ(running, 0) << "the quit choice never faded out";
        StopHeadlessGame(window);
        for (int scene = 0; scene < 4; ++scene) EXPECT_TRUE(visited[scene]) << "scene " << scene;
    }

    // A copy of the data tree, as links, without one file; the game then
    // runs in it.
    void TourWithout(const fs::path& missing) {
        TempDir tree;
        for (const char* top : {"Texture", "Sound"}) {
            for (const fs::path& file : DataFiles(top)) {
                if (file == missing) continue;
                fs::create_directories(fs::path(tree.Path()) / file.parent_path());
                fs::create_symlink(DataDir() / file, fs::path(tree.Path()) / file);
            }
        }
        TourIn(tree.Path(), "without " + missing.string());
    }

    void TourIn(const std::string& dir, const std::string& what) {
        const fs::path previous = fs::current_path();
        fs::current_path(dir);
        Tour(what);
        fs::current_path(previous);
    }

};

TEST_F(MissingDataTest, NoDataTreeAtAll) {
    TempDir empty;
    TourIn(empty.Path(), "in an empty directory");
}

// Each file the game reads, one at a time: pictures, stage files and
// backgrounds, enemy files, sounds.
TEST_F(MissingDataTest, AnyOneFileMissing) {
    for (const char* top : {"Texture", "Sound"}) {
        for (const fs::path& file : DataFiles(top)) {
            TourWithout(file);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
