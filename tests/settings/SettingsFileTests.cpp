// The settings file and its views: what the applet reads back, what survives on disk, and how
// broken files and failing disks are lived with.
#include "shell/settings/SettingsFile.h"

#include "SettingsTestUtil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <random>

using shell::SettingsFile;
using shell::SettingsMap;
using namespace settings_test;

namespace {

struct Logged {
    std::vector<std::string> lines;
    shell::SettingsLog Sink() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

bool HasCorruptCopy(const TempDir& dir, const std::string& bytes) {
    for (const std::string& name : dir.Names()) {
        if (name.rfind("settings.txt.corrupt-", 0) == 0 && ReadFile(dir.File(name)) == bytes) {
            return true;
        }
    }
    return false;
}

// Runs `body` where file permissions apply: as root, in a child that has dropped to an
// unprivileged user. `body` returns an empty string on success or what went wrong.
void RunUnprivileged(const std::function<std::string()>& body) {
    if (::geteuid() != 0) {
        std::string failure = body();
        EXPECT_EQ(failure, "");
        return;
    }
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        std::string failure = body();
        if (!failure.empty()) std::fprintf(stderr, "%s\n", failure.c_str());
        ::_exit(failure.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace

TEST(SettingsStore, ReadsWhatWasWrittenAfterReopening) {
    TempDir dir;
    std::string path = dir.File("settings.txt");
    std::string every;
    for (int b = 1; b < 256; ++b) every += char(b);
    {
        SettingsFile file(path);
        auto applet = file.View("Applet/");
        EXPECT_EQ(applet->WriteString("Score1Name", "Quorvex"), 0);
        EXPECT_TRUE(file.Set(every, every.substr(0, 200)));
    }
    SettingsFile again(path);
    EXPECT_EQ(again.Get("Applet/Score1Name"), "Quorvex");
    EXPECT_EQ(again.Get(every), every.substr(0, 200));
    EXPECT_EQ(again.Values().size(), 2u);
}

TEST(SettingsStore, ViewsReportAbsentKeysAndCutLongValues) {
    TempDir dir;
    SettingsFile file(dir.File("settings.txt"));
    auto applet = file.View("Applet/");
    auto shellOptions = file.View("Shell/");

    char out[300];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(applet->ReadString("Score1Name", out), host::kSettingsKeyAbsent);
    EXPECT_EQ(out[0], '#');  // untouched

    // Namespaces do not see each other's keys.
    ASSERT_EQ(shellOptions->WriteString("Score1Name", "shell"), 0);
    EXPECT_EQ(applet->ReadString("Score1Name", out), host::kSettingsKeyAbsent);
    EXPECT_EQ(file.Get("Shell/Score1Name"), "shell");

    std::string longValue(300, 'v');
    longValue[254] = 'L';
    ASSERT_EQ(applet->WriteString("Long", longValue.c_str()), 0);
    EXPECT_EQ(applet->ReadString("Long", out), 0);
    EXPECT_EQ(std::strlen(out), 255u);
    EXPECT_EQ(out[254], 'L');
    EXPECT_EQ(out[256], '#');  // nothing past the 256-byte capacity is written
    EXPECT_EQ(file.Get("Applet/Long"), longValue);  // the store itself keeps the whole value

    EXPECT_EQ(applet->WriteString("Empty", ""), 0);
    EXPECT_EQ(applet->ReadString("Empty", out), 0);
    EXPECT_STREQ(out, "");

    EXPECT_NE(applet->WriteString(nullptr, "x"), 0);
    EXPECT_EQ(applet->ReadString(nullptr, out), host::kSettingsKeyAbsent);

    int released = 0;
    applet->SetReleaseHook([&] { ++released; });
    applet->Release();
    EXPECT_EQ(released, 1);
}

TEST(SettingsStore, AnUnparseableFileIsKeptAsideAndTheStoreStartsEmpty) {
    std::mt19937 random(5);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = char(random());
    const std::string cases[] = {
        garbage,
        "# spherolette settings 1\nKey=" + std::string(1 << 20, 'x') + "\n",  // a 1 MB line
        "just some text\n",
    };
    for (const std::string& bytes : cases) {
        TempDir dir;
        std::string path = dir.File("settings.txt");
        WriteFile(path, bytes);
        Logged log;
        SettingsFile file(path, log.Sink());
        EXPECT_TRUE(file.Values().empty());
        EXPECT_EQ(log.lines.size(), 1u);
        EXPECT_TRUE(HasCorruptCopy(dir, bytes));
        // The player is told where the old file went, in words the window can show.
        EXPECT_NE(file.Problem().find(path + ".corrupt-"), std::string::npos) << file.Problem();
        // The game goes on and saves into a fresh file.
        EXPECT_TRUE(file.Set("A", "1"));
        EXPECT_EQ(SettingsFile(path).Get("A"), "1");
        EXPECT_TRUE(HasCorruptCopy(dir, bytes));
    }

    TempDir dir;
    WriteFile(dir.File("settings.txt"), "");
    Logged log;
    SettingsFile empty(dir.File("settings.txt"), log.Sink());
    EXPECT_TRUE(empty.Values().empty());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(empty.Problem().empty());
    EXPECT_EQ(dir.Names().size(), 1u);
}

TEST(SettingsStore, AFailingDiskKeepsValuesForTheSessionOnlyAndLogsOnce) {
    // A directory that does not exist.
    {
        TempDir dir;
        Logged log;
        SettingsFile file(dir.File("missing/settings.txt"), log.Sink());
        auto view = file.View("");
        EXPECT_NE(view->WriteString("A", "1"), 0);
        EXPECT_NE(view->WriteString("B", "2"), 0);
        char out[256] = "before";
        EXPECT_EQ(view->ReadString("A", out), 0);  // held for this session
        EXPECT_STREQ(out, "1");
        EXPECT_EQ(log.lines.size(), 1u);
        EXPECT_FALSE(SettingsFile(dir.File("missing/settings.txt")).Get("A").has_value());
    }
    // A read-only directory holding a good file.
    TempDir dir;
    std::string path = dir.File("settings.txt");
    ASSERT_TRUE(SettingsFile(path).Set("Score1Name", "Old"));
    ::chmod(path.c_str(), 0644);
    ::chmod(dir.Path().c_str(), 0555);
    RunUnprivileged([&]() -> std::string {
        Logged log;
        SettingsFile file(path, log.Sink());
        if (file.Get("Score1Name") != "Old") return "the stored value was not read";
        auto view = file.View("");
        for (int i = 0; i < 3; ++i) {
            if (view->WriteString("Score1Name", "New") == 0) return "a write reported success";
        }
        char out[256];
        if (view->ReadString("Score1Name", out) != 0 || std::string(out) != "New") {
            return "the session lost what the player did";
        }
        if (SettingsFile(path).Get("Score1Name") != "Old") return "the file was changed";
        if (log.lines.size() != 1) return "expected one log line, got " +
                                          std::to_string(log.lines.size());
        return "";
    });
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(SettingsFile(path).Get("Score1Name"), "Old");
}

TEST(SettingsStore, AFileThatCannotBeReadIsNeverOverwritten) {
    TempDir dir;
    std::string path = dir.File("settings.txt");
    ASSERT_TRUE(SettingsFile(path).Set("Keep", "me"));
    std::string before = ReadFile(path);
    ::chmod(path.c_str(), 0);
    ::chmod(dir.Path().c_str(), 0777);
    RunUnprivileged([&]() -> std::string {
        Logged log;
        SettingsFile file(path, log.Sink());
        if (!file.Values().empty() || file.Writable()) return "an unreadable file was trusted";
        if (file.Set("Other", "x")) return "a write replaced an unreadable file";
        if (file.Problem().find("will not be saved") == std::string::npos) return "the player is not told";
        return log.lines.empty() ? "nothing was logged" : "";
    });
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(ReadFile(path), before);
}

TEST(SettingsStore, TwoWritersOnOneFileKeepEachOthersKeys) {
    TempDir dir;
    std::string path = dir.File("settings.txt");
    SettingsFile first(path), second(path);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(first.Set("First", std::to_string(i)));
        ASSERT_TRUE(second.Set("Second", std::to_string(i)));
        ASSERT_TRUE(first.Set("Shared", "first"));
        ASSERT_TRUE(second.Set("Shared", "second"));
    }
    SettingsMap onDisk;
    std::string error;
    ASSERT_TRUE(shell::ParseSettings(ReadFile(path), &onDisk, &error)) << error;
    EXPECT_EQ(onDisk, (SettingsMap{{"First", "4"}, {"Second", "4"}, {"Shared", "second"}}));
    EXPECT_EQ(second.Values(), onDisk);  // a writer also picks up the other's keys
}

TEST(SettingsStore, ABatchIsStoredWholeOrRefusedWhole) {
    TempDir dir;
    std::string path = dir.File("settings.txt");
    Logged log;
    SettingsFile file(path, log.Sink());
    auto view = file.View("Applet/");
    ASSERT_TRUE(view->WriteMany({{"Score1Name", "A"}, {"Score1Score", "10"}}));
    EXPECT_EQ(SettingsFile(path).Get("Applet/Score1Score"), "10");

    std::string tooLong(shell::kSettingsMaxLineBytes, 'x');
    EXPECT_FALSE(view->WriteMany({{"Score1Name", "B"}, {"Score1Score", tooLong}}));
    EXPECT_EQ(file.Get("Applet/Score1Name"), "A");
    EXPECT_EQ(SettingsFile(path).Get("Applet/Score1Name"), "A");
    EXPECT_EQ(log.lines.size(), 1u);
    // No temporary files are left behind.
    for (const std::string& name : dir.Names()) {
        EXPECT_TRUE(name == "settings.txt" || name == "settings.txt.lock") << name;
    }
}
