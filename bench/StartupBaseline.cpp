#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

// The baseline of bench_startup: a bare Qt Widgets program that opens one
// dialog and says so once it is up, as the program says when its first
// window is up.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Kelvane")));
    layout->addWidget(new QPushButton(QStringLiteral("OK")));
    dialog.show();
    QTimer::singleShot(0, &app, [] {
        std::fputs("baseline: ready\n", stdout);
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}
