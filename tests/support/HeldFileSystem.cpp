#define FUSE_USE_VERSION 312
#include "support/HeldFileSystem.h"

#include <QTemporaryDir>

#include <fuse.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

struct HeldFileSystem::State
{
    QTemporaryDir backingDir;
    QTemporaryDir mountDir;
    QByteArray backing;
    QByteArray mountPoint;
    QString whyNot;
    struct fuse *fuse = nullptr;
    bool mounted = false;
    std::thread loop;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    QByteArray heldFolder;
    unsigned heldCalls = 0;
    int waiting = 0;
    bool loopEnded = false;

    // Waits while a call of this kind on path is held.
    void gate(unsigned kind, const char *path)
    {
        std::unique_lock lock(mutex);
        const auto held = [&] {
            if (!(heldCalls & kind))
                return false;
            const QByteArray name(path);
            return heldFolder == "/" || name == heldFolder || name.startsWith(heldFolder + '/');
        };
        if (!held())
            return;
        ++waiting;
        changed.notify_all();
        changed.wait(lock, [&] { return !held(); });
        --waiting;
        changed.notify_all();
    }

    QByteArray real(const char *path) const { return backing + path; }
};

namespace {

HeldFileSystem::State &state()
{
    return *static_cast<HeldFileSystem::State *>(fuse_get_context()->private_data);
}

int fail()
{
    return -errno;
}

void *initialize(struct fuse_conn_info *, struct fuse_config *config)
{
    // Nothing is kept by the kernel: every call comes here, and can be held.
    config->entry_timeout = 0;
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    config->direct_io = 1;
    config->use_ino = 1;
    return fuse_get_context()->private_data;
}

int getattr(const char *path, struct stat *status, struct fuse_file_info *)
{
    state().gate(HeldFileSystem::Lookups, path);
    return ::lstat(state().real(path).constData(), status) == 0 ? 0 : fail();
}

int access(const char *path, int mode)
{
    state().gate(HeldFileSystem::Lookups, path);
    return ::access(state().real(path).constData(), mode) == 0 ? 0 : fail();
}

int readdir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t, struct fuse_file_info *,
    enum fuse_readdir_flags)
{
    state().gate(HeldFileSystem::Listings, path);
    DIR *dir = ::opendir(state().real(path).constData());
    if (!dir)
        return fail();
    while (const dirent *entry = ::readdir(dir)) {
        struct stat status {};
        status.st_ino = entry->d_ino;
        status.st_mode = mode_t(DTTOIF(entry->d_type));
        if (fill(buffer, entry->d_name, &status, 0, fuse_fill_dir_flags(0)))
            break;
    }
    ::closedir(dir);
    return 0;
}

int open(const char *path, struct fuse_file_info *file)
{
    state().gate(HeldFileSystem::Lookups, path);
    const int fd = ::open(state().real(path).constData(), file->flags);
    if (fd < 0)
        return fail();
    file->fh = uint64_t(fd);
    return 0;
}

int create(const char *path, mode_t mode, struct fuse_file_info *file)
{
    state().gate(HeldFileSystem::Writes, path);
    const int fd = ::open(state().real(path).constData(), file->flags, mode);
    if (fd < 0)
        return fail();
    file->fh = uint64_t(fd);
    return 0;
}

int read(const char *path, char *buffer, size_t size, off_t offset, struct fuse_file_info *file)
{
    state().gate(HeldFileSystem::Reads, path);
    const ssize_t got = ::pread(int(file->fh), buffer, size, offset);
    return got < 0 ? fail() : int(got);
}

int write(const char *path, const char *buffer, size_t size, off_t offset, struct fuse_file_info *file)
{
    state().gate(HeldFileSystem::Writes, path);
    const ssize_t put = ::pwrite(int(file->fh), buffer, size, offset);
    return put < 0 ? fail() : int(put);
}

int fsync(const char *path, int, struct fuse_file_info *file)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::fsync(int(file->fh)) == 0 ? 0 : fail();
}

int release(const char *, struct fuse_file_info *file)
{
    ::close(int(file->fh));
    return 0;
}

int rename(const char *from, const char *to, unsigned int flags)
{
    state().gate(HeldFileSystem::Renames, from);
    state().gate(HeldFileSystem::Renames, to);
    const long done = ::syscall(SYS_renameat2, AT_FDCWD, state().real(from).constData(), AT_FDCWD,
        state().real(to).constData(), flags);
    return done == 0 ? 0 : fail();
}

int unlink(const char *path)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::unlink(state().real(path).constData()) == 0 ? 0 : fail();
}

int mkdir(const char *path, mode_t mode)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::mkdir(state().real(path).constData(), mode) == 0 ? 0 : fail();
}

int rmdir(const char *path)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::rmdir(state().real(path).constData()) == 0 ? 0 : fail();
}

int chmod(const char *path, mode_t mode, struct fuse_file_info *)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::chmod(state().real(path).constData(), mode) == 0 ? 0 : fail();
}

