#pragma once
// Where a history combo box keeps its entries: one section of an INI file,
// or one subkey of a key in the per-user registry, each holding
// "HistoryCount" and the entries "History0", "History1", ..., top entry
// first.
//
// Storing replaces the whole section in one step (one rewrite of the file,
// one write of the registry), so a failure never leaves the count and the
// entries out of step and older entries never survive a shorter history.
// Loading reads a count that is not a number as 0 and skips numbered entries
// that are missing. An empty section name, or a key path of nothing but
// separators, would name a whole file or the registry's root: such a store
// is refused and nothing is touched.
#include <QByteArray>
#include <QString>
#include <QStringList>

class QSettings;

namespace history {

// The INI file a name stands for: ".ini" is appended when the name has no
// extension, and the executable's folder put in front when the name has no
// folder part at all.
QByteArray resolveFileName(const QByteArray &name, const QByteArray &executableDirectory);

// Each returns false when nothing was stored; *error then says why.
bool saveToFile(const QByteArray &path, const QString &section, const QStringList &entries,
    QString *error);
bool saveToRegistry(QSettings &registry, const QString &keyPath, const QString &section,
    const QStringList &entries, QString *error);

// The stored entries in their order; none when nothing usable is stored.
QStringList loadFromFile(const QByteArray &path, const QString &section);
QStringList loadFromRegistry(QSettings &registry, const QString &keyPath, const QString &section);

} // namespace history
