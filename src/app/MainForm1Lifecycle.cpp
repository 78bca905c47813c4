// Start-up and shut-down of the main window: the settings file is read when
// the window is created and written when it closes.
#include "app/MainForm1.h"

#include "app/ErrorDisplay.h"
#include "platform/PreviewPlayer.h"

#include <QCloseEvent>

#include <stdexcept>

void TMainForm1::FormCreate(QObject *)
{
}

void TMainForm1::FormClose(QObject *)
{
    m_player->setURL(QByteArray());
}

void TMainForm1::closeEvent(QCloseEvent *event)
{
    try {
        FormClose(this);
        event->accept();
    } catch (const std::exception &error) {
        // The window stays open; each further close attempt tries again.
        event->ignore();
        showErrorMessage(this, QString::fromUtf8(error.what()));
    }
}
