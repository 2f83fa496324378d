// Starts a program under the X server of DISPLAY and times it from outside:
// when its first top-level window is mapped, and when a window title holding
// the given text appears. Then it ends the program and reports its peak
// resident memory.
//
//   bench_watch_window TEXT PROGRAM [ARGS...]
//   -> shown_ms=123.4 title_ms=150.2 maxrss_kb=45678
//
// An empty TEXT waits for the mapped window only. The program is left
// running for SETTLE_MS more (default 500), so that the peak includes what
// it does right after, such as drawing the waveform. Exits 1 when nothing
// was seen within 60 seconds.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The window's title as UTF-8 (_NET_WM_NAME, else WM_NAME).
std::string titleOf(Display* d, Window w) {
    static const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 4096, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && type == utf8) {
        title.assign(reinterpret_cast<char*>(data), count);
    } else {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    if (data) XFree(data);
    return title;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }  // a window may vanish

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TEXT PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string text = argv[1];
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double shown = -1, titled = -1;
    Window window = 0;
    auto checkTitle = [&](Window w) {
        if (titled < 0 && !text.empty() && titleOf(d, w).find(text) != std::string::npos) titled = nowMs() - start;
    };
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    while (nowMs() - start < 60000 && (shown < 0 || (!text.empty() && titled < 0))) {
        if (XPending(d) == 0) {
            poll(&fd, 1, 50);
            if (waitpid(child, nullptr, WNOHANG) == child) break;  // it ended on its own
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapNotify && !e.xmap.override_redirect && window == 0) {
            shown = nowMs() - start;
            window = e.xmap.window;
            XSelectInput(d, window, PropertyChangeMask);
            checkTitle(window);
        } else if (e.type == PropertyNotify && e.xproperty.window == window) {
            checkTitle(window);
        }
    }
    const char* settle = std::getenv("SETTLE_MS");
    usleep(useconds_t((settle ? std::atoi(settle) : 500)) * 1000u);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("shown_ms=%.1f title_ms=%.1f maxrss_kb=%ld\n", shown, text.empty() ? shown : titled, usage.ru_maxrss);
    XCloseDisplay(d);
    return shown < 0 || (!text.empty() && titled < 0) ? 1 : 0;
}
