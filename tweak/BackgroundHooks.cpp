// The background decision procedure, written as its steps and its table of stock colours.
#include "BackgroundHooks.h"

#include "ClassTests.h"
#include "MarkerTags.h"
#include "RememberedClasses.h"
#include "ThemeState.h"
#include "UIColor+Tarnwick.h"
#include "ViewQueries.h"

#include <Foundation/Foundation.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

namespace obscuro {

namespace {

enum class Paint { Given, Clear, Background, DarkerBackground, Tint, Bar, HalfBlack };

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

// What the steps ask about the view's class alone: its kind tests and its name tests.
enum Trait : unsigned {
    kBarmojiCollectionView,
    kNowPlayingCollectionView,
    kAlertControllerActionView,
    kTableViewCollectionCell,
    kScrollView,
    kVisualEffectContentView,
    kLayoutContainerView,
    kTableViewCellContentView,
    kVisualEffectSubview,
    kLabel,
    kTableViewCellSeparatorView,
    kTitleSectionHeaderView,
    kNowPlayingSecondaryBackground,
    kSearchTextField,
    kMusicVideoVerticalCell,
    kBackgroundClassName,  // one of kBackgroundClassNames
};

constexpr std::array<std::pair<Trait, const RememberedClass*>, 11> kKindTraits = {{
    {kBarmojiCollectionView, &classes::barmojiCollectionView},
    {kNowPlayingCollectionView, &classes::nowPlayingCollectionView},
    {kAlertControllerActionView, &classes::alertControllerActionView},
    {kTableViewCollectionCell, &classes::tableViewCollectionCell},
    {kScrollView, &classes::scrollView},
    {kVisualEffectContentView, &classes::visualEffectContentView},
    {kLayoutContainerView, &classes::layoutContainerView},
    {kTableViewCellContentView, &classes::tableViewCellContentView},
    {kVisualEffectSubview, &classes::visualEffectSubview},
    {kLabel, &classes::label},
    {kTableViewCellSeparatorView, &classes::tableViewCellSeparatorView},
}};

constexpr std::array<std::pair<Trait, std::string_view>, 4> kNameTraits = {{
    {kTitleSectionHeaderView, "Music.TitleSectionHeaderView"},
    {kNowPlayingSecondaryBackground, "Music.NowPlayingCollectionViewSecondaryBackground"},
    {kSearchTextField, "Music.SearchTextField"},
    {kMusicVideoVerticalCell, "Music.MusicVideoVerticalCell"},
}};

std::uint32_t workOutTraits(Class cls) {
    std::uint32_t traits = 0;
    for (auto [trait, remembered] : kKindTraits)
        if (Class kind = remembered->get(); kind && class_isSubclassOfClass(cls, kind)) traits |= 1u << trait;
    ClassName name(cls);
    for (auto [trait, readable] : kNameTraits)
        if (name.is(readable)) traits |= 1u << trait;
    for (std::string_view readable : kBackgroundClassNames)
        if (name.is(readable)) traits |= 1u << kBackgroundClassName;
    return traits;
}

// The traits of a view class, worked out once per class: a class's superclasses and name never
// change, and a remembered class can only appear when the class table changes, so an answer
// holds until the table's generation moves. Backgrounds are set for thousands of views of a few
// dozen classes; the tests themselves cost more than the rest of a decision. Per thread, so
// that no lock is needed.
std::uint32_t traitsOf(Class cls) {
    struct Answer {
        Class cls = nullptr;
        unsigned long generation = 0;
        std::uint32_t traits = 0;
    };
    thread_local std::array<Answer, 64> answers;
    unsigned long generation = objc_classTableGeneration();
    Answer& answer = answers[(reinterpret_cast<std::uintptr_t>(cls) >> 4) % answers.size()];
    if (answer.cls != cls || answer.generation != generation)
        answer = {cls, generation, workOutTraits(cls)};
    return answer.traits;
}

// What the steps look at. The owner is found on first use; the hex string only at step 16.
struct Subject {
    id view;
    id given;
    Class cls;
    std::uint32_t traits;  // of cls, one bit per Trait
    long tag;
    mutable std::optional<Class> owner;

