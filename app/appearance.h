// The program's look: a compact Chinese sans-serif type, as the fixed
// geometry of the windows expects, and a style that draws every frame whole
// at the screen's scaling.
#pragma once

namespace varnok {

// Set the application font and, where needed, the style; call once after
// the application object exists.
void applyAppearance();

}  // namespace varnok
