#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A web server on 127.0.0.1 that answers each path with a fixed HTML page
// (404 for any other) and closes the connection after every answer.
class CLocalPageServer : public QTcpServer
{
public:
    CLocalPageServer()
    {
        connect(this, &QTcpServer::newConnection, this, &CLocalPageServer::OnConnection);
        listen(QHostAddress::LocalHost);
    }

    void AddPage(const QString& strPath, const QByteArray& arrHtml) { m_pages.insert(strPath, arrHtml); }
    QUrl Url(const QString& strPath) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(strPath));
    }

    // A page whose title is strTitle and whose body holds strBody.
    static QByteArray Page(const QString& strTitle, const QString& strBody = QString())
    {
        return QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head><body>%2</body></html>")
            .arg(strTitle, strBody)
            .toUtf8();
    }

private:
    void OnConnection()
    {
        while (QTcpSocket* pSocket = nextPendingConnection()) {
            connect(pSocket, &QTcpSocket::readyRead, pSocket, [this, pSocket] { Answer(*pSocket); });
            connect(pSocket, &QTcpSocket::disconnected, pSocket, &QObject::deleteLater);
        }
    }

    void Answer(QTcpSocket& socket)
    {
        // The request line is all that matters, once the whole head is in.
        if (!socket.peek(socket.bytesAvailable()).contains("\r\n\r\n"))
            return;
        const QByteArray arrRequest = socket.readAll();
        const QByteArray arrPath = arrRequest.split(' ').value(1);
        const QString strPath = QUrl(QString::fromLatin1(arrPath)).path();
        const bool bFound = m_pages.contains(strPath);
        const QByteArray arrBody = bFound ? m_pages.value(strPath) : QByteArrayLiteral("not found");
        socket.write((bFound ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n")
                     + QByteArrayLiteral("Content-Type: text/html; charset=utf-8\r\nContent-Length: ")
                     + QByteArray::number(arrBody.size()) + "\r\nConnection: close\r\n\r\n" + arrBody);
        socket.disconnectFromHost();
    }

    QHash<QString, QByteArray> m_pages;
};
