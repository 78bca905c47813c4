#pragma once
// Connector line with an arrowhead, drawn inside its rectangle.
//
// For now it draws the three shapes the main window uses (straight,
// curving up from the bottom left, curving down from the top left) with a
// closed arrow at the end; the full set of line types, signs, bevels and
// shadows comes with the window skin.
#include <QColor>
#include <QWidget>

enum TTechnicalLineTypes {
    lsStraightLeftToRight,
    lsTopLeftCurve,
    lsTopRightCurve,
};

class TTechnicalLine : public QWidget
{
    Q_OBJECT

public:
    explicit TTechnicalLine(QWidget *parent = nullptr);

    void setLineType(TTechnicalLineTypes type);
    TTechnicalLineTypes LineType() const { return m_lineType; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TTechnicalLineTypes m_lineType = lsStraightLeftToRight;
    int m_signSize = 24;
    QColor m_lineColor;
    QColor m_fillColor;
};
