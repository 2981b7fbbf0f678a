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

void buildAlert(id, id view) {
    id dim = make("UIView", {{0, 0}, {375, 812}}, view);
    setBackground(dim, "#000000");
    msg<void>(dim, sel<"setAlpha:">(), 0.4);

    // The alert's box is the knockout backdrop; its hairlines are knockouts of it, in white.
    id box = make("_UIDimmingKnockoutBackdropView", {{52.5, 316}, {270, 180}}, view);
    setBackground(box, "#F9F9FE");
    msg<void>(msg<id>(box, sel<"layer">()), sel<"setCornerRadius:">(), 13.0);
    msg<void>(box, sel<"setClipsToBounds:">(), true);
    id tracking = make("_UISizeTrackingView", {{0, 0}, {270, 180}}, box);
    id content = make("UIView", {{0, 0}, {270, 180}}, tracking);
    setBackground(content, "#F9F9FE");
    id header = make("_UIInterfaceActionGroupHeaderScrollView", {{0, 0}, {270, 135.5}}, content, "UIScrollView");
    label(header, {{16, 20}, {238, 22}}, "Delete Playlist?", 17, true, "#000000", 1);
    id message = label(header, {{16, 46}, {238, 72}}, "Sunday Morning will be removed from your library on all your devices.", 13, false,
                       "#000000", 1);
    msg<void>(message, sel<"setNumberOfLines:">(), 0L);
    id hairline = make("UIView", {{0, 135.5}, {270, 0.5}}, box);
    setBackground(hairline, "#FFFFFF");
    msg<void>(hairline, sel<"setAlpha:">(), 0.5);

    // The two actions share the row; the line between them is the stack's own subview.
    id actions = make("UIStackView", {{0, 136}, {270, 44}}, content);
    msg<void>(actions, sel<"setDistribution:">(), 1L);
    const char* titles[] = {"Cancel", "Delete"};
    for (int i = 0; i < 2; ++i) {
        id action = make("_UIInterfaceActionCustomViewRepresentationView", {{0, 0}, {135, 44}}, nullptr);
        setBackground(action, "#F9F9FE");
        label(action, {{0, 0}, {135, 44}}, titles[i], 17, i == 0, "#FF2D55", 1);
        msg<void>(actions, sel<"addArrangedSubview:">(), action);
    }
    id separator = make("_UIInterfaceActionItemSeparatorView_iOS", {{134.75, 0}, {0.5, 44}}, actions);
    setBackground(separator, "#C7C7CC");
}

void buildPasscode(id, id view) {
    setBackground(view, "#FFFFFF");
    label(view, {{0, 150}, {375, 28}}, "Enter Passcode", 20, false, "#000000", 1);
    label(view, {{0, 186}, {375, 20}}, "Restrictions are on for purchases.", 13, false, "#8E8E93", 1);
    for (int i = 0; i < 4; ++i) {
        id dot = make("Music.CircleView", {{129.5 + i * 32, 230}, {14, 14}}, view);
        msg<void>(dot, sel<"setFillColor:">(), hex(i < 2 ? "#000000" : "#D8D8D8"));
    }
    // The keypad as the system sizes it: the full width, four rows of keys above the home bar.
    id keypad = make("DevicePINKeypad", {{0, 596}, {375, 216}}, view);
    const char* digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "", "0", "⌫"};
    const char* letters[] = {"", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ", "", "", ""};
    for (int i = 0; i < 12; ++i) {
        CGRect frame{{6.0 + (i % 3) * 122, 6.0 + (i / 3) * 51}, {117, 46}};
        if (!digits[i][0]) continue;
        id key = make("UIView", frame, keypad);
        setBackground(key, "#FFFFFF");
        msg<void>(msg<id>(key, sel<"layer">()), sel<"setCornerRadius:">(), 5.0);
        msg<void>(msg<id>(key, sel<"layer">()), sel<"setBorderWidth:">(), 0.5);
        msg<void>(msg<id>(key, sel<"layer">()), sel<"setBorderColor:">(), msg<CGColorRef>(hex("#C7C7CC"), sel<"CGColor">()));
        label(key, {{0, 2}, {117, 28}}, digits[i], 25, false, "#000000", 1);
        if (letters[i][0]) label(key, {{0, 28}, {117, 14}}, letters[i], 10, true, "#000000", 1);
    }
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
