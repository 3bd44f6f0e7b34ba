#pragma once

#include <QObject>

class QModelIndex;
class QRadioButton;

namespace albivex {

struct AppContext;

// The user's gestures on the photo list: ticks are counted in the status bar, a click
// previews the picture, a right click pops up the picture menu. "全选" and "取消" tick
// or clear every row of whichever list is shown, then reset themselves so that they
// can be clicked again at once.
class PhotoListViewController : public QObject
{
    Q_OBJECT
public:
    explicit PhotoListViewController(AppContext &ctx, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutColumns();
    void countChecks();
    void preview(const QModelIndex &index);
    void checkAll(QRadioButton *option, bool checked);

    AppContext &m_ctx;
};

} // namespace albivex
