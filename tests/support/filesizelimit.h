#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kav {

// While it lives, no file this process writes may grow beyond the given size: the system cuts a
// write at the limit and refuses the next one ("File too large"), as a full disk does with "No
// space left on device". Real writes, nothing mocked; the process survives the signal the
// system sends with the refusal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The reason the system gives for a write past the limit.
    static constexpr const char* Reason = "File too large";

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace kav
