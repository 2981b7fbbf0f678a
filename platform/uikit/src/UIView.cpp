// UIView: the view tree, geometry, visibility, colours with tint inheritance and the layout pass.
#include "AppearanceInternal.h"
#include "Collections.h"
#include "Registration.h"

#include <QuartzCore/CALayer.h>
#include <UIKit/UIColor.h>
#include <UIKit/UITraitCollection.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include <algorithm>

namespace {

Class gUIView = nullptr;

bool isInSubtree(UIView* root, UIView* view) {
    for (UIView* v = view; v; v = v->superview)
        if (v == root) return true;
    return false;
}

UIWindow* windowOf(UIView* view) {
    for (UIView* v = view; v; v = v->superview)
        if (object_isKindOfClass(v, UIWindow::class_())) return static_cast<UIWindow*>(v);
    return nullptr;
}

// Window moves are announced to the whole subtree, parents first, as UIKit does.
void sendWillMoveToWindow(UIView* view, UIWindow* window) {
    // An input leaving its window stops being its first responder, and the keyboard goes.
    if (UIWindow* old = windowOf(view); old && old != window && old->firstResponder == view) msg<BOOL>(view, sel<"resignFirstResponder">());
    msg<void>(view, sel<"willMoveToWindow:">(), window);
    auto snapshot = view->subviews;
    for (auto& sub : snapshot) sendWillMoveToWindow(sub, window);
}

void sendDidMoveToWindow(UIView* view) {
    msg<void>(view, sel<"didMoveToWindow">());
    auto snapshot = view->subviews;
    for (auto& sub : snapshot) sendDidMoveToWindow(sub);
}

// A tint change reaches every view that inherits it, stopping at views with a tint of their own.
void sendTintColorDidChange(UIView* view) {
    msg<void>(view, sel<"tintColorDidChange">());
    auto snapshot = view->subviews;
    for (auto& sub : snapshot)
        if (!sub->tintColor) sendTintColorDidChange(sub);
}

void detachFromSuperview(UIView* view) {
    auto& siblings = view->superview->subviews;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](auto& s) { return s.get() == view; });
    view->superview = nullptr;
    if (it != siblings.end()) siblings.erase(it);  // may release the last reference; callers hold one
}

// Puts `view` into `parent` at `index` (clamped), moving it from wherever it was.
void insertSubview(UIView* parent, UIView* view, long index) {
    if (!parent || !view || isInSubtree(view, parent)) return;
    auto keep = objc::retain(view);
    UIView* oldSuperview = view->superview;
    UIWindow* oldWindow = windowOf(view);
    UIWindow* newWindow = windowOf(parent);
    bool movesSuperview = oldSuperview != parent;

    if (movesSuperview) msg<void>(view, sel<"willMoveToSuperview:">(), parent);
    if (oldWindow != newWindow) sendWillMoveToWindow(view, newWindow);
    if (oldSuperview) {
        if (movesSuperview) msg<void>(oldSuperview, sel<"willRemoveSubview:">(), view);
        detachFromSuperview(view);
    }
    auto& list = parent->subviews;
    long at = std::clamp<long>(index, 0, static_cast<long>(list.size()));
    list.insert(list.begin() + at, keep);
    view->superview = parent;
    parent->needsLayout = true;

    msg<void>(parent, sel<"didAddSubview:">(), view);
    if (movesSuperview) msg<void>(view, sel<"didMoveToSuperview">());
    if (oldWindow != newWindow) sendDidMoveToWindow(view);
    if (movesSuperview && !view->tintColor) sendTintColorDidChange(view);
}

void removeFromSuperview(UIView* view) {
    UIView* parent = view->superview;
    if (!parent) return;
    auto keep = objc::retain(view);
    UIWindow* oldWindow = windowOf(view);
    msg<void>(view, sel<"willMoveToSuperview:">(), static_cast<id>(nil));
    if (oldWindow) sendWillMoveToWindow(view, nullptr);
    msg<void>(parent, sel<"willRemoveSubview:">(), view);
    detachFromSuperview(view);
    msg<void>(view, sel<"didMoveToSuperview">());
    if (oldWindow) sendDidMoveToWindow(view);
    if (!view->tintColor) sendTintColorDidChange(view);
}

