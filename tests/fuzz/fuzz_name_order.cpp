// The order of names in a folder: over any bytes split into several names,
// it is a strict total order (irreflexive, antisymmetric, transitive, 0 only
// for equal bytes), and for names a file system can hold (no zero byte) the
// sort keys order exactly as the comparison does.
#include "FuzzCheck.h"
#include "namespace/linux/NaturalOrder.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::vector<QByteArray> names;
    while (names.size() < 4 && input.remaining_bytes() > 0) {
        const std::string name = input.ConsumeRandomLengthString(64);
        names.emplace_back(name.data(), qsizetype(name.size()));
    }
    const size_t count = names.size();
    int order[4][4] = {};
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = 0; j < count; ++j)
            order[i][j] = sign(shellns::naturalCompare(names[i], names[j]));
    }
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = 0; j < count; ++j) {
            FUZZ_CHECK(order[i][j] == -order[j][i]);
            FUZZ_CHECK((order[i][j] == 0) == (names[i] == names[j]));
            for (size_t k = 0; k < count; ++k) {
                if (order[i][j] < 0 && order[j][k] < 0)
                    FUZZ_CHECK(order[i][k] < 0);
            }
            if (!names[i].contains('\0') && !names[j].contains('\0')) {
                const int byKey = shellns::naturalSortKey(names[i]).compare(shellns::naturalSortKey(names[j]));
                FUZZ_CHECK(sign(byKey) == order[i][j]);
            }
        }
    }
    return 0;
}
