// Behaviour of the few Music-app classes that do more than their UIKit superclass.
#pragma once

#include <objc/runtime.h>

namespace music {

// Each adds a class's own instance variables and methods; they run after the class pair is
// allocated and before it is registered, since instance variables can only be added then.

// Music.CircleView: the fill colour in the strong instance variable "fillColor", read by
// `fillColor` and written by `setFillColor:`.
void addCircleView(Class cls);
// Views drawn by a shape layer (`layerClass` is CAShapeLayer).
void addShapeLayerView(Class cls);
// Music.PlayIntentControlsReusableView: `accessibilityPlayButton`, a UIButton made and added
// as a subview when first asked for.
void addPlayIntentControls(Class cls);
// AMPOnboardingViewController: `viewDidLoad` adds a backdrop view over the whole view and
// keeps it in the strong instance variable "backdropView", read by `backdropView`.
void addOnboardingController(Class cls);

}  // namespace music
