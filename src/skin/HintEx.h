#pragma once
// The hint window: a frameless tool-tip window that never takes the focus
// or the mouse, shaped per style and painted with the current hint
// component's look. The line-string style has no background at all: the
// window is cut to the pixels it paints, so whatever lies beneath shows
// around the letters on any display, with or without a compositor; the
// letters are antialiased, their edge pixels blended with a picture of the
// screen beneath where one can be taken.
#include "skin/HintGeometry.h"

#include <QImage>
#include <QWidget>

class THintEx : public QWidget
{
    Q_OBJECT

public:
    THintEx();

    // Shapes the window for a text and shows it with its top-left corner at
    // a screen position, kept on the screen.
    void ActivateHint(QPoint topLeft, const QString &text);
    QString hintText() const { return m_text; }
    const hintgeo::HintShape &shape() const { return m_shape; }
    // The picture the window shows (transparent where nothing is painted).
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void renderPicture();
    QImage screenBeneath(const QRect &area) const;
    void cutToPaintedPixels(const QRect &area);

    QString m_text;
    hintgeo::HintShape m_shape;
    QImage m_picture;
};
