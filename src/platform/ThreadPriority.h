#pragma once
// Work in the background yields to the player and the window: the calling
// thread (only it, not the whole process) gets a lower scheduling priority.
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

inline void lowerThreadPriority(int niceness = 10)
{
    ::setpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)), niceness);
}
