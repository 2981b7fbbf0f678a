// Progress of a preview on standard error, "screen k of N", for a person watching a terminal.
#pragma once

#include <cstdio>
#include <mutex>
#include <vector>

namespace obscuro::cli {

// Counts the screens each variant has drawn; a screen is done when every variant has drawn it.
// Writes to `out` only when `shown` (a terminal), one line rewritten in place. Thread-safe: each
// variant's screens arrive on a thread of their own.
class PreviewProgress {
public:
    PreviewProgress(std::FILE* out, bool shown, int screens, int variants);
    void screenDrawn(int variant);
    // Ends the line, when one was shown.
    void finish();

private:
    std::mutex lock_;
    std::FILE* out_;
    bool shown_;
    int screens_;
    int lastShown_ = -1;
    std::vector<int> drawn_;
};

}  // namespace obscuro::cli
