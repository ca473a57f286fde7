#include "platform/qt/DisplayCheck.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#if defined(QUILLET_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace quillet::platform {

namespace {

// The value of a Qt option ("-name value" or "--name value"), or null.
const char* OptionValue(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] == '-' && arg[1] == '-')
            ++arg;
        if (std::strcmp(arg + 1, name) == 0 && arg[0] == '-')
            return argv[i + 1];
    }
    return nullptr;
}

bool X11Reachable(const char* display)
{
#if defined(QUILLET_HAVE_XCB)
    // A server that is just starting (or a busy one) may refuse for a moment.
    for (int attempt = 0; attempt < 10; ++attempt) {
        xcb_connection_t* connection = xcb_connect(display, nullptr);
        const bool reachable = connection && xcb_connection_has_error(connection) == 0;
        if (connection)
            xcb_disconnect(connection);
        if (reachable)
            return true;
        const char* named = display ? display : std::getenv("DISPLAY");
        if (!named || !*named)
            return false;
        usleep(100 * 1000);
    }
    return false;
#else
    return true;  // without the X library there is nothing to ask
#endif
}

bool WaylandReachable()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        return false;
    std::string path = name;
    if (path[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime)
            return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool reachable = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return reachable;
}

}  // namespace

bool DisplayReachable(int argc, char** argv)
{
    std::string platforms;
    if (const char* named = OptionValue(argc, argv, "platform"))
        platforms = named;
    else if (const char* environment = std::getenv("QT_QPA_PLATFORM"); environment && *environment)
        platforms = environment;
    else
        platforms = "xcb";
    // Qt takes the first platform of a ';' list that starts.
    std::size_t start = 0;
    while (start <= platforms.size()) {
        const std::size_t end = std::min(platforms.find(';', start), platforms.size());
        const std::string entry = platforms.substr(start, end - start);
        const std::string name = entry.substr(0, entry.find(':'));
        if (name == "xcb") {
            if (X11Reachable(OptionValue(argc, argv, "display")))
                return true;
        } else if (name == "wayland" || name.rfind("wayland-", 0) == 0) {
            if (WaylandReachable())
                return true;
        } else if (!name.empty()) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace quillet::platform
