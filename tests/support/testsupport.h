#pragma once

#include "data/notifier.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace pigmora::test {

// Notifier that keeps every message and answers questions from a script
// (No once the script runs out).
class RecordingNotifier final : public Notifier
{
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        bool question;
    };

    void showMessage(std::string_view text, MessageIcon icon) override
    {
        m_messages.push_back({std::string(text), icon, false});
    }
    bool askYesNo(std::string_view text) override
    {
        m_messages.push_back({std::string(text), MessageIcon::Question, true});
        if (m_answers.empty())
            return false;
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::size_t askChoice(std::string_view text, std::span<const std::string> answers) override
    {
        m_messages.push_back({std::string(text), MessageIcon::Question, true});
        std::size_t answer = answers.empty() ? 0 : answers.size() - 1;
        if (!m_choices.empty()) {
            answer = std::min(m_choices.front(), answer);
            m_choices.pop_front();
        }
        return answer;
    }

    void scriptAnswers(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    // Answers of askChoice by index (none left: the last answer, cancel).
    void scriptChoices(std::initializer_list<std::size_t> choices) { m_choices.insert(m_choices.end(), choices); }
    const std::vector<Message> &messages() const { return m_messages; }
    std::vector<std::string> texts() const;
    void clear() { m_messages.clear(); }

private:
    std::vector<Message> m_messages;
    std::deque<bool> m_answers;
    std::deque<std::size_t> m_choices;
};

// Holds a data folder's exclusive lock in another process until destroyed.
class LockHolder
{
public:
    explicit LockHolder(const std::filesystem::path &folder);
    ~LockHolder();
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;
    bool holding() const { return m_holding; }

private:
    int m_child = -1;
    int m_done = -1;
    bool m_holding = false;
};

// A fresh empty folder below the system's temp folder, removed again when the
// object goes out of scope.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(const std::string &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for tests that inspect or damage data files.
std::vector<unsigned char> readFileBytes(const std::filesystem::path &path);
void writeFileBytes(const std::filesystem::path &path, const std::vector<unsigned char> &bytes);

// Text conversion shorthands for assertions on GBK record fields.
std::string gbk(std::string_view utf8);
std::string utf8(std::string_view gbkText);

} // namespace pigmora::test