int truncate(const char *path, off_t size, struct fuse_file_info *)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::truncate(state().real(path).constData(), size) == 0 ? 0 : fail();
}

int utimens(const char *path, const struct timespec times[2], struct fuse_file_info *)
{
    state().gate(HeldFileSystem::Writes, path);
    return ::utimensat(AT_FDCWD, state().real(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : fail();
}

int statfs(const char *path, struct statvfs *status)
{
    return ::statvfs(state().real(path).constData(), status) == 0 ? 0 : fail();
}

struct fuse_operations operations()
{
    struct fuse_operations ops {};
    ops.init = initialize;
    ops.getattr = getattr;
    ops.access = access;
    ops.readdir = readdir;
    ops.open = open;
    ops.create = create;
    ops.read = read;
    ops.write = write;
    ops.fsync = fsync;
    ops.release = release;
    ops.rename = rename;
    ops.unlink = unlink;
    ops.mkdir = mkdir;
    ops.rmdir = rmdir;
    ops.chmod = chmod;
    ops.truncate = truncate;
    ops.utimens = utimens;
    ops.statfs = statfs;
    return ops;
}

} // namespace

HeldFileSystem::HeldFileSystem()
    : m_state(std::make_shared<State>())
{
    State &s = *m_state;
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        s.whyNot = QStringLiteral("/dev/fuse is missing or not usable here (%1): no FUSE file system can be mounted")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (!s.backingDir.isValid() || !s.mountDir.isValid()) {
        s.whyNot = QStringLiteral("no temporary folders for the FUSE file system");
        return;
    }
    s.backing = QFile::encodeName(s.backingDir.path());
    s.mountPoint = QFile::encodeName(s.mountDir.path());

    // Listed among the volumes as a network file system of its kind would be.
    const char *argv[] = {"ondasort-held", "-o", "fsname=ondasort-held,subtype=ondasort-held,default_permissions"};
    struct fuse_args args = FUSE_ARGS_INIT(3, const_cast<char **>(argv));
    const struct fuse_operations ops = operations();
    s.fuse = fuse_new(&args, &ops, sizeof ops, &s);
    if (!s.fuse) {
        s.whyNot = QStringLiteral("libfuse3 could not set up the file system");
        return;
    }
    if (fuse_mount(s.fuse, s.mountPoint.constData()) != 0) {
        s.whyNot = QStringLiteral("mounting a FUSE file system on %1 failed (it needs root, or fusermount3)")
                       .arg(s.mountDir.path());
        fuse_destroy(s.fuse);
        s.fuse = nullptr;
        return;
    }
    s.mounted = true;
    // The serving threads keep the state alive, whatever becomes of this object.
    s.loop = std::thread([keep = m_state] {
        struct fuse_loop_config *config = fuse_loop_cfg_create();
        // Every held call takes a thread: there must always be another.
        fuse_loop_cfg_set_max_threads(config, 256);
        fuse_loop_mt(keep->fuse, config);
        fuse_loop_cfg_destroy(config);
        const std::lock_guard lock(keep->mutex);
        keep->loopEnded = true;
        keep->changed.notify_all();
    });
}

HeldFileSystem::~HeldFileSystem()
{
    release();
    unmount();
}

void HeldFileSystem::unmount()
{
    State &s = *m_state;
    if (!s.mounted)
        return;
    fuse_exit(s.fuse);
    fuse_unmount(s.fuse);
    bool ended = false;
    {
        std::unique_lock lock(s.mutex);
        ended = s.changed.wait_for(lock, std::chrono::seconds(5), [&] { return s.loopEnded; });
    }
    if (!ended) {
        // The kernel did not end the session: detach the mount in any case.
        ::umount2(s.mountPoint.constData(), MNT_DETACH);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execlp("fusermount3", "fusermount3", "-u", "-z", s.mountPoint.constData(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
        if (pid > 0)
            ::waitpid(pid, nullptr, 0);
        s.loop.detach();
        s.mounted = false;
        return;
    }
    s.loop.join();
    fuse_destroy(s.fuse);
    s.fuse = nullptr;
    s.mounted = false;
}

bool HeldFileSystem::isMounted() const
{
    return m_state->mounted;
}

QString HeldFileSystem::whyNot() const
{
    return m_state->whyNot;
}

QByteArray HeldFileSystem::mountPoint() const
{
    return m_state->mountPoint;
}

QByteArray HeldFileSystem::backing() const
{
    return m_state->backing;
}

void HeldFileSystem::hold(const QByteArray &folder, unsigned calls)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->heldFolder = folder.isEmpty() ? QByteArray("/") : folder;
    m_state->heldCalls = calls;
    m_state->changed.notify_all();
}

void HeldFileSystem::release()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->heldCalls = 0;
    m_state->changed.notify_all();
}

int HeldFileSystem::heldCalls() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->waiting;
}

bool HeldFileSystem::waitForHeldCall(int timeoutMs) const
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
        [&] { return m_state->waiting > 0; });
}
