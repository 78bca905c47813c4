#include "controls/HistoryStore.h"

#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(HistoryStoreTest, FileNamesGetAnExtensionAndTheProgramsFolder)
{
    struct Case {
        const char *name;
        const char *expected;
    };
    const Case cases[] = {
        {"hist", "/opt/app/hist.ini"},
        {"hist.dat", "/opt/app/hist.dat"},
        {"/home/u/h.txt", "/home/u/h.txt"},
        {"sub/hist", "sub/hist.ini"},
        {"a.d/hist", "a.d/hist.ini"},
        {"", "/opt/app/.ini"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(history::resolveFileName(c.name, "/opt/app"), QByteArray(c.expected)) << c.name;
}

class HistoryFileTest : public ::testing::Test
{
protected:
    QByteArray file() const { return folder / "hist.ini"; }
    TempFolder folder;
    QString error;
};

TEST_F(HistoryFileTest, StoreReplacesTheWholeSectionAndKeepsTheRest)
{
    TempFolder::write(file(), "; kept\n[Other]\nHistory5=x\n[Hist]\nHistoryCount=9\nHistory8=stale\n");
    ASSERT_TRUE(history::saveToFile(file(), "Hist", {"abc", "ドレミ", "def"}, &error));
    EXPECT_EQ(history::loadFromFile(file(), "Hist"), (QStringList {"abc", "ドレミ", "def"}));

    ASSERT_TRUE(history::saveToFile(file(), "Hist", {"only"}, &error));
    EXPECT_EQ(TempFolder::read(file()),
        "; kept\n[Other]\nHistory5=x\n[Hist]\nHistoryCount=1\nHistory0=only\n");
}

TEST_F(HistoryFileTest, LoadingToleratesBrokenStores)
{
    struct Case {
        const char *text;
        QStringList expected;
    };
    const Case cases[] = {
        // A count that is no number reads as 0.
        {"[Hist]\nHistoryCount=abc\nHistory0=a\n", {}},
        // Missing entries are skipped, not added empty.
        {"[Hist]\nHistoryCount=4\nHistory0=a\nHistory2=c\n", {"a", "c"}},
        // Entries beyond the count stay out; names ignore letter case.
        {"[hist]\nhistorycount=2\nhistory1=b\nHISTORY0=a\nHistory2=c\n", {"a", "b"}},
        // A huge count costs nothing.
        {"[Hist]\nHistoryCount=2147483647\nHistory1=b\n", {"b"}},
        {"[Hist]\nHistoryCount=-3\nHistory0=a\n", {}},
        // Only decimal indices without leading zeros name entries.
        {"[Hist]\nHistoryCount=3\nHistory01=x\nHistory1=b\n", {"b"}},
    };
    for (const Case &c : cases) {
        TempFolder::write(file(), c.text);
        EXPECT_EQ(history::loadFromFile(file(), "Hist"), c.expected) << c.text;
    }
    EXPECT_TRUE(history::loadFromFile(folder / "missing.ini", "Hist").isEmpty());
}

// An entry longer than the file's 2,047-byte cap is cut before a whole
// character, whether this program stored it or another writer left it whole.
TEST_F(HistoryFileTest, LongEntriesAreCutAtACharacterBoundary)
{
    QString kana;
    for (int i = 0; i < 1000; ++i)
        kana += QChar(0x3042 + i % 80);
    const QString whole = kana.left(682); // 2,046 bytes of three-byte characters
    ASSERT_EQ(kana.toUtf8().size(), 3000);

    ASSERT_TRUE(history::saveToFile(file(), "Hist", {kana, "next"}, &error));
    EXPECT_EQ(history::loadFromFile(file(), "Hist"), (QStringList {whole, "next"}));
    EXPECT_TRUE(TempFolder::read(file()).contains("History0=" + whole.toUtf8() + "\nHistory1="));

    TempFolder::write(file(), "[Hist]\nHistoryCount=2\nHistory0=" + kana.toUtf8() + "\nHistory1=x" + QByteArray(2046, 'a') + "\n");
    EXPECT_EQ(history::loadFromFile(file(), "Hist"), (QStringList {whole, "x" + QString(2046, 'a')}));
}

TEST_F(HistoryFileTest, EmptySectionIsRefusedAndNothingIsTouched)
{
    TempFolder::write(file(), "[A]\nk=v\n");
    for (const QString &section : {QString(), QStringLiteral("  ")}) {
        error.clear();
        EXPECT_FALSE(history::saveToFile(file(), section, {"x"}, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(history::loadFromFile(file(), section).isEmpty());
    }
    EXPECT_EQ(TempFolder::read(file()), "[A]\nk=v\n");
}

TEST_F(HistoryFileTest, FailedStoreLeavesTheOldHistory)
{
    ASSERT_TRUE(history::saveToFile(file(), "Hist", {"a", "b"}, &error));
    const QByteArray before = TempFolder::read(file());
    ::chmod(file().constData(), 0444);
    EXPECT_FALSE(history::saveToFile(file(), "Hist", {"c"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("hist.ini")));
    EXPECT_EQ(TempFolder::read(file()), before);
}

class HistoryRegistryTest : public ::testing::Test
{
protected:
    TempFolder folder;
    QSettings registry {QString::fromUtf8(folder / "registry.ini"), QSettings::IniFormat};
    QString error;
};

TEST_F(HistoryRegistryTest, StoreReplacesTheSubkeyUnderTheKeyPath)
{
    ASSERT_TRUE(history::saveToRegistry(registry, "Software\\Ondasort\\Test\\\\", "Hist", {"a", "b", "c"}, &error));
    EXPECT_EQ(registry.value("Software/Ondasort/Test/Hist/HistoryCount").toInt(), 3);
    EXPECT_EQ(history::loadFromRegistry(registry, "Software/Ondasort/Test", "Hist"), (QStringList {"a", "b", "c"}));

    registry.setValue("Software/Ondasort/Test/Hist/Sub/deep", 1);
    registry.setValue("Software/Ondasort/Test/Neighbour", 7);
    ASSERT_TRUE(history::saveToRegistry(registry, "Software\\Ondasort\\Test", "Hist", {"z"}, &error));
    registry.beginGroup("Software/Ondasort/Test/Hist");
    EXPECT_EQ(registry.allKeys(), (QStringList {"History0", "HistoryCount"}));
    registry.endGroup();
    EXPECT_EQ(registry.value("Software/Ondasort/Test/Neighbour").toInt(), 7);
}

TEST_F(HistoryRegistryTest, LoadingToleratesBrokenValues)
{
    registry.setValue("K/Hist/HistoryCount", "abc");
    registry.setValue("K/Hist/History0", "a");
    EXPECT_TRUE(history::loadFromRegistry(registry, "K", "Hist").isEmpty());
    registry.setValue("K/Hist/HistoryCount", " 3");
    registry.setValue("K/Hist/History2", "c");
    EXPECT_EQ(history::loadFromRegistry(registry, "K", "Hist"), (QStringList {"a", "c"}));
    EXPECT_TRUE(history::loadFromRegistry(registry, "K", "Missing").isEmpty());
}

TEST_F(HistoryRegistryTest, RootOrEmptyNamesAreRefused)
{
    registry.setValue("Keep/Value", 1);
    for (const auto &[key, section] : {std::pair<QString, QString> {"\\\\", "Hist"}, {"", "Hist"}, {"K", ""}}) {
        error.clear();
        EXPECT_FALSE(history::saveToRegistry(registry, key, section, {"x"}, &error)) << key.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(registry.allKeys(), QStringList {"Keep/Value"});
}

} // namespace
