#include "controls/ShineSpeedButton.h"

#include <QAction>
#include <QCursor>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Colours as 0x00BBGGRR values and the QRgb they paint.
constexpr colors::TColor kFace = 0x204060;
constexpr colors::TColor kPressedFace = 0x6080A0;
constexpr colors::TColor kHighlight = 0xF0F0F0;
constexpr colors::TColor kShadow = 0x808080;
constexpr colors::TColor kDark = 0x101010;
constexpr colors::TColor kPressedHighlight = 0xE0E0E0;
constexpr colors::TColor kPressedShadow = 0x707070;
constexpr colors::TColor kPressedDark = 0x202020;

QRgb rgbOf(colors::TColor color) { return colors::toRgb(color, QPalette()); }
QRgb at(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }

bool contains(const QImage &image, QRgb color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (at(image, x, y) == (color | 0xFF000000))
                return true;
        }
    }
    return false;
}

QImage shot(QWidget &widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A shown parent holding the buttons under test, with fixed colours.
class ShineSpeedButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.resize(400, 200);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        // The pointer rests on the parent, away from every button.
        QCursor::setPos(parent.mapToGlobal(kAway));
    }

    static constexpr QPoint kAway {390, 190};

    TShineSpeedButton *add(int groupIndex = 0, QSize size = QSize(60, 30))
    {
        auto *button = new TShineSpeedButton(&parent);
        button->setGeometry(10 + 70 * int(buttons.size()), 10, size.width(), size.height());
        button->SetGroupIndex(groupIndex);
        button->Colors().SetColor(kFace);
        button->Colors().SetHighlight(kHighlight);
        button->Colors().SetShadow(kShadow);
        button->Colors().SetDarkShadow(kDark);
        button->PressedColors().SetColor(kPressedFace);
        button->PressedColors().SetHighlight(kPressedHighlight);
        button->PressedColors().SetShadow(kPressedShadow);
        button->PressedColors().SetDarkShadow(kPressedDark);
        button->show();
        buttons.push_back(button);
        return button;
    }

    static void click(TShineSpeedButton *button, QPoint pos = QPoint(5, 5))
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, pos);
    }

    QWidget parent;
    std::vector<TShineSpeedButton *> buttons;
};

TEST_F(ShineSpeedButtonTest, FaceIsTheGradientStripStretchedEdgeToEdge)
{
    TShineSpeedButton *horizontal = add(0, QSize(256, 20));
    horizontal->SetUpFrame(false);
    horizontal->Colors().SetGradation(true);
    horizontal->Colors().SetColor(0x000000);
    horizontal->Colors().SetGradColor(0xFFFFFF);
    const QImage face = shot(*horizontal);
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(at(face, x, 10), qRgb(x, x, x)) << x;

    TShineSpeedButton *vertical = add(0, QSize(20, 256));
    vertical->SetUpFrame(false);
    vertical->Colors().SetGradation(true);
    vertical->Colors().SetGradVertical(true);
    vertical->Colors().SetColor(0x0000FF);
    vertical->Colors().SetGradColor(0xFF0000);
    EXPECT_EQ(at(shot(*vertical), 10, 128), qRgb(127, 0, 128));
}

