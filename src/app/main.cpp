// Ondasort: sort media files into folders by listening to them.
#include "app/ErrorDisplay.h"
#include "app/MainForm1.h"
#include "platform/ExitDeadline.h"
#include "platform/QtTranslations.h"

#include <QApplication>

#include <clocale>
#include <exception>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondasort"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ondasort"));
    // libmpv refuses to start under locales with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    // The window speaks Japanese, and so do Qt's dialogs.
    const auto japanese = qttranslations::installJapanese();

    try {
        TMainForm1 form;
        form.show();
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
