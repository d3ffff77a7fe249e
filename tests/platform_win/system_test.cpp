// Message boxes, the clock and sleep, the working directory and text
// conversion.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <utility>
#include <unistd.h>

#include "platform/testhooks.h"
#include "platform/win32.h"
#include "support/test_window.h"

namespace {

struct BoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
    int calls;
};
BoxCall LastBox;

int AnswerYes(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    LastBox = {owner, text, caption, type, LastBox.calls + 1};
    return IDYES;
}

TEST(MessageBoxTest, TheHookAnswersAndWithoutADisplayTheAnswerIsNo) {
    LastBox = {};
    SetMessageBoxHook(AnswerYes);
    EXPECT_EQ(MessageBoxA(nullptr, "タイトルに戻ります。よろしいですか？", "タイトルに戻る", 0x1024), IDYES);
    EXPECT_EQ(LastBox.calls, 1);
    EXPECT_EQ(LastBox.owner, nullptr);
    EXPECT_EQ(LastBox.text, "タイトルに戻ります。よろしいですか？");
    EXPECT_EQ(LastBox.caption, "タイトルに戻る");
    EXPECT_EQ(LastBox.type, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);

    // The real box cannot be shown here: that failure reads as No, and it
    // leaves no key down.
    SetMessageBoxHook(nullptr);
    std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    BYTE keys[256] = {};
    keys[VK_ESCAPE] = 0x81;
    SetKeyboardState(keys);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_OK), IDNO);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_ESCAPE], 0x01);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(LastBox.calls, 1);
}

uint64_t FakeNow;
uint64_t LastDeadline;
int SleepCalls;
uint64_t Now() { return FakeNow; }
void SleepUntil(uint64_t deadline) {
    LastDeadline = deadline;
    ++SleepCalls;
    FakeNow = deadline;
}

// The game's window shown on a driver with no screen: the box cannot be
// shown, and nothing waits for a focus that never comes back.
TEST(MessageBoxTest, ABoxThatCannotBeShownReturnsWithoutWaiting) {
    HWND window = OpenTestWindow("BoxOwner", DefWindowProcA);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    ClockHooks hooks{Now, SleepUntil, nullptr};
    SetClockHooks(&hooks);
    SleepCalls = 0;
    EXPECT_EQ(MessageBoxA(window, "シッパイ", "ウィンドウ", MB_OK), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO), IDNO);
    EXPECT_EQ(SleepCalls, 0);
    SetClockHooks(nullptr);
    EXPECT_TRUE(CloseTestWindow(window, "BoxOwner"));
}

TEST(ClockTest, TheTimerAndSleepRunOnTheDrivenClockAndBackOnTheRealOne) {
    ClockHooks hooks{Now, SleepUntil, nullptr};
    SetClockHooks(&hooks);
    FakeNow = 5'999'999;
    EXPECT_EQ(timeGetTime(), 5u);
    Sleep(13);
    EXPECT_EQ(std::make_pair(LastDeadline, timeGetTime()), std::make_pair(uint64_t{18'999'999}, DWORD{18}));
    // The millisecond counter wraps after 2^32 ms.
    FakeNow = (uint64_t(1) << 32) * 1'000'000 + 7'000'000;
    EXPECT_EQ(timeGetTime(), 7u);
    EXPECT_EQ(SleepCalls, 1);

    SetClockHooks(nullptr);
    EXPECT_EQ(timeBeginPeriod(1), 0u);
    const uint64_t start = MonotonicNanoseconds();
    SleepUntilNanoseconds(start + 2'000'000);
    EXPECT_GE(MonotonicNanoseconds(), start + 2'000'000);
    const DWORD before = timeGetTime();
    Sleep(3);
    EXPECT_GE(timeGetTime() - before, 3u);
    EXPECT_EQ(SleepCalls, 1);
}

TEST(TextTest, TheCurrentDirectoryNeedsRoomForItsTerminator) {
    char expected[PATH_MAX], buffer[PATH_MAX] = {'x'};
    ASSERT_NE(getcwd(expected, sizeof expected), nullptr);
    const DWORD length = static_cast<DWORD>(strlen(expected));
    // One short, or no buffer: told the size needed and left untouched.
    EXPECT_EQ(GetCurrentDirectoryA(length, buffer), length + 1);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
    EXPECT_EQ(GetCurrentDirectoryA(length + 1, buffer), length);
    EXPECT_STREQ(buffer, expected);
}

TEST(TextTest, Utf8BecomesUtf16AndMalformedBytesBecomeReplacements) {
    // A path as the sound module hands it over, terminator included; a
    // surrogate pair; then a stray continuation, an overlong form, an
    // encoded surrogate and a sequence cut off at the end.
    const struct {
        const char* bytes;
        int length;
        std::u16string want;
    } cases[] = {{"Sound/雨.wav", -1, std::u16string(u"Sound/雨.wav", 12)},
                 {"ab", 2, u"ab"},
                 {"\xF0\x9F\x8E\xB5", 4, u"\U0001F3B5"},
                 {"\x80" "a\xC0\xAF", 4, u"\uFFFDa\uFFFD\uFFFD"},
                 {"\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
                 {"x\xE9\x9B", 3, u"x\uFFFD\uFFFD"}};
    char16_t out[256];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const int size = static_cast<int>(c.want.size());
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.bytes, c.length, nullptr, 0), size);
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, c.bytes, c.length, out, 256), size);
        EXPECT_EQ(std::u16string(out, size), c.want);
    }
    // A buffer of exactly one unit takes one; too small a buffer fails
    // without writing past it.
    char16_t one[1] = {0};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 1, one, 1), 1);
    EXPECT_EQ(one[0], u'a');
    char16_t tiny[4] = {0, 0, 0, u'!'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "Sound", -1, tiny, 3), 0);
    EXPECT_EQ(tiny[3], u'!');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, out, 256), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, out, 256), 0);
    EXPECT_EQ(MultiByteToWideChar(932, 0, "a", 1, out, 256), 0);
}

}  // namespace
