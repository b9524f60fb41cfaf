#pragma once

#include "storecatalogue.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QUrlQuery>

class QTcpServer;
class QTcpSocket;

// A store on this machine that answers Kivara's store requests the way the
// maker's WordPress store does, from a catalogue file, and misbehaves on
// request. HTTP/1.1, one request per connection.
//
// Faults, per route ("login", "products", "sales", "featured", "subscriptions",
// "setinfo", "link", "download", "image"): "malformed" (broken JSON), "wrongshape" (JSON
// of another shape), "error" (HTTP 500), "stall" (never answers), "empty" (an
// empty link), "cut" (the download stops half-way), "hostile" (the archive also
// holds members that climb out of the destination), "slow" (the download
// trickles), "deep" (a reply nested 60000 levels deep). "none" clears a fault.
// "download/<link>", "link/<link>" and "image/<name>.png" set a fault for one
// pack or picture only.
//
// Control routes for tests and scripts:
//   GET /_control/fault?route=R&kind=K   sets a fault
//   GET /_control/requests                every store request so far, as JSON
//   GET /_control/reset                   clears faults and the request list
class StoreServer : public QObject
{
    Q_OBJECT

public:
    explicit StoreServer(StoreCatalogue catalogue, QObject *parent = nullptr);

    bool listen(quint16 port);
    quint16 port() const;
    // False for an unknown route or kind.
    bool setFault(const QString &route, const QString &kind);

private:
    struct Request
    {
        QByteArray method;
        QString path;
        QUrlQuery query;
        QByteArray body;
    };
    struct Reply
    {
        int status = 200;
        QByteArray contentType = "application/json; charset=UTF-8";
        QByteArray body;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void handle(QTcpSocket *socket, const Request &request);
    Reply route(const Request &request, QString *routeName, QString *link);
    Reply control(const Request &request);
    Reply login(const Request &request);
    Reply sales(const Request &request);
    Reply subscriptions(const Request &request);
    Reply setInfo(const Request &request);
    Reply downloadLink(const Request &request);
    Reply download(const Request &request);
    // A product picture, "<name>.png".
    Reply image(const QString &file);
    // The body a fault puts in place of the route's own answer.
    static QByteArray wrongShape(const QString &route);
    void send(QTcpSocket *socket, const Reply &reply, const QString &route, const QString &fault);
    void trickle(QTcpSocket *socket, QByteArray rest);

    StoreCatalogue m_catalogue;
    QTcpServer *m_server;
    QHash<QString, QString> m_faults;
    QJsonArray m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
