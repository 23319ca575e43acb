// Starts a program on the X display and reports when its first top-level window is mapped
// and how much memory the program holds then: "<milliseconds> <resident kB> <window name>".
// It watches the root window's map events, so the program under test is not changed.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 30000;

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

std::string WindowName(xcb_connection_t* c, xcb_window_t w)
{
    auto cookie = xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    std::string name;
    if (reply) {
        name.assign(static_cast<const char*>(xcb_get_property_value(reply)), size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    return name.empty() ? "-" : name;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tallyx-bench-mapwatch PROGRAM [ARGS...]\n");
        return 64;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "tallyx-bench-mapwatch: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);   // the event mask is in place before the program starts

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[1], argv + 1);
        std::_Exit(127);
    }
    int status = 0;
    pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        xcb_generic_event_t* e;
        while ((e = xcb_poll_for_event(c)) != nullptr) {
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                if (!map->override_redirect) {
                    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                    const long kb = ResidentKb(pid);
                    std::printf("%.1f %ld %s\n", ms, kb, WindowName(c, map->window).c_str());
                    std::fflush(stdout);
                    std::free(e);
                    ::kill(pid, SIGTERM);
                    ::waitpid(pid, &status, 0);
                    xcb_disconnect(c);
                    return 0;
                }
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c) || ::waitpid(pid, &status, WNOHANG) == pid) break;
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kWaitMs)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::poll(&p, 1, 50);
    }
    std::fprintf(stderr, "tallyx-bench-mapwatch: %s mapped no window\n", argv[1]);
    xcb_disconnect(c);
    return 1;
}
