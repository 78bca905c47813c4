#include "platform/SystemColors.h"
#include "skin/ClearImages.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace clearimg;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kSilver = 0xC0C0C0;
const QRgb kWhitePixel = qRgb(255, 255, 255);

// A 38 x 38 bitmap on white: a filled yellow square inset by 4 with a
// near-white stripe, so lightening it would reach white.
QImage folderPicture()
{
    QImage picture(38, 38, QImage::Format_RGB32);
    picture.fill(kWhitePixel);
    for (int y = 4; y < 34; ++y)
        for (int x = 4; x < 34; ++x)
            picture.setPixel(x, y, y < 8 ? qRgb(0xF0, 0xF0, 0xF0) : qRgb(255, 200, 40));
    return picture;
}

// The main window's sort buttons: a push button on a white key with a
// white face, a silver shadow and all four options.
ClearLook sortButtonLook()
{
    ClearLook look;
    look.size = QSize(46, 50);
    look.borderStyle = bsSingle;
    look.style = sbsPushBtn;
    look.options = {sioDisableImage, sioHotTrackImage, sioTransAtDesigning, sioBorderAndShadow};
    look.transparentColor = kWhite;
    look.color = kWhite;
    look.lightColor = colors::clBtnHighlight;
    look.shadowColor = kSilver;
    look.picture = folderPicture();
    look.pictureKey = kWhite;
    return look;
}

int keyPixels(const QImage &image, QRgb key)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == key;
    return count;
}

TEST(ClearColorsTest, ChannelArithmeticClampsAndResolvesSystemColours)
{
    struct Case
    {
        std::uint32_t got;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {LightenColor(0x10F0FF, 32), 0x30FFFF},
        {DarkenColor(0x10F000, 32), 0x00D000},
        {DarkenColor(kWhite, 32), 0xDFDFDF},
        {GrayColor(0x000000), 0x808080},
        {GrayColor(kWhite), 0xC0C0C0},
        {GrayColor(0x3090F0), 0x909090},
        // Without a GUI the classic scheme stands in: the highlight is white.
        {LightenColor(colors::clBtnHighlight, 0), kWhite},
        {awayFromKey(kWhite, kWhite), 0xF7F7F7},
        {awayFromKey(0x000000, 0x000000), 0x080808},
        {awayFromKey(0x123456, kWhite), 0x123456},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.got, c.expected) << std::hex << c.got;
}

TEST(ClearImagesTest, BaseImageCentresThePictureInsideBorderAndShadow)
{
    const ClearLook look = sortButtonLook();
    const QImage base = baseImage(look);
    ASSERT_EQ(base.size(), QSize(42, 46));
    for (int y = 0; y < base.height(); ++y) {
        for (int x = 0; x < base.width(); ++x) {
            const bool onPicture = x >= 2 && x < 40 && y >= 4 && y < 42;
            const QRgb expected = onPicture ? look.picture.pixel(x - 2, y - 4) : kWhitePixel;
            ASSERT_EQ(base.pixel(x, y), expected) << x << "," << y;
        }
    }

    ClearLook plain = look;
    plain.options = {};
    EXPECT_EQ(baseImage(plain).size(), QSize(46, 50));
}

TEST(ClearImagesTest, WhiteLightColourOnAWhiteKeyBecomesF7)
{
    const ClearLook look = sortButtonLook();
    EXPECT_EQ(lightColorFor(look), 0xF7F7F7u);
    const ClearImages images = buildClearImages(look);
    // The picture sits at (4, 6) in the normal image, its shape from (8, 10);
    // the light edge lies two pixels out above and left of it.
    EXPECT_EQ(images.normal.pixel(6, 8), qRgb(0xF7, 0xF7, 0xF7));
    EXPECT_EQ(images.normal.pixel(7, 9), qRgb(0xF7, 0xF7, 0xF7));
    EXPECT_EQ(images.normal.pixel(13, 20), look.picture.pixel(9, 14));
}

