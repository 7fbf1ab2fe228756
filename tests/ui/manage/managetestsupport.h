#pragma once

#include "data/colormanager.h"
#include "data/platform.h"
#include "store/datafolder.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace pigmora::test {

// A data folder with the default files and a colour manager prepared as the
// hand-overs prepare theirs; messages go to the recorder.
class ManageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DataFolder folder(dir.path(), &notifier);
        ASSERT_TRUE(folder.createMissingFiles());
        colors = freshColors();
        notifier.clear();
    }

    std::unique_ptr<CColorManager> freshColors()
    {
        auto manager = std::make_unique<CColorManager>(dir.path(), &notifier);
        manager->buildBuiltInCatalogue();
        manager->loadColorGroups();
        return manager;
    }

    std::vector<std::string> boxNames() const
    {
        std::vector<std::string> names;
        colors->listColorBoxes(names);
        return names;
    }

    std::vector<std::string> paletteNames() const
    {
        std::vector<std::string> names;
        colors->listPalettes(names);
        return names;
    }

    TempDir dir;
    RecordingNotifier notifier;
    std::unique_ptr<CColorManager> colors;
};

inline void click(const QObject *parent, const char *name)
{
    if (auto *button = findControl<QAbstractButton>(parent, name))
        button->click();
}

inline QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

inline QString selectedText(const QListWidget *list)
{
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

inline QStringList qtList(const std::vector<std::string> &names)
{
    QStringList list;
    for (const std::string &name : names)
        list << QString::fromStdString(name);
    return list;
}

} // namespace pigmora::test
