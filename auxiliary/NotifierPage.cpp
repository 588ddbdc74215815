#include "auxiliary/NotifierPage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QWebEngineUrlRequestJob>

namespace {

const QString PAGE_RESOURCE = QStringLiteral(":/notifier/NotifierPage.html");
const QByteArray PAGE_TYPE = QByteArrayLiteral("text/html");
// The page's own words, each put in the user's language as it is served.
const char* const PAGE_TEXTS[] = {
    QT_TRANSLATE_NOOP("NotifierPage", "Welcome to SkinRecorder"),
    QT_TRANSLATE_NOOP("NotifierPage", "Convert"),
    QT_TRANSLATE_NOOP("NotifierPage", "Play"),
    QT_TRANSLATE_NOOP("NotifierPage", "Pause"),
    QT_TRANSLATE_NOOP("NotifierPage", "Stop"),
    QT_TRANSLATE_NOOP("NotifierPage", "records into an MPEG file"),
    QT_TRANSLATE_NOOP("NotifierPage", "previews without a file"),
    QT_TRANSLATE_NOOP("NotifierPage", "holds, without a gap"),
    QT_TRANSLATE_NOOP("NotifierPage", "ends and closes the file"),
    QT_TRANSLATE_NOOP("NotifierPage", "Right-click the window for another skin. Click this note to put it away."),
};

QByteArray TranslatedPage(const QByteArray& page)
{
    QString strPage = QString::fromUtf8(page);
    for (const char* pszText : PAGE_TEXTS) {
        const QString strText = QString::fromUtf8(pszText);
        strPage.replace(u'>' + strText + u'<',
                        u'>' + QCoreApplication::translate("NotifierPage", pszText).toHtmlEscaped() + u'<');
    }
    return strPage.toUtf8();
}

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
    pBuffer->setData(TranslatedPage(page.readAll()));
    pJob->reply(PAGE_TYPE, pBuffer);
}
