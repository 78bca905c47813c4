// The file list view and its view-style menu over a real temporary folder tree.
#include "support/HeldFileSystem.h"
#include "support/ShellFixtureTree.h"
#include "support/Wait.h"

#include "shell/FflFileStyleMenu.h"
#include "shell/FflIconList.h"
#include "shell/FileListViewModel.h"
#include "shell/FileListView.h"
#include "shell/FolderFileToolBar.h"
#include "shell/FolderTreeView.h"
#include "shell/IconLabel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace shellns;

namespace {

class FileList : public ShellFixtureTest
{
protected:
    void SetUp() override
    {
        ShellFixtureTest::SetUp();
        if (HasFatalFailure())
            return;
        host = std::make_unique<QWidget>();
        host->resize(700, 500);
        list = new TFileListView(tree.desktop(), host.get());
        list->setGeometry(0, 0, 700, 500);
        QObject::connect(list, &TFileListView::OnChange, list, [this](QObject *) { ++changes; });
        QObject::connect(list, &TFileListView::OnDblClick, list, [this](QObject *) { ++doubleClicks; });
    }

    void TearDown() override
    {
        host.reset();
        ShellFixtureTest::TearDown();
    }

    void show()
    {
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    QList<QByteArray> names() const
    {
        QList<QByteArray> result;
        for (int row = 0; row < list->count(); ++row)
            result.append(list->model()->row(row).info.name);
        return result;
    }

    int rowOf(const QByteArray &name) const { return int(names().indexOf(name)); }

    QByteArray listedPath() const
    {
        return list->listedFolder() ? list->listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing)
                                          .value_or("?")
                                    : QByteArray();
    }

    QString cell(const QByteArray &name, int column) const
    {
        return list->model()->index(rowOf(name), column).data().toString();
    }

    // Double-clicks the item as a person would, in the view of the current style.
    void doubleClickItem(const QByteArray &name)
    {
        QAbstractItemView *view = list->currentView();
        const QModelIndex index = list->model()->index(rowOf(name), 0);
        ASSERT_TRUE(index.isValid()) << name.constData();
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::unique_ptr<QWidget> host;
    TFileListView *list = nullptr;
    int changes = 0;
    int doubleClicks = 0;
};

const QList<QByteArray> kFolders{"empty", "File1", "file2", "file10", "link-to-dir", "Music", "music",
                                 ShellFixtureTree::sjisName()};

} // namespace

TEST_F(FileList, StartsEmptyWithTheListStyleAndItsMenu)
{
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->ViewStyle(), vsList);
    EXPECT_EQ(list->FileName(), "");
    EXPECT_EQ(list->shownPopupMenu(), list->StyleMenu());
    EXPECT_TRUE(list->StyleMenu()->itemFor(vsList)->isChecked());
    TFileListView bare(tree.desktop(), nullptr);
    EXPECT_EQ(bare.size(), QSize(257, 153));
}

TEST_F(FileList, ListsAFolderInTheShellsOrderWithoutHiddenItems)
{
    list->setFileName(tree.path("data"));
    EXPECT_EQ(listedPath(), tree.path("data"));
    EXPECT_EQ(names(), kFolders + QList<QByteArray>({"a.txt", "B.txt", "broken", "c9.mp3", "c10.mp3", "fifo"}));
    EXPECT_EQ(list->FileName(), "") << "a folder path selects nothing";
    EXPECT_EQ(changes, 1);

    list->setIncludeFolder(false);
    list->setFilter("");
    EXPECT_EQ(names(), (QList<QByteArray>{"a.txt", "B.txt", "broken", "c9.mp3", "c10.mp3", "fifo"}));
}

