// What loading the tweak libraries did: the methods they replaced, the classes they missed, the device files they used.
#pragma once

#include <string>
#include <vector>

namespace music {

// One MSHookMessageEx call, in the order made.
struct HookCall {
    std::string className;  // as NSStringFromClass reads it; for an absent class, the name last looked up in vain
    bool classSide = false;  // the hook went to a metaclass: a class method
    std::string selector;
    bool installed = false;  // false when the class was absent or nothing could be hooked
};

struct TweakLoadRecord {
    std::vector<HookCall> hooks;
    std::vector<std::string> classesAbsent;  // names looked up in vain, first time each, in order
    std::vector<std::string> devicePaths;    // device paths resolved, first time each, in order
};

// Records while it lives: from construction until finish(), every hook call, missed class
// lookup and resolved device path of the process is kept. One recorder at a time.
class TweakLoadRecorder {
public:
    TweakLoadRecorder();
    ~TweakLoadRecorder();
    TweakLoadRecorder(const TweakLoadRecorder&) = delete;
    TweakLoadRecorder& operator=(const TweakLoadRecorder&) = delete;

    // Stops recording and hands over what was recorded.
    TweakLoadRecord finish();

private:
    bool recording_ = true;
};

}  // namespace music
