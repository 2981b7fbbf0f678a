// Drawing a view tree to a picture: what the screen would show, as RGBA pixels and PNG bytes.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct _cairo_surface;

class UIView;

namespace render {

// A drawn picture: straight (not premultiplied) RGBA bytes, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    // The pixel at (x, y) in pixels; transparent black outside the picture.
    std::array<uint8_t, 4> at(int x, int y) const;
    // The PNG file of the picture: the same pixels always give the same bytes.
    std::string png() const;
};

// Draws `root` and everything below it into a picture of root's frame size × `scale` pixels,
// the way the screen composes a window: each view's layer background (rounded by the corner
// radius), its content (image views' images, template images in the view's tintColor as
// sent; label, text field and text view text in the colour their textColor answers, a label
// without one in its class's _defaultAttributes, a text view's link runs in the colour of its
// linkTextAttributes, the first responder's caret in its tintColor; the drawRect: of views that
// draw themselves, called with an image context of the view as the current context), its
// subviews, then its border. Hidden views (as `hidden` answers) and their subviews are skipped,
// alpha and layer opacity multiply down the tree, clipsToBounds and masksToBounds clip,
// visual-effect views are a translucent fill. Table separators are drawn from their
// backgroundColor, separatorEffect and hidden getters; a layer whose compositingFilter answers
// "plusD" is composited plus-darker. Images and layer colours are read from stored state, as
// the phone's compositor reads them; every getter named here is sent, so a replaced one changes
// the picture. A window gets the status bar over it, in the style of
// platform::statusBarStyle. A nil root or a scale ≤ 0 gives an empty picture.
Picture renderView(UIView* root, double scale);

// A drawing as its PNG file, and the same drawing scaled down for a contact sheet.
struct EncodedDrawing {
    std::string png;
    Picture thumbnail;
};

// A window drawn and not yet encoded: the drawn pixels themselves, which any one thread may
// encode, so that a screen is encoded while the next is drawn. When it goes, its pixels are
// set aside for a later drawing of the same size.
class DrawnPixels {
public:
    DrawnPixels() = default;
    DrawnPixels(DrawnPixels&& other) noexcept;
    DrawnPixels& operator=(DrawnPixels&& other) noexcept;
    ~DrawnPixels();

    // renderView's picture as the file its png() gives, encoded from the drawn pixels without
    // a straight copy, together with its thumbnail, scaled down by `shrink` from the drawn
    // pixels themselves (for opaque pixels the picture shrinkPicture(picture, shrink) gives; a
    // shrink of 1 or less gives the picture itself). Both empty where renderView's picture would be.
    EncodedDrawing encode(int shrink) const;

private:
    friend DrawnPixels drawPixels(UIView* root, double scale);
    explicit DrawnPixels(_cairo_surface* surface) : surface_(surface) {}
    _cairo_surface* surface_ = nullptr;  // owned
};

// Draws as renderView does and keeps the pixels as they were drawn.
DrawnPixels drawPixels(UIView* root, double scale);

// Writes the picture as a PNG file; throws std::runtime_error naming the path on failure.
void writePNG(const Picture& picture, const std::filesystem::path& path);

// Writes an encoded PNG file; throws std::runtime_error naming the path on failure, or when
// there are no bytes to write.
void writePNGFile(const std::string& png, const std::filesystem::path& path);

// Reads a PNG file back into a picture; throws std::runtime_error naming the path when it
// cannot be read.
Picture readPNG(const std::filesystem::path& path);

// Stacks pictures into one: each row of `rows` side by side, rows top to bottom, on grey,
// with `gap` pixels between them; every picture is scaled down by `shrink` (≥ 1).
Picture contactSheet(const std::vector<std::vector<const Picture*>>& rows, int gap, int shrink);

}  // namespace render
