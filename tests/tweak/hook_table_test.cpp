// The HookTable: numbered in order, complete in the Music app, counted per entry, and the library it ships in starts only from its constructor.
#include "HookTable.h"
#include "tweak_fixture.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

extern "C" const char* ObscuroDiagnostics(const char* request);

namespace obscuro::testing {
namespace {

TEST(HookTable, IsNumberedInInstallationOrderAndFoundByClassAndSelector) {
    auto table = hookTable();
    ASSERT_EQ(table.size(), kHookCount);
    std::set<IMP> replacements;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].number, i + 1);
        EXPECT_NE(table[i].replacement, nullptr) << table[i].className << " " << table[i].selector;
        replacements.insert(table[i].replacement);
        EXPECT_EQ(findHookEntry(table[i].className, table[i].selector), &table[i]);
    }
    EXPECT_EQ(replacements.size(), kHookCount) << "every entry has a replacement of its own, counting its own calls";
    EXPECT_EQ(findHookEntry("UIView", "setBackgroundColor:")->number, 67u);
    EXPECT_EQ(findHookEntry("UIImage", "imageNamed:inBundle:compatibleWithTraitCollection:")->side, Side::Class);
    EXPECT_EQ(findHookEntry("UIView", "layoutSubviews"), nullptr);
}

TEST(HookTable, InstallsEveryEntryInTheMusicApp) {
    installHooksOnce();
    EXPECT_TRUE(hookSlots.tableInstalled);
    std::size_t installed = 0;
    for (const HookEntry& entry : hookTable()) {
        EXPECT_TRUE(hookSlots.classPresent[entry.number]) << entry.number << " " << entry.className;
        EXPECT_TRUE(hookSlots.installed[entry.number]) << entry.number << " " << entry.className << " " << entry.selector;
        EXPECT_NE(savedImplementationOf(entry), nullptr) << entry.className << " " << entry.selector;
        installed += hookSlots.installed[entry.number];
    }
    EXPECT_EQ(installed, kHookCount);
}

class HookCallCountTest : public ThemeTest {
protected:
    nlohmann::json ask(const char* request) { return nlohmann::json::parse(ObscuroDiagnostics(request)); }
    std::uint64_t callsOf(const nlohmann::json& reply, const char* className, const char* selector) {
        const HookEntry* entry = findHookEntry(className, selector);
        const nlohmann::json& row = reply["calls"].at(entry->number - 1);
        EXPECT_EQ(row["class"], className);
        EXPECT_EQ(row["selector"], selector);
        return row["calls"].get<std::uint64_t>();
    }
};

// Counting wraps the replacement: it counts while the product is off too, and only the entry
// whose replacement ran, not the ones the message passes on the way.
TEST_F(HookCallCountTest, CountsEachEntrysReplacementAndResets) {
    ask("calls reset");
    id label = view("UILabel");
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0, 0));
    enabled = false;
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0, 0));
    msg<void>(view("UIView"), sel<"setBackgroundColor:">(), colour(1, 1, 1));

    nlohmann::json counted = ask("calls");
    ASSERT_EQ(counted["calls"].size(), kHookCount);
    EXPECT_EQ(counted["calls"][0]["entry"], 1);
    EXPECT_EQ(callsOf(counted, "UILabel", "setTextColor:"), 2u);
    EXPECT_EQ(callsOf(counted, "UITextView", "setTextColor:"), 0u);
    EXPECT_GE(callsOf(counted, "UIView", "setBackgroundColor:"), 1u);

    nlohmann::json taken = ask("calls reset");
    EXPECT_EQ(callsOf(taken, "UILabel", "setTextColor:"), 2u) << "a reset answers the counts it clears";
    EXPECT_EQ(callsOf(ask("calls"), "UILabel", "setTextColor:"), 0u);
}

TEST(Diagnostics, AnswersUnknownRequestsWithAnError) {
    nlohmann::json reply = nlohmann::json::parse(ObscuroDiagnostics("calls please"));
    EXPECT_TRUE(reply.contains("error"));
    EXPECT_TRUE(nlohmann::json::parse(ObscuroDiagnostics(nullptr)).contains("error"));
}

// Dynamic initialisers would run before the constructor decides anything; the library has none.
TEST(TweakLibrary, HasNoDynamicInitialisers) {
    std::string command = "nm " OBSCURO_TWEAK_LIBRARY " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string symbols;
    std::array<char, 4096> chunk;
    while (std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe.get())) symbols.append(chunk.data(), n);
    ASSERT_NE(symbols.find("obscuroConstructor"), std::string::npos) << symbols.substr(0, 200);
    EXPECT_EQ(symbols.find("_GLOBAL__sub_I_"), std::string::npos) << "a file of the tweak library has a dynamic initialiser";
}

}  // namespace
}  // namespace obscuro::testing
