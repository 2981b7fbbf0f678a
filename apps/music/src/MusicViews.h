// Behaviour of the few Music-app classes that do more than their UIKit superclass.
#pragma once

#include <objc/runtime.h>

namespace music {

// Each adds a class's own instance variables and methods; they run after the class pair is
// allocated and before it is registered, since instance variables can only be added then.

// Music.ArtworkComponentImageView: an image view showing the art as its own image, outlined
// by a hairline in its tint colour whenever that changes.
void addArtworkView(Class cls);
// Music.IndexBar: its letter labels take its tint colour at each layout pass.
void addIndexBar(Class cls);
// Music.SearchTextField and MusicTextField: a template magnifier glyph at the trailing end,
// made on the first layout pass.
void addGlyphField(Class cls);
// Music.Text.StackView: lays its subviews out one under the other.
void addTextStack(Class cls);
// Music.Text.Drawing.View: `text`, `setFont:`, `setTextColor:`, and a drawRect: that draws the
// text with NSString's drawWithRect:options:attributes:context:.
void addTextDrawingView(Class cls);
// Music.CircleView: the fill colour in the strong instance variable "fillColor", read by
// `fillColor`, written by `setFillColor:` and drawn as a filled circle by drawRect:.
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
