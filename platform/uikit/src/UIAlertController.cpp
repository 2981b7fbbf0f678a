// UIAlertController: alerts and action sheets laid out from UIKit's private action views.
#include "Collections.h"
#include "Containers.h"
#include "Registration.h"

#include <UIKit/UIAlertController.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIStackView.h>

#include <algorithm>

namespace {

Class gUIAlertAction = nullptr;
Class gUIAlertController = nullptr;

// The phone's measures of the two styles, in points.
struct AlertMetrics {
    double width, actionHeight, headerPadding, titleSize, messageSize, titleFontSize, edgeMargin;
};
constexpr AlertMetrics kAlert{270, 44, 20, 17, 13, 17, 0};
constexpr AlertMetrics kSheet{0, 57, 14, 13, 13, 20, 8};
constexpr double kCornerRadius = 13;
constexpr double kGroupGap = 8;
constexpr double kGlyphSide = 24;

const AlertMetrics& metricsOf(UIAlertController* self) { return self->preferredStyle == UIAlertControllerStyleAlert ? kAlert : kSheet; }

objc::Strong<UIView> privateView(const char* name, CGRect frame) { return platform::uikit::containerView(name, frame); }

objc::Strong<UILabel> label(id text, UIFont* font, UIColor* color, double width) {
    auto view = platform::uikit::newView<UILabel>(UILabel::class_());
    msg<void>(view.get(), sel<"setFont:">(), static_cast<id>(font));
    msg<void>(view.get(), sel<"setTextColor:">(), static_cast<id>(color));
    msg<void>(view.get(), sel<"setTextAlignment:">(), 1L);
    msg<void>(view.get(), sel<"setNumberOfLines:">(), 0L);
    msg<void>(view.get(), sel<"setText:">(), text);
    CGSize size = msg<CGSize>(view.get(), sel<"sizeThatFits:">(), CGSize{width, 1000});
    msg<void>(view.get(), sel<"setFrame:">(), CGRect{{0, 0}, {width, size.height}});
    return view;
}

// The title and message of the controller, centred one above the other; nil without either.
objc::Strong<UIView> header(UIAlertController* self, double width) {
    const AlertMetrics& m = metricsOf(self);
    bool alert = self->preferredStyle == UIAlertControllerStyleAlert;
    UIColor* color = alert ? UIColor::colorWithWhite(0, 1) : UIColor::colorWithWhite(0.56, 1);
    std::vector<objc::Strong<UILabel>> lines;
    if (self->title) lines.push_back(label(self->title.get(), UIFont::systemFont(m.titleSize, UIFontWeightSemibold), color, width - 2 * m.headerPadding));
    if (self->message) lines.push_back(label(self->message.get(), UIFont::systemFont(m.messageSize), color, width - 2 * m.headerPadding));
    if (lines.empty()) return nullptr;
    auto scroll = privateView("_UIInterfaceActionGroupHeaderScrollView", CGRectZero);
    double y = m.headerPadding;
    for (auto& line : lines) {
        CGRect frame = line->frame;
        msg<void>(line.get(), sel<"setFrame:">(), CGRect{{m.headerPadding, y}, frame.size});
        msg<void>(scroll.get(), sel<"addSubview:">(), static_cast<id>(line.get()));
        y += frame.size.height + 4;
    }
    msg<void>(scroll.get(), sel<"setFrame:">(), CGRect{{0, 0}, {width, y - 4 + m.headerPadding}});
    return scroll;
}

// One action: its representation view with the title in the view's tint (red when destructive,
// bold when it cancels) and its glyph, inside UIKit's action view.
objc::Strong<UIView> actionView(UIAlertController* self, UIAlertAction* action, CGSize size) {
    const AlertMetrics& m = metricsOf(self);
    auto holder = privateView("_UIAlertControllerActionView", {{0, 0}, size});
    auto representation = privateView("_UIInterfaceActionSystemRepresentationView", {{0, 0}, size});
    msg<void>(holder.get(), sel<"addSubview:">(), static_cast<id>(representation.get()));
    bool cancel = action->style == UIAlertActionStyleCancel;
    id color = action->style == UIAlertActionStyleDestructive ? static_cast<id>(UIColor::colorWithRGBA(1, 59 / 255.0, 48 / 255.0, 1))
                                                              : msg<id>(representation.get(), sel<"tintColor">());
    auto title = label(action->title.get(), UIFont::systemFont(m.titleFontSize, cancel ? UIFontWeightSemibold : UIFontWeightRegular),
                       static_cast<UIColor*>(color), size.width - 2 * kGlyphSide - 24);
    msg<void>(title.get(), sel<"setNumberOfLines:">(), 1L);
    CGRect frame = title->frame;
    msg<void>(title.get(), sel<"setFrame:">(), CGRect{{(size.width - frame.size.width) / 2, (size.height - frame.size.height) / 2}, frame.size});
    msg<void>(representation.get(), sel<"addSubview:">(), static_cast<id>(title.get()));
    if (action->image) {
        Class cls = objc_getClass("_UIInterfaceActionImagePropertyView");
        auto glyph = platform::uikit::newView<UIView>(cls ? cls : UIView::class_(),
                                                     {{12, (size.height - kGlyphSide) / 2}, {kGlyphSide, kGlyphSide}});
        msg<void>(glyph.get(), sel<"setContentMode:">(), 1L);
        msg<void>(glyph.get(), sel<"setImage:">(), msg<id>(action->image.get(), sel<"imageWithRenderingMode:">(), 2L));
        msg<void>(representation.get(), sel<"addSubview:">(), static_cast<id>(glyph.get()));
    }
    return holder;
}

objc::Strong<UIView> separator(CGSize size) {
    auto line = privateView("_UIInterfaceActionItemSeparatorView_iOS", {{0, 0}, size});
    msg<void>(line.get(), sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(0.8, 1)));
    return line;
}

