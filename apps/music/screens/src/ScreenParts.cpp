// The screens' pieces, each made the way the app makes it: by class name, with selectors the hooks see.
#include "ScreenParts.h"

#include <Foundation/NSArray.h>
#include <Foundation/NSAttributedString.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <UIKit/UIGeometry.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <music/MusicAssets.h>

#include <cstdio>
#include <string_view>
#include <vector>
#include <string>

namespace music::screens {

namespace {

constexpr std::string_view kLibraryArt = "Artwork-";

id classNamed(const char* name, const char* fallback) {
    Class cls = objc_getClass(name);
    if (!cls && fallback) cls = objc_getClass(fallback);
    return reinterpret_cast<id>(cls);
}

}  // namespace

id make(const char* className, CGRect frame, id parent, const char* fallback) {
    id cls = classNamed(className, fallback);
    if (!cls) return nullptr;
    id view = objc::autorelease(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), frame));
    if (parent) msg<void>(parent, sel<"addSubview:">(), view);
    return view;
}

id firstDescendant(id view, const char* className) {
    for (id sub : static_cast<NSArray*>(msg<id>(view, sel<"subviews">()))) {
        if (msg<bool>(sub, sel<"isKindOfClass:">(), objc_getClass(className))) return sub;
        if (id found = firstDescendant(sub, className)) return found;
    }
    return nil;
}

