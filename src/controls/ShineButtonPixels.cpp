#include "controls/ShineButtonPixels.h"

#include <algorithm>

namespace shinebtn {

namespace {

constexpr QRgb kRgbMask = 0xFFFFFF;
constexpr QRgb kOpaque = 0xFF000000;

QRgb rgbOf(QRgb pixel) { return pixel & kRgbMask; }

// Applies a channel formula to red, green and blue of a pixel.
template<typename F>
QRgb perChannel(QRgb pixel, QRgb other, F formula)
{
    const int r = formula(qRed(pixel), qRed(other));
    const int g = formula(qGreen(pixel), qGreen(other));
    const int b = formula(qBlue(pixel), qBlue(other));
    return qRgb(r, g, b);
}

// Read-only view of the source glyph's colours with bounds checks.
class Pixels
{
public:
    explicit Pixels(const QImage &image) : m_image(image) {}
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QRgb at(int x, int y) const
    {
        return rgbOf(reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x]);
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

private:
    const QImage &m_image;
};

bool hasNeighbour(int x, int y, auto predicate)
{
    return predicate(x - 1, y) || predicate(x + 1, y) || predicate(x, y - 1) || predicate(x, y + 1);
}

// Background pixels next to the shape, judged on the source: the halo.
std::vector<bool> haloOf(const Pixels &src, QRgb key)
{
    std::vector<bool> halo(size_t(src.width()) * size_t(src.height()), false);
    const auto shape = [&](int x, int y) { return src.inside(x, y) && src.at(x, y) != key; };
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x)
            halo[size_t(y) * src.width() + x] = src.at(x, y) == key && hasNeighbour(x, y, shape);
    }
    return halo;
}

void setPixel(QImage &image, int x, int y, QRgb color)
{
    reinterpret_cast<QRgb *>(image.scanLine(y))[x] = kOpaque | rgbOf(color);
}

void transformShape(QImage &out, const Pixels &src, QRgb key, auto transform)
{
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = src.at(x, y);
            if (c != key)
                setPixel(out, x, y, transform(c, x, y));
        }
    }
}

void applyActive(QImage &out, const Pixels &src, QRgb key, TActiveImageType type, QRgb s)
{
    switch (type) {
    case aiNormal:
        return;
    case aiXorLight:
        transformShape(out, src, key, [s](QRgb c, int, int) {
            return perChannel(c, s, [](int a, int b) { return a ^ b; });
        });
        return;
    case aiHalfLight:
        transformShape(out, src, key, [s](QRgb c, int, int) {
            return perChannel(c, s, [](int a, int b) { return (b + a) / 2; });
        });
        return;
    case aiQuaterLight:
        transformShape(out, src, key, [s](QRgb c, int, int) {
            return perChannel(c, s, [](int a, int b) { return (3 * b + a) / 4; });
        });
        return;
    case aiAddLight:
        transformShape(out, src, key, [s](QRgb c, int, int) {
            return perChannel(c, s, [](int a, int b) { return std::min(255, a + b); });
        });
        return;
    case aiFrameLight:
    case aiFrameLight2: {
        const std::vector<bool> halo = haloOf(src, key);
        const int w = src.width();
        const auto inHalo = [&](int x, int y) { return src.inside(x, y) && halo[size_t(y) * w + x]; };
        for (int y = 0; y < src.height(); ++y) {
            for (int x = 0; x < w; ++x) {
                const bool outer = type == aiFrameLight2 && src.at(x, y) == key && hasNeighbour(x, y, inHalo);
                if (inHalo(x, y) || outer)
                    setPixel(out, x, y, s);
            }
        }
        return;
    }
    case aiMaskLight:
        // Every other pixel of the shape, as a checkerboard.
        transformShape(out, src, key, [s](QRgb c, int x, int y) { return (x + y) % 2 ? s : c; });
        return;
    }
}

