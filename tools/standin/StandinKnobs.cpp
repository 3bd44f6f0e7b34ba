#include "standin/StandinKnobs.h"

#include <QMutexLocker>

namespace albivex::standin {

StandinKnobs::StandinKnobs() : m_versionText(QStringLiteral("morvith:V1.0|")), m_pictures(m_data) { }

void StandinKnobs::setVersionText(const QString &text)
{
    QMutexLocker lock(&m_mutex);
    m_versionText = text;
}

QString StandinKnobs::versionText() const
{
    QMutexLocker lock(&m_mutex);
    return m_versionText;
}

} // namespace albivex::standin