id controller(const char* className) {
    id cls = classNamed(className, "UIViewController");
    return objc::autorelease(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">()));
}

id hex(const char* rgb) {
    unsigned r = 0, g = 0, b = 0;
    std::sscanf(rgb, "#%02x%02x%02x", &r, &g, &b);
    return msg<id>(reinterpret_cast<id>(objc_getClass("UIColor")), sel<"colorWithRed:green:blue:alpha:">(), r / 255.0, g / 255.0,
                   b / 255.0, 1.0);
}

void setBackground(id view, const char* rgb) { msg<void>(view, sel<"setBackgroundColor:">(), hex(rgb)); }

id label(id parent, CGRect frame, const char* text, double size, bool bold, const char* rgb, long alignment) {
    id view = make("UILabel", frame, parent);
    id fontClass = reinterpret_cast<id>(objc_getClass("UIFont"));
    id font = bold ? msg<id>(fontClass, sel<"boldSystemFontOfSize:">(), size) : msg<id>(fontClass, sel<"systemFontOfSize:">(), size);
    msg<void>(view, sel<"setFont:">(), font);
    msg<void>(view, sel<"setText:">(), static_cast<id>(objc::str(text)));
    msg<void>(view, sel<"setTextColor:">(), hex(rgb));
    msg<void>(view, sel<"setTextAlignment:">(), alignment);
    return view;
}

id namedImage(const char* name) {
    if (!name) return nullptr;
    return msg<id>(reinterpret_cast<id>(objc_getClass("UIImage")), sel<"imageNamed:">(), static_cast<id>(objc::str(name)));
}

id attributed(const char* text, const char* rgb, const char* link) {
    id attributes = link ? static_cast<id>(objc::dict({{NSForegroundColorAttributeName, hex(rgb)}, {NSLinkAttributeName, static_cast<id>(objc::str(link))}}))
                         : static_cast<id>(objc::dict({{NSForegroundColorAttributeName, hex(rgb)}}));
    id string = msg<id>(reinterpret_cast<id>(objc_getClass("NSAttributedString")), sel<"alloc">());
    return objc::autorelease(msg<id>(string, sel<"initWithString:attributes:">(), static_cast<id>(objc::str(text)), attributes));
}

id resizable(const char* name) {
    CGSize size = msg<CGSize>(namedImage(name), sel<"size">());
    UIEdgeInsets caps{size.height / 2 - 0.5, size.width / 2 - 0.5, size.height / 2 - 0.5, size.width / 2 - 0.5};
    return msg<id>(namedImage(name), sel<"resizableImageWithCapInsets:">(), caps);
}

void separatorLine(id parent, CGRect frame) { setBackground(make("UIView", frame, parent), "#C7C7CC"); }

id glyph(id parent, CGRect frame, const char* imageName, const char* className) {
    id view = make(className, frame, parent, "UIImageView");
    msg<void>(view, sel<"setContentMode:">(), 1L);
    id image = namedImage(imageName);
    if (msg<bool>(view, sel<"isKindOfClass:">(), objc_getClass("UIImageView")))
        msg<void>(view, sel<"setImage:">(), image);
    else if (image)
        msg<void>(view, sel<"addSubview:">(), objc::autorelease(msg<id>(msg<id>(reinterpret_cast<id>(objc_getClass("UIImageView")), sel<"alloc">()), sel<"initWithImage:">(), image)));
    return view;
}

id imageButton(id parent, CGRect frame, const char* imageName, const char* className) {
    id button = make(className, frame, parent, "UIButton");
    msg<void>(button, sel<"setImage:forState:">(), namedImage(imageName), 0UL);
    return button;
}

id largeTitle(id page, const char* title) {
    id header = make("Music.TitleSectionHeaderView", {{0, 88}, {375, 52}}, page, "UIView");
    make("Music.NavigationBarBackgroundView", {{0, 0}, {375, 52}}, header);
    label(header, {{16, 2}, {343, 41}}, title, 34, true, "#000000");
    return header;
}

id collection(id parent, CGRect frame, CGSize item, double spacing, double top) {
    id view = make("Music.CompositeCollectionView", frame, parent, "UICollectionView");
    setBackground(view, "#FFFFFF");
    id layout = msg<id>(view, sel<"collectionViewLayout">());
    msg<void>(layout, sel<"setItemSize:">(), item);
    msg<void>(layout, sel<"setMinimumInteritemSpacing:">(), spacing);
    msg<void>(layout, sel<"setMinimumLineSpacing:">(), spacing);
    double side = item.width >= frame.size.width ? 0 : 16;
    msg<void>(layout, sel<"setSectionInset:">(), UIEdgeInsets{top, side, 0, side});
    return view;
}

id artworkImage(const char* name) {
    std::string_view art = name ? name : "";
    if (art.starts_with(kLibraryArt)) return music::libraryArtwork(art.substr(kLibraryArt.size()));
    return namedImage(name);
}

id artwork(id parent, CGRect frame, const char* art, double cornerRadius) {
    id view = make("Music.ArtworkComponentImageView", frame, parent, "UIImageView");
    msg<void>(view, sel<"setImage:">(), artworkImage(art));
    // The rounded edge is a mask image laid over the art in the page's colour, so that the art
    // itself needs no clipping; the artwork view keeps it as a decoration of its own.
    if (cornerRadius > 0) {
        id mask = make("UIImageView", {{0, 0}, frame.size}, view);
        msg<void>(mask, sel<"setImage:">(), namedImage("ArtworkCornerMask"));
    }
    return view;
}

id table(id parent, CGRect frame, const char* const* rows, int count, bool withArtwork, int selected) {
    id tableView = make("UITableView", frame, parent);
    setBackground(tableView, "#FFFFFF");
    msg<void>(tableView, sel<"setSeparatorStyle:">(), 1L);
    msg<void>(tableView, sel<"setSeparatorColor:">(), hex("#D8D8D8"));
    const double rowHeight = withArtwork ? 60 : 44;
    const char* art[] = {"Artwork-NorthernLights", "Artwork-EveningTides", "Artwork-PaperBoats",
                         "Artwork-Lantern",        "Artwork-LowTide",      "Artwork-Harbour"};
    id cellClass = reinterpret_cast<id>(objc_getClass("UITableViewCell"));
    for (int i = 0; i < count; ++i) {
        id cell = objc::autorelease(msg<id>(msg<id>(cellClass, sel<"alloc">()), sel<"initWithStyle:reuseIdentifier:">(), 0L,
                                            static_cast<id>(objc::str("Row"))));
        msg<void>(cell, sel<"setFrame:">(), CGRect{{0, i * rowHeight}, {frame.size.width, rowHeight}});
        setBackground(cell, "#FFFFFF");
        id content = msg<id>(cell, sel<"contentView">());
        double x = 16;
        if (withArtwork) {
            artwork(content, {{16, 5}, {50, 50}}, art[i % 6]);
            x = 80;
        }
        label(content, {{x, 0}, {frame.size.width - x - 40, rowHeight}}, rows[i], 17, false, withArtwork ? "#000000" : "#FF2D55");
        msg<void>(tableView, sel<"addSubview:">(), cell);
        if (i == selected) msg<void>(cell, sel<"setSelected:">(), true);
    }
    return tableView;
}

}  // namespace music::screens
