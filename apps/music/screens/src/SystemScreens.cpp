// Screens the app shows through the system's pieces: the welcome screen, an alert, the pass-code keypad and text with links.
#include "Screens.h"

#include "ScreenParts.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <string>

namespace music::screens {

void buildOnboarding(id, id view) {
    setBackground(view, "#FFFFFF");
    // The welcome content sits on the backdrop the controller laid over its view when it loaded.
    const char* art[] = {"Artwork-EveningTides", "Artwork-NorthernLights", "Artwork-Lantern",
                         "Artwork-LowTide",      "Artwork-PaperBoats",     "Artwork-Harbour"};
    for (int i = 0; i < 6; ++i) artwork(view, {{27.5 + (i % 3) * 110, 90.0 + (i / 3) * 110}, {100, 100}}, art[i]);
    label(view, {{24, 330}, {327, 40}}, "Welcome to Music", 32, true, "#000000", 1);
    label(view, {{24, 380}, {327, 60}}, "Listen to millions of songs, ad-free.", 17, false, "#8E8E93", 1);
    id start = make("UIButton", {{24, 680}, {327, 50}}, view);
    setBackground(start, "#FF2D55");
    msg<void>(msg<id>(start, sel<"layer">()), sel<"setCornerRadius:">(), 10.0);
    msg<void>(start, sel<"setTitle:forState:">(), static_cast<id>(objc::str("Continue")), 0UL);
    msg<void>(start, sel<"setTitleColor:forState:">(), hex("#FFFFFF"), 0UL);
    id later = make("UIButton", {{24, 740}, {327, 40}}, view);
    msg<void>(later, sel<"setTitle:forState:">(), static_cast<id>(objc::str("Not Now")), 0UL);
    msg<void>(later, sel<"setTitleColor:forState:">(), hex("#FF2D55"), 0UL);
}

namespace {

id alertController(const char* title, const char* message, long style) {
    id alertClass = reinterpret_cast<id>(objc_getClass("UIAlertController"));
    return msg<id>(alertClass, sel<"alertControllerWithTitle:message:preferredStyle:">(), static_cast<id>(objc::str(title)),
                   static_cast<id>(objc::str(message)), style);
}

void addAction(id alert, const char* title, long style, const char* glyph = nullptr) {
    id actionClass = reinterpret_cast<id>(objc_getClass("UIAlertAction"));
    id action = msg<id>(actionClass, sel<"actionWithTitle:style:handler:">(), static_cast<id>(objc::str(title)), style, static_cast<id>(nullptr));
    if (glyph) msg<void>(action, sel<"setImage:">(), namedImage(glyph));
    msg<void>(alert, sel<"addAction:">(), action);
}

constexpr long kActionSheet = 0, kAlert = 1;
constexpr long kDefault = 0, kCancel = 1, kDestructive = 2;

}  // namespace

id makeActionSheet() {
    id sheet = alertController("Northern Lights", "The Harbour Band", kActionSheet);
    addAction(sheet, "Add to Library", kDefault, "UniversalAddControlAdd");
    addAction(sheet, "Play Next", kDefault, "NowPlaying-Transport-Next");
    addAction(sheet, "Cancel", kCancel);
    // The app's first row is a view of its own, love and download side by side, laid into the
    // sheet's actions as a custom-view action.
    id actions = firstDescendant(msg<id>(sheet, sel<"view">()), "UIStackView");
    CGRect frame = msg<CGRect>(actions, sel<"frame">());
    id row = make("_UIInterfaceActionCustomViewRepresentationView", {{0, 0}, {frame.size.width, 57}}, nullptr);
    setBackground(row, "#F9F9FE");
    imageButton(row, {{frame.size.width / 4 - 22, 6}, {44, 44}}, "Love");
    imageButton(row, {{frame.size.width * 3 / 4 - 22, 6}, {44, 44}}, "Download");
    msg<void>(actions, sel<"insertArrangedSubview:atIndex:">(), row, 0UL);
    return sheet;
}

id makeAlert() {
    id alert = alertController("Delete Playlist?", "Sunday Morning will be removed from your library on all your devices.", kAlert);
    addAction(alert, "Cancel", kCancel);
    addAction(alert, "Delete", kDestructive);
    return alert;
}

void buildPasscode(id, id view) {
    setBackground(view, "#FFFFFF");
    label(view, {{0, 150}, {375, 28}}, "Enter Passcode", 20, false, "#000000", 1);
    label(view, {{0, 186}, {375, 20}}, "Restrictions are on for purchases.", 13, false, "#8E8E93", 1);
    for (int i = 0; i < 4; ++i) {
        id dot = make("Music.CircleView", {{129.5 + i * 32, 230}, {14, 14}}, view);
        msg<void>(dot, sel<"setFillColor:">(), hex(i < 2 ? "#000000" : "#D8D8D8"));
    }
    // The keypad at the size the system gives it: the full width, its keys laid out by UIKit.
    id keypadClass = reinterpret_cast<id>(objc_getClass("DevicePINKeypad"));
    id keypad = objc::autorelease(msg<id>(msg<id>(keypadClass, sel<"alloc">()), sel<"initWithFrame:">(), CGRect{{0, 0}, {375, 0}}));
    CGSize size = msg<CGSize>(keypad, sel<"sizeThatFits:">(), CGSize{375, 812});
    msg<void>(keypad, sel<"setFrame:">(), CGRect{{0, 812 - 34 - size.height}, size});
    msg<void>(view, sel<"addSubview:">(), keypad);
}

void buildLinks(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "About");
    id text = make("UITextView", {{15, 150}, {345, 400}}, view);
    setBackground(text, "#FFFFFF");
    msg<void>(text, sel<"setFont:">(), msg<id>(reinterpret_cast<id>(objc_getClass("UIFont")), sel<"systemFontOfSize:">(), 17.0));
    msg<void>(text, sel<"setTextColor:">(), hex("#000000"));
    // The credits as the app writes them: plain runs and links, each run with its own colour.
    id credits = msg<id>(reinterpret_cast<id>(objc_getClass("NSMutableAttributedString")), sel<"alloc">());
    credits = objc::autorelease(msg<id>(credits, sel<"init">()));
    struct Run {
        const char* text;
        const char* link;
    };
    const Run runs[] = {{"Lyrics provided by ", nullptr},
                        {"Harbour Publishing", "https://example.com/publishing"},
                        {". Songs and videos are subject to the ", nullptr},
                        {"Terms and Conditions", "https://example.com/terms"},
                        {" and the ", nullptr},
                        {"Privacy Policy", "https://example.com/privacy"},
                        {".", nullptr}};
    for (const Run& run : runs) msg<void>(credits, sel<"appendAttributedString:">(), attributed(run.text, "#000000", run.link));
    msg<void>(text, sel<"setAttributedText:">(), credits);
}

}  // namespace music::screens
