#pragma once

#include <QPixmap>
#include <QWidget>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace albivex {

class StatusBar;

// The main window: every control of the tool, in its opening state. It holds no
// behaviour of the features; the controllers connect to the controls they drive.
// Controls carry their names as objectNames (members of a control array get the
// index after an underscore).
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 981; // 14715 twips at 15 twips per pixel
    static constexpr int ClientHeight = 598; // 8970 twips

    explicit Form1(QWidget *parent = nullptr);

    // Panel 2 of the status bar.
    void setStatusText(const QString &text);
    QString statusText() const;

    // Custom title bar: index 1 "_", 2 "x", 3 "官方网站".
    QLabel *Label2_1 = nullptr;
    QLabel *Label2_2 = nullptr;
    QLabel *Label2_3 = nullptr;
    QLabel *aicAlphaImage1 = nullptr;

    QGroupBox *Frame1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *qqhao = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image3 = nullptr;

    QPushButton *Command1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command4 = nullptr;

    QTreeView *ListView1 = nullptr;
    QTreeView *ListView2 = nullptr;
    QPushButton *Command5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;

    QLabel *Image2 = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label3 = nullptr;
    QRadioButton *mm_0 = nullptr;
    QRadioButton *mm_1 = nullptr;
    QRadioButton *mm_2 = nullptr;
    QButtonGroup *mm = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;

    QLineEdit *Text1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command6 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;

    StatusBar *s1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // Album list popup menu and its items.
    QMenu *menu = nullptr;
    QAction *ckxc = nullptr;
    QAction *xz = nullptr;
    QAction *fz = nullptr;
    // Photo list popup menu and its items.
    QMenu *menu2 = nullptr;
    QAction *xiatp = nullptr;
    QAction *dktp = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildTitleBar();
    void buildAccountArea();
    void buildOptionsArea();
    void buildLists();
    void buildBottomArea();
    void buildMenus();

    QPixmap m_background;
};

} // namespace albivex
