// The least a program must do to learn a folder's subfolders: open it and
// read it once. Started afresh for every measurement, like a program that
// opens the folder at its start; prints the time of that read, wall clock
// and processor time in nanoseconds, and the number of subfolders.
#include <cstdio>
#include <ctime>
#include <dirent.h>

namespace {

long long nanoseconds(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const long long wallStart = nanoseconds(CLOCK_MONOTONIC);
    const long long cpuStart = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    int folders = 0;
    DIR *dir = ::opendir(argv[1]);
    if (!dir)
        return 1;
    while (const dirent *entry = ::readdir(dir))
        folders += entry->d_type == DT_DIR && entry->d_name[0] != '.';
    ::closedir(dir);
    const long long cpu = nanoseconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    const long long wall = nanoseconds(CLOCK_MONOTONIC) - wallStart;
    std::printf("%lld %lld %d\n", wall, cpu, folders);
    return 0;
}
