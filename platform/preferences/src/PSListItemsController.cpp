// PSListItemsController: one checkable row per value of the parent's link-list specifier.
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSListItemsController.h>

namespace {

Class gPSListItemsController = nullptr;

using Self = PSListItemsController;

NSArray* itemSpecifiers(Self* self) {
    NSArray::Objects items;
    items.push_back(objc::retain(msg<id>(PSSpecifier::class_(), sel<"groupSpecifierWithName:">(), static_cast<id>(nullptr))));
    PSSpecifier* parent = self->specifier.get();
    if (parent && parent->values) {
        id current = msg<id>(parent, sel<"performGetter">());
        for (const auto& value : parent->values->objects()) {
            id title = parent->titleDictionary ? parent->titleDictionary->objectForKey(value) : nullptr;
            if (!object_isKindOfClass(title, NSString::class_())) title = msg<id>(value.get(), sel<"description">());
            auto* item = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                           static_cast<NSString*>(title), static_cast<id>(self), static_cast<SEL>(nullptr),
                                           static_cast<SEL>(nullptr), static_cast<Class>(nullptr), static_cast<long>(PSListItemCell),
                                           static_cast<Class>(nullptr));
            msg<void>(item, sel<"setProperty:forKey:">(), value.get(), static_cast<id>(NSSTR("value")));
            bool checked = current && msg<BOOL>(current, sel<"isEqual:">(), value.get());
            msg<void>(item, sel<"setProperty:forKey:">(), static_cast<id>(NSNumber::createBool(checked).get()),
                      static_cast<id>(NSSTR("checked")));
            items.push_back(objc::retain(static_cast<id>(item)));
        }
    }
    return objc::autorelease(NSArray::create(std::move(items)).release());
}

}  // namespace

Class PSListItemsController::class_() { return gPSListItemsController; }

namespace platform::preferences {

void registerPSListItemsController() {
    gPSListItemsController =
        objc::ClassBuilder<PSListItemsController>("PSListItemsController", PSListController::class_())
            .method(sel<"specifiers">(),
                    [](Self* self, SEL) -> id {
                        // Rebuilt on every call: the check mark follows the stored value.
                        self->_specifiers = objc::retain(itemSpecifiers(self));
                        return self->_specifiers.get();
                    })
            .method(sel<"selectItemAtIndex:">(),
                    [](Self* self, SEL, long index) -> BOOL {
                        PSSpecifier* parent = self->specifier.get();
                        if (!parent || !parent->values || index < 0 || static_cast<NSUInteger>(index) >= parent->values->count())
                            return NO;
                        msg<void>(parent, sel<"performSetterWithValue:">(), parent->values->objects()[index].get());
                        return YES;
                    })
            .registerClass();
}

}  // namespace platform::preferences
