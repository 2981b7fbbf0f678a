// UIResponder: the base of views, view controllers and the application, linked by nextResponder.
#pragma once

#include <objc/NSObject.h>

// Selectors:
//   - (id)nextResponder      stock: nil; views, controllers, windows and the application override it
//   - (BOOL)canBecomeFirstResponder, becomeFirstResponder, resignFirstResponder, isFirstResponder
class UIResponder : public NSObject {
public:
    static Class class_();
};
