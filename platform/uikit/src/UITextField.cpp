// UITextField: text content, placeholder, border and input traits of a one-line text control.
#include "Collections.h"
#include "Keyboard.h"
#include "Registration.h"
#include "TextContent.h"

#include <Foundation/Foundation.h>
#include <UIKit/UITextField.h>

namespace {
Class gUITextField = nullptr;
}

Class UITextField::class_() { return gUITextField; }

UITextField::UITextField() : content(std::make_unique<platform::uikit::TextContent>()) {
    content->color = objc::retain(UIColor::colorWithWhite(0, 1));
    content->font = objc::retain(UIFont::systemFont(17));
}

UITextField::~UITextField() = default;

namespace platform::uikit {

void registerUITextField() {
    using objc::ClassBuilder;
    gUITextField =
        ClassBuilder<UITextField>("UITextField", UIControl::class_())
            .method(sel<"text">(), [](UITextField* self, SEL) -> id { return self->content->text.get(); })
            .method(sel<"setText:">(), [](UITextField* self, SEL, id text) { self->content->setText(text); })
            .method(sel<"attributedText">(), [](UITextField* self, SEL) { return self->content->attributedText(); })
            .method(sel<"setAttributedText:">(), [](UITextField* self, SEL, id text) { self->content->setAttributedText(text); })
            .method(sel<"textColor">(), [](UITextField* self, SEL) -> id { return self->content->color.get(); })
            .method(sel<"setTextColor:">(), [](UITextField* self, SEL, UIColor* color) { self->content->setColor(color); })
            .method(sel<"font">(), [](UITextField* self, SEL) -> id { return self->content->font.get(); })
            .method(sel<"setFont:">(), [](UITextField* self, SEL, UIFont* font) { self->content->font = objc::retain(font); })
            .method(sel<"textAlignment">(), [](UITextField* self, SEL) { return self->textAlignment; })
            .method(sel<"setTextAlignment:">(), [](UITextField* self, SEL, long alignment) { self->textAlignment = alignment; })
            .method(sel<"placeholder">(), [](UITextField* self, SEL) { return msg<id>(self->placeholder.get(), sel<"string">()); })
            .method(sel<"setPlaceholder:">(),
                    [](UITextField* self, SEL, id text) {
                        self->placeholder = nullptr;
                        if (text)
                            self->placeholder = objc::adopt(msg<id>(msg<id>(NSAttributedString::class_(), sel<"alloc">()),
                                                                    sel<"initWithString:">(), text));
                    })
            .method(sel<"attributedPlaceholder">(), [](UITextField* self, SEL) -> id { return self->placeholder.get(); })
            .method(sel<"setAttributedPlaceholder:">(), [](UITextField* self, SEL, id text) { self->placeholder = copyOf(text); })
            .method(sel<"borderStyle">(), [](UITextField* self, SEL) { return self->borderStyle; })
            .method(sel<"setBorderStyle:">(), [](UITextField* self, SEL, long style) { self->borderStyle = style; })
            .method(sel<"background">(), [](UITextField* self, SEL) -> id { return self->background.get(); })
            .method(sel<"setBackground:">(), [](UITextField* self, SEL, id image) { self->background = objc::retain(image); })
            .method(sel<"textInputTraits">(), [](UITextField* self, SEL) { return textInputTraits(self->traits); })
            .method(sel<"canBecomeFirstResponder">(), [](UITextField*, SEL) { return YES; })
            .method(sel<"becomeFirstResponder">(), [](UITextField* self, SEL) { return becomeFirstResponder(self); })
            .method(sel<"resignFirstResponder">(), [](UITextField* self, SEL) { return resignFirstResponder(self); })
            .method(sel<"isFirstResponder">(), [](UITextField* self, SEL) { return isFirstResponder(self); })
            .method(sel<"keyboardAppearance">(),
                    [](UITextField* self, SEL) { return msg<long>(textInputTraits(self->traits), sel<"keyboardAppearance">()); })
            .method(sel<"setKeyboardAppearance:">(),
                    [](UITextField* self, SEL, long appearance) {
                        msg<void>(textInputTraits(self->traits), sel<"setKeyboardAppearance:">(), appearance);
                    })
            .registerClass();
}

}  // namespace platform::uikit
