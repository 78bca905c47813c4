// The folder drop-down and the folder toolbar over a real temporary folder
// tree, and the drop-down over a file system that stops answering.
#include "support/HeldFileSystem.h"
#include "support/ShellFixtureTree.h"
#include "support/Wait.h"

#include "shell/FflFileStyleMenu.h"
#include "shell/FflIconList.h"
#include "shell/FileListViewModel.h"
#include "shell/FileListView.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderFileToolBar.h"

#include <QAbstractItemView>
#include <QDir>
#include <QScrollBar>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace shellns;

namespace {

class DropDown : public ShellFixtureTest
{
protected:
    void SetUp() override
    {
        ShellFixtureTest::SetUp();
        if (HasFatalFailure())
            return;
        host = std::make_unique<QWidget>();
        host->resize(600, 400);
        dropDown = new TFolderDropDown(desktop(), host.get());
        dropDown->setGeometry(0, 0, 300, 24);
        QObject::connect(dropDown, &TFolderDropDown::OnChange, dropDown,
                         [this](QObject *) { changes.append(dropDown->FolderName()); });
    }

    virtual std::shared_ptr<ShellFolder> desktop() const { return tree.desktop(); }

    void TearDown() override
    {
        host.reset();
        ShellFixtureTest::TearDown();
    }

    // (name, level) of every entry, in display order.
    QList<QPair<QByteArray, int>> rows() const
    {
        QList<QPair<QByteArray, int>> result;
        for (int i = 0; i < dropDown->count(); ++i)
            result.append({dropDown->getInfo(i)->name, dropDown->getInfo(i)->level});
        return result;
    }

    int indexOf(const QByteArray &name) const { return indexIn(dropDown, name); }
    static int indexIn(const TFolderDropDown *list, const QByteArray &name)
    {
        for (int i = 0; i < list->count(); ++i) {
            if (list->getInfo(i)->name == name)
                return i;
        }
        return -1;
    }

    // The entries of the chain from the drives folder down to `path`.
    QList<QPair<QByteArray, int>> chainTo(const QByteArray &path) const
    {
        QList<QPair<QByteArray, int>> chain;
        int level = 3;
        for (const QByteArray &part : path.split('/')) {
            if (!part.isEmpty())
                chain.append({part, level++});
        }
        return chain;
    }

    std::unique_ptr<QWidget> host;
    TFolderDropDown *dropDown = nullptr;
    QList<QByteArray> changes;
};

} // namespace

