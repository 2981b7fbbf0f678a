// ThemeState storage, with the values it holds before the first load.
#include "ThemeState.h"

#include <atomic>

extern "C" {
id bgColor = nullptr;
id darkerBgColor = nullptr;
id mainTextColor = nullptr;
id barColor = nullptr;
id tintColor = nullptr;
id textDrawingColor = nullptr;
id theme = nullptr;
}

namespace obscuro {

bool enabled = false;
bool enableDarkKeyboard = true;
bool useCustomColors = false;
bool noctisIntegration = false;
bool displayArtworkShadow = false;
bool useDarkPlaceholder = true;
bool colorFlowMusicEnabled = true;

namespace {

struct Retired {
    id object;
    Retired* next;
};

constinit std::atomic<unsigned> readingsInProgress{0};
constinit std::atomic<Retired*> retired{nullptr};

void pushRetired(Retired* first, Retired* last) {
    Retired* head = retired.load(std::memory_order_relaxed);
    do last->next = head;
    while (!retired.compare_exchange_weak(head, first, std::memory_order_release, std::memory_order_relaxed));
}

// Releases the retired objects when no reading is in progress after they were taken. A
// reading that had read an object before it was replaced counts as in progress until it ends,
// so finding none (in the single order of these sequentially consistent operations, after the
// replacement) means that no reading still holds any of them; a reading that begins later reads
// the replacement. When a reading began in between, the objects go back for a later try.
void releaseRetiredIfQuiet() {
    if (readingsInProgress.load() != 0) return;
    Retired* taken = retired.exchange(nullptr);
    if (!taken) return;
    if (readingsInProgress.load() != 0) {
        Retired* last = taken;
        while (last->next) last = last->next;
        pushRetired(taken, last);
        return;
    }
    while (taken) {
        Retired* next = taken->next;
        objc_release(taken->object);
        delete taken;
        taken = next;
    }
}

}  // namespace

void replaceMember(id& member, id value) {
    id previous = member;
    std::atomic_ref(member).store(objc_retain(value));
    if (!previous) return;
    if (readingsInProgress.load() == 0 && !retired.load(std::memory_order_relaxed)) {
        objc_release(previous);  // the common case: no reading could hold it
        return;
    }
    auto* node = new Retired{previous, nullptr};
    pushRetired(node, node);
    releaseRetiredIfQuiet();
}

void setFlag(bool& flag, bool value) { std::atomic_ref(flag).store(value, std::memory_order_relaxed); }

ThemeReading::ThemeReading() { readingsInProgress.fetch_add(1); }

ThemeReading::~ThemeReading() {
    if (readingsInProgress.fetch_sub(1) == 1) releaseRetiredIfQuiet();
}

id ThemeReading::colour(id& member) const { return std::atomic_ref(member).load(); }

bool ThemeReading::flag(bool& member) const { return std::atomic_ref(member).load(std::memory_order_relaxed); }

}  // namespace obscuro
