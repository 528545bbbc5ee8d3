// Makes the alarm sound and the two light-bulb pictures of the Alarms window into a directory:
// BeepBeep.wav, lighton.ico and lightoff.ico.
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

namespace
{

constexpr int kSampleRate = 22050;
constexpr int kBeepHz = 1046; // a high C
constexpr double kBeepSeconds = 0.14;
constexpr double kGapSeconds = 0.09;
constexpr double kFadeSeconds = 0.006;
constexpr double kVolume = 0.55;
constexpr int kIconSize = 32;

void appendTone(QList<qint16>& samples, double seconds)
{
    const int count = int(seconds * kSampleRate);
    const int fade = int(kFadeSeconds * kSampleRate);
    for (int i = 0; i < count; ++i) {
        // Soft edges, so that the beep does not click.
        const double envelope = qMin(1.0, qMin(i, count - 1 - i) / double(fade));
        const double wave = qSin(2 * M_PI * kBeepHz * i / kSampleRate);
        samples << qint16(wave * envelope * kVolume * 32767);
    }
}

void appendSilence(QList<qint16>& samples, double seconds)
{
    samples.append(QList<qint16>(int(seconds * kSampleRate), 0));
}

// A 16-bit mono PCM file: the RIFF header, then the samples.
bool writeWav(const QString& path, const QList<qint16>& samples)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = quint32(samples.size() * 2);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kSampleRate) << quint32(kSampleRate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (const qint16 sample : samples)
        out << sample;
    return out.status() == QDataStream::Ok && file.flush();
}

bool writeBeep(const QString& path)
{
    QList<qint16> samples;
    appendTone(samples, kBeepSeconds);
    appendSilence(samples, kGapSeconds);
    appendTone(samples, kBeepSeconds);
    appendSilence(samples, kGapSeconds);
    return writeWav(path, samples);
}

QImage lightBulb(bool lit)
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(16, 12.5);
    if (lit) {
        painter.setPen(QPen(QColor(240, 160, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int ray = 0; ray < 7; ++ray) {
            const double angle = qDegreesToRadians(-180.0 + 30.0 * ray);
            const QPointF direction(qCos(angle), qSin(angle));
            painter.drawLine(centre + direction * 11.5, centre + direction * 14.5);
        }
    }
    QRadialGradient glass(centre - QPointF(2.5, 2.5), 10);
    glass.setColorAt(0, lit ? QColor(255, 255, 230) : QColor(250, 250, 250));
    glass.setColorAt(0.55, lit ? QColor(255, 226, 60) : QColor(214, 218, 222));
    glass.setColorAt(1, lit ? QColor(250, 170, 20) : QColor(160, 166, 172));
    QPainterPath bulb;
    bulb.addEllipse(centre, 9, 9);
    bulb.addRect(QRectF(12, 16, 8, 5.5));
    painter.setPen(QPen(lit ? QColor(150, 90, 0) : QColor(90, 95, 100), 1));
    painter.setBrush(glass);
    painter.drawPath(bulb.simplified());
    painter.setPen(QPen(lit ? QColor(190, 70, 0) : QColor(120, 120, 120), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({{13.5, 17}, {14.5, 12}, {16, 14}, {17.5, 12}, {18.5, 17}}));
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(150, 150, 150));
    painter.drawRect(QRectF(11.5, 21.5, 9, 6));
    painter.drawLine(QPointF(11.5, 23.5), QPointF(20.5, 23.5));
    painter.drawLine(QPointF(11.5, 25.5), QPointF(20.5, 25.5));
    painter.setBrush(QColor(60, 60, 60));
    painter.drawRect(QRectF(14, 27.5, 4, 2));
    return image;
}

bool writeIcon(const QString& path, bool lit)
{
    QImageWriter writer(path, "ico");
    return writer.write(lightBulb(lit));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (arguments.size() != 1 || !QDir(arguments.first()).exists()) {
        err << "usage: horalog-assets DIR\n";
        return 2;
    }
    const QDir directory(arguments.first());
    if (!writeBeep(directory.filePath(QStringLiteral("BeepBeep.wav"))) ||
        !writeIcon(directory.filePath(QStringLiteral("lighton.ico")), true) ||
        !writeIcon(directory.filePath(QStringLiteral("lightoff.ico")), false)) {
        err << "horalog-assets: cannot write into " << directory.path() << '\n';
        return 1;
    }
    return 0;
}
