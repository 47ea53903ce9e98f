// The baseline of the command-line benchmark: a core application that
// prints one line and exits, the least a Qt command-line tool does.
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    std::puts("done");
    return 0;
}
