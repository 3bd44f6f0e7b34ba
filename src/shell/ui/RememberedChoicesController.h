#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QWidget;

namespace albivex {

class ActivityLog;
struct RememberedChoices;

// Keeps the save folder, the quality, the naming option, the "只下载新照片" and
// "写入照片信息" boxes and
// the window's position from one run to the next. restoreFrom() puts back what the
// file holds once the start-up has set the opening values; from then on every change
// is written to the file shortly after it happens, and at once by save() (which the
// application calls when the program ends) and when the controller goes.
class RememberedChoicesController : public QObject
{
    Q_OBJECT
public:
    // Either box may be null while the window has no such box.
    RememberedChoicesController(ActivityLog &log, QWidget &window, QLineEdit &saveFolderEdit,
                                QComboBox &qualityCombo, QButtonGroup &namingGroup,
                                QAbstractButton *onlyNewBox, QAbstractButton *writeMetadataBox);
    ~RememberedChoicesController() override;

    // Reads `file` and shows its choices; a kept folder that is gone or cannot be
    // written, an index the box does not have and a position off every screen are
    // passed over, so that the opening value stays.
    void restoreFrom(const QString &file);
    // Writes the current choices now (nothing before restoreFrom()).
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(const RememberedChoices &choices);
    RememberedChoices current() const;
    void changed();

    ActivityLog &m_log;
    QWidget &m_window;
    QLineEdit &m_saveFolderEdit;
    QComboBox &m_qualityCombo;
    QButtonGroup &m_namingGroup;
    QAbstractButton *m_onlyNewBox;
    QAbstractButton *m_writeMetadataBox;
    QString m_file;
    // Gathers a burst of changes (typing a path, dragging the window) into one write.
    QTimer m_pendingWrite;
};

} // namespace albivex
