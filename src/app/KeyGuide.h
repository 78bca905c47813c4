#pragma once
// The keys of the main window, as the key map window and `ondasort --help`
// list them: one table, so the two never disagree.
#include <QString>
#include <QStringList>

#include <vector>

namespace keyguide {

struct Entry
{
    QString keys;
    QString action;
};

// Every key the window acts on, in the order they are listed.
const std::vector<Entry> &entries();

// Where the keys act: which control must have the keyboard focus.
QStringList notes();

// The table as plain text for a terminal: keys in a column of their own,
// each line starting with indent and no wider than width columns (wide
// characters take two).
QString asText(const QString &indent, int width = 80);

// Columns a terminal gives the text: East Asian wide and full-width
// characters take two.
int displayWidth(const QString &text);

} // namespace keyguide
