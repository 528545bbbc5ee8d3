#include "support/VncClient.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QThread>
#include <QtEndian>

namespace horalog::test
{

namespace
{
constexpr int kWaitMs = 5000;

template <typename T> QByteArray bigEndian(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}
} // namespace

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool VncClient::connectTo(quint16 port, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        if (socket_.waitForConnected(500))
            return handshake();
        socket_.abort();
        QThread::msleep(100);
    }
    return false;
}

bool VncClient::readExactly(char* data, qint64 size)
{
    while (socket_.bytesAvailable() < size) {
        if (!socket_.waitForReadyRead(kWaitMs))
            return false;
    }
    return socket_.read(data, size) == size;
}

// The protocol version the server offers, no security, a shared screen; then pixels as 32-bit
// 0x00RRGGBB, sent raw.
bool VncClient::handshake()
{
    QByteArray version(12, '\0');
    if (!readExactly(version.data(), version.size()) || !version.startsWith("RFB 003.003"))
        return false;
    socket_.write(version);
    char security[4];
    if (!readExactly(security, 4) || qFromBigEndian<quint32>(security) != 1)
        return false;
    socket_.write(QByteArray(1, '\1'));
    char init[24];
    if (!readExactly(init, 24))
        return false;
    size_ = QSize(qFromBigEndian<quint16>(init), qFromBigEndian<quint16>(init + 2));
    QByteArray name(qFromBigEndian<quint32>(init + 20), '\0');
    if (!readExactly(name.data(), name.size()))
        return false;
    const char pixelFormat[] = {32, 24, 0, 1, 0, char(255), 0, char(255), 0, char(255), 16, 8, 0, 0, 0, 0};
    socket_.write(QByteArray("\0\0\0\0", 4) + QByteArray(pixelFormat, sizeof pixelFormat));
    socket_.write(QByteArray("\2\0", 2) + bigEndian<quint16>(1) + bigEndian<qint32>(0));
    return socket_.waitForBytesWritten(kWaitMs);
}

void VncClient::press(Key key)
{
    for (const quint8 down : {1, 0})
        socket_.write(QByteArray(1, '\4') + char(down) + QByteArray(2, '\0') + bigEndian<quint32>(key));
    socket_.waitForBytesWritten(kWaitMs);
}

void VncClient::press(const QList<Key>& keys)
{
    for (const Key key : keys)
        press(key);
}

QImage VncClient::screen()
{
    socket_.write(QByteArray("\3\0", 2) + bigEndian<quint16>(0) + bigEndian<quint16>(0) +
                  bigEndian<quint16>(quint16(size_.width())) + bigEndian<quint16>(quint16(size_.height())));
    char header[4];
    if (!readExactly(header, 4) || header[0] != 0)
        return {};
    QImage image(size_, QImage::Format_RGB32);
    for (int rectangle = qFromBigEndian<quint16>(header + 2); rectangle > 0; --rectangle) {
        char place[12];
        if (!readExactly(place, 12) || qFromBigEndian<qint32>(place + 8) != 0)
            return {};
        const QRect area(qFromBigEndian<quint16>(place), qFromBigEndian<quint16>(place + 2),
                         qFromBigEndian<quint16>(place + 4), qFromBigEndian<quint16>(place + 6));
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (!readExactly(reinterpret_cast<char*>(image.scanLine(y)) + area.left() * 4, area.width() * 4))
                return {};
        }
    }
    return image;
}

} // namespace horalog::test
