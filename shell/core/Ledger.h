// The ledger of every object the shell hands to the applet: how many references the applet
// holds and how often it gave one back. At exit it tells what was kept or released twice.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace shell {

struct LedgerEntry {
    int id = 0;
    const char* kind = "";
    std::string label;       // e.g. the picture name of a loaded image
    int references = 0;      // references the applet holds now
    int handedOut = 0;       // references ever given to the applet
    int overReleases = 0;    // Release() calls with no reference left to give back
    bool siteOwned = false;  // belongs to the site: the applet must never release it
};

class Ledger {
public:
    int Register(const char* kind, std::string label, bool siteOwned);
    void HandOut(int id);
    // Takes one reference back; false (and counted) when the applet held none.
    bool Release(int id);

    // Objects the applet still holds (site objects excluded).
    std::vector<LedgerEntry> Live() const;
    // Objects released more often than handed out, and site objects released at all.
    std::vector<LedgerEntry> OverReleased() const;
    bool Clean() const { return Live().empty() && OverReleased().empty(); }
    // One line per problem, e.g. "kept: Sprite#12 (p-img-Bubble3.gif), 1 reference".
    std::string Report() const;
    const LedgerEntry& Entry(int id) const { return entries_.at(static_cast<size_t>(id - 1)); }
    size_t Size() const { return entries_.size(); }

private:
    // index = id - 1; a deque, as a long session registers tens of thousands of objects (twenty
    // bot games: 36,000) and a vector would copy them all each time it grows
    std::deque<LedgerEntry> entries_;
};

}  // namespace shell
