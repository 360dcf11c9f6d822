// Tests of the large blocks: aligned, zeroed, writable, and costing no more address
// space than their size, on either way of placing them.
#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

namespace
{

// The process's address space in bytes, where the system tells it (Linux); 0 elsewhere,
// Windows under Wine included, whose /proc is the emulator's own.
std::uint64_t address_space()
{
    std::uint64_t kib = 0;
#ifndef _WIN32
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word && word != "VmSize:") {
    }
    status >> kib;
#endif
    return kib * 1024;
}

TEST(MapLargeBlock, GivesAlignedZeroedBlocksAndTakesThemBack)
{
    for (bool unaligned : {false, true}) {
        set_unaligned_placement(unaligned);
        std::uint64_t before = address_space();
        void *blocks[3];
        for (void *&block : blocks) {
            block = map_large_block();
            ASSERT_NE(block, nullptr) << "unaligned " << unaligned;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kLargeBlockSize, 0u);
            const char *bytes = static_cast<const char *>(block);
            EXPECT_EQ(bytes[0] | bytes[kLargeBlockSize - 1], 0) << "unaligned " << unaligned;
            std::memset(block, 1, kLargeBlockSize);
        }
        if (before != 0) {
            EXPECT_EQ(address_space() - before, 3 * kLargeBlockSize) << "unaligned " << unaligned;
        }
        for (void *block : blocks)
            unmap_large_block(block);
        EXPECT_EQ(address_space(), before) << "unaligned " << unaligned;
    }
    set_unaligned_placement(false);
}

} // namespace
