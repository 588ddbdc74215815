#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// What the desktop granted: a connection to its PipeWire daemon that may
// read one node, the shared screen or window.
struct CScreenCastGrant
{
    int nPipeWireFd = -1; // the portal object's, open until its Close
    quint32 nNode = 0;
    // The stream's size as the portal told it; 0 when it did not.
    int nWidth = 0;
    int nHeight = 0;
};

// The xdg-desktop-portal ScreenCast conversation: CreateSession,
// SelectSources, Start, OpenPipeWireRemote. The desktop asks the person
// once which monitor or window to share; the restore token it hands back is
// kept, and sent the next time, so that later recordings are not asked
// about again. The session, and with it the desktop's permission to read
// the stream, lasts until Close or the destructor.
//
// Thread contract: Open and Close on the thread that made the object, which
// must belong to a QCoreApplication; IsOffered from any thread.
class CScreenCastPortal : public QObject
{
    Q_OBJECT

public:
    enum class EOutcome {
        eGranted,
        eRefused, // the person cancelled the desktop's dialog
        eFailed,
    };

    // The session bus has a desktop portal that casts monitors or windows.
    // Never fails and never waits long: a bus or portal that does not
    // answer counts as none.
    static bool IsOffered();

    // The restore token goes to and comes from strTokenFile (see
    // RestoreTokenStore.h); empty: none is kept.
    explicit CScreenCastPortal(const QString& strTokenFile, QObject* pParent = nullptr);
    ~CScreenCastPortal() override; // closes the session

    // Holds the whole conversation. The picker waits on a person, so this
    // waits as long as the portal is there to answer; meanwhile timers and
    // painting go on, and input to this program's windows waits until the
    // conversation is over.
    // On eRefused and eFailed, strReason says why.
    EOutcome Open(CScreenCastGrant& grant, QString& strReason);
    // Ends the session: the desktop stops sharing.
    void Close();

signals:
    // The request under way was answered.
    void Answered(QPrivateSignal);

private slots:
    void OnResponse(uint nResponse, const QVariantMap& results);

private:
    bool Request(const QString& strMethod, const QVariantList& arguments, const QString& strToken, QVariantMap& results,
                 EOutcome& eOutcome, QString& strReason);
    QVariantMap SourceOptions(const QString& strToken, const QVariantMap& properties) const;
    EOutcome Fail(EOutcome eOutcome);

    QString m_strTokenFile;
    QString m_strSession;
    int m_nPipeWireFd = -1;
    // The answer of the request under way.
    bool m_bAnswered = false;
    uint m_nResponse = 0;
    QVariantMap m_results;
};
