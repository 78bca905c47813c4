#pragma once
// Connector line: a straight line, diagonal, corner or quarter-ellipse curve
// inside its rectangle with an optional sign (arrowhead, circle, ...) at its
// start, end, both or neither, and an optional drop shadow under everything.
//
// Every paint draws techline::primitives() of the current properties; the
// control keeps no other state. It is a drawing only: presses fall through.
// Colours are 0x00BBGGRR values or system colour codes; clNone as FillColor
// leaves closed signs hollow.
#include "skin/TechnicalLineGeometry.h"

#include <QPen>
#include <QWidget>

#include <cstdint>

class TTechnicalLine : public QWidget
{
    Q_OBJECT

public:
    // The frame around the drawing; in custom mode without styles or a
    // border it has no width and draws nothing.
    struct TFrameBevel
    {
        enum Mode { bmNormal, bmCustom };
        Mode Mode = bmCustom;
        int Width = 0;
    };

    explicit TTechnicalLine(QWidget *parent = nullptr);

    TTechnicalLineTypes LineType() const { return m_look.lineType; }
    void setLineType(TTechnicalLineTypes type);
    TLineEndings LineStartSign() const { return m_look.startSign; }
    void setLineStartSign(TLineEndings sign);
    TLineEndings LineEndingsign() const { return m_look.endSign; }
    void setLineEndingsign(TLineEndings sign);
    TSignPlaces SignPlaces() const { return m_look.signPlaces; }
    void setSignPlaces(TSignPlaces places);
    int SignSize() const { return m_look.signSize; }
    void setSignSize(int size);
    // Pen of line, curve and sign outlines; its colour is a colour value.
    std::uint32_t LineColor() const { return m_lineColor; }
    int LineWidth() const { return m_look.penWidth; }
    void setLineSettings(std::uint32_t color, int width, Qt::PenStyle style = Qt::SolidLine);
    std::uint32_t FillColor() const { return m_fillColor; }
    void setFillColor(std::uint32_t color);
    bool ShadowVisible() const { return m_look.shadowVisible; }
    void setShadowVisible(bool visible);
    int ShadowDepth() const { return m_look.shadowDepth; }
    void setShadowDepth(int depth);
    std::uint32_t ShadowColor() const { return m_shadowColor; }
    void setShadowColor(std::uint32_t color);
    // A change of LineType turns arrow signs to fit the new shape.
    bool Arrowed() const { return m_arrowed; }
    void setArrowed(bool arrowed);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    std::uint32_t Color() const { return m_color; }
    void setColor(std::uint32_t color);
    const TFrameBevel &Bevel() const { return m_bevel; }
    void setBevel(const TFrameBevel &bevel);

    // What a paint draws now.
    std::vector<techline::Primitive> primitives() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void changed();

    techline::LineLook m_look;
    std::uint32_t m_lineColor = 0x000000;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
    std::uint32_t m_fillColor;
    std::uint32_t m_shadowColor;
    bool m_arrowed = false;
    bool m_transparent = true;
    std::uint32_t m_color;
    TFrameBevel m_bevel;
};
