#include "store/dcfilebuffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

// An internal consistency check that stays on in release builds: it names the
// source file and the expression and stops the program.
#define DCFILEBUFFER_ASSERT(expr)                                                                                      \
    do {                                                                                                               \
        if (!(expr)) {                                                                                                 \
            std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", #expr, __FILE__, __LINE__);               \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace pigmora {

DCFileBuffer::DCFileBuffer()
    : m_buffer(std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(m_iBuffMax)))
{ }

DCFileBuffer::~DCFileBuffer()
{
    close();
}

bool DCFileBuffer::open(const std::filesystem::path &path)
{
    close();
    m_stream = std::fopen(path.c_str(), "rb");
    if (!m_stream)
        return false;
    m_path = path;
    m_open = true;
    return true;
}

int DCFileBuffer::descriptor() const
{
    return m_stream ? ::fileno(m_stream) : -1;
}

void DCFileBuffer::close()
{
    if (m_stream)
        std::fclose(m_stream);
    m_stream = nullptr;
    m_open = false;
    m_mode = ModeNone;
    m_fillCount = 0;
    m_iBuffOffset = 0;
}

int DCFileBuffer::seek(int offset, SeekOrigin origin)
{
    if (!m_open)
        return -1;
    m_mode = ModeNone;
    m_fillCount = 0;
    m_iBuffOffset = 0;
    const int whence = origin == SeekOrigin::Start ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (std::fseek(m_stream, offset, whence) != 0)
        return -1;
    const long position = std::ftell(m_stream);
    return position >= 0 && position <= INT_MAX ? static_cast<int>(position) : -1;
}

int DCFileBuffer::read(void *buffer, int n)
{
    if (!m_open || n < 0 || (n > 0 && !buffer))
        return -1;
    if (m_mode != ModeReading) {
        m_mode = ModeReading;
        m_fillCount = 0;
        m_iBuffOffset = 0;
    }
    auto *out = static_cast<std::uint8_t *>(buffer);
    int remaining = n;
    while (remaining > 0) {
        const int iLeftLen = m_fillCount - m_iBuffOffset;
        DCFILEBUFFER_ASSERT(iLeftLen >= 0);
        if (iLeftLen == 0) {
            m_fillCount
                = static_cast<int>(std::fread(m_buffer.get(), 1, static_cast<std::size_t>(m_iBuffMax), m_stream));
            m_iBuffOffset = 0;
            if (m_fillCount == 0)
                break;
        }
        const int step = std::min(remaining, m_fillCount - m_iBuffOffset);
        std::memcpy(out, m_buffer.get() + m_iBuffOffset, static_cast<std::size_t>(step));
        m_iBuffOffset += step;
        out += step;
        remaining -= step;
    }
    return n - remaining;
}

} // namespace pigmora
