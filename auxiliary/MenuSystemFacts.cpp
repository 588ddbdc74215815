#include "auxiliary/MenuSystemFacts.h"

#include <cstdlib>
#include <memory>

#include <xcb/xcb.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "auxiliary/MenuColours.h"

namespace {

// Every compositing manager of an X screen owns this selection, with the
// screen number appended (EWMH).
constexpr char COMPOSITOR_SELECTION[] = "_NET_WM_CM_S";

struct CFreeReply
{
    void operator()(void* pReply) const { std::free(pReply); }
};

bool X11CompositorRuns()
{
    const auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (pX11 == nullptr || pX11->connection() == nullptr)
        return false;
    xcb_connection_t* pConnection = pX11->connection();
    // Qt connects to the screen $DISPLAY names; xcb reads it the same way.
    char* pszHost = nullptr;
    int nDisplay = 0;
    int nScreen = 0;
    if (xcb_parse_display(nullptr, &pszHost, &nDisplay, &nScreen) == 0)
        nScreen = 0;
    std::free(pszHost);
    const QByteArray strSelection = COMPOSITOR_SELECTION + QByteArray::number(nScreen);
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(pConnection, 0, quint16(strSelection.size()), strSelection.constData());
    const std::unique_ptr<xcb_intern_atom_reply_t, CFreeReply> pAtom(
        xcb_intern_atom_reply(pConnection, atomCookie, nullptr));
    if (!pAtom)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, CFreeReply> pOwner(
        xcb_get_selection_owner_reply(pConnection, xcb_get_selection_owner(pConnection, pAtom->atom), nullptr));
    return pOwner && pOwner->owner != XCB_NONE;
}

bool SystemDrawsMenuShadows()
{
    const QString strPlatform = QGuiApplication::platformName();
    // Wayland compositors always compose; menus get their shadows there.
    if (strPlatform.startsWith(QLatin1String("wayland")))
        return true;
    return strPlatform == QLatin1String("xcb") && X11CompositorRuns();
}

// Qt reports no desktop contrast setting here; a palette of pure black and
// pure white is what the high-contrast themes give.
bool PaletteHasMaximumContrast(const QPalette& palette)
{
    const QColor crWindow = palette.color(QPalette::Window).toRgb();
    const QColor crText = palette.color(QPalette::WindowText).toRgb();
    const auto bIsBlackOrWhite = [](const QColor& colour) { return colour == Qt::black || colour == Qt::white; };
    return bIsBlackOrWhite(crWindow) && bIsBlackOrWhite(crText) && crWindow != crText;
}

} // namespace

bool CMenuSystemFacts::FewColours() const
{
    return nScreenDepth <= MenuColours::PALETTE_SCREEN_DEPTH;
}

CMenuSystemFacts CMenuSystemFacts::Gather()
{
    CMenuSystemFacts facts;
    facts.bSystemShadows = SystemDrawsMenuShadows();
    facts.bHighContrast = PaletteHasMaximumContrast(QGuiApplication::palette());
    if (const QScreen* pScreen = QGuiApplication::primaryScreen())
        facts.nScreenDepth = pScreen->depth();
    return facts;
}
