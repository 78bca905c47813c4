#pragma once
// The pixel work behind the image-shaped controls: from a picture, a
// caption and a handful of colours to the four ready state images and the
// two regions a control is cut to.
//
// Everything here is a plain function over QImage and QRegion and needs no
// display. Images are RGB32; a "key" is the colour left out when an image is
// drawn. Colours are 0x00BBGGRR values or system colour codes, resolved
// through colors::resolve when they are drawn. The control's key itself is compared
// as given, so a system colour code as key never matches a pixel.
#include <QImage>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <initializer_list>

enum TTransBtnStyle : std::uint8_t { sbsPushBtn = 0, sbsFloatBtn = 1, sbsImage = 2 };
enum TTransImgOption : std::uint8_t {
    sioDisableImage = 0,
    sioHotTrackImage = 1,
    sioTransAtDesigning = 2,
    sioBorderAndShadow = 3,
};
enum TBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1 };

// A set of TTransImgOption, one bit per value.
class TTransImgOptions
{
public:
    constexpr TTransImgOptions() = default;
    constexpr TTransImgOptions(std::initializer_list<TTransImgOption> options)
    {
        for (TTransImgOption option : options)
            m_bits |= std::uint8_t(1u << option);
    }
    constexpr bool contains(TTransImgOption option) const { return m_bits & (1u << option); }
    constexpr std::uint8_t bits() const { return m_bits; }
    constexpr bool operator==(const TTransImgOptions &) const = default;

private:
    std::uint8_t m_bits = 0;
};

namespace clearimg {

// Each channel plus n, capped at 255.
std::uint32_t LightenColor(std::uint32_t color, int n);
// Each channel minus n, floored at 0.
std::uint32_t DarkenColor(std::uint32_t color, int n);
// The channels' mean held between 128 and 192, in all three channels.
std::uint32_t GrayColor(std::uint32_t color);
// A colour that is not the key: lightened by 8, else darkened by 8, when it is.
std::uint32_t awayFromKey(std::uint32_t color, std::uint32_t key);

// The pixel value of a colour, and a pixel's colour value.
QRgb pixelOf(std::uint32_t color);
std::uint32_t colorOf(QRgb pixel);
// The pixel a key matches: never any pixel for a system colour code or clNone.
QRgb keyPixelOf(std::uint32_t key);

QImage filledImage(QSize size, QRgb fill);
// Copies every pixel of src except those equal to key to dst shifted by at,
// clipped to dst.
void drawKeyed(QImage &dst, const QImage &src, QPoint at, QRgb key);
// src with every key pixel replaced by fill.
QImage RecolorImage(const QImage &src, QRgb key, QRgb fill);
// The union of one-pixel-high rows of the runs of non-key pixels; rows with
// the same runs are joined into one band.
QRegion RegionFromImage(const QImage &image, QRgb key);
// A premultiplied ARGB copy in which key pixels are fully transparent.
QImage keyToAlpha(const QImage &image, QRgb key);
// Antialiasing shades reduced to the sixteen colours of a 4-bit image.
QImage toSixteenColors(const QImage &image);

// What a control's look is made of.
struct ClearLook
{
    QSize size;
    TBorderStyle borderStyle = bsSingle;
    TTransBtnStyle style = sbsPushBtn;
    TTransImgOptions options;
    std::uint32_t transparentColor = 0xFF00FF;
    std::uint32_t color = 0;
    std::uint32_t lightColor = 0xFFFFFF;
    std::uint32_t shadowColor = 0x808080;
    int hotLightDepth = 128;
    bool stretch = false;
    // The picture, and whether it is a bitmap drawn without its key colour
    // (otherwise it is blended by its own alpha).
    QImage picture;
    bool pictureIsBitmap = true;
    std::uint32_t pictureKey = 0xFF00FF;
    // The caption as text rendered in captionColors().foreground on
    // captionColors().background; null without a caption.
    QImage captionText;
    std::uint32_t fontColor = 0;
    int captionLeft = -1;
    int captionTop = -1;
};

struct CaptionColors
{
    std::uint32_t background;
    std::uint32_t foreground;
};
// Text is rendered in colours that cannot be mistaken for the key.
CaptionColors captionColors(std::uint32_t transparentColor);

// The picture and caption on the key colour, inside any border and shadow.
QImage baseImage(const ClearLook &look);
// The colour of the light edge, never equal to the key.
std::uint32_t lightColorFor(const ClearLook &look);
// The picture's outline in the light colour, moved inside the border.
QImage silhouetteImage(const QImage &base, const ClearLook &look, std::uint32_t light);

struct ClearImages
{
    QImage normal;
    QImage hot;
    QImage pressed;
    QImage disabled;
    QRegion normalRegion;
    QRegion pressedRegion;
};

// Whether a control of this size and border can be built at all.
bool canBuild(const ClearLook &look);
// Every state image and both regions. Without a border and shadow there is
// no separate pressed look, so the pressed ones are the normal ones.
ClearImages buildClearImages(const ClearLook &look);

// The size a control takes to fit its picture and caption.
QSize autoSize(QSize picture, QSize captionText, TBorderStyle borderStyle);

} // namespace clearimg
