#include "storeserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QRegularExpression>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {

const QStringList routes{QStringLiteral("login"),    QStringLiteral("products"),      QStringLiteral("sales"),
                         QStringLiteral("featured"), QStringLiteral("subscriptions"), QStringLiteral("setinfo"),
                         QStringLiteral("link"),     QStringLiteral("download"),      QStringLiteral("image")};
const QStringList faultKinds{QStringLiteral("none"),  QStringLiteral("malformed"), QStringLiteral("wrongshape"),
                             QStringLiteral("error"), QStringLiteral("stall"),     QStringLiteral("empty"),
                             QStringLiteral("cut"),   QStringLiteral("hostile"),   QStringLiteral("slow"),
                             QStringLiteral("deep")};

QByteArray json(const QJsonValue &value)
{
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

// A JSON string literal as WordPress writes it: slashes escaped too.
QByteArray jsonString(const QString &text)
{
    QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    array = array.mid(1, array.size() - 2);
    return array.replace("/", "\\/");
}

// Form fields as the client writes them: values percent-encoded, with \' and \"
// standing for the quotes.
QHash<QString, QString> formFields(const QByteArray &body)
{
    QHash<QString, QString> fields;
    for (const QByteArray &pair : body.split('&')) {
        const int equals = pair.indexOf('=');
        if (equals < 0)
            continue;
        QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(pair.mid(equals + 1)));
        value.replace(QStringLiteral("\\'"), QStringLiteral("'")).replace(QStringLiteral("\\\""), QStringLiteral("\""));
        fields.insert(QString::fromLatin1(pair.left(equals)), value);
    }
    return fields;
}

const char *reasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    default: return "Internal Server Error";
    }
}

} // namespace

StoreServer::StoreServer(StoreCatalogue catalogue, QObject *parent)
    : QObject(parent)
    , m_catalogue(std::move(catalogue))
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &StoreServer::onNewConnection);
}

bool StoreServer::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 StoreServer::port() const
{
    return m_server->serverPort();
}

bool StoreServer::setFault(const QString &route, const QString &kind)
{
    // "download/<link>" and "link/<link>" narrow a fault to one pack.
    if (!routes.contains(route.section(QLatin1Char('/'), 0, 0)) || !faultKinds.contains(kind))
        return false;
    if (kind == QLatin1String("none"))
        m_faults.remove(route);
    else
        m_faults.insert(route, kind);
    return true;
}

void StoreServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void StoreServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    int contentLength = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.toLower().startsWith("content-length:"))
            contentLength = line.mid(15).trimmed().toInt();
    }
    if (buffer.size() < headerEnd + 4 + contentLength)
        return;
    Request request;
    request.method = requestLine.value(0);
    const QUrl target(QString::fromLatin1(requestLine.value(1)));
    request.path = target.path();
    request.query = QUrlQuery(target);
    request.body = buffer.mid(headerEnd + 4, contentLength);
    m_pending.remove(socket);
    handle(socket, request);
}

void StoreServer::handle(QTcpSocket *socket, const Request &request)
{
    if (request.path.startsWith(QLatin1String("/_control/"))) {
        send(socket, control(request), QString(), QString());
        return;
    }
    m_requests.append(QJsonObject{{QStringLiteral("method"), QString::fromLatin1(request.method)},
                                  {QStringLiteral("path"), request.path},
                                  {QStringLiteral("query"), request.query.toString(QUrl::FullyEncoded)},
                                  {QStringLiteral("body"), QString::fromLatin1(request.body)}});
    QString routeName;
    QString link;
    const Reply reply = route(request, &routeName, &link);
    const QString fault = m_faults.value(routeName + QLatin1Char('/') + link, m_faults.value(routeName));
    send(socket, reply, routeName, fault);
}

