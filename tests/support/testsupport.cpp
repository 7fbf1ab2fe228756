#include "support/testsupport.h"

#include "data/platform.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace pigmora::test {

std::vector<std::string> RecordingNotifier::texts() const
{
    std::vector<std::string> out;
    for (const Message &m : m_messages)
        out.push_back(m.text);
    return out;
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path()
        / ("pigmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::vector<unsigned char> readFileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::filesystem::path &path, const std::vector<unsigned char> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string gbk(std::string_view utf8Text)
{
    auto converted = platform::utf8ToGbk(utf8Text);
    if (!converted)
        throw std::invalid_argument("not representable in GBK");
    return *converted;
}

std::string utf8(std::string_view gbkText)
{
    return platform::gbkToUtf8(gbkText);
}

} // namespace pigmora::test
