// Fuzz target: the tweak loader's reading of filter plists in the DynamicLibraries folder.
#include "scratch_device.h"

#include <substrate/TweakLoader.h>

namespace {

constexpr const char* kFilters[] = {"/Library/MobileSubstrate/DynamicLibraries/Alpha.plist",
                                    "/Library/MobileSubstrate/DynamicLibraries/Beta.plist"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::scratchDevice();
    return 0;
}

// The input is up to two filter plists, separated by a fuzzing::kFileSeparator line. Neither
// has a library beside it, so a filter that matches ends as a load failure.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parts = fuzzing::splitFiles({reinterpret_cast<const char*>(data), size});
    for (std::size_t i = 0; i < std::size(kFilters); ++i) fuzzing::placePart(kFilters[i], parts, i);
    platform::TweakLoadReport report = platform::loadTweaks("com.apple.Music", "Music");
    if (report.entries.size() != std::min(parts.size(), std::size(kFilters))) fuzzing::broken("every filter plist is reported");
    for (const auto& entry : report.entries) {
        using Outcome = platform::TweakLoadEntry::Outcome;
        if (entry.outcome == Outcome::Loaded) fuzzing::broken("no library is there to load");
        if (entry.outcome != Outcome::NotForThisHost && entry.detail.empty()) fuzzing::broken("a skipped tweak says why");
    }
    return 0;
}
