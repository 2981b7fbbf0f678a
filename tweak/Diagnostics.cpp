// ObscuroDiagnostics: the library's one window for tools: its state, its hooks' call counts and the decisions its replacements make.
#include "Decision.h"
#include "HookTable.h"
#include "ThemeState.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace obscuro {

namespace {

// One decision as it was made. The objects are retained while recorded, so that a colour made
// for one call is still the same object when a tool asks about it.
struct RecordedDecision {
    std::size_t entry;
    id receiver;
    id given;
    Step step;
    id result;
};

struct DecisionLog {
    std::mutex lock;
    std::vector<RecordedDecision> decisions;
};

// Which decisions are recorded: only the backgrounds ("explain on", what scene tools read) or
// those of every entry ("explain all").
constinit std::atomic<bool> explainingEveryEntry{false};

// Function-local: the library has no initialiser but its constructor. Immortal, as is the
// reply: a tool's own static objects may report or ask while the process ends, after statics
// made later than theirs (these are made at first use) are gone.
DecisionLog& decisionLog() {
    static auto* log = new DecisionLog;
    return *log;
}

std::string& replyBuffer() {
    static auto* reply = new std::string;
    return *reply;
}

std::size_t backgroundEntry() {
    static const std::size_t entry = findHookEntry("UIView", "setBackgroundColor:")->number;
    return entry;
}

void recordDecision(std::size_t entry, id receiver, Step step, id given, id result) {
    if (!explainingEveryEntry.load(std::memory_order_relaxed) && entry != backgroundEntry()) return;
    DecisionLog& log = decisionLog();
    std::lock_guard guard(log.lock);
    log.decisions.push_back({entry, objc_retain(receiver), objc_retain(given), step, objc_retain(result)});
}

void appendStep(std::string& out, Step step) {
    if (step.minor == 0) {
        out += std::to_string(step.major);
        return;
    }
    out += '"' + std::to_string(step.major) + '.' + std::to_string(step.minor) + '"';
}

void appendPointer(std::string& out, id object) {
    if (!object) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "\"%p\"", static_cast<void*>(object));
    out += text;
}

