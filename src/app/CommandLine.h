#pragma once
// The program's command line: `ondasort [options] [folder | file]`.
//
// --help and --version are answered without a window, so without a display.
// A folder argument is this run's source folder; a file argument opens its
// folder with that file current. Arguments are file-system bytes and stay
// bytes: a folder whose name is not UTF-8 is still the folder opened. Qt's
// own options (-style fusion, -platform offscreen, ...) are passed over
// here; the application object takes them.
#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace commandline {

enum class Action
{
    Run,
    Help,
    Version,
    UsageError,
};

struct Request
{
    Action action = Action::Run;
    // The folder or file argument as given; empty when there is none.
    QByteArray path;
    // What is wrong with the command line (UsageError).
    QString error;
};

// Exit status of a command line that cannot be understood.
constexpr int kUsageStatus = 2;
// Exit status when the program cannot start as asked (no display, a path
// that names no folder).
constexpr int kCannotStartStatus = 1;

// The arguments after the program's name.
Request parse(const QByteArrayList &arguments);

QString helpText(const QString &programName);
QString versionText();

} // namespace commandline
