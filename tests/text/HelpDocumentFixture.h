// Where the help document comes from in a test: a resource directory made by the test (with
// or without "HELP.QXM") standing in for the library's own, and a scratch current directory
// that may hold a "Help.qxm" file.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "applet/Globals.h"

namespace text_test {

class HelpDocuments {
public:
    HelpDocuments() {
        previousModule_ = sph::moduleHandle;
        previousDirectory_ = std::filesystem::current_path();
        char pattern[] = "/tmp/spherolette-help-XXXXXX";
        if (mkdtemp(pattern) != nullptr) scratch_ = pattern;
        std::filesystem::current_path(scratch_);
        UseResources();
    }

    ~HelpDocuments() {
        std::filesystem::current_path(previousDirectory_);
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
        sph::moduleHandle = previousModule_;
    }

    HelpDocuments(const HelpDocuments&) = delete;
    HelpDocuments& operator=(const HelpDocuments&) = delete;

    // The module holds one unrelated resource, and "HELP.QXM" only when `help` is given.
    // A null `data` makes a resource that is found but cannot be locked.
    void UseResources(const std::string* help = nullptr, bool lockable = true) {
        if (help != nullptr) helpBytes_ = *help;
        entries_.clear();
        entries_.push_back({"P-DROPBUBBLE.WAV", 10, 1033, other_, sizeof other_});
        if (help != nullptr) {
            entries_.push_back({"HELP.QXM", 10, 1033,
                                lockable ? reinterpret_cast<const unsigned char*>(helpBytes_.data())
                                         : nullptr,
                                static_cast<uint32_t>(helpBytes_.size())});
        }
        directory_ = {1, static_cast<uint32_t>(entries_.size()), entries_.data(), 0, nullptr};
        sph::moduleHandle = &directory_;
    }
    void UseResource(const std::string& help) { UseResources(&help); }

    void WriteFile(const std::string& bytes, const char* name = "Help.qxm") {
        std::ofstream out(scratch_ / name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    HMODULE previousModule_ = nullptr;
    std::filesystem::path previousDirectory_;
    std::filesystem::path scratch_;
    std::string helpBytes_;
    const unsigned char other_[4] = {'R', 'I', 'F', 'F'};
    std::vector<host::ResourceEntry> entries_;
    host::ResourceDirectory directory_{};
};

}  // namespace text_test
