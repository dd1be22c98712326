// The program's look: a compact Chinese sans-serif type, as the fixed
// geometry of the windows expects.
#pragma once

namespace varnok {

// Set the application font; call once after the application object exists.
void applyAppearance();

}  // namespace varnok
