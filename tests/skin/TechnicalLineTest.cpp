#include "platform/SystemColors.h"
#include "skin/TechnicalLine.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(TechnicalLineTest, DefaultsAndArrowsTurningWithTheType)
{
    TTechnicalLine line;
    EXPECT_EQ(line.size(), QSize(130, 45));
    EXPECT_EQ(line.LineType(), lsStraightLeftToRight);
    EXPECT_EQ(line.LineEndingsign(), leClosedArrowRight);
    EXPECT_EQ(line.SignPlaces(), spEnd);
    EXPECT_EQ(line.SignSize(), 40);
    EXPECT_EQ(line.ShadowDepth(), 6);
    EXPECT_EQ(line.ShadowColor(), colors::clBtnShadow);
    EXPECT_EQ(line.FillColor(), colors::clNone);
    EXPECT_TRUE(line.Transparent());
    EXPECT_TRUE(line.testAttribute(Qt::WA_TransparentForMouseEvents));

    line.setLineType(lsTopLeftCurve);
    line.setLineType(lsTopRightCurve);
    EXPECT_EQ(line.LineEndingsign(), leClosedArrowRight);
    line.setArrowed(true);
    line.setLineType(lsTopLeftCurve);
    line.setLineType(lsTopRightCurve);
    EXPECT_EQ(line.LineEndingsign(), leClosedArrowDown);
}

TEST(TechnicalLineTest, PaintsShadowUnderAFilledArrow)
{
    TTechnicalLine line;
    line.resize(100, 29);
    line.setSignSize(24);
    line.setLineSettings(0x404080, 2);
    line.setShadowVisible(true);
    line.setShadowDepth(1);
    line.setShadowColor(0xFF0000);
    line.setFillColor(0xFF0000);
    line.setTransparent(false);
    line.setColor(0xFFFFFF);
    const QImage image = line.grab().toImage();
    // Inside the arrowhead: blue fill; on the line: the pen's colour; far
    // from both: the background.
    EXPECT_EQ(image.pixelColor(82, 14), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(40, 14), QColor(128, 64, 64));
    EXPECT_EQ(image.pixelColor(40, 4), QColor(255, 255, 255));
}

} // namespace
