// The window's help: the "?" button's menu with the key map window and the
// user's guide, and the "i" button's information page. Both hand a document
// to the desktop; when no program takes it, the message line says so and
// where the document is.
#include "app/MainForm1.h"

#include "app/KeyMapWindow.h"
#include "platform/DesktopOpen.h"
#include "platform/ExecutablePath.h"
#include "platform/FileSystem.h"
#include "platform/PathResolve.h"
#include "platform/Paths.h"
#include "skin/GlintFadeButton.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>

#ifndef ONDASORT_GUIDE_FOLDER
#error "ONDASORT_GUIDE_FOLDER names the installed guide's folder, relative to the program's"
#endif

namespace {

// A long path or address in the narrow message line breaks after its
// separators instead of running out of sight.
QString breakable(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        out += c;
        if (c == QLatin1Char('/') || c == QLatin1Char('?') || c == QLatin1Char('&'))
            out += QChar(0x200B);
    }
    return out;
}

} // namespace

QByteArray TMainForm1::usersGuidePath(const QByteArray &executableDirectory)
{
    return executableDirectory + "/Readme.txt";
}

QByteArray TMainForm1::usersGuideFile() const
{
    const QByteArray beside = usersGuidePath(m_executableDirectory);
    if (FileSystem::posix().isRegularFile(beside))
        return beside;
    const QByteArray installed = paths::absoluteClean(ONDASORT_GUIDE_FOLDER "/Readme.txt", m_executableDirectory);
    return FileSystem::posix().isRegularFile(installed) ? installed : beside;
}

QString TMainForm1::informationUrl(const QByteArray &executableName)
{
    return QStringLiteral("http://") + QLatin1String(kInformationServer)
        + QStringLiteral("/info.php?pf=w&sn=") + paths::toDisplay(paths::dropExtension(executableName));
}

void TMainForm1::showGuideMenu()
{
    if (!GuideMenu) {
        GuideMenu = new QMenu(this);
        GuideMenu->setObjectName(QStringLiteral("GuideMenu"));
        GuideMenu->setFont(font());
        KeyMapAction = GuideMenu->addAction(QStringLiteral("キー操作の一覧(&K)"));
        GuideAction = GuideMenu->addAction(QStringLiteral("ユーザーズガイド(&G)"));
        connect(KeyMapAction, &QAction::triggered, this, [this] { showKeyMap(); });
        connect(GuideAction, &QAction::triggered, this, [this] { FadeButton1Click(FadeButton1); });
    }
    GuideMenu->popup(FadeButton1->mapToGlobal(QPoint(FadeButton1->width(), 0)));
}

void TMainForm1::showKeyMap()
{
    if (!m_keyMapWindow)
        m_keyMapWindow = new TKeyMapWindow(this);
    m_keyMapWindow->show();
    m_keyMapWindow->raise();
    m_keyMapWindow->activateWindow();
}

void TMainForm1::FadeButton1Click(QObject *)
{
    const QByteArray guide = usersGuideFile();
    if (!desktop::openLocalFile(guide)) {
        showMessage(QStringLiteral("ガイドを開くプログラムが見つかりません（xdg-utils が必要です）。ガイドのファイル: %1")
                        .arg(breakable(paths::toDisplay(guide))));
    }
}

void TMainForm1::FadeButton4Click(QObject *)
{
    const QString url = informationUrl(executable::fileName());
    if (!desktop::openUrl(url)) {
        showMessage(QStringLiteral("情報ページを開くブラウザが見つかりません（xdg-utils が必要です）。アドレス: %1")
                        .arg(breakable(url)));
    }
}
