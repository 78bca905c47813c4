// The folder tree over a real temporary folder tree.
#include "support/ShellFixtureTree.h"

#include "shell/FflIconList.h"
#include "shell/FileListControl.h"
#include "shell/FolderTreeNode.h"
#include "shell/FolderTreeView.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <climits>

#include <sys/stat.h>
#include <unistd.h>

using namespace shellns;

namespace {

// A file list view stand-in that records what the tree tells it.
class FakeFileList : public QObject, public FileListControl
{
public:
    void OpenFolder(QObject *sender, std::shared_ptr<ShellFolder> folder) override
    {
        senders.append(sender);
        opened.append(folder ? folder->displayNameOf(emptyItemIdList(), nameflags::kForParsing).value_or("?")
                             : QByteArray("<none>"));
    }
    bool SelectFile(const QByteArray &name) override
    {
        selected.append(name);
        return finds;
    }
    QList<QObject *> senders;
    QList<QByteArray> opened;
    QList<QByteArray> selected;
    bool finds = true;
};

class FolderTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        config = std::make_unique<ScopedConfigHome>(tree.path("config"));
        host = std::make_unique<QWidget>();
        host->resize(400, 600);
        view = new TFolderTreeView(tree.desktop(), host.get());
        view->setGeometry(0, 0, 400, 600);
        QObject::connect(view, &TFolderTreeView::OnChange, view,
                         [this](QObject *) { changes.append(view->FolderName()); });
    }

    void TearDown() override
    {
        host.reset();
        config.reset();
    }

    // FolderName after each level of a walk from nothing selected down to `path`.
    QList<QByteArray> levelsTo(const QByteArray &path) const
    {
        QList<QByteArray> levels{"::drives", "/"};
        for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
            levels.append(path.left(slash));
        levels.append(path);
        return levels;
    }

    FolderTreeNode *current() const { return view->selectedNode(); }

    FolderTreeNode *child(FolderTreeNode *parent, const QByteArray &name) const
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            FolderTreeNode *each = parent->child(i);
            if (each->info()->name == name)
                return each;
        }
        return nullptr;
    }

    QStringList labels(FolderTreeNode *parent) const
    {
        QStringList result;
        for (int i = 0; i < parent->childCount(); ++i)
            result.append(parent->child(i)->label());
        return result;
    }

    QVariant data(FolderTreeNode *node, int role) const { return view->model()->data(view->indexOf(node), role); }

    void mouse(QEvent::Type type, Qt::MouseButton button, FolderTreeNode *node)
    {
        const QPoint at = view->nodeRect(node).center();
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }

    ShellFixtureTree tree;
    std::unique_ptr<ScopedConfigHome> config;
    std::unique_ptr<QWidget> host;
    TFolderTreeView *view = nullptr;
    QList<QByteArray> changes;
};

} // namespace

TEST_F(FolderTree, FillsItselfOnlyOnceItHasAParent)
{
    TFolderTreeView orphan(tree.desktop(), nullptr);
    EXPECT_EQ(orphan.rootNode(), nullptr);
    EXPECT_EQ(orphan.FolderName(), "");
    EXPECT_EQ(orphan.Images(), nullptr);

    orphan.setParent(host.get());
    EXPECT_NE(orphan.rootNode(), nullptr);
    EXPECT_EQ(orphan.model()->rowCount(), 1);
    orphan.setParent(nullptr);
    EXPECT_EQ(orphan.rootNode(), nullptr);
    EXPECT_EQ(orphan.Images(), nullptr);
}

TEST_F(FolderTree, DesktopIsTheRootWithDocumentsFirst)
{
    ASSERT_EQ(view->model()->rowCount(), 1);
    FolderTreeNode *root = view->rootNode();
    EXPECT_EQ(root->label(), QStringLiteral("デスクトップ"));
    EXPECT_TRUE(view->isNodeExpanded(root));
    EXPECT_EQ(view->selectedNode(), nullptr);
    const QString home = QFile::decodeName(tree.root().mid(tree.root().lastIndexOf('/') + 1));
    const QStringList expected{QStringLiteral("Documents"), home, QStringLiteral("コンピュータ"),
                               QStringLiteral("DeskFolder")};
    EXPECT_EQ(labels(root), expected);

    // Files never join the Desktop's own level, even when files are wanted.
    view->setIncludeFile(true);
    view->Refresh();
    EXPECT_EQ(labels(view->rootNode()), expected);
}