TEST_F(ShineSpeedButtonTest, BevelOfEachFrameAndLook)
{
    struct Case {
        TFrameType frame;
        bool latched;
        bool downFrame;
        QPoint pixel; // negative coordinates count from the far edge
        colors::TColor expected;
    };
    const Case cases[] = {
        {ftNormalFrame, false, true, {0, 0}, kHighlight},
        {ftNormalFrame, false, true, {-1, -1}, kDark},
        {ftNormalFrame, false, true, {-2, -2}, kShadow},
        {ftNormalFrame, false, true, {-1, 0}, kFace},       // the line stops short
        {ftNormalFrame, true, true, {0, 0}, kPressedDark},
        {ftNormalFrame, true, true, {1, 1}, kPressedShadow},
        {ftFlatFrame, false, true, {-1, -1}, kShadow},
        {ftFlatFrame, true, true, {-1, -1}, kPressedHighlight},
        {ftEnclosedFrame, false, true, {0, 0}, kDark},
        {ftEnclosedFrame, true, true, {0, 0}, kDark},       // the up set's outline
        {ftEnclosedFrame, true, true, {1, 1}, kPressedShadow},
        {ftEnclosedFrame, true, false, {0, 0}, kPressedFace}, // no bevel, no outline
    };
    for (const Case &c : cases) {
        TShineSpeedButton *button = add(1, QSize(12, 10));
        button->SetFrameType(c.frame);
        button->SetDownFrame(c.downFrame);
        if (c.latched)
            button->SetDown(true);
        const QImage image = shot(*button);
        const int x = c.pixel.x() < 0 ? image.width() + c.pixel.x() : c.pixel.x();
        const int y = c.pixel.y() < 0 ? image.height() + c.pixel.y() : c.pixel.y();
        EXPECT_EQ(at(image, x, y), rgbOf(c.expected))
            << "frame " << c.frame << " latched " << c.latched << " at " << x << ',' << y;
        delete button;
        buttons.pop_back();
    }
}

// A 5 by 5 glyph on a fuchsia key: one shape pixel at (1, 4), next to the
// bottom-left key pixel, so the hot halo covers that pixel.
QImage haloGlyph()
{
    QImage glyph(5, 5, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    glyph.setPixel(1, 4, qRgb(0, 0, 200));
    return glyph;
}

TEST_F(ShineSpeedButtonTest, GlyphBackgroundStaysOutInEveryLook)
{
    TShineSpeedButton *button = add(0, QSize(25, 25));
    button->SetUpFrame(false);
    button->SetActiveFrame(false);
    button->SetShineColor(0x00FFFF);
    button->SetGlyph(haloGlyph());
    // Centred: the glyph's top-left pixel is at (10, 10).
    EXPECT_EQ(at(shot(*button), 10, 10), rgbOf(kFace));
    EXPECT_EQ(at(shot(*button), 11, 14), qRgb(0, 0, 200));

    // Hot with the frame light: the halo covers the key pixel, yet the rest
    // of the background still shows the face.
    QTest::mouseMove(button, QPoint(3, 3));
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(button->mapToGlobal(QPoint(3, 3))));
    QCoreApplication::sendEvent(button, &enter);
    ASSERT_EQ(button->State(), sbHot);
    const QImage hot = shot(*button);
    EXPECT_EQ(at(hot, 10, 14), qRgb(255, 255, 0));
    EXPECT_EQ(at(hot, 10, 10), rgbOf(kFace));
    EXPECT_EQ(at(hot, 13, 11), rgbOf(kFace));
}

TEST_F(ShineSpeedButtonTest, DisabledGlyphIsPaintedAsAnEmbossedEdge)
{
    TShineSpeedButton *button = add(0, QSize(25, 25));
    button->SetUpFrame(false);
    button->SetDisabledHighlight(0x00FF00);
    button->SetDisabledShadow(0x0000FF);
    QImage glyph(6, 6, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    for (int y = 1; y < 4; ++y) {
        for (int x = 1; x < 4; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 0));
    }
    button->SetGlyph(glyph);
    button->setEnabled(false);
    const QImage image = shot(*button);
    EXPECT_EQ(button->State(), sbDisabled);
    // Glyph at (9, 9); the mask's white pixel (0, 0) shows in the shadow
    // colour, its copy one pixel down-right in the highlight colour where
    // the shadow copy does not cover it; the inside stays the face.
    EXPECT_EQ(at(image, 9, 9), rgbOf(0x0000FF));
    EXPECT_EQ(at(image, 9 + 4, 9 + 4), rgbOf(0x00FF00));
    EXPECT_EQ(at(image, 9 + 2, 9 + 2), rgbOf(kFace));
}

