// The message box's keyboard: the focus, which key answers what, and keys
// held from the game.
#include <gtest/gtest.h>

#include "platform/msgbox_keys.h"

namespace {

// A key pressed and let go in the box.
int Press(BoxKeys* box, BoxKey key, bool shift = false) {
    BoxKeyDown(box, key, shift);
    return BoxKeyUp(box, key);
}

BoxKeys YesNo() { return OpenBoxKeys(true, nullptr); }

TEST(MessageBoxKeys, TheFocusStartsOnYesAndEveryMoveKeyGoesToTheOtherButton) {
    BoxKeys box = YesNo();
    EXPECT_EQ(Press(&box, BoxKey::Enter), IDYES);
    for (BoxKey key : {BoxKey::Tab, BoxKey::Left, BoxKey::Right}) {
        for (bool shift : {false, true}) {
            box = YesNo();
            EXPECT_EQ(Press(&box, key, shift), NoAnswer);
            EXPECT_EQ(Press(&box, BoxKey::Space), IDNO) << static_cast<int>(key) << " shift " << shift;
            EXPECT_EQ(Press(&box, key, shift), NoAnswer);
            EXPECT_EQ(Press(&box, BoxKey::Enter), IDYES);
        }
    }
}

TEST(MessageBoxKeys, YAndNAnswerWhereverTheFocusIsAndEscAndOtherKeysNever) {
    BoxKeys box = YesNo();
    EXPECT_EQ(Press(&box, BoxKey::No), IDNO);
    box = YesNo();
    Press(&box, BoxKey::Tab);
    EXPECT_EQ(Press(&box, BoxKey::Yes), IDYES);
    for (BoxKey key : {BoxKey::Escape, BoxKey::Other}) EXPECT_EQ(Press(&box, key), NoAnswer);
    // An answer comes as the key is let go, not as it goes down.
    BoxKeyDown(&box, BoxKey::No, false);
    EXPECT_EQ(box.focus, SecondButton);
    EXPECT_EQ(BoxKeyUp(&box, BoxKey::No), IDNO);
}

TEST(MessageBoxKeys, KeysHeldWhenTheBoxOpensAnswerNothingUntilPressedAgain) {
    bool held[BoxKeyCount] = {};
    for (BoxKey key : {BoxKey::Enter, BoxKey::Escape, BoxKey::No, BoxKey::Tab}) held[static_cast<int>(key)] = true;
    BoxKeys box = OpenBoxKeys(true, held);
    // Auto-repeat sends presses of a key already down.
    BoxKeyDown(&box, BoxKey::Tab, false);
    BoxKeyDown(&box, BoxKey::Enter, false);
    EXPECT_EQ(box.focus, FirstButton);
    for (BoxKey key : {BoxKey::Enter, BoxKey::Escape, BoxKey::No, BoxKey::Tab}) EXPECT_EQ(BoxKeyUp(&box, key), NoAnswer);
    EXPECT_EQ(box.focus, FirstButton);
    EXPECT_EQ(Press(&box, BoxKey::No), IDNO);

    // A key pressed in the box repeats without moving the focus again.
    box = OpenBoxKeys(true, held);
    BoxKeyUp(&box, BoxKey::Tab);
    for (int repeat = 0; repeat < 3; ++repeat) BoxKeyDown(&box, BoxKey::Tab, false);
    EXPECT_EQ(box.focus, SecondButton);
}

TEST(MessageBoxKeys, AnOkBoxClosesWithEnterSpaceOrEscAndKeepsItsOneButton) {
    for (BoxKey key : {BoxKey::Enter, BoxKey::Space, BoxKey::Escape}) {
        BoxKeys box = OpenBoxKeys(false, nullptr);
        for (BoxKey other : {BoxKey::Tab, BoxKey::Right, BoxKey::Yes, BoxKey::No}) EXPECT_EQ(Press(&box, other), NoAnswer);
        EXPECT_EQ(box.focus, FirstButton);
        EXPECT_EQ(Press(&box, key), IDOK);
    }
}

// Closed, destroyed or ended by a signal: an OK box is answered OK however
// it goes, the question No, wherever its focus was.
TEST(MessageBoxKeys, ABoxGoneWithoutAButtonAnswersOkOrNo) {
    BoxKeys ok = OpenBoxKeys(false, nullptr);
    EXPECT_EQ(BoxCloseAnswer(ok), IDOK);
    BoxKeys question = YesNo();
    EXPECT_EQ(BoxCloseAnswer(question), IDNO);
    Press(&question, BoxKey::Tab);
    Press(&question, BoxKey::Tab);
    EXPECT_EQ(BoxCloseAnswer(question), IDNO);
}

}  // namespace
