// PSSpecifier: one row of a settings page, its properties, and the target that reads, writes or acts for it.
#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>

// The phone's cell types, with its numbering.
enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

// Selectors:
//   + (id)preferenceSpecifierNamed:(NSString*)target:(id)set:(SEL)get:(SEL)detail:(Class)cell:(long)edit:(Class)
//   + (id)groupSpecifierWithName:(NSString*), + (id)emptyGroupSpecifier
//   - (id)propertyForKey:(id), setProperty:(id)forKey:(id) (nil removes), removePropertyForKey:(id), (id)properties
//   - (id)name, setName:, (id)identifier, setIdentifier:, (long)cellType, setCellType:(long)
//   - (id)target, setTarget:(id), (SEL)getter, (SEL)setter, setGetter:(SEL), setSetter:(SEL)
//   - (Class)detailControllerClass, setDetailControllerClass:(Class), (SEL)buttonAction, setButtonAction:(SEL)
//   - (id)values, (id)titleDictionary, setValues:(id NSArray)titles:(id NSArray)
//   - (id)performGetter          the target's getter with this specifier; nil without one
//   - performSetterWithValue:(id) the target's setter with the value and this specifier
// The target is not retained: the controller that owns a page's specifiers is their target.
class PSSpecifier : public NSObject {
public:
    static Class class_();

    objc::Strong<NSMutableDictionary> properties;
    objc::Strong<NSString> name;
    objc::Strong<NSString> identifier;
    long cellType = PSGroupCell;
    id target = nullptr;  // weak
    SEL getter = nullptr;
    SEL setter = nullptr;
    SEL buttonAction = nullptr;
    Class detailControllerClass = nullptr;
    Class editPaneClass = nullptr;
    objc::Strong<NSArray> values;
    objc::Strong<NSDictionary> titleDictionary;

    // The property's value when it is a string, else nil (borrowed).
    NSString* stringProperty(const char* key) const;
};

namespace platform {

// Whether `target` implements `selector` with exactly the signature `types` (e.g. "v@:@"), so
// that a selector named by a specifier file can be sent without a signature mismatch.
bool respondsWithSignature(id target, SEL selector, const char* types);

// Runs the button action of `specifier` on its target: an action with no argument is sent
// as is, one that takes an argument receives the specifier. Returns false, sending nothing,
// when there is no action or target, or the target does not implement the action as a
// method returning nothing and taking no argument or one object.
bool performButtonAction(PSSpecifier* specifier);

}  // namespace platform
