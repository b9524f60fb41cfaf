#pragma once

#include <QString>
#include <QUrl>

// Where the store lives and what the client may talk to. The compiled-in
// address is the maker's store; KIVARA_STORE_URL points the program at another
// one (a local test store, a self-hosted copy). Certificates are always
// checked; plain HTTP is accepted only for loopback hosts.
namespace StoreAddress {

QUrl defaultBaseUrl();
// KIVARA_STORE_URL when it is set and allowed, else the default.
QUrl baseUrl();
// HTTPS anywhere, HTTP only to 127.0.0.0/8, ::1 or localhost.
bool isAllowed(const QUrl &url);
// The store API's read credentials for sales: 32 lower-case hexadecimal digits each.
QString apiKey();
QString apiToken();

} // namespace StoreAddress
