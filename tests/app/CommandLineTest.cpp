// The command line: what is parsed from it, where a path argument leads, and
// the program itself answering --help and --version without a display and
// ending cleanly when it has none.
#include "app/CommandLine.h"
#include "app/KeyGuide.h"
#include "app/SourcePlace.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using commandline::Action;

struct ParseCase
{
    QByteArrayList arguments;
    Action action;
    QByteArray path;
};

TEST(CommandLineTest, ParsesOptionsAndOnePath)
{
    const ParseCase cases[] = {
        {{}, Action::Run, ""},
        {{"/music/inbox"}, Action::Run, "/music/inbox"},
        {{"\x83\x65\x83\x58\x83\x67"}, Action::Run, "\x83\x65\x83\x58\x83\x67"},
        {{"--help"}, Action::Help, ""},
        {{"-h"}, Action::Help, ""},
        {{"/music", "--help"}, Action::Help, ""},
        {{"--version"}, Action::Version, ""},
        {{"-v"}, Action::Version, ""},
        // Qt's own options, with their values, are passed over.
        {{"-style", "fusion", "/music"}, Action::Run, "/music"},
        {{"-style=fusion", "/music"}, Action::Run, "/music"},
        {{"--platform", "offscreen", "-reverse", "/music"}, Action::Run, "/music"},
        {{"-display", ":1", "-name", "x"}, Action::Run, ""},
        // After "--" everything is a path.
        {{"--", "--help"}, Action::Run, "--help"},
        {{"--", "-odd name"}, Action::Run, "-odd name"},
        // Refused: unknown options, two paths, an option without its value, an empty path.
        {{"--bogus"}, Action::UsageError, ""},
        {{"-x"}, Action::UsageError, ""},
        {{"/one", "/two"}, Action::UsageError, "/one"},
        {{"/music", "-style"}, Action::UsageError, "/music"},
        {{""}, Action::UsageError, ""},
    };
    for (const ParseCase &c : cases) {
        const commandline::Request request = commandline::parse(c.arguments);
        const QByteArray shown = c.arguments.join(' ');
        EXPECT_EQ(request.action, c.action) << shown.constData();
        if (c.action == Action::Run) {
            EXPECT_EQ(request.path, c.path) << shown.constData();
        }
        EXPECT_EQ(request.error.isEmpty(), c.action != Action::UsageError) << shown.constData();
    }
}

TEST(CommandLineTest, APathLeadsToAFolderOrToAFileInItsFolder)
{
    TempFolder root;
    const QByteArray folder = root / "inbox";
    const QByteArray sjis = root / "\x83\x65\x83\x58\x83\x67";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::mkdir(sjis.constData(), 0755), 0);
    TempFolder::write(folder + "/take 1.wav", "x");
    ASSERT_EQ(::mkfifo((folder + "/pipe").constData(), 0644), 0);

    // An earlier test may have left the process in a folder removed since
    // (the file list enters the folder it shows): then "/" is returned to.
    char cwd[4096] {};
    if (!::getcwd(cwd, sizeof cwd))
        std::strcpy(cwd, "/");
    ASSERT_EQ(::chdir(root.path().constData()), 0);
    struct Case
    {
        QByteArray argument;
        QByteArray folder;
        QByteArray fileName;
    };
    const Case cases[] = {
        {folder, folder, ""},
        {folder + "/", folder, ""},
        {"inbox", folder, ""},
        {"./inbox/../inbox/take 1.wav", folder, "take 1.wav"},
        {sjis, sjis, ""},
        {"file://" + sjis.toPercentEncoding("/"), sjis, ""},
        {"file://localhost" + (folder + "/take 1.wav").toPercentEncoding("/"), folder, "take 1.wav"},
        // Nothing to open: each is named in the error.
        {root / "missing", "", ""},
        {folder + "/pipe", "", ""},
        {"file://elsewhere.example/music", "", ""},
    };
    for (const Case &c : cases) {
        const SourcePlace place = SourcePlace::of(c.argument);
        EXPECT_EQ(place.folder, c.folder) << c.argument.constData();
        EXPECT_EQ(place.fileName, c.fileName) << c.argument.constData();
        EXPECT_EQ(place.error.isEmpty(), !c.folder.isEmpty()) << c.argument.constData();
    }
    ASSERT_EQ(::chdir(cwd), 0);
}

