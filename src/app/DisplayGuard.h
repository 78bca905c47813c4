#pragma once
// Starting without a display. Qt ends the program with abort() (a core dump
// and an English message) when it cannot open one; while a DisplayGuard
// lives, that failure instead prints a Japanese message on standard error
// and ends the program with status 1. Qt's other messages of that time are
// held back and passed on when the guard goes.
//
// One guard at a time, around the construction of the application object.
#include <QByteArrayList>
#include <QString>

class DisplayGuard
{
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // Whether there is a display to try: a platform named on the command
    // line (-platform) or in QT_QPA_PLATFORM, or DISPLAY or WAYLAND_DISPLAY set.
    static bool displayToTry(const QByteArrayList &arguments);

    // What the user reads when no window can be opened, naming the display
    // that was tried.
    static QString failureMessage();
};
