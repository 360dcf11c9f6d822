// Fuzz target: arbitrary bytes as standard input, read by a sequence of word, name
// and number reads chosen by the first byte, into buffers of varied sizes, then
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
    for (int step = 0; step < 64 && !console_failed(); ++step) {
        if ((plan >> (step % 8)) & 1) {
            // Steps of one parity read names, which may stand in quotes.
            const bool name = step % 2 == 1;
            std::memset(word, 'z', sizeof word);
            std::size_t length = 0;
            WordRead got =
                name ? read_name(word, word_size, &length) : read_word(word, word_size, &length);
            if (got == word_none)
                continue;
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
            const bool plain = !name || std::strchr(word, '"') != nullptr;
            if (std::strpbrk(word, plain ? " \t\n\v\f\r" : "\n\r") != nullptr)
                std::abort();
        } else {
            std::int32_t value = 12345;
            read_number(value);
        }
    }
    // Once failed, reads change nothing.
    if (console_failed()) {
        std::int32_t value = 7;
        read_number(value);
        std::strcpy(word, "kept");
        std::size_t length = 4;
        if (value != 7 || read_word(word, sizeof word, &length) != word_none || length != 4 ||
            std::strcmp(word, "kept"))
            std::abort();
    }
    wait_for_enter(); // must return on any input
    return 0;
}
