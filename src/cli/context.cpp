#include "cli/context.h"

#include <ostream>

namespace pigmora::cli {

StderrNotifier::~StderrNotifier()
{
    for (const std::string &text : m_held)
        m_err << "pigmora-cli: " << text << '\n';
}

void StderrNotifier::showMessage(std::string_view text, MessageIcon)
{
    m_held.emplace_back(text);
}

std::string StderrNotifier::takeHeld()
{
    std::string joined;
    for (const std::string &text : m_held)
        joined += (joined.empty() ? "" : "; ") + text;
    m_held.clear();
    return joined;
}

bool StderrNotifier::askYesNo(std::string_view text)
{
    m_err << "pigmora-cli: " << text << " (No)\n";
    return false;
}

Context::Context(Io streams, std::filesystem::path dataDir)
    : io(streams)
    , m_dataDir(std::move(dataDir))
    , m_notifier(streams.err)
{ }

Context::~Context() = default;

Session *Context::session()
{
    if (m_session)
        return m_session.get();
    auto folder = std::make_unique<DataFolder>(m_dataDir, &m_notifier);
    if (const Status prepared = folder->prepare(); !prepared) {
        // What is wrong with the first unusable data file and what to do.
        fail(folder->problems().empty() ? prepared.message() : folder->problems().front().message());
        return nullptr;
    }
    m_session = std::make_unique<Session>(std::move(folder));
    return m_session.get();
}

Status Context::createMissingFiles()
{
    DataFolder folder(m_dataDir, &m_notifier);
    const Status created = folder.createMissingFiles();
    return created || folder.problems().empty() ? created : Status::error(folder.problems().front().message());
}

int Context::configuredMixingMode()
{
    const std::filesystem::path path = m_dataDir / CConfigManager::kFileName;
    if (!std::filesystem::is_regular_file(path))
        return 0;
    CConfigManager config(m_dataDir);
    config.open();
    std::int32_t mode = 0;
    return config.loadSysConfig() && config.getInt("ColorMixingMode", mode) ? mode : 0;
}

const CStandardColorCard &Context::cards()
{
    if (!m_cards)
        m_cards = std::make_unique<CStandardColorCard>();
    return *m_cards;
}

int Context::fail(std::string_view message)
{
    const std::string held = m_notifier.takeHeld();
    io.err << "pigmora-cli: " << held << (held.empty() ? "" : ": ") << message << '\n';
    return kExitFailure;
}

void Context::note(std::string_view message)
{
    io.err << "pigmora-cli: " << message << '\n';
}

} // namespace pigmora::cli
