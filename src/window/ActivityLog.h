#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace albivex {

// The activity log of the main window. Every line is "[" + time of day + "]" + message; writers add
// their lines, and the last line is then selected so that it scrolls into view.
class ActivityLog
{
public:
    static QString separator() { return QStringLiteral("*************************************************"); }

    explicit ActivityLog(QListWidget *list);

    // Adds one line and selects it.
    void add(const QString &message);
    // Adds several lines in a row, then selects the last one once.
    void add(const QStringList &messages);
    void clear();

    QStringList lines() const;

private:
    void append(const QString &message);
    void showLast();

    QListWidget *m_list;
};

} // namespace albivex
