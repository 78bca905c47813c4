#include "controls/Panel.h"

#include <QMouseEvent>

TPanel::TPanel(const QColor &color, QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void TPanel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}