UIView* viewWithTag(UIView* view, long tag) {
    if (view->tag == tag) return view;
    for (auto& sub : view->subviews)
        if (UIView* found = viewWithTag(sub, tag)) return found;
    return nullptr;
}

// A controller's root view tells its controller around its own layout, as UIKit does, so that
// containers place their children's views in viewWillLayoutSubviews.
void layOut(UIView* view) {
    view->needsLayout = false;
    auto controller = objc::retain(static_cast<id>(view->viewController));
    if (controller) msg<void>(controller.get(), sel<"viewWillLayoutSubviews">());
    msg<void>(view, sel<"layoutSubviews">());
    if (controller) msg<void>(controller.get(), sel<"viewDidLayoutSubviews">());
}

void layoutIfNeeded(UIView* view) {
    if (view->needsLayout) layOut(view);
    auto snapshot = view->subviews;
    for (auto& sub : snapshot) layoutIfNeeded(sub);
}

UIColor* systemTintColor() {
    // Created once and kept for the life of the process, like UIKit's own system colours.
    static UIColor* tint = objc::retain(UIColor::colorWithRGBA(0.0, 122.0 / 255.0, 1.0, 1.0)).release();
    return tint;
}

CALayer* layerOf(UIView* view) {
    if (!view->layer) {
        Class layerClass = msg<Class>(object_getClass(view), sel<"layerClass">());
        if (!layerClass || !object_isKindOfClass(reinterpret_cast<id>(layerClass), object_getClass(reinterpret_cast<id>(CALayer::class_()))))
            layerClass = CALayer::class_();
        view->layer = objc::adopt(static_cast<CALayer*>(msg<id>(msg<id>(layerClass, sel<"alloc">()), sel<"init">())));
        view->layer->delegate = view;
        view->layer->frame = view->frame;
        view->layer->hidden = view->hidden;
        view->layer->opacity = static_cast<float>(view->alpha);
    }
    return view->layer.get();
}

void setFrame(UIView* view, CGRect frame) {
    if (frame.size != view->frame.size) view->needsLayout = true;
    view->frame = frame;
    if (view->layer) view->layer->frame = frame;
}

}  // namespace

Class UIView::class_() { return gUIView; }

UIView::~UIView() {
    for (auto& sub : subviews) sub->superview = nullptr;
    if (layer) layer->delegate = nullptr;
}

namespace platform {

void layoutTree(UIView* view) {
    if (!view) return;
    layOut(view);
    auto snapshot = view->subviews;
    for (auto& sub : snapshot) layoutTree(sub);
}

}  // namespace platform

