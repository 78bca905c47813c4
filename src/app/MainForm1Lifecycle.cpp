// Start-up and shut-down of the main window: the settings file beside the
// executable is read when the window is created and written when it closes.
#include "app/MainForm1.h"

#include "app/SettingsWriteError.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "platform/ProfileFile.h"
#include "shell/FolderTreeView.h"

#include <QCloseEvent>
#include <QRadioButton>

#include <exception>

namespace {

constexpr char kPositionSection[] = "SET";
constexpr char kFoldersSection[] = "SET1";

QByteArray slotKey(int slot)
{
    return "LIST0" + QByteArray::number(slot);
}

// Checking a radio unchecks its partner; unchecking one checks nothing.
void setRadioChecked(QRadioButton *radio, bool checked)
{
    if (radio->isChecked() == checked)
        return;
    radio->setAutoExclusive(checked);
    radio->setChecked(checked);
    radio->setAutoExclusive(true);
}

} // namespace

QByteArray TMainForm1::settingsPath() const
{
    QByteArray dir = m_executableDirectory;
    if (!dir.endsWith('/'))
        dir += '/';
    return dir + "Ondasort.ini";
}

void TMainForm1::FormCreate(QObject *)
{
    const ProfileFile settings(settingsPath());

    if (const auto top = settings.readInteger(kPositionSection, "M_TOP"))
        move(x(), *top);
    if (const auto left = settings.readInteger(kPositionSection, "M_LEFT"))
        move(*left, y());

    if (const auto move = settings.readInteger(kFoldersSection, "MODE1"))
        setRadioChecked(RadioButton1, *move != 0);
    if (const auto copy = settings.readInteger(kFoldersSection, "MODE2"))
        setRadioChecked(RadioButton2, *copy != 0);

    // A stored folder that cannot be applied is skipped; the others still are.
    try {
        FolderTreeView0->setFolderName(
            settings.readString(kFoldersSection, "LIST00", FolderTreeView0->FolderName()));
    } catch (const std::exception &) {
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        try {
            TBrowseEdit *edit = BrowseEdit[slot - 1];
            edit->setPath(settings.readString(kFoldersSection, slotKey(slot), edit->Path()));
        } catch (const std::exception &) {
        }
    }
}

void TMainForm1::FormClose(QObject *)
{
    ProfileFile settings(settingsPath());
    auto write = [&](bool written) {
        if (!written)
            throw SettingsWriteError(settings.path());
    };
    write(settings.writeInteger(kPositionSection, "M_TOP", y()));
    write(settings.writeInteger(kPositionSection, "M_LEFT", x()));
    write(settings.writeBool(kFoldersSection, "MODE1", RadioButton1->isChecked()));
    write(settings.writeBool(kFoldersSection, "MODE2", RadioButton2->isChecked()));
    write(settings.writeString(kFoldersSection, "LIST00", FolderTreeView0->FolderName()));
    for (int slot = 1; slot <= kSlotCount; ++slot)
        write(settings.writeString(kFoldersSection, slotKey(slot), BrowseEdit[slot - 1]->Path()));

    WindowsMediaPlayer1->setURL(QByteArray());
}

void TMainForm1::closeEvent(QCloseEvent *event)
{
    try {
        FormClose(this);
        event->accept();
    } catch (const std::exception &error) {
        // The window stays open; each further close attempt tries again.
        event->ignore();
        m_showError(QString::fromUtf8(error.what()));
    }
}
