#include "player/MpvBackendLoader.h"

#include "player/PlayerBackend.h"
#include "player/MpvBackendEntry.h"
#include "platform/ExecutablePath.h"
#include "platform/Paths.h"

#include <QFutureWatcher>
#include <QPromise>

#include <dlfcn.h>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

namespace {

// The one loading of the module in this process. The loading thread only
// fulfils a promise; whoever waits watches its future from the GUI thread,
// so nothing on that thread touches a Qt object that may be going away.
class ModuleLoad
{
public:
    static ModuleLoad &instance()
    {
        static ModuleLoad load;
        return load;
    }

    ~ModuleLoad()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    void start(const QByteArray &path)
    {
        std::lock_guard lock(m_mutex);
        if (m_thread.joinable())
            return;
        m_thread = std::thread([this, path] { load(path); });
    }

    QFuture<void> loaded() const { return m_future; }
    MpvBackendEntry *entry() const { return m_entry; }
    const QString &error() const { return m_error; }

private:
    ModuleLoad()
    {
        m_promise.start();
    }

    void load(const QByteArray &path)
    {
        openLibrariesOf(path);
        // Resolve everything now, on this thread, not at the first call on the GUI thread.
        void *module = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            m_error = QStringLiteral("メディアプレーヤーを読み込めません。\n") + QString::fromLocal8Bit(::dlerror());
        } else if (!(m_entry = reinterpret_cast<MpvBackendEntry *>(::dlsym(module, kMpvBackendEntryName)))) {
            m_error = QStringLiteral("メディアプレーヤーを読み込めません。\n") + QString::fromLocal8Bit(::dlerror());
        }
        // The module is never unloaded: the backends' code lives in it.
        // Finishing publishes entry and error to whoever watches.
        m_promise.finish();
    }

    // Opens the libraries listed beside the module (ondasort-mpv.libs, each
    // after the ones it needs) in that order, so that each opening maps only
    // itself. The dynamic loader holds its lock for one opening, and the
    // window's thread needs that lock to load a plugin or to start a thread:
    // taken in one piece, libmpv's two hundred libraries would keep it
    // waiting for as long, and a library opened before the ones it needs
    // brings them all in under one lock (20 ms for the one that pulls in
    // the codecs; no opening takes more than about 5 ms in this order). A
    // library that cannot be opened is left to the module's own opening,
    // which reports what is missing.
    static void openLibrariesOf(const QByteArray &modulePath)
    {
        std::ifstream list(paths::dropExtension(modulePath).toStdString() + ".libs");
        for (std::string library; std::getline(list, library);) {
            if (!library.empty())
                ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        }
    }

    std::mutex m_mutex;
    std::thread m_thread;
    QPromise<void> m_promise;
    QFuture<void> m_future = m_promise.future();
    MpvBackendEntry *m_entry = nullptr;
    QString m_error;
};

} // namespace

QByteArray MpvBackendLoader::defaultModulePath()
{
    // This runs before the application object exists.
    const QByteArray folder = executable::directory();
    return folder.isEmpty() ? QByteArray(kMpvBackendModuleName) : paths::join(folder, kMpvBackendModuleName);
}

void MpvBackendLoader::preload(const QByteArray &modulePath)
{
    ModuleLoad::instance().start(modulePath.isEmpty() ? defaultModulePath() : modulePath);
}

void MpvBackendLoader::create(QObject *context, const MpvOptions &options, Ready ready)
{
    preload();
    // The watcher lives on the GUI thread and dies with context: a context
    // gone before the module is in never hears of it.
    auto *watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcher<void>::finished, context,
        [watcher, options, ready = std::move(ready)] {
            watcher->deleteLater();
            const ModuleLoad &load = ModuleLoad::instance();
            if (!load.entry()) {
                ready(nullptr, load.error());
                return;
            }
            QByteArray error;
            std::unique_ptr<PlayerBackend> backend(load.entry()(options, error));
            ready(std::move(backend), QString::fromUtf8(error));
        });
    watcher->setFuture(ModuleLoad::instance().loaded());
}