TEST_F(DropDown, StartsOnTheDocumentsFolderBelowTheDesktopWithTheVolumes)
{
    EXPECT_EQ(dropDown->DropDownCount(), 8);
    const QList<QPair<QByteArray, int>> expected{
        {tree.path("Desktop"), 0}, {tree.path("Documents"), 1}, {tree.root(), 1}, {"::drives", 1}, {"/", 2},
        {tree.path("vol"), 2},     {"DeskFolder", 1}};
    const auto got = rows();
    ASSERT_EQ(got.size(), expected.size());
    for (qsizetype i = 1; i < got.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << i;
    EXPECT_EQ(got[0].second, 0);
    EXPECT_EQ(dropDown->currentIndex(), 1);
    EXPECT_EQ(dropDown->documentsIndex(), 1);
    EXPECT_EQ(dropDown->FolderName(), tree.path("Documents"));
    EXPECT_TRUE(changes.isEmpty()) << "the first selection is no change";
    EXPECT_EQ(dropDown->itemText(0), QStringLiteral("デスクトップ"));

    TFolderDropDown orphan(tree.desktop(), nullptr);
    EXPECT_EQ(orphan.count(), 0);
    orphan.setParent(host.get());
    EXPECT_EQ(orphan.currentIndex(), 1);
}

TEST_F(DropDown, SetFolderNameAddsTheChainAndRaisesOneChange)
{
    const QByteArray target = tree.path("data/file2/sub");
    dropDown->setFolderName(target);
    EXPECT_EQ(dropDown->FolderName(), target);
    EXPECT_EQ(changes, QList<QByteArray>{target});
    // Every element below the root volume sits directly under its parent.
    const int root = indexOf("/");
    ASSERT_GE(root, 0);
    const auto chain = chainTo(target);
    const auto got = rows();
    for (qsizetype k = 0; k < chain.size(); ++k)
        EXPECT_EQ(got.value(root + 1 + k), chain[k]) << k;
    EXPECT_EQ(dropDown->currentIndex(), root + int(chain.size()));

    // A second walk starts from scratch.
    dropDown->setFolderName(tree.path("vol/inner"));
    EXPECT_EQ(dropDown->FolderName(), tree.path("vol/inner"));
    EXPECT_EQ(indexOf("sub"), -1);
    EXPECT_EQ(rows().value(indexOf(tree.path("vol")) + 1), (QPair<QByteArray, int>{"inner", 3}));
}

TEST_F(DropDown, WalksEndOnTheDeepestEntry)
{
    const QByteArray data = tree.path("data");
    const struct {
        QByteArray path;
        QByteArray selected;
    } cases[] = {
        {data + "/FILE2/SUB", data + "/file2/sub"},
        {data + "/a.txt", data},
        {data + "/.hidden/inner", data},
        {data + "/" + ShellFixtureTree::sjisName(), data + "/" + ShellFixtureTree::sjisName()},
    };
    for (const auto &c : cases) {
        changes.clear();
        dropDown->setFolderName(c.path);
        EXPECT_EQ(dropDown->FolderName(), c.selected) << c.path.constData();
        EXPECT_EQ(changes.size(), 1);
    }
    // A path the namespace cannot parse leaves the rebuilt list on the
    // documents folder; that is a change when the folder was another one.
    for (const QByteArray &path : {data + "/nothing/at/all", QByteArray()}) {
        changes.clear();
        dropDown->setFolderName(path);
        EXPECT_EQ(dropDown->FolderName(), tree.path("Documents"));
        EXPECT_EQ(changes, path.isEmpty() ? QList<QByteArray>() : QList<QByteArray> {tree.path("Documents")});
    }
}

// Linked controls show one folder, also when the folder they show is deleted:
// both go to the nearest folder that still exists.
TEST_F(DropDown, DeletedFolderTakesTheDropDownAndTheListToTheNearestExisting)
{
    auto *list = new TFileListView(tree.desktop(), host.get());
    dropDown->setFileListControl(list);
    const QByteArray listed = tree.path("data/file2/sub");
    const auto listedPath = [&] {
        return list->listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing).value_or("?");
    };
    // Told to walk a path that is gone, the drop-down lands on the documents folder, and so does the list.
    dropDown->setFolderName(listed);
    dropDown->setFolderName(tree.path("data/gone"));
    EXPECT_EQ(listedPath(), dropDown->FolderName());

    QByteArray deep = listed;
    for (const char *name : {"/x", "/y"}) {
        deep += name;
        ASSERT_TRUE(QDir().mkdir(QFile::decodeName(deep)));
    }
    dropDown->setFolderName(deep);
    ASSERT_EQ(listedPath(), deep);
    changes.clear();
    ASSERT_TRUE(QDir(QFile::decodeName(listed + "/x")).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor([&] { return listedPath() == listed; })) << listedPath().constData();
    EXPECT_EQ(dropDown->FolderName(), listed);
    EXPECT_EQ(changes, QList<QByteArray> {listed});
    EXPECT_EQ(list->FileName(), QByteArray());
    EXPECT_EQ(list->FolderControl(), dropDown);
}

TEST_F(DropDown, HiddenFoldersFollowTheModeAndCarryTheOverlay)
{
    dropDown->setShowHidden(flhForceHide);
    dropDown->setFolderName(tree.path("data/.hidden/inner"));
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    dropDown->setShowHidden(flhForceShow);
    dropDown->setFolderName(tree.path("data/.hidden/inner"));
    EXPECT_EQ(dropDown->FolderName(), tree.path("data/.hidden/inner"));
    EXPECT_EQ(dropDown->getInfo(indexOf(".hidden"))->overlayIndex, 0);
    EXPECT_GE(dropDown->Images()->overlay(0), 0) << "the hidden overlay comes from the program's bitmap";
}

