#include "MainFormFixture.h"

#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "shell/FolderTreeView.h"
#include "skin/ClearButton.h"

#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>

namespace {

struct Placement
{
    const char *name;
    const char *parent;
    QRect geometry;
};

class MainForm1LayoutTest : public MainFormFixture {};

TEST_F(MainForm1LayoutTest, WindowIsAFramelessFixedSizeForm)
{
    TMainForm1 &w = createForm();
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(w.size(), QSize(796, 704));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ondasort"));
    EXPECT_EQ(MainForm1, &w);
}

TEST_F(MainForm1LayoutTest, EveryControlSitsAtItsPlace)
{
    const std::vector<Placement> table = {
        {"Shape1", "MainForm1", {0, 0, 60, 704}},
        {"Shape0", "MainForm1", {58, 0, 738, 704}},
        {"Image1", "MainForm1", {5, 6, 51, 471}},
        {"Label11", "MainForm1", {20, 524, 36, 150}},
        {"Panel1", "MainForm1", {60, 2, 734, 700}},
        {"Panel2", "MainForm1", {3, 680, 55, 18}},
        {"Panel3", "MainForm1", {3, 660, 17, 18}},
        {"FadeButton3", "Panel2", {0, 0, 17, 18}},
        {"FadeButton2", "Panel2", {18, 0, 17, 18}},
        {"FadeButton1", "Panel2", {36, 0, 17, 18}},
        {"FadeButton4", "Panel3", {0, 0, 17, 18}},
        {"FolderTreeView0", "Panel1", {10, 8, 240, 216}},
        {"WindowsMediaPlayer1", "Panel1", {8, 228, 245, 240}},
        {"FileListBox1", "Panel1", {10, 472, 240, 216}},
        {"RadioButton1", "Panel1", {260, 488, 113, 17}},
        {"RadioButton2", "Panel1", {260, 512, 113, 17}},
        {"SpeedButton1", "Panel1", {332, 626, 46, 50}},
        {"Label0", "Panel1", {20, 688, 22, 12}},
        {"ClearButton1", "Panel1", {434, 18, 46, 50}},
        {"ClearButton9", "Panel1", {434, 626, 46, 50}},
        {"BrowseEdit1", "Panel1", {486, 14, 240, 20}},
        {"BrowseEdit9", "Panel1", {486, 622, 240, 20}},
        {"Label1", "Panel1", {486, 40, 240, 21}},
        {"Label9", "Panel1", {486, 648, 240, 21}},
        {"TechnicalLine1", "Panel1", {330, 30, 100, 318}},
        {"TechnicalLine4", "Panel1", {330, 332, 100, 29}},
        {"TechnicalLine8", "Panel1", {330, 256, 100, 90}},
        {"TechnicalLine9", "Panel1", {330, 344, 100, 320}},
    };
    TMainForm1 &w = createForm();
    for (const Placement &p : table) {
        auto *control = w.findChild<QWidget *>(QString::fromLatin1(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->geometry(), p.geometry) << p.name;
        EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(p.parent)) << p.name;
    }
}

TEST_F(MainForm1LayoutTest, SlotsCarryTheirNumberAndHints)
{
    TMainForm1 &w = createForm();
    for (int n = 1; n <= TMainForm1::kSlotCount; ++n) {
        const QString wide(QChar(0xFF10 + n));
        EXPECT_EQ(w.ClearButton[n - 1]->text(), QString::number(n));
        EXPECT_EQ(w.ClearButton[n - 1]->toolTip(), QStringLiteral(" ファイル振り分け") + wide);
        EXPECT_FALSE(w.ClearButton[n - 1]->isEnabled());
        EXPECT_EQ(w.ClearButton[n - 1]->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(w.BrowseEdit[n - 1]->toolTip(), QStringLiteral(" 移動・複製先フォルダ") + wide);
        EXPECT_EQ(w.BrowseEdit[n - 1]->geometry().top(), 14 + 76 * (n - 1));
        EXPECT_EQ(w.BrowseEdit[n - 1]->CaretBlinkRate(), 200);
        EXPECT_TRUE(w.Label[n - 1]->text().isEmpty());
    }
}

TEST_F(MainForm1LayoutTest, TextsHintsAndModes)
{
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.RadioButton1->text(), QStringLiteral("ファイルの移動"));
    EXPECT_EQ(w.RadioButton2->text(), QStringLiteral("ファイルの複製"));
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    EXPECT_EQ(w.SpeedButton1->text(), QStringLiteral("0"));
    EXPECT_EQ(w.SpeedButton1->toolTip(), QStringLiteral(" 次のファイルへ"));
    EXPECT_EQ(w.FolderTreeView0->toolTip(), QStringLiteral(" フォルダの選択"));
    EXPECT_EQ(w.FileListBox1->toolTip(),
        QStringLiteral(" ファイルの選択(WM*,IVF,AVI,MPEG,VOD,AIFF,WAV,MIDI,AU,MP3)"));
    EXPECT_EQ(w.Label11->text(), QStringLiteral("WM* IVF AVI MPEG VOD AIFF WAV MIDI AU MP3"));
    EXPECT_TRUE(w.Label0->isHidden());
    EXPECT_FALSE(w.Image1->pixmap().isNull());
    EXPECT_EQ(w.Image1->pixmap().size(), QSize(51, 471));

    EXPECT_EQ(w.E1->text(), QStringLiteral("最新の情報に更新(&E)"));
    EXPECT_EQ(w.E1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_TRUE(w.PopupMenu1->actions().contains(w.E1));
    EXPECT_TRUE(w.FileListBox1->actions().contains(w.E1));
}

TEST_F(MainForm1LayoutTest, JapaneseFontsResolveToInstalledFamilies)
{
    TMainForm1 &w = createForm();
    // Fallbacks must reach a real Japanese font, or the texts would draw as boxes.
    const QFontInfo listFont(w.FileListBox1->font());
    EXPECT_TRUE(listFont.family().startsWith(QStringLiteral("IPA")) || listFont.family().contains(QStringLiteral("CJK")))
        << listFont.family().toStdString();
    EXPECT_EQ(listFont.pixelSize(), 12);
    const QFontInfo buttonFont(w.ClearButton[0]->font());
    EXPECT_TRUE(buttonFont.bold());
    EXPECT_TRUE(buttonFont.underline());
    EXPECT_EQ(buttonFont.pixelSize(), 21);
}

TEST_F(MainForm1LayoutTest, TabOrderStartsAtTheFileList)
{
    TMainForm1 &w = createForm();
    std::vector<QWidget *> expected {w.FileListBox1, w.RadioButton1, w.RadioButton2};
    for (int n = 1; n <= 8; ++n)
        expected.push_back(w.BrowseEdit[n - 1]);
    expected.push_back(w.WindowsMediaPlayer1);
    expected.push_back(w.BrowseEdit[8]);
    expected.push_back(w.FolderTreeView0);

    // Follow the focus chain from the list, skipping widgets that take no tab focus.
    std::vector<QWidget *> seen {w.FileListBox1};
    QWidget *current = w.FileListBox1;
    while (seen.size() < expected.size()) {
        current = current->nextInFocusChain();
        if (current == w.FileListBox1)
            break;
        if (std::find(expected.begin(), expected.end(), current) != expected.end())
            seen.push_back(current);
    }
    EXPECT_EQ(seen, expected);
}

} // namespace
