// Ondasort: sort media files into folders by listening to them.
#include "app/CommandLine.h"
#include "app/DisplayGuard.h"
#include "app/ErrorDisplay.h"
#include "app/MainForm1.h"
#include "app/SourcePlace.h"
#include "platform/ExitDeadline.h"
#include "platform/QtTranslations.h"
#include "player/MpvBackendLoader.h"

#include <QApplication>
#include <QIcon>

#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString programName(const char *argv0)
{
    const QByteArray path(argv0 ? argv0 : "ondasort");
    return QString::fromLocal8Bit(path.mid(path.lastIndexOf('/') + 1));
}

} // namespace

int main(int argc, char **argv)
{
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);

    // Answered before any window exists, so without a display as well.
    const commandline::Request request = commandline::parse(arguments);
    switch (request.action) {
    case commandline::Action::Help:
        print(stdout, commandline::helpText(programName(argv[0])));
        return 0;
    case commandline::Action::Version:
        print(stdout, commandline::versionText());
        return 0;
    case commandline::Action::UsageError:
        print(stderr, QStringLiteral("%1: %2\n使い方は %1 --help で表示されます。\n")
                          .arg(programName(argv[0]), request.error));
        return commandline::kUsageStatus;
    case commandline::Action::Run:
        break;
    }
    SourcePlace place;
    if (!request.path.isEmpty()) {
        place = SourcePlace::of(request.path);
        if (!place.error.isEmpty()) {
            print(stderr, QStringLiteral("%1: %2\n").arg(programName(argv[0]), place.error));
            return commandline::kCannotStartStatus;
        }
    }
    if (!DisplayGuard::displayToTry(arguments)) {
        print(stderr, DisplayGuard::failureMessage());
        return commandline::kCannotStartStatus;
    }

    auto guard = std::make_unique<DisplayGuard>();
    QApplication app(argc, argv);
    guard.reset();
    QApplication::setApplicationName(QStringLiteral("Ondasort"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ondasort"));
    QApplication::setApplicationVersion(QStringLiteral(ONDASORT_VERSION));
    // Task bars find the desktop entry, and with it the name and the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("ondasort"));
    // libmpv refuses to start under locales with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    // The window speaks Japanese, and so do Qt's dialogs.
    const auto japanese = qttranslations::installJapanese();

    try {
        TMainForm1 form;
        if (!place.folder.isEmpty())
            form.openForThisRun(place);
        form.show();
        // The player module (libmpv and the two hundred libraries it pulls
        // in) loads on a thread of its own from here on, rather than from the
        // player control's first paint. Not earlier: on a busy machine its
        // loading takes the processor time that Qt's start and the window's
        // building would have had, and the window comes later by as much
        // while the first sound comes no sooner. It opens its libraries one
        // at a time, so a plugin Qt loads meanwhile never waits long for the
        // dynamic loader.
        MpvBackendLoader::preload();
        app.exec();
        // The settings are written; tearing down may still wait on a device
        // that hangs, and gets a few seconds for it.
        exitdeadline::endWithin(std::chrono::seconds(3));
    } catch (const std::exception &error) {
        showErrorMessage(nullptr, QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorMessage(nullptr, QString());
    }
    return 0;
}
