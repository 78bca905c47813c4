#include "controls/BrowseEdit.h"

#include "platform/QtTranslations.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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
    QTest::keyClick(&edit, Qt::Key_End);
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

TEST(BrowseEditTest, PathSetByTheProgramShowsFromItsStart)
{
    TBrowseEdit edit;
    edit.resize(240, 20);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    const QByteArray longPath = "/srv/" + QByteArray(20, 'a') + "/" + QByteArray(40, 'b') + "/end";
    const QString picked = QStringLiteral("/home/someone/") + QString(60, QLatin1Char('c'));
    edit.pickFolder = [&](QWidget *) { return picked; };

    edit.setPath(longPath);
    EXPECT_EQ(edit.cursorPosition(), 0);

    edit.browseButton()->click();
    EXPECT_EQ(edit.text(), picked);
    EXPECT_EQ(edit.cursorPosition(), 0);
}

// Runs in the working directory given, and returns to the one before.
struct WorkingDirectory {
    QByteArray saved;
    explicit WorkingDirectory(const QByteArray &folder)
    {
        char buffer[PATH_MAX];
        saved = ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray("/");
        [[maybe_unused]] int r = ::chdir(folder.constData());
    }
    ~WorkingDirectory() { [[maybe_unused]] int r = ::chdir(saved.constData()); }
};

TEST(BrowseEditTest, PickerStartsAtTheFieldsFolderElseAtHome)
{
    TempFolder root;
    ::mkdir((root / "music").constData(), 0755);
    ::mkdir((root / "\x83\x65\x83\x58").constData(), 0755);
    TempFolder::write(root / "song.mp3", "x");
    const QString music = QFile::decodeName(root / "music");
    const QString home = QDir::homePath();
    const WorkingDirectory inRoot(root.path());

    struct Case {
        const char *what;
        QByteArray text;
        QString start;
    };
    const Case cases[] = {
        {"an existing folder", root / "music", music},
        {"with a trailing slash", root / "music/", music},
        {"relative to the working directory", "music", music},
        {"empty", "", home},
        {"a missing folder", root / "gone", home},
        {"a file", root / "song.mp3", home},
        {"a name the picker cannot show", root / "\x83\x65\x83\x58", home},
    };
    for (const Case &c : cases) {
        TBrowseEdit edit;
        edit.setPath(c.text);
        EXPECT_EQ(edit.pickerStartFolder(), c.start) << c.what;
    }
}

TEST(BrowseEditTest, FolderPickerOpensAtTheFolderWithNothingInvented)
{
    TempFolder root;
    ::mkdir((root / "music").constData(), 0755);
    struct Case {
        QByteArray text;
        QString directory;
    };
    const Case cases[] = {
        {root / "music", QFile::decodeName(root / "music")},
        {root / "Desktop", QDir::homePath()},
    };
    for (const Case &c : cases) {
        TBrowseEdit edit;
        edit.setPath(c.text);
        QSignalSpy changes(&edit, &TBrowseEdit::OnChange);
        QString directory;
        QString nameField = QStringLiteral("<no dialog>");
        // Looks at the picker once it is up, then cancels it.
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            directory = dialog->directory().absolutePath();
            const auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            nameField = name ? name->text() : QStringLiteral("<no name field>");
            dialog->reject();
        });
        edit.browseButton()->click();
        EXPECT_EQ(directory, c.directory) << c.text.constData();
        EXPECT_EQ(nameField, QString()) << c.text.constData();
        EXPECT_EQ(edit.Path(), c.text);
        EXPECT_EQ(changes.size(), 0);
    }
}