TEST_F(FileList, HiddenItemsFollowTheModeAndLookCut)
{
    list->setShowHidden(flhForceShow);
    list->setFileName(tree.path("data"));
    const int hidden = rowOf(".hidden");
    ASSERT_GE(hidden, 0);
    EXPECT_TRUE(list->model()->loadedRow(hidden).cut);
    EXPECT_FALSE(list->model()->loadedRow(rowOf("file2")).cut);

    // The user's setting decides under the default mode; the listing changes at the next read.
    list->setShowHidden(flhConformExplorer);
    EXPECT_GE(rowOf(".hidden"), 0);
    config->setShowHidden(true);
    list->setShowHidden(flhConformExplorer);
    list->setFileName(tree.path("data"));
    EXPECT_GE(rowOf(".hidden"), 0);
    config->setShowHidden(false);
    list->setShowHidden(7);
    EXPECT_EQ(list->ShowHidden(), flhConformExplorer);
    list->setFileName(tree.path("data"));
    EXPECT_EQ(rowOf(".hidden"), -1);
}

TEST_F(FileList, FilterNarrowsFilesButNeverFoldersOrLinks)
{
    list->setFileName(tree.path("data"));
    changes = 0;
    list->setFilter("*.MP3; *.txt");
    EXPECT_EQ(names(), kFolders + QList<QByteArray>({"a.txt", "B.txt", "broken", "c9.mp3", "c10.mp3"}));
    EXPECT_EQ(changes, 0) << "relisting for a filter is no change of the user's";
    list->setFilter("c1*");
    EXPECT_EQ(names(), kFolders + QList<QByteArray>({"broken", "c10.mp3"}));
    list->setFilter(";");
    EXPECT_EQ(names(), kFolders + QList<QByteArray>{"broken"});
}

TEST_F(FileList, SetFileNameSelectsAFileOrKeepsTheListForAMissingPath)
{
    list->setFileName(tree.path("data/c10.mp3"));
    EXPECT_EQ(listedPath(), tree.path("data"));
    EXPECT_EQ(list->FileName(), tree.path("data/c10.mp3"));
    EXPECT_EQ(list->FileNames(), QList<QByteArray>{tree.path("data/c10.mp3")});
    EXPECT_EQ(changes, 1);

    list->setFileName(tree.path("data/nothing-here"));
    EXPECT_EQ(changes, 2) << "the user hears of the attempt";
    EXPECT_EQ(listedPath(), tree.path("data"));

    list->setFileName(tree.path("Desktop/deskfile.txt"));
    EXPECT_EQ(listedPath(), tree.path("Desktop"));
    EXPECT_EQ(list->FileName(), tree.path("Desktop/deskfile.txt"));

    EXPECT_TRUE(list->SelectFile("DESKFILE.TXT"));
    EXPECT_FALSE(list->SelectFile("none"));
    EXPECT_EQ(list->FileName(), "");
    list->Clear();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(list->listedFolder());
}

TEST_F(FileList, ReportColumnsHaveTheirTitlesWidthsAndTexts)
{
    QFile big(QFile::decodeName(tree.path("data/big.bin")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1000, 'x'));
    big.close();
    ASSERT_EQ(::chmod(tree.path("data/a.txt").constData(), 0444), 0);

    list->setViewStyle(vsReport);
    list->setFileName(tree.path("data"));
    const QStringList titles{"名前", "サイズ", "作成日時", "更新日時", "アクセス日時", "属性", "状態"};
    const int widths[] = {178, 84, 102, 102, 102, 44, 64};
    QHeaderView *header = list->reportView()->header();
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), titles[column]);
        // Columns grow only where the font needs the room (see the next test).
        EXPECT_GE(header->sectionSize(column), widths[column]);
        if (column == FileListViewModel::kName) {
            EXPECT_EQ(header->sectionSize(column), widths[column]);
        }
    }
    EXPECT_EQ(cell("big.bin", FileListViewModel::kSize), "1KB");
    EXPECT_EQ(cell("file2", FileListViewModel::kSize), "");
    EXPECT_EQ(cell("a.txt", FileListViewModel::kAttributes), "R");
    EXPECT_EQ(cell("B.txt", FileListViewModel::kAttributes), "");
    EXPECT_EQ(cell("B.txt", FileListViewModel::kStatus), QStringLiteral("オンライン"));
    EXPECT_TRUE(QDateTime::fromString(cell("B.txt", FileListViewModel::kModified), "yyyy/MM/dd H:mm").isValid()
                || QDateTime::fromString(cell("B.txt", FileListViewModel::kModified), "yyyy/MM/dd  H:mm").isValid())
        << cell("B.txt", FileListViewModel::kModified).toStdString();
    EXPECT_EQ(list->model()->data(list->model()->index(rowOf("big.bin"), FileListViewModel::kSize),
                                  Qt::TextAlignmentRole)
                  .toInt()
                  & Qt::AlignRight,
              Qt::AlignRight);
    ::chmod(tree.path("data/a.txt").constData(), 0644);
}

