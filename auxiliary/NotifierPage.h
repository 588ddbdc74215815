#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// The page the notifier popup shows. It ships inside the program and is
// served under a scheme of our own, so the popup has its page offline and on
// the first start; the environment variable HOST_VARIABLE (for example
// "http://127.0.0.1:8000") sends the popup to another server instead.
namespace NotifierPage {

inline const QString SCHEME = QStringLiteral("skinrec");
inline const QString HOST = QStringLiteral("notifier");
inline const QString PATH = QStringLiteral("/myindex3.php");
inline const QString QUERY = QStringLiteral("pcode=7015");
inline const char* const HOST_VARIABLE = "SKINREC_NOTIFIER_HOST";

// The address the popup loads: the path and query above on the program's
// own host, or on the host HOST_VARIABLE names.
QUrl PageUrl();
// The page on the program's own host, whatever HOST_VARIABLE says.
QUrl BuiltInUrl();

} // namespace NotifierPage

// Answers requests for the program's own page from the Qt resource; any
// other path of the scheme is not found.
class CNotifierPageHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    explicit CNotifierPageHandler(QObject* pParent);

    void requestStarted(QWebEngineUrlRequestJob* pJob) override;
};
