#pragma once
// What a playlist reader may hand on: absolute local paths and network
// addresses of the allowed schemes, nothing else.
#include "FuzzCheck.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

inline bool allowedAddress(const QByteArray &address)
{
    if (address.startsWith('/'))
        return true;
    const qsizetype end = address.indexOf("://");
    if (end <= 0)
        return false;
    const QByteArray scheme = address.left(end).toLower();
    return scheme == "http" || scheme == "https" || scheme == "mms" || scheme == "mmsh" || scheme == "rtsp";
}

inline void checkEntries(const QList<QByteArrayList> &entries)
{
    for (const QByteArrayList &alternatives : entries) {
        FUZZ_CHECK(!alternatives.isEmpty());
        for (const QByteArray &address : alternatives)
            FUZZ_CHECK(allowedAddress(address));
    }
}