TEST(ClearImagesTest, FaceOnTheKeyMakesThePressedLookAWholeDarkerRectangle)
{
    const ClearLook look = sortButtonLook();
    const ClearImages images = buildClearImages(look);

    EXPECT_EQ(images.pressedRegion, QRegion(0, 0, 46, 50));
    EXPECT_EQ(keyPixels(images.pressed, kWhitePixel), 0);
    // The picture moves one pixel right and down; everything else is 0xDFDFDF.
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 46; ++x) {
            const QPoint inPicture(x - 3 - 2, y - 3 - 4);
            const bool onShape = QRect(4, 4, 30, 30).contains(inPicture);
            const QRgb expected = onShape ? look.picture.pixel(inPicture) : qRgb(0xDF, 0xDF, 0xDF);
            ASSERT_EQ(images.pressed.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(ClearImagesTest, NormalRegionFollowsThePictureOutline)
{
    const ClearImages images = buildClearImages(sortButtonLook());
    // The shape spans the picture at (8, 10)-(37, 39) in the normal image,
    // with the light edge two pixels out to the upper left and the shadow
    // (its outline one pixel longer on the right) out to the lower right.
    const QRect box = images.normalRegion.boundingRect();
    EXPECT_EQ(box, QRect(QPoint(6, 8), QPoint(40, 41)));
    EXPECT_FALSE(images.normalRegion.contains(QPoint(0, 0)));
    EXPECT_FALSE(images.normalRegion.contains(QPoint(45, 49)));
    EXPECT_TRUE(images.normalRegion.contains(QPoint(20, 20)));
    // The region is exactly the image's non-key pixels.
    EXPECT_EQ(images.normalRegion, RegionFromImage(images.normal, kWhitePixel));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 46; ++x)
            ASSERT_EQ(images.normalRegion.contains(QPoint(x, y)), images.normal.pixel(x, y) != kWhitePixel);
}

TEST(ClearImagesTest, HotAndDisabledLooksKeepTheShapeWithoutHoles)
{
    const ClearLook look = sortButtonLook();
    const ClearImages images = buildClearImages(look);
    ASSERT_FALSE(images.hot.isNull());
    ASSERT_FALSE(images.disabled.isNull());
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 46; ++x) {
            const bool inShape = images.normalRegion.contains(QPoint(x, y));
            // A near-white stripe lightened by 128 would land on the key.
            ASSERT_EQ(images.hot.pixel(x, y) != kWhitePixel, inShape) << x << "," << y;
            const QRgb grey = images.disabled.pixel(x, y);
            if (inShape) {
                ASSERT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey));
                ASSERT_TRUE(qRed(grey) >= 128 && qRed(grey) <= 192);
            } else {
                ASSERT_EQ(grey, kWhitePixel);
            }
        }
    }
    // The yellow body is lightened, channel by channel.
    EXPECT_EQ(images.hot.pixel(7 + 10, 11 + 10), qRgb(255, 255, 168));

    ClearLook plain = look;
    plain.options = {};
    const ClearImages none = buildClearImages(plain);
    EXPECT_TRUE(none.hot.isNull());
    EXPECT_TRUE(none.disabled.isNull());
}

TEST(ClearImagesTest, WithoutBorderAndShadowAPressShowsTheNormalLook)
{
    ClearLook look = sortButtonLook();
    look.options = {sioHotTrackImage};
    const ClearImages images = buildClearImages(look);
    EXPECT_EQ(images.pressed, images.normal);
    EXPECT_EQ(images.pressedRegion, images.normalRegion);
    // The picture alone, centred in the whole control and moved in by the border.
    EXPECT_EQ(images.normalRegion, QRegion(1 + 4 + 4, 1 + 6 + 4, 30, 30));
}

TEST(ClearImagesTest, StylesPlaceTheShadowDifferently)
{
    struct Case
    {
        TTransBtnStyle style;
        TBorderStyle border;
        QRect normalBox;
        QRect pressedBox;
    };
    // A 10 x 10 square centred in a 20 x 20 control; its outline is one
    // pixel longer on the right.
    const Case cases[] = {
        {sbsPushBtn, bsSingle, QRect(QPoint(3, 3), QPoint(17, 16)), QRect(QPoint(4, 4), QPoint(17, 16))},
        {sbsPushBtn, bsNone, QRect(QPoint(4, 4), QPoint(16, 15)), QRect(QPoint(5, 5), QPoint(15, 15))},
        {sbsFloatBtn, bsSingle, QRect(QPoint(4, 4), QPoint(18, 17)), QRect(QPoint(5, 5), QPoint(17, 16))},
        {sbsImage, bsSingle, QRect(QPoint(4, 4), QPoint(16, 15)), QRect(QPoint(4, 4), QPoint(16, 15))},
    };
    for (const Case &c : cases) {
        ClearLook look;
        look.size = QSize(20, 20);
        look.borderStyle = c.border;
        look.style = c.style;
        look.options = {sioBorderAndShadow};
        look.color = 0x00FF00;
        look.shadowColor = 0x000080;
        look.lightColor = kWhite;
        look.picture = QImage(10, 10, QImage::Format_RGB32);
        look.picture.fill(qRgb(0, 0, 255));
        const ClearImages images = buildClearImages(look);
        EXPECT_EQ(images.normalRegion.boundingRect(), c.normalBox) << int(c.style) << int(c.border);
        EXPECT_EQ(images.pressedRegion.boundingRect(), c.pressedBox) << int(c.style) << int(c.border);
    }
}

