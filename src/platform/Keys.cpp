#include "platform/Keys.h"

#include <QKeyEvent>

namespace keys {

int virtualKey(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? kVkNumpad0 : '0') + (qtKey - Qt::Key_0);
    if (keypad) {
        switch (qtKey) {
        case Qt::Key_Asterisk: return kVkMultiply;
        case Qt::Key_Plus: return kVkAdd;
        case Qt::Key_Minus: return kVkSubtract;
        // The keypad's decimal key types "," under some layouts.
        case Qt::Key_Period:
        case Qt::Key_Comma: return kVkDecimal;
        case Qt::Key_Slash: return kVkDivide;
        default: break;
        }
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return kVkF1 + (qtKey - Qt::Key_F1);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    switch (qtKey) {
    case Qt::Key_Space: return kVkSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return kVkDelete;
    default: return 0;
    }
}

int virtualKey(const QKeyEvent *event)
{
    return virtualKey(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
}

} // namespace keys