// One rounded group: the backdrop, the header when given, and the actions below it.
objc::Strong<UIView> group(UIAlertController* self, const std::vector<UIAlertAction*>& actions, bool withHeader, double width) {
    const AlertMetrics& m = metricsOf(self);
    double hairline = 1.0 / UIScreen::mainScreenScale();
    auto tracking = privateView("_UISizeTrackingView", CGRectZero);
    id layer = msg<id>(tracking.get(), sel<"layer">());
    msg<void>(layer, sel<"setCornerRadius:">(), kCornerRadius);
    msg<void>(layer, sel<"setMasksToBounds:">(), YES);
    auto backdrop = privateView("_UIDimmingKnockoutBackdropView", CGRectZero);
    msg<void>(backdrop.get(), sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(0.97, 0.96)));
    msg<void>(tracking.get(), sel<"addSubview:">(), static_cast<id>(backdrop.get()));

    double y = 0;
    if (auto head = withHeader ? header(self, width) : nullptr) {
        msg<void>(tracking.get(), sel<"addSubview:">(), static_cast<id>(head.get()));
        y = head->frame.size.height;
    }
    bool sideBySide = self->preferredStyle == UIAlertControllerStyleAlert && actions.size() == 2;
    auto stack = platform::uikit::newView<UIStackView>(UIStackView::class_());
    msg<void>(stack.get(), sel<"setAxis:">(), sideBySide ? UILayoutConstraintAxisHorizontal : UILayoutConstraintAxisVertical);
    double stackHeight = 0;
    if (sideBySide) {
        double half = (width - hairline) / 2;
        msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(actionView(self, actions[0], {half, m.actionHeight}).get()));
        msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(separator({hairline, m.actionHeight}).get()));
        msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(actionView(self, actions[1], {half, m.actionHeight}).get()));
        stackHeight = m.actionHeight;
    } else {
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (i > 0 || y > 0) {
                msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(separator({width, hairline}).get()));
                stackHeight += hairline;
            }
            msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(actionView(self, actions[i], {width, m.actionHeight}).get()));
            stackHeight += m.actionHeight;
        }
    }
    if (sideBySide && y > 0) {
        auto line = separator({width, hairline});
        msg<void>(line.get(), sel<"setFrame:">(), CGRect{{0, y}, {width, hairline}});
        msg<void>(tracking.get(), sel<"addSubview:">(), static_cast<id>(line.get()));
        y += hairline;
    }
    msg<void>(stack.get(), sel<"setFrame:">(), CGRect{{0, y}, {width, stackHeight}});
    msg<void>(tracking.get(), sel<"addSubview:">(), static_cast<id>(stack.get()));
    CGSize size{width, y + stackHeight};
    msg<void>(tracking.get(), sel<"setFrame:">(), CGRect{{0, 0}, size});
    msg<void>(backdrop.get(), sel<"setFrame:">(), CGRect{{0, 0}, size});
    return tracking;
}