TEST_F(ShineSpeedButtonTest, CaptionPassesFollowShadowAndHighlight)
{
    struct Case {
        colors::TColor shadow;
        colors::TColor highlight;
        bool red;
        bool green;
    };
    const Case cases[] = {
        {0x0000FF, colors::clNone, true, false},
        {colors::clNone, 0x00FF00, false, true},
        {0x0000FF, 0x00FF00, true, true},
        {colors::clNone, colors::clNone, false, false},
    };
    for (const Case &c : cases) {
        TShineSpeedButton *button = add(0, QSize(80, 30));
        QFont font = button->Font().font;
        font.setPixelSize(24);
        font.setBold(true);
        button->SetFont({font, 0xFFFFFF});
        button->SetCaption(QStringLiteral("Wg"));
        button->SetFontShadow(c.shadow);
        button->SetFontHighlight(c.highlight);
        const QImage image = shot(*button);
        EXPECT_EQ(contains(image, qRgb(255, 0, 0)), c.red);
        EXPECT_EQ(contains(image, qRgb(0, 255, 0)), c.green);
        EXPECT_TRUE(contains(image, qRgb(255, 255, 255)));
        delete button;
        buttons.pop_back();
    }
}

TEST_F(ShineSpeedButtonTest, GroupLatchesExactlyOneButton)
{
    TShineSpeedButton *first = add(1);
    TShineSpeedButton *second = add(1);
    TShineSpeedButton *third = add(1);
    click(first);
    click(second);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(third->Down());
    // Without AllowAllUp it cannot be released by itself.
    click(second);
    EXPECT_TRUE(second->Down());
    second->SetDown(false);
    EXPECT_TRUE(second->Down());
    // Setting Down on another releases it.
    third->SetDown(true);
    EXPECT_FALSE(second->Down());
    EXPECT_EQ(second->State(), sbUp);
    EXPECT_EQ(third->State(), sbDown);
}

TEST_F(ShineSpeedButtonTest, ButtonOutsideAGroupNeverLatches)
{
    TShineSpeedButton *button = add(0);
    QSignalSpy clicks(button, &TShineSpeedButton::OnClick);
    button->SetDown(true);
    EXPECT_FALSE(button->Down());
    click(button);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(ShineSpeedButtonTest, AllowAllUpPassesToTheWholeGroup)
{
    TShineSpeedButton *first = add(1);
    TShineSpeedButton *second = add(1);
    TShineSpeedButton *other = add(2);
    first->SetAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    click(second);
    click(second);
    EXPECT_FALSE(second->Down());
    EXPECT_FALSE(first->Down());
}

TEST_F(ShineSpeedButtonTest, DisablingReleasesWithoutTellingTheGroup)
{
    TShineSpeedButton *first = add(1);
    TShineSpeedButton *second = add(1);
    first->SetAllowAllUp(true);
    first->SetDown(true);
    second->SetAllowAllUp(false); // announced: the group now holds false
    ASSERT_FALSE(first->AllowAllUp());
    first->setEnabled(false);
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), sbDisabled);
    first->setEnabled(true);
    EXPECT_EQ(first->State(), sbUp);
}

TEST_F(ShineSpeedButtonTest, ReleasingOutsideNeitherClicksNorChangesDown)
{
    TShineSpeedButton *latched = add(1);
    TShineSpeedButton *up = add(1);
    latched->SetDown(true);
    for (TShineSpeedButton *button : {latched, up}) {
        const bool wasDown = button->Down();
        QSignalSpy clicks(button, &TShineSpeedButton::OnClick);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(button->State(), sbDownHot);
        QTest::mouseMove(button, QPoint(200, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 100), button->mapToGlobal(QPointF(200, 100)),
            Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(button, &move);
        EXPECT_EQ(button->State(), wasDown ? sbDown : sbUp);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 100));
        EXPECT_EQ(clicks.size(), 0);
        EXPECT_EQ(button->Down(), wasDown);
    }
}

TEST_F(ShineSpeedButtonTest, ClickDownHookShowsThePressedLookDuringTheClick)
{
    TShineSpeedButton *button = add(0);
    button->SetClickDownHook(true);
    TShineButtonState during = sbUp;
    QObject::connect(button, &TShineSpeedButton::OnClick, [&] { during = button->State(); });
    click(button);
    EXPECT_EQ(during, sbDownHot);
    EXPECT_NE(button->State(), sbDownHot);
}

