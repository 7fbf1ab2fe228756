// File names from the command line reach the core as the system's bytes.
#include "main/application.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

TEST(ArgumentPath, IsTheArgumentsOwnBytes)
{
    // Bytes that are no UTF-8: Qt's text for them names another file.
    const char picture[] = "/tmp/\xB2\xE2\xCA\xD4.jpg";
    const char folder[] = "/data/\xFF";
    const struct {
        std::vector<const char *> argv;
        QString text; // as the parser hands it over
        std::string bytes;
    } cases[] = {
        {{"pigmora", picture}, QFile::decodeName(picture), picture},
        {{"pigmora", "--data-dir", folder, picture}, QFile::decodeName(folder), folder},
        {{"pigmora", "--data-dir=/data/\xFF", picture}, QFile::decodeName(folder), folder},
        {{"pigmora", "--no-splash", "/tmp/照片.jpg"}, QStringLiteral("/tmp/照片.jpg"), "/tmp/照片.jpg"},
        {{"pigmora"}, QStringLiteral("/tmp/照片.jpg"), "/tmp/照片.jpg"}, // not found: the text's bytes
    };
    for (const auto &c : cases) {
        const std::filesystem::path path = argumentPath(c.text, static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(path.native(), c.bytes) << c.text.toStdString();
    }
    EXPECT_NE(pathOf(QFile::decodeName(picture)).native(), picture) << "why the arguments' bytes are needed";
    EXPECT_EQ(pathText(std::filesystem::path("/tmp/照片.jpg")), QStringLiteral("/tmp/照片.jpg"));
}

} // namespace
} // namespace pigmora::ui