// In the default font every column but the names shows its whole text and
// its whole title: a status "オンライン" is never cut to "オンラ…".
TEST_F(FileList, ReportColumnsFitTheirWholeTextsInTheDefaultFont)
{
    ASSERT_EQ(::chmod(tree.path("data/a.txt").constData(), 0444), 0);
    list->setViewStyle(vsReport);
    list->setFileName(tree.path("data"));
    show();
    QTreeView *view = list->reportView();
    QHeaderView *header = view->header();
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    ASSERT_GT(list->count(), 5);
    for (int column = FileListViewModel::kSize; column < FileListViewModel::kColumnCount; ++column) {
        EXPECT_LE(header->sectionSizeHint(column), header->sectionSize(column)) << column;
        for (int row = 0; row < list->count(); ++row) {
            const QModelIndex index = list->model()->index(row, column);
            EXPECT_LE(view->itemDelegate()->sizeHint(option, index).width(), header->sectionSize(column))
                << column << " " << index.data().toString().toStdString();
        }
        for (const QString &sample : FileListViewModel::columnSamples(column))
            EXPECT_LE(view->fontMetrics().horizontalAdvance(sample) + 6, header->sectionSize(column))
                << sample.toStdString();
    }
    ::chmod(tree.path("data/a.txt").constData(), 0644);
}

