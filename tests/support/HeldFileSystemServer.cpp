// The server behind HeldFileSystem, a program of its own: it mounts a FUSE
// file system on argv[2] that passes every call through to the folder
// argv[1], and takes its orders on standard input, one per line:
//   hold <kinds> <passing> <folder>   hold calls of these kinds below folder
//   release                           let every held call go
//   waiting                           answers the number of calls held now
// Each order is answered with a line. When its input ends (the test is
// done, or has died), it lets everything go, unmounts and ends; ending
// closes the connection, so no caller is ever left waiting on it.
#define FUSE_USE_VERSION 312

#include <fuse.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// The kinds of calls, as HeldFileSystem::Calls numbers them.
enum Kind : unsigned { Lookups = 1, Listings = 2, Reads = 4, Writes = 8, Renames = 16 };

struct State
{
    std::string backing;
    std::mutex mutex;
    std::condition_variable changed;
    std::string heldFolder = "/";
    unsigned heldCalls = 0;
    int passing = 0;
    int waiting = 0;

    // Waits while a call of this kind on path is held.
    void gate(unsigned kind, const char *path)
    {
        std::unique_lock lock(mutex);
        const auto held = [&] {
            if (!(heldCalls & kind))
                return false;
            const std::string name(path);
            return heldFolder == "/" || name == heldFolder || name.rfind(heldFolder + '/', 0) == 0;
        };
        if (!held())
            return;
        if (passing > 0) {
            --passing;
            return;
        }
        ++waiting;
        changed.wait(lock, [&] { return !held(); });
        --waiting;
    }

    std::string real(const char *path) const { return backing + path; }
};

State g_state;

State &state()
{
    return g_state;
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
    state().gate(Lookups, path);
    return ::lstat(state().real(path).c_str(), status) == 0 ? 0 : fail();
}

int access(const char *path, int mode)
{
    state().gate(Lookups, path);
    return ::access(state().real(path).c_str(), mode) == 0 ? 0 : fail();
}

int readdir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t, struct fuse_file_info *,
    enum fuse_readdir_flags)
{
    state().gate(Listings, path);
    DIR *dir = ::opendir(state().real(path).c_str());
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
    state().gate(Lookups, path);
    const int fd = ::open(state().real(path).c_str(), file->flags);
    if (fd < 0)
        return fail();
    file->fh = uint64_t(fd);
    return 0;
}

int create(const char *path, mode_t mode, struct fuse_file_info *file)
{
    state().gate(Writes, path);
    const int fd = ::open(state().real(path).c_str(), file->flags, mode);
    if (fd < 0)
        return fail();
    file->fh = uint64_t(fd);
    return 0;
}

int read(const char *path, char *buffer, size_t size, off_t offset, struct fuse_file_info *file)
{
    state().gate(Reads, path);
    const ssize_t got = ::pread(int(file->fh), buffer, size, offset);
    return got < 0 ? fail() : int(got);
}

int write(const char *path, const char *buffer, size_t size, off_t offset, struct fuse_file_info *file)
{
    state().gate(Writes, path);
    const ssize_t put = ::pwrite(int(file->fh), buffer, size, offset);
    return put < 0 ? fail() : int(put);
}

int fsync(const char *path, int, struct fuse_file_info *file)
{
    state().gate(Writes, path);
    return ::fsync(int(file->fh)) == 0 ? 0 : fail();
}

int release(const char *, struct fuse_file_info *file)
{
    ::close(int(file->fh));
    return 0;
}

int rename(const char *from, const char *to, unsigned int flags)
{
    state().gate(Renames, from);
    state().gate(Renames, to);
    const long done = ::syscall(SYS_renameat2, AT_FDCWD, state().real(from).c_str(), AT_FDCWD,
        state().real(to).c_str(), flags);
    return done == 0 ? 0 : fail();
}

int unlink(const char *path)
{
    state().gate(Writes, path);
    return ::unlink(state().real(path).c_str()) == 0 ? 0 : fail();
}

int mkdir(const char *path, mode_t mode)
{
    state().gate(Writes, path);
    return ::mkdir(state().real(path).c_str(), mode) == 0 ? 0 : fail();
}

int rmdir(const char *path)
{
    state().gate(Writes, path);
    return ::rmdir(state().real(path).c_str()) == 0 ? 0 : fail();
}

int chmod(const char *path, mode_t mode, struct fuse_file_info *)
{
    state().gate(Writes, path);
    return ::chmod(state().real(path).c_str(), mode) == 0 ? 0 : fail();
}

int truncate(const char *path, off_t size, struct fuse_file_info *)
{
    state().gate(Writes, path);
    return ::truncate(state().real(path).c_str(), size) == 0 ? 0 : fail();
}

int utimens(const char *path, const struct timespec times[2], struct fuse_file_info *)
{
    state().gate(Writes, path);
    return ::utimensat(AT_FDCWD, state().real(path).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : fail();
}

int statfs(const char *path, struct statvfs *status)
{
    return ::statvfs(state().real(path).c_str(), status) == 0 ? 0 : fail();
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

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cout << "failed: usage: ondasort-held-fs <backing folder> <mount point>" << std::endl;
        return 2;
    }
    g_state.backing = argv[1];
    const char *fuseArgv[] = {"ondasort-held", "-o", "fsname=ondasort-held,subtype=ondasort-held,default_permissions"};
    struct fuse_args args = FUSE_ARGS_INIT(3, const_cast<char **>(fuseArgv));
    const struct fuse_operations ops = operations();
    struct fuse *fuse = fuse_new(&args, &ops, sizeof ops, &g_state);
    if (!fuse) {
        std::cout << "failed: libfuse3 could not set up the file system" << std::endl;
        return 1;
    }
    if (fuse_mount(fuse, argv[2]) != 0) {
        std::cout << "failed: mounting a FUSE file system on " << argv[2] << " failed (it needs root)" << std::endl;
        return 1;
    }
    std::thread([fuse] {
        struct fuse_loop_config *config = fuse_loop_cfg_create();
        // Every held call takes a thread: there must always be another.
        fuse_loop_cfg_set_max_threads(config, 256);
        fuse_loop_mt(fuse, config);
        fuse_loop_cfg_destroy(config);
    }).detach();
    std::cout << "mounted" << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream order(line);
        std::string word;
        order >> word;
        std::unique_lock lock(g_state.mutex);
        if (word == "hold") {
            order >> g_state.heldCalls >> g_state.passing >> g_state.heldFolder;
        } else if (word == "release") {
            g_state.heldCalls = 0;
        } else if (word == "waiting") {
            std::cout << g_state.waiting << std::endl;
            continue;
        } else if (word == "quit") {
            break;
        }
        g_state.changed.notify_all();
        lock.unlock();
        std::cout << "ok" << std::endl;
    }
    {
        const std::lock_guard lock(g_state.mutex);
        g_state.heldCalls = 0;
        g_state.changed.notify_all();
    }
    // Ending the process closes the connection: whatever is still asked
    // fails at once instead of waiting.
    fuse_unmount(fuse);
    std::cout << "unmounted" << std::endl;
    ::_exit(0);
}
