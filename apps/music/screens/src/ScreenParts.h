// The pieces the screens are made of: views by class name, stock colours, labels, glyphs and bars.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/objc.h>

namespace music::screens {

// A new view of the class named `className` (dotted or runtime name) with `frame`, added to
// `parent` when one is given; a class the app lacks becomes `fallback`. Borrowed: the parent
// (or the current autorelease pool) keeps it.
id make(const char* className, CGRect frame, id parent = nullptr, const char* fallback = "UIView");
// The first view of class `className` (or a subclass) under `view`, depth first; nil when none.
id firstDescendant(id view, const char* className);
// A controller of the class named `className` (or UIViewController when absent), autoreleased.
id controller(const char* className);

// A colour from "#RRGGBB", autoreleased.
id hex(const char* rgb);
void setBackground(id view, const char* rgb);

// A label showing `text`, sent setFont: and setTextColor: as the app sets them.
id label(id parent, CGRect frame, const char* text, double size, bool bold, const char* rgb, long alignment = 4);
// An attributed string in the colour "#RRGGBB", a link to `link` when one is given; autoreleased.
id attributed(const char* text, const char* rgb, const char* link = nullptr);
// The named image stretched from its centre (resizableImageWithCapInsets:), as the app makes
// its toggle and pill backgrounds.
id resizable(const char* name);
// A hairline in the stock separator grey.
void separatorLine(id parent, CGRect frame);

// An image view with the app's named image (through +imageNamed:, as the app loads them).
id glyph(id parent, CGRect frame, const char* imageName, const char* className = "UIImageView");
// A button of `className` showing the named image for the normal state.
id imageButton(id parent, CGRect frame, const char* imageName, const char* className = "UIButton");

// An image from the app's catalogue, through +imageNamed: as the app loads them; nil for nil.
id namedImage(const char* name);

// A page's large title under the navigation bar: a title section header holding the
// navigation bar background the title scrolls under. Returns the header.
id largeTitle(id page, const char* title);
// The app's composite collection view, white, whose flow layout places its cells of `item`
// size `spacing` apart in rows inset by 16 points at the sides (none for full-width rows) and
// `top` at the top. Cells are placed in the order they are added.
id collection(id parent, CGRect frame, CGSize item, double spacing, double top = 0);
// A table of rows with separators, each with album art when `artwork`, the row `selected`
// (none when negative) selected.
id table(id parent, CGRect frame, const char* const* rows, int count, bool artwork, int selected = -1);
// Album art "Artwork-NAME" from the media library's file NAME, any other name from the app's
// catalogue (placeholders are named images); nil for nil.
id artworkImage(const char* name);
// An artwork view showing the image `art` names (artworkImage) as its own image; with a corner radius,
// the corner mask decoration laid over it.
id artwork(id parent, CGRect frame, const char* art, double cornerRadius = 4);

}  // namespace music::screens
