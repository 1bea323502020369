// The game as a process on a real X server (Xvfb): it starts and shows the
// play scene, a second copy ends at once with 0, and closing the window (the
// desktop's close request, as a window manager sends it) ends it with 0; its
// start-up messages fit small desktops; on a Wayland desktop without X it
// shows the play scene too. Skipped where Xvfb (or the compositor) is not
// installed.

#include <X11/Xutil.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/storage/MRegistryStore.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SettingsSandbox.h"

namespace {

// An X server of its own on a free display; the display's name, or "" when
// none could be started.
class VirtualServer {
public:
    explicit VirtualServer(const char* geometry) {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            std::string fd = std::to_string(fds[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry, "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buffer[32] = {};
        std::size_t got = 0;
        while (got < sizeof buffer - 1) {
            ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
            if (buffer[got - 1] == '\n') break;
        }
        close(fds[0]);
        if (got > 1) display = ":" + std::string(buffer, got - 1);
    }
    ~VirtualServer() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    std::string display;

private:
    pid_t pid = -1;
};

// Xlib reached at run time, so that the suite needs no X library to link.
class XClient {
public:
    explicit XClient(const std::string& name) {
        library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        open = reinterpret_cast<decltype(open)>(dlsym(library, "XOpenDisplay"));
        closeDisplay = reinterpret_cast<decltype(closeDisplay)>(dlsym(library, "XCloseDisplay"));
        queryTree = reinterpret_cast<decltype(queryTree)>(dlsym(library, "XQueryTree"));
        fetchName = reinterpret_cast<decltype(fetchName)>(dlsym(library, "XFetchName"));
        internAtom = reinterpret_cast<decltype(internAtom)>(dlsym(library, "XInternAtom"));
        sendEvent = reinterpret_cast<decltype(sendEvent)>(dlsym(library, "XSendEvent"));
        flush = reinterpret_cast<decltype(flush)>(dlsym(library, "XFlush"));
        freeMemory = reinterpret_cast<decltype(freeMemory)>(dlsym(library, "XFree"));
        getAttributes = reinterpret_cast<decltype(getAttributes)>(dlsym(library, "XGetWindowAttributes"));
        getProperty = reinterpret_cast<decltype(getProperty)>(dlsym(library, "XGetWindowProperty"));
        getImage = reinterpret_cast<decltype(getImage)>(dlsym(library, "XGetImage"));
        // A window may go between listing it and asking about it: that is no failure.
        using ErrorHandler = int (*)(Display*, XErrorEvent*);
        if (auto setHandler = reinterpret_cast<ErrorHandler (*)(ErrorHandler)>(dlsym(library, "XSetErrorHandler")))
            setHandler([](Display*, XErrorEvent*) { return 0; });
        if (open && closeDisplay && queryTree && fetchName && internAtom && sendEvent && flush && freeMemory &&
            getAttributes && getProperty && getImage)
            display = open(name.c_str());
    }
    ~XClient() {
        if (display) closeDisplay(display);
        if (library) dlclose(library);
    }
    // The mapped top-level window titled title (0 when there is none).
    Window Find(const char* title) {
        Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (!queryTree(display, root, &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes{};
            if (Name(children[i]) == title && getAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
        }
        if (children) freeMemory(children);
        return found;
    }
    // The window's name, of any text type (message boxes name themselves in UTF-8).
    std::string Name(Window window) {
        char* name = nullptr;
        std::string text;
        if (fetchName(display, window, &name) && name) text = name;
        if (name) freeMemory(name);
        if (!text.empty()) return text;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (getProperty(display, window, 39 /* XA_WM_NAME */, 0, 256, False, AnyPropertyType, &type, &format, &count,
                        &after, &data) == Success &&
            data && format == 8)
            text.assign(reinterpret_cast<char*>(data), count);
        if (data) freeMemory(data);
        return text;
    }
    int Width(Window window) {
        XWindowAttributes attributes{};
        return getAttributes(display, window, &attributes) ? attributes.width : 0;
    }
    // What a window manager sends when the player clicks the close button.
    void RequestClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sendEvent(display, window, False, NoEventMask, &event);
        flush(display);
    }
    // The share of a grid of points, every 16 px of the screen's top-left w x h,
    // whose colour is the table's felt green.
    double FeltShare(int w, int h) {
        XImage* image = getImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), AllPlanes, ZPixmap);
        if (!image) return 0;
        int felt = 0, points = 0;
        for (int y = 0; y < h; y += 16)
            for (int x = 0; x < w; x += 16, ++points) {
                unsigned long pixel = XGetPixel(image, x, y);
                int red = static_cast<int>(pixel >> 16 & 0xFF), green = static_cast<int>(pixel >> 8 & 0xFF);
                felt += green > red + 20;
            }
        XDestroyImage(image);
        return static_cast<double>(felt) / points;
    }
    Display* display = nullptr;

private:
    void* library = nullptr;
    Display* (*open)(const char*) = nullptr;
    int (*closeDisplay)(Display*) = nullptr;
    Status (*queryTree)(Display*, Window, Window*, Window*, Window**, unsigned*) = nullptr;
    Status (*fetchName)(Display*, Window, char**) = nullptr;
    Atom (*internAtom)(Display*, const char*, Bool) = nullptr;
    Status (*sendEvent)(Display*, Window, Bool, long, XEvent*) = nullptr;
    int (*flush)(Display*) = nullptr;
    int (*freeMemory)(void*) = nullptr;
    Status (*getAttributes)(Display*, Window, XWindowAttributes*) = nullptr;
    int (*getProperty)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*, unsigned long*,
                       unsigned char**) = nullptr;
    XImage* (*getImage)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long, int) = nullptr;
};

