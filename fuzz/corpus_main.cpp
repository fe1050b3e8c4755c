#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// Replays every file of the seed corpus through the fuzz target, so that its
// oracles run with the ordinary tests, without libFuzzer.
int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS_DIRECTORY\n";
        return 2;
    }
    std::size_t seeds = 0;
    for (const auto &entry : std::filesystem::directory_iterator(argv[1])) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        ++seeds;
    }
    if (seeds == 0) {
        std::cerr << "no seeds in " << argv[1] << '\n';
        return 1;
    }
    std::cout << seeds << " seeds passed\n";
    return 0;
}
