// The view tree of a window as a theme author reads it: each view in drawing order with the colours and images it holds and the decisions behind them.
#pragma once

#include "../scene/TweakProbe.h"

#include <objc/objc.h>

#include <nlohmann/json.hpp>

#include <vector>

class UIView;

namespace obscuro::explain {

// Describes `window` and every view below it, in drawing order (a view, then its subviews back
// to front): {"window": {"width", "height"}, "views": [VIEW, ...]}, where VIEW is
//   "id"            the path of subview indexes from the window ("0" is the window, "0.2.1" the
//                   second subview of its third subview): the same view of the same screen has
//                   the same id in every run, with or without the product
//   "class", "runtimeClass"   NSStringFromClass and the runtime name
//   "frame"         [x, y, width, height] in window points
//   "hidden", "alpha", "clips", "tag"   as drawing reads them (hidden as `hidden` answers,
//                   alpha as the layer's opacity, clips from clipsToBounds or masksToBounds)
//   "parent"        the superview's id; null for the window
//   "owner"         the responder owner's class name (NSStringFromClass); null when the chain ends
//   "colours"       {NAME: {"value": COLOUR, "decisions": [DECISION, ...]}} for the colours it
//                   holds: "background" (stored, as its layer draws it) and "tint" (as `tintColor`
//                   answers) on every view; "text" on labels, text fields and text views (as
//                   `textColor` answers); "color" on activity indicators; "barTint",
//                   "unselectedItemTint" on bars; "separator" on table views; "layerBorder",
//                   "shapeFill", "shapeStroke" from its layer
//   "images"        {"image": {"value": {"image": IMAGE}, "decisions": [...]}} for image views (the
//                   image drawn) and buttons (the normal state's)
//   "decisions"     the decisions on this view, or on its layer, that set none of the above
//                   (layout passes, flags, the layer's compositing filter)
// A DECISION is decisionJson's. The decisions of a colour are those recorded on the view by the
// procedures that set or answer it, in the order they were made; of a getter's decisions only
// the last one, which answered the value shown. An image's decisions also take in the named-image
// decisions that produced it. `decisions` are the records taken from the library while the screen
// was built and drawn; the description reads getters, so their decisions are taken from `probe`
// once more before matching. Call inside the autorelease pool the records came from. A nil
// window gives {"window": null, "views": []}.
nlohmann::ordered_json describeWindow(UIView* window, std::vector<scene::DecisionRecord> decisions,
                                      const scene::TweakProbe* probe);

}  // namespace obscuro::explain
