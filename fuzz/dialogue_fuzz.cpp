// Fuzz target: the whole program in-process. The input is split into a save file
// and the typed answers; the run happens in a scratch folder inside a jail folder.
// Checked: every run returns normally, the save file's bytes are unchanged, and no
// file appears except the save file and reports named in the answers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/startup.h"
#include "console/console.h"

namespace fs = std::filesystem;

namespace
{

char g_jail[] = "/tmp/tamsel-fuzz-dialogue-XXXXXX";

// The jail goes when the run ends: every run of the fuzzer makes one.
void remove_jail()
{
    std::error_code ignored;
    fs::remove_all(g_jail, ignored);
}

fs::path make_jail()
{
    if (mkdtemp(g_jail) == nullptr)
        std::abort();
    std::atexit(remove_jail);
    return g_jail;
}

std::string read_all(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const fs::path jail = make_jail();
    static const fs::path scratch = jail / "work";
    if (size < 2)
        return 0;
    std::size_t save_length = (data[0] | (data[1] << 8)) % (size - 1);
    std::string save(reinterpret_cast<const char *>(data + 2), save_length);
    std::string typed(reinterpret_cast<const char *>(data + 2 + save_length),
                      size - 2 - save_length);
    // Names without a folder part keep every report inside the scratch folder.
    for (char &c : typed)
        if (c == '/' || c == '\\')
            c = '_';

    fs::remove_all(scratch);
    fs::create_directory(scratch);
    std::ofstream(scratch / "athena.txt", std::ios::binary) << save;

    fs::path previous = fs::current_path();
    fs::current_path(scratch);
    std::istringstream in(typed);
    std::ostringstream out;
    console_attach(in, out);
    run_program();
    fs::current_path(previous);

    if (read_all(scratch / "athena.txt") != save)
        std::abort();
    for (const auto &entry : fs::directory_iterator(jail))
        if (entry.path() != scratch)
            std::abort();
    for (const auto &entry : fs::directory_iterator(scratch)) {
        std::string name = entry.path().filename().string();
        if (name != "athena.txt" && typed.find(name) == std::string::npos)
            std::abort();
    }
    return 0;
}
