#include "cli/context.h"

#include <ostream>

namespace pigmora::cli {

void StderrNotifier::showMessage(std::string_view text, MessageIcon)
{
    m_err << "pigmora-cli: " << text << '\n';
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
        fail(prepared.message());
        return nullptr;
    }
    m_session = std::make_unique<Session>(std::move(folder));
    return m_session.get();
}

Status Context::createMissingFiles()
{
    DataFolder folder(m_dataDir, &m_notifier);
    return folder.createMissingFiles();
}

const CStandardColorCard &Context::cards()
{
    if (!m_cards)
        m_cards = std::make_unique<CStandardColorCard>();
    return *m_cards;
}

int Context::fail(std::string_view message)
{
    io.err << "pigmora-cli: " << message << '\n';
    return kExitFailure;
}

} // namespace pigmora::cli