// A Wayland compositor shown as a window of an X server (it has a seat there,
// which SDL needs), with its socket in runtime; 0 pid when none was started.
class NestedCompositor {
public:
    NestedCompositor(const std::string& display, const std::string& runtime, const char* socket) {
        if (access("/usr/bin/weston", X_OK) != 0) return;
        pid = fork();
        if (pid == 0) {
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            setenv("DISPLAY", display.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            unsetenv("WAYLAND_DISPLAY");
            std::string name = std::string("--socket=") + socket;
            execl("/usr/bin/weston", "weston", "--backend=x11-backend.so", name.c_str(), "--width=1024",
                  "--height=768", "--idle-time=0", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~NestedCompositor() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = 0;
};

template <typename Condition>
bool WaitFor(Condition condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

TEST(GameProcessOnX, ItShowsThePlaySceneRefusesASecondCopyAndEndsWithZeroWhenItsWindowIsClosed) {
    VirtualServer server("1024x768x24");
    if (server.display.empty()) GTEST_SKIP() << "Xvfb is not installed";
    XClient x(server.display);
    ASSERT_NE(x.display, nullptr);

    const std::string runtime = MakeTempFolder("runtime");
    const std::string config = MakeTempFolder("config");
    const ChildProcess::Environment environment = {
        {"DISPLAY", server.display},  {"WAYLAND_DISPLAY", ""},       {"SDL_VIDEODRIVER", "x11"},
        {"SDL_AUDIODRIVER", "dummy"}, {"XDG_RUNTIME_DIR", runtime},  {"XDG_CONFIG_HOME", config},
        {"ZANBOR_REPORT_STARTUP", "1"}, {"ZANBOR_SOUNDFONT", "none"},
        // Under the sanitizers the X client and GL driver libraries that SDL loads
        // and unloads keep a few allocations past exit; leaks of our own code are
        // checked by the in-process suites.
        {"ASAN_OPTIONS", "detect_leaks=0"}};

    ChildProcess game(BinaryFolder() + "/zanbor", environment);
    ASSERT_TRUE(WaitFor([&] { return game.Stderr().find("zanbor-startup first-frame") != std::string::npos; }, 30000))
        << game.Stderr();
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = x.Find("Zanbor")) != 0; }, 10000));

    ChildProcess second(BinaryFolder() + "/zanbor", environment);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_EQ(second.Stderr().find("first-frame"), std::string::npos);  // it never got that far
    EXPECT_TRUE(game.Running());

    x.RequestClose(window);
    EXPECT_EQ(game.Wait(15000), 0) << game.Stderr();
    RemoveTree(runtime);
    RemoveTree(config);
}

// The environment of a windowed start on display, with settings of its own
// (the X client and GL driver libraries keep a few allocations past exit under
// the sanitizers; leaks of our own code are checked by the in-process suites).
ChildProcess::Environment WindowedStartOn(const std::string& display, const std::string& runtime,
                                          const SettingsSandbox& settings) {
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("Fullscreen", 0, "Config");
    MRegistryStore::Free();
    return {{"DISPLAY", display},       {"WAYLAND_DISPLAY", ""},   {"SDL_VIDEODRIVER", "x11"},
            {"SDL_AUDIODRIVER", "dummy"}, {"XDG_RUNTIME_DIR", runtime}, {"XDG_CONFIG_HOME", settings.ConfigHome()},
            {"ZANBOR_SOUNDFONT", "none"}, {"ASAN_OPTIONS", "detect_leaks=0"}};
}

// A start-up message waits for its button; a termination signal still ends the program.
TEST(GameProcessOnX, ASigtermEndsTheProgramWhileAStartMessageIsUp) {
    VirtualServer server("640x480x24");
    if (server.display.empty()) GTEST_SKIP() << "Xvfb is not installed";
    XClient x(server.display);
    ASSERT_NE(x.display, nullptr);
    SettingsSandbox settings;
    const std::string runtime = MakeTempFolder("runtime");
    ChildProcess game(BinaryFolder() + "/zanbor", WindowedStartOn(server.display, runtime, settings));
    ASSERT_TRUE(WaitFor([&] { return x.Find("Error") != 0; }, 20000)) << game.Stderr();
    game.Signal(SIGTERM);
    EXPECT_EQ(game.Wait(10000), 0) << game.Stderr();
    RemoveTree(runtime);
}

// Fonts are looked up while the window system's decorations hold fontconfig
// caches of their own: the game must leave those alone.
TEST(GameProcessOnX, OnAWaylandDesktopWithoutXItShowsThePlaySceneAndEndsWithZeroOnSigterm) {
    VirtualServer server("1280x1024x24");
    if (server.display.empty()) GTEST_SKIP() << "Xvfb is not installed";
    XClient x(server.display);
    ASSERT_NE(x.display, nullptr);
    const std::string runtime = MakeTempFolder("runtime");
    const std::string config = MakeTempFolder("config");
    NestedCompositor compositor(server.display, runtime, "zanbor-test");
    if (compositor.pid == 0) GTEST_SKIP() << "weston is not installed";
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(runtime + "/zanbor-test"); }, 20000));

    ChildProcess game(BinaryFolder() + "/zanbor",
                      {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", "zanbor-test"}, {"SDL_VIDEODRIVER", "wayland"},
                       {"SDL_AUDIODRIVER", "dummy"}, {"XDG_RUNTIME_DIR", runtime}, {"XDG_CONFIG_HOME", config},
                       {"ZANBOR_REPORT_STARTUP", "1"}, {"ZANBOR_SOUNDFONT", "none"},
                       // The decoration and compositor client libraries keep allocations past exit.
                       {"ASAN_OPTIONS", "detect_leaks=0"}});
    ASSERT_TRUE(WaitFor([&] { return game.Stderr().find("zanbor-startup first-colour") != std::string::npos; }, 30000))
        << game.Stderr();
    // The compositor's output (its window at the server's top left) fills with the felt.
    EXPECT_TRUE(WaitFor([&] { return x.FeltShare(1024, 768) > 0.4; }, 10000)) << x.FeltShare(1024, 768);
    game.Signal(SIGTERM);
    EXPECT_EQ(game.Wait(15000), 0) << game.Stderr();
    RemoveTree(runtime);
    RemoveTree(config);
}

