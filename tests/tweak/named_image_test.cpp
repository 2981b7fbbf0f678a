// Named images: which names keep the app's image, which are tinted, and the cached placeholders.
#include "GlyphHooks.h"
#include "GlyphImageCache.h"
#include "tweak_fixture.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>

namespace obscuro::testing {
namespace {

class NamedImageTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        createGlyphImageCache();
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(30, 30), false, 1.0);
        msg<void>(colour(0, 0, 0), sel<"setFill">());
        UIRectFill(CGRectMake(5, 5, 20, 20));
        loaded_ = objc::retain(UIGraphicsGetImageFromCurrentImageContext());
        UIGraphicsEndImageContext();
    }

    id named(const char* name) { return decideNamedImage(objc::str(name), loaded_.get()).outcome; }

    objc::Strong<objc_object> loaded_;
};

TEST_F(NamedImageTest, SomeNamesAlwaysKeepTheAppsImage) {
    for (const char* name : {"NowPlaying-Scrubber-Live", "PersonalMixPlayGlyph-Large", "xluminanceColorMap"})
        EXPECT_EQ(named(name), loaded_.get()) << name;
}

TEST_F(NamedImageTest, NowPlayingGlyphsAreTintedOnlyWithoutColorFlow) {
    EXPECT_NE(named("NowPlaying-Transport-Play"), loaded_.get());
    colorFlowMusicEnabled = true;
    EXPECT_EQ(named("NowPlaying-Transport-Play"), loaded_.get());
    EXPECT_NE(named("NowPlaying-Transport-Play-Small"), loaded_.get());  // equality, not containment
}

TEST_F(NamedImageTest, PlaceholdersShareCacheKeysByRule) {
    id missing = named("MissingArtworkMusicNote");
    EXPECT_EQ(named("MissingArtworkMusicNote-Large"), missing);
    id smartA = named("PlaylistSmartIcon-A");
    id smartB = named("PlaylistSmartIcon-B");
    EXPECT_NE(smartA, smartB);
    EXPECT_EQ(named("PlaylistSmartIcon-A"), smartA);
    CGSize size = msg<CGSize>(missing, sel<"size">());
    EXPECT_EQ(size.width, 630);
    EXPECT_EQ(msg<double>(missing, sel<"scale">()), 1.0);
}

TEST_F(NamedImageTest, PlaceholdersWithoutDarkPlaceholderAreTheAppsOwn) {
    useDarkPlaceholder = false;
    EXPECT_EQ(named("PlaylistAddIcon"), loaded_.get());
}

TEST_F(NamedImageTest, ThemeChangesDoNotReachComposedPlaceholders) {
    id before = named("PlaylistAddIcon-Theme");
    replaceMember(darkerBgColor, colour(1, 1, 1));
    EXPECT_EQ(named("PlaylistAddIcon-Theme"), before);
}

TEST_F(NamedImageTest, ProductOffAndNilImages) {
    enabled = false;
    EXPECT_EQ(named("Anything"), loaded_.get());
    enabled = true;
    EXPECT_EQ(decideNamedImage(objc::str("Anything"), nullptr).outcome, nullptr);
    EXPECT_NE(decideNamedImage(objc::str("MissingArtworkMusicNote"), nullptr).outcome, nullptr);
}

}  // namespace
}  // namespace obscuro::testing
