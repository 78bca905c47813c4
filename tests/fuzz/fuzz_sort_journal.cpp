// The sort journal's reader, over any bytes (a journal torn by a crash, or
// edited by hand). What it reads is consistent (ids unique, nothing undone
// that is not done), and written back it reads back the same.
#include "FuzzCheck.h"
#include "sorting/SortJournal.h"

#include <QSet>

#include <cstdint>

using sortjournal::Entry;

namespace {

bool same(const Entry &a, const Entry &b)
{
    return a.id == b.id && a.kind == b.kind && a.source == b.source && a.target == b.target
        && a.replacedInTrash == b.replacedInTrash && a.size == b.size && a.mtimeNs == b.mtimeNs
        && a.done == b.done && a.undone == b.undone;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the input's size, so reading past it is caught.
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<Entry> entries = sortjournal::parse(text);
    QSet<qint64> ids;
    QByteArray written;
    for (const Entry &entry : entries) {
        FUZZ_CHECK(!ids.contains(entry.id));
        ids.insert(entry.id);
        FUZZ_CHECK(entry.done || !entry.undone);
        written += sortjournal::serialize(entry);
    }
    const std::vector<Entry> reread = sortjournal::parse(written);
    FUZZ_CHECK(reread.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(same(reread[i], entries[i]));
    return 0;
}
