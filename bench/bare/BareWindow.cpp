// The yardstick of the start benchmark: the least a Qt 6 Widgets program
// does to show fetched weather. One window with one label; one HTTP/1.0
// request over a plain TCP socket (as the program's own socket does) to
// the stand-in; the reply's body goes into the label. It quits when its
// window is closed, as the program does. Like the program, it runs on
// Qt's own event loop (not GLib's) and without X11 shared-memory images:
// those are the program's choices of how to use the toolkit, not work it
// does, so the yardstick makes them too, in the same way (while its
// QApplication is made, and only where the environment has not decided).
//
//   bench_bare_window HOST:PORT
#include <QApplication>
#include <QLabel>
#include <QTcpSocket>

#include <memory>

namespace {

// Constructs the application with each variable set that nobody has set,
// until the application exists.
std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
  const char* const names[] = {"QT_NO_GLIB", "QT_XCB_NO_MITSHM"};
  bool set[2] = {};
  for (int i = 0; i < 2; ++i) {
    set[i] = !qEnvironmentVariableIsSet(names[i]);
    if (set[i]) qputenv(names[i], "1");
  }
  auto app = std::make_unique<QApplication>(argc, argv);
  for (int i = 0; i < 2; ++i) {
    if (set[i]) qunsetenv(names[i]);
  }
  return app;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QApplication> app = MakeApplication(argc, argv);
  const QString hostPort = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  const int colon = hostPort.lastIndexOf(':');
  bool portOk = false;
  const quint16 port = colon > 0 ? hostPort.mid(colon + 1).toUShort(&portOk) : 0;
  if (!portOk || port == 0) {
    qWarning("usage: bench_bare_window HOST:PORT");
    return 2;
  }
  const QString host = hostPort.left(colon);

  QLabel label(QStringLiteral("Loading..."));
  label.setWindowTitle(QStringLiteral("Bare"));
  label.setTextFormat(Qt::PlainText);
  label.setWordWrap(true);
  label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label.resize(500, 250);
  label.show();

  QTcpSocket socket;
  QByteArray reply;
  QObject::connect(&socket, &QTcpSocket::connected, [&] {
    socket.write("GET /breezeling/weather?location=Naseby,%20Otago,%20New%20Zealand HTTP/1.0\r\nHost: " +
                 hostPort.toLatin1() + "\r\nAccept: */*\r\n\r\n");
  });
  QObject::connect(&socket, &QTcpSocket::readyRead, [&] { reply += socket.readAll(); });
  QObject::connect(&socket, &QTcpSocket::disconnected, [&] {
    reply += socket.readAll();
    const qsizetype body = reply.indexOf("\r\n\r\n");
    label.setText(body < 0 ? QStringLiteral("No reply.") : QString::fromUtf8(reply.mid(body + 4)));
  });
  QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](QAbstractSocket::SocketError error) {
    if (error != QAbstractSocket::RemoteHostClosedError) label.setText(socket.errorString());
  });
  socket.connectToHost(host, port);
  return app->exec();
}
