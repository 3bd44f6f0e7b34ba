#include "qzone/TextPool.h"

namespace albivex {

QString TextPool::of(QStringView text)
{
    if (text.isEmpty())
        return QString();
    if (text.size() > MaxShared)
        return text.toString();
    if (const auto it = m_texts.constFind(text); it != m_texts.cend())
        return *it;
    return add(text.toString());
}

QString TextPool::of(QString text)
{
    if (text.isEmpty() || text.size() > MaxShared)
        return text;
    if (const auto it = m_texts.constFind(QStringView(text)); it != m_texts.cend())
        return *it;
    return add(std::move(text));
}

QString TextPool::add(QString text)
{
    // The key views the value's own characters, which no copy of it can change: a
    // copy that is modified detaches first.
    return *m_texts.insert(QStringView(text), text);
}

} // namespace albivex
