// The baseline of the start-up benchmark: a main window with a menu bar of a
// few menus, shown. Under QRL_STARTUP_PROBE=1, like Quorlscope, it prints
// "startup-probe-done" once the window is shown and the event loop is idle,
// then ends the process; otherwise it stays up until closed.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Untitled 1");
    window.resize(500, 560);
    AddMenus(window.menuBar());
    window.show();
    const char *probe = std::getenv("QRL_STARTUP_PROBE");
    if (probe == nullptr || std::strcmp(probe, "1") != 0)
        return app.exec();
    QTimer::singleShot(0, [] {
        std::puts("startup-probe-done");
        std::fflush(stdout);
        // Ends at once, as Quorlscope's probe does: teardown is not start-up.
        std::_Exit(0);
    });
    return app.exec();
}
