#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QTimer>

#include <utility>

class QListWidget;

namespace albivex {

// The activity log of the main window. Every line is "[" + time of day + "]" + message; writers add
// their lines, and the last line is then selected so that it scrolls into view.
//
// The list lays all its lines out again whenever one is added. So it keeps its last
// MaxLines lines, or a log that grew with a long run would make every line added cost
// more (what a run ended with stays in the report it writes); and a writer that
// reports faster than anyone reads (a long album, picture by picture) adds its lines
// paced: they are shown together a few times a second, not one repaint each.
class ActivityLog
{
public:
    static QString separator() { return QStringLiteral("*************************************************"); }

    explicit ActivityLog(QListWidget *list);

    // Adds one line and selects it; paced lines still held are shown before it.
    void add(const QString &message);
    // Adds several lines in a row, then selects the last one once.
    void add(const QStringList &messages);
    // The same for lines written earlier, each group stamped with the time it was
    // written.
    void add(const QList<std::pair<QTime, QStringList>> &written);
    // Adds lines at once when none were shown in the last PaceMs, else holds them
    // (stamped with the time they were written) until PaceMs after the last shown.
    void addPaced(const QStringList &messages);
    // Shows the paced lines still held, if any: for a writer whose work has ended.
    void showHeld();
    // Empties the log, held lines too.
    void clear();

    // Every line, the held ones included.
    QStringList lines() const;

    static constexpr qint64 PaceMs = 50;

private:
    static constexpr int MaxLines = 5000;

    void append(const QString &message, const QTime &writtenAt);
    // Lets the oldest lines go past MaxLines, then selects the last line.
    void showLast();

    QListWidget *m_list;
    QList<std::pair<QTime, QStringList>> m_held;
    QElapsedTimer m_sinceShown; // since lines were last added to the list
    QTimer m_showTimer;
};

} // namespace albivex
