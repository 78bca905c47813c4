// The gallery's browsing section driven as a person would: clicks,
// double-clicks and keys on the tree, the drop-down, the toolbar, the
// filter field, the show-hidden switch and the list.
#include "support/ShellFixtureTree.h"

#include "gallery/ShellBrowser.h"

#include "shell/FflFileStyleMenu.h"
#include "shell/FileListViewModel.h"
#include "shell/FileListView.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderFileToolBar.h"
#include "shell/FolderTreeNode.h"
#include "shell/FolderTreeView.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace shellns;

namespace {

class ShellSection : public ShellFixtureTest
{
protected:
    void SetUp() override
    {
        ShellFixtureTest::SetUp();
        if (HasFatalFailure())
            return;
        browser = std::make_unique<gallery::ShellBrowser>(tree.desktop(),
                                                          [this](const QString &text) { reports.append(text); });
        browser->resize(1000, 500);
        browser->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(browser.get()));
    }

    void TearDown() override
    {
        browser.reset();
        ShellFixtureTest::TearDown();
    }

    QByteArray listed() const
    {
        const auto &folder = browser->list()->listedFolder();
        return folder ? folder->displayNameOf(emptyItemIdList(), nameflags::kForParsing).value_or("?") : "";
    }

    QList<QByteArray> names() const
    {
        QList<QByteArray> result;
        for (int row = 0; row < browser->list()->count(); ++row)
            result.append(browser->list()->model()->row(row).info.name);
        return result;
    }

    FolderTreeNode *treeChild(FolderTreeNode *parent, const QByteArray &name) const
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (parent->child(i)->info()->name == name)
                return parent->child(i);
        }
        return nullptr;
    }

    void clickNode(FolderTreeNode *node, bool twice = false)
    {
        TFolderTreeView *folders = browser->tree();
        const QPoint at = folders->nodeRect(node).center();
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (twice)
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void doubleClickItem(const QByteArray &name)
    {
        TFileListView *list = browser->list();
        QAbstractItemView *view = list->currentView();
        const QModelIndex index = list->model()->index(int(names().indexOf(name)), 0);
        ASSERT_TRUE(index.isValid()) << name.constData();
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::unique_ptr<gallery::ShellBrowser> browser;
    QStringList reports;
};

} // namespace

TEST_F(ShellSection, TheListFollowsTheTreeAndUpGoesUpThere)
{
    EXPECT_EQ(listed(), tree.path("Documents")) << "the drop-down shows its first folder at once";
    FolderTreeNode *home = treeChild(browser->tree()->rootNode(), tree.root());
    ASSERT_TRUE(home);
    clickNode(home, true);
    FolderTreeNode *data = treeChild(home, "data");
    ASSERT_TRUE(data);
    clickNode(data);
    EXPECT_EQ(browser->tree()->FolderName(), tree.path("data"));
    EXPECT_EQ(listed(), tree.path("data"));
    EXPECT_EQ(browser->toolBar()->FolderControl(), browser->tree());
    EXPECT_EQ(browser->dropDown()->FolderName(), tree.path("data")) << "the drop-down follows the tree";

    QTest::mouseClick(browser->toolBar()->upButton(), Qt::LeftButton);
    EXPECT_EQ(browser->tree()->FolderName(), tree.root());
    EXPECT_EQ(listed(), tree.root());

    // Double-clicking a folder in the list goes down in the tree too.
    doubleClickItem("data");
    EXPECT_EQ(browser->tree()->FolderName(), tree.path("data"));
    doubleClickItem("link-to-dir");
    EXPECT_EQ(browser->tree()->FolderName(), tree.path("data/file2"));
    EXPECT_EQ(listed(), tree.path("data/file2"));
    EXPECT_EQ(browser->dropDown()->FolderName(), tree.path("data/file2"));
}