TEST_F(DropDown, GoingUpAndBackInReusesTheRow)
{
    dropDown->setFolderName(tree.path("data"));
    const int before = dropDown->count();
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(dropDown->OpenFolder("file2"));
        EXPECT_EQ(dropDown->FolderName(), tree.path("data/file2"));
        dropDown->SelectParent();
        EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    }
    EXPECT_EQ(dropDown->count(), before + 1);

    // A sibling goes in its place in the shell's order, below the same parent.
    ASSERT_TRUE(dropDown->OpenFolder("File1"));
    dropDown->SelectParent();
    const int data = dropDown->currentIndex();
    EXPECT_EQ(dropDown->getInfo(data + 1)->name, "File1");
    EXPECT_EQ(dropDown->getInfo(data + 2)->name, "file2");

    changes.clear();
    EXPECT_FALSE(dropDown->OpenFolder("a.txt"));
    EXPECT_FALSE(dropDown->OpenFolder("missing"));
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(DropDown, SelectParentStopsAtTheDesktop)
{
    dropDown->setFolderName(tree.path("vol"));
    changes.clear();
    dropDown->SelectParent();
    EXPECT_EQ(dropDown->FolderName(), "::drives");
    dropDown->SelectParent();
    dropDown->SelectParent();
    EXPECT_EQ(dropDown->currentIndex(), 0);
    EXPECT_EQ(changes.size(), 2);
}

TEST_F(DropDown, AUsersPickRaisesTheChangeAndFillsTheLinkedList)
{
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    auto *list = new TFileListView(tree.desktop(), host.get());
    list->setGeometry(0, 30, 600, 300);
    dropDown->setFileListControl(list);
    EXPECT_EQ(list->listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing), tree.path("Documents"));
    dropDown->setFileListControl(new QLabel(host.get()));
    EXPECT_EQ(dropDown->FileListControl(), list);

    // Down and Up on the closed combo pick the neighbouring entries, as a person would.
    dropDown->setFocus();
    QTest::keyClick(dropDown, Qt::Key_Down);
    const QByteArray home = tree.root();
    EXPECT_EQ(dropDown->FolderName(), home);
    EXPECT_EQ(changes, QList<QByteArray>{home});
    EXPECT_EQ(list->listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing), home);

    // A file path lists its folder and selects the file there.
    dropDown->setFolderName(tree.path("data/c9.mp3"));
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
    EXPECT_EQ(list->FileName(), tree.path("data/c9.mp3"));

    // Double-clicking a folder in the list goes down in the drop-down.
    const int row = int(list->model()->index(0, 0).row());
    ASSERT_EQ(list->model()->row(row).info.name, "empty");
    QAbstractItemView *view = list->currentView();
    const QPoint at = view->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(dropDown->FolderName(), tree.path("data/empty"));
    EXPECT_EQ(list->count(), 0);

    delete list;
    EXPECT_EQ(dropDown->FileListControl(), nullptr);
    dropDown->SelectParent();
    EXPECT_EQ(dropDown->FolderName(), tree.path("data"));
}

// A folder twelve levels deep makes more rows than DropDownCount: the open
// list shows that many rows at most, scrolls, and keeps the current row in view.
TEST_F(DropDown, OpenListShowsAtMostDropDownCountRowsAndScrolls)
{
    QByteArray deep = tree.path("data");
    for (int level = 1; level <= 12; ++level) {
        deep += "/d" + QByteArray::number(level);
        ASSERT_TRUE(QDir().mkdir(QFile::decodeName(deep)));
    }
    dropDown->setFolderName(deep);
    ASSERT_EQ(dropDown->FolderName(), deep);
    ASSERT_GT(dropDown->count(), 20);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    for (int rowsShown : {8, 3, 12}) {
        dropDown->setDropDownCount(rowsShown);
        dropDown->showPopup();
        QAbstractItemView *view = dropDown->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const int rowHeight = view->visualRect(view->model()->index(0, 0)).height();
        ASSERT_GT(rowHeight, 0);
        EXPECT_LE(view->viewport()->height(), rowsShown * rowHeight) << rowsShown;
        EXPECT_GE(view->viewport()->height(), (rowsShown - 1) * rowHeight) << rowsShown;
        EXPECT_GT(view->verticalScrollBar()->maximum(), 0) << rowsShown;
        EXPECT_TRUE(view->viewport()->rect().contains(
            view->visualRect(view->model()->index(dropDown->currentIndex(), 0)))) << rowsShown;
        dropDown->hidePopup();
    }
}

