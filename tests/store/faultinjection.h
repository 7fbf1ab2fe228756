#pragma once

#include "store/dcfile.h"

#include <unistd.h>

namespace pigmora::test {

// Makes DCFile's reads or writes come up short from a chosen call on, as a
// full disk or a file cut by someone else would. Restores the real calls when
// it goes out of scope.
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
    int writeCalls() const { return m_writeCalls; }

private:
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
        if (s_active->m_writesLeft >= 0 && s_active->m_writesLeft-- == 0) {
            s_active->m_writesLeft = 0;
            return 0;
        }
        return ::write(fd, buffer, n);
    }

    static constexpr DCFileIo kIo{read, write, nullptr};
    static inline FaultInjection *s_active = nullptr;
    int m_writesLeft = -1;
    int m_readsLeft = -1;
    int m_writeCalls = 0;
};

} // namespace pigmora::test