TEST_F(FolderTree, SetFolderNameRaisesChangeOncePerLevel)
{
    const QByteArray target = tree.path("data/file2/sub");
    view->setFolderName(target);
    EXPECT_EQ(view->FolderName(), target);
    EXPECT_EQ(changes, levelsTo(target));
    EXPECT_EQ(view->FolderNames(), QList<QByteArray>{target});
    for (FolderTreeNode *up = current()->parent(); up; up = up->parent())
        EXPECT_TRUE(view->isNodeExpanded(up));

    // With a node selected the change to no selection comes first.
    changes.clear();
    view->setFolderName(tree.path("data"));
    EXPECT_EQ(changes, QList<QByteArray>{""} + levelsTo(tree.path("data")));
}

TEST_F(FolderTree, SetFolderNameEndsOnTheDeepestNode)
{
    struct Case
    {
        QByteArray path;
        QByteArray selected;
    };
    const QByteArray data = tree.path("data");
    const QByteArray sjis = ShellFixtureTree::sjisName();
    const Case cases[] = {
        {data + "/FILE2/SUB", data + "/file2/sub"},       // letter case is ignored
        {data + "/music", data + "/music"},               // an exact spelling wins
        {data + "/MUSIC", data + "/Music"},               // else the first in order
        {data + "/a.txt", data},                          // files are no nodes
        {data + "/.hidden/inner", data},                  // hidden folders are left out
        {data + "/../data/./file10", data + "/file10"},
        {data + "/" + sjis, data + "/" + sjis},           // names that are not UTF-8 keep their bytes
        {data + "/link-to-dir", data + "/link-to-dir"},
        {tree.path("vol/inner"), tree.path("vol/inner")}, // through the second volume
        {data + "/nothing", ""},
        {"", ""},
        {"/" + QByteArray(PATH_MAX, 'x'), ""},
    };
    for (const Case &c : cases) {
        view->setFolderName(tree.path("Documents")); // something selected before
        view->setFolderName(c.path);
        EXPECT_EQ(view->FolderName(), c.selected) << c.path.left(120).constData();
        EXPECT_EQ(current() != nullptr, !c.selected.isEmpty());
    }
}

TEST_F(FolderTree, FoldersOpenOnlyWhenAsked)
{
    view->setFolderName(tree.path("data/file2"));
    FolderTreeNode *data = current()->parent();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->info()->enumerated);
    EXPECT_TRUE(data->info()->folder);

    FolderTreeNode *empty = child(data, "empty");
    FolderTreeNode *file10 = child(data, "file10");
    ASSERT_TRUE(empty && file10);
    for (FolderTreeNode *closed : {empty, file10}) {
        EXPECT_FALSE(closed->info()->enumerated);
        EXPECT_FALSE(closed->info()->folder);
        EXPECT_EQ(closed->childCount(), 0);
        EXPECT_FALSE(view->model()->hasChildren(view->indexOf(closed))); // no expand button
    }

    view->SelectParent();
    EXPECT_EQ(view->FolderName(), tree.path("data"));
    EXPECT_TRUE(view->OpenFolder("EMPTY"));
    EXPECT_EQ(view->FolderName(), tree.path("data/empty"));
    EXPECT_FALSE(empty->info()->enumerated);
    EXPECT_FALSE(view->OpenFolder("anything")); // opens the empty folder, finds nothing
    EXPECT_TRUE(empty->info()->enumerated);
    EXPECT_FALSE(view->model()->hasChildren(view->indexOf(empty))); // still no expand button

    // A double click opens a folder.
    view->selectNode(child(data, "file2"));
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, current());
    EXPECT_TRUE(child(current(), "sub"));
    EXPECT_TRUE(view->isNodeExpanded(current()));

    view->Deselect();
    EXPECT_EQ(view->FolderName(), "");
    EXPECT_FALSE(view->OpenFolder("data"));
}

