#include "app/MainForm1.h"

#include "app/ErrorDisplay.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/DesktopOpen.h"
#include "platform/FileCalls.h"
#include "platform/FileSystem.h"
#include "platform/Keys.h"
#include "platform/Paths.h"
#include "settings/SettingsLocation.h"
#include "sorting/SortSession.h"
#include "shell/FolderTreeView.h"
#include "skin/ClearButton.h"
#include "skin/GlintFadeButton.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRadioButton>
#include <QToolButton>
#include <QWindow>

TMainForm1 *MainForm1 = nullptr;

TMainForm1::TMainForm1(QWidget *parent)
    : TMainForm1(Surroundings(), parent)
{
}

TMainForm1::TMainForm1(const Surroundings &surroundings, QWidget *parent)
    : QWidget(parent)
{
    MainForm1 = this;
    m_makePlayerBackend = surroundings.playerBackend;
    buildLayout();
    connectHandlers();
    m_showError = surroundings.showError ? surroundings.showError
                                         : [this](const QString &message) { showErrorMessage(this, message); };
    // A player that cannot start is reported; sorting still works without it.
    connect(WindowsMediaPlayer1, &TWindowsMediaPlayer::backendFailed, this,
        [this](const QString &message) { m_showError(message); });
    m_askCloseAnyway = surroundings.askCloseAnyway ? surroundings.askCloseAnyway : [this](const QString &question) {
        return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    };
    m_fileSystem = surroundings.fileSystem ? surroundings.fileSystem : &FileSystem::posix();
    FileListBox1->setFileSystem(*m_fileSystem);
    for (int n = 1; n <= kSlotCount; ++n) {
        m_slotCalls[n - 1] = new FileCalls(this);
        connect(m_slotCalls[n - 1], &FileCalls::slow, this, [this, n] { showSlotWaiting(n); });
    }
    m_executableDirectory = surroundings.executableDirectory.isEmpty()
        ? paths::directoryPart(QFile::encodeName(QCoreApplication::applicationFilePath()))
        : surroundings.executableDirectory;
    m_sortSession = std::make_unique<SortSession>(
        paths::join(paths::directoryPart(settingsPath()), settingslocation::kJournalName), *m_fileSystem);
    connectSortSession();
    FormCreate(this);
    FileListBox1->setFocus();
}

TMainForm1::~TMainForm1()
{
    if (MainForm1 == this)
        MainForm1 = nullptr;
}

void TMainForm1::connectHandlers()
{
    connect(FadeButton1, &QAbstractButton::clicked, this, [this] { FadeButton1Click(FadeButton1); });
    connect(FadeButton2, &QAbstractButton::clicked, this, [this] { FadeButton2Click(FadeButton2); });
    connect(FadeButton3, &QAbstractButton::clicked, this, [this] { FadeButton3Click(FadeButton3); });
    connect(FadeButton4, &QAbstractButton::clicked, this, [this] { FadeButton4Click(FadeButton4); });

    connect(FolderTreeView0, &TFolderTreeView::OnChange, this,
        [this](QObject *sender) { FolderTreeView0Change(sender); });
    connect(FileListBox1, &TFileListBox::OnClick, this, [this](QObject *sender) {
        m_advancedFrom = -1;
        FileListBox1Click(sender);
    });
    connect(FileListBox1, &TFileListBox::ListingChanged, this, [this] { followReread(); });
    connect(E1, &QAction::triggered, this, [this] { E1Click(E1); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(SpeedButton1); });

    for (int n = 1; n <= kSlotCount; ++n) {
        TClearButton *button = ClearButton[n - 1];
        connect(button, &TClearButton::clicked, this, [this, n, button] { ClearButtonClick(n, button); });
        TBrowseEdit *edit = BrowseEdit[n - 1];
        connect(edit, &TBrowseEdit::OnChange, this, [this, n](QObject *sender) { BrowseEditChange(n, sender); });
    }

    // The key map listens to these controls' key-down events without taking
    // the key. The window itself is left out: a key a control ignores travels
    // on to the window and would otherwise run its command a second time.
    QList<QWidget *> keyed {FileListBox1, RadioButton1, RadioButton2};
    for (TBrowseEdit *edit : BrowseEdit)
        keyed << edit;
    for (QWidget *widget : keyed)
        widget->installEventFilter(this);
}

bool TMainForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        int key = keys::virtualKey(keyEvent);
        FormKeyDown(watched, key, keyEvent->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm1::event(QEvent *event)
{
    // Activation counts once: when the window first takes the focus after start-up.
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        FormActivate(this);
    }
    return QWidget::event(event);
}

void TMainForm1::FormActivate(QObject *)
{
    repaint();
    FileListBox1Click(this);
}

void TMainForm1::mousePressEvent(QMouseEvent *event)
{
    // Only presses on the window's bare surface arrive here: panels answer their own.
    if (event->button() != Qt::LeftButton)
        return;
    QWindow *window = windowHandle();
    if (window && window->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TMainForm1::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void TMainForm1::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

QByteArray TMainForm1::usersGuidePath(const QByteArray &executableDirectory)
{
    return executableDirectory + "/Readme.txt";
}

QString TMainForm1::informationUrl(const QByteArray &executableName)
{
    return QStringLiteral("http://") + QLatin1String(kInformationServer)
        + QStringLiteral("/info.php?pf=w&sn=") + paths::toDisplay(paths::dropExtension(executableName));
}

void TMainForm1::FadeButton1Click(QObject *)
{
    desktop::openLocalFile(usersGuidePath(m_executableDirectory));
}

void TMainForm1::FadeButton2Click(QObject *)
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void TMainForm1::FadeButton3Click(QObject *)
{
    close();
}

void TMainForm1::FadeButton4Click(QObject *)
{
    const QByteArray exe = QFile::encodeName(QCoreApplication::applicationFilePath());
    desktop::openUrl(informationUrl(paths::lastComponent(exe)));
}
