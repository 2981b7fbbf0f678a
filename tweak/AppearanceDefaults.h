// The UIKit appearance defaults the tweak sets once, at load.
#pragma once

namespace obscuro {

// Configures the appearance proxies with the ThemeState colours as they are now.
void configureAppearanceDefaults();

}  // namespace obscuro
