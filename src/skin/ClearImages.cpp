#include "skin/ClearImages.h"

#include "platform/SystemColors.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace clearimg {

namespace {

int red(std::uint32_t c) { return int(c & 0xFF); }
int green(std::uint32_t c) { return int((c >> 8) & 0xFF); }
int blue(std::uint32_t c) { return int((c >> 16) & 0xFF); }

std::uint32_t fromChannels(int r, int g, int b)
{
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

std::uint32_t shifted(std::uint32_t color, int n)
{
    const std::uint32_t c = colors::resolve(color);
    return fromChannels(std::clamp(red(c) + n, 0, 255), std::clamp(green(c) + n, 0, 255),
        std::clamp(blue(c) + n, 0, 255));
}

// Replaces every non-key pixel by what recolor makes of it.
template <typename Recolor>
void recolorShape(QImage &image, QRgb key, Recolor recolor)
{
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (row[x] != key)
                row[x] = recolor(row[x]);
        }
    }
}

// Calls run(s, e) for every run of non-key pixels [s, e) of a row.
template <typename Run>
void forEachRun(const QRgb *row, int width, QRgb key, Run run)
{
    int x = 0;
    while (x < width) {
        while (x < width && row[x] == key)
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < width && row[x] != key)
            ++x;
        run(start, x);
    }
}

// Draws a one-coloured image at every offset (dx, dy) with dx and dy in
// [from, to]. With a single colour the copies only add up, so a row of
// copies is made once and stacked, instead of drawing every copy.
void drawAtEveryOffset(QImage &dst, const QImage &src, int from, int to, QRgb key)
{
    QImage row(src.width() + to - from, src.height(), QImage::Format_ARGB32);
    row.fill(0); // no opaque pixel is 0, so 0 marks "nothing here"
    for (int dx = from; dx <= to; ++dx)
        drawKeyed(row, src, {dx - from, 0}, key);
    for (int dy = from; dy <= to; ++dy)
        drawKeyed(dst, row, {from, dy}, 0);
}

bool hasShape(const QImage &image, QRgb key)
{
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (row[x] != key)
                return true;
        }
    }
    return false;
}

// The images a state image is composed of.
struct Parts
{
    QImage base;
    QImage outline; // O: the outline in the light colour
    QImage shadow;  // S
    QImage face;    // F
};

QImage composeStateImage(const ClearLook &look, const Parts &parts, bool pressed)
{
    const QRgb key = keyPixelOf(look.transparentColor);
    QImage result = filledImage(look.size, pixelOf(look.transparentColor));
    const int b = look.borderStyle == bsSingle ? 1 : 0;
    const int p = pressed && look.style != sbsImage ? 1 : 0;
    int q = 0;
    if (look.options.contains(sioBorderAndShadow)) {
        switch (look.style) {
        case sbsPushBtn:
            if (!pressed) {
                drawAtEveryOffset(result, parts.shadow, b, b + 1, key);
                drawAtEveryOffset(result, parts.outline, -1 - b, b, key);
            } else if (b == 1) {
                for (QPoint at : {QPoint(-1, -1), QPoint(0, -1), QPoint(-1, 0)})
                    drawKeyed(result, parts.shadow, at, key);
            } else {
                drawKeyed(result, parts.shadow, {0, 0}, key);
            }
            break;
        case sbsFloatBtn:
            if (!pressed)
                drawKeyed(result, parts.shadow, {2 * b + 1, 2 * b + 1}, key);
            break;
        case sbsImage:
            break;
        }
        // A face in the key colour leaves nothing to draw.
        if (b == 1 && hasShape(parts.face, key))
            drawAtEveryOffset(result, parts.face, p - 1, p + 1, key);
        q = 1;
    }
    drawKeyed(result, parts.base, {b + q + p, b + q + p}, key);
    return result;
}

} // namespace

std::uint32_t LightenColor(std::uint32_t color, int n)
{
    return shifted(color, n);
}

std::uint32_t DarkenColor(std::uint32_t color, int n)
{
    return shifted(color, -n);
}

std::uint32_t GrayColor(std::uint32_t color)
{
    const std::uint32_t c = colors::resolve(color);
    const int m = std::clamp((red(c) + green(c) + blue(c)) / 3, 128, 192);
    return fromChannels(m, m, m);
}

std::uint32_t awayFromKey(std::uint32_t color, std::uint32_t key)
{
    if (color != key)
        return color;
    color = LightenColor(color, 8);
    if (color == key)
        color = DarkenColor(color, 8);
    return color;
}

QRgb pixelOf(std::uint32_t color)
{
    const std::uint32_t c = colors::resolve(color);
    return qRgb(red(c), green(c), blue(c));
}