TEST_F(FolderTree, HiddenItemsFollowTheModeAndTheUserSetting)
{
    struct Case
    {
        int mode;
        bool userShowsHidden;
        bool shown;
    };
    const Case cases[] = {
        {flhForceShow, false, true},
        {flhForceHide, true, false},
        {flhConformExplorer, true, true},
        {flhConformExplorer, false, false},
        {3, true, true}, // unknown numbers mean flhConformExplorer
    };
    for (const Case &c : cases) {
        config->setShowHidden(c.userShowsHidden);
        view->setShowHidden(c.mode);
        view->Refresh();
        view->setFolderName(tree.path("data/file2"));
        FolderTreeNode *hidden = child(current()->parent(), ".hidden");
        EXPECT_EQ(hidden != nullptr, c.shown) << c.mode << c.userShowsHidden;
        if (hidden) {
            EXPECT_TRUE(hidden->isCut());
            EXPECT_LT(data(hidden, Qt::ForegroundRole).value<QColor>().alpha(), 255);
        }
    }
    EXPECT_EQ(view->ShowHidden(), flhConformExplorer);
    EXPECT_FALSE(child(current()->parent(), "file2")->isCut());
}

TEST_F(FolderTree, RefreshRebuildsAndWalksBack)
{
    view->setFolderName(tree.path("vol/inner"));
    view->setFolderName(tree.path("data/file2"));
    EXPECT_FALSE(view->OpenFolder("new")); // reads file2 before "new" exists
    ASSERT_TRUE(::mkdir(tree.path("data/file2/new").constData(), 0755) == 0);
    view->setFolderName(tree.path("data/file2/new"));
    EXPECT_EQ(view->FolderName(), tree.path("data/file2")); // not seen before a refresh

    view->Refresh();
    EXPECT_EQ(view->FolderName(), tree.path("data/file2"));
    EXPECT_TRUE(view->OpenFolder("new"));
    ::rmdir(tree.path("data/file2/new").constData());

    view->Deselect();
    view->Refresh();
    EXPECT_EQ(current(), nullptr);
    EXPECT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(view->FolderName(), "");
}

TEST_F(FolderTree, LinkedFileListFollowsTheSelection)
{
    auto *list = new FakeFileList;
    view->setFolderName(tree.path("data/file2"));
    view->setFileListControl(list);
    EXPECT_EQ(view->FileListControl(), list);
    EXPECT_EQ(list->opened, QList<QByteArray>{tree.path("data/file2")}); // shown at once
    EXPECT_EQ(list->senders, QList<QObject *>{view});

    QObject other;
    view->setFileListControl(&other); // not a file list: ignored
    EXPECT_EQ(view->FileListControl(), list);

    list->opened.clear();
    view->setFolderName(tree.path("data/a.txt"));
    EXPECT_EQ(view->FolderName(), tree.path("data"));
    EXPECT_EQ(list->opened.last(), tree.path("data"));
    EXPECT_EQ(list->selected, QList<QByteArray>{"a.txt"});
    EXPECT_FALSE(view->isNodeSelected(current())); // the list holds the selection now

    list->finds = false;
    view->setFolderName(tree.path("data/B.txt"));
    EXPECT_TRUE(view->isNodeSelected(current()));

    delete list;
    EXPECT_EQ(view->FileListControl(), nullptr);
    view->setFolderName(tree.path("data/file10"));
    EXPECT_EQ(view->FolderName(), tree.path("data/file10"));
}

TEST_F(FolderTree, LeavingMultiSelectionRaisesOneChange)
{
    view->setFolderName(tree.path("data/file2"));
    view->setMultiSelect(true);
    FolderTreeNode *data = current()->parent();
    view->setNodeSelected(child(data, "file10"), true);
    view->setNodeSelected(child(data, "Music"), true);
    view->selectionModel()->setCurrentIndex(view->indexOf(child(data, "file2")), QItemSelectionModel::Select);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, current()); // a click takes stock
    EXPECT_EQ(view->FolderNames().size(), 3);

    changes.clear();
    view->setMultiSelect(false);
    EXPECT_EQ(changes, QList<QByteArray>{tree.path("data/file2")});
    EXPECT_EQ(view->FolderNames(), QList<QByteArray>{tree.path("data/file2")});
    view->setMultiSelect(false);
    EXPECT_EQ(changes.size(), 1);
}

