#pragma once

#include <QLabel>
#include <QString>

#include <vector>

namespace pigmora::ui {

// The main window's status bar panels by number, for the controllers that
// write them: 0 mouse position, 1 RGB, 2 CMYK, 3 mixing mode.
class StatusPanels
{
public:
    void add(QLabel *panel) { m_panels.push_back(panel); }
    void setText(std::size_t panel, const QString &text)
    {
        if (panel < m_panels.size())
            m_panels[panel]->setText(text);
    }
    QString text(std::size_t panel) const { return panel < m_panels.size() ? m_panels[panel]->text() : QString(); }

private:
    std::vector<QLabel *> m_panels;
};

} // namespace pigmora::ui
