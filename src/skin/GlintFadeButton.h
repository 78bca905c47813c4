#pragma once
// Small command button of the window chrome (close, minimise, guide, info).
//
// Draws its face colour, a one-pixel border and a centred caption; the
// fade animation towards DestColor comes with the window skin.
#include <QAbstractButton>
#include <QColor>

class TGlintFadeButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TGlintFadeButton(QWidget *parent = nullptr);

    void setColor(const QColor &color);
    void setBorderColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    QColor m_borderColor;
};
