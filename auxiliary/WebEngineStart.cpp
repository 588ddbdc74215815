#include "auxiliary/WebEngineStart.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QStringList>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>

#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/HtmlPage.h"
#include "auxiliary/NotifierPage.h"

// Qt's own setter of the process-wide OpenGL context, which Qt WebEngine uses
// too; Qt has no public one.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* pContext);
QT_END_NAMESPACE

namespace {

// The web engine's own messages, Chromium's included, for a user who asks:
// QT_LOGGING_RULES="skinrecorder.webengine.debug=true".
Q_LOGGING_CATEGORY(lcWebEngine, "skinrecorder.webengine", QtInfoMsg)

const char* const PROCESS_VARIABLE = "QTWEBENGINEPROCESS_PATH";
const char* const RESOURCES_VARIABLE = "QTWEBENGINE_RESOURCES_PATH";
const char* const SANDBOX_VARIABLE = "QTWEBENGINE_DISABLE_SANDBOX";
const char* const FLAGS_VARIABLE = "QTWEBENGINE_CHROMIUM_FLAGS";
const QString NO_SANDBOX_FLAG = QStringLiteral("--no-sandbox");
// Without the sandbox Chromium needs no zygote: each renderer is then a
// child of ours and ends with its page, where a zygote would stay for as
// long as the program runs.
const QString NO_ZYGOTE_FLAG = QStringLiteral("--no-zygote");
// Only fatal errors of Chromium's own log reach the terminal.
const QString QUIET_FLAG = QStringLiteral("--log-level=3");
// Qt WebEngine reports its settings in this category on every start.
const char* const ENGINE_SETTINGS_CATEGORY = "qt.webenginecontext";
const QString PROCESS_NAME = QStringLiteral("QtWebEngineProcess");
const QString RESOURCES_NAME = QStringLiteral("qtwebengine_resources.pak");
const QString RESOURCES_FOLDER = QStringLiteral("resources");

#if defined(__SANITIZE_ADDRESS__)
// Chromium's objects do not pass AddressSanitizer's checks: an instrumented
// build keeps the engine out of its process.
constexpr bool ENGINE_FITS_BUILD = false;
const char* const XCB_GL_VARIABLE = "QT_XCB_GL_INTEGRATION";

// Here the engine stays off and nothing else draws with OpenGL, and the X
// server's GL driver, should anything load it, keeps memory that
// LeakSanitizer cannot name once the driver is unloaded: such a process has
// no GL on X.
void NoGlOnXWithoutEngine()
{
    if (!qEnvironmentVariableIsSet(XCB_GL_VARIABLE))
        qputenv(XCB_GL_VARIABLE, "none");
}
Q_CONSTRUCTOR_FUNCTION(NoGlOnXWithoutEngine)
#else
constexpr bool ENGINE_FITS_BUILD = true;
#endif

// The page's drawing shares its textures through one OpenGL context of the
// process. Qt WebEngine makes that context as the application starts unless
// there is one already; without a GPU (software OpenGL) that takes a good
// part of the way to the first window, in every start, popup or not. This
// one is there first, and only made when the engine is to start.
QOpenGLContext* SharedContext()
{
    // Lives as long as the process: Qt's windows may hold on to it.
    static auto* s_pContext = new QOpenGLContext;
    return s_pContext;
}

void ShareALaterContext()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qt_gl_set_global_share_context(SharedContext());
}
Q_CONSTRUCTOR_FUNCTION(ShareALaterContext)

// Where Qt WebEngine looks for a file: only the folder or file the variable
// names when it is set, else the candidates.
bool FoundWhereQtLooks(const char* pszVariable, const QStringList& arrCandidates, const QString& strName)
{
    if (qEnvironmentVariableIsSet(pszVariable)) {
        const QFileInfo given(qEnvironmentVariable(pszVariable));
        return given.isDir() ? QFileInfo::exists(QDir(given.filePath()).filePath(strName)) : given.isFile();
    }
    for (const QString& strFolder : arrCandidates) {
        if (QFileInfo::exists(QDir(strFolder).filePath(strName)))
            return true;
    }
    return false;
}

