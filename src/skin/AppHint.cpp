#include "skin/AppHint.h"

#include <QWidget>

TAppHint::TAppHint(QObject *parent)
    : QObject(parent)
{
}

void TAppHint::setHint(QWidget *control, const QString &hint)
{
    control->setToolTip(hint);
}
