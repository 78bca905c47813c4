#include "platform/Colors.h"
#include "skin/ClearCtrl.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A 38 x 38 bitmap on white with a filled 30 x 30 square in the middle.
QImage squarePicture()
{
    QImage picture(38, 38, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 4; y < 34; ++y)
        for (int x = 4; x < 34; ++x)
            picture.setPixel(x, y, qRgb(255, 200, 40));
    return picture;
}

// A parent that records the presses that reach it.
class Backdrop : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

// A sort button as the main window sets it up, shown on a backdrop.
class ClearButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        backdrop.resize(200, 200);
        button = new TClearButton(&backdrop);
        button->BeginUpdate();
        button->setAutoSize(false);
        button->setGeometry(20, 30, 46, 50);
        button->setPicture(squarePicture());
        button->setTransparentColor(colors::clWhite);
        button->setShadowColor(colors::clSilver);
        button->setColor(colors::clWhite);
        button->EndUpdate();
        backdrop.show();
        QCoreApplication::processEvents();
    }

    Backdrop backdrop;
    TClearButton *button = nullptr;
};

TEST_F(ClearButtonTest, MaskIsThePictureOutline)
{
    EXPECT_EQ(button->size(), QSize(46, 50));
    EXPECT_EQ(button->mask(), button->images().normalRegion);
    EXPECT_FALSE(button->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(button->mask().contains(QPoint(23, 25)));
    EXPECT_EQ(backdrop.childAt(20 + 1, 30 + 1), nullptr);
    EXPECT_EQ(backdrop.childAt(20 + 23, 30 + 25), button);
}

TEST_F(ClearButtonTest, ClickOnTheShapeFiresAndBesideItReachesTheParent)
{
    QSignalSpy clicked(button, &TClearControl::clicked);
    QTest::mouseClick(&backdrop, Qt::LeftButton, {}, QPoint(20 + 2, 30 + 2));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(backdrop.presses, 1);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(23, 25));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(backdrop.presses, 1);
}

TEST_F(ClearButtonTest, PressShowsThePressedLookAndShapeUntilRelease)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(23, 25));
    QCoreApplication::processEvents();
    EXPECT_TRUE(button->isPressedView());
    // A white face on a white key presses down to the whole rectangle.
    EXPECT_EQ(button->mask(), QRegion(0, 0, 46, 50));
    EXPECT_EQ(button->grab().toImage().pixel(1, 1), qRgb(0xDF, 0xDF, 0xDF));

    QSignalSpy clicked(button, &TClearControl::clicked);
    // Released inside the rectangle, though outside the outline: a click.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(1, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button->isPressedView());
    EXPECT_EQ(button->mask(), button->images().normalRegion);
}

TEST_F(ClearButtonTest, DraggingOffTheButtonRestoresTheNormalLookAndGivesNoClick)
{
    QSignalSpy clicked(button, &TClearControl::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(23, 25));
    QMouseEvent move(QEvent::MouseMove, QPointF(80, 25), button->mapToGlobal(QPointF(80, 25)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &move);
    EXPECT_FALSE(button->isPressedView());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(80, 25));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(ClearButtonTest, DisabledAndHotLooksArePainted)
{
    const QPoint body(23, 25);
    const QRgb normal = button->grab().toImage().pixel(body);
    EXPECT_EQ(normal, qRgb(255, 200, 40));

    QEnterEvent enter {QPointF(body), QPointF(body), button->mapToGlobal(QPointF(body))};
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(button->grab().toImage().pixel(body), qRgb(255, 255, 168));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->grab().toImage().pixel(body), normal);

    button->setEnabled(false);
    const QRgb grey = button->grab().toImage().pixel(body);
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qGreen(grey), qBlue(grey));
    // A disabled button keeps its outline.
    EXPECT_EQ(button->mask(), button->images().normalRegion);
}

TEST_F(ClearButtonTest, RebuildsWaitForTheLastEndUpdate)
{
    button->BeginUpdate();
    button->BeginUpdate();
    button->setColor(0x0000FF);
    button->EndUpdate();
    EXPECT_EQ(button->images().pressed.pixel(1, 1), qRgb(0xDF, 0xDF, 0xDF));
    button->EndUpdate();
    button->EndUpdate(); // an extra one does no harm
    EXPECT_FALSE(button->isUpdating());
    // The face rim is now red; pressed, it darkens by 32.
    EXPECT_EQ(button->images().pressed.pixel(1, 1), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(button->images().pressedRegion.contains(QPoint(8, 10)));
    EXPECT_FALSE(button->images().pressedRegion.contains(QPoint(1, 1)));
}

// Counts the events of the program's own types posted to an object.
class OwnEventCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() >= QEvent::User;
        return false;
    }
};

