#include "player/MpvBackendLoader.h"

#include "player/PlayerBackend.h"
#include "player/MpvBackendEntry.h"
#include "platform/ExecutablePath.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QPointer>

#include <dlfcn.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The one loading of the module in this process, and who waits for it.
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
        if (m_thread.joinable() || m_done)
            return;
        m_thread = std::thread([this, path] { load(path); });
    }

    // Runs `task` on the GUI thread once the module is loaded (or failed to load).
    void whenLoaded(std::function<void()> task)
    {
        std::lock_guard lock(m_mutex);
        if (m_done)
            post(std::move(task));
        else
            m_waiting.push_back(std::move(task));
    }

    MpvBackendEntry *entry() const { return m_entry; }
    const QString &error() const { return m_error; }

private:
    ModuleLoad() = default;

    void load(const QByteArray &path)
    {
        // Resolve everything now, on this thread, not at the first call on the GUI thread.
        void *module = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        MpvBackendEntry *entry = nullptr;
        QString error;
        if (!module) {
            error = QStringLiteral("メディアプレーヤーを読み込めません。\n") + QString::fromLocal8Bit(::dlerror());
        } else if (!(entry = reinterpret_cast<MpvBackendEntry *>(::dlsym(module, kMpvBackendEntryName)))) {
            error = QStringLiteral("メディアプレーヤーを読み込めません。\n") + QString::fromLocal8Bit(::dlerror());
        }
        // The module is never unloaded: the backends' code lives in it.
        std::lock_guard lock(m_mutex);
        m_entry = entry;
        m_error = error;
        m_done = true;
        for (std::function<void()> &task : m_waiting)
            post(std::move(task));
        m_waiting.clear();
    }

    // The application object outlives every window that can ask.
    static void post(std::function<void()> task)
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
    }

    std::mutex m_mutex;
    std::thread m_thread;
    bool m_done = false;
    std::vector<std::function<void()>> m_waiting;
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
    // Checked, and the backend built, on the GUI thread only.
    QPointer<QObject> alive(context);
    ModuleLoad::instance().whenLoaded([alive, options, ready = std::move(ready)] {
        if (!alive)
            return;
        const ModuleLoad &load = ModuleLoad::instance();
        if (!load.entry()) {
            ready(nullptr, load.error());
            return;
        }
        QByteArray error;
        std::unique_ptr<PlayerBackend> backend(load.entry()(options, error));
        ready(std::move(backend), QString::fromUtf8(error));
    });
}
