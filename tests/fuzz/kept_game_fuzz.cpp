// Fuzzes the reader of kept games (and so of every recorded game): any bytes are either read
// or refused with a reason; what is read has its times in order and in range, and its header
// written out again reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/session/ResumeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    shell::Replay record;
    std::string why;
    if (!shell::ReadKeptGame(text, "Spherolette", "1", &record, &why)) {
        if (why.empty()) std::abort();
        // Recordings are read by the same parser with fewer demands.
        shell::Replay any;
        if (!shell::ParseReplay(text, &any, &why) && why.empty()) std::abort();
        return 0;
    }
    int64_t last = 0;
    for (const shell::ReplayStep& step : record.steps) {
        if (step.time < last) std::abort();
        last = step.time;
    }
    // A kept game may hold no moves yet (it was set aside right after it began).
    if (!record.steps.empty() &&
        (!record.ended || record.end < last ||
         last - record.steps.front().time > shell::ResumeFile::kLongestPlayMs)) {
        std::abort();
    }
    shell::Replay again;
    if (!shell::ParseReplay(shell::ReplayHeaderText(record) + "end 0\n", &again, &why) ||
        again.game != record.game || again.version != record.version ||
        again.seed != record.seed || again.relaxed != record.relaxed ||
        again.symbols != record.symbols || again.settings != record.settings) {
        std::abort();
    }
    return 0;
}
