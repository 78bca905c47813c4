#include "controls/HistoryComboBox.h"

#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

namespace {

QStringList itemsOf(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

TEST(HistoryComboBoxTest, AddTextPutsTheTextOnTopOnce)
{
    THistoryComboBox box;
    box.SetSaveMode(hsManual);
    EXPECT_TRUE(box.AddText(QStringLiteral("abc")));
    EXPECT_TRUE(box.AddText(QStringLiteral("def")));
    EXPECT_EQ(itemsOf(box), (QStringList {"def", "abc"}));
    // Found without regard to case; the listed spelling stays.
    EXPECT_FALSE(box.AddText(QStringLiteral("ABC")));
    EXPECT_EQ(itemsOf(box), (QStringList {"abc", "def"}));
    EXPECT_FALSE(box.AddText(QString()));
    EXPECT_EQ(itemsOf(box), (QStringList {"abc", "def"}));
    // Only the whole text matches.
    EXPECT_TRUE(box.AddText(QStringLiteral("ab")));
    EXPECT_EQ(itemsOf(box), (QStringList {"ab", "abc", "def"}));
}

TEST(HistoryComboBoxTest, EnterAddsTheTypedTextAndKeepsIt)
{
    THistoryComboBox box;
    box.SetSaveMode(hsManual);
    box.AddText(QStringLiteral("first"));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.lineEdit()->clear();
    QTest::keyClicks(box.lineEdit(), "second");
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(itemsOf(box), (QStringList {"second", "first"}));
    EXPECT_EQ(box.currentText(), QStringLiteral("second"));
    EXPECT_EQ(box.lineEdit()->selectedText(), QStringLiteral("second"));

    // Typing the start of an entry is not completed into it.
    QTest::keyClicks(box.lineEdit(), "fir");
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(itemsOf(box), (QStringList {"fir", "second", "first"}));
}

// Boxes over a history file, and the per-user registry redirected into the
// same temporary folder.
class HistoryComboStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(folder / "config"));
    }

    std::unique_ptr<THistoryComboBox> box(THistoryMode mode, const QString &key = QString())
    {
        auto made = std::make_unique<THistoryComboBox>();
        made->setObjectName(QStringLiteral("HistoryBox"));
        made->SetSaveMode(mode);
        made->SetSaveFileName(QString::fromUtf8(file()));
        made->SetSaveKeyName(key);
        return made;
    }

    static void showOnce(THistoryComboBox &box)
    {
        box.show();
        box.hide();
    }

    QByteArray file() const { return folder / "hist.ini"; }
    TempFolder folder;
};

TEST_F(HistoryComboStoreTest, SaveModeDecidesRestoreOnShowAndStoreOnDestruction)
{
    struct Case {
        THistoryMode mode;
        bool restores;
        bool stores;
    };
    const Case cases[] = {
        {hsAuto, true, true},
        {hsManual, false, false},
        {hsAutoSave, false, true},
        {hsAutoLoad, true, false},
    };
    for (const Case &c : cases) {
        TempFolder::write(file(), "[HistoryBox]\nHistoryCount=1\nHistory0=old\n");
        auto combo = box(c.mode);
        EXPECT_EQ(combo->count(), 0) << "nothing is read before the box is shown";
        showOnce(*combo);
        EXPECT_EQ(itemsOf(*combo).contains(QStringLiteral("old")), c.restores) << c.mode;
        // A second show does not read again.
        showOnce(*combo);
        EXPECT_LE(combo->count(), 1);
        combo->AddText(QStringLiteral("new"));
        combo.reset();
        EXPECT_EQ(TempFolder::read(file()).contains("History0=new"), c.stores) << c.mode;
    }
}

TEST_F(HistoryComboStoreTest, HistorySurvivesTwoStartsInEitherStore)
{
    for (const QString &key : {QString(), QStringLiteral("Software\\Ondasort\\Test")}) {
        {
            auto first = box(hsAuto, key);
            showOnce(*first);
            first->AddText(QStringLiteral("一つ目"));
            first->AddText(QStringLiteral("two"));
        }
        auto second = box(hsAuto, key);
        showOnce(*second);
        EXPECT_EQ(itemsOf(*second), (QStringList {"two", "一つ目"})) << key.toStdString();
        second->clear();
    }
}

TEST_F(HistoryComboStoreTest, RegistryWinsWhenBothAreNamed)
{
    auto combo = box(hsAuto, QStringLiteral("Software/Ondasort/Test"));
    showOnce(*combo);
    combo->AddText(QStringLiteral("x"));
    combo.reset();
    EXPECT_EQ(TempFolder::read(file()), "<missing>");
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ondasort"),
        QStringLiteral("registry"));
    EXPECT_EQ(registry.value("Software/Ondasort/Test/HistoryBox/History0").toString(), QStringLiteral("x"));
}

TEST_F(HistoryComboStoreTest, ManualCallsNamesAndAppending)
{
    auto combo = box(hsManual);
    combo->AddText(QStringLiteral("a"));
    ASSERT_TRUE(combo->SaveToFile());
    EXPECT_TRUE(TempFolder::read(file()).startsWith("[HistoryBox]\n"));
    // Loading appends, twice over.
    EXPECT_TRUE(combo->LoadFromFile());
    EXPECT_TRUE(combo->LoadFromFile(QString::fromUtf8(file())));
    EXPECT_EQ(itemsOf(*combo), (QStringList {"a", "a", "a"}));

    combo->SetSaveSectionName(QStringLiteral("Named"));
    EXPECT_EQ(combo->GetSectionString(), QStringLiteral("Named"));
    combo->SetSaveFileName(QString());
    EXPECT_FALSE(combo->SaveToFile());
    EXPECT_FALSE(combo->LoadFromFile());
    EXPECT_FALSE(combo->SaveToRegistry());

    // Without any section name nothing is stored.
    combo->SetSaveSectionName(QString());
    combo->setObjectName(QString());
    const QByteArray before = TempFolder::read(file());
    EXPECT_FALSE(combo->SaveToFile(QString::fromUtf8(file())));
    EXPECT_FALSE(combo->errorString().isEmpty());
    EXPECT_EQ(TempFolder::read(file()), before);
}

TEST_F(HistoryComboStoreTest, AutomaticStoreNeverHarmsTheStoredHistory)
{
    TempFolder::write(file(), "[HistoryBox]\nHistoryCount=1\nHistory0=old\n");
    // Never shown, so never restored: its empty list must not replace the file.
    box(hsAuto).reset();
    EXPECT_EQ(TempFolder::read(file()), "[HistoryBox]\nHistoryCount=1\nHistory0=old\n");

    // A store that fails during destruction is reported, not thrown.
    auto combo = box(hsAuto);
    showOnce(*combo);
    combo->AddText(QStringLiteral("new"));
    ::chmod(file().constData(), 0444);
    combo.reset();
    EXPECT_EQ(TempFolder::read(file()), "[HistoryBox]\nHistoryCount=1\nHistory0=old\n");
}

} // namespace