TEST_F(DropDown, RowsAreIndentedHalfAnIconPerLevelOutsideTheEditPart)
{
    dropDown->setFolderName(tree.path("data"));
    const int deep = indexOf("tmp") >= 0 ? indexOf("tmp") : dropDown->currentIndex();
    const int level = dropDown->getInfo(deep)->level;
    ASSERT_GE(level, 3);
    const int height = dropDown->ItemHeight();
    const int icon = dropDown->Images()->iconSize().width();
    const QColor highlight = dropDown->palette().color(QPalette::Highlight);
    // Where the highlight of a selected row starts, drawn into a plain image.
    auto highlightStart = [&](bool editPart) {
        QImage image(400, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        dropDown->drawRow(&painter, image.rect(), deep, true, editPart);
        painter.end();
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, height - 1) == highlight)
                return x;
        }
        return -1;
    };
    EXPECT_EQ(highlightStart(false), icon * level / 2 + icon + height / 8);
    EXPECT_EQ(highlightStart(true), icon + height / 8);
}

namespace {

// The drop-down with one more volume: a FUSE file system whose calls are
// held when a test says so, as a share that stops answering.
class HeldDropDown : public DropDown
{
protected:
    void SetUp() override
    {
        if (!fuse.isMounted())
            GTEST_SKIP() << fuse.whyNot().toStdString();
        for (const char *folder : {"/deep", "/deep/inner", "/deep/other", "/songs"})
            ASSERT_EQ(::mkdir((fuse.backing() + folder).constData(), 0755), 0) << folder;
        DropDown::SetUp();
    }
    void TearDown() override
    {
        // Whatever still waits goes on, then the drop-down goes.
        fuse.release();
        DropDown::TearDown();
    }

    std::shared_ptr<ShellFolder> desktop() const override
    {
        NamespaceRoots roots = tree.roots();
        roots.volumes = [volumes = roots.volumes, mountPoint = fuse.mountPoint()] {
            auto list = volumes();
            list.push_back({mountPoint, QString::fromUtf8(mountPoint), true});
            return list;
        };
        return makeDesktopFolder(roots);
    }
    QByteArray mounted(const QByteArray &path) const { return fuse.mountPoint() + path; }
    bool showsLoading(int index) const { return dropDown->itemText(index).endsWith(QStringLiteral("（読み込み中）")); }
    // Lets the held calls go and gives their answers time to arrive.
    void releaseAndSettle()
    {
        fuse.release();
        ASSERT_TRUE(waitUntil([&] { return fuse.heldCalls() == 0; }));
        QTest::qWait(300);
    }

    HeldFileSystem fuse;
};

} // namespace

TEST_F(HeldDropDown, AWalkIntoAFolderThatDoesNotAnswerReturnsAtOnceAndEndsOnceItDoes)
{
    const QByteArray target = mounted("/deep/inner");
    fuse.hold("/deep", HeldFileSystem::Listings);
    dropDown->setFolderName(target);
    EXPECT_EQ(dropDown->walkingTo(), target);
    EXPECT_EQ(dropDown->FolderName(), tree.path("Documents")) << "no change until the walk ends";
    EXPECT_TRUE(changes.isEmpty());
    const int deep = dropDown->currentIndex();
    ASSERT_EQ(dropDown->getInfo(deep)->name, "deep");
    ASSERT_TRUE(waitUntil([&] { return showsLoading(deep); }));

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return dropDown->FolderName() == target; }));
    EXPECT_EQ(changes, QList<QByteArray>{target});
    EXPECT_TRUE(dropDown->walkingTo().isEmpty());
    EXPECT_EQ(dropDown->itemText(deep), QStringLiteral("deep"));
    EXPECT_EQ(rows().value(deep + 1), (QPair<QByteArray, int>{"inner", dropDown->getInfo(deep)->level + 1}));
}