struct Outcome
{
    int status = -1;
    bool crashed = true;
    QString out;
    QString err;
};

// Runs the program itself with the given arguments and a display setting
// (unset when empty), with Qt left to pick its usual platform.
Outcome runProgram(const QStringList &arguments, const QString &display = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ONDASORT_PROGRAM), arguments);
    Outcome outcome;
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return outcome;
    }
    outcome.status = program.exitCode();
    outcome.crashed = program.exitStatus() != QProcess::NormalExit;
    outcome.out = QString::fromUtf8(program.readAllStandardOutput());
    outcome.err = QString::fromUtf8(program.readAllStandardError());
    return outcome;
}

TEST(CommandLineTest, HelpAndVersionAnswerWithoutADisplay)
{
    const Outcome help = runProgram({QStringLiteral("--help")});
    EXPECT_FALSE(help.crashed);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("使い方")));
    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("--version")})
        EXPECT_TRUE(help.out.contains(option)) << option.toStdString();
    // Every key the window acts on, its own ones included.
    for (const keyguide::Entry &entry : keyguide::entries())
        EXPECT_TRUE(help.out.contains(entry.keys)) << entry.keys.toStdString();
    for (const QString &key : {QStringLiteral("F1〜F9"), QStringLiteral("Delete"), QStringLiteral("Ctrl+Z"),
             QStringLiteral("Ctrl+R"), QStringLiteral("スペース")})
        EXPECT_TRUE(help.out.contains(key)) << key.toStdString();
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const Outcome version = runProgram({QStringLiteral("--version")});
    EXPECT_FALSE(version.crashed);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("Ondasort %1\n").arg(QLatin1String(ONDASORT_VERSION)));
}

TEST(CommandLineTest, WithoutADisplayTheProgramSaysSoAndEndsWithStatusOne)
{
    TempFolder root;
    // No display at all, and a display nobody answers on.
    for (const QString &display : {QString(), QStringLiteral(":7391")}) {
        const Outcome outcome = runProgram({QFile::decodeName(root.path())}, display);
        EXPECT_FALSE(outcome.crashed) << display.toStdString();
        EXPECT_EQ(outcome.status, 1) << display.toStdString();
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("ウィンドウを開けません"))) << outcome.err.toStdString();
        if (!display.isEmpty()) {
            EXPECT_TRUE(outcome.err.contains(display)) << outcome.err.toStdString();
        }
        // Only the message, in Japanese: Qt's own English lines are held back.
        EXPECT_FALSE(outcome.err.contains(QStringLiteral("qt.qpa"))) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.err.contains(QStringLiteral("This application"))) << outcome.err.toStdString();
    }
}

TEST(CommandLineTest, ABadCommandLineIsRefusedBeforeAnyWindow)
{
    TempFolder root;
    struct Case
    {
        QStringList arguments;
        int status;
        QString said;
    };
    const Case cases[] = {
        {{QStringLiteral("--bogus")}, 2, QStringLiteral("--bogus")},
        {{QStringLiteral("/a"), QStringLiteral("/b")}, 2, QStringLiteral("/b")},
        {{QFile::decodeName(root / "missing")}, 1, QStringLiteral("missing")},
    };
    for (const Case &c : cases) {
        const Outcome outcome = runProgram(c.arguments, QStringLiteral(":7391"));
        EXPECT_FALSE(outcome.crashed);
        EXPECT_EQ(outcome.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(c.said)) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.err.contains(QStringLiteral("ウィンドウを開けません"))) << outcome.err.toStdString();
    }
}

} // namespace