TEST_F(ClearButtonTest, RegionRequestsCoalesceIntoOneUpdate)
{
    OwnEventCounter counter;
    button->installEventFilter(&counter);
    for (int i = 0; i < 5; ++i)
        button->UpdateRgn();
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(button->mask(), button->images().normalRegion);
}

TEST(ClearControlTest, DefaultsAndSizeLimits)
{
    QWidget parent;
    auto *button = new TClearButton(&parent);
    EXPECT_EQ(button->TransparentColor(), 0xFF00FFu);
    EXPECT_EQ(button->BorderStyle(), bsSingle);
    EXPECT_EQ(button->Style(), sbsPushBtn);
    EXPECT_EQ(button->HotLightDepth(), 128);
    EXPECT_TRUE(button->AutoSize());
    EXPECT_TRUE(button->Options().contains(sioBorderAndShadow));
    EXPECT_TRUE(button->Options().contains(sioDisableImage));
    EXPECT_TRUE(button->font().bold());

    // A bitmap takes its key from its bottom-left pixel and sizes the button.
    QImage picture = squarePicture();
    picture.fill(qRgb(1, 2, 3));
    button->setPicture(picture);
    EXPECT_EQ(button->TransparentColor(), 0x030201u);
    EXPECT_EQ(button->size(), QSize(46, 46));
    button->setPicture(QImage());
    EXPECT_EQ(button->TransparentColor(), 0xFF00FFu);

    button->setAutoSize(false);
    button->resize(400, 400);
    EXPECT_EQ(button->size(), QSize(320, 320));

    auto *panel = new TClearPanel(&parent);
    EXPECT_EQ(panel->BorderStyle(), bsNone);
    EXPECT_EQ(panel->Style(), sbsImage);
    EXPECT_EQ(panel->Options(), TTransImgOptions({sioHotTrackImage}));
    panel->setAutoSize(false);
    panel->resize(400, 400);
    EXPECT_EQ(panel->size(), QSize(400, 400));
}

TEST(ClearPanelTest, ShapeTakesInChildrenAndCanShapeTheWindow)
{
    QWidget window;
    window.resize(300, 300);
    auto *panel = new TClearPanel(&window);
    panel->setAutoSize(false);
    panel->setGeometry(10, 20, 100, 100);
    panel->setPicture(squarePicture());
    auto *child = new QWidget(panel);
    child->setGeometry(0, 0, 5, 5);
    window.show();
    QCoreApplication::processEvents();

    // The picture (its square at (31 + 4, 31 + 4)) and the child's rectangle.
    const QRegion expected = QRegion(35, 35, 30, 30) + QRegion(0, 0, 5, 5);
    EXPECT_TRUE(panel->mask().xored(expected).isEmpty());

    panel->setFormTrans(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.mask().xored(expected.translated(10, 20)).isEmpty());
    panel->setFormTrans(false);
    EXPECT_TRUE(window.mask().isEmpty());

    // Removing the child takes it out of the shape.
    delete child;
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->mask().xored(QRegion(35, 35, 30, 30)).isEmpty());
}

TEST(ClearPanelTest, ParentDragMovesTheParent)
{
    QWidget window;
    window.resize(300, 300);
    auto *holder = new QWidget(&window);
    holder->setGeometry(50, 50, 200, 200);
    auto *panel = new TClearPanel(holder);
    panel->setAutoSize(false);
    panel->setGeometry(0, 0, 60, 60);
    panel->setPicture(squarePicture());
    panel->setParentDrag(true);
    window.show();
    QCoreApplication::processEvents();

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 25), panel->mapToGlobal(QPointF(30, 25)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &move);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(holder->pos(), QPoint(60, 55));
}

// A child that paints only a 3 x 3 square in its top-left corner.
class SmallMark : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(0, 0, 3, 3, Qt::red); }
};

TEST(ClearPanelTest, GraphicChildrenAddOnlyTheirPaintedPixels)
{
    QWidget window;
    window.resize(200, 200);
    auto *panel = new TClearPanel(&window);
    panel->setAutoSize(false);
    panel->setGeometry(0, 0, 100, 100);
    panel->setPicture(squarePicture());
    auto *mark = new SmallMark(panel);
    mark->setGeometry(2, 2, 20, 20);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->mask().contains(QPoint(15, 15)));

    panel->setChildGraphicsTrans(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->mask().contains(QPoint(3, 3)));
    EXPECT_FALSE(panel->mask().contains(QPoint(15, 15)));
}

TEST(ClearControlTest, EmptyShapeHidesTheControlEntirely)
{
    QWidget parent;
    auto *button = new TClearButton(&parent);
    button->setAutoSize(false);
    button->resize(30, 30);
    parent.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(button->mask(), QRegion(-3000, -3000, 1, 1));
}

} // namespace