TEST_F(HeldDropDown, AStepDownIntoAFolderThatDoesNotAnswerGoesInOnceItDoes)
{
    dropDown->setFolderName(mounted("/deep"));
    ASSERT_EQ(dropDown->FolderName(), mounted("/deep"));
    changes.clear();
    fuse.hold("/deep", HeldFileSystem::Listings);
    EXPECT_FALSE(dropDown->OpenFolder("other")) << "not in yet";
    const int deep = dropDown->currentIndex();
    ASSERT_TRUE(waitUntil([&] { return showsLoading(deep); }));
    EXPECT_TRUE(changes.isEmpty());

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return dropDown->FolderName() == mounted("/deep/other"); }));
    EXPECT_EQ(changes, QList<QByteArray>{mounted("/deep/other")});
    EXPECT_FALSE(showsLoading(deep));
}

TEST_F(HeldDropDown, APickOfAFolderThatDoesNotAnswerReachesTheLinkedListOnceItDoes)
{
    auto *list = new TFileListView(desktop(), host.get());
    dropDown->setFileListControl(list);
    dropDown->setFolderName(mounted("/deep"));
    const int deep = dropDown->currentIndex();
    auto pick = [&](int index) {
        dropDown->setCurrentIndex(index);
        emit dropDown->activated(index);
    };
    pick(dropDown->documentsIndex());
    auto listed = [&] { return list->listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing); };
    ASSERT_EQ(listed(), tree.path("Documents"));

    fuse.hold("/deep", HeldFileSystem::Lookups);
    changes.clear();
    pick(deep);
    EXPECT_EQ(changes, QList<QByteArray>{mounted("/deep")});
    EXPECT_EQ(listed(), tree.path("Documents")) << "the list waits for the folder";
    ASSERT_TRUE(waitUntil([&] { return showsLoading(deep); }));

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return listed() == mounted("/deep"); }));
    EXPECT_FALSE(showsLoading(deep));
}

TEST_F(HeldDropDown, WhatTheUserDoesMeanwhileMakesTheLateAnswerStale)
{
    const struct {
        const char *meanwhile;
        std::function<void()> act;
        QByteArray ends;
    } cases[] = {
        {"another folder", [&] { dropDown->setFolderName(tree.path("data")); }, tree.path("data")},
        {"up", [&] { dropDown->SelectParent(); }, mounted("")},
    };
    for (const auto &c : cases) {
        dropDown->setFolderName(tree.path("Documents"));
        fuse.hold("/deep", HeldFileSystem::Listings);
        dropDown->setFolderName(mounted("/deep/inner"));
        ASSERT_TRUE(fuse.waitForHeldCall()) << c.meanwhile;
        changes.clear();
        c.act();
        // The way there may pass the volume listing, a call that may touch
        // any mount: on a loaded machine it can answer a moment later.
        EXPECT_TRUE(waitUntil([&] { return dropDown->walkingTo().isEmpty(); })) << c.meanwhile;
        EXPECT_EQ(dropDown->FolderName(), c.ends) << c.meanwhile;

        releaseAndSettle();
        EXPECT_EQ(dropDown->FolderName(), c.ends) << c.meanwhile;
        EXPECT_EQ(changes, QList<QByteArray>{c.ends}) << c.meanwhile;
        for (int i = 0; i < dropDown->count(); ++i)
            EXPECT_FALSE(showsLoading(i)) << c.meanwhile << " " << i;
    }
}

