#include "window/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace albivex {

namespace {
// Panel widths in twips, at 15 twips per pixel.
constexpr int PanelTwips[StatusBar::PanelCount] = {1440, 6780, 1440, 1000, 2500, 1440};
} // namespace

StatusBar::StatusBar(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QString texts[PanelCount] = {QStringLiteral("运行提示"),
                                       QStringLiteral("正在检测程序是否还有最新版本.."),
                                       QString(),
                                       QStringLiteral("工作进度"),
                                       QString(),
                                       QStringLiteral("Zorvane出品")};
    for (int i = 0; i < PanelCount; ++i) {
        auto *label = new QLabel(texts[i], this);
        label->setObjectName(QStringLiteral("s1_panel%1").arg(i + 1));
        label->setFixedWidth(PanelTwips[i] / 15);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
        m_panels[i] = label;
    }
    layout->addStretch(1);
}

void StatusBar::setPanelText(int oneBased, const QString &text)
{
    m_panels[oneBased - 1]->setText(text);
}

QString StatusBar::panelText(int oneBased) const
{
    return m_panels[oneBased - 1]->text();
}

} // namespace albivex
