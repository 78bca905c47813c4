#include "skin/NewHint.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A form with one disabled control that has a hint, and a line-string hint
// component.
struct HintForm
{
    HintForm()
    {
        form.resize(200, 100);
        button = new QPushButton(&form);
        button->setGeometry(10, 10, 50, 30);
        button->setEnabled(false);
        hint = new TAppHint(&form);
        hint->setHintStyle(hsLineString);
        hint->setFontColor(0xFFFFFF);
        hint->setShadowColor(0x000000);
        hint->setHint(button, QStringLiteral(" ファイル振り分け１"));
        form.show();
    }

    bool sendToolTip()
    {
        QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(button, &event);
        return hint->hintWindow() && hint->hintWindow()->isVisible();
    }

    QWidget form;
    QPushButton *button = nullptr;
    TAppHint *hint = nullptr;
};

TEST(AppHintTest, DisabledControlsShowTheirHintInACutOutWindow)
{
    HintForm f;
    EXPECT_EQ(TAppHint::current(), f.hint);
    ASSERT_TRUE(f.sendToolTip());
    THintEx *window = f.hint->hintWindow();
    EXPECT_EQ(window->hintText(), QStringLiteral(" ファイル振り分け１"));
    EXPECT_EQ(window->size(), window->shape().window);
    // Only painted pixels belong to the window: the text, its outline and
    // the leader line, never a box.
    EXPECT_FALSE(window->mask().isEmpty());
    EXPECT_FALSE(window->mask().contains(QPoint(window->width() - 2, 2)));
    EXPECT_TRUE(window->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(window->isActiveWindow());
}

// The line string's letters are antialiased: between the white text and its
// black outline lie shades of grey. The window is still only the painted
// pixels, each shown opaque: at the first showing blended with the screen
// beneath, at a second showing in the same place (the first still standing
// there) on their own.
TEST(AppHintTest, LineStringTextIsSmoothAndTheWindowStillItsPixels)
{
    HintForm f;
    QFont font = f.hint->Font();
    font.setPixelSize(27);
    f.hint->setFont(font);
    for (int showing = 0; showing < 2; ++showing) {
        ASSERT_TRUE(f.sendToolTip());
        THintEx *window = f.hint->hintWindow();
        const QImage &picture = window->picture();
        const QRegion mask = window->mask();
        ASSERT_FALSE(mask.isEmpty());
        EXPECT_TRUE((mask - window->shape().region).isEmpty());
        int greys = 0;
        int seeThrough = 0;
        for (const QRect &run : mask) {
            for (int y = run.top(); y <= run.bottom(); ++y) {
                for (int x = run.left(); x <= run.right(); ++x) {
                    const QColor colour = picture.pixelColor(x, y);
                    seeThrough += colour.alpha() != 255;
                    greys += colour.red() > 40 && colour.red() < 215 && colour.red() == colour.blue();
                }
            }
        }
        EXPECT_EQ(seeThrough, 0) << showing;
        EXPECT_GT(greys, 20) << showing;
        EXPECT_FALSE(mask.contains(QPoint(window->width() - 2, 2))) << showing;
    }
}

TEST(AppHintTest, HintsHideOnPressAndWhenTheirControlIsLeft)
{
    HintForm f;
    ASSERT_TRUE(f.sendToolTip());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.button, &leave);
    EXPECT_FALSE(f.hint->hintWindow()->isVisible());
    ASSERT_TRUE(f.sendToolTip());
    f.hint->hideHint();
    EXPECT_FALSE(f.hint->hintWindow()->isVisible());
}

TEST(AppHintTest, TimingsReachTheApplicationThroughItsStyle)
{
    HintForm f;
    f.hint->setHintPause(500);
    f.hint->setHintHidePause(2000);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_FallAsleepDelay), 2000);
}

TEST(AppHintTest, FormCanBeDestroyedAndRecreatedWithHintsWorking)
{
    {
        HintForm first;
        ASSERT_TRUE(first.sendToolTip());
    }
    EXPECT_EQ(TAppHint::current(), nullptr);
    // No tool-tip event may reach the destroyed component.
    QWidget stray;
    stray.setToolTip(QStringLiteral("x"));
    QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QCoreApplication::sendEvent(&stray, &event);

    HintForm second;
    EXPECT_TRUE(second.sendToolTip());
}

TEST(AppHintTest, ShowHintLiftsThePositionAndMayCancel)
{
    HintForm f;
    QPoint seen;
    f.hint->OnShowHint = [&](QString &, bool &canShow, TAppHint::THintInfo &info) {
        seen = info.HintPos;
        canShow = false;
    };
    const QPoint pointer = f.button->mapToGlobal(QPoint(5, 5));
    EXPECT_FALSE(f.hint->showHintFor(f.button, pointer));
    EXPECT_EQ(seen, pointer + QPoint(0, 20 - 8));
}

} // namespace

namespace {

TEST(AppHintTest, NextControlFollowsAfterTheShortPause)
{
    HintForm f;
    auto *other = new QPushButton(&f.form);
    other->setGeometry(100, 10, 50, 30);
    f.hint->setHint(other, QStringLiteral("次"));
    f.hint->setHintShortPause(30);
    ASSERT_TRUE(f.sendToolTip());
    QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), other->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(other, &event);
    EXPECT_EQ(f.hint->hintWindow()->hintText(), QStringLiteral(" ファイル振り分け１"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.hint->hintWindow()->hintText() == QStringLiteral("次"); }, 5000));

    f.hint->setHintShortPause(0);
    ASSERT_TRUE(f.sendToolTip());
    EXPECT_EQ(f.hint->hintWindow()->hintText(), QStringLiteral(" ファイル振り分け１"));
}

} // namespace

namespace {

TEST(AppHintTest, EveryStyleShapesAndPaintsItsWindow)
{
    HintForm f;
    f.hint->setBrush(QColor(0, 0, 0x80));
    for (THintStyle style : {hsFukidashi, hsRoundRect}) {
        f.hint->setHintStyle(style);
        ASSERT_TRUE(f.sendToolTip());
        THintEx *window = f.hint->hintWindow();
        EXPECT_EQ(window->mask(), window->shape().region) << int(style);
        // The brush fills the body; the text lies on it.
        EXPECT_EQ(window->picture().pixelColor(window->width() / 2, window->height() - 6), QColor(0, 0, 0x80))
            << int(style);
    }

    int painted = 0;
    QSize size;
    f.hint->OnPaint = [&](const QString &text, QPainter *, int width, int height) {
        ++painted;
        size = QSize(width, height);
        EXPECT_EQ(text, QStringLiteral(" ファイル振り分け１"));
    };
    f.hint->setHintStyle(hsOwnerDraw);
    ASSERT_TRUE(f.sendToolTip());
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(size, f.hint->hintWindow()->size());
    EXPECT_TRUE(f.hint->hintWindow()->mask().isEmpty());
}

} // namespace
