#include "skin/TechnicalLineGeometry.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using techline::Primitive;

namespace {

// The main window's connectors: pen width 2, shadow depth 1, sign size 24,
// a filled closed arrow at the end.
techline::LineLook mainWindowLine(TTechnicalLineTypes type)
{
    techline::LineLook look;
    look.lineType = type;
    look.endSign = leClosedArrowRight;
    look.signPlaces = spEnd;
    look.signSize = 24;
    look.penWidth = 2;
    look.filled = true;
    look.shadowVisible = true;
    look.shadowDepth = 1;
    return look;
}

TEST(TechnicalLineGeometryTest, FirstConnectorCurvesUpToItsArrow)
{
    const auto list = techline::primitives(mainWindowLine(lsTopLeftCurve), QRect(0, 0, 100, 318));
    EXPECT_EQ(techline::innerRect(QRect(0, 0, 100, 318), 2), QRect(2, 2, 96, 314));
    ASSERT_EQ(list.size(), 4u);

    const Primitive &shadowArc = list[0];
    const Primitive &arc = list[1];
    EXPECT_EQ(arc.kind, Primitive::Arc);
    EXPECT_FALSE(arc.shadow);
    EXPECT_EQ(arc.boxFrom, QPoint(2, 14));
    EXPECT_EQ(arc.boxTo, QPoint(144, 618));
    EXPECT_EQ(arc.rayFrom, QPoint(73, 14));
    EXPECT_EQ(arc.rayTo, QPoint(2, 315));
    EXPECT_TRUE(shadowArc.shadow);
    EXPECT_EQ(shadowArc.boxFrom, QPoint(3, 15));
    EXPECT_EQ(shadowArc.boxTo, QPoint(145, 619));
    EXPECT_EQ(shadowArc.rayFrom, QPoint(74, 15));
    EXPECT_EQ(shadowArc.rayTo, QPoint(3, 316));

    const Primitive &shadowArrow = list[2];
    const Primitive &arrow = list[3];
    EXPECT_EQ(shadowArrow.kind, Primitive::Polygon);
    EXPECT_TRUE(shadowArrow.shadow && shadowArrow.filled);
    EXPECT_EQ(shadowArrow.points, (std::vector<QPoint> {{75, 4}, {97, 15}, {75, 26}}));
    EXPECT_FALSE(arrow.shadow);
    EXPECT_TRUE(arrow.filled);
    EXPECT_EQ(arrow.points, (std::vector<QPoint> {{74, 3}, {96, 14}, {74, 25}}));
}

TEST(TechnicalLineGeometryTest, StraightConnectorRunsAcrossToItsSignBox)
{
    techline::LineLook look = mainWindowLine(lsStraightLeftToRight);
    look.endSign = leRectangle;
    const auto list = techline::primitives(look, QRect(0, 0, 100, 29));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].points, (std::vector<QPoint> {{3, 14}, {73, 14}}));
    EXPECT_EQ(list[0].points, (std::vector<QPoint> {{4, 15}, {74, 15}}));
    // The sign box (73, 2)-(98, 26): the shape without its shadow's corner,
    // shrunk by one for the wide pen.
    EXPECT_EQ(list[3].kind, Primitive::Rectangle);
    EXPECT_EQ(list[3].boxFrom, QPoint(74, 3));
    EXPECT_EQ(list[3].boxTo, QPoint(96, 24));
    EXPECT_EQ(list[2].boxFrom, QPoint(75, 4));
    EXPECT_EQ(list[2].boxTo, QPoint(97, 25));
}

TEST(TechnicalLineGeometryTest, WithoutShadowSignsFillTheirWholeBox)
{
    techline::LineLook look = mainWindowLine(lsStraightLeftToRight);
    look.shadowVisible = false;
    look.penWidth = 1;
    look.filled = false;
    const auto list = techline::primitives(look, QRect(0, 0, 100, 29));
    ASSERT_EQ(list.size(), 2u);
    // Pen width 1: inner rectangle inset by 1, W = 98, H = 27, M = 24.
    EXPECT_EQ(list[0].points, (std::vector<QPoint> {{1, 14}, {75, 14}}));
    EXPECT_FALSE(list[1].filled);
    EXPECT_EQ(list[1].points, (std::vector<QPoint> {{75, 2}, {99, 14}, {75, 26}}));
}

TEST(TechnicalLineGeometryTest, SignPlacesChooseTheSigns)
{
    struct Case
    {
        TSignPlaces places;
        size_t count;
    };
    // Without shadow: a sign is one primitive, a line one.
    const Case cases[] = {{spEnd, 2}, {spStart, 2}, {spBoth, 3}, {spNoWhere, 1}};
    for (TTechnicalLineTypes type : {lsStraightLeftToRight, lsStraightTopToBottom, lsTopLeftToBottomRight,
             lsBottomLeftToTopRight, lsTopLeftCurve, lsBottomLeftCurve, lsTopRightCurve, lsBottomRightCurve}) {
        for (const Case &c : cases) {
            techline::LineLook look;
            look.lineType = type;
            look.startSign = leCircle;
            look.endSign = leDiamond;
            look.signPlaces = c.places;
            EXPECT_EQ(techline::primitives(look, QRect(0, 0, 130, 45)).size(), c.count)
                << int(type) << " " << int(c.places);
        }
    }
    techline::LineLook none;
    none.endSign = leNothing;
    EXPECT_EQ(techline::primitives(none, QRect(0, 0, 130, 45)).size(), 1u);
}

TEST(TechnicalLineGeometryTest, ArrowsTurnWithTheLineType)
{
    using techline::pointedArrow;
    EXPECT_EQ(pointedArrow(leClosedArrowRight, techline::endDirection(lsTopRightCurve)), leClosedArrowDown);
    EXPECT_EQ(pointedArrow(leOpenArrowRight, techline::startDirection(lsBottomRightEdge)), leOpenArrowUp);
    EXPECT_EQ(pointedArrow(leDiamond, techline::Direction::Left), leDiamond);
    EXPECT_EQ(pointedArrow(leNothing, techline::Direction::Left), leNothing);
}

TEST(TechnicalLineGeometryTest, ArcAnglesFollowTheRaysOnAFlatEllipse)
{
    struct Case
    {
        QRectF box;
        QPointF from;
        QPointF to;
        int start;
        int span;
    };
    const Case cases[] = {
        // Top to left of a tall ellipse: a quarter, counterclockwise.
        {QRectF(0, 0, 100, 600), {50, 0}, {0, 300}, 90 * 16, 90 * 16},
        // Left half through the top and bottom.
        {QRectF(0, 0, 40, 20), {20, 0}, {20, 20}, 90 * 16, 180 * 16},
        // The ray through a box corner of a 4:1 box is 45 degrees of the
        // parameter, not the 14 degrees of the plain angle.
        {QRectF(0, 0, 400, 100), {400, 0}, {0, 50}, 45 * 16, 135 * 16},
        // Equal rays make the whole ellipse.
        {QRectF(0, 0, 10, 10), {10, 5}, {10, 5}, 0, 360 * 16},
    };
    for (const Case &c : cases) {
        const techline::ArcAngles angles = techline::arcAngles(c.box, c.from, c.to);
        EXPECT_EQ(angles.start, c.start);
        EXPECT_EQ(angles.span, c.span);
    }
}

} // namespace
