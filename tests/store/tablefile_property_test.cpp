// Long random sequences of edits against a std::map model: after every step
// the file on disk satisfies the container's invariants and holds exactly
// the model's entries; the file is reopened from disk regularly.
#include "data/platform.h"
#include "store/tablefile.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace pigmora {
namespace {

struct ModelEntry {
    int value = 0;
    int tag = 0;
    std::vector<std::uint8_t> data;
};

template<typename File>
class TableFileProperty
{
public:
    TableFileProperty(const TableFormat &format, bool keepsTag, std::uint32_t seed)
        : m_format(format)
        , m_keepsTag(keepsTag)
        , m_random(seed)
    { }

    void run(File &file, const std::filesystem::path &path, int steps)
    {
        ASSERT_TRUE(file.create(path));
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            applyRandomEdit(file);
            if (::testing::Test::HasFatalFailure())
                return;
            verify(file, path);
            if (::testing::Test::HasFailure())
                return;
            if (step % 25 == 24) {
                file.close();
                ASSERT_TRUE(file.open(path)) << file.lastError().message();
            }
        }
    }

private:
    // Names from a small alphabet so that adds collide with existing names,
    // with prefixes of each other, GBK characters and names longer than the
    // field (which are cut, so the model keys on the cut name).
    std::string randomName()
    {
        static const std::vector<std::string> parts{"a", "b", "ab", test::gbk("盒"), test::gbk("色"), "z", "0"};
        std::string name;
        const int pieces = 1 + static_cast<int>(m_random() % (m_random() % 8 == 0 ? 20 : 3));
        for (int i = 0; i < pieces; ++i)
            name += parts[m_random() % parts.size()];
        return name;
    }
    std::string stored(const std::string &name) const
    {
        return std::string(platform::cutGbk(name, static_cast<std::size_t>(m_format.nameField)));
    }
    std::vector<std::uint8_t> randomData()
    {
        std::vector<std::uint8_t> data(m_random() % 4 == 0 ? 0 : m_random() % 300);
        for (auto &b : data)
            b = static_cast<std::uint8_t>(m_random());
        return data;
    }
    std::string existingOrNew()
    {
        if (m_model.empty() || m_random() % 3 == 0)
            return randomName();
        auto it = m_model.begin();
        std::advance(it, static_cast<long>(m_random() % m_model.size()));
        return it->first;
    }

    void applyRandomEdit(File &file)
    {
        const std::string name = existingOrNew();
        const std::string key = stored(name);
        const bool present = m_model.count(key) > 0;
        const int tag = static_cast<int>(m_random() % 6);
        auto data = randomData();
        // The value counts records, so it never says more than the data holds.
        const int value
            = static_cast<int>(m_random() % (data.size() / static_cast<std::size_t>(m_format.valueUnit) + 1));
        switch (m_random() % 5) {
        case 0: { // add
            ASSERT_EQ(file.addEntry(name, value, data, tag), !present);
            if (!present)
                m_model[key] = {value, tag, data};
            break;
        }
        case 1: // delete
            ASSERT_TRUE(file.deleteEntry(name));
            m_model.erase(key);
            break;
        case 2: { // replace
            ASSERT_EQ(file.replaceEntry(name, value, data), present);
            if (present)
                m_model[key] = {value, m_keepsTag ? m_model[key].tag : 0, data};
            break;
        }
        case 3: { // rename
            const std::string newName = randomName();
            const bool ok = present && !m_model.count(stored(newName));
            ASSERT_EQ(file.renameEntry(name, newName), ok);
            if (ok) {
                m_model[stored(newName)] = m_model[key];
                m_model.erase(key);
            }
            break;
        }
        default: { // write
            ASSERT_TRUE(file.writeEntry(name, value, data, tag));
            m_model[key] = {value, present && !m_keepsTag ? 0 : (present ? m_model[key].tag : tag), data};
            break;
        }
        }
    }

    void verify(File &file, const std::filesystem::path &path)
    {
        const auto table = test::readRawTable(path, m_format);
        ASSERT_TRUE(test::tableInvariantsHold(table, m_format));
        ASSERT_EQ(table.entries.size(), m_model.size());
        auto expected = m_model.rbegin(); // descending
        for (const test::RawEntry &entry : table.entries) {
            ASSERT_EQ(entry.name, expected->first);
            EXPECT_EQ(entry.value, expected->second.value);
            EXPECT_EQ(entry.tag, expected->second.tag);
            EXPECT_EQ(table.dataOf(entry), expected->second.data);
            EXPECT_EQ(file.entryValue(entry.name), expected->second.value);
            ++expected;
        }
        if (!m_model.empty()) {
            const auto &[name, entry] = *m_model.begin();
            std::vector<std::uint8_t> buffer(entry.data.size() + 1);
            int length = static_cast<int>(buffer.size());
            ASSERT_TRUE(file.readData(name, buffer.data(), length));
            buffer.resize(static_cast<std::size_t>(length));
            EXPECT_EQ(buffer, entry.data);
        }
    }

    const TableFormat &m_format;
    bool m_keepsTag;
    std::mt19937 m_random;
    std::map<std::string, ModelEntry> m_model;
};

class TableFilePropertyTest : public ::testing::TestWithParam<std::uint32_t>
{ };

TEST_P(TableFilePropertyTest, ColorBoxFileMatchesTheModel)
{
    test::TempDir dir;
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    TableFileProperty<CColorBoxFile>(kColorBoxTableFormat, true, GetParam()).run(file, dir / "QorColorbox.bin", 1500);
}

TEST_P(TableFilePropertyTest, PaletteFileMatchesTheModel)
{
    test::TempDir dir;
    CPalettePanelFile file;
    TableFileProperty<CPalettePanelFile>(kPaletteTableFormat, false, GetParam() + 1000)
        .run(file, dir / "QorPalette.bin", 800);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableFilePropertyTest, ::testing::Values(1u, 2u, 3u));

} // namespace
} // namespace pigmora
