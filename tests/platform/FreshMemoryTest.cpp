// Preparing a block for writing must leave what it already holds, and what
// lies around it on the same pages, exactly as it was.
#include "platform/FreshMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

TEST(FreshMemory, PreparedBlocksKeepTheirBytesAndTheirNeighbours)
{
    struct Case
    {
        std::size_t offset; // from the start of the allocation, so blocks start mid-page
        std::size_t size;
    };
    const std::vector<Case> cases{
        {0, 1 << 20},       // a big block
        {13, (1 << 20) + 7}, // starting and ending mid-page
        {100, 1000},        // too small to be worth a call
        {0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " size " << c.size);
        const std::size_t total = c.offset + c.size + 8192;
        std::vector<std::uint8_t> bytes(total);
        for (std::size_t i = 0; i < total; ++i)
            bytes[i] = std::uint8_t(i * 31 + 7);
        const std::vector<std::uint8_t> before = bytes;
        freshmemory::prepareForWriting(bytes.data() + c.offset, c.size);
        EXPECT_EQ(bytes, before);
    }
    // Memory never written reads as zero afterwards too.
    const std::size_t size = 4 << 20;
    std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[size]());
    freshmemory::prepareForWriting(fresh.get(), size);
    for (std::size_t i = 0; i < size; i += 4096)
        ASSERT_EQ(fresh[i], 0) << i;
    freshmemory::prepareForWriting(nullptr, size);
}
