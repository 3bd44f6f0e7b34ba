#include "window/MainWindow.h"

#include "window/StatusBar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

// The pictures and the skin are compiled into the library; a static library's
// resources must be registered by name, outside any namespace.
static void registerAlbivexResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(albivex);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace albivex {

namespace {

template<typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setGeometry(geometry);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QTreeView *listView(QWidget *parent, const char *name)
{
    auto *view = named(new QTreeView(parent), name);
    view->setGeometry(10, 238, 961, 196);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    // Columns keep the widths the window gives them: no dragging of dividers,
    // no fitting by a double-click on a divider, no reordering.
    view->header()->setSectionResizeMode(QHeaderView::Fixed);
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(false);
    return view;
}

} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    registerAlbivexResources();
    m_background = QPixmap(QStringLiteral(":/albivex/background.png"));
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Albivex"));
    setFixedSize(ClientWidth, ClientHeight);
    buildTitleBar();
    buildAccountArea();
    buildOptionsArea();
    buildLists();
    buildBottomArea();
    buildMenus();
}

void Form1::buildTitleBar()
{
    aicAlphaImage1 = label(this, "aicAlphaImage1", QString(), QRect(8, 3, 300, 70)); // 4500 x 1050 twips
    aicAlphaImage1->setPixmap(QPixmap(QStringLiteral(":/albivex/logo.png")));
    Label2_3 = label(this, "Label2_3", QStringLiteral("官方网站"), QRect(868, 6, 60, 20));
    Label2_1 = label(this, "Label2_1", QStringLiteral("_"), QRect(934, 2, 18, 22));
    Label2_1->setToolTip(QStringLiteral("最小化"));
    Label2_2 = label(this, "Label2_2", QStringLiteral("x"), QRect(956, 2, 18, 22));
    Label2_2->setToolTip(QStringLiteral("关闭"));
    for (QLabel *l : {Label2_1, Label2_2}) {
        l->setFont(QFont(QStringLiteral("Consolas"), 12));
        l->setAlignment(Qt::AlignCenter);
    }
    for (QLabel *l : {Label2_1, Label2_2, Label2_3})
        l->setCursor(Qt::PointingHandCursor);
}

void Form1::buildAccountArea()
{
    Frame1 = named(new QGroupBox(QStringLiteral("QQ账号"), this), "Frame1");
    Frame1->setGeometry(10, 84, 250, 122);
    const QPixmap avatar(QStringLiteral(":/albivex/avatar.png"));
    Image1 = label(Frame1, "Image1", QString(), QRect(10, 26, 80, 80));
    Image1->setScaledContents(true);
    Image1->setPixmap(avatar);
    Image1->setCursor(Qt::PointingHandCursor);
    qqhao = label(Frame1, "qqhao", QStringLiteral("未登录"), QRect(100, 26, 140, 22));
    Label1 = label(Frame1, "Label1", QStringLiteral("QQ昵称"), QRect(100, 52, 140, 22));
    Command2 = button(Frame1, "Command2", QStringLiteral("登录QQ"), QRect(100, 80, 100, 28));
    Command2->setEnabled(false);
    // Source of the default avatar when signing out; never shown.
    Image3 = label(this, "Image3", QString(), QRect(0, 0, 80, 80));
    Image3->setScaledContents(true);
    Image3->setPixmap(avatar);
    Image3->hide();

    Command1 = button(this, "Command1", QStringLiteral("获取相册"), QRect(270, 90, 110, 36));
    Command1->setEnabled(false);

    Frame2 = named(new QGroupBox(this), "Frame2");
    Frame2->setGeometry(270, 134, 250, 72);
    Label4 = label(Frame2, "Label4", QStringLiteral("获取空间相册"), QRect(10, 12, 200, 20));
    Text2 = named(new QLineEdit(Frame2), "Text2");
    Text2->setGeometry(10, 38, 150, 26);
    Text2->setPlaceholderText(QStringLiteral("QQ号码"));
    Command4 = button(Frame2, "Command4", QStringLiteral("获取"), QRect(168, 37, 70, 28));
    Command4->setEnabled(false);
}

