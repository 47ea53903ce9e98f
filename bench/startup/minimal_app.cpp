// The baseline of the start-up benchmark: a main window with a menu bar of a
// few menus, shown. With QRL_STARTUP_PROBE set it reports, as Quorlscope
// does, "startup-probe shown minimal <CLOCK_MONOTONIC seconds>" once the
// window has handled its first exposure (painted and handed the picture to
// the window system), then "startup-probe-done", and ends the process;
// otherwise it stays up until closed.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <time.h>

static void AddMenus(QMenuBar *bar)
{
    QMenu *file = bar->addMenu("File");
    file->addAction("New")->setShortcut(QKeySequence::New);
    file->addAction("Open...")->setShortcut(QKeySequence::Open);
    file->addSeparator();
    file->addAction("Close")->setShortcut(QKeySequence::Close);
    file->addAction("Save")->setShortcut(QKeySequence::Save);
    file->addAction("Quit")->setShortcut(QKeySequence::Quit);
    QMenu *edit = bar->addMenu("Edit");
    edit->addAction("Undo")->setShortcut(QKeySequence::Undo);
    edit->addSeparator();
    edit->addAction("Cut")->setShortcut(QKeySequence::Cut);
    edit->addAction("Copy")->setShortcut(QKeySequence::Copy);
    edit->addAction("Paste")->setShortcut(QKeySequence::Paste);
    QMenu *table = bar->addMenu("Table");
    table->addAction("Compute Table...")->setShortcut(QKeySequence("Ctrl+T"));
    QMenu *window = bar->addMenu("Window");
    window->addAction("Minimize")->setShortcut(QKeySequence("Ctrl+M"));
}

void reportOnScreen()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("startup-probe shown minimal %.6f\n", double(ts.tv_sec) + double(ts.tv_nsec) / 1e9);
    std::puts("startup-probe-done");
    std::fflush(stdout);
    // Teardown is not start-up.
    std::_Exit(0);
}

// Reports once the window has finished handling its first exposure.
class ExposureWatcher : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(object)->isExposed())
            QMetaObject::invokeMethod(qApp, reportOnScreen, Qt::QueuedConnection);
        return false;
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Untitled 1");
    window.resize(500, 560);
    AddMenus(window.menuBar());
    window.show();
    if (std::getenv("QRL_STARTUP_PROBE") && window.windowHandle()->isExposed())
        QMetaObject::invokeMethod(qApp, reportOnScreen, Qt::QueuedConnection);
    else if (std::getenv("QRL_STARTUP_PROBE"))
        window.windowHandle()->installEventFilter(new ExposureWatcher(&window));
    return app.exec();
}
