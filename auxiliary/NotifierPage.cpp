#include "auxiliary/NotifierPage.h"

#include <QBuffer>
#include <QFile>
#include <QWebEngineUrlRequestJob>

namespace {

const QString PAGE_RESOURCE = QStringLiteral(":/notifier/NotifierPage.html");
const QByteArray PAGE_TYPE = QByteArrayLiteral("text/html");

QUrl PageOnHost(const QString& strHost)
{
    QUrl url(strHost);
    url.setPath(NotifierPage::PATH);
    url.setQuery(NotifierPage::QUERY);
    return url;
}

} // namespace

QUrl NotifierPage::PageUrl()
{
    const QString strHost = qEnvironmentVariable(HOST_VARIABLE);
    return strHost.isEmpty() ? BuiltInUrl() : PageOnHost(strHost);
}

QUrl NotifierPage::BuiltInUrl()
{
    return PageOnHost(SCHEME + QStringLiteral("://") + HOST);
}

CNotifierPageHandler::CNotifierPageHandler(QObject* pParent)
    : QWebEngineUrlSchemeHandler(pParent)
{
}

void CNotifierPageHandler::requestStarted(QWebEngineUrlRequestJob* pJob)
{
    QFile page(PAGE_RESOURCE);
    if (pJob->requestUrl().path() != NotifierPage::PATH || !page.open(QIODevice::ReadOnly)) {
        pJob->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The engine reads the reply after this returns; the job owns the buffer.
    auto* pBuffer = new QBuffer(pJob);
    pBuffer->setData(page.readAll());
    pJob->reply(PAGE_TYPE, pBuffer);
}