TEST_F(FolderTree, RightClickSelectsBeforeMouseUp)
{
    view->setFolderName(tree.path("data/file2"));
    FolderTreeNode *target = child(current()->parent(), "Music");
    QByteArray seen;
    QObject::connect(view, &TFolderTreeView::OnMouseUp, view,
                     [&](QObject *, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
                         if (button == Qt::RightButton)
                             seen = view->FolderName();
                     });
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, target);
    EXPECT_EQ(seen, tree.path("data/Music"));
}

TEST_F(FolderTree, DoubleClickOnALinkGoesToItsTarget)
{
    view->setFolderName(tree.path("data/link-to-dir"));
    int doubleClicks = 0;
    QObject::connect(view, &TFolderTreeView::OnDblClick, view, [&](QObject *) { ++doubleClicks; });
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, current());
    EXPECT_EQ(view->FolderName(), tree.path("data/file2"));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(FolderTree, LooksBoldSelectionIconsAndText)
{
    view->setEmphasizeFocus(true);
    view->setFolderName(tree.path("data/file2"));
    FolderTreeNode *file2 = current();
    EXPECT_TRUE(file2->isBold());
    EXPECT_TRUE(data(file2, Qt::FontRole).value<QFont>().bold());
    view->SelectParent();
    EXPECT_FALSE(file2->isBold());
    EXPECT_TRUE(current()->isBold());

    FolderTreeNode *folder = current();
    FolderTreeNode *sjis = child(folder, ShellFixtureTree::sjisName());
    ASSERT_TRUE(sjis);
    EXPECT_EQ(sjis->label(), QStringLiteral("テスト"));

    // Plain folders share one image and one open image; the icon list stays small.
    FolderTreeNode *file10 = child(folder, "file10");
    FolderTreeNode *link = child(folder, "link-to-dir");
    for (FolderTreeNode *each : {file2, file10, link})
        EXPECT_FALSE(view->nodeIcon(*each).isNull());
    EXPECT_GE(file2->imageIndex(), 0);
    EXPECT_EQ(file10->imageIndex(), file2->imageIndex());
    EXPECT_EQ(file10->selectedIndex(), file2->selectedIndex());
    EXPECT_NE(file2->selectedIndex(), file2->imageIndex());
    EXPECT_LE(view->Images()->count(), 10);

    EXPECT_EQ(link->overlayIndex(), 2);
    EXPECT_GE(view->Images()->overlay(2), 0);
}

TEST_F(FolderTree, PicturesAreMadeForRowsInViewOnly)
{
    const QByteArray big = tree.path("data/empty");
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(::mkdir((big + "/f" + QByteArray::number(i)).constData(), 0755), 0);
    host->show();
    view->setFolderName(big);
    EXPECT_FALSE(view->OpenFolder("none"));
    QApplication::processEvents();
    FolderTreeNode *folder = current();
    ASSERT_EQ(folder->childCount(), 300);
    FolderTreeNode *last = folder->child(299);
    EXPECT_TRUE(folder->child(0)->hasIcons());
    EXPECT_FALSE(last->hasIcons());
    EXPECT_LE(view->Images()->count(), 10);

    view->scrollTo(view->indexOf(last));
    view->viewport()->repaint();
    EXPECT_TRUE(last->hasIcons());
    EXPECT_EQ(last->imageIndex(), folder->child(0)->imageIndex());
}

TEST(FolderTreeWithoutDesktop, StaysEmpty)
{
    QWidget host;
    TFolderTreeView view(nullptr, &host);
    EXPECT_EQ(view.rootNode(), nullptr);
    view.setFolderName("/tmp");
    view.Refresh();
    EXPECT_EQ(view.FolderName(), "");
}