std::uint32_t colorOf(QRgb pixel)
{
    return fromChannels(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

QRgb keyPixelOf(std::uint32_t key)
{
    // Opaque images hold no pixel with a zero alpha, so this matches nothing.
    if (key > 0xFFFFFF)
        return 0;
    return pixelOf(key);
}

QImage filledImage(QSize size, QRgb fill)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void drawKeyed(QImage &dst, const QImage &src, QPoint at, QRgb key)
{
    const int x0 = std::max(0, at.x());
    const int x1 = std::min(dst.width(), at.x() + src.width());
    const int y0 = std::max(0, at.y());
    const int y1 = std::min(dst.height(), at.y() + src.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    // Row pointers from the bits once: scanLine() would check for sharing per row.
    uchar *dstBits = dst.bits();
    const uchar *srcBits = src.constBits();
    const qsizetype dstStride = dst.bytesPerLine();
    const qsizetype srcStride = src.bytesPerLine();
    for (int y = y0; y < y1; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(srcBits + (y - at.y()) * srcStride) - at.x();
        auto *to = reinterpret_cast<QRgb *>(dstBits + y * dstStride);
        for (int x = x0; x < x1; ++x) {
            if (from[x] != key)
                to[x] = from[x];
        }
    }
}

QImage RecolorImage(const QImage &src, QRgb key, QRgb fill)
{
    QImage result = filledImage(src.size(), fill);
    drawKeyed(result, src, {0, 0}, key);
    return result;
}

QRegion RegionFromImage(const QImage &image, QRgb key)
{
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band;    // runs of the current band
    std::vector<std::pair<int, int>> runs;    // runs of the row being read
    int bandTop = 0;
    auto closeBand = [&](int bottom) {
        for (auto [s, e] : band)
            rects.emplace_back(QPoint(s, bandTop), QPoint(e - 1, bottom - 1));
        band.clear();
    };
    for (int y = 0; y < image.height(); ++y) {
        runs.clear();
        forEachRun(reinterpret_cast<const QRgb *>(image.constScanLine(y)), image.width(), key,
            [&](int s, int e) { runs.emplace_back(s, e); });
        if (runs != band) {
            closeBand(y);
            band = runs;
            bandTop = y;
        }
    }
    closeBand(image.height());
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

QImage keyToAlpha(const QImage &image, QRgb key)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((row[x] | 0xFF000000) == key)
                row[x] = 0;
        }
    }
    return result;
}

QImage toSixteenColors(const QImage &image)
{
    static constexpr std::array<QRgb, 16> kPalette = {
        0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
        0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
    };
    QImage result = image.convertToFormat(QImage::Format_RGB32);
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb best = kPalette[0];
            int bestDistance = INT_MAX;
            for (QRgb entry : kPalette) {
                const int dr = qRed(row[x]) - qRed(entry);
                const int dg = qGreen(row[x]) - qGreen(entry);
                const int db = qBlue(row[x]) - qBlue(entry);
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = entry;
                }
            }
            row[x] = best;
        }
    }
    return result;
}

CaptionColors captionColors(std::uint32_t transparentColor)
{
    CaptionColors colors {0xFFFFFF, 0x000000};
    if (transparentColor == 0xFFFFFF)
        colors.background = 0xC0C0C0;
    if (transparentColor == 0x000000)
        colors.foreground = 0xC0C0C0;
    return colors;
}

QImage baseImage(const ClearLook &look)
{
    const int b = look.borderStyle == bsSingle ? 1 : 0;
    const QSize size = look.options.contains(sioBorderAndShadow)
        ? look.size - QSize(2 + 2 * b, 2 + 2 * b)
        : look.size;
    const QRgb key = keyPixelOf(look.transparentColor);
    QImage base = filledImage(size, pixelOf(look.transparentColor));

    if (!look.picture.isNull()) {
        QImage picture = look.stretch
            ? look.picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            : look.picture;
        const QPoint at = look.stretch
            ? QPoint(0, 0)
            : QPoint((size.width() - picture.width()) / 2, (size.height() - picture.height()) / 2);
        if (look.pictureIsBitmap) {
            drawKeyed(base, picture.convertToFormat(QImage::Format_RGB32), at,
                keyPixelOf(look.pictureKey));
        } else {
            QPainter painter(&base);
            painter.drawImage(at, picture);
        }
    }

    if (!look.captionText.isNull()) {
        const CaptionColors colors = captionColors(look.transparentColor);
        const QImage text = toSixteenColors(look.captionText);
        // The text and its shades on the key, then the text's own pixels in
        // the font colour.
        QImage mask = filledImage(text.size(), pixelOf(look.transparentColor));
        drawKeyed(mask, text, {0, 0}, pixelOf(colors.background));
        QImage caption = filledImage(text.size(), pixelOf(look.fontColor));
        drawKeyed(caption, mask, {0, 0}, pixelOf(colors.foreground));
        const int x = look.captionLeft != -1
            ? look.captionLeft
            : (look.size.width() - caption.width()) / 2 - (b + 1);
        const int y = look.captionTop != -1
            ? look.captionTop
            : (look.size.height() - caption.height()) / 2 - (b + 1);
        drawKeyed(base, caption, {x, y}, key);
    }
    return base;
}

