#pragma once
// A flat coloured panel that holds other controls.
//
// It answers mouse presses itself, so pressing on a panel never drags the
// frameless window; only the window's bare surface does.
#include <QColor>
#include <QWidget>

class TPanel : public QWidget
{
    Q_OBJECT

public:
    TPanel(const QColor &color, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
