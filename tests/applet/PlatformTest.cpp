// The Windows-named resource and file functions the help reader relies on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Win32.h"

namespace {

// ---- Resources -------------------------------------------------------------------------

const unsigned char kHelpBytes[] = "\"<b>Help</b>\"\r\n";
const unsigned char kTileBytes[] = {1, 2, 3, 4};
const host::ResourceEntry kEntries[] = {
    {"HELP.QXM", host::kResourceTypeRawData, host::kResourceLanguage, kHelpBytes,
     sizeof kHelpBytes - 1},
    {"P-IMG-BUBBLEBG", host::kResourceTypeRawData, host::kResourceLanguage, kTileBytes,
     sizeof kTileBytes},
    {"OTHER-TYPE", 3, host::kResourceLanguage, kTileBytes, sizeof kTileBytes},
};
const host::ResourceDirectory kDirectory = {host::kResourceDirectoryVersion, 3, kEntries, 0,
                                            nullptr};

TEST(PlatformResources, AreFoundByNameIgnoringCaseWithTheirBytes) {
    for (const char* name : {"Help.qxm", "HELP.QXM", "help.QXM"}) {
        HRSRC found = FindResourceA(&kDirectory, name, RT_RCDATA);
        ASSERT_EQ(found, &kEntries[0]) << name;
        HGLOBAL loaded = LoadResource(&kDirectory, found);
        const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
        EXPECT_EQ(SizeofResource(&kDirectory, found), sizeof kHelpBytes - 1);
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(std::memcmp(bytes, kHelpBytes, sizeof kHelpBytes - 1), 0);
    }
    EXPECT_EQ(FindResourceA(&kDirectory, "p-img-BubbleBG", RT_RCDATA), &kEntries[1]);
}

TEST(PlatformResources, ReportMissingNamesTypesAndModulesAsNull) {
    EXPECT_EQ(FindResourceA(&kDirectory, "Missing.qxm", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(&kDirectory, "HELP.QX", RT_RCDATA), nullptr);  // no prefix match
    EXPECT_EQ(FindResourceA(&kDirectory, "OTHER-TYPE", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "HELP.QXM", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(&kDirectory, nullptr, RT_RCDATA), nullptr);
    // The null chain the reader may follow after a failed lookup.
    EXPECT_EQ(LoadResource(&kDirectory, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(SizeofResource(&kDirectory, nullptr), 0u);
}

TEST(PlatformResources, ThisModuleCarriesTheHelpDocument) {
    HMODULE module = platform::ThisModule();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->version, host::kResourceDirectoryVersion);
    HRSRC help = FindResourceA(module, "Help.qxm", RT_RCDATA);
    if (help == nullptr) GTEST_SKIP() << "the resource directory is not generated yet";
    EXPECT_GT(SizeofResource(module, help), 0u);
}

// ---- Files -----------------------------------------------------------------------------

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = ::testing::TempDir() + "platform-files-XXXXXX";
        ASSERT_NE(mkdtemp(directory_.data()), nullptr);
        path_ = directory_ + "/help.qxm";
    }
    void TearDown() override {
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }
    void Write(const std::string& contents) {
        FILE* file = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }
    HANDLE Open(const std::string& name) {
        return CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::string directory_;
    std::string path_;
};

TEST_F(PlatformFiles, AMissingFileOrADirectoryCannotBeOpened) {
    EXPECT_EQ(Open(directory_ + "/absent.qxm"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(directory_), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
    DWORD done = 99;
    char buffer[4];
    EXPECT_EQ(ReadFile(INVALID_HANDLE_VALUE, buffer, sizeof buffer, &done, nullptr), FALSE);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(CloseHandle(INVALID_HANDLE_VALUE), FALSE);
}

TEST_F(PlatformFiles, AWholeFileIsSizedAndReadThenClosed) {
    std::string contents = "\"<s2>Help</s2>\"\r\n";
    contents.append(100000, 'x');  // more than one read's worth on most systems
    Write(contents);
    HANDLE file = Open(path_);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    DWORD high = 7;
    const DWORD size = GetFileSize(file, &high);
    EXPECT_EQ(size, contents.size());
    EXPECT_EQ(high, 0u);

    std::vector<char> buffer(size + 16, '\0');
    DWORD done = 0;
    EXPECT_EQ(ReadFile(file, buffer.data(), size, &done, nullptr), TRUE);
    EXPECT_EQ(done, size);
    EXPECT_EQ(std::string(buffer.data(), done), contents);

    // At the end of the file a read succeeds with nothing read.
    EXPECT_EQ(ReadFile(file, buffer.data(), 10, &done, nullptr), TRUE);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(CloseHandle(file), TRUE);
}

TEST_F(PlatformFiles, AnEmptyFileHasSizeZero) {
    Write("");
    HANDLE file = Open(path_);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    EXPECT_EQ(CloseHandle(file), TRUE);
}

}  // namespace
