#include "base/termination.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <thread>
#include <unistd.h>
#endif

#include <atomic>

namespace kav {

namespace {

std::atomic<void (*)()> requestedCallback{nullptr};

#ifdef _WIN32

BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: requestedCallback.load()(); return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // The system ends the process when this returns: the program gets the few seconds the
        // system grants to keep what it keeps at exit.
        requestedCallback.load()();
        Sleep(5000);
        return TRUE;
    default: return FALSE;
    }
}

bool install()
{
    return SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}

#else

// A signal handler may only write to a pipe; a thread of ours reads the other end and calls.
int requestPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestPipe[1], &byte, 1);
}

bool install()
{
    if (::pipe(requestPipe) != 0)
        return false;
    std::thread([] {
        char byte = 0;
        while (::read(requestPipe[0], &byte, 1) == 1)
            requestedCallback.load()();
    }).detach();
    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

#endif

} // namespace

bool callOnTerminationRequest(void (*requested)())
{
    static const bool installed = [requested] {
        requestedCallback = requested;
        return install();
    }();
    return installed;
}

} // namespace kav
