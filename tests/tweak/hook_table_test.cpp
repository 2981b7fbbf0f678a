// The HookTable: numbered in order, complete in the Music app, and the library it ships in starts only from its constructor.
#include "HookTable.h"
#include "tweak_fixture.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace obscuro::testing {
namespace {

TEST(HookTable, IsNumberedInInstallationOrder) {
    auto table = hookTable();
    ASSERT_EQ(table.size(), kHookCount);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].number, i + 1);
        EXPECT_NE(table[i].replacement, nullptr) << table[i].className << " " << table[i].selector;
    }
}

TEST(HookTable, InstallsEveryEntryInTheMusicApp) {
    installHooksOnce();
    std::size_t installed = 0;
    for (const HookEntry& entry : hookTable()) {
        EXPECT_TRUE(hookInstalled[entry.number]) << entry.number << " " << entry.className << " " << entry.selector;
        EXPECT_NE(savedImplementations[entry.number], nullptr) << entry.className << " " << entry.selector;
        installed += hookInstalled[entry.number];
    }
    EXPECT_EQ(installed, kHookCount);
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