TEST_F(ShineSpeedButtonTest, LinkedActionRunsOnClickAndShowsOnTheButton)
{
    TShineSpeedButton *button = add(0);
    QAction action(QStringLiteral("&Open"));
    QSignalSpy triggered(&action, &QAction::triggered);
    button->SetAction(&action);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Open"));
    click(button);
    EXPECT_EQ(triggered.size(), 1);
    action.setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    action.setVisible(false);
    EXPECT_TRUE(button->isHidden());
}

TEST_F(ShineSpeedButtonTest, OnlyADownButtonReportsDoubleClicks)
{
    TShineSpeedButton *plain = add(0);
    TShineSpeedButton *grouped = add(1);
    QSignalSpy plainDouble(plain, &TShineSpeedButton::OnDblClick);
    QSignalSpy groupedDouble(grouped, &TShineSpeedButton::OnDblClick);
    for (TShineSpeedButton *button : {plain, grouped}) {
        click(button);
        QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    }
    EXPECT_EQ(plainDouble.size(), 0);
    EXPECT_EQ(groupedDouble.size(), 1);
}

TEST_F(ShineSpeedButtonTest, AcceleratorClicksWithAlt)
{
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    TShineSpeedButton *save = add(0, QSize(80, 30));
    save->SetCaption(QStringLiteral("&Save"));
    TShineSpeedButton *toggle = add(3, QSize(80, 30));
    toggle->SetCaption(QStringLiteral("&Toggle"));
    toggle->SetAllowAllUp(true);
    toggle->SetAccelCharDown(true);
    QSignalSpy saves(save, &TShineSpeedButton::OnClick);
    QSignalSpy toggles(toggle, &TShineSpeedButton::OnClick);

    // Measured without the prefix.
    const QFont font = save->Font().font;
    EXPECT_EQ(save->CalcDrawPosition(font).caption.width(), QFontMetrics(font).size(0, QStringLiteral("Save")).width());

    QTest::keyClick(&parent, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(saves.size(), 1);
    QTest::keyClick(&parent, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(toggles.size(), 1);
    EXPECT_TRUE(toggle->Down());
    QTest::keyClick(&parent, Qt::Key_T, Qt::AltModifier);
    EXPECT_FALSE(toggle->Down());

    save->setEnabled(false);
    QTest::keyClick(&parent, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(saves.size(), 1);
}

TEST_F(ShineSpeedButtonTest, EnterAndLeaveAreRaisedOnlyWhenThePointerCrossesTheEdge)
{
    TShineSpeedButton *button = add(0);
    QSignalSpy enters(button, &TShineSpeedButton::OnMouseEnter);
    QSignalSpy leaves(button, &TShineSpeedButton::OnMouseLeave);
    const QPoint inside(5, 5);
    QCursor::setPos(button->mapToGlobal(inside));
    QTest::mouseMove(button, inside);
    if (enters.isEmpty()) {
        QEnterEvent enter(inside, inside, button->mapToGlobal(QPointF(inside)));
        QCoreApplication::sendEvent(button, &enter);
    }
    ASSERT_EQ(enters.size(), 1);
    EXPECT_EQ(button->State(), sbHot);

    click(button, inside);
    click(button, inside);
    EXPECT_EQ(enters.size(), 1);
    EXPECT_EQ(leaves.size(), 0);
    EXPECT_EQ(button->State(), sbHot);

    QCursor::setPos(parent.mapToGlobal(kAway));
    QTest::mouseMove(&parent, kAway);
    if (leaves.isEmpty()) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(button, &leave);
    }
    EXPECT_EQ(leaves.size(), 1);
    EXPECT_EQ(button->State(), sbUp);
}

TEST_F(ShineSpeedButtonTest, HotTimerCatchesALeaveThatNeverCame)
{
    TShineSpeedButton *button = add(0);
    QSignalSpy leaves(button, &TShineSpeedButton::OnMouseLeave);
    // An enter the windowing system will never follow with a leave: the
    // pointer is already elsewhere.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(button, &enter);
    ASSERT_EQ(button->State(), sbHot);
    QTRY_COMPARE(button->State(), sbUp);
    EXPECT_EQ(leaves.size(), 1);
}

} // namespace