TEST_F(HeldDropDown, AMountPointThatDoesNotAnswerDoesNotHoldUpTheListAndIsGreyedUntilItDoes)
{
    fuse.hold("/", HeldFileSystem::Everything);
    auto *other = new TFolderDropDown(desktop(), host.get());
    // The Desktop's items at once; the volumes once their listing has given up on the mount point.
    EXPECT_EQ(other->FolderName(), tree.path("Documents"));
    const int drives = indexIn(other, "::drives");
    ASSERT_GE(drives, 0);
    EXPECT_EQ(other->entries().getFirstChild(drives), -1);

    // A walk asked for meanwhile goes on once the volumes are in.
    other->setFolderName(tree.path("data"));
    ASSERT_TRUE(waitUntil([&] { return other->FolderName() == tree.path("data"); }));
    const int volume = indexIn(other, fuse.mountPoint());
    ASSERT_GE(volume, 0);
    EXPECT_TRUE(other->getInfo(volume)->attributes & attr::kIsSlow);
    EXPECT_FALSE(other->getInfo(indexIn(other, "/"))->attributes & attr::kIsSlow);

    // A walk into it waits for it, and it is an ordinary volume once it answers.
    other->setFolderName(mounted("/songs"));
    EXPECT_EQ(other->walkingTo(), mounted("/songs"));
    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return other->FolderName() == mounted("/songs"); }));
    EXPECT_FALSE(other->getInfo(indexIn(other, fuse.mountPoint()))->attributes & attr::kIsSlow);
}

namespace {

class ToolBar : public DropDown
{
protected:
    void SetUp() override
    {
        DropDown::SetUp();
        toolBar = new TFolderFileToolBar(host.get());
        toolBar->move(0, 40);
        QObject::connect(toolBar, &TFolderFileToolBar::OnButtonClick, toolBar,
                         [this](QObject *, int button) { buttons.append(button); });
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    TFolderFileToolBar *toolBar = nullptr;
    QList<int> buttons;
};

} // namespace

TEST_F(ToolBar, ShowsOnlyTheButtonsOfLinkedTargets)
{
    EXPECT_EQ(toolBar->size(), QSize(2 * 23 + 18, 22));
    EXPECT_FALSE(toolBar->upButton()->isVisible());
    EXPECT_FALSE(toolBar->viewButton()->isVisible());
    EXPECT_EQ(toolBar->upButton()->toolTip(), QStringLiteral("1つ上のフォルダへ"));
    EXPECT_EQ(toolBar->viewButton()->toolTip(), QStringLiteral("表示メニュー"));
    EXPECT_GE(toolBar->images().size(), 4u);

    toolBar->setFolderControl(dropDown);
    EXPECT_TRUE(toolBar->upButton()->isVisible());
    toolBar->setFolderControl(new QLabel(host.get()));
    EXPECT_FALSE(toolBar->upButton()->isVisible());
    EXPECT_EQ(toolBar->FolderControl(), nullptr);

    auto *list = new TFileListView(tree.desktop(), host.get());
    toolBar->setFileListControl(list);
    EXPECT_TRUE(toolBar->viewButton()->isVisible());
    EXPECT_EQ(toolBar->styleMenu()->ListView(), list);
    delete list;
    EXPECT_FALSE(toolBar->viewButton()->isVisible());
    EXPECT_EQ(toolBar->styleMenu()->ListView(), nullptr);
    EXPECT_EQ(toolBar->FileListControl(), nullptr);
}

TEST_F(ToolBar, UpGoesToTheParentAndViewOpensTheMenu)
{
    toolBar->setFolderControl(dropDown);
    dropDown->setFolderName(tree.path("vol"));
    QTest::mouseClick(toolBar->upButton(), Qt::LeftButton);
    EXPECT_EQ(dropDown->FolderName(), "::drives");
    EXPECT_EQ(buttons, QList<int>{1});

    auto *list = new TFileListView(tree.desktop(), host.get());
    toolBar->setFileListControl(list);
    list->setViewStyle(vsReport);
    // The button itself (not its arrow) pops the menu up below its left edge.
    QTest::mouseClick(toolBar->viewButton(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 11));
    EXPECT_EQ(buttons, (QList<int>{1, 3}));
    TFflFileStyleMenu *menu = toolBar->styleMenu();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), toolBar->viewButton()->mapToGlobal(QPoint(0, toolBar->viewButton()->height())));
    EXPECT_TRUE(menu->itemFor(vsReport)->isChecked());
    QTest::keyClick(menu, Qt::Key_N);
    EXPECT_EQ(list->ViewStyle(), vsIcon);
    EXPECT_FALSE(menu->isVisible());
}
