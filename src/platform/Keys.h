#pragma once
// Translation of Qt key events into the virtual-key codes the key handlers
// work on: Space 32, main-keyboard digits 48..57, keypad digits 96..105 (only
// while Num Lock makes the keypad send digits), the keypad's * + - . /
// 106, 107, 109, 110, 111 (with or without Num Lock), F1..F12 112..123,
// letters 65..90. Keys without a code give 0.
class QKeyEvent;

namespace keys {

constexpr int kVkSpace = 32;
constexpr int kVkDelete = 46;
constexpr int kVkNumpad0 = 96;
constexpr int kVkMultiply = 106;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkF1 = 112;

int virtualKey(int qtKey, bool keypad);
int virtualKey(const QKeyEvent *event);

} // namespace keys
