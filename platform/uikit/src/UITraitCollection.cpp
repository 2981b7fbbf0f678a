// UITraitCollection: immutable trait values; views and screens answer the phone's portrait traits.
#include "Registration.h"

#include <UIKit/UIScreen.h>
#include <UIKit/UITraitCollection.h>

namespace {

Class gUITraitCollection = nullptr;

UITraitCollection* newTraits() { return static_cast<UITraitCollection*>(class_createInstance(gUITraitCollection)); }

}  // namespace

Class UITraitCollection::class_() { return gUITraitCollection; }

UITraitCollection* UITraitCollection::forScreenOf(UIView*) {
    // Every window is on the main screen, held upright: a phone in portrait.
    UITraitCollection* traits = newTraits();
    traits->displayScale = UIScreen::mainScreenScale();
    traits->userInterfaceIdiom = 0;
    traits->horizontalSizeClass = 1;
    traits->verticalSizeClass = 2;
    return objc::autorelease(traits);
}

namespace platform::uikit {

void registerUITraitCollection() {
    using objc::ClassBuilder;
    gUITraitCollection =
        ClassBuilder<UITraitCollection>("UITraitCollection", NSObject::class_())
            .classMethod(sel<"traitCollectionWithDisplayScale:">(),
                         [](Class, SEL, double scale) -> id {
                             UITraitCollection* traits = newTraits();
                             traits->displayScale = scale;
                             return objc::autorelease(traits);
                         })
            .classMethod(sel<"traitCollectionWithUserInterfaceIdiom:">(),
                         [](Class, SEL, long idiom) -> id {
                             UITraitCollection* traits = newTraits();
                             traits->userInterfaceIdiom = idiom;
                             return objc::autorelease(traits);
                         })
            .method(sel<"displayScale">(), [](UITraitCollection* self, SEL) { return self->displayScale; })
            .method(sel<"userInterfaceIdiom">(), [](UITraitCollection* self, SEL) { return self->userInterfaceIdiom; })
            .method(sel<"horizontalSizeClass">(), [](UITraitCollection* self, SEL) { return self->horizontalSizeClass; })
            .method(sel<"verticalSizeClass">(), [](UITraitCollection* self, SEL) { return self->verticalSizeClass; })
            .method(sel<"isEqual:">(),
                    [](UITraitCollection* self, SEL, id other) {
                        if (!object_isKindOfClass(other, gUITraitCollection)) return NO;
                        auto* o = static_cast<UITraitCollection*>(other);
                        return self->displayScale == o->displayScale && self->userInterfaceIdiom == o->userInterfaceIdiom &&
                               self->horizontalSizeClass == o->horizontalSizeClass &&
                               self->verticalSizeClass == o->verticalSizeClass;
                    })
            .registerClass();
}

}  // namespace platform::uikit
