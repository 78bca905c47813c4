// The profile text reader and writer. Any bytes parse; then one change (set
// a value, delete a key, replace a section) is made with names the writer
// accepts, and the text is read again from its bytes: the changed entries
// read back exactly as set, and every other entry reads back unchanged.
#include "FuzzCheck.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QHash>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

struct Name
{
    QByteArray section;
    QByteArray key;
};

QByteArray take(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string text = input.ConsumeRandomLengthString(maxLength);
    return QByteArray(text.data(), qsizetype(text.size()));
}

// Every entry of the text, as the reader sees it.
std::vector<std::pair<Name, std::optional<QByteArray>>> entriesOf(const ProfileText &text)
{
    std::vector<std::pair<Name, std::optional<QByteArray>>> all;
    for (const QByteArray &section : text.sections()) {
        for (const QByteArray &key : text.keys(section))
            all.push_back({{section, key}, text.rawValue(section, key)});
    }
    return all;
}

bool same(const QByteArray &a, const QByteArray &b)
{
    return ProfileText::sameName(ProfileText::trimmedName(a), ProfileText::trimmedName(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int mode = input.ConsumeIntegralInRange(0, 2);
    const QByteArray section = take(input, 24);
    const QByteArray key = take(input, 24);
    const QByteArray value = take(input, 64);
    const QByteArray second = take(input, 24);
    const QByteArray bytes = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

    const ProfileText before(bytes);
    const auto old = entriesOf(before);
    ProfileFile::cleanValue(before.rawValue(section, key).value_or(QByteArray()));
    ProfileFile::parseInteger(value);

    if (!ProfileChanges::validNames(section, key) || !ProfileChanges::validNames(section, second)
        || value.contains('\n') || value.contains('\r') || value.contains('\0'))
        return 0;

    ProfileText changed(bytes);
    std::vector<ProfileText::Entry> replacement;
    switch (mode) {
    case 0:
        changed.setValue(section, key, value);
        break;
    case 1:
        changed.removeKey(section, key);
        break;
    case 2:
        replacement = {{key, value}, {second, key}};
        changed.replaceSection(section, replacement);
        break;
    }
    const ProfileText after(changed.text());

    switch (mode) {
    case 0:
        FUZZ_CHECK(after.rawValue(section, key) == value);
        break;
    case 1:
        FUZZ_CHECK(!after.rawValue(section, key).has_value());
        break;
    case 2:
        FUZZ_CHECK(after.rawValue(section, key) == value);
        if (!same(key, second))
            FUZZ_CHECK(after.rawValue(section, second) == key);
        break;
    }
    for (const auto &[name, raw] : old) {
        if (same(name.section, section) && (mode == 2 || same(name.key, key)))
            continue;
        FUZZ_CHECK(after.rawValue(name.section, name.key) == raw);
    }
    if (mode == 2) {
        // Nothing else is left in the replaced section.
        for (const QByteArray &name : after.keys(section))
            FUZZ_CHECK(same(name, key) || same(name, second));
    }
    return 0;
}