bool EngineFilesPresent()
{
    const QString strProgramDir = QCoreApplication::applicationDirPath();
    const QStringList arrProcessFolders = { QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath), strProgramDir };
    const QStringList arrResourceFolders = {
        QDir(QLibraryInfo::path(QLibraryInfo::DataPath)).filePath(RESOURCES_FOLDER), strProgramDir
    };
    return FoundWhereQtLooks(PROCESS_VARIABLE, arrProcessFolders, PROCESS_NAME)
        && FoundWhereQtLooks(RESOURCES_VARIABLE, arrResourceFolders, RESOURCES_NAME);
}

void RegisterSchemes()
{
    QWebEngineUrlScheme page(NotifierPage::SCHEME.toLatin1());
    page.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    page.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(page);
    // Chromium drops links of a scheme it cannot load before the page is
    // asked; a registered one with a handler reaches the navigation check.
    QWebEngineUrlScheme app(CHtmlCtrl::APP_SCHEME.toLatin1());
    app.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(app);
}

QLoggingCategory::CategoryFilter s_pNextFilter = nullptr;

void QuietEngineSettings(QLoggingCategory* pCategory)
{
    // Null while installFilter runs this over the categories there are,
    // which the filter before already set.
    if (s_pNextFilter != nullptr)
        s_pNextFilter(pCategory);
    if (qstrcmp(pCategory->categoryName(), ENGINE_SETTINGS_CATEGORY) == 0) {
        pCategory->setEnabled(QtDebugMsg, false);
        pCategory->setEnabled(QtInfoMsg, false);
    }
}

// Chromium reads its switches from the environment when the engine starts.
void AddChromiumFlags()
{
    QStringList arrFlags = qEnvironmentVariable(FLAGS_VARIABLE).split(u' ', Qt::SkipEmptyParts);
    // Chromium refuses to run as root with its sandbox. Qt's own switch for
    // that would announce itself on the terminal.
    if (geteuid() == 0 && !arrFlags.contains(NO_SANDBOX_FLAG))
        arrFlags.append(NO_SANDBOX_FLAG);
    const bool bSandboxOff = arrFlags.contains(NO_SANDBOX_FLAG) || qEnvironmentVariableIsSet(SANDBOX_VARIABLE);
    if (bSandboxOff && !arrFlags.contains(NO_ZYGOTE_FLAG))
        arrFlags.append(NO_ZYGOTE_FLAG);
    if (!lcWebEngine().isDebugEnabled()) {
        arrFlags.append(QUIET_FLAG);
        s_pNextFilter = QLoggingCategory::installFilter(QuietEngineSettings);
    }
    qputenv(FLAGS_VARIABLE, arrFlags.join(u' ').toLocal8Bit());
    qCDebug(lcWebEngine).noquote() << "Chromium's switches:" << arrFlags.join(u' ');
}

void MakeSharedContext()
{
    QOpenGLContext* pShared = SharedContext();
    pShared->setFormat(QSurfaceFormat::defaultFormat());
    pShared->setScreen(QGuiApplication::primaryScreen());
    if (!pShared->create())
        qCWarning(lcWebEngine) << "no OpenGL context for the web pane; its page may not show";
}

bool PrepareOnce()
{
    if (!ENGINE_FITS_BUILD || !EngineFilesPresent())
        return false;
    MakeSharedContext();
    AddChromiumFlags();
    RegisterSchemes();
    return true;
}

} // namespace

bool WebEngineStart::Prepare()
{
    static const bool s_bCanStart = PrepareOnce();
    return s_bCanStart;
}

QWebEngineProfile* WebEngineStart::Profile()
{
    static QWebEngineProfile* s_pProfile = nullptr;
    if (s_pProfile == nullptr) {
        // No storage name: nothing of the pages is written to disk.
        s_pProfile = new QWebEngineProfile(QCoreApplication::instance());
        s_pProfile->installUrlSchemeHandler(NotifierPage::SCHEME.toLatin1(), new CNotifierPageHandler(s_pProfile));
        s_pProfile->installUrlSchemeHandler(CHtmlCtrl::APP_SCHEME.toLatin1(), new CAppSchemeHandler(s_pProfile));
    }
    return s_pProfile;
}
