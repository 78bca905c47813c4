// The gallery's window as a workbench: every page fits the window, keys
// reach one control each, and what the controls do reaches the event log.
#include "gallery/GalleryWindow.h"

#include "controls/HistoryComboBox.h"
#include "controls/ShineSpeedButton.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The letter after a single '&', upper case; none when there is no mnemonic.
QChar mnemonic(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

class GalleryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        window = std::make_unique<GalleryWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        qputenv("HOME", oldHome);
        qunsetenv("XDG_CONFIG_HOME");
    }

    template<typename T>
    T *find(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }

    QByteArray oldHome = qgetenv("HOME");
    QTemporaryDir home;
    std::unique_ptr<GalleryWindow> window;
};

TEST_F(GalleryWindowTest, EveryPageFitsTheWindowAndEveryKeyReachesOneControl)
{
    QTabWidget *pages = window->pages();
    ASSERT_GE(pages->count(), 4);
    // The menu bar and the log are there whatever page is shown.
    QList<QChar> shared;
    for (QAction *menu : window->menuBar()->actions())
        shared.append(mnemonic(menu->text()));
    for (QWidget *around : {static_cast<QWidget *>(window->eventLog()->parentWidget())}) {
        for (QLabel *label : around->findChildren<QLabel *>())
            shared.append(mnemonic(label->text()));
        for (QAbstractButton *button : around->findChildren<QAbstractButton *>())
            shared.append(mnemonic(button->text()));
    }
    for (int i = 0; i < pages->count(); ++i) {
        SCOPED_TRACE(pages->tabText(i).toStdString());
        pages->setCurrentIndex(i);
        auto *scroll = qobject_cast<QScrollArea *>(pages->widget(i));
        ASSERT_TRUE(scroll);
        QCoreApplication::processEvents();
        EXPECT_LE(scroll->widget()->minimumSizeHint().height(), scroll->viewport()->height());
        EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width());

        QList<QChar> keys = shared;
        QWidget *page = scroll->widget();
        for (QLabel *label : page->findChildren<QLabel *>())
            keys.append(mnemonic(label->text()));
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>())
            keys.append(mnemonic(button->text()));
        for (auto *button : page->findChildren<TShineSpeedButton *>())
            keys.append(mnemonic(button->Caption()));
        keys.removeAll(QChar());
        for (QChar key : keys)
            EXPECT_EQ(keys.count(key), 1) << "Alt+" << QString(key).toStdString();
    }
}

TEST_F(GalleryWindowTest, TheButtonSwitchesChangeTheButtonAndItsEventsAreLogged)
{
    auto *button = find<TShineSpeedButton>(QStringLiteral("workbenchButton"));
    auto *partner = find<TShineSpeedButton>(QStringLiteral("workbenchPartner"));
    auto *group = find<QSpinBox>(QStringLiteral("groupIndex"));
    auto *partnerGroup = find<QSpinBox>(QStringLiteral("partnerGroupIndex"));
    auto *frame = find<QComboBox>(QStringLiteral("frameType"));
    ASSERT_TRUE(button && partner && group && partnerGroup && frame);
    QWidget *bench = group->parentWidget();
    const auto box = [bench](const char *text) {
        for (QCheckBox *b : bench->findChildren<QCheckBox *>())
            if (b->text() == QLatin1String(text))
                return b;
        return static_cast<QCheckBox *>(nullptr);
    };
    QCheckBox *enabled = box("Enabled");
    QCheckBox *down = box("Down");
    QCheckBox *allowAllUp = box("AllowAllUp");
    QCheckBox *transparent = box("Transparent");
    ASSERT_TRUE(enabled && down && allowAllUp && transparent);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(window->eventLog()->toPlainText().contains(QStringLiteral("「試す」OnClick")));
    EXPECT_FALSE(down->isEnabled()) << "a button outside a group cannot stay down";

    // In one group with its partner: a click keeps it down and lets the partner up.
    group->setValue(1);
    partnerGroup->setValue(1);
    EXPECT_EQ(button->GroupIndex(), 1);
    EXPECT_TRUE(down->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->Down());
    EXPECT_TRUE(down->isChecked());
    QTest::mouseClick(partner, Qt::LeftButton);
    EXPECT_TRUE(partner->Down());
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(down->isChecked()) << "the switch follows the button";
    EXPECT_TRUE(window->eventLog()->toPlainText().contains(QStringLiteral("「相手」OnClick（押し下げ）")));

    // AllowAllUp lets a second click release it.
    down->click();
    EXPECT_TRUE(button->Down());
    allowAllUp->click();
    EXPECT_TRUE(button->AllowAllUp());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->Down());

    transparent->click();
    EXPECT_TRUE(button->Transparent());
    frame->setCurrentIndex(frame->findData(ftEnclosedFrame));
    EXPECT_EQ(button->FrameType(), ftEnclosedFrame);
    enabled->click();
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(GalleryWindowTest, AHistoryBoxIsSavedAndLoadedByHandInItsMode)
{
    auto *history = find<THistoryComboBox>(QStringLiteral("History"));
    auto *mode = find<QComboBox>(QStringLiteral("HistoryMode"));
    auto *save = find<QPushButton>(QStringLiteral("HistorySave"));
    auto *load = find<QPushButton>(QStringLiteral("HistoryLoad"));
    auto *clear = find<QPushButton>(QStringLiteral("HistoryClear"));
    ASSERT_TRUE(history && mode && save && load && clear);

    mode->setCurrentIndex(mode->findData(hsManual));
    EXPECT_EQ(history->SaveMode(), hsManual);
    history->AddText(QStringLiteral("二番目"));
    history->AddText(QStringLiteral("一番目"));
    save->click();
    EXPECT_TRUE(window->eventLog()->toPlainText().contains(QStringLiteral("レジストリに保存: 保存しました（2 件）")));
    clear->click();
    EXPECT_EQ(history->count(), 0);
    load->click();
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(history->itemText(0), QStringLiteral("一番目"));
    EXPECT_EQ(history->itemText(1), QStringLiteral("二番目"));
    EXPECT_TRUE(window->eventLog()->toPlainText().contains(QStringLiteral("読み込みました（2 件）")));
}

} // namespace
