// UITextView: text content, link attributes and input traits of a scrolling text view.
#include "Collections.h"
#include "Keyboard.h"
#include "Registration.h"
#include "TextContent.h"

#include <Foundation/Foundation.h>
#include <UIKit/UITextView.h>

namespace {
Class gUITextView = nullptr;
}

Class UITextView::class_() { return gUITextView; }

UITextView::UITextView() : content(std::make_unique<platform::uikit::TextContent>()) {
    content->font = objc::retain(UIFont::systemFont(12));
}

UITextView::~UITextView() = default;

namespace platform::uikit {

void registerUITextView() {
    using objc::ClassBuilder;
    gUITextView =
        ClassBuilder<UITextView>("UITextView", UIScrollView::class_())
            .method(sel<"text">(), [](UITextView* self, SEL) -> id { return self->content->text.get(); })
            .method(sel<"setText:">(), [](UITextView* self, SEL, id text) { self->content->setText(text); })
            .method(sel<"attributedText">(), [](UITextView* self, SEL) { return self->content->attributedText(); })
            .method(sel<"setAttributedText:">(), [](UITextView* self, SEL, id text) { self->content->setAttributedText(text); })
            .method(sel<"textColor">(), [](UITextView* self, SEL) -> id { return self->content->color.get(); })
            .method(sel<"setTextColor:">(), [](UITextView* self, SEL, UIColor* color) { self->content->setColor(color); })
            .method(sel<"font">(), [](UITextView* self, SEL) -> id { return self->content->font.get(); })
            .method(sel<"setFont:">(), [](UITextView* self, SEL, UIFont* font) { self->content->font = objc::retain(font); })
            .method(sel<"textAlignment">(), [](UITextView* self, SEL) { return self->textAlignment; })
            .method(sel<"setTextAlignment:">(), [](UITextView* self, SEL, long alignment) { self->textAlignment = alignment; })
            .method(sel<"linkTextAttributes">(),
                    [](UITextView* self, SEL) -> id {
                        if (self->linkTextAttributes) return self->linkTextAttributes.get();
                        id tint = msg<id>(self, sel<"tintColor">());
                        if (!tint) return objc::dict({});
                        return objc::dict({{NSForegroundColorAttributeName, tint}});
                    })
            .method(sel<"setLinkTextAttributes:">(),
                    [](UITextView* self, SEL, id attributes) { self->linkTextAttributes = copyOf(attributes); })
            .method(sel<"textInputTraits">(), [](UITextView* self, SEL) { return textInputTraits(self->traits); })
            .method(sel<"canBecomeFirstResponder">(), [](UITextView*, SEL) { return YES; })
            .method(sel<"becomeFirstResponder">(), [](UITextView* self, SEL) { return becomeFirstResponder(self); })
            .method(sel<"resignFirstResponder">(), [](UITextView* self, SEL) { return resignFirstResponder(self); })
            .method(sel<"isFirstResponder">(), [](UITextView* self, SEL) { return isFirstResponder(self); })
            .method(sel<"keyboardAppearance">(),
                    [](UITextView* self, SEL) { return msg<long>(textInputTraits(self->traits), sel<"keyboardAppearance">()); })
            .method(sel<"setKeyboardAppearance:">(),
                    [](UITextView* self, SEL, long appearance) {
                        msg<void>(textInputTraits(self->traits), sel<"setKeyboardAppearance:">(), appearance);
                    })
            .method(sel<"isEditable">(), [](UITextView* self, SEL) { return self->editable; })
            .method(sel<"setEditable:">(), [](UITextView* self, SEL, BOOL editable) { self->editable = editable; })
            .method(sel<"isSelectable">(), [](UITextView* self, SEL) { return self->selectable; })
            .method(sel<"setSelectable:">(), [](UITextView* self, SEL, BOOL selectable) { self->selectable = selectable; })
            .registerClass();
}

}  // namespace platform::uikit
