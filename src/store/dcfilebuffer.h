#pragma once

#include "store/dcfile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace pigmora {

// A buffered sequential reader with a 64000-byte buffer. The table files read
// their header and directory through it in one pass. It opens files for
// reading only: a read-only file can be read.
class DCFileBuffer
{
public:
    DCFileBuffer();
    ~DCFileBuffer();
    DCFileBuffer(const DCFileBuffer &) = delete;
    DCFileBuffer &operator=(const DCFileBuffer &) = delete;

    bool open(const std::filesystem::path &path);
    void close();
    bool isOpen() const { return m_open; }
    // The stream's file descriptor, -1 when closed.
    int descriptor() const;
    // Discards the buffered bytes; the stream position after the move, or -1.
    int seek(int offset, SeekOrigin origin);
    // Bytes delivered (fewer than n only at the end of the file), or -1 when
    // closed or n is negative.
    int read(void *buffer, int n);

private:
    enum Mode : int { ModeNone = 0, ModeReading = 1 };

    std::FILE *m_stream = nullptr;
    std::filesystem::path m_path;
    bool m_open = false;
    int m_iBuffMax = 64000;
    std::unique_ptr<std::uint8_t[]> m_buffer;
    int m_fillCount = 0;
    int m_iBuffOffset = 0;
    Mode m_mode = ModeNone;
};

} // namespace pigmora