// Class names of the table are identifiers, but a quote or a control character must not break the reply.
void appendString(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendFlag(std::string& out, const char* name, bool value, bool last = false) {
    appendString(out, name);
    out += value ? ": true" : ": false";
    if (!last) out += ", ";
}

std::string describeState() {
    std::string out = "{\"flags\": {";
    appendFlag(out, "enabled", enabled);
    appendFlag(out, "enableDarkKeyboard", enableDarkKeyboard);
    appendFlag(out, "useCustomColors", useCustomColors);
    appendFlag(out, "noctisIntegration", noctisIntegration);
    appendFlag(out, "displayArtworkShadow", displayArtworkShadow);
    appendFlag(out, "useDarkPlaceholder", useDarkPlaceholder);
    appendFlag(out, "colorFlowMusicEnabled", colorFlowMusicEnabled, true);

    std::size_t installed = 0;
    for (const HookEntry& entry : hookTable())
        if (hookSlots.installed[entry.number]) ++installed;
    out += "}, \"hooks\": {\"installed\": " + std::to_string(installed) + ", \"missing\": [";
    // Classes are known to be missing only once installation has looked for them; while the
    // product was off at load it never did.
    std::vector<std::string_view> missing;
    if (hookSlots.tableInstalled) {
        for (const HookEntry& entry : hookTable()) {
            if (hookSlots.classPresent[entry.number]) continue;
            std::string_view name = entry.className;
            bool seen = false;
            for (std::string_view m : missing) seen = seen || m == name;
            if (!seen) missing.push_back(name);
        }
    }
    for (std::size_t i = 0; i < missing.size(); ++i) {
        if (i) out += ", ";
        appendString(out, missing[i]);
    }
    out += "]}}";
    return out;
}

// The call counts of every entry in table order; with `reset`, each count is taken and zeroed
// in one step, so that no call between reading and zeroing goes uncounted.
std::string describeCalls(bool reset) {
    std::string out = "{\"calls\": [";
    for (const HookEntry& entry : hookTable()) {
        std::atomic<std::uint64_t>& count = hookSlots.calls[entry.number];
        std::uint64_t calls = reset ? count.exchange(0, std::memory_order_relaxed) : count.load(std::memory_order_relaxed);
        if (entry.number > 1) out += ", ";
        out += "{\"entry\": " + std::to_string(entry.number) + ", \"class\": ";
        appendString(out, entry.className);
        out += ", \"selector\": ";
        appendString(out, entry.selector);
        out += ", \"calls\": " + std::to_string(calls) + "}";
    }
    out += "]}";
    return out;
}

// Empties the record and hands over what it held, whose objects the caller now owns. Nothing
// is released under the lock: a release may end an object, and whatever that runs may report.
std::vector<RecordedDecision> takeRecord() {
    std::vector<RecordedDecision> taken;
    DecisionLog& log = decisionLog();
    std::lock_guard guard(log.lock);
    taken.swap(log.decisions);
    return taken;
}

// The objects of taken decisions are autoreleased rather than released, so the caller can
// still map the pointers to objects until its pool drains.
void autoreleaseObjects(const std::vector<RecordedDecision>& taken) {
    for (const RecordedDecision& d : taken) {
        objc_autorelease(d.receiver);
        objc_autorelease(d.given);
        objc_autorelease(d.result);
    }
}

// Hands the recorded decisions over and forgets them.
std::string takeDecisions() {
    std::vector<RecordedDecision> taken = takeRecord();
    std::string out = "[";
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const RecordedDecision& d = taken[i];
        if (i) out += ", ";
        const HookEntry& entry = hookTable()[d.entry - 1];
        out += "{\"entry\": " + std::to_string(d.entry) + ", \"selector\": ";
        appendString(out, entry.selector);
        out += ", \"view\": ";
        appendPointer(out, d.receiver);
        out += ", \"given\": ";
        appendPointer(out, d.given);
        out += ", \"step\": ";
        appendStep(out, d.step);
        out += ", \"result\": ";
        appendPointer(out, d.result);
        out += "}";
    }
    out += "]";
    autoreleaseObjects(taken);
    return out;
}

}  // namespace

}  // namespace obscuro

// Requests: "state" describes the flags and the installed hooks; "calls" answers how often each
// entry's replacement has run, as {"calls": [{"entry": 1, "class": …, "selector": …, "calls": n},
// …]} in table order, and "calls reset" answers the same and sets every count back to 0;
// "explain on" starts recording background decisions, "explain all" the decisions of every
// entry (each forgets what an earlier recording left untaken), "explain off" stops and keeps
// what was recorded for "decisions"; "decisions" returns the recorded decisions and clears the record,
// each as {"entry", "selector", "view" (the receiver), "given", "step", "result"} with objects
// as pointers (autoreleased to the caller's pool; scalars boxed in NSNumbers) and the step as a
// number, or as a string such as "6.6" for a sub-step. The reply is JSON text owned by the library until the next call; an
// unknown request answers {"error": …}.
extern "C" OBSCURO_EXPORT const char* ObscuroDiagnostics(const char* request) {
    using namespace obscuro;
    std::string_view asked = request ? request : "";
    std::string& reply = replyBuffer();
    if (asked == "state") {
        reply = describeState();
    } else if (asked == "calls" || asked == "calls reset") {
        reply = describeCalls(asked == "calls reset");
    } else if (asked == "explain on" || asked == "explain all") {
        // A new recording: what an earlier one left untaken would be told as this one's.
        explainingEveryEntry.store(asked == "explain all");
        setDecisionObserver(&recordDecision);
        autoreleaseObjects(takeRecord());
        reply = "{\"explain\": true}";
    } else if (asked == "explain off") {
        setDecisionObserver(nullptr);
        reply = "{\"explain\": false}";
    } else if (asked == "decisions") {
        reply = takeDecisions();
    } else {
        reply = "{\"error\": ";
        appendString(reply, "unknown request; ask for state, calls, calls reset, explain on, explain all, explain off or decisions");
        reply += "}";
    }
    return reply.c_str();
}
