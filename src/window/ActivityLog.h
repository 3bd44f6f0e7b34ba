#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

#include <utility>

class QListWidget;

namespace albivex {

// The activity log of the main window. Every line is "[" + time of day + "]" + message; writers add
// their lines, and the last line is then selected so that it scrolls into view.
//
// The list keeps its last MaxLines lines: the list lays all its lines out again
// whenever one is added, so a log that grew with a long run would make every line
// added cost more. What a run ended with stays in the report it writes.
class ActivityLog
{
public:
    static QString separator() { return QStringLiteral("*************************************************"); }

    explicit ActivityLog(QListWidget *list);

    // Adds one line and selects it.
    void add(const QString &message);
    // Adds several lines in a row, then selects the last one once.
    void add(const QStringList &messages);
    // The same for lines written earlier, each group stamped with the time it was
    // written.
    void add(const QList<std::pair<QTime, QStringList>> &written);
    void clear();

    QStringList lines() const;

private:
    static constexpr int MaxLines = 5000;

    void append(const QString &message, const QTime &writtenAt);
    // Lets the oldest lines go past MaxLines, then selects the last line.
    void showLast();

    QListWidget *m_list;
};

} // namespace albivex
