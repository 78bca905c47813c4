// The libmpv backend as the program gets it: from the module, loaded on a
// thread of its own, and of the one PlayerBackend type the program knows.
#include "player/MpvBackendLoader.h"
#include "player/PlayerBackend.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QObject>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(BackendModule, ABackendMadeByTheModuleIsAPlayerBackendToTheProgram)
{
    MpvBackendLoader::preload(ONDASORT_MPV_MODULE);
    QObject context;
    std::unique_ptr<PlayerBackend> backend;
    QString error;
    bool called = false;
    MpvBackendLoader::create(&context, silentMpvOptions(), [&](std::unique_ptr<PlayerBackend> made, const QString &why) {
        backend = std::move(made);
        error = why;
        called = true;
    });
    // Never before the event loop has run.
    EXPECT_FALSE(called);
    ASSERT_TRUE(waitUntil([&] { return called; }));
    ASSERT_NE(backend, nullptr) << error.toStdString();

    // One metaobject on both sides of the module's edge.
    QObject *object = backend.get();
    EXPECT_EQ(qobject_cast<PlayerBackend *>(object), backend.get());
    EXPECT_TRUE(object->metaObject()->inherits(&PlayerBackend::staticMetaObject));
    EXPECT_EQ(dynamic_cast<PlayerBackend *>(object), backend.get());

    // Its signals reach the program by their names in that metaobject.
    bool started = false;
    QObject::connect(backend.get(), &PlayerBackend::fileStarted, [&] { started = true; });
    backend->load(mediaFixture("tone.wav"));
    EXPECT_TRUE(waitUntil([&] { return started; }));
}

TEST(BackendModule, AContextGoneBeforeTheModuleIsInHearsNothing)
{
    MpvBackendLoader::preload(ONDASORT_MPV_MODULE);
    bool called = false;
    {
        QObject context;
        MpvBackendLoader::create(&context, silentMpvOptions(), [&](std::unique_ptr<PlayerBackend>, const QString &) {
            called = true;
        });
    }
    QObject later;
    bool laterCalled = false;
    MpvBackendLoader::create(&later, silentMpvOptions(), [&](std::unique_ptr<PlayerBackend>, const QString &) {
        laterCalled = true;
    });
    ASSERT_TRUE(waitUntil([&] { return laterCalled; }));
    EXPECT_FALSE(called);
}

} // namespace
