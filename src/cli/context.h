#pragma once

#include "data/colormanager.h"
#include "data/notifier.h"
#include "data/standardcolorcard.h"
#include "store/datafolder.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora::cli {

enum ExitStatus {
    kExitOk = 0,
    kExitFailure = 1, // bad input or missing data: one line on stderr says what
    kExitUsage = 2, // unknown command or option, missing argument
};

struct Io {
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
    bool outIsTerminal = false; // binary output is never sent there
};

// The stores' message boxes become lines on stderr; questions are answered
// No. Messages are held until the command fails, which joins them with its
// reason into one line, or ends, which prints each on a line of its own.
class StderrNotifier final : public Notifier
{
public:
    explicit StderrNotifier(std::ostream &err)
        : m_err(err)
    { }
    ~StderrNotifier() override;
    void showMessage(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;
    // The held messages joined by "; " (empty when none), now forgotten.
    std::string takeHeld();

private:
    std::ostream &m_err;
    std::vector<std::string> m_held;
};

// The data a command works on, prepared the way the desktop program prepares
// it when its main window is created.
class Session
{
public:
    explicit Session(std::unique_ptr<DataFolder> folder)
        : m_folder(std::move(folder))
    { }

    CColorManager &colors() { return *m_folder->colors(); }
    int mixingMode() const { return m_folder->settings().mixingMode; }
    const DataFolder &folder() const { return *m_folder; }

private:
    std::unique_ptr<DataFolder> m_folder;
};

// Everything a command needs: the streams, the data folder, and the session
// and colour cards, made on first use.
class Context
{
public:
    Context(Io io, std::filesystem::path dataDir);
    ~Context();

    Io io;
    const std::filesystem::path &dataDir() const { return m_dataDir; }
    Notifier &notifier() { return m_notifier; }

    // Prepares the data folder on first call. Null (the reason printed) when
    // the folder cannot be prepared.
    Session *session();
    // Only creates the data files that are missing ("init").
    Status createMissingFiles();
    // The mixing mode the configuration file names (0 when it has none or
    // cannot be read); creates nothing.
    int configuredMixingMode();
    const CStandardColorCard &cards();

    // Prints "pigmora-cli: <message>" on stderr, after the stores' messages
    // held so far on the same line, and returns kExitFailure.
    int fail(std::string_view message);
    // A line on stderr that is no failure (a note about a row).
    void note(std::string_view message);

private:
    std::filesystem::path m_dataDir;
    StderrNotifier m_notifier;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<CStandardColorCard> m_cards;
};

} // namespace pigmora::cli
