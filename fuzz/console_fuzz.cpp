// Fuzz target: arbitrary bytes as standard input, read by a sequence of name and
// number reads chosen by the first byte, into buffers of varied sizes, then
// the wait for Enter that ends a run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "console/console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned plan = data[0];
    const std::size_t word_size = 1 + data[1] % 40;
    std::istringstream in(std::string(reinterpret_cast<const char *>(data + 2), size - 2));
    std::ostringstream out;
    console_attach(in, out);
    char word[64];
    bool failed = false; // a read answered that it found nothing: the failed state is set
    for (int step = 0; step < 64; ++step) {
        if ((plan >> (step % 8)) & 1) {
            std::memset(word, 'z', sizeof word);
            std::size_t length = 0;
            WordRead got = read_name(word, word_size, &length);
            if (got == word_none) {
                failed = true;
                continue;
            }
            // Nothing is written past the buffer, a cut word fills it exactly, and
            // the stored text holds no white space (a typed NUL may end it early, and is
            // counted in the length).
            // A name holds no line end, and one with a quote in it was a plain
            // word and holds no space either.
            if (word[word_size] != 'z' || length >= word_size || word[length] != '\0' ||
                std::strlen(word) > length)
                std::abort();
            if (got == word_cut && word[word_size - 1] != '\0')
                std::abort();
            const bool plain = std::strchr(word, '"') != nullptr;
            if (std::strpbrk(word, plain ? " \t\n\v\f\r" : "\n\r") != nullptr)
                std::abort();
        } else {
            std::int32_t value = 12345;
            failed = !read_number(value) || failed;
        }
    }
    // Once failed, reads change nothing.
    if (failed) {
        std::int32_t value = 7;
        read_number(value);
        std::strcpy(word, "kept");
        std::size_t length = 4;
        if (value != 7 || read_name(word, sizeof word, &length) != word_none || length != 4 ||
            std::strcmp(word, "kept"))
            std::abort();
    }
    wait_for_enter(); // must return on any input
    return 0;
}
