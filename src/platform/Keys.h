#pragma once
// Translation of Qt key events into the virtual-key codes the key handlers
// work on: Space 32, main-keyboard digits 48..57, keypad digits 96..105 (only
// while Num Lock makes the keypad send digits), F1..F12 112..123, letters
// 65..90. Keys without a code give 0.
class QKeyEvent;

namespace keys {

constexpr int kVkSpace = 32;
constexpr int kVkDelete = 46;
constexpr int kVkNumpad0 = 96;
constexpr int kVkF1 = 112;

int virtualKey(int qtKey, bool keypad);
int virtualKey(const QKeyEvent *event);

} // namespace keys