std::uint32_t lightColorFor(const ClearLook &look)
{
    return awayFromKey(colors::resolve(look.lightColor), look.transparentColor);
}

QImage silhouetteImage(const QImage &base, const ClearLook &look, std::uint32_t light)
{
    const int b = look.borderStyle == bsSingle ? 1 : 0;
    const QRgb key = keyPixelOf(look.transparentColor);
    const QRgb lightPixel = pixelOf(light);
    QImage outline = filledImage(look.size, pixelOf(look.transparentColor));
    for (int y = 0; y < base.height(); ++y) {
        const int oy = y + b + 1;
        if (oy >= outline.height())
            break;
        auto *row = reinterpret_cast<QRgb *>(outline.scanLine(oy));
        // Each run becomes a line one pixel longer on the right.
        forEachRun(reinterpret_cast<const QRgb *>(base.constScanLine(y)), base.width(), key,
            [&](int s, int e) {
                const int last = std::min(e + b + 1, outline.width() - 1);
                for (int x = s + b + 1; x <= last; ++x)
                    row[x] = lightPixel;
            });
    }
    return outline;
}

bool canBuild(const ClearLook &look)
{
    const int minimum = 2 * (look.borderStyle == bsSingle ? 1 : 0) + 3;
    return look.size.width() >= minimum && look.size.height() >= minimum;
}

ClearImages buildClearImages(const ClearLook &look)
{
    ClearImages images;
    const QRgb key = keyPixelOf(look.transparentColor);
    const bool borderAndShadow = look.options.contains(sioBorderAndShadow);
    const bool single = look.borderStyle == bsSingle;

    Parts parts;
    parts.base = baseImage(look);
    const std::uint32_t light = lightColorFor(look);
    const QRgb lightPixel = pixelOf(light);
    if (borderAndShadow) {
        parts.outline = silhouetteImage(parts.base, look, light);
        parts.shadow = RecolorImage(parts.outline, lightPixel, pixelOf(look.shadowColor));
        parts.face = RecolorImage(parts.outline, lightPixel, pixelOf(look.color));
    }

    images.normal = composeStateImage(look, parts, false);
    images.normalRegion = RegionFromImage(images.normal, key);

    if (borderAndShadow) {
        if (look.style != sbsFloatBtn && single) {
            parts.face = RecolorImage(parts.face, pixelOf(look.color), pixelOf(DarkenColor(look.color, 32)));
            parts.shadow = RecolorImage(parts.shadow, pixelOf(look.shadowColor),
                pixelOf(DarkenColor(look.shadowColor, 64)));
        }
        images.pressed = composeStateImage(look, parts, true);
        images.pressedRegion = RegionFromImage(images.pressed, key);
        if (look.options.contains(sioHotTrackImage)) {
            parts.face = RecolorImage(parts.outline, lightPixel,
                pixelOf(LightenColor(look.color, look.hotLightDepth / 2)));
            parts.shadow = RecolorImage(parts.outline, lightPixel,
                pixelOf(LightenColor(look.shadowColor, look.hotLightDepth / 4)));
        }
    } else {
        images.pressed = images.normal;
        images.pressedRegion = images.normalRegion;
    }

    // Lightened or greyed pixels that land on the key would punch holes into
    // the shape, so they are moved off it.
    if (look.options.contains(sioHotTrackImage)) {
        recolorShape(parts.base, key, [&](QRgb pixel) {
            return pixelOf(awayFromKey(LightenColor(colorOf(pixel), look.hotLightDepth), look.transparentColor));
        });
        images.hot = composeStateImage(look, parts, false);
    }
    if (look.options.contains(sioDisableImage)) {
        images.disabled = images.normal;
        recolorShape(images.disabled, key, [&](QRgb pixel) {
            return pixelOf(awayFromKey(GrayColor(colorOf(pixel)), look.transparentColor));
        });
    }
    return images;
}

QSize autoSize(QSize picture, QSize captionText, TBorderStyle borderStyle)
{
    const QSize text = captionText.isEmpty() ? QSize(16, 8) : captionText;
    const QSize content = picture.isEmpty() ? text : picture;
    const int grow = 4 * (borderStyle == bsSingle ? 1 : 0) + 4;
    return QSize(std::max(content.width(), text.width()) + grow,
        std::max(content.height(), text.height()) + grow);
}

} // namespace clearimg
