#pragma once

#include <QString>
#include <QUrl>

#ifndef VELMORA_AUTHORITY_HOST
#error "VELMORA_AUTHORITY_HOST names the authority's web server (set by the build)"
#endif

namespace velmora {

// The authority's web pages; the host is chosen when the program is built.
inline QString AuthorityHost() { return QStringLiteral(VELMORA_AUTHORITY_HOST); }

inline QUrl AuthoritySiteUrl() { return QUrl(QStringLiteral("http://%1/").arg(AuthorityHost())); }

inline QUrl OnlineSubmissionUrl() {
  return QUrl(QStringLiteral("https://%1/test/ShowLoginVelmora").arg(AuthorityHost()));
}

// The menu item's caption, with its Alt letter.
inline QString AuthoritySiteCaption() {
  return QStringLiteral("Σύν&δεση με εξυπηρετητή Quorvane (%1)").arg(AuthorityHost());
}

}  // namespace velmora
