#pragma once
// How a file list view arranges its items.
#include <QMetaType>

enum TViewStyle { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };
Q_DECLARE_METATYPE(TViewStyle)