    Class ownerClass() const {
        if (!owner) owner = responderOwnerClass(view);
        return *owner;
    }
    bool ownerIs(std::string_view readableName) const { return ownerClass() && classNameIs(ownerClass(), readableName); }
    bool has(Trait trait) const { return (traits >> trait) & 1; }
    id superview() const { return obscuro::superview(view); }
};

bool nowPlayingWithColorFlow(const Subject& s) {
    return colorFlowMusicEnabled && s.ownerIs("Music.NowPlayingViewController");
}

// What a step says of the view: nothing (a later step decides), the colour it gets, or that
// the hex rules of step 16 decide.
struct Verdict {
    enum Kind : std::uint8_t { NotMine, Paints, ByHexRules } kind = NotMine;
    Paint paint = Paint::Given;
};
constexpr Verdict kNotMine{};
constexpr Verdict kByHexRules{Verdict::ByHexRules};
constexpr Verdict paints(Paint paint) { return {Verdict::Paints, paint}; }

template <class Rule>
struct NumberedStep {
    Step number;
    Rule rule;
};
template <class Rule>
NumberedStep(Step, Rule) -> NumberedStep<Rule>;

// Steps 2 to 15, each with its number; step 1 (nil colour, product off) is taken before any
// of them runs. A tuple rather than an array of function pointers, so that every step is
// inlined: fourteen indirect calls from one place are mispredicted often enough to cost more
// than the steps themselves.
constexpr auto kSteps = std::make_tuple(
    NumberedStep{2, [](const Subject& s) {
        if (s.has(kBarmojiCollectionView)) return paints(Paint::Given);
        return kNotMine;
    }},
    NumberedStep{3, [](const Subject& s) {
        if (s.tag == tags::kTitleHeader) return paints(Paint::Given);
        return kNotMine;
    }},
    NumberedStep{4, [](const Subject& s) {
        if (s.has(kTitleSectionHeaderView)) return paints(Paint::Clear);
        return kNotMine;
    }},
    NumberedStep{5, [](const Subject& s) {
        if (s.has(kNowPlayingCollectionView)) return paints(Paint::Clear);
        return kNotMine;
    }},
    NumberedStep{6, [](const Subject& s) {
        if (s.tag == tags::kMiniPlayer) return paints(Paint::DarkerBackground);
        return kNotMine;
    }},
    NumberedStep{7, [](const Subject& s) {
        if (s.has(kAlertControllerActionView)) return paints(Paint::Clear);
        return kNotMine;
    }},
    NumberedStep{8, [](const Subject& s) {
        if (!s.has(kTableViewCollectionCell)) return kNotMine;
        return nowPlayingWithColorFlow(s) ? paints(Paint::Given) : paints(Paint::Background);
    }},
    NumberedStep{9, [](const Subject& s) {
        if (colorFlowMusicEnabled && s.has(kNowPlayingSecondaryBackground) &&
            s.ownerIs("Music.NowPlayingViewController"))
            return paints(Paint::Given);
        return kNotMine;
    }},
    NumberedStep{10, [](const Subject& s) {
        if (s.has(kScrollView) || s.has(kVisualEffectContentView) || s.has(kLayoutContainerView) || s.has(kTableViewCellContentView))
            return paints(Paint::Background);
        return kNotMine;
    }},
    NumberedStep{11, [](const Subject& s) {
        if (!s.has(kVisualEffectSubview)) return kNotMine;
        return s.tag == tags::kNavigationBarBackground ? kByHexRules : paints(Paint::HalfBlack);
    }},
    NumberedStep{12, [](const Subject& s) {
        if (classes::nowPlayingIndicatorView.isKindOf(s.superview())) return paints(Paint::Tint);
        return kNotMine;
    }},
    NumberedStep{13, [](const Subject& s) {
        if (s.has(kSearchTextField)) return paints(Paint::DarkerBackground);
        return kNotMine;
    }},
    NumberedStep{14, [](const Subject& s) {
        if (s.has(kLabel) || s.has(kTableViewCellSeparatorView) || s.has(kMusicVideoVerticalCell))
            return paints(Paint::Clear);
        return kNotMine;
    }},
    NumberedStep{15, [](const Subject& s) {
        if (s.has(kBackgroundClassName)) return paints(Paint::Background);
        return kNotMine;
    }});

constexpr Step kHexRulesStep = 16;

// Step 16: the app's stock colours, recognised by their hex strings, in row order.
struct HexRule {
    std::array<std::string_view, 2> hexes;
    Paint (*paint)(const Subject&);
};

constexpr std::array<HexRule, 5> kHexRules = {{
    {{"#FFFFFF", "#F9F9FE"},
     [](const Subject& s) {
         if (classes::dimmingKnockoutBackdropView.isKindOf(s.superview())) return Paint::Given;
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
        case Paint::Clear: return msg<id>(classes::colour.get(), sel<"clearColor">());
        case Paint::Background: return bgColor;
        case Paint::DarkerBackground: return darkerBgColor;
        case Paint::Tint: return tintColor;
        case Paint::Bar: return barColor;
        case Paint::HalfBlack:
            return msg<id>(msg<id>(classes::colour.get(), sel<"blackColor">()), sel<"colorWithAlphaComponent:">(), 0.5);
    }
    return given;
}

}  // namespace

BackgroundDecision decideBackground(id view, id colour) {
    if (!colour || !enabled) return {1, colour};
    Class cls = object_getClass(view);
    Subject subject{view, colour, cls, traitsOf(cls), tagOf(view), std::nullopt};
    Verdict verdict;
    Step decidedBy = kHexRulesStep;
    auto decides = [&](const auto& step) {
        verdict = step.rule(subject);
        return verdict.kind != Verdict::NotMine && (decidedBy = step.number, true);
    };
    std::apply([&](const auto&... steps) { (decides(steps) || ...); }, kSteps);
    if (verdict.kind != Verdict::Paints) return {kHexRulesStep, colourFor(hexRules(subject), colour)};
    return {decidedBy, colourFor(verdict.paint, colour)};
}

}  // namespace obscuro