TEST_F(FileList, ItemsOfOneTypeShareOneImageInBothSizes)
{
    list->setFileName(tree.path("data"));
    for (int row = 0; row < list->count(); ++row)
        list->model()->loadedRow(row);
    const int file1 = list->model()->row(rowOf("File1")).imageIndex;
    ASSERT_GE(file1, 0);
    EXPECT_EQ(list->model()->row(rowOf("empty")).imageIndex, file1);
    EXPECT_EQ(list->model()->smallImages()->count(), list->model()->largeImages()->count());
    EXPECT_LT(list->model()->smallImages()->count(), list->count());
    EXPECT_EQ(list->model()->smallImages()->iconSize(), QSize(16, 16));
    EXPECT_EQ(list->model()->largeImages()->iconSize(), QSize(48, 48));
    EXPECT_EQ(list->model()->row(rowOf("link-to-dir")).overlayIndex, 2);
    EXPECT_FALSE(list->model()->index(rowOf("link-to-dir"), 0).data(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(FileList, ViewStylesShareOneSelectionAndTheMenuCheckFollows)
{
    show();
    list->setFileName(tree.path("data/c9.mp3"));
    TFflFileStyleMenu *menu = list->StyleMenu();
    const struct {
        int item;
        TViewStyle style;
    } choices[] = {{0, vsSmallIcon}, {1, vsIcon}, {3, vsReport}, {2, vsList}};
    for (const auto &choice : choices) {
        menu->item(choice.item)->trigger();
        EXPECT_EQ(list->ViewStyle(), choice.style);
        EXPECT_TRUE(list->currentView()->isVisible());
        EXPECT_EQ(list->currentView()->currentIndex().row(), rowOf("c9.mp3"));
        EXPECT_EQ(list->FileName(), tree.path("data/c9.mp3"));
        EXPECT_TRUE(menu->item(choice.item)->isChecked());
    }
    // A style set from code shows in the menu the next time it pops up.
    list->setViewStyle(vsReport);
    menu->popup(QPoint(10, 10));
    EXPECT_TRUE(menu->itemFor(vsReport)->isChecked());
    EXPECT_FALSE(menu->itemFor(vsList)->isChecked());
    menu->hide();
}

// With no item current, neither choosing a style from the list's own menu
// nor the focus coming back makes an item current: nobody caused a change.
TEST_F(FileList, FocusAndTheStyleMenuRaiseNoChange)
{
    show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    list->setFileName(tree.path("data"));
    auto *elsewhere = new QLineEdit(host.get());
    elsewhere->show();
    changes = 0;
    for (int item : {3, 1, 0, 2}) {
        list->currentView()->setFocus(Qt::OtherFocusReason);
        list->StyleMenu()->item(item)->trigger();
        elsewhere->setFocus(Qt::TabFocusReason);
        list->currentView()->setFocus(Qt::PopupFocusReason);
        list->currentView()->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_TRUE(list->currentView()->hasFocus()) << item;
        EXPECT_EQ(changes, 0) << item;
        EXPECT_EQ(list->FileName(), QByteArray()) << item;
        EXPECT_FALSE(list->currentView()->currentIndex().isValid()) << item;
    }
    // The keyboard still reaches the first item from there.
    QTest::keyClick(list->currentView(), Qt::Key_Down);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(list->FileName().isEmpty());
}

TEST_F(FileList, DoubleClickOpensFoldersAndLinksWithinTheList)
{
    show();
    list->setFileName(tree.path("data"));
    doubleClickItem("c9.mp3");
    EXPECT_EQ(listedPath(), tree.path("data")) << "files are not launched";
    EXPECT_EQ(doubleClicks, 1);

    doubleClickItem("broken");
    EXPECT_EQ(listedPath(), tree.path("data")) << "a link to nothing leads nowhere";

    doubleClickItem("link-to-dir");
    EXPECT_EQ(listedPath(), tree.path("data/file2"));
    EXPECT_EQ(names(), QList<QByteArray>{"sub"});

    doubleClickItem("sub");
    EXPECT_EQ(listedPath(), tree.path("data/file2/sub"));
    EXPECT_EQ(doubleClicks, 4);

    // Backspace goes up and lands on the folder it came from; Return opens it again.
    QTest::keyClick(list->currentView(), Qt::Key_Backspace);
    EXPECT_EQ(listedPath(), tree.path("data/file2"));
    EXPECT_EQ(list->FileName(), tree.path("data/file2/sub"));
    QTest::keyClick(list->currentView(), Qt::Key_Return);
    EXPECT_EQ(listedPath(), tree.path("data/file2/sub"));
}

// The listed folder deleted (here with the folder holding it): the list
// shows the nearest folder that still exists, and a linked folder tree
// walks there with it. A stale row of the tree that leads to the deleted
// folder brings both back to that folder too.
TEST_F(FileList, DeletedFolderGivesWayToTheNearestExisting)
{
    for (const bool withTree : {false, true}) {
        const QByteArray kept = tree.path("data/file2");
        const QByteArray listed = kept + "/gone/deeper";
        ASSERT_TRUE(QDir().mkpath(QFile::decodeName(listed)));
        TFolderTreeView *folders = nullptr;
        if (withTree) {
            folders = new TFolderTreeView(tree.desktop(), host.get());
            folders->setFileListControl(list);
            folders->setFolderName(listed);
        } else {
            list->setFileName(listed);
        }
        ASSERT_EQ(listedPath(), listed);
        ASSERT_TRUE(QDir(QFile::decodeName(kept + "/gone")).removeRecursively());
        EXPECT_TRUE(QTest::qWaitFor([&] { return listedPath() == kept; })) << withTree << " " << listedPath().constData();
        EXPECT_EQ(names(), QList<QByteArray> {"sub"});
        if (folders) {
            EXPECT_EQ(folders->FolderName(), kept);
            // The tree still holds the row of the deleted folder until it is read again.
            changes = 0;
            ASSERT_TRUE(folders->OpenFolder("gone"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return folders->FolderName() == kept && listedPath() == kept; }))
                << folders->FolderName().constData();
            delete folders;
        }
    }
}

TEST_F(FileList, DoubleClickGoesThroughALinkedFolderTree)
{
    show();
    auto *folders = new TFolderTreeView(tree.desktop(), host.get());
    folders->setFileListControl(list);
    folders->setFolderName(tree.path("data"));
    EXPECT_EQ(listedPath(), tree.path("data"));
    EXPECT_EQ(list->FolderControl(), folders);

    doubleClickItem("file2");
    EXPECT_EQ(folders->FolderName(), tree.path("data/file2"));
    EXPECT_EQ(listedPath(), tree.path("data/file2"));

    QTest::keyClick(list->currentView(), Qt::Key_Backspace);
    EXPECT_EQ(folders->FolderName(), tree.path("data"));

    doubleClickItem("link-to-dir");
    EXPECT_EQ(folders->FolderName(), tree.path("data/file2"));
    EXPECT_EQ(listedPath(), tree.path("data/file2"));

    delete folders;
    EXPECT_EQ(list->FolderControl(), nullptr);
    doubleClickItem("sub");
    EXPECT_EQ(listedPath(), tree.path("data/file2/sub"));
}

TEST_F(FileList, UserPopupMenuReplacesTheStyleMenuUntilItGoes)
{
    auto *own = new QMenu(host.get());
    list->setPopupMenu(own);
    EXPECT_EQ(list->shownPopupMenu(), own);
    QObject notAMenu;
    list->setPopupMenu(&notAMenu);
    EXPECT_EQ(list->shownPopupMenu(), own);
    delete own;
    EXPECT_EQ(list->PopupMenu(), nullptr);
    EXPECT_EQ(list->shownPopupMenu(), list->StyleMenu());
    list->setPopupMenu(new QMenu(host.get()));
    list->setPopupMenu(nullptr);
    EXPECT_EQ(list->shownPopupMenu(), list->StyleMenu());
}

TEST_F(FileList, OnlyTheToolbarsMenuReportsTheChosenStyle)
{
    auto *toolBar = new TFolderFileToolBar(host.get());
    toolBar->setFileListControl(list);
    QList<QPair<QObject *, TViewStyle>> reported;
    QObject::connect(toolBar, &TFolderFileToolBar::OnViewStyle, toolBar,
                     [&](QObject *sender, TViewStyle style) { reported.append({sender, style}); });

    QAction *icons = toolBar->styleMenu()->itemFor(vsIcon);
    ASSERT_EQ(icons->text(), QStringLiteral("アイコン(&N)"));
    icons->trigger();
    EXPECT_EQ(list->ViewStyle(), vsIcon);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(reported[0].first, icons);
    EXPECT_EQ(reported[0].second, vsIcon);

    list->StyleMenu()->itemFor(vsReport)->trigger();
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_EQ(reported.size(), 1);
}

TEST_F(FileList, MultiSelectionListsSelectedPathsInListOrder)
{
    show();
    list->setMultiSelect(true);
    list->setFileName(tree.path("data"));
    QAbstractItemView *view = list->currentView();
    auto clickRow = [&](const QByteArray &name, Qt::KeyboardModifiers modifiers) {
        const QModelIndex index = list->model()->index(rowOf(name), 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
    };
    clickRow("c10.mp3", Qt::NoModifier);
    clickRow("a.txt", Qt::ControlModifier);
    EXPECT_EQ(list->FileName(), tree.path("data/a.txt"));
    EXPECT_EQ(list->FileNames(), (QList<QByteArray>{tree.path("data/a.txt"), tree.path("data/c10.mp3")}));
    list->Deselect();
    EXPECT_EQ(list->FileName(), "");
    EXPECT_TRUE(list->FileNames().isEmpty());
}

TEST_F(FileList, HotTrackingSelectsTheItemThePointerRestsOn)
{
    show();
    list->setFileName(tree.path("data"));
    QAbstractItemView *view = list->currentView();
    const QPoint at = view->visualRect(list->model()->index(rowOf("B.txt"), 0)).center();
    auto moveTo = [&](const QPoint &point) {
        QMouseEvent move(QEvent::MouseMove, point, view->viewport()->mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
    };
    moveTo(at);
    QTest::qWait(50);
    EXPECT_EQ(list->FileName(), "") << "without hot tracking the pointer selects nothing";

    list->setHotTrack(true);
    moveTo(QPoint(at.x(), view->visualRect(list->model()->index(rowOf("a.txt"), 0)).center().y()));
    moveTo(at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->FileName() == tree.path("data/B.txt"); }, 5000));
}

TEST_F(FileList, ListStylesGiveEveryNameRoomForTheLongest)
{
    show();
    list->setFileName(tree.path("data"));
    ASSERT_EQ(names().first(), "empty") << "a short name comes first";
    for (TViewStyle style : {vsList, vsSmallIcon}) {
        list->setViewStyle(style);
        QCoreApplication::processEvents();
        QAbstractItemView *view = list->currentView();
        const QRect cell = view->visualRect(list->model()->index(rowOf("link-to-dir"), 0));
        EXPECT_GE(cell.width(), 16 + view->fontMetrics().horizontalAdvance(QStringLiteral("link-to-dir"))) << style;
    }
}

// Names under large icons wrap to a second line before they are elided, so
// names that differ only at the end stay apart.
TEST(IconLabel, WrapsToTwoLinesBeforeEliding)
{
    QFont font = QApplication::font();
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("size10")) + 2;
    struct Case {
        QString text;
        QStringList expected; // "" for a line that must end in "…"
    };
    const Case cases[] = {
        {QStringLiteral("size1000.bin"), {QStringLiteral("size10"), QStringLiteral("00.bin")}},
        {QStringLiteral("size1024.bin"), {QStringLiteral("size10"), QStringLiteral("24.bin")}},
        {QStringLiteral("ab cd"), {QStringLiteral("ab cd")}},
        {QStringLiteral("abcd efgh"), {QStringLiteral("abcd"), QStringLiteral("efgh")}},
        {QStringLiteral("size1000.bin.backup"), {QStringLiteral("size10"), QString()}},
        {QString(), {}},
    };
    for (const Case &c : cases) {
        const QStringList shown = iconlabel::lines(c.text, font, width);
        ASSERT_EQ(shown.size(), c.expected.size()) << c.text.toStdString();
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (c.expected[i].isEmpty())
                EXPECT_TRUE(shown[i].endsWith(QChar(0x2026))) << shown[i].toStdString();
            else
                EXPECT_EQ(shown[i], c.expected[i]) << c.text.toStdString();
            EXPECT_LE(metrics.horizontalAdvance(shown[i]), width) << shown[i].toStdString();
        }
    }
}

