// UIBarButtonItem: the title, image, custom view and action of a navigation bar's button.
#include "Collections.h"
#include "Registration.h"

#include <UIKit/UIBarButtonItem.h>

namespace {

Class gUIBarButtonItem = nullptr;

id initItem(UIBarButtonItem* self, id title, UIImage* image, long style, id target, SEL action) {
    self->title = platform::uikit::copyOf(title);
    self->image = objc::retain(image);
    self->style = style;
    self->target = objc::retain(target);
    self->action = action;
    return self;
}

}  // namespace

Class UIBarButtonItem::class_() { return gUIBarButtonItem; }

namespace platform::uikit {

void registerUIBarButtonItem() {
    using objc::ClassBuilder;
    gUIBarButtonItem =
        ClassBuilder<UIBarButtonItem>("UIBarButtonItem", UIBarItem::class_())
            .method(sel<"initWithTitle:style:target:action:">(),
                    [](UIBarButtonItem* self, SEL, id title, long style, id target, SEL action) {
                        return initItem(self, title, nullptr, style, target, action);
                    })
            .method(sel<"initWithImage:style:target:action:">(),
                    [](UIBarButtonItem* self, SEL, UIImage* image, long style, id target, SEL action) {
                        return initItem(self, nil, image, style, target, action);
                    })
            .method(sel<"initWithCustomView:">(),
                    [](UIBarButtonItem* self, SEL, UIView* view) -> id {
                        self->customView = objc::retain(view);
                        return self;
                    })
            .method(sel<"customView">(), [](UIBarButtonItem* self, SEL) -> id { return self->customView.get(); })
            .method(sel<"style">(), [](UIBarButtonItem* self, SEL) { return self->style; })
            .method(sel<"target">(), [](UIBarButtonItem* self, SEL) -> id { return self->target.get(); })
            .method(sel<"action">(), [](UIBarButtonItem* self, SEL) { return self->action; })
            .method(sel<"tintColor">(), [](UIBarButtonItem* self, SEL) -> id { return self->tintColor.get(); })
            .method(sel<"setTintColor:">(), [](UIBarButtonItem* self, SEL, UIColor* color) { self->tintColor = objc::retain(color); })
            .registerClass();
}

}  // namespace platform::uikit
