#include "controls/HistoryStore.h"

#include "platform/Paths.h"
#include "settings/ProfileFile.h"
#include "settings/UserRegistry.h"

#include <QSettings>
#include <QStringDecoder>

#include <map>
#include <optional>

namespace history {

namespace {

const QByteArray kCountKey = QByteArrayLiteral("HistoryCount");
const QByteArray kEntryPrefix = QByteArrayLiteral("History");

QByteArray entryKey(qsizetype index)
{
    return kEntryPrefix + QByteArray::number(index);
}

// The index an entry name stands for ("History" in any letter case, then
// a decimal number without leading zeros).
std::optional<int> entryIndex(QByteArrayView key)
{
    if (key.size() <= kEntryPrefix.size()
        || QByteArrayView(key.first(kEntryPrefix.size())).compare(kEntryPrefix, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArrayView digits = key.sliced(kEntryPrefix.size());
    if (digits.size() > 1 && digits.front() == '0')
        return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    bool ok = false;
    const int index = digits.toInt(&ok);
    return ok ? std::optional<int>(index) : std::nullopt;
}

// Entries below `count` in index order, read through `valueOf`. Only the
// names present are visited, so a huge count costs nothing.
template<typename ValueOf>
QStringList entriesBelow(int count, const QList<QByteArray> &names, ValueOf valueOf)
{
    std::map<int, QByteArray> byIndex;
    for (const QByteArray &name : names) {
        const std::optional<int> index = entryIndex(name);
        if (index && *index < count && !byIndex.count(*index))
            byIndex.emplace(*index, name);
    }
    QStringList entries;
    for (const auto &[index, name] : byIndex)
        entries << valueOf(name);
    return entries;
}

// An entry is one line of text: the store cannot hold a line break.
QByteArray storedText(const QString &entry)
{
    QByteArray bytes = entry.toUtf8();
    const qsizetype end = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    const qsizetype cut = end < 0 ? cr : (cr < 0 ? end : std::min(end, cr));
    if (cut >= 0)
        bytes.truncate(cut);
    return bytes;
}

// The longest start of `bytes` no longer than `limit` that ends on a whole
// UTF-8 character, so a cut entry never ends in half a character.
QByteArray wholeCharactersWithin(const QByteArray &bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return bytes;
    qsizetype cut = limit;
    while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
        --cut;
    return bytes.left(cut);
}

// A stored value that fills the file's cap was perhaps cut inside a
// character by another writer: such a partial UTF-8 character is dropped.
// Text in any other encoding is left as it is.
QByteArray withoutPartialCharacter(const QByteArray &bytes)
{
    if (bytes.size() < ProfileFile::kMaxValueLength)
        return bytes;
    qsizetype lead = bytes.size() - 1;
    while (lead > 0 && bytes.size() - lead < 4 && (uchar(bytes.at(lead)) & 0xC0) == 0x80)
        --lead;
    const uchar first = uchar(bytes.at(lead));
    const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    if (bytes.size() - lead >= length)
        return bytes;
    const QByteArray whole = bytes.left(lead);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    utf8.decode(whole);
    return utf8.hasError() ? bytes : whole;
}

QString refusedName()
{
    return QStringLiteral("履歴の保存先の名前がありません");
}

} // namespace

QByteArray resolveFileName(const QByteArray &name, const QByteArray &executableDirectory)
{
    QByteArray file = name;
    if (!paths::lastComponent(file).contains('.'))
        file += ".ini";
    if (!file.contains('/'))
        file = paths::join(executableDirectory, file);
    return file;
}

bool saveToFile(const QByteArray &path, const QString &section, const QStringList &entries,
    QString *error)
{
    if (section.trimmed().isEmpty()) {
        *error = refusedName();
        return false;
    }
    std::vector<ProfileChanges::Entry> values;
    values.reserve(size_t(entries.size()) + 1);
    values.emplace_back(kCountKey, QByteArray::number(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        values.emplace_back(entryKey(i), wholeCharactersWithin(storedText(entries[i]), ProfileFile::kMaxValueLength));

    ProfileFile file(path);
    if (!file.write(ProfileChanges().replaceSection(section.toUtf8(), std::move(values)))) {
        *error = QStringLiteral("%1 に書き込めません").arg(paths::toDisplay(path));
        return false;
    }
    return true;
}

QStringList loadFromFile(const QByteArray &path, const QString &section)
{
    if (section.trimmed().isEmpty())
        return {};
    const QByteArray name = section.toUtf8();
    const ProfileSnapshot snapshot = ProfileFile(path).snapshot();
    const int count = snapshot.readInteger(name, kCountKey, 0);
    return entriesBelow(count, snapshot.keys(name), [&](const QByteArray &key) {
        return paths::toDisplay(withoutPartialCharacter(snapshot.readString(name, key)));
    });
}

namespace {

// The group of a control's subkey, or "" when either name is unusable.
QString registryGroup(const QString &keyPath, const QString &section)
{
    const QString key = registry::groupPath(keyPath);
    const QString sub = registry::groupPath(section);
    if (key.isEmpty() || sub.isEmpty())
        return QString();
    return key + QLatin1Char('/') + sub;
}

} // namespace

bool saveToRegistry(QSettings &registry, const QString &keyPath, const QString &section,
    const QStringList &entries, QString *error)
{
    const QString group = registryGroup(keyPath, section);
    if (group.isEmpty()) {
        *error = refusedName();
        return false;
    }
    registry.remove(group);
    registry.beginGroup(group);
    registry.setValue(QString::fromLatin1(kCountKey), int(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        registry.setValue(QString::fromLatin1(entryKey(i)), QString::fromUtf8(storedText(entries[i])));
    registry.endGroup();
    registry.sync();
    if (registry.status() != QSettings::NoError) {
        *error = QStringLiteral("%1 に書き込めません").arg(registry.fileName());
        return false;
    }
    return true;
}

QStringList loadFromRegistry(QSettings &registry, const QString &keyPath, const QString &section)
{
    const QString group = registryGroup(keyPath, section);
    if (group.isEmpty())
        return {};
    registry.beginGroup(group);
    // Names match without regard to letter case, as in the registry.
    QList<QByteArray> names;
    std::map<QByteArray, QString> keyOf;
    int count = 0;
    for (const QString &key : registry.childKeys()) {
        const QByteArray name = key.toUtf8();
        if (name.compare(kCountKey, Qt::CaseInsensitive) == 0) {
            count = ProfileFile::parseInteger(registry.value(key).toString().trimmed().toUtf8()).value_or(0);
            continue;
        }
        names << name;
        keyOf.emplace(name, key);
    }
    const QStringList entries = entriesBelow(count, names, [&](const QByteArray &name) {
        return registry.value(keyOf[name]).toString();
    });
    registry.endGroup();
    return entries;
}

} // namespace history
