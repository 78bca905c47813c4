// Start-up and shut-down of the main window: the settings file (beside the
// executable, or in the user's config folder for a system-wide install) is
// read when the window is created and written when it closes.
#include "app/MainForm1.h"

#include "app/SettingsWriteError.h"
#include "app/SortTexts.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileMask.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "shell/FolderTreeView.h"
#include "sorting/SortSession.h"

#include <QCloseEvent>
#include <QFile>
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

// Why a settings file in the way is neither read nor overwritten; empty for
// a file that can be used (or does not exist yet).
QString refusedSettingsMessage(const ProfileSnapshot &settings, const QByteArray &path)
{
    QString why;
    switch (settings.outcome()) {
    case regularfile::Outcome::Read:
    case regularfile::Outcome::Missing:
    case regularfile::Outcome::Unreadable:
        return QString();
    case regularfile::Outcome::NotRegular:
        why = QStringLiteral("通常のファイルではありません");
        break;
    case regularfile::Outcome::TooLarge:
        why = QStringLiteral("%1 MiB を超えています").arg(ProfileFile::kMaxFileSize >> 20);
        break;
    }
    return QStringLiteral("設定ファイル %1 を読み込めません（%2）。\n"
                          "既定の設定で起動します。このファイルは終了時にも書き換えません。")
        .arg(QFile::decodeName(path), why);
}

} // namespace

QByteArray TMainForm1::settingsPath() const
{
    return settingslocation::settingsFile(m_executableDirectory);
}

void TMainForm1::FormCreate(QObject *)
{
    // The file is read once; every entry comes from this copy.
    const ProfileSnapshot settings = ProfileFile(settingsPath()).snapshot();
    const QString refused = refusedSettingsMessage(settings, settingsPath());
    m_keepSettingsFile = !refused.isEmpty();
    if (m_keepSettingsFile) {
        // Shown once the window is up, so it stands in front of it.
        QMetaObject::invokeMethod(this, [this, refused] { m_showError(refused); }, Qt::QueuedConnection);
    }

    if (const auto top = settings.readInteger(kPositionSection, "M_TOP"))
        move(x(), *top);
    if (const auto left = settings.readInteger(kPositionSection, "M_LEFT"))
        move(*left, y());

    if (const auto move = settings.readInteger(kFoldersSection, "MODE1"))
        setRadioChecked(RadioButton1, *move != 0);
    if (const auto copy = settings.readInteger(kFoldersSection, "MODE2"))
        setRadioChecked(RadioButton2, *copy != 0);

    // The further patterns come before the folder, so that it is read once.
    m_extraMask = settings.readString(kFoldersSection, "EXTMASK", FileMask::kCurrentMedia);
    const QByteArray extra = m_extraMask.trimmed();
    FileListBox1->setMask(extra.isEmpty() ? QByteArray(FileMask::kMedia) : FileMask::kMedia + (";" + extra));

    // A stored folder that cannot be applied leaves the tree, or the slot,
    // as it was; the others are still applied.
    FolderTreeView0->setFolderName(settings.readString(kFoldersSection, "LIST00", FolderTreeView0->FolderName()));
    // A stored folder that has not answered: the list waits for it already,
    // showing that it loads; the tree's changes follow when it answers.
    const QByteArray walking = FolderTreeView0->walkingTo();
    if (!walking.isEmpty() && walking != FileListBox1->Directory()) {
        FileListBox1->setDirectory(walking, [this](bool entered) {
            if (!entered)
                return;
            if (FileListBox1->count() > 0)
                FileListBox1->selectIndex(0);
            FileListBox1Click(this);
        });
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        TBrowseEdit *edit = BrowseEdit[slot - 1];
        edit->setPath(settings.readString(kFoldersSection, slotKey(slot), edit->Path()));
    }

    // Temporary files a killed copy left in the destination folders are
    // removed where redundant, off the GUI thread: a folder on a slow disk
    // must not hold the window.
    QByteArrayList folders;
    for (const TBrowseEdit *edit : BrowseEdit)
        folders << edit->Path();
    m_sortSession->removeLeftovers(folders);
}


void TMainForm1::FormClose(QObject *)
{
    // A file refused at start (a FIFO, a device, a huge file) is left alone.
    if (!m_keepSettingsFile) {
        // A folder the tree still waits for is the one chosen.
        const QByteArray walking = FolderTreeView0->walkingTo();
        const QByteArray sourceFolder = walking.isEmpty() ? FolderTreeView0->FolderName() : walking;
        ProfileChanges changes;
        changes.writeInteger(kPositionSection, "M_TOP", y())
            .writeInteger(kPositionSection, "M_LEFT", x())
            .writeBool(kFoldersSection, "MODE1", RadioButton1->isChecked())
            .writeBool(kFoldersSection, "MODE2", RadioButton2->isChecked())
            .writeString(kFoldersSection, "LIST00", sourceFolder);
        for (int slot = 1; slot <= kSlotCount; ++slot)
            changes.writeString(kFoldersSection, slotKey(slot), BrowseEdit[slot - 1]->Path());
        changes.writeString(kFoldersSection, "EXTMASK", m_extraMask);
        settingslocation::makeFolderFor(settingsPath());
        // All entries in one rewrite: either all of them are on disk or none.
        ProfileFile settings(settingsPath());
        if (!settings.write(changes))
            throw SettingsWriteError(settings.path());
    }

    WindowsMediaPlayer1->setURL(QByteArray());
}

bool TMainForm1::closeAnyway()
{
    return m_askCloseAnyway(sorttexts::closeWhileStalled(m_sortSession->progress()));
}

void TMainForm1::closeEvent(QCloseEvent *event)
{
    // Moves and copies still waiting are finished first, in view, and the
    // window then closes by itself; the settings are written after them.
    // One that waits for a device that does not answer may be given up.
    if (!m_sortSession->isIdle() && m_sortSession->progress().stalled && closeAnyway())
        m_sortSession->abandon();
    if (!m_sortSession->isIdle()) {
        event->ignore();
        if (!m_closeRequested) {
            m_closeRequested = true;
            m_failedWhileClosing = false;
            WindowsMediaPlayer1->setURL(QByteArray());
            showMessage(QStringLiteral("ファイルの移動と複製が終わりしだい終了します。"));
        }
        return;
    }
    try {
        FormClose(this);
        event->accept();
    } catch (const std::exception &error) {
        // The window stays open; each further close attempt tries again.
        event->ignore();
        m_showError(QString::fromUtf8(error.what()));
    }
}
