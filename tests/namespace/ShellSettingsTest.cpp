#include "support/ShellFixtureTree.h"

#include "namespace/ShellSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ShellSettings, ShowHiddenFollowsTheDesktopSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray config = QFile::encodeName(dir.path());
    ScopedConfigHome home(config);
    EXPECT_FALSE(shellns::readShellSettings().showHiddenFiles); // nothing written: off

    home.setShowHidden(true);
    EXPECT_TRUE(shellns::readShellSettings().showHiddenFiles);
    home.setShowHidden(false);
    EXPECT_FALSE(shellns::readShellSettings().showHiddenFiles);

    QFile kde(dir.filePath(QStringLiteral("kdeglobals")));
    ASSERT_TRUE(kde.open(QIODevice::WriteOnly));
    kde.write("[General]\nShow hidden files=false\n[KFileDialog Settings]\nShow hidden files=true\n");
    kde.close();
    EXPECT_TRUE(shellns::readShellSettings().showHiddenFiles);
}
