// Helpers shared by the unit tests.
#include "tests/test_support.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>

#include "app/console.h"
#include "app/startup.h"

namespace fs = std::filesystem;

std::string make_scratch_folder()
{
    static int serial = 0;
    fs::path base = fs::temp_directory_path() / "tamsel-tests";
    for (;;) {
        fs::path folder = base / (std::to_string(std::random_device{}()) + "-" + std::to_string(serial++));
        std::error_code error;
        if (fs::create_directories(folder, error))
            return folder.string();
    }
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

CapturedConsole::CapturedConsole(const std::string &input) : in(input)
{
    console_attach(in, out);
}

CapturedConsole::~CapturedConsole()
{
    console_attach(std::cin, std::cout);
}

std::string run_dialogue(const std::string &folder, const std::string &input)
{
    fs::path previous = fs::current_path();
    fs::current_path(folder);
    CapturedConsole console(input);
    run_program();
    fs::current_path(previous);
    return console.output();
}