// The message boxes of a windowed start on a desktop too small (640 x 480) and
// on one of 256 colours (the warning, then full screen failing there too) are
// no wider than 60% of the desktop: their text is wrapped.
TEST(GameProcessOnX, StartMessagesFitTheDesktop) {
    struct Case {
        const char* geometry;
        int desktopWidth;
        std::vector<const char*> boxes;  // captions, in order
    };
    const Case cases[] = {{"640x480x24", 640, {"Error"}}, {"1024x768x8", 1024, {"Warning", "Error"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.geometry);
        VirtualServer server(c.geometry);
        if (server.display.empty()) GTEST_SKIP() << "Xvfb is not installed";
        XClient x(server.display);
        ASSERT_NE(x.display, nullptr);
        SettingsSandbox settings;
        const std::string runtime = MakeTempFolder("runtime");
        ChildProcess game(BinaryFolder() + "/zanbor", WindowedStartOn(server.display, runtime, settings));
        for (const char* caption : c.boxes) {
            Window box = 0;
            ASSERT_TRUE(WaitFor([&] { return (box = x.Find(caption)) != 0; }, 20000)) << caption << game.Stderr();
            EXPECT_LE(x.Width(box), c.desktopWidth * 6 / 10) << caption;
            x.RequestClose(box);
            ASSERT_TRUE(WaitFor([&] { return x.Find(caption) != box; }, 10000)) << caption;
        }
        EXPECT_EQ(game.Wait(15000), 0) << game.Stderr();
        RemoveTree(runtime);
    }
}

}  // namespace
