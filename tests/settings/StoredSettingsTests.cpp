// The settings' logic over a storage held in memory, as a host without files runs it: refused
// writes, damaged and unreadable texts, and two writers sharing one text.
#include "shell/settings/StoredSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/settings/MemoryStorage.h"

namespace {

using shell::MemoryStorage;
using shell::MemoryText;
using shell::StoredSettings;

struct Opened {
    std::shared_ptr<MemoryText> held = std::make_shared<MemoryText>();
    std::vector<std::string> lines;
    std::unique_ptr<StoredSettings> Open() {
        return std::make_unique<StoredSettings>(
            std::make_unique<MemoryStorage>(held, "browser:settings"),
            [this](const std::string& line) { lines.push_back(line); });
    }
};

std::unique_ptr<StoredSettings> Reopen(std::shared_ptr<MemoryText> held) {
    return std::make_unique<StoredSettings>(std::make_unique<MemoryStorage>(held));
}

TEST(StoredSettings, ARefusedWriteIsLoggedOnceAndItsValuesLastTheSessionAndAreSavedLater) {
    Opened store;
    auto settings = store.Open();
    ASSERT_TRUE(settings->Set("Name", "Ann"));
    store.held->failWrites = true;
    EXPECT_FALSE(settings->Set("Score1", "500"));
    EXPECT_FALSE(settings->SetMany({{"Score2", "400"}, {"Name", "Bob"}}));
    EXPECT_EQ(store.lines.size(), 1u);
    EXPECT_NE(store.lines[0].find("browser:settings"), std::string::npos) << store.lines[0];
    EXPECT_NE(store.lines[0].find("no space left"), std::string::npos) << store.lines[0];
    EXPECT_EQ(settings->Get("Score1"), "500");
    EXPECT_EQ(settings->Get("Name"), "Bob");
    EXPECT_EQ(Reopen(store.held)->Get("Name"), "Ann");  // stored text unchanged
    EXPECT_TRUE(settings->Problem().empty());

    // Once the storage takes writes again, the next write saves what was held back too; a
    // later failure is worth a line again.
    store.held->failWrites = false;
    ASSERT_TRUE(settings->Set("Volume", "3"));
    auto again = Reopen(store.held);
    EXPECT_EQ(again->Get("Score1"), "500");
    EXPECT_EQ(again->Get("Score2"), "400");
    EXPECT_EQ(again->Get("Name"), "Bob");
    EXPECT_EQ(again->Get("Volume"), "3");
    store.held->failWrites = true;
    EXPECT_FALSE(settings->Set("Volume", "4"));
    EXPECT_EQ(store.lines.size(), 2u);
    EXPECT_FALSE(store.held->locked);  // no write keeps the lock
}

TEST(StoredSettings, ADamagedTextIsSetAsideOnceAndThePlayerToldOnce) {
    Opened store;
    store.held->text = "not settings at all\n";
    auto settings = store.Open();
    ASSERT_EQ(store.held->aside.size(), 1u);
    EXPECT_EQ(store.held->aside.begin()->second, "not settings at all\n");
    EXPECT_NE(settings->Problem().find(store.held->aside.begin()->first), std::string::npos)
        << settings->Problem();
    EXPECT_EQ(store.lines.size(), 1u);
    EXPECT_TRUE(settings->Values().empty());
    ASSERT_TRUE(settings->Set("Name", "Ann"));

    Opened next{store.held, {}};
    auto reopened = next.Open();
    EXPECT_EQ(reopened->Get("Name"), "Ann");
    EXPECT_TRUE(reopened->Problem().empty());
    EXPECT_TRUE(next.lines.empty());
    EXPECT_EQ(store.held->aside.size(), 1u);
}

TEST(StoredSettings, ATextThatCannotBeReadOrSetAsideIsNeverOverwritten) {
    for (const bool unreadable : {true, false}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "damaged, cannot be set aside");
        Opened store;
        store.held->text = unreadable ? "# spherolette settings 1\nName=Ann\n" : "garbage";
        store.held->failReads = unreadable;
        store.held->failAside = !unreadable;
        const std::string before = *store.held->text;
        auto settings = store.Open();
        EXPECT_FALSE(settings->Writable());
        EXPECT_NE(settings->Problem().find("left as it is"), std::string::npos);
        EXPECT_FALSE(settings->Set("Name", "Bob"));
        EXPECT_EQ(settings->Get("Name"), "Bob");  // for this session
        EXPECT_EQ(store.held->text, before);
        EXPECT_EQ(store.held->writes, 0);
    }
}

TEST(StoredSettings, TwoWritersOverOneTextKeepBothTheirKeys) {
    Opened store;
    auto first = store.Open();
    auto second = store.Open();
    ASSERT_TRUE(first->Set("A", "1"));
    ASSERT_TRUE(second->Set("B", "2"));
    ASSERT_TRUE(first->Set("A", "3"));
    auto read = store.Open();
    EXPECT_EQ(read->Get("A"), "3");
    EXPECT_EQ(read->Get("B"), "2");
}

}  // namespace
