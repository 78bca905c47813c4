#include "platform/QtTranslations.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslationsTest, StandardDialogsSpeakJapaneseWhileInstalled)
{
    struct Text {
        const char *context;
        const char *english;
        QString japanese;
    };
    const Text texts[] = {
        {"QPlatformTheme", "Cancel", QStringLiteral("キャンセル")},
        {"QFileDialog", "Find Directory", QString()},
        {"QFileDialog", "&Choose", QString()},
        // Missing from Qt's catalogue, supplied by ours.
        {"QAbstractFileIconProvider", "Folder", QStringLiteral("フォルダ")},
    };
    auto translator = qttranslations::installJapanese();
    ASSERT_TRUE(translator) << "Qt's Japanese translations are not installed";
    for (const Text &text : texts) {
        const QString shown = QCoreApplication::translate(text.context, text.english);
        if (!text.japanese.isEmpty())
            EXPECT_EQ(shown, text.japanese) << text.english;
        else
            EXPECT_NE(shown, QString::fromLatin1(text.english)) << text.english;
    }
    translator.reset();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("Folder"));
}

} // namespace
