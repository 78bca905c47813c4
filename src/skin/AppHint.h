#pragma once
// The window's hint component: every control with a hint text shows it
// through this object.
//
// For now the texts are shown as the platform's tool tips; the large
// calligraphic hint window comes with the window skin.
#include <QObject>
#include <QString>

class QWidget;

class TAppHint : public QObject
{
    Q_OBJECT

public:
    explicit TAppHint(QObject *parent = nullptr);

    // Gives a control its hint text.
    void setHint(QWidget *control, const QString &hint);
};
