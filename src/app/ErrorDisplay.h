#pragma once
// Shows the message of an error no handler caught, in a message box
// captioned with the application title.
#include <QString>

class QWidget;

void showErrorMessage(QWidget *parent, const QString &message);
