#pragma once
// A file system that kills its own process, as kill -9 would, once writes
// have taken a given number of bytes: for leaving behind what a killed copy
// leaves. Use it in a forked child.
#include "support/FaultyFileSystem.h"

#include <csignal>

struct KillingFileSystem : FaultyFileSystem
{
    qint64 bytesBeforeKill = 0;

    ssize_t write(int fd, const void *buffer, size_t size) override
    {
        if (qint64(size) >= bytesBeforeKill)
            ::raise(SIGKILL);
        bytesBeforeKill -= qint64(size);
        return FaultyFileSystem::write(fd, buffer, size);
    }
};
