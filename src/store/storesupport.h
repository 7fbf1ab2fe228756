#pragma once

#include "data/colormanager.h"
#include "data/notifier.h"
#include "data/platform.h"
#include "store/dcfile.h"
#include "store/safefile.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Helpers shared by the stores (not part of the core's interface).
namespace pigmora::store {

inline constexpr std::string_view kColorGroupFileName = "QorColorGroup.bin";
inline constexpr std::string_view kColorBoxFileName = "QorColorbox.bin";
inline constexpr std::string_view kPaletteFileName = "QorPalette.bin";

// Shows an error message (or another kind) when there is someone to tell.
inline void notify(Notifier *notifier, std::string_view text, MessageIcon icon = MessageIcon::Error)
{
    if (notifier)
        notifier->showMessage(text, icon);
}

// A default file is created as one transaction: one that could not be
// written completely never appears, so the next start creates it again; the
// creation failure is shown. Always false.
template<typename File>
bool abandonDefaultFile(File &file, Notifier *notifier, std::string_view message)
{
    file.cancelEdit();
    notify(notifier, message);
    return false;
}

// Ends a default file's creation: the complete file appears now.
template<typename File>
bool finishDefaultFile(File &file, Notifier *notifier, std::string_view message)
{
    if (file.commitEdit())
        return true;
    notify(notifier, message);
    return false;
}

// Opens a store's data file: false without a message when the file does not
// exist, false after showing failureMessage when it does not open.
template<typename File>
bool openStoreFile(File &file, const std::filesystem::path &path, Notifier *notifier, std::string_view failureMessage)
{
    if (!DCFile::exists(path))
        return false;
    if (file.open(path))
        return true;
    notify(notifier, failureMessage);
    return false;
}

// Why openStoreFile failed, for a caller that reports the reason.
template<typename File>
std::string openFailure(const File &file, const std::filesystem::path &path)
{
    if (!DCFile::exists(path))
        return path.filename().string() + ": no such file";
    return file.lastError().isOk() ? path.filename().string() + " cannot be opened" : file.lastError().message();
}

// Starts creating a store's default file unless something of that name
// exists (a dangling link too, which start-up reports) or the file's backup
// opens: a missing file whose backup opens lost its last version (a deleted
// file, an interrupted restore), and defaults made now would replace that
// backup at the next change, so start-up offers the backup instead. False
// without a message then, false after showing failureMessage when the file
// cannot be made. The caller fills it and ends with finishDefaultFile.
template<typename File>
bool createStoreFile(File &file, const std::filesystem::path &path, Notifier *notifier, std::string_view failureMessage)
{
    if (safefile::pathExists(path))
        return false;
    if (file.open(safefile::backupPath(safefile::resolveLinks(path)))) {
        file.close();
        return false;
    }
    if (file.beginCreate(path))
        return true;
    notify(notifier, failureMessage);
    return false;
}

// The first control character (U+0000-U+001F, U+007F) of a text, if any.
inline std::optional<unsigned char> controlCharacter(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return byte;
    }
    return std::nullopt;
}

// "U+001F": a control character as messages name it.
inline std::string controlCharacterText(unsigned char control)
{
    char code[8];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(control));
    return code;
}

// A name typed by people without the blanks and control characters around it.
inline std::string_view trimmedName(std::string_view text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A name from the interface (UTF-8) as the files store it (GBK). Nothing
// for a name GBK cannot hold or one with a control character (a NUL would
// cut it, a line break would split every listing).
inline std::optional<std::string> gbkName(std::string_view utf8)
{
    if (controlCharacter(utf8))
        return std::nullopt;
    return platform::utf8ToGbk(utf8);
}

// The stored name of the entry a listed name stands for. Names are listed as
// UTF-8, and a stored name that is not valid GBK (damaged, or written by
// something else) lists with U+FFFD; such an entry is found by the stored
// bytes whose listing equals the name (the first one, in listing order).
template<typename File>
std::optional<std::string> storedName(const File &file, std::string_view utf8)
{
    if (auto gbk = gbkName(utf8); gbk && file.hasEntry(*gbk))
        return gbk;
    std::vector<std::string> stored;
    if (!file.listStoredNames(stored))
        return std::nullopt;
    for (std::string &name : stored) {
        if (platform::gbkToUtf8(name) == utf8)
            return std::move(name);
    }
    return std::nullopt;
}

// The stored name of an existing entry, else the GBK form of a new name.
template<typename File>
std::optional<std::string> storedOrNewName(const File &file, std::string_view utf8)
{
    if (auto name = storedName(file, utf8))
        return name;
    return gbkName(utf8);
}

// Runs an edit of an open store file as one transaction: commits when edit
// returns true, drops every change otherwise.
template<typename File, typename Edit>
bool editStoreFile(File &file, Edit &&edit)
{
    if (!file.beginEdit())
        return false;
    if (!edit()) {
        file.cancelEdit();
        return false;
    }
    return file.commitEdit();
}

// The data of an entry that holds value records of recordSize bytes. Nothing
// when the entry is absent or cannot be read, or when its data length is not
// exactly value records (a damaged entry is read as nothing).
template<typename File>
std::optional<std::vector<std::uint8_t>> readRecordData(File &file, std::string_view name, std::size_t recordSize)
{
    const int value = file.entryValue(name);
    const long long bytes = static_cast<long long>(value) * static_cast<long long>(recordSize);
    if (value < 0 || bytes > INT_MAX)
        return std::nullopt;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bytes) + 1); // never a null buffer
    int length = static_cast<int>(bytes);
    if (!file.readData(name, buffer.data(), length) || length != bytes)
        return std::nullopt;
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

