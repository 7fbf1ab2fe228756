#include "data/platform.h"

#include <cerrno>
#include <iconv.h>
#include <system_error>
#include <unistd.h>

namespace pigmora::platform {

namespace {

// One iconv descriptor per direction and thread, opened on first use: every
// record name passes through here (thousands at start-up), and opening a
// descriptor costs far more than converting a short name.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    { }
    ~Converter()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// One conversion of a whole text. With a replacement, undecodable input is
// skipped one byte at a time and the replacement written in its place.
std::optional<std::string> convert(const Converter &cd, std::string_view input, std::string_view replacement)
{
    if (!cd.isOpen())
        return std::nullopt;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr); // a fresh shift state

    std::string out;
    out.reserve(input.size() * 2 + 4);
    char buffer[256];
    // iconv's interface is not const-correct; it never writes through inbuf.
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (replacement.empty())
            return std::nullopt; // EILSEQ or EINVAL: not convertible
        out.append(replacement);
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr); // reset the shift state
    }
    char *outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
}

} // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8)
{
    thread_local const Converter toGbk("CP936", "UTF-8");
    return convert(toGbk, utf8, {});
}

std::string gbkToUtf8(std::string_view gbk)
{
    thread_local const Converter fromGbk("UTF-8", "CP936");
    return convert(fromGbk, gbk, "\xEF\xBF\xBD").value_or(std::string());
}

std::string_view cutGbk(std::string_view gbk, std::size_t maxBytes)
{
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[pos]);
        const std::size_t width = (lead >= 0x81 && lead <= 0xFE) ? 2 : 1;
        if (pos + width > maxBytes || pos + width > gbk.size())
            break;
        pos += width;
    }
    return gbk.substr(0, pos);
}

std::filesystem::path programFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

} // namespace pigmora::platform
