#pragma once
// A small folder tree on disk for namespace and folder-tree tests, with a
// namespace whose Desktop, documents, home and volumes all lie inside it.
//
//   root/Desktop/{DeskFolder/, deskfile.txt}    the desktop directory
//   root/Documents/                              the documents directory
//   root/config/                                 the desktop settings folder
//   root/data/  File1/ file2/sub/ file10/ Music/ music/ empty/
//               .hidden/inner/  <Shift_JIS "テスト">/  link-to-dir -> file2
//               broken -> missing  fifo  a.txt  B.txt  c9.mp3  c10.mp3
//   root/vol/inner/                              mounted as a second volume
#include "namespace/ShellFolder.h"
#include "namespace/linux/LinuxNamespace.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Paths in failure messages as text rather than a list of bytes.
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toStdString() << '"';
}

class ShellFixtureTree
{
public:
    ShellFixtureTree();
    ~ShellFixtureTree();

    bool isValid() const { return m_valid; }
    QByteArray root() const { return m_root; }
    QByteArray path(const QByteArray &relative) const { return m_root + '/' + relative; }
    shellns::NamespaceRoots roots() const;
    std::shared_ptr<shellns::ShellFolder> desktop() const;

    // テスト in Shift_JIS: not valid UTF-8.
    static QByteArray sjisName();

private:
    QTemporaryDir m_dir;
    QByteArray m_root;
    bool m_valid = false;
};

// Points the desktop settings at a folder for the life of the object.
class ScopedConfigHome
{
public:
    explicit ScopedConfigHome(const QByteArray &folder);
    ~ScopedConfigHome();
    // Writes the GTK file chooser's "show hidden" choice.
    void setShowHidden(bool on) const;

private:
    QByteArray m_folder;
    QByteArray m_saved;
    bool m_had = false;
};

// A test over the fixture tree with the desktop settings pointed into it.
// A fixture that derives from it calls its SetUp first.
class ShellFixtureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        config = std::make_unique<ScopedConfigHome>(tree.path("config"));
    }
    void TearDown() override { config.reset(); }

    ShellFixtureTree tree;
    std::unique_ptr<ScopedConfigHome> config;
};