namespace platform::uikit {

UIWindow* windowOfView(UIView* view) { return windowOf(view); }

void applyBackgroundColorToLayer(UIView* view) {
    id color = msg<id>(view, sel<"backgroundColor">());
    layerOf(view)->setBackgroundColor(object_isKindOfClass(color, UIColor::class_()) ? static_cast<UIColor*>(color)->cgColor : nullptr);
}

void registerUIView() {
    using objc::ClassBuilder;
    gUIView =
        ClassBuilder<UIView>("UIView", UIResponder::class_())
            .classMethod(sel<"layerClass">(), [](Class, SEL) { return CALayer::class_(); })
            .classMethod(sel<"appearance">(), [](Class self, SEL) -> id { return appearanceProxyFor(self); })
            .method(sel<"initWithFrame:">(),
                    [](UIView* self, SEL, CGRect frame) -> id {
                        setFrame(self, frame);
                        layerOf(self);
                        applyAppearance(self);
                        return self;
                    })
            .method(sel<"init">(), [](UIView* self, SEL) { return msg<id>(self, sel<"initWithFrame:">(), CGRectZero); })
            // Geometry
            .method(sel<"frame">(), [](UIView* self, SEL) { return self->frame; })
            .method(sel<"setFrame:">(), [](UIView* self, SEL, CGRect frame) { setFrame(self, frame); })
            .method(sel<"bounds">(), [](UIView* self, SEL) { return CGRect{self->boundsOrigin, self->frame.size}; })
            .method(sel<"setBounds:">(),
                    [](UIView* self, SEL, CGRect bounds) {
                        // The centre stays where it is, as when the phone resizes a view's bounds.
                        CGPoint center{self->frame.origin.x + self->frame.size.width / 2, self->frame.origin.y + self->frame.size.height / 2};
                        self->boundsOrigin = bounds.origin;
                        setFrame(self, {{center.x - bounds.size.width / 2, center.y - bounds.size.height / 2}, bounds.size});
                    })
            .method(sel<"center">(),
                    [](UIView* self, SEL) {
                        return CGPoint{self->frame.origin.x + self->frame.size.width / 2, self->frame.origin.y + self->frame.size.height / 2};
                    })
            .method(sel<"setCenter:">(),
                    [](UIView* self, SEL, CGPoint center) {
                        setFrame(self, {{center.x - self->frame.size.width / 2, center.y - self->frame.size.height / 2}, self->frame.size});
                    })
            .method(sel<"sizeThatFits:">(), [](UIView* self, SEL, CGSize) { return self->frame.size; })
            .method(sel<"intrinsicContentSize">(), [](UIView*, SEL) { return CGSize{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric}; })
            .method(sel<"sizeToFit">(),
                    [](UIView* self, SEL) {
                        CGSize size = msg<CGSize>(self, sel<"sizeThatFits:">(), self->frame.size);
                        msg<void>(self, sel<"setFrame:">(), CGRect{self->frame.origin, size});
                    })
            // The tree
            .method(sel<"superview">(), [](UIView* self, SEL) -> id { return self->superview; })
            .method(sel<"subviews">(),
                    [](UIView* self, SEL) -> id {
                        std::vector<id> views(self->subviews.begin(), self->subviews.end());
                        return arrayWithObjects(views);
                    })
            .method(sel<"window">(), [](UIView* self, SEL) -> id { return windowOf(self); })
            .method(sel<"addSubview:">(),
                    [](UIView* self, SEL, UIView* view) { insertSubview(self, view, static_cast<long>(self->subviews.size())); })
            .method(sel<"insertSubview:atIndex:">(), [](UIView* self, SEL, UIView* view, long index) { insertSubview(self, view, index); })
            .method(sel<"bringSubviewToFront:">(),
                    [](UIView* self, SEL, UIView* view) {
                        if (view && view->superview == self) insertSubview(self, view, static_cast<long>(self->subviews.size()));
                    })
            .method(sel<"sendSubviewToBack:">(),
                    [](UIView* self, SEL, UIView* view) {
                        if (view && view->superview == self) insertSubview(self, view, 0);
                    })
            .method(sel<"removeFromSuperview">(), [](UIView* self, SEL) { removeFromSuperview(self); })
            .method(sel<"isDescendantOfView:">(), [](UIView* self, SEL, UIView* view) { return view && isInSubtree(view, self); })
            .method(sel<"willMoveToSuperview:">(), [](UIView*, SEL, id) {})
            .method(sel<"didMoveToSuperview">(), [](UIView*, SEL) {})
            .method(sel<"willMoveToWindow:">(), [](UIView*, SEL, id) {})
            .method(sel<"didMoveToWindow">(), [](UIView*, SEL) {})
            .method(sel<"didAddSubview:">(), [](UIView*, SEL, id) {})
            .method(sel<"willRemoveSubview:">(), [](UIView*, SEL, id) {})
            .method(sel<"nextResponder">(),
                    [](UIView* self, SEL) -> id {
                        if (self->viewController) return self->viewController;
                        return self->superview;
                    })
            // Tags and visibility
            .method(sel<"tag">(), [](UIView* self, SEL) { return self->tag; })
            .method(sel<"setTag:">(), [](UIView* self, SEL, long tag) { self->tag = tag; })
            .method(sel<"viewWithTag:">(), [](UIView* self, SEL, long tag) -> id { return viewWithTag(self, tag); })
            .method(sel<"hidden">(), [](UIView* self, SEL) { return self->hidden; })
            // isHidden asks `hidden`, so a replacement of either getter is what readers see.
            .method(sel<"isHidden">(), [](UIView* self, SEL) { return msg<BOOL>(self, sel<"hidden">()); })
            .method(sel<"setHidden:">(),
                    [](UIView* self, SEL, BOOL hidden) {
                        self->hidden = hidden;
                        if (self->layer) self->layer->hidden = hidden;
                    })
            .method(sel<"alpha">(), [](UIView* self, SEL) { return self->alpha; })
            .method(sel<"setAlpha:">(),
                    [](UIView* self, SEL, double alpha) {
                        self->alpha = alpha;
                        if (self->layer) self->layer->opacity = static_cast<float>(alpha);
                    })
            .method(sel<"isOpaque">(), [](UIView* self, SEL) { return self->opaque; })
            .method(sel<"setOpaque:">(), [](UIView* self, SEL, BOOL opaque) { self->opaque = opaque; })
            .method(sel<"clipsToBounds">(), [](UIView* self, SEL) { return self->clipsToBounds; })
            .method(sel<"setClipsToBounds:">(), [](UIView* self, SEL, BOOL clips) { self->clipsToBounds = clips; })
            .method(sel<"isUserInteractionEnabled">(), [](UIView* self, SEL) { return self->userInteractionEnabled; })
            .method(sel<"setUserInteractionEnabled:">(), [](UIView* self, SEL, BOOL enabled) { self->userInteractionEnabled = enabled; })
            .method(sel<"contentMode">(), [](UIView* self, SEL) { return self->contentMode; })
            .method(sel<"setContentMode:">(), [](UIView* self, SEL, long mode) { self->contentMode = mode; })
            // Colours
            .method(sel<"backgroundColor">(), [](UIView* self, SEL) -> id { return self->backgroundColor.get(); })
            .method(sel<"setBackgroundColor:">(),
                    [](UIView* self, SEL, UIColor* color) {
                        self->backgroundColor = objc::retain(color);
                        layerOf(self)->setBackgroundColor(color ? color->cgColor : nullptr);
                    })
            .method(sel<"tintColor">(),
                    [](UIView* self, SEL) -> id {
                        if (self->tintColor) return self->tintColor.get();
                        if (self->superview) return msg<id>(self->superview, sel<"tintColor">());
                        return systemTintColor();
                    })
            .method(sel<"setTintColor:">(),
                    [](UIView* self, SEL, UIColor* color) {
                        self->tintColor = objc::retain(color);
                        sendTintColorDidChange(self);
                    })
            .method(sel<"tintColorDidChange">(), [](UIView*, SEL) {})
            .method(sel<"layer">(), [](UIView* self, SEL) -> id { return layerOf(self); })
            .method(sel<"traitCollection">(),
                    [](UIView* self, SEL) -> id { return UITraitCollection::forScreenOf(self); })
            // Layout and display
            .method(sel<"setNeedsLayout">(), [](UIView* self, SEL) { self->needsLayout = true; })
            .method(sel<"layoutIfNeeded">(), [](UIView* self, SEL) { layoutIfNeeded(self); })
            .method(sel<"layoutSubviews">(), [](UIView*, SEL) {})
            .method(sel<"setNeedsDisplay">(), [](UIView*, SEL) {})
            .method(sel<"drawRect:">(), [](UIView*, SEL, CGRect) {})
            .registerClass();
}

}  // namespace platform::uikit
