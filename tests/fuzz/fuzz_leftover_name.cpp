// The names of temporary files, as the clean-up at start reads them from
// a folder anyone can write to. Any bytes: a name that parses is written
// back byte for byte from what was read. Fields taken from the input: the
// name made of them fits in a file name and reads back as those fields.
#include "FuzzCheck.h"
#include "platform/LeftoverName.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

using leftovers::Leftover;

namespace {

QByteArray take(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string text = input.ConsumeRandomLengthString(maxLength);
    return QByteArray(text.data(), qsizetype(text.size()));
}

void checkMadeNames(FuzzedDataProvider &input)
{
    struct stat source {};
    source.st_ino = input.ConsumeIntegral<ino_t>();
    source.st_mtim.tv_sec = input.ConsumeIntegral<time_t>();
    source.st_mtim.tv_nsec = input.ConsumeIntegralInRange<long>(0, 999999999);
    const quint32 salt = input.ConsumeIntegral<quint32>();
    // A path or a name as a file system has them: no zero byte.
    QByteArray path = take(input, 600).replace('\0', 'z');
    const QByteArray copyName = leftovers::copyName(source, path, salt);
    FUZZ_CHECK(copyName.size() <= 255);
    const std::optional<Leftover> copy = leftovers::parse(copyName);
    FUZZ_CHECK(copy.has_value() && copy->kind == Leftover::Kind::Copy);
    FUZZ_CHECK(leftovers::sameSource(*copy, source) && copy->salt == salt);
    FUZZ_CHECK(copy->path == path || (copy->path.isEmpty() && copy->digest == leftovers::digestOf(path)));

    QByteArray name = path.replace('/', 's');
    if (name.isEmpty() || name == "." || name == "..")
        return;
    const QByteArray rewriteName = leftovers::rewriteName(name, salt);
    FUZZ_CHECK(rewriteName.size() <= 255);
    const std::optional<Leftover> rewrite = leftovers::parse(rewriteName);
    FUZZ_CHECK(rewrite.has_value() && rewrite->kind == Leftover::Kind::Rewrite && rewrite->salt == salt);
    FUZZ_CHECK(rewrite->path == name || (rewrite->path.isEmpty() && rewrite->digest == leftovers::digestOf(name)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the input's size, so reading past it is caught.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<Leftover> leftover = leftovers::parse(QByteArrayView(bytes)))
        FUZZ_CHECK(leftovers::nameOf(*leftover) == bytes);

    FuzzedDataProvider input(data, size);
    checkMadeNames(input);
    return 0;
}
