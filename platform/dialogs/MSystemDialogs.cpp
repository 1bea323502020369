// The system's dialogs: SDL message boxes, and the desktop's own file chooser
// (zenity, or kdialog on KDE) run as a child process.

#include <SDL.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dialogs/BDialog.h"
#include "platform/dialogs/MMessageText.h"
#include "platform/core/MStrings.h"

extern char** environ;

namespace {

struct Button {
    int result;
    const char* label;
};

std::vector<Button> ButtonsOf(unsigned style) {
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    default: return {{IDOK, "OK"}};
    }
}

Uint32 IconFlags(unsigned style) {
    unsigned icon = style & MB_ICONMASK;
    if (icon >= MB_ICONASTERISK) return SDL_MESSAGEBOX_INFORMATION;
    if (icon >= 0x20) return SDL_MESSAGEBOX_WARNING;
    if (icon != 0) return SDL_MESSAGEBOX_ERROR;
    return 0;
}

// While a box waits for its button nothing reads the quit that SDL queues for
// a termination signal: the program ends at once instead, as it would from
// the game (nothing is in progress while a box is up).
class EndOnSignalWhileShown {
public:
    EndOnSignalWhileShown() {
        struct sigaction end {};
        end.sa_handler = [](int) { _exit(0); };
        sigemptyset(&end.sa_mask);
        for (int i = 0; i < kSignals; ++i) sigaction(kHandled[i], &end, &previous[i]);
    }
    ~EndOnSignalWhileShown() {
        for (int i = 0; i < kSignals; ++i) sigaction(kHandled[i], &previous[i], nullptr);
    }
    EndOnSignalWhileShown(const EndOnSignalWhileShown&) = delete;
    EndOnSignalWhileShown& operator=(const EndOnSignalWhileShown&) = delete;

private:
    static constexpr int kSignals = 3;
    static constexpr int kHandled[kSignals] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction previous[kSignals] {};
};

// Whether program is an executable file in one of the PATH's folders.
bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Runs a chooser program; 1 with the path read from its output, 2 when the player
// cancelled, 3 when the program is not installed.
int RunChooser(const std::vector<std::string>& arguments, char* path, int pathSize) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 2;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = -1;
    int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return spawned == ENOENT ? 3 : 2;
    }
    std::string output;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // A shell's "command not found" also means the chooser is missing.
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return 3;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) return 2;
    if (output.size() >= static_cast<std::size_t>(pathSize)) return 2;  // a path the caller cannot hold
    MStrings::Copy(path, static_cast<std::size_t>(pathSize), output.c_str());
    return 1;
}

// The width of the desktop the box will stand on: the owner's, else the
// first; the smallest the game meets when it cannot be read.
int DesktopWidthFor(SDL_Window* owner) {
    constexpr int kSmallestDesktop = 640;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return kSmallestDesktop;
    const int display = owner ? SDL_GetWindowDisplayIndex(owner) : 0;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.w <= 0) return kSmallestDesktop;
    return mode.w;
}

bool OnKde() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop && std::strstr(desktop, "KDE") != nullptr;
}

class SystemDialogDriver : public MSystemDialogDriver {
public:
    int ShowMessage(SDL_Window* owner, const char* caption, const char* text, unsigned style) override {
        std::vector<Button> buttons = ButtonsOf(style);
        std::vector<SDL_MessageBoxButtonData> data;
        int defaultIndex = (style & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            Uint32 flags = 0;
            if (static_cast<int>(i) == defaultIndex) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
            if (i + 1 == buttons.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            data.push_back({flags, buttons[i].result, buttons[i].label});
        }
        SDL_MessageBoxData box{};
        box.flags = IconFlags(style) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
        box.window = owner;
        box.title = caption;
        // The box does not wrap its text: a long line would run off the desktop.
        const std::string lines = WrapMessageText(text ? text : "", MessageLineWidth(DesktopWidthFor(owner)));
        box.message = lines.c_str();
        box.numbuttons = static_cast<int>(data.size());
        box.buttons = data.data();
        int pressed = -1;
        int shown = -1;
        {
            EndOnSignalWhileShown endOnSignal;
            shown = SDL_ShowMessageBox(&box, &pressed);
        }
        if (shown == 0 && pressed >= 0) return pressed;
        // No desktop to show it on: say it on the terminal and take the default answer.
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return buttons[static_cast<std::size_t>(defaultIndex)].result;
    }

    int ChooseFile(SDL_Window*, bool save, const char* proposedName, const char* filterDescription,
                   const char* filterPattern, char* path, int pathSize) override {
        std::string name = proposedName ? proposedName : "";
        std::string description = filterDescription ? filterDescription : "";
        std::string pattern = filterPattern ? filterPattern : "";
        std::vector<std::string> zenity = {"zenity", "--file-selection", "--filename=" + name};
        if (save) zenity.push_back("--save");
        if (!pattern.empty()) zenity.push_back("--file-filter=" + description + " | " + pattern);
        std::vector<std::string> kdialog = {"kdialog", save ? "--getsavefilename" : "--getopenfilename",
                                            name.empty() ? "." : name};
        if (!pattern.empty()) kdialog.push_back(pattern + "|" + description);

        const std::vector<std::string>* order[2] = {&zenity, &kdialog};
        if (OnKde()) std::swap(order[0], order[1]);
        for (const auto* arguments : order) {
            int answer = RunChooser(*arguments, path, pathSize);
            if (answer != 3) return answer;
        }
        return 3;
    }

    bool HasFileChooser() override { return OnPath("zenity") || OnPath("kdialog"); }
};

SystemDialogDriver gSystemDriver;
MSystemDialogDriver* gDriver = &gSystemDriver;

}  // namespace

MSystemDialogDriver* GetSystemDialogDriver() { return gDriver; }

void SetSystemDialogDriver(MSystemDialogDriver* driver) { gDriver = driver ? driver : &gSystemDriver; }
