#include "app/ErrorDisplay.h"

#include <QGuiApplication>
#include <QMessageBox>

void showErrorMessage(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(), message);
}
