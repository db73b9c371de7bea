// Helpers for comparing recorded host calls without the ledger ids, which differ between runs.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "tests/support/TestHost.h"

namespace applettest {

// "Factory.Subscribe(ShellFrame#5,16,*,*)" becomes "Factory.Subscribe(ShellFrame,16,*,*)".
inline std::string WithoutIds(const testhost::Call& call) {
    static const std::regex kId("#[0-9]+");
    return std::regex_replace(call.Text(), kId, "");
}

inline std::vector<std::string> WithoutIds(const std::vector<testhost::Call>& calls, size_t from,
                                           size_t to) {
    std::vector<std::string> texts;
    for (size_t i = from; i < to && i < calls.size(); ++i) texts.push_back(WithoutIds(calls[i]));
    return texts;
}

// The ledger label of the object a call was made on.
inline std::string LabelOf(testhost::TestHost& host, const testhost::Call& call) {
    const auto& entries = host.GetLedger().Entries();
    auto it = entries.find(call.objectId);
    return it == entries.end() ? std::string() : it->second.label;
}

}  // namespace applettest
