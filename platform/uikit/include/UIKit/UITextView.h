// UITextView: a scroll view of editable, possibly attributed text with link attributes.
#pragma once

#include <UIKit/UIScrollView.h>

#include <memory>

namespace platform::uikit {
struct TextContent;
}

// Selectors:
//   - (id)text, setText:(id), (id)attributedText, setAttributedText:(id)
//   - (id)textColor, setTextColor:(id)   nil by default (drawn black); recolours attributed text
//   - (id)font, setFont:(id), (long)textAlignment, setTextAlignment:(long)
//   - (id)linkTextAttributes            the dictionary set, else NSForegroundColorAttributeName
//                                       with the view's tint colour
//   - setLinkTextAttributes:(id)
//   - (long)keyboardAppearance, setKeyboardAppearance:(long)   through its UITextInputTraits
//   - (id)textInputTraits, becomeFirstResponder, resignFirstResponder, isFirstResponder   the
//        keyboard of <UIKit/UIKeyboard.h>, (BOOL)isEditable, setEditable:, (BOOL)isSelectable, setSelectable:
class UITextView : public UIScrollView {
public:
    static Class class_();
    UITextView();
    ~UITextView() override;

    std::unique_ptr<platform::uikit::TextContent> content;
    objc::Strong<objc_object> linkTextAttributes;
    objc::Strong<objc_object> traits;
    long textAlignment = 4;
    bool editable = true;
    bool selectable = true;
};
