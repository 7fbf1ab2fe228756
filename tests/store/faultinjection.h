#pragma once

#include "store/dcfile.h"

#include <cerrno>
#include <unistd.h>

namespace pigmora::test {

// Makes DCFile's reads, writes or flushes fail from a chosen call on, as a
// full disk, a failing disk or a file cut by someone else would, or stops
// the process at a chosen write or flush, as a kill or a power loss would.
// Restores the real calls when it goes out of scope.
class FaultInjection
{
public:
    FaultInjection()
    {
        s_active = this;
        setDCFileIo(&kIo);
    }
    ~FaultInjection()
    {
        setDCFileIo(nullptr);
        s_active = nullptr;
    }
    FaultInjection(const FaultInjection &) = delete;
    FaultInjection &operator=(const FaultInjection &) = delete;

    // The n-th write call from now (0: the next one) and every later one
    // writes nothing.
    void failWritesFrom(int n) { m_writesLeft = n; }
    // The n-th read call from now and every later one reads nothing.
    void failReadsFrom(int n) { m_readsLeft = n; }
    // Steps are the write and flush calls together, counted from now: the
    // n-th and every later one fails (a write with ENOSPC, a flush with EIO).
    void failStepsFrom(int n) { m_failStep = n; }
    // The process ends (_exit) just before its n-th step.
    void stopAtStep(int n) { m_stopStep = n; }
    int writeCalls() const { return m_writeCalls; }
    int steps() const { return m_steps; }

private:
    // True when this step is to fail.
    static bool step()
    {
        const int n = s_active->m_steps++;
        if (n == s_active->m_stopStep)
            ::_exit(0);
        return s_active->m_failStep >= 0 && n >= s_active->m_failStep;
    }
    static std::ptrdiff_t read(int fd, void *buffer, std::size_t n)
    {
        if (s_active->m_readsLeft >= 0 && s_active->m_readsLeft-- == 0) {
            s_active->m_readsLeft = 0;
            return 0;
        }
        return ::read(fd, buffer, n);
    }
    static std::ptrdiff_t write(int fd, const void *buffer, std::size_t n)
    {
        ++s_active->m_writeCalls;
        if (step()) {
            errno = ENOSPC;
            return -1;
        }
        if (s_active->m_writesLeft >= 0 && s_active->m_writesLeft-- == 0) {
            s_active->m_writesLeft = 0;
            return 0;
        }
        return ::write(fd, buffer, n);
    }
    static int sync(int fd)
    {
        if (step()) {
            errno = EIO;
            return -1;
        }
        return ::fsync(fd);
    }

    static constexpr DCFileIo kIo{read, write, sync};
    static inline FaultInjection *s_active = nullptr;
    int m_writesLeft = -1;
    int m_readsLeft = -1;
    int m_writeCalls = 0;
    int m_steps = 0;
    int m_failStep = -1;
    int m_stopStep = -1;
};

} // namespace pigmora::test
