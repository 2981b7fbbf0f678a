// Making views in tests as app code does: alloc and initWithFrame:, owned by a strong reference.
#pragma once

#include <UIKit/UIView.h>

template <class T = UIView>
objc::Strong<T> newView(Class cls, CGRect frame = CGRectZero) {
    return objc::adopt(static_cast<T*>(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), frame)));
}
