// The choices of a link-list cell: one row per value, the stored one checked, a choice written through the parent's setter.
#include "preferences_fixture.h"

namespace preferences_test {
namespace {

class ListItemsTest : public PreferencesTest {};

TEST_F(ListItemsTest, OffersEachValueAndWritesTheChosenOne) {
    writePlist(kSettingsPath, objc::dict({{NSSTR("theme"), NSSTR("b")}}));
    auto controller = page();
    auto* choice = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                     static_cast<NSString*>(NSSTR("Theme")), static_cast<id>(controller.get()),
                                     sel<"setPreferenceValue:specifier:">(), sel<"readPreferenceValue:">(), PSListItemsController::class_(),
                                     static_cast<long>(PSLinkListCell), static_cast<Class>(nullptr));
    msg<void>(choice, sel<"setProperty:forKey:">(), static_cast<id>(NSSTR("theme")), static_cast<id>(NSSTR("key")));
    msg<void>(choice, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kDomain)), static_cast<id>(NSSTR("defaults")));
    msg<void>(choice, sel<"setValues:titles:">(), objc::array({NSSTR("a"), NSSTR("b"), NSSTR("c")}), objc::array({NSSTR("Alpha"), NSSTR("Beta")}));

    auto* items = msg<PSListController*>(controller.get(), sel<"controllerForSpecifier:">(), choice);
    ASSERT_TRUE(object_isKindOfClass(items, PSListItemsController::class_()));
    auto* rows = msg<NSArray*>(items, sel<"specifiers">());
    ASSERT_EQ(rows->count(), 4u) << "a group, then one row per value";
    std::vector<std::string> titles;
    std::vector<bool> checked;
    for (std::size_t i = 1; i < rows->count(); ++i) {
        auto* row = static_cast<PSSpecifier*>(rows->objects()[i].get());
        EXPECT_EQ(row->cellType, PSListItemCell);
        titles.push_back(objc::utf8(row->name.get()));
        checked.push_back(msg<BOOL>(row->properties->objectForKey(NSSTR("checked")), sel<"boolValue">()));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Alpha", "Beta", "c"})) << "a value without a title shows itself";
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false}));

    EXPECT_TRUE(msg<BOOL>(items, sel<"selectItemAtIndex:">(), 2L));
    EXPECT_EQ(objc::utf8(settings()->objectForKey(NSSTR("theme"))), "c");
    EXPECT_FALSE(msg<BOOL>(items, sel<"selectItemAtIndex:">(), 3L));
    EXPECT_FALSE(msg<BOOL>(items, sel<"selectItemAtIndex:">(), -1L));
    EXPECT_EQ(objc::utf8(settings()->objectForKey(NSSTR("theme"))), "c");
}

}  // namespace
}  // namespace preferences_test
