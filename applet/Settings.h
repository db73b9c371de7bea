// The values the applet keeps in the shell's settings store: the top-five table, the name
// last entered for a high score and the animated-bubbles option. Nothing is cached: every
// reader asks the store at the moment it needs a value.
#pragma once

#include <cstdint>

#include "host/Services.h"

namespace sph::settings {

constexpr int kRanks = 5;
constexpr int kValueCapacity = host::kSettingsValueCapacity;  // every buffer a read fills
constexpr int kMaxNameLength = 20;

constexpr const char* kLastNameEntered = "LastNameEntered";
constexpr const char* kUseAnimatedBubbles = "UseAnimatedBubbles";
constexpr const char* kDefaultHolder = "Quorvex";

// A key formed from "Score%dName" or "Score%dScore" with the rank 1..5.
struct Key {
    char text[24];
};
Key NameKey(int rank);
Key ScoreKey(int rank);

// The leading-integer parse of stored scores: leading white space skipped, one optional
// sign, then decimal digits up to the first other character; no digits reads as 0.
// Values beyond the 32-bit range are held at its ends instead of wrapping.
int32_t ParseLeadingInt(const char* text);

// Writes the default table, one key at a time, when "Score1Name" is absent.
void SeedDefaultTable(host::SettingsStore* store);

// The option is on when the key is absent or its value starts with the digit 1.
bool ReadAnimatedBubbles(host::SettingsStore* store);

// The first rank 1..5 whose stored score is at most `score`, or 0 when none is.
int FindRank(host::SettingsStore* store, int32_t score);

// Moves rows kRanks-1 .. rank down by one place, lowest first, copying texts unchanged.
void ShiftRowsDown(host::SettingsStore* store, int rank);

// Writes `name` and the decimal text of `score` as the row of `rank`.
void WriteRow(host::SettingsStore* store, int rank, const char* name, int32_t score);

}  // namespace sph::settings
