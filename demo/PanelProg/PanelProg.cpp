// Stand-in for the firmware updater: says what it would flash and flashes
// nothing. The last argument is the switch, all before it are images.
//
// With TPFW_UPDATER_LOG set, each run also appends one record of the
// arguments it got to that file: their count in decimal, then every argument,
// each followed by a NUL byte, so a test can compare them byte for byte.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void appendRecord(const char *logPath, int count, char *arguments[])
{
    std::string record = std::to_string(count) + '\0';
    for (int i = 0; i < count; ++i)
        record += std::string(arguments[i]) + '\0';
    std::ofstream(logPath, std::ios::binary | std::ios::app) << record;
}

// Prints what became of one image; true when it could be flashed.
bool reportImage(const char *path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path)) {
        std::cout << path << ": missing\n";
        return false;
    }
    std::cout << path << ": " << std::filesystem::file_size(path, error) << " bytes\n";
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const char *logPath = std::getenv("TPFW_UPDATER_LOG"))
        appendRecord(logPath, argc - 1, argv + 1);
    if (argc < 2) {
        std::cerr << "usage: PanelProg IMAGE... SWITCH\n";
        return 2;
    }
    const int images = argc - 2;
    bool allFound = true;
    for (int i = 1; i <= images; ++i)
        allFound = reportImage(argv[i]) && allFound;
    std::cout << "switch: " << argv[argc - 1] << '\n'
              << "PanelProg stand-in: would flash " << images << " image(s); no panel was touched\n";
    return allFound ? 0 : 1;
}