StoreServer::Reply StoreServer::route(const Request &request, QString *routeName, QString *link)
{
    const QString &path = request.path;
    Reply reply;
    if (path == QLatin1String("/wp-json/jwt-auth/v1/token") && request.method == "POST") {
        *routeName = QStringLiteral("login");
        return login(request);
    }
    if (path == QLatin1String("/edd-api/products/")) {
        *routeName = QStringLiteral("products");
        reply.body = json(QJsonObject{{QStringLiteral("products"), m_catalogue.products(QStringLiteral("http://127.0.0.1:%1").arg(port()))},
                                      {QStringLiteral("request_speed"), 0.01}});
        return reply;
    }
    if (path == QLatin1String("/edd-api/sales/")) {
        *routeName = QStringLiteral("sales");
        return sales(request);
    }
    if (path == QLatin1String("/wp-json/kiv-edd-api/get_featured_products/")) {
        *routeName = QStringLiteral("featured");
        reply.body = json(m_catalogue.featured());
        return reply;
    }
    if (path == QLatin1String("/wp-json/kiv-edd-api/subscriptions/") && request.method == "POST") {
        *routeName = QStringLiteral("subscriptions");
        return subscriptions(request);
    }
    if (path == QLatin1String("/wp-json/kiv-edd-api/get_set_info/")) {
        *routeName = QStringLiteral("setinfo");
        return setInfo(request);
    }
    if (path == QLatin1String("/wp-json/kiv-edd-api/get_download_link/") && request.method == "POST") {
        *routeName = QStringLiteral("link");
        *link = formFields(request.body).value(QStringLiteral("id"));
        return downloadLink(request);
    }
    if (path.startsWith(QLatin1String("/downloads/"))) {
        *routeName = QStringLiteral("download");
        *link = path.section(QLatin1Char('/'), 2, 2);
        return download(request);
    }
    if (path.startsWith(QLatin1String("/images/"))) {
        *routeName = QStringLiteral("image");
        *link = path.section(QLatin1Char('/'), 2, 2);
        return image(*link);
    }
    reply.status = 404;
    reply.body = R"({"code":"rest_no_route","message":"No route was found matching the URL and request method","data":{"status":404}})";
    return reply;
}

StoreServer::Reply StoreServer::control(const Request &request)
{
    Reply reply;
    if (request.path == QLatin1String("/_control/fault")) {
        const bool ok = setFault(request.query.queryItemValue(QStringLiteral("route")),
                                 request.query.queryItemValue(QStringLiteral("kind")));
        reply.status = ok ? 200 : 400;
        reply.body = ok ? "\"ok\"" : "\"unknown route or kind\"";
    } else if (request.path == QLatin1String("/_control/requests")) {
        reply.body = json(m_requests);
    } else if (request.path == QLatin1String("/_control/reset")) {
        m_faults.clear();
        m_requests = QJsonArray();
        reply.body = "\"ok\"";
    } else {
        reply.status = 404;
        reply.body = "\"no such control\"";
    }
    return reply;
}

StoreServer::Reply StoreServer::login(const Request &request)
{
    const QHash<QString, QString> fields = formFields(request.body);
    Reply reply;
    const StoreCatalogue::User *user = m_catalogue.user(fields.value(QStringLiteral("username")),
                                                        fields.value(QStringLiteral("password")));
    if (!user) {
        // What the JWT plug-in answers to wrong credentials.
        reply.status = 403;
        reply.body = R"({"code":"jwt_auth_failed","data":{"status":403},"message":"Invalid Credentials."})";
        return reply;
    }
    reply.body = json(QJsonObject{{QStringLiteral("token"), QStringLiteral("local.store.token")},
                                  {QStringLiteral("user_display_name"), user->username},
                                  {QStringLiteral("user_email"), user->email},
                                  {QStringLiteral("user_nicename"), user->username.toLower()}});
    return reply;
}

StoreServer::Reply StoreServer::sales(const Request &request)
{
    Reply reply;
    const auto hex32 = [](const QString &text) {
        static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{32}$"));
        return pattern.match(text).hasMatch();
    };
    if (!hex32(request.query.queryItemValue(QStringLiteral("key")))
        || !hex32(request.query.queryItemValue(QStringLiteral("token")))) {
        reply.status = 401;
        reply.body = R"({"error":"Your request could not be authenticated!"})";
        return reply;
    }
    QJsonArray sales;
    const QString email = request.query.queryItemValue(QStringLiteral("email"), QUrl::FullyDecoded);
    if (const StoreCatalogue::User *user = m_catalogue.userByEmail(email)) {
        int number = 1;
        for (const int id : user->owned) {
            sales.append(QJsonObject{
                {QStringLiteral("ID"), number},
                {QStringLiteral("email"), email},
                {QStringLiteral("products"),
                 QJsonArray{QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("quantity"), 1}}}}});
            ++number;
        }
    }
    reply.body = json(QJsonObject{{QStringLiteral("sales"), sales}, {QStringLiteral("request_speed"), 0.01}});
    return reply;
}

StoreServer::Reply StoreServer::subscriptions(const Request &request)
{
    Reply reply;
    const QString email = QJsonDocument::fromJson(request.body).object().value(QStringLiteral("id")).toString();
    QJsonArray list;
    if (const StoreCatalogue::User *user = m_catalogue.userByEmail(email)) {
        for (const QString &text : user->subscriptions)
            list.append(text);
    }
    reply.body = json(list);
    return reply;
}

