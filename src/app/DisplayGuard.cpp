#include "app/DisplayGuard.h"

#include <QtGlobal>

#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QString text;
};

QtMessageHandler g_previous = nullptr;
std::vector<HeldMessage> g_held;

void guardedHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        const QByteArray text = DisplayGuard::failureMessage().toUtf8();
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.constData(), size_t(text.size()));
        std::_Exit(1);
    }
    g_held.push_back({type, message});
}

QByteArray environment(const char *name)
{
    return qgetenv(name).trimmed();
}

} // namespace

DisplayGuard::DisplayGuard()
{
    g_held.clear();
    g_previous = qInstallMessageHandler(guardedHandler);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(g_previous);
    const QMessageLogContext context;
    for (const HeldMessage &held : std::exchange(g_held, {}))
        g_previous(held.type, context, held.text);
}

bool DisplayGuard::displayToTry(const QByteArrayList &arguments)
{
    for (const QByteArray &argument : arguments) {
        if (argument == "-platform" || argument == "--platform" || argument.startsWith("-platform=")
            || argument.startsWith("--platform="))
            return true;
    }
    return !environment("QT_QPA_PLATFORM").isEmpty() || !environment("DISPLAY").isEmpty()
        || !environment("WAYLAND_DISPLAY").isEmpty();
}

QString DisplayGuard::failureMessage()
{
    QStringList tried;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const QByteArray value = environment(name);
        if (!value.isEmpty())
            tried << QStringLiteral("%1=%2").arg(QLatin1String(name), QString::fromLocal8Bit(value));
    }
    const QString why = tried.isEmpty()
        ? QStringLiteral("ディスプレイがありません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。")
        : QStringLiteral("ディスプレイに接続できません（%1）。").arg(tried.join(QStringLiteral("、")));
    return QStringLiteral("Ondasort: ウィンドウを開けません。") + why
        + QStringLiteral("\nデスクトップの中から起動してください。"
                         "--help と --version はディスプレイなしでも使えます。\n");
}
