#include "controls/ShineButtonPixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace shinebtn;

namespace {

// Glyph fixtures are drawn as text: '.' is the key colour (olive, as the
// bottom-left pixel must be), '#' the shape colour, other letters as listed.
constexpr QRgb kKey = 0x808000;
constexpr QRgb kShape = 0x0A64C8;   // red 10, green 100, blue 200
constexpr QRgb kShine = 0xFFFF00;   // yellow
constexpr QRgb kFace = 0xC0C0C0;

QRgb rgbOf(QRgb pixel) { return pixel & 0xFFFFFF; }

QImage glyphFrom(const std::vector<std::string> &rows)
{
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const char c = rows[y][x];
            image.setPixel(x, y, 0xFF000000 | (c == '.' ? kKey : c == '#' ? kShape : 0x102030));
        }
    }
    return image;
}

// The image as text: '.' key colour, '#' shape, '*' shine, 'W'/'B' white and
// black, '?' anything else.
std::vector<std::string> textOf(const QImage &image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = rgbOf(image.pixel(x, y));
            row += c == kKey ? '.' : c == kShape ? '#' : c == rgbOf(kShine) ? '*'
                : c == 0xFFFFFF ? 'W' : c == 0 ? 'B' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

StateGlyph look(const QImage &glyph, TShineButtonState state, TActiveImageType active,
    TDisabledImageType disabled = diDefault)
{
    return stateGlyph(glyph, state, GlyphLook {active, disabled, kShine, kFace});
}

TEST(ShineGradientStripTest, EntriesRunFromStartToEndWithTruncation)
{
    const QImage grey = gradientStrip(0x000000, 0xFFFFFF, false);
    ASSERT_EQ(grey.size(), QSize(256, 1));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(rgbOf(grey.pixel(i, 0)), rgbOf(qRgb(i, i, i))) << i;

    // From red to blue the channels meet in the middle unevenly.
    const QImage redToBlue = gradientStrip(qRgb(255, 0, 0), qRgb(0, 0, 255), true);
    ASSERT_EQ(redToBlue.size(), QSize(1, 256));
    EXPECT_EQ(rgbOf(redToBlue.pixel(0, 128)), rgbOf(qRgb(127, 0, 128)));
    EXPECT_EQ(rgbOf(redToBlue.pixel(0, 0)), rgbOf(qRgb(255, 0, 0)));
    EXPECT_EQ(rgbOf(redToBlue.pixel(0, 255)), rgbOf(qRgb(0, 0, 255)));
    // A falling channel truncates toward zero, not down: 200 - 200*1/255.
    EXPECT_EQ(qRed(gradientStrip(qRgb(200, 0, 0), 0, false).pixel(1, 0)), 200);
}

// The bevel of a 6 by 5 button painted into a grid: H highlight, S shadow,
// D dark shadow, O outline, '.' untouched.
std::vector<std::string> bevelOf(TFrameType frame, bool down)
{
    const QSize size(6, 5);
    std::vector<std::string> grid(size.height(), std::string(size.width(), '.'));
    const BevelColors set {1, 2, 3};
    for (const BevelLine &line : bevelLines(frame, down, size, set, 4)) {
        const QRect span = lineSpan(line);
        for (int y = span.top(); y <= span.bottom(); ++y) {
            for (int x = span.left(); x <= span.right(); ++x)
                grid[y][x] = " HSDO"[line.color];
        }
    }
    return grid;
}

TEST(ShineBevelTest, LinesStopOneShortOfTheirEndInEveryFrame)
{
    struct Case {
        TFrameType frame;
        bool down;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {ftFlatFrame, false, {"HHHHH.", "H....S", "H....S", "H....S", ".SSSSS"}},
        {ftFlatFrame, true, {"SSSSS.", "S....H", "S....H", "S....H", ".HHHHH"}},
        {ftNormalFrame, false, {"HHHHH.", "H...SD", "H...SD", "HSSSSD", ".DDDDD"}},
        {ftNormalFrame, true, {"DDDDD.", "DSSSSH", "DS...H", "DS...H", ".HHHHH"}},
        {ftEnclosedFrame, false, {"OOOOOO", "OHHH.O", "OH..SO", "O.SSSO", "OOOOOO"}},
        {ftEnclosedFrame, true, {"OOOOOO", "OSSS.O", "OS..HO", "O.HHHO", "OOOOOO"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bevelOf(c.frame, c.down), c.expected) << "frame " << c.frame << " down " << c.down;
}

TEST(ShineBevelTest, WhichLooksShowTheFrame)
{
    // activeFrame, upFrame, downFrame each switched on alone.
    EXPECT_TRUE(bevelShown(sbHot, true, false, false));
    EXPECT_TRUE(bevelShown(sbDownHot, true, false, false));
    EXPECT_TRUE(bevelShown(sbUp, false, true, false));
    EXPECT_TRUE(bevelShown(sbDisabled, false, true, false));
    EXPECT_TRUE(bevelShown(sbDown, false, false, true));
    EXPECT_FALSE(bevelShown(sbDown, true, true, false));
    EXPECT_FALSE(bevelShown(sbHot, false, true, true));
}

TEST(ShineStateGlyphTest, ChannelTransformsChangeOnlyTheShape)
{
    const QImage glyph = glyphFrom({"#.", ".."});
    struct Case {
        TShineButtonState state;
        TActiveImageType active;
        TDisabledImageType disabled;
        QRgb expected; // the shape pixel (10, 100, 200) afterwards
    };
    const Case cases[] = {
        {sbHot, aiNormal, diDefault, qRgb(10, 100, 200)},
        {sbHot, aiXorLight, diDefault, qRgb(10 ^ 255, 100 ^ 255, 200)},
        {sbDownHot, aiHalfLight, diDefault, qRgb((255 + 10) / 2, (255 + 100) / 2, 200 / 2)},
        {sbHot, aiQuaterLight, diDefault, qRgb((765 + 10) / 4, (765 + 100) / 4, 200 / 4)},
        {sbHot, aiAddLight, diDefault, qRgb(255, 255, 200)},
        {sbDisabled, aiNormal, diGrayscale, qRgb(103, 103, 103)},
        {sbDisabled, aiNormal, diAlphaHalfTrans, qRgb((192 + 10) / 2, (192 + 100) / 2, (192 + 200) / 2)},
        {sbDisabled, aiNormal, diAlphaQuaterTrans, qRgb((576 + 10) / 4, (576 + 100) / 4, (576 + 200) / 4)},
        {sbUp, aiXorLight, diGrayscale, qRgb(10, 100, 200)},
        {sbDown, aiXorLight, diGrayscale, qRgb(10, 100, 200)},
    };
    for (const Case &c : cases) {
        const StateGlyph result = look(glyph, c.state, c.active, c.disabled);
        EXPECT_EQ(rgbOf(result.image.pixel(0, 0)), rgbOf(c.expected)) << c.state << '/' << c.active << '/' << c.disabled;
        EXPECT_EQ(rgbOf(result.image.pixel(1, 0)), kKey);
        EXPECT_EQ(result.transparent, kKey);
        EXPECT_FALSE(result.mask);
    }
}

TEST(ShineStateGlyphTest, FrameLightsDrawAHaloOnTheBackground)
{
    const QImage glyph = glyphFrom({".......", ".......", "...#...", ".......", "......."});
    EXPECT_EQ(textOf(look(glyph, sbHot, aiFrameLight).image),
        (std::vector<std::string> {".......", "...*...", "..*#*..", "...*...", "......."}));
    EXPECT_EQ(textOf(look(glyph, sbHot, aiFrameLight2).image),
        (std::vector<std::string> {"...*...", "..***..", ".**#**.", "..***..", "...*..."}));
}

TEST(ShineStateGlyphTest, HaloOverTheKeyPixelKeepsTheGlyphBackgroundOut)
{
    // The shape touches column 1 of the last row, so the halo covers the
    // bottom-left pixel; the background must still be the original key.
    const QImage glyph = glyphFrom({"...", "...", ".#."});
    const StateGlyph result = look(glyph, sbHot, aiFrameLight);
    EXPECT_EQ(textOf(result.image), (std::vector<std::string> {"...", ".*.", "*#*"}));
    EXPECT_EQ(result.transparent, kKey);

    const QImage drawn = keyedOut(result.image, result.transparent);
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);
    EXPECT_EQ(drawn.pixel(0, 2), 0xFF000000 | kShine);
}

TEST(ShineStateGlyphTest, MaskLooksFormACheckerboardWhateverTheHeight)
{
    for (const int height : {4, 3}) {
        const QImage glyph = glyphFrom(std::vector<std::string>(height, "####"));
        // The key is the bottom-left pixel: a fully drawn glyph has the
        // shape colour as its key, so give it a distinct bottom-left pixel.
        QImage withKey = glyph;
        withKey.setPixel(0, height - 1, 0xFF000000 | kKey);

        const std::vector<std::string> hot = textOf(look(withKey, sbHot, aiMaskLight).image);
        const std::vector<std::string> disabled = textOf(look(withKey, sbDisabled, aiNormal, diMaskTrans).image);
        for (int y = 0; y + 1 < height; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool chosen = (x + y) % 2 == 1;
                EXPECT_EQ(hot[y][x], chosen ? '*' : '#') << height << ' ' << x << ',' << y;
                EXPECT_EQ(disabled[y][x], chosen ? '.' : '#') << height << ' ' << x << ',' << y;
            }
        }
    }
}

TEST(ShineStateGlyphTest, DefaultDisabledLookIsTheShapesEdgeMask)
{
    const QImage glyph = glyphFrom({"......", ".###..", ".###..", ".###..", "......"});
    const StateGlyph result = look(glyph, sbDisabled, aiNormal, diDefault);
    EXPECT_TRUE(result.mask);
    EXPECT_EQ(result.transparent, 0u);
    // White where a 2x2 window's diagonals differ; last row and column black.
    EXPECT_EQ(textOf(result.image), (std::vector<std::string> {
        "WWWWBB", "WBBWBB", "WBBWBB", "WWWWBB", "BBBBBB"}));

    const QImage painted = maskIn(result.image, qRgb(1, 2, 3));
    EXPECT_EQ(painted.pixel(0, 0), qRgba(1, 2, 3, 255));
    EXPECT_EQ(qAlpha(painted.pixel(1, 1)), 0);
}

TEST(ShineStateGlyphTest, EmptyOrForeignFormatGlyphs)
{
    EXPECT_TRUE(look(QImage(), sbHot, aiXorLight).image.isNull());

    QImage rgb888 = glyphFrom({"#.", ".."}).convertToFormat(QImage::Format_RGB888);
    const StateGlyph result = look(rgb888, sbHot, aiAddLight);
    EXPECT_EQ(result.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgbOf(result.image.pixel(0, 0)), rgbOf(qRgb(255, 255, 200)));
}

TEST(ShineLayoutTest, BlockPlacementForEveryLayoutAndMargin)
{
    struct Case {
        TButtonLayout layout;
        int margin;
        QPoint glyph;
        QPoint caption;
    };
    // A 40 by 30 client, a 16 by 16 glyph, a 20 by 10 caption, spacing 4.
    const Case cases[] = {
        {blGlyphLeft, -1, {0, 7}, {20, 10}},
        {blGlyphLeft, 3, {3, 7}, {23, 10}},
        {blGlyphRight, -1, {24, 7}, {0, 10}},
        {blGlyphRight, 2, {22, 7}, {-2, 10}},
        {blGlyphTop, -1, {12, 0}, {10, 20}},
        {blGlyphTop, 5, {12, 5}, {10, 25}},
        {blGlyphBottom, -1, {12, 14}, {10, 0}},
        {blGlyphBottom, 1, {12, 13}, {10, -1}},
    };
    for (const Case &c : cases) {
        LayoutInput in {QSize(40, 30), QSize(16, 16), QSize(20, 10), true, c.layout, c.margin, 4};
        const DrawPosition at = calcDrawPosition(in);
        EXPECT_EQ(at.glyph, c.glyph) << "layout " << c.layout << " margin " << c.margin;
        EXPECT_EQ(at.caption, QRect(c.caption, QSize(20, 10))) << "layout " << c.layout << " margin " << c.margin;
    }
}

TEST(ShineLayoutTest, LoneGlyphOrCaptionAndOversizedBlocks)
{
    // Glyph alone: no spacing is added.
    LayoutInput glyphOnly {QSize(25, 25), QSize(16, 16), QSize(), false, blGlyphLeft, -1, 4};
    EXPECT_EQ(calcDrawPosition(glyphOnly).glyph, QPoint(4, 4));
    // A caption 5 pixels wider than the control: (25 - 30) / 2 is -2.
    LayoutInput wide {QSize(25, 25), QSize(), QSize(30, 10), true, blGlyphTop, -1, 4};
    EXPECT_EQ(calcDrawPosition(wide).caption, QRect(-2, 7, 30, 10));
    // Spacing counts only between glyph and caption.
    LayoutInput both {QSize(100, 20), QSize(10, 10), QSize(10, 10), true, blGlyphLeft, 0, 7};
    EXPECT_EQ(calcDrawPosition(both).caption.left(), 17);
}

} // namespace
