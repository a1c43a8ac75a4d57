// The yardstick of the start-up script: a plain Qt window with one menu command on F3
// that changes the caption, as the program's grade table does.

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    QAction* grades =
        window.menuBar()->addMenu(QStringLiteral("表示"))->addAction(QStringLiteral("成績表"));
    grades->setShortcut(Qt::Key_F3);
    QObject::connect(grades, &QAction::triggered, &window,
                     [&window] { window.setWindowTitle(QStringLiteral("bare window / 成績表")); });
    window.resize(640, 480);
    window.show();
    return app.exec();
}
