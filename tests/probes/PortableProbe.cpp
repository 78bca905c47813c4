// A stand-in for the program itself, run from wherever a test copies it:
// builds the main window with its own surroundings (its executable's folder,
// the settings file beside it), presses "?" and "i", closes the window, and
// prints what it opened and where its player module would come from, one
// "what<TAB>bytes" line each.
#include "app/MainForm1.h"
#include "player/MpvBackendLoader.h"
#include "skin/GlintFadeButton.h"
#include "support/RecordingBackend.h"
#include "support/UrlRecorder.h"

#include <QApplication>
#include <QMenu>

#include <cstdio>

namespace {

void print(const char *what, const QByteArray &bytes)
{
    std::printf("%s\t%s\n", what, bytes.constData());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    UrlRecorder recorder;
    PlayerRecord player;
    TMainForm1::Surroundings surroundings;
    surroundings.playerBackend = [&player] { return RecordingBackend::make(player); };
    surroundings.showError = [](const QString &message) { print("error", message.toUtf8()); };
    auto form = std::make_unique<TMainForm1>(surroundings);
    // "?" offers the guide in its menu.
    form->FadeButton1->click();
    if (form->GuideAction)
        form->GuideAction->trigger();
    if (form->GuideMenu)
        form->GuideMenu->hide();
    form->FadeButton4->click();
    for (const QUrl &url : recorder.opened)
        print(url.scheme() == QStringLiteral("file") ? "guide" : "info",
            url.scheme() == QStringLiteral("file")
                ? QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                : url.toEncoded());
    print("module", MpvBackendLoader::defaultModulePath());
    print("closed", form->close() ? "yes" : "no");
    return 0;
}
