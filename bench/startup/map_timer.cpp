// Times a program from its launch to the moment the X server maps a top-level
// window of the given title, then ends the program. Wine's top-level windows
// are children of the root window (the benchmark's display runs no window
// manager), so their MapNotify reaches whoever listens on the root.
//
// Usage: map_timer TITLE TIMEOUT_SECONDS PROGRAM [ARGS...]
// Prints the seconds from just before the launch to the map; exits 1 (and
// prints nothing on stdout) when no such window appears in time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

double Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The window's title, from _NET_WM_NAME (UTF-8) or else WM_NAME.
std::string TitleOf(Display* display, Window window) {
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty()) return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }  // windows may go before we ask

void EndChild(pid_t child) {
    kill(child, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child) return;
        usleep(50000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: map_timer TITLE TIMEOUT_SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const double timeout = std::atof(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    if (child < 0) return 2;

    // Windows mapped before their title was seen: the title may come later.
    std::map<Window, double> mappedAt;
    double found = -1;
    int endStatus = -1;  // the program's wait status, when it ended before the map
    const int fd = ConnectionNumber(display);
    while (found < 0 && Now() - start < timeout) {
        if (!XPending(display)) {
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, 20);
            if (waitpid(child, &endStatus, WNOHANG) == child) break;  // it ended first
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        } else if (event.type == MapNotify && event.xmap.event == root) {
            const double at = Now();
            if (TitleOf(display, event.xmap.window) == wanted) found = at - start;
            else mappedAt[event.xmap.window] = at;
        } else if (event.type == PropertyNotify) {
            auto mapped = mappedAt.find(event.xproperty.window);
            if (mapped != mappedAt.end() && TitleOf(display, mapped->first) == wanted)
                found = mapped->second - start;
        } else if (event.type == UnmapNotify) {
            mappedAt.erase(event.xunmap.window);
        }
    }
    if (endStatus < 0 && waitpid(child, nullptr, WNOHANG) == 0) EndChild(child);
    XCloseDisplay(display);
    if (found < 0 && endStatus >= 0) {
        if (WIFSIGNALED(endStatus))
            std::fprintf(stderr, "map_timer: the program ended by signal %d before \"%s\" was mapped\n",
                         WTERMSIG(endStatus), wanted.c_str());
        else
            std::fprintf(stderr, "map_timer: the program ended with status %d before \"%s\" was mapped\n",
                         WEXITSTATUS(endStatus), wanted.c_str());
        return 1;
    }
    if (found < 0) {
        std::fprintf(stderr, "map_timer: no window \"%s\" within %.0f s\n", wanted.c_str(),
                     timeout);
        return 1;
    }
    std::printf("%.4f\n", found);
    return 0;
}
