// The background decision procedure, written as its steps and its table of stock colours.
#include "BackgroundHooks.h"

#include "ClassTests.h"
#include "ThemeState.h"
#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>

#include <array>
#include <atomic>
#include <optional>
#include <string_view>

namespace obscuro {

namespace {

constinit RememberedClass barmojiCollectionView{"BarmojiCollectionView"};
constinit RememberedClass nowPlayingCollectionView{"_TtCC5Music24NowPlayingViewController14CollectionView"};
constinit RememberedClass alertControllerActionView{"_UIAlertControllerActionView"};
constinit RememberedClass tableViewCollectionCell{"UITableViewCollectionCell"};
constinit RememberedClass visualEffectContentView{"_UIVisualEffectContentView"};
constinit RememberedClass layoutContainerView{"UILayoutContainerView"};
constinit RememberedClass tableViewCellContentView{"UITableViewCellContentView"};
constinit RememberedClass visualEffectSubview{"_UIVisualEffectSubview"};
constinit RememberedClass nowPlayingIndicatorView{"MPUNowPlayingIndicatorView"};
constinit RememberedClass tableViewCellSeparatorView{"_UITableViewCellSeparatorView"};
constinit RememberedClass dimmingKnockoutBackdropView{"_UIDimmingKnockoutBackdropView"};
constinit RememberedClass scrollView{"UIScrollView"};
constinit RememberedClass label{"UILabel"};
constinit RememberedClass colorClass{"UIColor"};

constexpr long kTitleHeaderTag = 6379;
constexpr long kMiniPlayerTag = 6380;
constexpr long kNavigationBarBackgroundTag = 6378;

enum class Paint { Given, Clear, Background, DarkerBackground, Tint, Bar, HalfBlack, HexRules };

// What the steps look at. The owner is found on first use; the hex string only at step 16.
struct Subject {
    id view;
    id given;
    Class cls;
    ClassName name;  // read once: most steps test it
    long tag;
    mutable std::optional<Class> owner;

