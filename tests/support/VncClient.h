#pragma once

#include <QImage>
#include <QTcpSocket>

namespace horalog::test
{

// A user at the screen of a program that runs on Qt's VNC platform
// (QT_QPA_PLATFORM=vnc:size=WxH:port=N): it types and looks at the screen. The offscreen platform
// takes no input from outside its process, so a test of the real program uses this one.
class VncClient
{
  public:
    enum Key : quint32 { Tab = 0xff09, Return = 0xff0d, Space = 0x20 };

    // Connects and greets the server; tries until it listens or `timeoutMs` have passed.
    bool connectTo(quint16 port, int timeoutMs);
    void press(Key key);
    void press(const QList<Key>& keys);
    // The whole screen as the server shows it now; a null image when it does not answer.
    QImage screen();

  private:
    bool handshake();
    bool readExactly(char* data, qint64 size);

    QTcpSocket socket_;
    QSize size_;
};

// A port on this machine that nothing listens on at the moment.
quint16 freePort();

} // namespace horalog::test
