// Renders the program icon into a square PNG of the given size: horalog-icon SVG SIZE PNG
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int size = arguments.size() == 4 ? arguments[2].toInt() : 0;
    if (size <= 0) {
        QTextStream(stderr) << "usage: horalog-icon SVG SIZE PNG\n";
        return 2;
    }
    const QPixmap picture = QIcon(arguments[1]).pixmap(QSize(size, size));
    if (picture.size() != QSize(size, size) || !picture.save(arguments[3], "PNG")) {
        QTextStream(stderr) << "horalog-icon: could not render " << arguments[1] << " into " << arguments[3]
                            << "\n";
        return 1;
    }
    return 0;
}
