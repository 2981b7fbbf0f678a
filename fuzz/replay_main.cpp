// Runs a fuzz target over saved inputs without libFuzzer: how the seeds and past crashes become tests.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The limits scripts/fuzz gives libFuzzer, so that an input that once cost too much memory or
// time fails here too.
constexpr long kRssLimitKilobytes = 2048L * 1024;
constexpr unsigned kSecondsPerInput = 60;

void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly the input's size, so that reads past its end are caught as they are by the fuzzer.
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), input.size());
    ::alarm(kSecondsPerInput);  // SIGALRM ends the program: the input took too long
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    ::alarm(0);
    struct rusage usage;
    if (::getrusage(RUSAGE_SELF, &usage) == 0 && usage.ru_maxrss > kRssLimitKilobytes) {
        std::fprintf(stderr, "%s: the program grew to %ld MB, over the limit of %ld MB\n", file.c_str(), usage.ru_maxrss / 1024,
                     kRssLimitKilobytes / 1024);
        std::exit(1);
    }
}

}  // namespace

// Every argument is an input file or a folder of them; a missing folder holds nothing.
int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path = argv[i];
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) replay(file), ++count;
        } else if (std::filesystem::is_regular_file(path, ec)) {
            replay(path), ++count;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
