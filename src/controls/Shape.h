#pragma once
// A filled rectangle with an outline, drawn only: it takes no input, so a
// press on it reaches the window below.
#include <QColor>
#include <QWidget>

class TShape : public QWidget
{
    Q_OBJECT

public:
    TShape(const QColor &brush, int penWidth, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_brush;
    int m_penWidth;
};
