// Owning handles for Cairo objects and a scope for a saved Cairo state, so no path through the painting code leaks or unbalances one.
#pragma once

#include <cairo.h>

#include <memory>

namespace cg {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternRelease {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};

// Each holds the one reference its create call returned.
using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using CairoHandle = std::unique_ptr<cairo_t, CairoRelease>;
using PatternHandle = std::unique_ptr<cairo_pattern_t, PatternRelease>;

// cairo_save for the scope's life: whatever the scope sets on `cr` (operator, clip, matrix,
// source) is undone when it ends.
class SavedCairoState {
public:
    explicit SavedCairoState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
    ~SavedCairoState() { cairo_restore(cr_); }
    SavedCairoState(const SavedCairoState&) = delete;
    SavedCairoState& operator=(const SavedCairoState&) = delete;

private:
    cairo_t* cr_;
};

}  // namespace cg
