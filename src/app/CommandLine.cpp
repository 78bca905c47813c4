#include "app/CommandLine.h"

#include "app/KeyGuide.h"
#include "platform/Paths.h"


#ifndef ONDASORT_VERSION
#error "ONDASORT_VERSION names the program's version"
#endif

namespace commandline {

namespace {

// Qt's own options that take a value (QGuiApplication, QApplication, xcb);
// Qt also accepts them with two dashes and, for some, as -option=value.
const QByteArrayList &qtOptionsWithValue()
{
    static const QByteArrayList names {"platform", "platformpluginpath", "platformtheme", "plugin",
        "qwindowgeometry", "qwindowicon", "qwindowtitle", "display", "geometry", "title", "name",
        "style", "stylesheet", "session", "visual", "ncols", "cmap", "qmljsdebugger"};
    return names;
}

const QByteArrayList &qtFlags()
{
    static const QByteArrayList names {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    return names;
}

QString shown(const QByteArray &argument)
{
    return paths::toDisplay(argument);
}

} // namespace

Request parse(const QByteArrayList &arguments)
{
    Request request;
    auto refuse = [&request](const QString &why) {
        request.action = Action::UsageError;
        request.error = why;
        return request;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.startsWith('-');
        if (!isOption) {
            if (!request.path.isEmpty())
                return refuse(QStringLiteral("開けるフォルダかファイルは一つだけです: %1").arg(shown(argument)));
            if (argument.isEmpty())
                return refuse(QStringLiteral("フォルダかファイルの名前が空です"));
            request.path = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help" || argument == "-help") {
            request.action = Action::Help;
            return request;
        }
        if (argument == "-v" || argument == "--version" || argument == "-version") {
            request.action = Action::Version;
            return request;
        }
        const QByteArray name = argument.mid(argument.startsWith("--") ? 2 : 1);
        const qsizetype equals = name.indexOf('=');
        if (equals > 0 && qtOptionsWithValue().contains(name.left(equals)))
            continue;
        if (qtFlags().contains(name))
            continue;
        if (qtOptionsWithValue().contains(name)) {
            if (i + 1 >= arguments.size())
                return refuse(QStringLiteral("オプション %1 には値が要ります").arg(shown(argument)));
            ++i;
            continue;
        }
        return refuse(QStringLiteral("知らないオプションです: %1").arg(shown(argument)));
    }
    return request;
}

QString versionText()
{
    return QStringLiteral("Ondasort %1\n").arg(QLatin1String(ONDASORT_VERSION));
}

QString helpText(const QString &programName)
{
    return QStringLiteral(
               "使い方: %1 [オプション] [フォルダ | ファイル]\n"
               "\n"
               "音声や動画のファイルを聴きながら、キー一つで九つの振り分け先フォルダへ\n"
               "移動または複製します。\n"
               "\n"
               "  フォルダ        そのフォルダのファイルを一覧にして、最初のファイルを再生します\n"
               "  ファイル        そのファイルのフォルダを開いて、そのファイルを再生します\n"
               "                  （今回だけで、保存してあるフォルダは変わりません）\n"
               "\n"
               "オプション:\n"
               "  -h, --help      この説明を表示して終了します\n"
               "  -v, --version   バージョンを表示して終了します\n"
               "  --              これより後ろはフォルダかファイルの名前です\n"
               "  Qt の標準オプション（-style fusion など）も使えます。\n"
               "\n"
               "キー操作:\n")
               .arg(programName)
        + keyguide::asText(QStringLiteral("  "))
        + QStringLiteral(
            "\n"
            "ウィンドウの「?」ボタンから、キー操作の一覧とユーザーズガイドを開けます。\n"
            "フォルダは、ファイル一覧かフォルダの選択へドラッグ＆ドロップしても開けます。\n");
}

} // namespace commandline
