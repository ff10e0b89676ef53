#pragma once

namespace cangshu {

// The look the application gives itself on every platform: the Fusion style and a CJK font.
// Call after the QApplication is made.
void applyApplicationLook();

} // namespace cangshu
