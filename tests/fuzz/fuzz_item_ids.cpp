// Item identifier lists: splitting and decoding never read past the bytes,
// and a list that splits is rebuilt byte for byte from its elements.
#include "FuzzCheck.h"
#include "namespace/ItemIdList.h"

#include <cstdint>

using namespace shellns;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the input's size, so reading past it is caught.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayView list(bytes);
    const qsizetype first = firstItemIdSize(list);
    FUZZ_CHECK(first >= -1 && first <= list.size());
    decodeItemId(list);

    const auto elements = splitItemIds(list);
    if (!elements)
        return 0;
    FUZZ_CHECK(first >= 0);
    ItemIdList rebuilt = emptyItemIdList();
    for (const ItemIdList &element : *elements) {
        FUZZ_CHECK(splitItemIds(element).has_value() && splitItemIds(element)->size() == 1);
        rebuilt = appendItemIds(rebuilt, element);
    }
    // The rebuilt list is the input up to and including its terminator.
    FUZZ_CHECK(list.startsWith(QByteArrayView(rebuilt)));
    FUZZ_CHECK(splitItemIds(rebuilt)->size() == elements->size());
    if (const auto id = decodeItemId(list)) {
        FUZZ_CHECK(!elements->empty());
        FUZZ_CHECK(makeItemId(id->kind, id->name) == appendItemIds(elements->front(), emptyItemIdList()));
    }
    return 0;
}
