// Preview progress: the screens done by every variant, one terminal line rewritten as they come.
#include "preview_progress.h"

#include <algorithm>

namespace obscuro::cli {

PreviewProgress::PreviewProgress(std::FILE* out, bool shown, int screens, int variants)
    : out_(out), shown_(shown), screens_(screens), drawn_(std::max(variants, 1), 0) {}

void PreviewProgress::screenDrawn(int variant) {
    std::lock_guard guard(lock_);
    if (variant < 0 || variant >= int(drawn_.size())) return;
    ++drawn_[variant];
    int done = *std::min_element(drawn_.begin(), drawn_.end());
    if (!shown_ || done == lastShown_) return;
    lastShown_ = done;
    std::fprintf(out_, "\rscreen %d of %d", done, screens_);
    std::fflush(out_);
}

void PreviewProgress::finish() {
    std::lock_guard guard(lock_);
    if (!shown_ || lastShown_ < 0) return;
    std::fputc('\n', out_);
    std::fflush(out_);
    lastShown_ = -1;
}

}  // namespace obscuro::cli