QImage edgeMask(const Pixels &src)
{
    QImage mask(src.width(), src.height(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int y = 0; y + 1 < src.height(); ++y) {
        for (int x = 0; x + 1 < src.width(); ++x) {
            if (src.at(x, y) != src.at(x + 1, y + 1) || src.at(x + 1, y) != src.at(x, y + 1))
                setPixel(mask, x, y, 0xFFFFFF);
        }
    }
    return mask;
}

void applyDisabled(QImage &out, const Pixels &src, QRgb key, TDisabledImageType type, QRgb b)
{
    switch (type) {
    case diDefault:
        out = edgeMask(src);
        return;
    case diGrayscale:
        transformShape(out, src, key, [](QRgb c, int, int) {
            const int v = (qRed(c) + qGreen(c) + qBlue(c)) / 3;
            return qRgb(v, v, v);
        });
        return;
    case diAlphaHalfTrans:
        transformShape(out, src, key, [b](QRgb c, int, int) {
            return perChannel(c, b, [](int a, int f) { return (f + a) / 2; });
        });
        return;
    case diAlphaQuaterTrans:
        transformShape(out, src, key, [b](QRgb c, int, int) {
            return perChannel(c, b, [](int a, int f) { return (3 * f + a) / 4; });
        });
        return;
    case diMaskTrans:
        // The checkerboard of the hot mask look, its pixels dropped out.
        transformShape(out, src, key, [key](QRgb c, int x, int y) { return (x + y) % 2 ? key : c; });
        return;
    }
}

} // namespace

QImage gradientStrip(QRgb start, QRgb end, bool vertical)
{
    QImage strip(vertical ? 1 : 256, vertical ? 256 : 1, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i) {
        const QRgb entry = perChannel(start, end, [i](int s, int e) { return s + (e - s) * i / 255; });
        strip.setPixel(vertical ? 0 : i, vertical ? i : 0, kOpaque | entry);
    }
    return strip;
}

bool bevelShown(TShineButtonState look, bool activeFrame, bool upFrame, bool downFrame)
{
    switch (look) {
    case sbDownHot:
    case sbHot:
        return activeFrame;
    case sbDown:
        return downFrame;
    case sbUp:
    case sbDisabled:
        return upFrame;
    }
    return false;
}

std::vector<BevelLine> bevelLines(TFrameType frame, bool downLook, QSize size,
    const BevelColors &set, QRgb outline)
{
    const int w = size.width();
    const int h = size.height();
    const QRgb hi = set.highlight;
    const QRgb sh = set.shadow;
    const QRgb dark = set.darkShadow;
    switch (frame) {
    case ftFlatFrame:
        if (downLook)
            return {{{0, 0}, {w - 1, 0}, sh}, {{0, 0}, {0, h - 1}, sh},
                {{w - 1, h - 1}, {0, h - 1}, hi}, {{w - 1, h - 1}, {w - 1, 0}, hi}};
        return {{{0, 0}, {w - 1, 0}, hi}, {{0, 0}, {0, h - 1}, hi},
            {{w - 1, h - 1}, {0, h - 1}, sh}, {{w - 1, h - 1}, {w - 1, 0}, sh}};
    case ftNormalFrame:
        if (downLook)
            return {{{1, 1}, {w - 1, 1}, sh}, {{1, 1}, {1, h - 1}, sh},
                {{0, 0}, {w - 1, 0}, dark}, {{0, 0}, {0, h - 1}, dark},
                {{w - 1, h - 1}, {0, h - 1}, hi}, {{w - 1, h - 1}, {w - 1, 0}, hi}};
        return {{{w - 2, h - 2}, {0, h - 2}, sh}, {{w - 2, h - 2}, {w - 2, 0}, sh},
            {{w - 1, h - 1}, {0, h - 1}, dark}, {{w - 1, h - 1}, {w - 1, 0}, dark},
            {{0, 0}, {w - 1, 0}, hi}, {{0, 0}, {0, h - 1}, hi}};
    case ftEnclosedFrame: {
        const QRgb first = downLook ? sh : hi;
        const QRgb second = downLook ? hi : sh;
        return {{{1, 1}, {w - 2, 1}, first}, {{1, 1}, {1, h - 2}, first},
            {{w - 2, h - 2}, {1, h - 2}, second}, {{w - 2, h - 2}, {w - 2, 1}, second},
            // The outline round the whole button.
            {{0, 0}, {w - 1, 0}, outline}, {{w - 1, 0}, {w - 1, h - 1}, outline},
            {{w - 1, h - 1}, {0, h - 1}, outline}, {{0, h - 1}, {0, 0}, outline}};
    }
    }
    return {};
}

QRect lineSpan(const BevelLine &line)
{
    const QPoint d = line.to - line.from;
    if (d.isNull())
        return QRect();
    // The last covered pixel is one step back from `to`.
    const QPoint step(d.x() > 0 ? 1 : d.x() < 0 ? -1 : 0, d.y() > 0 ? 1 : d.y() < 0 ? -1 : 0);
    const QPoint last = line.to - step;
    return QRect(QPoint(std::min(line.from.x(), last.x()), std::min(line.from.y(), last.y())),
        QPoint(std::max(line.from.x(), last.x()), std::max(line.from.y(), last.y())));
}