    Class ownerClass() const {
        if (!owner) owner = responderOwnerClass(view);
        return *owner;
    }
    bool ownerIs(std::string_view readableName) const { return ownerClass() && classNameIs(ownerClass(), readableName); }
    bool is(std::string_view readableName) const { return name.is(readableName); }
    id superview() const { return msg<id>(view, sel<"superview">()); }
};

bool nowPlayingWithColorFlow(const Subject& s) {
    return colorFlowMusicEnabled && s.ownerIs("Music.NowPlayingViewController");
}

constexpr std::array<std::string_view, 12> kBackgroundClassNames = {
    "Music.InformativeView",
    "Music.PersonVerticalCell",
    "Music.ConnectMediaView",
    "Music.ConnectCommentPostBar",
    "Music.ContainerDetailHeaderReusableView",
    "Music.CompositeCollectionView",
    "Music.AlbumCell",
    "Music.VerticalScrollStackScrollView",
    "Music.FlowcaseCell",
    "Music.ParagraphView",
    "Music.NowPlayingCollectionViewSecondaryBackground",
    "Music.ConnectColdStartView",
};

using StepRule = std::optional<Paint> (*)(const Subject&);

// Steps 2 to 15; step 1 (nil colour, product off) is taken before any of them runs.
constexpr std::array<StepRule, 14> kSteps = {
    /* 2 */ [](const Subject& s) -> std::optional<Paint> {
        if (barmojiCollectionView.isKindOf(s.view)) return Paint::Given;
        return std::nullopt;
    },
    /* 3 */ [](const Subject& s) -> std::optional<Paint> {
        if (s.tag == kTitleHeaderTag) return Paint::Given;
        return std::nullopt;
    },
    /* 4 */ [](const Subject& s) -> std::optional<Paint> {
        if (s.is("Music.TitleSectionHeaderView")) return Paint::Clear;
        return std::nullopt;
    },
    /* 5 */ [](const Subject& s) -> std::optional<Paint> {
        if (nowPlayingCollectionView.isKindOf(s.view)) return Paint::Clear;
        return std::nullopt;
    },
    /* 6 */ [](const Subject& s) -> std::optional<Paint> {
        if (s.tag == kMiniPlayerTag) return Paint::DarkerBackground;
        return std::nullopt;
    },
    /* 7 */ [](const Subject& s) -> std::optional<Paint> {
        if (alertControllerActionView.isKindOf(s.view)) return Paint::Clear;
        return std::nullopt;
    },
    /* 8 */ [](const Subject& s) -> std::optional<Paint> {
        if (!tableViewCollectionCell.isKindOf(s.view)) return std::nullopt;
        return nowPlayingWithColorFlow(s) ? Paint::Given : Paint::Background;
    },
    /* 9 */ [](const Subject& s) -> std::optional<Paint> {
        if (colorFlowMusicEnabled && s.is("Music.NowPlayingCollectionViewSecondaryBackground") &&
            s.ownerIs("Music.NowPlayingViewController"))
            return Paint::Given;
        return std::nullopt;
    },
    /* 10 */ [](const Subject& s) -> std::optional<Paint> {
        if (scrollView.isKindOf(s.view) || visualEffectContentView.isKindOf(s.view) || layoutContainerView.isKindOf(s.view) ||
            tableViewCellContentView.isKindOf(s.view))
            return Paint::Background;
        return std::nullopt;
    },
    /* 11 */ [](const Subject& s) -> std::optional<Paint> {
        if (!visualEffectSubview.isKindOf(s.view)) return std::nullopt;
        return s.tag == kNavigationBarBackgroundTag ? Paint::HexRules : Paint::HalfBlack;
    },
    /* 12 */ [](const Subject& s) -> std::optional<Paint> {
        if (nowPlayingIndicatorView.isKindOf(s.superview())) return Paint::Tint;
        return std::nullopt;
    },
    /* 13 */ [](const Subject& s) -> std::optional<Paint> {
        if (s.is("Music.SearchTextField")) return Paint::DarkerBackground;
        return std::nullopt;
    },
    /* 14 */ [](const Subject& s) -> std::optional<Paint> {
        if (label.isKindOf(s.view) || tableViewCellSeparatorView.isKindOf(s.view) || s.is("Music.MusicVideoVerticalCell"))
            return Paint::Clear;
        return std::nullopt;
    },
    /* 15 */ [](const Subject& s) -> std::optional<Paint> {
        for (std::string_view name : kBackgroundClassNames)
            if (s.is(name)) return Paint::Background;
        return std::nullopt;
    },
};

// Step 16: the app's stock colours, recognised by their hex strings, in row order.
struct HexRule {
    std::array<std::string_view, 2> hexes;
    Paint (*paint)(const Subject&);
};

constexpr std::array<HexRule, 5> kHexRules = {{
    {{"#FFFFFF", "#F9F9FE"},
     [](const Subject& s) {
         if (dimmingKnockoutBackdropView.isKindOf(s.superview())) return Paint::Given;
         if (nowPlayingWithColorFlow(s)) return Paint::Given;
         return Paint::Background;
     }},
    {{"#F0F0F7", ""},
     [](const Subject& s) { return s.ownerIs("Music.ContainerDetailFooterStackViewController") ? Paint::Background : Paint::Bar; }},
    {{"#FF2D55", ""},
     [](const Subject& s) {
         if (s.ownerIs("Music.ContextActionsButtonViewController")) return Paint::Tint;
         if (classNameIs(s.superview(), "Music.PlayerTimeControl")) return Paint::Tint;
         return Paint::Background;
     }},
    {{"#D8D8D8", "#D9D9D9"}, [](const Subject&) { return Paint::DarkerBackground; }},
    {{"#C7C7CC", "#000050"}, [](const Subject&) { return Paint::Clear; }},
}};

Paint hexRules(const Subject& s) {
    HexColorText text;
    hexTextFromColor(s.given, &text);
    std::string_view hex = text.text;
    for (const HexRule& rule : kHexRules)
        if (hex == rule.hexes[0] || (!rule.hexes[1].empty() && hex == rule.hexes[1])) return rule.paint(s);
    return Paint::Given;
}

id colourFor(Paint paint, id given) {
    switch (paint) {
        case Paint::Given: return given;
        case Paint::Clear: return msg<id>(colorClass.get(), sel<"clearColor">());
        case Paint::Background: return bgColor;
        case Paint::DarkerBackground: return darkerBgColor;
        case Paint::Tint: return tintColor;
        case Paint::Bar: return barColor;
        case Paint::HalfBlack:
            return msg<id>(msg<id>(colorClass.get(), sel<"blackColor">()), sel<"colorWithAlphaComponent:">(), 0.5);
        case Paint::HexRules: break;
    }
    return given;
}

std::atomic<BackgroundDecisionObserver> decisionObserver{nullptr};

}  // namespace

BackgroundDecision decideBackground(id view, id colour) {
    if (!colour || !enabled) return {1, colour};
    Class cls = object_getClass(view);
    Subject subject{view, colour, cls, ClassName(cls), msg<long>(view, sel<"tag">()), std::nullopt};
    int number = 2;
    for (StepRule step : kSteps) {
        if (auto paint = step(subject)) {
            if (*paint == Paint::HexRules) return {16, colourFor(hexRules(subject), colour)};
            return {number, colourFor(*paint, colour)};
        }
        ++number;
    }
    return {16, colourFor(hexRules(subject), colour)};
}

void setBackgroundDecisionObserver(BackgroundDecisionObserver observer) { decisionObserver.store(observer); }

void reportBackgroundDecision(id view, id given, const BackgroundDecision& decision) {
    if (auto observer = decisionObserver.load(std::memory_order_relaxed)) observer(view, given, decision);
}

}  // namespace obscuro
