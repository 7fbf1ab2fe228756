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

Session::Session(const std::filesystem::path &dataDir, Notifier &notifier)
    : m_colors(std::make_unique<CColorManager>(dataDir, &notifier))
{
    // Until the data files exist, the built-in catalogue and its provisional
    // colour box are what every command works on.
    m_colors->buildBuiltInCatalogue();
}

Context::Context(Io streams, std::filesystem::path dataDir)
    : io(streams)
    , m_dataDir(std::move(dataDir))
    , m_notifier(streams.err)
{
}

Context::~Context() = default;

Session *Context::session()
{
    if (!m_session)
        m_session = std::make_unique<Session>(m_dataDir, m_notifier);
    return m_session.get();
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
