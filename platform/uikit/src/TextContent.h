// The text a label, text view or text field shows: plain or attributed, with its colour and font.
#pragma once

#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>

namespace platform::uikit {

// Plain text and attributed text are two views of one content: setting either replaces the
// other, as on the phone.
struct TextContent {
    objc::Strong<objc_object> text;        // NSString
    objc::Strong<objc_object> attributed;  // NSAttributedString, when the text was set attributed
    objc::Strong<UIColor> color;
    objc::Strong<UIFont> font;

    void setText(id string);
    void setAttributedText(id attributedString);
    // The stored attributed text, or the plain text with the font and colour as attributes
    // (autoreleased); nil without text.
    id attributedText() const;
    // A colour set on attributed content recolours all of it, as the phone's textColor does.
    void setColor(UIColor* newColor);
};

// The UITextInputTraits object kept in `slot`, made on first use (borrowed).
id textInputTraits(objc::Strong<objc_object>& slot);

}  // namespace platform::uikit
