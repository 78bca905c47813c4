#include "platform/Colors.h"
#include "skin/GlintFadeButton.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A command button as the main window sets it up.
class GlintFadeButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.resize(60, 40);
        button = new TGlintFadeButton(&parent);
        button->setGeometry(0, 0, 17, 18);
        button->setCaption(QStringLiteral("×"));
        button->setColor(0xFF8000);
        button->setDestColor(colors::clWhite);
        button->setCaptionOverColor(colors::clYellow);
        button->setFadeOnLeave(false);
        parent.show();
    }

    void hover() { QTest::mouseMove(button, QPoint(8, 9)); }

    void leave()
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(button, &event);
    }

    QWidget parent;
    TGlintFadeButton *button = nullptr;
};

TEST_F(GlintFadeButtonTest, DefaultsOfAFreshButton)
{
    TGlintFadeButton fresh;
    EXPECT_EQ(fresh.size(), QSize(150, 30));
    EXPECT_EQ(fresh.Color(), colors::clGreen);
    EXPECT_EQ(fresh.DestColor(), colors::clLime);
    EXPECT_EQ(fresh.BorderColor(), colors::clSilver);
    EXPECT_EQ(fresh.BorderDestColor(), colors::clWhite);
    EXPECT_EQ(fresh.fontColor(), colors::clWhite);
    EXPECT_EQ(fresh.Step(), 2);
    EXPECT_EQ(fresh.Speed(), 10);
    EXPECT_TRUE(fresh.FadeOnOver());
    EXPECT_TRUE(fresh.FadeOnLeave());
}

TEST_F(GlintFadeButtonTest, HoverFadesToWhiteIn128TicksAndLeavingSnapsBack)
{
    hover();
    EXPECT_TRUE(button->isFading());
    EXPECT_EQ(button->fontColor(), colors::clYellow);
    for (int tick = 1; tick < 128; ++tick)
        button->Animate();
    EXPECT_TRUE(button->isFading());
    EXPECT_EQ(button->currentBorderColor(), colors::clWhite);
    button->Animate();
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(button->currentColor(), colors::clWhite);
    EXPECT_EQ(button->grab().toImage().pixel(3, 3), qRgb(255, 255, 255));

    QSignalSpy left(button, &TGlintFadeButton::onMouseLeave);
    leave();
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(button->currentColor(), 0xFF8000u);
    EXPECT_EQ(button->currentBorderColor(), colors::clSilver);
    EXPECT_EQ(button->fontColor(), colors::clWhite);
    EXPECT_EQ(left.count(), 1);
}

TEST_F(GlintFadeButtonTest, FadeOutReturnsToTheRestColours)
{
    button->setFadeOnLeave(true);
    hover();
    for (int tick = 0; tick < 128; ++tick)
        button->Animate();
    leave();
    EXPECT_TRUE(button->isFading());
    // Hovering again while fading out does not turn the fade round.
    hover();
    for (int tick = 0; tick < 128; ++tick)
        button->Animate();
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(button->currentColor(), 0xFF8000u);
    EXPECT_EQ(button->currentBorderColor(), colors::clSilver);
}

TEST_F(GlintFadeButtonTest, LeaveRestoresOnlyASavedCaptionColour)
{
    // The hover colour equals the font colour, so nothing is saved.
    button->setCaptionOverColor(colors::clWhite);
    hover();
    leave();
    EXPECT_EQ(button->fontColor(), colors::clWhite);
}

TEST_F(GlintFadeButtonTest, WithoutFadeOnOverTheDestinationShowsAtOnce)
{
    button->setFadeOnOver(false);
    hover();
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(button->currentColor(), colors::clWhite);
    EXPECT_EQ(button->currentBorderColor(), colors::clWhite);
}

TEST_F(GlintFadeButtonTest, FadeRunsOnAPreciseTimerAtTheSpeed)
{
    auto *timer = button->findChild<QTimer *>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(timer->interval(), 10);
    hover();
    // A new speed reaches the running fade at once.
    button->setSpeed(25);
    EXPECT_EQ(timer->interval(), 25);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(GlintFadeButtonTest, FadeEndsOnItsOwnTimer)
{
    button->setSpeed(1);
    button->setStep(64);
    hover();
    ASSERT_TRUE(button->isFading());
    // Four ticks take the face from 0xFF8000 to white.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button->isFading(); }, 5000));
    EXPECT_EQ(button->currentColor(), colors::clWhite);
}

TEST_F(GlintFadeButtonTest, ClickStillFires)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, 9));
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace
