// Listening from the keypad: its operator keys jump through the current
// file, pause it and take it back to its start, where Delete and Ctrl+Z act
// (the file list and the mode radios), so in a destination field they stay
// characters. The player's controls never keep the keyboard: after any use
// of them with the mouse the list has it again, and the next key sorts.
#include "app/MainForm1.h"

#include "app/WindowsMediaPlayer.h"
#include "controls/FileListBox.h"
#include "platform/Keys.h"
#include "platform/Paths.h"

namespace {

constexpr double kSkipSeconds = 10;
constexpr double kLongSkipSeconds = 60;

} // namespace

void TMainForm1::connectListening()
{
    connect(WindowsMediaPlayer1, &TWindowsMediaPlayer::controlsUsed, this,
        [this] { FileListBox1->setFocus(Qt::OtherFocusReason); });
}

bool TMainForm1::ListeningKeyDown(int Key, Qt::KeyboardModifiers Shift)
{
    const double step = Shift.testFlag(Qt::ShiftModifier) ? kLongSkipSeconds : kSkipSeconds;
    switch (Key) {
    case keys::kVkAdd:
        WindowsMediaPlayer1->skip(step);
        return true;
    case keys::kVkSubtract:
        WindowsMediaPlayer1->skip(-step);
        return true;
    case keys::kVkMultiply:
        WindowsMediaPlayer1->togglePause();
        return true;
    case keys::kVkDivide:
        WindowsMediaPlayer1->restart();
        return true;
    default:
        return false;
    }
}

void TMainForm1::announceUpcoming()
{
    // After a sort or a skip the file that follows plays; after the last
    // one, a move plays the one before it.
    const int index = FileListBox1->selectedIndex();
    const int count = FileListBox1->count();
    const int upcoming = index + 1 < count ? index + 1 : index - 1;
    WindowsMediaPlayer1->setUpcoming(index >= 0 && upcoming >= 0
        ? paths::join(FileListBox1->Directory(), FileListBox1->itemName(upcoming)) : QByteArray());
}
