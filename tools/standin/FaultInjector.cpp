#include "standin/FaultInjector.h"

#include <QMutexLocker>

namespace albivex::standin {

void FaultInjector::add(const FaultRule &rule)
{
    QMutexLocker lock(&m_mutex);
    m_rules.append(rule);
}

void FaultInjector::clear()
{
    QMutexLocker lock(&m_mutex);
    m_rules.clear();
}

QList<FaultRule> FaultInjector::rules() const
{
    QMutexLocker lock(&m_mutex);
    return m_rules;
}

FaultDecision FaultInjector::take(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    FaultDecision decision;
    for (auto it = m_rules.begin(); it != m_rules.end();) {
        const bool applies
            = it->times != 0 && it->matches(path) && (it->kind == FaultKind::Latency || !decision.rule);
        if (applies) {
            if (it->kind == FaultKind::Latency)
                decision.delayMs += it->delayMs;
            else
                decision.rule = *it;
            if (it->times > 0 && --it->times == 0) {
                it = m_rules.erase(it);
                continue;
            }
        }
        ++it;
    }
    return decision;
}

} // namespace albivex::standin
