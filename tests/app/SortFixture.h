#pragma once
// A main window whose source folder holds a few media files and whose
// slots point at empty destination folders, all in one temporary folder.
#include "MainFormFixture.h"

#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "sorting/SortSession.h"
#include "shell/FolderTreeView.h"
#include "skin/ClearButton.h"
#include "support/ScopedEnvironment.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QToolButton>

class SortFixture : public MainFormFixture
{
protected:
    QByteArray root() const { return QFile::encodeName(m_root.path()); }
    QByteArray source() const { return root() + "/source"; }
    QByteArray dest(int slot) const { return root() + "/dest" + QByteArray::number(slot); }

    static void writeFile(const QByteArray &path, const QByteArray &bytes)
    {
        QFile file(QFile::decodeName(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.constData();
        file.write(bytes);
    }
    static QByteArray readFile(const QByteArray &path)
    {
        QFile file(QFile::decodeName(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static bool exists(const QByteArray &path) { return QFile::exists(QFile::decodeName(path)); }

    // Creates the source files (each holding its own name) and three
    // destination folders, builds the window and opens the source folder.
    TMainForm1 &openSource(const QList<QByteArray> &names)
    {
        QDir().mkpath(QFile::decodeName(source()));
        for (int slot = 1; slot <= 3; ++slot)
            QDir().mkpath(QFile::decodeName(dest(slot)));
        for (const QByteArray &name : names)
            writeFile(source() + "/" + name, name);
        TMainForm1 &w = createForm();
        for (int slot = 1; slot <= 3; ++slot)
            w.BrowseEdit[slot - 1]->setPath(dest(slot));
        w.FolderTreeView0->setFolderName(source());
        return w;
    }

    // Makes the list item at index current, as a click on it does.
    void choose(int index)
    {
        form->FileListBox1->selectIndex(index);
        form->FileListBox1Click(form->FileListBox1);
    }

    // Waits until the moves and copies in the background are done and the
    // list has read its folder again.
    bool settled() const
    {
        return waitUntil([this] {
            return form->sortSession().isIdle() && !form->FileListBox1->isUpdatePending();
        });
    }

    QByteArray currentName() const { return form->currentPath().mid(form->currentPath().lastIndexOf('/') + 1); }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < form->FileListBox1->count(); ++i)
            names << QString::fromUtf8(form->FileListBox1->itemName(i));
        return names;
    }

    QTemporaryDir m_root;
};

// The same, with a desktop trash of its own (XDG_DATA_HOME points into a
// temporary folder while the test runs).
class TrashSortFixture : public SortFixture
{
protected:
    QByteArray inTrash(const char *name) const { return QFile::encodeName(m_data.path()) + "/Trash/files/" + name; }

    QTemporaryDir m_data;
    ScopedEnvironment m_dataHome {"XDG_DATA_HOME", QFile::encodeName(m_data.path())};
};
