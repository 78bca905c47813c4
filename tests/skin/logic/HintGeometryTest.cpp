#include "skin/HintGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(HintGeometryTest, EachStyleEnlargesAndShapesTheWindow)
{
    const QSize text(100, 20);
    struct Case
    {
        THintStyle style;
        QSize window;
    };
    // The text plus (6, 2), the style's enlargement, and 4 rows more.
    const Case cases[] = {
        {hsFukidashi, QSize(106, 20 + 2 + 9 + 4)},
        {hsRoundRect, QSize(106, 26)},
        {hsLineString, QSize(100 + 27, 20 + 18)},
        {hsOwnerDraw, QSize(106, 26)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hintgeo::shapeFor(c.style, text).window, c.window) << int(c.style);
}

TEST(HintGeometryTest, LineStringIsInsetByOnePixelAndLeavesTheLastRowsOut)
{
    const hintgeo::HintShape shape = hintgeo::shapeFor(hsLineString, QSize(100, 20));
    EXPECT_EQ(shape.rect, QRect(0, 0, 127, 34));
    EXPECT_EQ(shape.region, QRegion(1, 1, 125, 32));
    EXPECT_FALSE(shape.region.intersects(QRect(0, 34, 127, 4)));
    EXPECT_EQ(hintgeo::leaderLine(shape.rect), QPolygon({QPoint(1, 1), QPoint(17, 32), QPoint(127, 32)}));

    const auto passes = hintgeo::textPasses(hsLineString, true);
    ASSERT_EQ(passes.size(), 5u);
    EXPECT_EQ(passes.back().offset, QPoint(19, 11));
    EXPECT_FALSE(passes.back().shadow);
    EXPECT_EQ(hintgeo::textPasses(hsLineString, false).size(), 1u);
}

TEST(HintGeometryTest, BalloonHasItsTailInTheTopRows)
{
    const hintgeo::HintShape shape = hintgeo::shapeFor(hsFukidashi, QSize(100, 20));
    EXPECT_TRUE(shape.region.contains(QPoint(12, 5)));
    EXPECT_FALSE(shape.region.contains(QPoint(4, 5)));
    EXPECT_FALSE(shape.region.contains(QPoint(50, 5)));
    EXPECT_TRUE(shape.region.contains(QPoint(50, 20)));
    EXPECT_EQ(shape.balloon.size(), 8);
    EXPECT_TRUE(hintgeo::shapeFor(hsOwnerDraw, QSize(10, 10)).region.isEmpty());
}

} // namespace