void buildContent(UIAlertController* self) {
    UIView* view = self->view.get();
    if (!view) return;
    auto old = view->subviews;
    for (auto& sub : old) msg<void>(sub.get(), sel<"removeFromSuperview">());
    CGSize screen = view->frame.size;
    auto dimming = privateView("UIDimmingView", {{0, 0}, screen});
    msg<void>(dimming.get(), sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(0, 0.4)));
    msg<void>(view, sel<"addSubview:">(), static_cast<id>(dimming.get()));

    std::vector<UIAlertAction*> main, cancel;
    bool sheet = self->preferredStyle == UIAlertControllerStyleActionSheet;
    for (auto& action : self->actions) (sheet && action->style == UIAlertActionStyleCancel ? cancel : main).push_back(action.get());
    const AlertMetrics& m = metricsOf(self);
    double width = sheet ? screen.width - 2 * m.edgeMargin : m.width;

    auto body = group(self, main, true, width);
    if (!sheet) {
        CGSize size = body->frame.size;
        msg<void>(body.get(), sel<"setFrame:">(), CGRect{{(screen.width - size.width) / 2, (screen.height - size.height) / 2}, size});
        msg<void>(view, sel<"addSubview:">(), static_cast<id>(body.get()));
        return;
    }
    double bottom = screen.height - platform::homeIndicatorHeight() - m.edgeMargin;
    if (!cancel.empty()) {
        auto below = group(self, cancel, false, width);
        CGSize size = below->frame.size;
        bottom -= size.height;
        msg<void>(below.get(), sel<"setFrame:">(), CGRect{{m.edgeMargin, bottom}, size});
        bottom -= kGroupGap;
        msg<void>(view, sel<"addSubview:">(), static_cast<id>(below.get()));
    }
    CGSize size = body->frame.size;
    msg<void>(body.get(), sel<"setFrame:">(), CGRect{{m.edgeMargin, bottom - size.height}, size});
    msg<void>(view, sel<"insertSubview:atIndex:">(), static_cast<id>(body.get()), 1L);
}

}  // namespace

Class UIAlertAction::class_() { return gUIAlertAction; }
Class UIAlertController::class_() { return gUIAlertController; }

namespace platform::uikit {

void registerUIAlertController() {
    using objc::ClassBuilder;
    gUIAlertAction =
        ClassBuilder<UIAlertAction>("UIAlertAction", NSObject::class_())
            .classMethod(sel<"actionWithTitle:style:handler:">(),
                         [](Class self, SEL, id title, long style, id) -> id {
                             auto* action = static_cast<UIAlertAction*>(msg<id>(msg<id>(self, sel<"alloc">()), sel<"init">()));
                             action->title = copyOf(title);
                             action->style = style;
                             return objc::autorelease(static_cast<id>(action));
                         })
            .method(sel<"title">(), [](UIAlertAction* self, SEL) -> id { return self->title.get(); })
            .method(sel<"style">(), [](UIAlertAction* self, SEL) { return self->style; })
            .method(sel<"isEnabled">(), [](UIAlertAction* self, SEL) { return self->enabled; })
            .method(sel<"setEnabled:">(), [](UIAlertAction* self, SEL, BOOL enabled) { self->enabled = enabled; })
            .method(sel<"image">(), [](UIAlertAction* self, SEL) -> id { return self->image.get(); })
            .method(sel<"setImage:">(), [](UIAlertAction* self, SEL, UIImage* image) { self->image = objc::retain(image); })
            .registerClass();

    gUIAlertController =
        ClassBuilder<UIAlertController>("UIAlertController", UIViewController::class_())
            .classMethod(sel<"alertControllerWithTitle:message:preferredStyle:">(),
                         [](Class self, SEL, id title, id message, long style) -> id {
                             auto* alert = static_cast<UIAlertController*>(msg<id>(msg<id>(self, sel<"alloc">()), sel<"init">()));
                             msg<void>(alert, sel<"setTitle:">(), title);
                             alert->message = copyOf(message);
                             alert->preferredStyle = style;
                             alert->modalPresentationStyle = UIModalPresentationCustom;
                             return objc::autorelease(static_cast<id>(alert));
                         })
            .method(sel<"message">(), [](UIAlertController* self, SEL) -> id { return self->message.get(); })
            .method(sel<"setMessage:">(),
                    [](UIAlertController* self, SEL, id message) {
                        self->message = copyOf(message);
                        buildContent(self);
                    })
            .method(sel<"preferredStyle">(), [](UIAlertController* self, SEL) { return self->preferredStyle; })
            .method(sel<"actions">(),
                    [](UIAlertController* self, SEL) { return arrayWithObjects(std::vector<id>(self->actions.begin(), self->actions.end())); })
            .method(sel<"addAction:">(),
                    [](UIAlertController* self, SEL, UIAlertAction* action) {
                        if (!object_isKindOfClass(action, gUIAlertAction)) return;
                        self->actions.push_back(objc::retain(action));
                        buildContent(self);
                    })
            .method(sel<"loadView">(),
                    [](UIAlertController* self, SEL) {
                        auto view = newView<UIView>(UIView::class_(), UIScreen::mainScreenBounds());
                        msg<void>(self, sel<"setView:">(), static_cast<id>(view.get()));
                        buildContent(self);
                    })
            .registerClass();
}

}  // namespace platform::uikit