StoreServer::Reply StoreServer::setInfo(const Request &request)
{
    Reply reply;
    const QString xml = m_catalogue.setInfo(request.query.queryItemValue(QStringLiteral("id")).toInt());
    if (xml.isNull()) {
        reply.status = 404;
        reply.body = R"({"code":"no_set_info","message":"No set information","data":{"status":404}})";
        return reply;
    }
    reply.body = jsonString(xml);
    return reply;
}

StoreServer::Reply StoreServer::downloadLink(const Request &request)
{
    Reply reply;
    const QString link = formFields(request.body).value(QStringLiteral("id"));
    if (!m_catalogue.hasPack(link)) {
        reply.body = "\"\"";
        return reply;
    }
    const QString url = QStringLiteral("http://127.0.0.1:%1/downloads/%2/%3?download_token=local")
                            .arg(port())
                            .arg(QString::fromLatin1(QUrl::toPercentEncoding(link)),
                                 QString::fromLatin1(QUrl::toPercentEncoding(m_catalogue.packFileName(link))));
    reply.body = jsonString(url);
    return reply;
}

StoreServer::Reply StoreServer::download(const Request &request)
{
    Reply reply;
    const QStringList parts = request.path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString link = parts.value(1);
    if (parts.size() != 3 || !m_catalogue.hasPack(link)) {
        reply.status = 404;
        reply.body = "not found";
        return reply;
    }
    reply.contentType = "application/x-rar-compressed";
    const QString fault = m_faults.value(QStringLiteral("download/") + link, m_faults.value(QStringLiteral("download")));
    reply.body = m_catalogue.packArchive(link, fault == QLatin1String("hostile"));
    return reply;
}

StoreServer::Reply StoreServer::image(const QString &file)
{
    Reply reply;
    const QString name = file.endsWith(QLatin1String(".png")) ? file.chopped(4) : QString();
    if (!m_catalogue.hasImage(name)) {
        reply.status = 404;
        reply.contentType = "text/plain";
        reply.body = "not found";
        return reply;
    }
    reply.contentType = "image/png";
    reply.body = m_catalogue.image(name);
    return reply;
}

QByteArray StoreServer::wrongShape(const QString &route)
{
    if (route == QLatin1String("login") || route == QLatin1String("setinfo"))
        return "[1,2,3]";
    if (route == QLatin1String("products"))
        return R"({"products":{"info":{"id":1}},"request_speed":0.01})";
    if (route == QLatin1String("sales"))
        return R"({"sales":"none"})";
    if (route == QLatin1String("featured"))
        return R"({"featured":[1,2]})";
    if (route == QLatin1String("subscriptions"))
        return R"({"all":true})";
    return R"({"url":"http:\/\/127.0.0.1\/nothing.rar"})";
}

void StoreServer::send(QTcpSocket *socket, const Reply &original, const QString &route, const QString &fault)
{
    Reply reply = original;
    if (fault == QLatin1String("stall"))
        return; // the connection stays open and silent
    if (fault == QLatin1String("error")) {
        reply.status = 500;
        reply.body = R"({"code":"internal_server_error","message":"The store is out of order.","data":{"status":500}})";
    } else if (fault == QLatin1String("malformed")) {
        reply.body = "{\"products\": [ {\"info\": {\"id\": 1, \"title\": \"Broken";
    } else if (fault == QLatin1String("wrongshape")) {
        reply.body = wrongShape(route);
    } else if (fault == QLatin1String("empty")) {
        reply.body = "\"\"";
    } else if (fault == QLatin1String("deep")) {
        reply.body = jsonString(QStringLiteral("<a>").repeated(60000));
    }

    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonOf(reply.status) + "\r\n";
    head += "Content-Type: " + reply.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (fault == QLatin1String("cut")) {
        // Announces the whole archive, sends half of it and hangs up.
        socket->write(head + reply.body.left(reply.body.size() / 2));
        socket->disconnectFromHost();
        return;
    }
    if (fault == QLatin1String("slow")) {
        socket->write(head);
        trickle(socket, reply.body);
        return;
    }
    socket->write(head + reply.body);
    socket->disconnectFromHost();
}

void StoreServer::trickle(QTcpSocket *socket, QByteArray rest)
{
    const int chunk = 4096;
    socket->write(rest.left(chunk));
    rest.remove(0, chunk);
    if (rest.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(50, this, [this, guarded, rest] {
        if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
            trickle(guarded, rest);
    });
}