TEST_F(FileList, LargeIconNamesShowWholeOrOnTwoLines)
{
    const QByteArray longName = "field-recording-2024-size1000.bin";
    for (const QByteArray &name : {QByteArray("size1000.bin"), QByteArray("size1023.bin"),
             QByteArray("size1024.bin"), longName}) {
        QFile file(QFile::decodeName(tree.path("data/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    list->setViewStyle(vsIcon);
    list->setFileName(tree.path("data"));
    show();
    QListView *view = list->iconView();
    const QFontMetrics metrics(view->font());
    const QImage shot = view->viewport()->grab().toImage();
    const QColor base = view->palette().color(QPalette::Base);
    // The band of one line of a name, as painted.
    auto band = [&](const QByteArray &name, int line) {
        const QRect item = view->visualRect(list->model()->index(rowOf(name), 0));
        const int top = item.top() + 2 + view->iconSize().height() + 5 + line * metrics.height();
        return shot.copy(item.left(), top, item.width(), metrics.height());
    };
    auto ink = [&](const QImage &image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) != base;
        }
        return count;
    };
    // Names that differ only at the end are told apart.
    EXPECT_NE(band("size1000.bin", 0), band("size1023.bin", 0));
    EXPECT_NE(band("size1000.bin", 0), band("size1024.bin", 0));
    EXPECT_NE(band("size1023.bin", 0), band("size1024.bin", 0));
    // A name too long for one line goes on on the second.
    EXPECT_GT(ink(band(longName, 1)), 0);
    EXPECT_EQ(ink(band("a.txt", 1)), 0);
}

TEST_F(FileList, TypingANameSelectsIt)
{
    show();
    list->setFileName(tree.path("data"));
    QAbstractItemView *view = list->currentView();
    view->setFocus();
    QTest::keyClicks(view, "c1");
    EXPECT_EQ(list->FileName(), tree.path("data/c10.mp3"));
}

namespace {

// The list beside a FUSE file system whose calls are held when a test says
// so, as a share that stops answering.
class HeldFileList : public FileList
{
protected:
    void SetUp() override
    {
        if (!fuse.isMounted())
            GTEST_SKIP() << fuse.whyNot().toStdString();
        for (const char *folder : {"/deep", "/songs"})
            ASSERT_EQ(::mkdir((fuse.backing() + folder).constData(), 0755), 0) << folder;
        for (const char *file : {"/deep/a.mp3", "/deep/b.mp3", "/songs/c.mp3"})
            QFile(QFile::decodeName(fuse.backing() + file)).open(QIODevice::WriteOnly);
        FileList::SetUp();
    }
    void TearDown() override
    {
        // Whatever still waits goes on, then the list goes.
        fuse.release();
        FileList::TearDown();
    }
    QByteArray mounted(const QByteArray &path) const { return fuse.mountPoint() + path; }

    HeldFileSystem fuse;
};

} // namespace

TEST_F(HeldFileList, APathThatDoesNotAnswerReturnsAtOnceAndIsListedOnceItDoes)
{
    list->setFileName(tree.path("data"));
    ASSERT_EQ(changes, 1);
    fuse.hold("/deep", HeldFileSystem::Everything);
    list->setFileName(mounted("/deep/b.mp3"));
    EXPECT_EQ(changes, 1) << "nothing changes before the folder answers";
    EXPECT_EQ(listedPath(), tree.path("data"));

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return changes == 2; }));
    EXPECT_EQ(listedPath(), mounted("/deep"));
    EXPECT_EQ(names(), (QList<QByteArray>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(list->FileName(), mounted("/deep/b.mp3"));
}

TEST_F(HeldFileList, ALaterPathOrFolderOvertakesOneThatDoesNotAnswer)
{
    const std::function<void(TFileListView &)> overtakers[] = {
        [&](TFileListView &view) { view.setFileName(tree.path("data")); },
        [&](TFileListView &view) { view.Clear(); },
    };
    for (const auto &overtake : overtakers) {
        fuse.hold("/deep", HeldFileSystem::Everything);
        list->setFileName(mounted("/deep"));
        overtake(*list);
        const QByteArray listed = listedPath();
        const int changesBefore = changes;
        fuse.release();
        ASSERT_TRUE(waitUntil([&] { return fuse.heldCalls() == 0; }));
        QTest::qWait(300);
        EXPECT_EQ(listedPath(), listed) << "the late answer is dropped";
        EXPECT_EQ(changes, changesBefore);
    }
}
