// Writes the high-score table through SettingsFile over and over until it is killed. Every
// table it writes is one "generation": all ten values name the same generation number, so a
// reader can tell a whole table from a mix of two. It carries on from the generation on disk.
#include "shell/settings/SettingsFile.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SETTINGS-FILE\n", argv[0]);
        return 2;
    }
    shell::SettingsFile file(argv[1], [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
    });
    // Tell the test the writing loop is about to start, so its kills land among the writes
    // rather than in process start-up.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    long generation = 0;
    if (auto stored = file.Get("Score1Score")) generation = std::stol(*stored) / 10;
    for (;;) {
        ++generation;
        shell::SettingsEntries table;
        for (int rank = 1; rank <= 5; ++rank) {
            table.emplace_back("Score" + std::to_string(rank) + "Name",
                               "Gen" + std::to_string(generation));
            table.emplace_back("Score" + std::to_string(rank) + "Score",
                               std::to_string(generation * 10 + (5 - rank)));
        }
        if (!file.SetMany(table)) return 1;
    }
}