void Form1::buildOptionsArea()
{
    Label5 = label(this, "Label5", QStringLiteral("清晰度选择"), QRect(394, 96, 74, 24));
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setGeometry(468, 94, 70, 28);

    Label3 = label(this, "Label3", QStringLiteral("命名方式："), QRect(556, 92, 72, 24));
    mm_0 = named(new QRadioButton(QStringLiteral("序号+原名保存(推荐)"), this), "mm_0");
    mm_0->setGeometry(628, 92, 180, 24);
    mm_1 = named(new QRadioButton(QStringLiteral("原名保存"), this), "mm_1");
    mm_1->setGeometry(628, 118, 180, 24);
    mm_2 = named(new QRadioButton(QStringLiteral("原名+随机数"), this), "mm_2");
    mm_2->setGeometry(628, 144, 180, 24);
    mm = new QButtonGroup(this);
    mm->setObjectName(QStringLiteral("mm"));
    mm->addButton(mm_0, 0);
    mm->addButton(mm_1, 1);
    mm->addButton(mm_2, 2);
    mm_0->setChecked(true);

    // Check-all and clear-all act like buttons: each resets itself after a click,
    // so they stay out of any exclusive group.
    Option3 = named(new QRadioButton(QStringLiteral("全选"), this), "Option3");
    Option3->setGeometry(556, 178, 64, 24);
    Option3->setAutoExclusive(false);
    Option4 = named(new QRadioButton(QStringLiteral("取消"), this), "Option4");
    Option4->setGeometry(628, 178, 64, 24);
    Option4->setAutoExclusive(false);

    Image2 = label(this, "Image2", QString(), QRect(880, 94, 75, 75)); // 1120 twips square
    Image2->setScaledContents(true);
    Image2->setFrameShape(QFrame::Box);
}

void Form1::buildLists()
{
    Command5 = button(this, "Command5", QStringLiteral("<="), QRect(10, 211, 44, 24));
    Command5->hide();
    Label6 = label(this, "Label6", QStringLiteral("相册名"), QRect(62, 212, 300, 22));
    Label6->hide();
    Label7 = label(this, "Label7", QStringLiteral("相册描述"), QRect(370, 212, 600, 22));
    Label7->hide();
    ListView1 = listView(this, "ListView1");
    ListView2 = listView(this, "ListView2");
    ListView2->setFont(QFont(QStringLiteral("Microsoft YaHei")));
    ListView2->hide();
}

void Form1::buildBottomArea()
{
    Text1 = named(new QLineEdit(this), "Text1");
    Text1->setGeometry(10, 442, 330, 26);
    Command3 = button(this, "Command3", QStringLiteral("设置路径"), QRect(10, 474, 106, 28));
    Command7 = button(this, "Command7", QStringLiteral("打开目录"), QRect(122, 474, 106, 28));
    Command6 = button(this, "Command6", QStringLiteral("终止任务"), QRect(234, 474, 106, 28));
    Command9 = button(this, "Command9", QStringLiteral("官方论坛"), QRect(10, 508, 106, 28));
    Command10 = button(this, "Command10", QStringLiteral("客服中心"), QRect(122, 508, 106, 28));

    List1 = named(new QListWidget(this), "List1");
    List1->setGeometry(350, 442, 548, 126);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every log line is one line of text. Measured one by one, each added line would
    // cost more than the last: an album job of a few hundred pictures then keeps the
    // window busy laying out its log.
    List1->setUniformItemSizes(true);
    Command8 = button(this, "Command8", QStringLiteral("CLEAR"), QRect(904, 442, 67, 28));

    s1 = new StatusBar(this);
    s1->setGeometry(1, 574, ClientWidth - 2, 22);
    ProgressBar1 = named(new QProgressBar(s1->panel(5)), "ProgressBar1");
    auto *overPanel = new QHBoxLayout(s1->panel(5));
    overPanel->setContentsMargins(1, 1, 1, 1);
    overPanel->addWidget(ProgressBar1);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

void Form1::buildMenus()
{
    menu = named(new QMenu(QStringLiteral("程序菜单"), this), "menu");
    ckxc = named(menu->addAction(QStringLiteral("查看相册")), "ckxc");
    menu->addSeparator();
    xz = named(menu->addAction(QStringLiteral("下载相册")), "xz");
    menu->addSeparator();
    fz = named(menu->addAction(QStringLiteral("复制信息")), "fz");

    menu2 = named(new QMenu(QStringLiteral("程序菜单"), this), "menu2");
    xiatp = named(menu2->addAction(QStringLiteral("下载图片")), "xiatp");
    menu2->addSeparator();
    dktp = named(menu2->addAction(QStringLiteral("打开图片")), "dktp");
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    // The window has no frame of its own: grey lines mark its edges.
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Form1::setStatusText(const QString &text)
{
    s1->setPanelText(2, text);
}

QString Form1::statusText() const
{
    return s1->panelText(2);
}

} // namespace albivex
