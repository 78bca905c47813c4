#include "platform/DroppedPaths.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <climits>
#include <unistd.h>

namespace {

QByteArray hostName()
{
    char name[HOST_NAME_MAX + 1] {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

struct UriCase
{
    QByteArray uri;
    QByteArray path;
};

TEST(DroppedPathsTest, FileUrisOfThisMachineGiveTheirBytes)
{
    const UriCase cases[] = {
        {"file:///music/a%20b.mp3", "/music/a b.mp3"},
        {"file:///music/mix%2520final.mp3", "/music/mix%20final.mp3"},
        // Shift_JIS bytes, not UTF-8: kept exactly.
        {"file:///music/%83e%83X%83g", "/music/\x83\x65\x83\x58\x83\x67"},
        {"file:///music/%E6%97%A5%E6%9C%AC", "/music/日本"},
        {"file://localhost/music", "/music"},
        {"file://" + hostName() + "/music", "/music"},
        {"file:/music", "/music"},
        {"  file:///music/x\r", "/music/x"},
        {"file:///music/a%3Fb%23c.mp3", "/music/a?b#c.mp3"},
        // Elsewhere, or no file at all.
        {"file://otherhost.example/music", ""},
        {"http://example.org/music", ""},
        {"sftp://host/music", ""},
        {"file://", ""},
        {"file:relative/x", ""},
        {"file:///a%00b", ""},
        {"/music/plain path", ""},
    };
    for (const UriCase &c : cases)
        EXPECT_EQ(droppedpaths::fromFileUri(c.uri), c.path) << c.uri.constData();
}

TEST(DroppedPathsTest, AUriListGivesItsLocalPathsInOrder)
{
    const QByteArray list = "# from a file manager\r\n"
                            "file:///music/one\r\n"
                            "http://example.org/two\r\n"
                            "\r\n"
                            "file:///music/three%20four\r\n";
    EXPECT_EQ(droppedpaths::fromUriList(list), (QByteArrayList {"/music/one", "/music/three four"}));

    // A drag made inside a Qt program carries the same list.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/a%20b")), QUrl(QStringLiteral("https://example.org/"))});
    EXPECT_EQ(droppedpaths::fromMimeData(data), QByteArrayList {"/music/a%20b"});

    QMimeData text;
    text.setText(QStringLiteral("file:///music/one"));
    EXPECT_TRUE(droppedpaths::fromMimeData(text).isEmpty());
}

} // namespace
