// Ledger bookkeeping. Entries are never removed: a released object's record is what lets a
// second release be reported instead of touching freed memory.
#include "shell/core/Ledger.h"

namespace shell {

int Ledger::Register(const char* kind, std::string label, bool siteOwned) {
    LedgerEntry e;
    e.id = static_cast<int>(entries_.size()) + 1;
    e.kind = kind;
    e.label = std::move(label);
    e.siteOwned = siteOwned;
    entries_.push_back(std::move(e));
    return entries_.back().id;
}

void Ledger::HandOut(int id) {
    LedgerEntry& e = entries_.at(static_cast<size_t>(id - 1));
    ++e.references;
    ++e.handedOut;
}

bool Ledger::Release(int id) {
    LedgerEntry& e = entries_.at(static_cast<size_t>(id - 1));
    if (e.siteOwned || e.references <= 0) {
        ++e.overReleases;
        return false;
    }
    --e.references;
    return true;
}

std::vector<LedgerEntry> Ledger::Live() const {
    std::vector<LedgerEntry> out;
    for (const LedgerEntry& e : entries_) {
        if (!e.siteOwned && e.references > 0) out.push_back(e);
    }
    return out;
}

std::vector<LedgerEntry> Ledger::OverReleased() const {
    std::vector<LedgerEntry> out;
    for (const LedgerEntry& e : entries_) {
        if (e.overReleases > 0) out.push_back(e);
    }
    return out;
}

std::string Ledger::Report() const {
    std::string out;
    auto name = [](const LedgerEntry& e) {
        std::string s = std::string(e.kind) + "#" + std::to_string(e.id);
        if (!e.label.empty()) s += " (" + e.label + ")";
        return s;
    };
    for (const LedgerEntry& e : Live()) {
        out += "kept: " + name(e) + ", " + std::to_string(e.references) +
               (e.references == 1 ? " reference\n" : " references\n");
    }
    for (const LedgerEntry& e : OverReleased()) {
        out += (e.siteOwned ? "site object released: " : "released too often: ") + name(e) +
               ", " + std::to_string(e.overReleases) + " extra\n";
    }
    return out;
}

}  // namespace shell
