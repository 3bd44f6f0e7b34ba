#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "qzone/LocaleText.h"
#include "shell/ui/TitleBarController.h"
#include "shell/ui/WindowDragController.h"
#include "standin/StandinThread.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

using namespace albivex;

namespace {

// The colour a label's text is drawn in.
QColor textColour(QLabel *label)
{
    label->ensurePolished();
    return label->palette().color(label->foregroundRole());
}

// Six columns like the photo list: number, name, time, description, address, state.
QStandardItemModel *photoRows(QObject *parent, const QList<QStringList> &rows)
{
    auto *model = new QStandardItemModel(0, 6, parent);
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &cell : row)
            items << new QStandardItem(cell);
        model->appendRow(items);
    }
    return model;
}

// Presses on the divider at the right edge of the first section and drags it by dx.
void dragFirstDivider(QHeaderView *header, int dx)
{
    QWidget *viewport = header->viewport();
    const QPoint divider(header->sectionViewportPosition(0) + header->sectionSize(0) - 1,
                         header->height() / 2);
    QTest::mousePress(viewport, Qt::LeftButton, {}, divider);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(viewport, divider + QPoint(dx * step / 4, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, divider + QPoint(dx, 0));
}

} // namespace

class TestShellButtons : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }
    void init()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_app->window()));
        QTRY_VERIFY(m_app->window().listOwnAlbumsButton->isEnabled());
    }
    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
    }

    void chooseSaveFolder()
    {
        MainWindow &w = m_app->window();
        const QString start = w.saveFolderEdit->text();
        const QString first = QStringLiteral("/data/相册一");
        const QString second = QStringLiteral("/data/相册二");

        // First click: the dialog at once, no question.
        m_prompts->chooseNextFolder(first);
        w.chooseFolderButton->click();
        QTRY_COMPARE(w.saveFolderEdit->text(), first);
        QCOMPARE(m_prompts->folderDialogTitles, QStringList {QStringLiteral("请选择文件夹")});
        QVERIFY(m_prompts->boxes.isEmpty());
        QCOMPARE(m_app->state().chosenSaveFolder, first);

        // Second click, answered No: nothing changes.
        m_prompts->answerNextQuestion(false);
        const int delivered = m_prompts->delivered();
        w.chooseFolderButton->click();
        QTRY_COMPARE(m_prompts->boxes.size(), 1);
        const ScriptedPrompts::Box box = m_prompts->boxes.first();
        QVERIFY(box.question);
        QCOMPARE(box.title, QStringLiteral("提示"));
        QCOMPARE(box.icon, Prompts::Icon::Information);
        QCOMPARE(box.text, QStringLiteral("您已设置保存路径为:/data/相册一\r\n\r\n是否要更换保存路径?"));
        QTRY_VERIFY(m_prompts->delivered() > delivered); // the No, once answered
        QCOMPARE(m_prompts->folderDialogTitles.size(), 1);
        QCOMPARE(w.saveFolderEdit->text(), first);

        // Answered Yes: the dialog, and its folder in the path box.
        m_prompts->answerNextQuestion(true);
        m_prompts->chooseNextFolder(second);
        w.chooseFolderButton->click();
        QTRY_COMPARE(w.saveFolderEdit->text(), second);
        QCOMPARE(m_prompts->boxes.size(), 2);
        QCOMPARE(m_prompts->folderDialogTitles.size(), 2);

        // Yes, then the dialog cancelled: the path stays, the choice is forgotten...
        m_prompts->answerNextQuestion(true);
        w.chooseFolderButton->click();
        QTRY_COMPARE(m_prompts->folderDialogTitles.size(), 3);
        QTRY_VERIFY(m_app->state().chosenSaveFolder.isEmpty());
        QCOMPARE(w.saveFolderEdit->text(), second);

        // ...so the next click goes straight to the dialog.
        m_prompts->chooseNextFolder(start);
        w.chooseFolderButton->click();
        QTRY_COMPARE(w.saveFolderEdit->text(), start);
        QCOMPARE(m_prompts->boxes.size(), 3);
        QCOMPARE(m_prompts->folderDialogTitles.size(), 4);
    }

    void firstDialogCancelledLeavesThePath()
    {
        MainWindow &w = m_app->window();
        const QString start = w.saveFolderEdit->text();
        const int delivered = m_prompts->delivered();
        w.chooseFolderButton->click();
        QTRY_VERIFY(m_prompts->delivered() > delivered); // the dialog, once cancelled
        QCOMPARE(m_prompts->folderDialogTitles.size(), 1);
        QCOMPARE(w.saveFolderEdit->text(), start);
        QVERIFY(m_prompts->boxes.isEmpty());
    }

    void stopWhileNothingRunsOnlyEnablesTheAlbumList()
    {
        MainWindow &w = m_app->window();
        w.albumView->setEnabled(false);
        const QStringList linesBefore = m_app->log().lines();
        const QString status = w.statusText();
        w.stopButton->click();
        QVERIFY(w.albumView->isEnabled());
        QVERIFY(!m_app->state().albumJobRunning);
        QVERIFY(!m_app->state().photoViewOpen);
        QVERIFY(!m_app->state().selectedDownloadRunning);
        QVERIFY(m_app->state().albumJobIdle);
        QCOMPARE(m_app->log().lines(), linesBefore);
        QCOMPARE(w.statusText(), status);
        QVERIFY(m_prompts->boxes.isEmpty());
    }

    void stopClearsTheRunningFlags()
    {
        WindowState &state = m_app->state();
        state.albumJobRunning = state.photoViewOpen = state.selectedDownloadRunning = true;
        state.albumJobIdle = false;
        m_app->window().stopButton->click();
        QVERIFY(!state.albumJobRunning);
        QVERIFY(!state.photoViewOpen);
        QVERIFY(!state.selectedDownloadRunning);
        QVERIFY(!state.albumJobIdle); // the album job sets it back itself when it ends
    }

    void clearEmptiesTheLog()
    {
        MainWindow &w = m_app->window();
        QVERIFY(w.activityLogList->count() > 0);
        w.clearLogButton->click();
        QCOMPARE(w.activityLogList->count(), 0);
        m_app->log().add(QStringLiteral("下一行"));
        QCOMPARE(w.activityLogList->count(), 1);
        QCOMPARE(w.activityLogList->currentRow(), 0);
        QVERIFY(w.activityLogList->item(0)->text().endsWith(QStringLiteral("]下一行")));
    }

    void aLongLogKeepsItsNewestLines()
    {
        MainWindow &w = m_app->window();
        w.clearLogButton->click();
        for (int group = 0; group < 60; ++group) {
            QStringList lines;
            for (int i = 0; i < 100; ++i)
                lines << QString::number(group * 100 + i);
            m_app->log().add(lines);
        }
        // Lines held back and shown later keep the time they were written at.
        m_app->log().add({{QTime(1, 2, 3), {QStringLiteral("晚到")}}});
        const int kept = w.activityLogList->count();
        QVERIFY2(kept >= 5000 && kept <= 5500, qPrintable(QString::number(kept)));
        QCOMPARE(w.activityLogList->currentRow(), kept - 1);
        QCOMPARE(w.activityLogList->item(kept - 1)->text(),
                 QLatin1Char('[') + TimeOfDayText(QTime(1, 2, 3)) + QStringLiteral("]晚到"));
        // The oldest went, in order: what is kept runs on without a gap to the last.
        QVERIFY(w.activityLogList->item(0)->text().endsWith(QString::number(6000 - (kept - 1))));
        QVERIFY(w.activityLogList->item(kept - 2)->text().endsWith(QStringLiteral("]5999")));
    }

    void backToTheAlbumList()
    {
        MainWindow &w = m_app->window();
        w.albumView->hide();
        w.photoView->show();
        w.backButton->show();
        w.albumNameLabel->show();
        w.albumDescriptionLabel->show();
        m_app->state().photoViewOpen = true;
        w.backButton->click();
        QVERIFY(w.albumView->isVisible());
        QVERIFY(!w.photoView->isVisible());
        QVERIFY(!w.backButton->isVisible());
        QVERIFY(!w.albumNameLabel->isVisible());
        QVERIFY(!w.albumDescriptionLabel->isVisible());
        QVERIFY(!m_app->state().photoViewOpen);
    }

    void openPicture_data()
    {
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no row chosen") << -1 << QString();
        QTest::newRow("row without a name") << 1 << QString();
        QTest::newRow("named row") << 0 << QStringLiteral("http://127.0.0.1:1/photo/b/1.jpg?x=1&y=2");
        QTest::newRow("other named row") << 2 << QStringLiteral("http://127.0.0.1:1/photo/c/3.jpg");
    }
    void openPicture()
    {
        QFETCH(int, currentRow);
        QFETCH(QString, opened);
        MainWindow &w = m_app->window();
        auto *model
            = photoRows(&w,
                        {{QStringLiteral("1"), QStringLiteral("海边"), QStringLiteral("2015-07-01"),
                          QString(), QStringLiteral("http://127.0.0.1:1/photo/b/1.jpg?x=1&y=2"), QString()},
                         {QStringLiteral("2"), QString(), QString(), QString(),
                          QStringLiteral("http://127.0.0.1:1/photo/b/2.jpg"), QString()},
                         {QStringLiteral("3"), QStringLiteral("山"), QString(), QString(),
                          QStringLiteral("http://127.0.0.1:1/photo/c/3.jpg"), QString()}});
        w.photoView->setModel(model);
        if (currentRow >= 0)
            w.photoView->setCurrentIndex(model->index(currentRow, 0));
        w.openPictureAction->trigger();
        if (opened.isEmpty()) {
            QCOMPARE(w.statusText(), QStringLiteral("请选择图片"));
            QCOMPARE(m_prompts->boxes.size(), 1);
            QCOMPARE(m_prompts->boxes.first().title, QStringLiteral("Zorvane软件"));
            QCOMPARE(m_prompts->boxes.first().text, QStringLiteral("请选择图片"));
            QCOMPARE(m_prompts->boxes.first().icon, Prompts::Icon::Information);
            QVERIFY(!m_prompts->boxes.first().question);
            QVERIFY(m_prompts->opened.isEmpty());
        } else {
            QVERIFY(m_prompts->boxes.isEmpty());
            QCOMPARE(m_prompts->opened, QList<QUrl> {QUrl(opened)});
        }
    }

    void pagesAndFolderOpen_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("endpoint");
        QTest::newRow("forum") << QStringLiteral("Command9") << int(Endpoint::VendorForum);
        QTest::newRow("service") << QStringLiteral("Command10") << int(Endpoint::VendorService);
        QTest::newRow("home page label") << QStringLiteral("Label2_3") << int(Endpoint::VendorHome);
        QTest::newRow("save folder") << QStringLiteral("Command7") << -1;
    }
    void pagesAndFolderOpen()
    {
        QFETCH(QString, control);
        QFETCH(int, endpoint);
        MainWindow &w = m_app->window();
        w.saveFolderEdit->setText(QStringLiteral("/srv/相册 保存"));
        auto *widget = w.findChild<QWidget *>(control);
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
        const QUrl expected = endpoint < 0 ? QUrl::fromLocalFile(QStringLiteral("/srv/相册 保存"))
                                           : Endpoints(m_standin.root()).url(Endpoint(endpoint));
        QCOMPARE(m_prompts->opened, QList<QUrl> {expected});
    }

    void titleBarLabelsHighlightUnderTheMouse()
    {
        MainWindow &w = m_app->window();
        const QColor white(0xff, 0xff, 0xff);
        const QColor grey(0xe0, 0xe0, 0xe0);
        for (QLabel *label : {w.minimiseLabel, w.closeLabel, w.websiteLabel})
            QCOMPARE(textColour(label), white);

        QTest::mouseMove(w.minimiseLabel);
        QTRY_COMPARE(textColour(w.minimiseLabel), grey);
        QCOMPARE(textColour(w.closeLabel), white);

        QTest::mouseMove(w.closeLabel);
        QTRY_COMPARE(textColour(w.closeLabel), grey);
        QCOMPARE(textColour(w.minimiseLabel), white);
        QCOMPARE(textColour(w.websiteLabel), white);

        QTest::mouseMove(&w, QPoint(600, 40)); // bare header
        QTRY_COMPARE(textColour(w.closeLabel), white);
        QCOMPARE(textColour(w.minimiseLabel), white);
    }

    void minimiseAndCloseLabels()
    {
        MainWindow &w = m_app->window();
        QSignalSpy quit(m_app.get(), &AlbivexApp::quitRequested);
        QTest::mouseClick(w.minimiseLabel, Qt::LeftButton);
        QTRY_VERIFY(w.windowState().testFlag(Qt::WindowMinimized));
        QCOMPARE(quit.count(), 0);
        w.showNormal();
        // A press that ends outside the label does nothing.
        QTest::mousePress(w.closeLabel, Qt::LeftButton);
        QTest::mouseRelease(w.closeLabel, Qt::LeftButton, {}, QPoint(-30, 5));
        QCOMPARE(quit.count(), 0);
        QTest::mouseClick(w.closeLabel, Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
    }

    void pressOnBackgroundOrLogoMovesTheWindow_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("background, left") << QStringLiteral("Form1") << int(Qt::LeftButton) << true;
        QTest::newRow("background, right") << QStringLiteral("Form1") << int(Qt::RightButton) << true;
        QTest::newRow("logo, left") << QStringLiteral("aicAlphaImage1") << int(Qt::LeftButton) << true;
        QTest::newRow("logo, right") << QStringLiteral("aicAlphaImage1") << int(Qt::RightButton) << true;
        QTest::newRow("button") << QStringLiteral("Command8") << int(Qt::LeftButton) << false;
        QTest::newRow("plain label") << QStringLiteral("Label5") << int(Qt::LeftButton) << false;
        QTest::newRow("frame") << QStringLiteral("Frame1") << int(Qt::LeftButton) << false;
        QTest::newRow("title label") << QStringLiteral("Label2_3") << int(Qt::LeftButton) << false;
    }
    void pressOnBackgroundOrLogoMovesTheWindow()
    {
        QFETCH(QString, target);
        QFETCH(int, button);
        QFETCH(bool, moves);
        MainWindow &w = m_app->window();
        WindowDragController drag(w, *w.logoLabel);
        QSignalSpy started(&drag, &WindowDragController::moveStarted);
        QWidget *widget = target == w.objectName() ? &w : w.findChild<QWidget *>(target);
        QVERIFY(widget);
        const QPoint at = widget == &w ? QPoint(600, 40) : QPoint(4, 4);
        if (widget == &w)
            QCOMPARE(w.childAt(at), nullptr);
        QTest::mousePress(widget, Qt::MouseButton(button), {}, at);
        QTest::mouseRelease(widget, Qt::MouseButton(button), {}, at);
        QCOMPARE(started.count(), moves ? 1 : 0);
    }

    // Column widths belong to the window: neither dragging a divider nor double-clicking
    // it changes them, on either list, whatever model is put in later.
    void columnWidthsStayFixed()
    {
        MainWindow &w = m_app->window();
        w.photoView->show(); // both lists share their place; show each in turn
        for (QTreeView *view : {w.albumView, w.photoView}) {
            view->raise();
            view->show();
            view->setModel(photoRows(view, {{QStringLiteral("1"), QStringLiteral("a")}}));
            view->setColumnWidth(0, 120);
            view->setColumnWidth(1, 200);
            QHeaderView *header = view->header();
            QTest::qWait(20);
            dragFirstDivider(header, 60);
            QCOMPARE(header->sectionSize(0), 120);
            dragFirstDivider(header, -50);
            QCOMPARE(header->sectionSize(0), 120);
            const QPoint divider(header->sectionViewportPosition(0) + header->sectionSize(0) - 1,
                                 header->height() / 2);
            QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, divider);
            QCOMPARE(header->sectionSize(0), 120);
            QCOMPARE(header->sectionSize(1), 200);
            QVERIFY(!header->sectionsMovable());
        }

        // The same gesture does resize a header that allows it: the drag is real.
        QTreeView control(&w);
        control.setGeometry(w.albumView->geometry());
        control.setModel(photoRows(&control, {{QStringLiteral("1"), QStringLiteral("a")}}));
        control.setColumnWidth(0, 120);
        control.show();
        control.raise();
        QTest::qWait(20);
        dragFirstDivider(control.header(), 60);
        QCOMPARE(control.header()->sectionSize(0), 180);
    }

private:
    standin::StandinThread m_standin;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;
};

QTEST_MAIN(TestShellButtons)
#include "TestShellButtons.moc"
