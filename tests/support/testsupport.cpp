#include "support/testsupport.h"

#include "data/platform.h"
#include "store/folderlock.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
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

LockHolder::LockHolder(const std::filesystem::path &folder)
{
    int ready[2];
    int done[2];
    if (::pipe(ready) != 0 || ::pipe(done) != 0)
        return;
    m_child = ::fork();
    if (m_child == 0) {
        ::close(ready[0]);
        ::close(done[1]); // else the wait below never sees the parent close its end
        auto lock = FolderLock::acquire(folder, FolderLock::Mode::Exclusive);
        const char byte = lock ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        char wait = 0;
        (void)!::read(done[0], &wait, 1);
        ::_exit(0);
    }
    char byte = 0;
    m_holding = ::read(ready[0], &byte, 1) == 1 && byte == 1;
    m_done = done[1];
    ::close(ready[0]);
    ::close(ready[1]);
    ::close(done[0]);
}

LockHolder::~LockHolder()
{
    ::close(m_done);
    int status = 0;
    if (m_child > 0)
        ::waitpid(m_child, &status, 0);
}

} // namespace pigmora::test
