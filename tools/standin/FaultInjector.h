#pragma once

#include "standin/FaultRule.h"

#include <QList>
#include <QMutex>

namespace albivex::standin {

// What the fault rules say about one request.
struct FaultDecision
{
    int delayMs = 0; // sum of the matching latency rules
    std::optional<FaultRule> rule; // the first matching rule of any other kind
};

// The fault rules in force. Thread-safe.
class FaultInjector
{
public:
    void add(const FaultRule &rule);
    void clear();
    // Decides for one request and uses up one of the `times` of every rule it applies.
    FaultDecision take(const QString &path);
    // Rules still in force.
    QList<FaultRule> rules() const;

private:
    mutable QMutex m_mutex;
    QList<FaultRule> m_rules;
};

} // namespace albivex::standin