// The version of an entry as the open file holds it now (inside a
// transaction: as the working copy holds it): FNV-1a over its value, tag and
// data.
template<typename File>
CColorManager::StoredVersion entryVersion(File &file, std::string_view name)
{
    const int length = file.entryLength(name);
    if (length < 0)
        return {};
    std::uint64_t hash = 14695981039346656037ULL;
    auto mix = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 1099511628211ULL; };
    for (const std::int32_t field : {file.entryValue(name), file.entryTag(name), length}) {
        for (int shift = 0; shift < 32; shift += 8)
            mix(static_cast<std::uint8_t>(static_cast<std::uint32_t>(field) >> shift));
    }
    std::vector<std::uint8_t> data(static_cast<std::size_t>(length) + 1); // never a null buffer
    int read = length;
    if (file.readData(name, data.data(), read)) {
        for (int i = 0; i < read; ++i)
            mix(data[static_cast<std::size_t>(i)]);
    } else {
        mix(0xFF); // unreadable data: a version of its own
    }
    return {true, hash};
}

// Writes one named entry as a transaction on the file as it is now (read
// again under the folder's exclusive lock), unless the entry is no longer
// stored as the version loaded: then nothing is written and the outcome
// names the version found. write(storedName) makes the change.
template<typename File, typename Write>
CColorManager::SaveResult saveEntryIfUnchanged(File &file, std::string_view utf8Name,
                                               const CColorManager::StoredVersion &loaded, Write &&write)
{
    using Outcome = CColorManager::SaveResult::Outcome;
    CColorManager::SaveResult result;
    std::optional<std::string> name;
    const bool saved = editStoreFile(file, [&] {
        name = storedOrNewName(file, utf8Name);
        if (!name) {
            result.message = "the name cannot be stored (a control character, or a character GBK lacks)";
            return false;
        }
        const CColorManager::StoredVersion now = entryVersion(file, *name);
        if (now != loaded) {
            result.outcome = Outcome::ChangedOnDisk;
            result.version = now;
            return false;
        }
        return write(*name);
    });
    if (saved) {
        result.outcome = Outcome::Saved;
        result.version = entryVersion(file, *name);
    } else if (result.outcome == Outcome::Failed && result.message.empty()) {
        result.message = file.lastError().isOk() ? "the change could not be written" : file.lastError().message();
    }
    return result;
}

// Name-level operations shared by the colour box and palette stores; names
// arrive as UTF-8. False for a name GBK cannot hold.
template<typename File>
bool hasNamedEntry(File &file, std::string_view utf8Name)
{
    return storedName(file, utf8Name).has_value();
}

template<typename File>
bool renameNamedEntry(File &file, std::string_view oldName, std::string_view newName)
{
    const auto from = storedName(file, oldName);
    const auto to = gbkName(newName);
    return from && to && file.renameEntry(*from, *to);
}

// Deletes and always tells the outcome: success with the information icon.
template<typename File>
bool deleteNamedEntry(File &file, std::string_view utf8Name, Notifier *notifier, std::string_view deleted,
                      std::string_view failed)
{
    const auto name = storedName(file, utf8Name);
    const bool ok = name && file.deleteEntry(*name);
    notify(notifier, ok ? deleted : failed, ok ? MessageIcon::Information : MessageIcon::Error);
    return ok;
}

} // namespace pigmora::store
