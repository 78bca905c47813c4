#pragma once
// One image of an icon list: where it came from and how many users hold it.
#include <QByteArray>

struct TFflIconRefs
{
    QByteArray location; // theme icon name, bitmap resource name, or "" for a system image
    int iconIndex = 0;
    int refCount = 0;
};
