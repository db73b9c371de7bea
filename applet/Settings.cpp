// Keys, formats and the placing rule of the stored high-score table.
#include "applet/Settings.h"

#include <cctype>
#include <cstdio>

namespace sph::settings {

namespace {

struct DefaultRow {
    const char* score;
};
constexpr DefaultRow kDefaultScores[kRanks] = {{"16000"}, {"8000"}, {"4000"}, {"2000"}, {"1000"}};

}  // namespace

Key NameKey(int rank) {
    Key key{};
    std::snprintf(key.text, sizeof key.text, "Score%dName", rank);
    return key;
}

Key ScoreKey(int rank) {
    Key key{};
    std::snprintf(key.text, sizeof key.text, "Score%dScore", rank);
    return key;
}

int32_t ParseLeadingInt(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate as a negative number so that INT32_MIN is reachable without overflow.
    int64_t value = 0;
    constexpr int64_t kLimit = static_cast<int64_t>(INT32_MAX) + 1;
    while (*p >= '0' && *p <= '9') {
        if (value < kLimit) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) return value >= kLimit ? INT32_MIN : static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

void SeedDefaultTable(host::SettingsStore* store) {
    char value[kValueCapacity];
    if (store->ReadString(NameKey(1).text, value) != host::kSettingsKeyAbsent) return;
    for (int rank = 1; rank <= kRanks; ++rank) {
        store->WriteString(NameKey(rank).text, kDefaultHolder);
        store->WriteString(ScoreKey(rank).text, kDefaultScores[rank - 1].score);
    }
}

bool ReadAnimatedBubbles(host::SettingsStore* store) {
    char value[kValueCapacity] = {};
    if (store->ReadString(kUseAnimatedBubbles, value) == host::kSettingsKeyAbsent) return true;
    return value[0] == '1';
}

int FindRank(host::SettingsStore* store, int32_t score) {
    for (int rank = 1; rank <= kRanks; ++rank) {
        char value[kValueCapacity] = {};
        store->ReadString(ScoreKey(rank).text, value);
        if (ParseLeadingInt(value) <= score) return rank;
    }
    return 0;
}

void ShiftRowsDown(host::SettingsStore* store, int rank) {
    for (int from = kRanks - 1; from >= rank; --from) {
        char name[kValueCapacity] = {};
        char score[kValueCapacity] = {};
        store->ReadString(NameKey(from).text, name);
        store->ReadString(ScoreKey(from).text, score);
        store->WriteString(NameKey(from + 1).text, name);
        store->WriteString(ScoreKey(from + 1).text, score);
    }
}

void WriteRow(host::SettingsStore* store, int rank, const char* name, int32_t score) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", score);
    store->WriteString(NameKey(rank).text, name);
    store->WriteString(ScoreKey(rank).text, text);
}

}  // namespace sph::settings
