#include "platform/qt/LockKeys.h"

#include <QGuiApplication>

#if defined(QUILLET_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace quillet::platform {

std::optional<LockKeyState> ReadLockKeys()
{
#if defined(QUILLET_HAVE_XCB) && QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return std::nullopt;
    // The pointer query reports the modifier state, lock modifiers included.
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    if (!reply)
        return std::nullopt;
    LockKeyState state;
    state.capsLock = (reply->mask & XCB_MOD_MASK_LOCK) != 0;
    // Num Lock sits on the second modifier on every common keyboard map.
    state.numLock = (reply->mask & XCB_MOD_MASK_2) != 0;
    std::free(reply);
    return state;
#else
    return std::nullopt;
#endif
}

}  // namespace quillet::platform
