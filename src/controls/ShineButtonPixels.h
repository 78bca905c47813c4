#pragma once
// What the gradient speed button draws, worked out on plain images and
// numbers, without a display: the 256-entry gradient strip of the face, the
// bevel lines, the glyph of each look and the placement of glyph and
// caption. TShineSpeedButton paints what these return.
//
// Images are 32 bits per pixel (QImage::Format_RGB32: blue in the lowest
// byte, then green, then red); a pixel's colour is its lower 24 bits. A
// glyph is a key-colour image: the colour of its bottom-left pixel is its
// background, left out when it is drawn.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <vector>

enum TFrameType { ftFlatFrame, ftNormalFrame, ftEnclosedFrame };

enum TActiveImageType {
    aiNormal, aiXorLight, aiHalfLight, aiQuaterLight,
    aiAddLight, aiFrameLight, aiFrameLight2, aiMaskLight
};

enum TDisabledImageType {
    diDefault, diGrayscale, diAlphaHalfTrans, diAlphaQuaterTrans, diMaskTrans
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The look of a button. The down looks come first: a look below sbHot
// shows the button pressed or latched.
enum TShineButtonState : unsigned char { sbDownHot, sbDown, sbHot, sbUp, sbDisabled };

namespace shinebtn {

constexpr bool isDownLook(TShineButtonState look) { return look < sbHot; }
constexpr bool isHotLook(TShineButtonState look) { return look == sbDownHot || look == sbHot; }

// The face gradient: 256 pixels, one row (left to right) or one column (top
// to bottom), entry i being start + (end - start) * i / 255 per channel.
QImage gradientStrip(QRgb start, QRgb end, bool vertical);

// Whether a look shows a bevel at all.
bool bevelShown(TShineButtonState look, bool activeFrame, bool upFrame, bool downFrame);

struct BevelColors {
    QRgb highlight;
    QRgb shadow;
    QRgb darkShadow;
};

// A line from one point towards another: it covers `from` and stops one
// pixel short of `to`.
struct BevelLine {
    QPoint from;
    QPoint to;
    QRgb color;
};

// The bevel of a W by H button in drawing order. `set` holds the colours of
// the look's own colour set; `outline` the colour of the enclosed frame's
// outline, which is appended as four lines round the whole button.
std::vector<BevelLine> bevelLines(TFrameType frame, bool downLook, QSize size,
    const BevelColors &set, QRgb outline);

// The pixels a horizontal or vertical line covers (empty for a line of no
// length).
QRect lineSpan(const BevelLine &line);

struct GlyphLook {
    TActiveImageType active = aiFrameLight;
    TDisabledImageType disabled = diDefault;
    QRgb shine = 0;    // colour of the hot transforms
    QRgb face = 0;     // face colour the disabled transforms blend towards
};

struct StateGlyph {
    QImage image;          // null when the glyph is empty
    QRgb transparent = 0;  // pixels of this colour are left out
    // A black and white edge mask (disabled look, diDefault): its white
    // pixels are painted twice, embossed, instead of drawing the image.
    bool mask = false;
};

// The glyph as the look shows it. The background stays the glyph's own key
// colour whatever the transform paints over it.
StateGlyph stateGlyph(const QImage &glyph, TShineButtonState look, const GlyphLook &how);

// The image with every pixel of the key colour made fully transparent
// (ARGB32), ready to be drawn.
QImage keyedOut(const QImage &image, QRgb key);
// The white pixels of a mask in `color`, every other pixel transparent.
QImage maskIn(const QImage &mask, QRgb color);

struct DrawPosition {
    QPoint glyph;
    QRect caption;
};

struct LayoutInput {
    QSize client;
    QSize glyph;          // empty: no glyph, it takes no room
    QSize text;           // the caption's measured size
    bool hasCaption = false;
    TButtonLayout layout = blGlyphLeft;
    int margin = -1;      // negative: centred
    int spacing = 4;
};

// Where glyph and caption go: stacked into one block by the layout, the
// block centred, or placed `margin` pixels from the edge the layout names.
DrawPosition calcDrawPosition(const LayoutInput &in);

} // namespace shinebtn
