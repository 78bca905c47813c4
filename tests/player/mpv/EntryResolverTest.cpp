#include "player/mpv/EntryResolver.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A list of 1 MB naming itself in every entry: the slowest thing to read.
QByteArray hostileList(const QTemporaryDir &dir)
{
    QByteArray text = "<asx>\n";
    while (text.size() < (1 << 20))
        text += "<entry><ref href=\"self.asx\"/><ref href=\"self.asx\"/></entry>\n";
    return writeFile(dir, "self.asx", text + "</asx>\n");
}

class EntryResolverTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

TEST_F(EntryResolverTest, ResultArrivesLaterOnTheCallersThread)
{
    const QByteArray wav = writeFile(dir, "a.wav", fixtureContent("tone.wav"));
    EntryResolver resolver;
    QSignalSpy resolved(&resolver, &EntryResolver::resolved);
    resolver.resolve(wav);
    EXPECT_TRUE(resolver.isPending());
    ASSERT_TRUE(waitUntil([&] { return resolved.count() == 1; }));
    EXPECT_EQ(resolved.at(0).at(0).toByteArray(), wav);
    EXPECT_EQ(resolved.at(0).at(1).value<QByteArrayList>(), QByteArrayList {wav});
    EXPECT_FALSE(resolver.isPending());

    resolver.resolve(hostileList(dir));
    ASSERT_TRUE(waitUntil([&] { return resolved.count() == 2; }));
    EXPECT_TRUE(resolved.at(1).at(1).value<QByteArrayList>().isEmpty());
}

// Only the latest request is answered: a slow list asked for first, then a
// plain file, gives one answer, for the file; a cancelled request none.
TEST_F(EntryResolverTest, NewerRequestSupersedesAndCancelDrops)
{
    const QByteArray wav = writeFile(dir, "a.wav", fixtureContent("tone.wav"));
    const QByteArray list = hostileList(dir);
    EntryResolver resolver;
    QSignalSpy resolved(&resolver, &EntryResolver::resolved);
    resolver.resolve(list);
    resolver.resolve(wav);
    ASSERT_TRUE(waitUntil([&] { return resolved.count() >= 1; }));
    resolver.resolve(list);
    resolver.cancel();
    // A last request flushes whatever might still be on its way.
    resolver.resolve(wav);
    ASSERT_TRUE(waitUntil([&] { return resolved.count() >= 2; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(resolved.count(), 2);
    for (const QList<QVariant> &answer : resolved)
        EXPECT_EQ(answer.at(0).toByteArray(), wav);
}

TEST_F(EntryResolverTest, GoingAwayMidWayIsSafe)
{
    const QByteArray list = hostileList(dir);
    for (int round = 0; round < 5; ++round) {
        auto resolver = std::make_unique<EntryResolver>();
        bool answered = false;
        QObject::connect(resolver.get(), &EntryResolver::resolved, [&answered] { answered = true; });
        resolver->resolve(list);
        resolver.reset();
        QCoreApplication::processEvents();
        EXPECT_FALSE(answered);
    }
}

} // namespace
