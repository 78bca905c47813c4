#pragma once
// The folder picker behind a browse button: Qt's own directories-only file
// dialog (not the desktop's, so it speaks Japanese like the rest of the
// window whatever the desktop's language), its modification dates written
// the Japanese way ("2024/03/05 9:07") instead of in the system locale's
// format.
#include <QString>

class QDateTime;
class QWidget;

namespace folderpicker {

// Asks for a folder, starting at `start`; "" when the user cancels.
QString pick(QWidget *owner, const QString &title, const QString &start);

// The text of a modification date in the picker.
QString dateText(const QDateTime &time);

} // namespace folderpicker
