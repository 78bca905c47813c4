#include "controls/BrowseEdit.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(BrowseEditTest, KeepsTheBytesOfAPathTheProgramWrote)
{
    TBrowseEdit edit;
    QSignalSpy changes(&edit, &TBrowseEdit::OnChange);
    // A Shift_JIS folder name: not valid UTF-8, shown readably, kept exactly.
    const QByteArray sjis = "/music/\x83\x65\x83\x58\x83\x67";
    edit.setPath(sjis);
    EXPECT_EQ(edit.Path(), sjis);
    EXPECT_EQ(edit.text(), QStringLiteral("/music/テスト"));
    EXPECT_EQ(changes.size(), 1);

    // Writing the same path again changes nothing.
    edit.setPath(sjis);
    EXPECT_EQ(changes.size(), 1);

    // Once the user edits the text, the typed text is the path.
    edit.setFocus();
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.Path(), QStringLiteral("/music/テストx").toUtf8());
    EXPECT_EQ(changes.size(), 2);
}

TEST(BrowseEditTest, ButtonSitsAtTheRightEnd)
{
    TBrowseEdit edit;
    edit.resize(240, 20);
    edit.show();
    const QRect button = edit.browseButton()->geometry();
    EXPECT_EQ(button.width(), TBrowseEdit::kButtonWidth);
    EXPECT_LE(button.right(), 239);
    EXPECT_GE(button.right(), 236);
    EXPECT_EQ(edit.browseButton()->focusPolicy(), Qt::NoFocus);
}

} // namespace