TEST(ClearImagesTest, CaptionIsCentredInTheFontColour)
{
    ClearLook look;
    look.size = QSize(40, 30);
    look.borderStyle = bsSingle;
    look.transparentColor = kWhite;
    // Text in black on the grey that stands for the background on a white key.
    const CaptionColors colors = captionColors(kWhite);
    ASSERT_EQ(colors.background, 0xC0C0C0u);
    look.captionText = filledImage(QSize(6, 4), pixelOf(colors.background));
    look.captionText.setPixel(1, 1, pixelOf(colors.foreground));
    look.captionText.setPixel(2, 2, qRgb(0x80, 0x80, 0x80));
    look.fontColor = 0xFF0000;

    const QImage base = baseImage(look);
    // (40 - 6) / 2 - 2 = 15, (30 - 4) / 2 - 2 = 11.
    EXPECT_EQ(base.pixel(16, 12), qRgb(0, 0, 255));
    EXPECT_EQ(base.pixel(17, 13), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(keyPixels(base, kWhitePixel), 40 * 30 - 2);

    look.captionLeft = 0;
    look.captionTop = 0;
    EXPECT_EQ(baseImage(look).pixel(1, 1), qRgb(0, 0, 255));
}

TEST(ClearImagesTest, NothingIsCutOutForASystemColourKey)
{
    ClearLook look;
    look.size = QSize(12, 9);
    look.transparentColor = colors::clBtnFace;
    EXPECT_EQ(buildClearImages(look).normalRegion, QRegion(0, 0, 12, 9));

    look.transparentColor = 0xFF00FF;
    EXPECT_TRUE(buildClearImages(look).normalRegion.isEmpty());
}

TEST(ClearImagesTest, TooSmallControlsAreNotBuilt)
{
    ClearLook look;
    look.borderStyle = bsSingle;
    look.size = QSize(5, 5);
    EXPECT_TRUE(canBuild(look));
    look.size = QSize(4, 40);
    EXPECT_FALSE(canBuild(look));
    look.borderStyle = bsNone;
    look.size = QSize(3, 3);
    EXPECT_TRUE(canBuild(look));
}

TEST(ClearImagesTest, RegionJoinsRowsWithEqualRuns)
{
    // An L shape with a gap: rows 0-2 hold two runs, rows 3-4 one.
    QImage image = filledImage(QSize(8, 5), kWhitePixel);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            if (x < 2 || (y < 3 && x >= 5) || y >= 3)
                image.setPixel(x, y, qRgb(1, 2, 3));
    const QRegion region = RegionFromImage(image, kWhitePixel);
    QRegion expected = QRegion(0, 0, 2, 5) + QRegion(5, 0, 3, 3) + QRegion(0, 3, 8, 2);
    EXPECT_TRUE(region.xored(expected).isEmpty());
    EXPECT_EQ(region.rectCount(), 3);
    EXPECT_TRUE(RegionFromImage(filledImage(QSize(4, 4), kWhitePixel), kWhitePixel).isEmpty());
}

TEST(ClearImagesTest, AutoSizeFitsPictureAndCaption)
{
    struct Case
    {
        QSize picture;
        QSize text;
        TBorderStyle border;
        QSize expected;
    };
    const Case cases[] = {
        {QSize(38, 38), QSize(), bsSingle, QSize(46, 46)},
        {QSize(38, 38), QSize(), bsNone, QSize(42, 42)},
        {QSize(), QSize(), bsSingle, QSize(24, 16)},
        {QSize(38, 10), QSize(50, 20), bsSingle, QSize(58, 28)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(autoSize(c.picture, c.text, c.border), c.expected);
}

TEST(ClearImagesTest, KeyPixelsBecomeTransparentForPainting)
{
    QImage image = filledImage(QSize(2, 1), kWhitePixel);
    image.setPixel(1, 0, qRgb(10, 20, 30));
    const QImage painted = keyToAlpha(image, kWhitePixel);
    EXPECT_EQ(qAlpha(painted.pixel(0, 0)), 0);
    EXPECT_EQ(painted.pixel(1, 0), qRgb(10, 20, 30));
}

} // namespace
