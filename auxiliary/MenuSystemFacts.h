#pragma once

// What the desktop decides about menus, gathered once when menu styling
// starts; tests set the facts they need.
struct CMenuSystemFacts
{
    // A compositor or the window system already draws shadows under menus.
    bool bSystemShadows = false;
    // The user asked for maximum contrast: frames stay plain.
    bool bHighContrast = false;
    static constexpr int TRUE_COLOUR_DEPTH = 24;

    // Bits per pixel of the screen.
    int nScreenDepth = TRUE_COLOUR_DEPTH;

    // At most 256 colours: shadows cannot be shaded.
    bool FewColours() const;

    // Asks the running application's platform; needs a QGuiApplication.
    static CMenuSystemFacts Gather();
};
