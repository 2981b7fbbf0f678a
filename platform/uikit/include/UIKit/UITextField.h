// UITextField: a control holding one line of editable text, a placeholder and input traits.
#pragma once

#include <UIKit/UIControl.h>

#include <memory>

namespace platform::uikit {
struct TextContent;
}

// Selectors:
//   - (id)text, setText:(id), (id)attributedText, setAttributedText:(id)
//   - (id)textColor, setTextColor:(id)   black by default; recolours attributed text
//   - (id)font, setFont:(id), (long)textAlignment, setTextAlignment:(long)
//   - (id)placeholder, setPlaceholder:(id), (id)attributedPlaceholder, setAttributedPlaceholder:(id)
//   - (long)borderStyle, setBorderStyle:(long), (id)background, setBackground:(id UIImage)
//   - (long)keyboardAppearance, setKeyboardAppearance:(long)   through its UITextInputTraits
//   - (id)textInputTraits, becomeFirstResponder, resignFirstResponder, isFirstResponder   the
//        keyboard of <UIKit/UIKeyboard.h>
class UITextField : public UIControl {
public:
    static Class class_();
    UITextField();
    ~UITextField() override;

    std::unique_ptr<platform::uikit::TextContent> content;
    objc::Strong<objc_object> placeholder;  // NSAttributedString
    objc::Strong<objc_object> background;
    objc::Strong<objc_object> traits;
    long textAlignment = 4;
    long borderStyle = 0;
};