// Everything the picker shows is Japanese: its labels and buttons, the
// column titles, the type of a folder and its date.
TEST(BrowseEditTest, FolderPickerSpeaksJapaneseDownToTypesAndDates)
{
    const QLocale locale;
    auto japanese = qttranslations::installJapanese();
    ASSERT_TRUE(japanese) << "Qt's Japanese translations are not installed";
    TempFolder root;
    ASSERT_EQ(::mkdir((root / "sub").constData(), 0755), 0);
    TBrowseEdit edit;
    edit.setPath(root.path());
    QStringList shown;
    QString type;
    QString date;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        QAbstractItemModel *model = view ? view->model() : nullptr;
        // The folder's row, once the model has read the folder.
        const auto row = [&]() -> QModelIndex {
            const QModelIndex parent = view->rootIndex();
            for (int i = 0; model && i < model->rowCount(parent); ++i) {
                if (model->index(i, 0, parent).data().toString() == QStringLiteral("sub"))
                    return model->index(i, 0, parent);
            }
            return QModelIndex();
        };
        if (model && QTest::qWaitFor([&] { return row().isValid() && !row().siblingAtColumn(3).data().toString().isEmpty(); })) {
            type = row().siblingAtColumn(2).data().toString();
            date = row().siblingAtColumn(3).data().toString();
            for (int column = 0; column < 4; ++column)
                shown << model->headerData(column, Qt::Horizontal).toString();
        }
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            shown << label->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            shown << button->text() << button->toolTip();
        dialog->reject();
    });
    edit.browseButton()->click();
    japanese.reset();
    QLocale::setDefault(locale);

    EXPECT_EQ(type, QStringLiteral("フォルダ"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$")).match(date).hasMatch())
        << date.toStdString();
    ASSERT_GT(shown.size(), 6);
    // No English word anywhere.
    const QRegularExpression english(QStringLiteral("[A-Za-z]{3,}"));
    for (const QString &text : shown)
        EXPECT_FALSE(english.match(text).hasMatch()) << text.toStdString();
}

TEST(BrowseEditTest, CaretBlinksAtItsOwnRateWhileFocused)
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int desktop = hints->cursorFlashTime();
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *fast = new TBrowseEdit(&window);
    auto *plain = new TBrowseEdit(&window);
    layout->addWidget(fast);
    layout->addWidget(plain);
    fast->setCaretBlinkRate(200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    plain->setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), desktop);
    // Shown for 200 ms, then hidden for 200 ms.
    fast->setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), 400);
    plain->setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), desktop);

    fast->setFocus();
    fast->setCaretBlinkRate(300);
    EXPECT_EQ(hints->cursorFlashTime(), 600);
    // A field that goes while it has the focus gives the rate back.
    delete fast;
    EXPECT_EQ(hints->cursorFlashTime(), desktop);
}

// Sends a drag over the field and drops it there, as the window system
// does; returns whether the field took the drop.
bool dropOn(TBrowseEdit &edit, const QMimeData &data)
{
    const QPoint middle = edit.rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &move);
    QDropEvent drop(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &drop);
    EXPECT_NE(drop.dropAction(), Qt::MoveAction);
    return drop.isAccepted();
}

QMimeData *filesDrag(const QByteArrayList &paths)
{
    auto *data = new QMimeData;
    QByteArray list;
    for (const QByteArray &path : paths)
        list += "file://" + path.toPercentEncoding("/") + "\r\n";
    data->setData(QStringLiteral("text/uri-list"), list);
    // File managers offer the addresses as text too.
    data->setText(QString::fromUtf8(list));
    return data;
}

TEST(BrowseEditTest, ADroppedFolderReplacesTheWholeText)
{
    TempFolder root;
    const QByteArray first = root / "first folder";
    const QByteArray second = root / "\x83\x65\x83\x58\x83\x67";
    const QByteArray file = first + "/song.mp3";
    ASSERT_EQ(::mkdir(first.constData(), 0755), 0);
    ASSERT_EQ(::mkdir(second.constData(), 0755), 0);
    TempFolder::write(file, "x");

    TBrowseEdit edit;
    edit.resize(240, 20);
    edit.show();
    QSignalSpy changes(&edit, &TBrowseEdit::OnChange);
    edit.setPath("/typed/before");

    std::unique_ptr<QMimeData> data(filesDrag({first, second}));
    ASSERT_TRUE(dropOn(edit, *data));
    EXPECT_EQ(edit.Path(), first);
    // A second drop replaces the text again instead of splicing into it.
    data.reset(filesDrag({second}));
    ASSERT_TRUE(dropOn(edit, *data));
    EXPECT_EQ(edit.Path(), second);
    // A file gives its folder.
    data.reset(filesDrag({file}));
    ASSERT_TRUE(dropOn(edit, *data));
    EXPECT_EQ(edit.Path(), first);
    EXPECT_EQ(changes.size(), 4);

    // Web addresses are no folder here: refused, the text stays.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/music"))});
    EXPECT_FALSE(dropOn(edit, web));
    EXPECT_EQ(edit.Path(), first);

    // Plain text is still typed in where it lands.
    QMimeData text;
    text.setText(QStringLiteral("/x"));
    EXPECT_TRUE(dropOn(edit, text));
    EXPECT_NE(edit.text(), paths::toDisplay(first));
    EXPECT_TRUE(edit.text().contains(QStringLiteral("/x")));
}

} // namespace
