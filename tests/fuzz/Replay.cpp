// Runs a fuzz target's entry function, built by the ordinary compiler without the fuzzer, over
// stored inputs: every file of its corpus folder and every crash reproducer named for it. A
// target aborts on a fault, so a reproducer that still fails ends the run with the file named.
//
// Usage: <target>_replay TARGET CORPUS_DIR CRASHES_DIR
//   CRASHES_DIR files are taken when their name starts with "TARGET-" (as the fuzz run names
//   them); dot files are skipped everywhere. The corpus must hold at least one input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// Regular files of `dir` whose names start with `prefix`, sorted so runs are repeatable.
std::vector<fs::path> FilesIn(const fs::path& dir, const std::string& prefix) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (it->is_regular_file(error)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    // Announced first: if the target aborts, the log names the input that did it.
    std::printf("replay %s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);
    // An exactly sized copy of an empty input still has an address the target may keep.
    static const uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TARGET CORPUS_DIR CRASHES_DIR\n", argv[0]);
        return 2;
    }
    const std::string target = argv[1];
    const fs::path corpus = argv[2];
    const fs::path crashes = argv[3];
    if (!fs::is_directory(corpus)) {
        std::fprintf(stderr, "no corpus folder %s\n", corpus.c_str());
        return 1;
    }
    const std::vector<fs::path> inputs = FilesIn(corpus, "");
    if (inputs.empty()) {
        std::fprintf(stderr, "the corpus %s holds no input\n", corpus.c_str());
        return 1;
    }
    const std::vector<fs::path> reproducers = FilesIn(crashes, target + "-");

    for (const auto* list : {&inputs, &reproducers}) {
        for (const fs::path& file : *list) {
            if (!Replay(file)) return 1;
        }
    }
    std::printf("%s: %zu corpus inputs and %zu crash reproducers replayed\n", target.c_str(),
                inputs.size(), reproducers.size());
    return 0;
}
