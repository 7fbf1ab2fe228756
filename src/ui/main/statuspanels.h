#pragma once

#include <QLabel>
#include <QString>

#include <vector>

namespace pigmora::ui {

// The main window's status bar panels by number, for the controllers that
// write them: 0 mouse position, 1 RGB, 2 CMYK, 3 mixing mode, 4 zoom step,
// 5 the picture's pixel, 6 the colour correction.
class StatusPanels
{
public:
    void add(QLabel *panel) { m_panels.push_back(panel); }
    void setText(std::size_t panel, const QString &text)
    {
        if (panel < m_panels.size())
            m_panels[panel]->setText(text);
    }
    // A panel shown only while it has something to say.
    void setShownText(std::size_t panel, const QString &text)
    {
        setText(panel, text);
        if (panel < m_panels.size())
            m_panels[panel]->setVisible(!text.isEmpty());
    }
    QString text(std::size_t panel) const { return panel < m_panels.size() ? m_panels[panel]->text() : QString(); }

private:
    std::vector<QLabel *> m_panels;
};

} // namespace pigmora::ui
