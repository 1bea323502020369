#pragma once
// While one lives, files of this process cannot grow past their first byte:
// the writes of the settings store fail as they would on a full disk.

#include <signal.h>
#include <sys/resource.h>

class FullDisk {
public:
    FullDisk() {
        previousSignal = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit full = previous;
        full.rlim_cur = 1;
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousSignal);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit previous{};
    sighandler_t previousSignal = SIG_DFL;
};