TEST_F(ShellSection, TheListFollowsTheDropDownAndUpGoesUpThere)
{
    TFolderDropDown *dropDown = browser->dropDown();
    dropDown->setFocus();
    QTest::keyClick(dropDown, Qt::Key_Down);
    EXPECT_EQ(dropDown->FolderName(), tree.root());
    EXPECT_EQ(listed(), tree.root());
    EXPECT_EQ(browser->toolBar()->FolderControl(), dropDown);

    doubleClickItem("data");
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    EXPECT_EQ(listed(), tree.path("data"));
    doubleClickItem("file2");
    EXPECT_EQ(dropDown->FolderName(), tree.path("data/file2"));
    EXPECT_EQ(browser->tree()->FolderName(), tree.path("data/file2")) << "the tree follows the drop-down";

    QTest::mouseClick(browser->toolBar()->upButton(), Qt::LeftButton);
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    EXPECT_EQ(listed(), tree.path("data"));
    EXPECT_TRUE(reports.contains(QStringLiteral("フォルダ選択: %1").arg(QString::fromUtf8(tree.path("data")))));
}

TEST_F(ShellSection, FilterFieldViewMenuAndHiddenSwitch)
{
    browser->dropDown()->setFolderName(tree.path("data"));
    QTest::keyClicks(browser->filterField(), "*.mp3; *.TXT");
    QTest::keyClick(browser->filterField(), Qt::Key_Return);
    EXPECT_EQ(browser->list()->Filter(), "*.mp3; *.TXT");
    const QList<QByteArray> shown = names();
    for (const char *name : {"a.txt", "B.txt", "c9.mp3", "c10.mp3", "file2", "link-to-dir"})
        EXPECT_TRUE(shown.contains(name)) << name;
    EXPECT_FALSE(shown.contains("fifo"));

    // The field's clear button shows every file again at once, without Enter.
    auto *clear = browser->filterField()->findChild<QToolButton *>();
    ASSERT_TRUE(clear);
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_TRUE(browser->filterField()->text().isEmpty());
    EXPECT_EQ(browser->list()->Filter(), "");
    EXPECT_TRUE(names().contains("fifo"));

    // The View button's menu switches the style, its check following.
    TFflFileStyleMenu *menu = browser->toolBar()->styleMenu();
    const struct {
        Qt::Key key;
        TViewStyle style;
    } choices[] = {{Qt::Key_D, vsReport}, {Qt::Key_N, vsIcon}, {Qt::Key_S, vsSmallIcon}, {Qt::Key_L, vsList}};
    for (const auto &choice : choices) {
        QTest::mouseClick(browser->toolBar()->viewButton(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 11));
        ASSERT_TRUE(menu->isVisible());
        QTest::keyClick(menu, choice.key);
        EXPECT_EQ(browser->list()->ViewStyle(), choice.style);
        EXPECT_TRUE(menu->itemFor(choice.style)->isChecked());
        EXPECT_TRUE(browser->list()->currentView()->isVisible());
    }

    EXPECT_FALSE(names().contains(".hidden"));
    QTest::mouseClick(browser->showHiddenSwitch(), Qt::LeftButton);
    EXPECT_TRUE(names().contains(".hidden"));
    QTest::mouseClick(browser->showHiddenSwitch(), Qt::LeftButton);
    EXPECT_FALSE(names().contains(".hidden"));
}

TEST_F(ShellSection, EverySwitchReachesItsControlAndIsReported)
{
    TFileListView *list = browser->list();
    const struct {
        QCheckBox *box;
        bool (TFileListView::*read)() const;
        const char *report;
    } switches[] = {
        {browser->multiSelectSwitch(), &TFileListView::MultiSelect, "MultiSelect"},
        {browser->rowSelectSwitch(), &TFileListView::RowSelect, "RowSelect"},
        {browser->hotTrackSwitch(), &TFileListView::HotTrack, "HotTrack"},
    };
    for (const auto &s : switches) {
        SCOPED_TRACE(s.report);
        const bool before = (list->*s.read)();
        EXPECT_EQ(s.box->isChecked(), before);
        QTest::mouseClick(s.box, Qt::LeftButton);
        EXPECT_NE((list->*s.read)(), before);
        EXPECT_EQ(reports.last(), QStringLiteral("%1 = %2").arg(QLatin1String(s.report),
                                      before ? QStringLiteral("False") : QStringLiteral("True")));
        QTest::mouseClick(s.box, Qt::LeftButton);
        EXPECT_EQ((list->*s.read)(), before);
    }

    QSpinBox *count = browser->dropDownCountField();
    EXPECT_EQ(count->value(), browser->dropDown()->DropDownCount());
    count->setValue(3);
    EXPECT_EQ(browser->dropDown()->DropDownCount(), 3);
    EXPECT_EQ(reports.last(), QStringLiteral("DropDownCount = 3"));
}