StateGlyph stateGlyph(const QImage &glyph, TShineButtonState look, const GlyphLook &how)
{
    StateGlyph result;
    if (glyph.isNull() || glyph.width() <= 0 || glyph.height() <= 0)
        return result;
    const QImage source = glyph.format() == QImage::Format_RGB32
        ? glyph : glyph.convertToFormat(QImage::Format_RGB32);
    const Pixels src(source);
    const QRgb key = src.at(0, src.height() - 1);

    result.image = source.copy();
    result.transparent = key;
    if (isHotLook(look)) {
        applyActive(result.image, src, key, how.active, rgbOf(how.shine));
    } else if (look == sbDisabled) {
        applyDisabled(result.image, src, key, how.disabled, rgbOf(how.face));
        if (how.disabled == diDefault) {
            result.mask = true;
            result.transparent = 0;
        }
    }
    return result;
}

QImage keyedOut(const QImage &image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (rgbOf(line[x]) == rgbOf(key))
                line[x] = 0;
        }
    }
    return out;
}

QImage maskIn(const QImage &mask, QRgb color)
{
    QImage out = mask.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = rgbOf(line[x]) == kRgbMask ? (kOpaque | rgbOf(color)) : 0;
    }
    return out;
}

DrawPosition calcDrawPosition(const LayoutInput &in)
{
    const bool g = in.glyph.width() > 0 && in.glyph.height() > 0;
    const bool t = in.hasCaption;
    const int gw = g ? in.glyph.width() : 0;
    const int gh = g ? in.glyph.height() : 0;
    const int tw = in.text.width();
    const int th = in.text.height();
    int totalW = 0;
    int totalH = 0;
    QPoint glyph;
    QPoint caption;

    switch (in.layout) {
    case blGlyphLeft:
        glyph.rx() = 0;
        totalW += gw;
        totalH = std::max(totalH, gh);
        if (g && t)
            totalW += in.spacing;
        caption.rx() = totalW;
        if (t) {
            totalW += tw;
            totalH = std::max(totalH, th);
        }
        if (g)
            glyph.ry() = (totalH - gh) / 2;
        if (t)
            caption.ry() = (totalH - th) / 2;
        break;
    case blGlyphRight:
        caption.rx() = 0;
        if (t) {
            totalW += tw;
            totalH = std::max(totalH, th);
        }
        if (g && t)
            totalW += in.spacing;
        glyph.rx() = totalW;
        if (g) {
            totalW += gw;
            totalH = std::max(totalH, gh);
            glyph.ry() = (totalH - gh) / 2;
        }
        if (t)
            caption.ry() = (totalH - th) / 2;
        break;
    case blGlyphTop:
        glyph.ry() = 0;
        if (g) {
            totalH += gh;
            totalW = std::max(totalW, gw);
        }
        if (g && t)
            totalH += in.spacing;
        caption.ry() = totalH;
        if (t) {
            totalH += th;
            totalW = std::max(totalW, tw);
        }
        if (g)
            glyph.rx() = (totalW - gw) / 2;
        if (t)
            caption.rx() = (totalW - tw) / 2;
        break;
    case blGlyphBottom:
        caption.ry() = 0;
        if (t) {
            totalH += th;
            totalW = std::max(totalW, tw);
        }
        if (g && t)
            totalH += in.spacing;
        glyph.ry() = totalH;
        totalH += gh;
        totalW = std::max(totalW, gw);
        if (g)
            glyph.rx() = (totalW - gw) / 2;
        if (t)
            caption.rx() = (totalW - tw) / 2;
        break;
    }

    const int cw = in.client.width();
    const int ch = in.client.height();
    QPoint offset((cw - totalW) / 2, (ch - totalH) / 2);
    if (in.margin >= 0) {
        switch (in.layout) {
        case blGlyphLeft: offset.rx() = in.margin; break;
        case blGlyphRight: offset.rx() = cw - totalW - in.margin; break;
        case blGlyphTop: offset.ry() = in.margin; break;
        case blGlyphBottom: offset.ry() = ch - totalH - in.margin; break;
        }
    }
    return {glyph + offset, QRect(caption + offset, QSize(tw, th))};
}

} // namespace shinebtn
