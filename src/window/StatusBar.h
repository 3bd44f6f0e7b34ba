#pragma once

#include <QWidget>

class QLabel;

namespace albivex {

// The status bar: six fixed panels. Panel 2 is the status text, panel 3 the
// version, panel 5 lies under the progress bar.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PanelCount = 6;

    explicit StatusBar(QWidget *parent = nullptr);

    QLabel *panel(int oneBased) const { return m_panels[oneBased - 1]; }
    void setPanelText(int oneBased, const QString &text);
    // Panel 2.
    void setStatusText(const QString &text) { setPanelText(2, text); }
    QString statusText() const { return panelText(2); }
    QString panelText(int oneBased) const;

private:
    QLabel *m_panels[PanelCount] = {};
};

} // namespace albivex
