// The yardstick for Kalimo's start: a Qt Widgets program showing one label and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Kalimo"));
    label.show();
    return QApplication::exec();
}
