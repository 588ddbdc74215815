#include "recorder/Encorda.h"

#include "engine/DeviceCatalog.h"
#include "engine/Recorder.h"
#include "portal/RestoreTokenStore.h"
#include "portal/ScreenCastPortal.h"

// The desktop portal's screen: the desktop asks the person before it shares
// it, and the recording holds the session the desktop opened.

bool CEncorda::OpenScreenCast(std::unique_ptr<CScreenCastPortal>& pScreenCast)
{
    m_strScreenCastError.clear();
    if (m_pRecorder->GetVideoDevices().Name(m_pRecorder->GetVideoDevice()) != PORTAL_SCREEN_NAME)
        return true;
    pScreenCast = std::make_unique<CScreenCastPortal>(DefaultRestoreTokenFile());
    CScreenCastGrant grant;
    QString strReason;
    const CScreenCastPortal::EOutcome eOutcome = pScreenCast->Open(grant, strReason);
    if (eOutcome == CScreenCastPortal::EOutcome::eGranted) {
        m_pRecorder->Profile().pipeWireStream = { grant.nPipeWireFd, grant.nNode };
        return true;
    }
    pScreenCast.reset();
    if (eOutcome == CScreenCastPortal::EOutcome::eRefused) {
        // The person's own choice: no fault to explain, nothing recorded.
        m_strLastFailureHeadline = tr(SCREEN_SHARING_REFUSED);
        m_strLastFailureText = tr("Nothing was recorded. Start again and choose a screen or window in the "
                                  "desktop's dialog to record it.");
        m_strScreenCastError = tr("the desktop's screen sharing dialog was cancelled");
    } else {
        m_strLastFailureHeadline = tr("Screen sharing failure, the desktop did not share its screen");
        m_strLastFailureText =
            tr("The desktop's screen sharing portal did not answer as it should: %1.").arg(strReason);
        m_strScreenCastError = strReason;
    }
    return false;
}

void CEncorda::CloseScreenCast()
{
    m_pScreenCast.reset();
    m_pRecorder->Profile().pipeWireStream = CPipeWireStream();
}
