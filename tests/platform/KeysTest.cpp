#include "platform/Keys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

struct KeyCase
{
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
};

class KeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeysTest, TranslatesQtKeysToVirtualKeys)
{
    const KeyCase &c = GetParam();
    QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers);
    EXPECT_EQ(keys::virtualKey(&event), c.virtualKey) << std::hex << c.qtKey;
}

INSTANTIATE_TEST_SUITE_P(Keys, KeysTest, ::testing::Values(
    KeyCase {Qt::Key_Space, Qt::NoModifier, 32},
    KeyCase {Qt::Key_0, Qt::KeypadModifier, 96},
    KeyCase {Qt::Key_1, Qt::KeypadModifier, 97},
    KeyCase {Qt::Key_9, Qt::KeypadModifier, 105},
    // Modifiers beside the keypad flag change nothing.
    KeyCase {Qt::Key_3, Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier, 99},
    KeyCase {Qt::Key_0, Qt::NoModifier, 48},
    KeyCase {Qt::Key_9, Qt::NoModifier, 57},
    KeyCase {Qt::Key_F1, Qt::NoModifier, 112},
    KeyCase {Qt::Key_F9, Qt::NoModifier, 120},
    KeyCase {Qt::Key_F12, Qt::NoModifier, 123},
    KeyCase {Qt::Key_A, Qt::NoModifier, 65},
    // Keypad keys without Num Lock arrive as navigation keys.
    KeyCase {Qt::Key_End, Qt::KeypadModifier, 35},
    KeyCase {Qt::Key_Launch0, Qt::NoModifier, 0},
    // The keypad's operator keys, also with Shift; the main keyboard's give nothing.
    KeyCase {Qt::Key_Plus, Qt::KeypadModifier, 107},
    KeyCase {Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier, 107},
    KeyCase {Qt::Key_Minus, Qt::KeypadModifier, 109},
    KeyCase {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
    KeyCase {Qt::Key_Slash, Qt::KeypadModifier, 111},
    KeyCase {Qt::Key_Period, Qt::KeypadModifier, 110},
    KeyCase {Qt::Key_Comma, Qt::KeypadModifier, 110},
    KeyCase {Qt::Key_Plus, Qt::NoModifier, 0},
    KeyCase {Qt::Key_Minus, Qt::NoModifier, 0},
    KeyCase {Qt::Key_Slash, Qt::NoModifier, 0},
    KeyCase {Qt::Key_Down, Qt::KeypadModifier, 40}));

} // namespace
