#include "engine/PipeWireSource.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <pipewire/pipewire.h>
#include <spa/utils/result.h>
#include <unistd.h>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mathematics.h>
}

#include "engine/PipeWirePicture.h"

namespace {

using CMonotonicClock = std::chrono::steady_clock;

constexpr AVRational MICROSECOND_TIME_BASE { 1, 1000000 };
// A node that exists links and agrees on a format within a moment; a
// loaded desktop may take a few seconds.
constexpr auto NEGOTIATION_TIMEOUT = std::chrono::seconds(5);
// A still screen's picture is read again after this many frame intervals
// without a new one; a moving one's pictures come sooner.
constexpr std::int64_t STILL_PICTURE_INTERVALS = 2;
constexpr std::size_t POD_BUFFER_SIZE = 1024;

std::int64_t MonotonicMicroseconds(CMonotonicClock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
}

void InitialisePipeWire()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] { pw_init(nullptr, nullptr); });
}

} // namespace

// Everything PipeWire calls back into, on its loop thread with the loop
// locked; the capture thread takes pictures out under m_mutex.
class CPipeWireSource::CConnection
{
public:
    ~CConnection();
    bool Open(const CPipeWireStream& stream, std::string& strReason);
    int ReadFrame(AVFrame* pFrame);
    std::string EndCause() const;
    std::int64_t TakeFramesLost();

    std::int64_t m_nStillIntervalUs = 0;

private:
    bool Connect(int nFd, std::string& strReason);
    bool FindNode(std::string& strReason);
    bool HasEnded() const;
    bool ConnectStream(std::string& strReason);
    // Waits on the loop, which must be locked, until done() or the timeout.
    template <typename TDone>
    bool WaitFor(TDone done);
    void End(const std::string& strCause);
    void OnFormat(const spa_pod* pParam);
    void OnPicture();

    static void OnCoreDone(void* pData, std::uint32_t nId, int nSequence);
    static void OnCoreError(void* pData, std::uint32_t nId, int nSequence, int nResult, const char* pszMessage);
    static void OnGlobal(void* pData, std::uint32_t nId, std::uint32_t nPermissions, const char* pszType,
                         std::uint32_t nVersion, const spa_dict* pProperties);
    static void OnGlobalRemove(void* pData, std::uint32_t nId);
    static void OnStateChanged(void* pData, pw_stream_state eOld, pw_stream_state eState, const char* pszError);
    static void OnParamChanged(void* pData, std::uint32_t nId, const spa_pod* pParam);
    static void OnProcess(void* pData);

    // The listeners' tables, which PipeWire reads for as long as the hooks live.
    static const pw_core_events& CoreEvents();
    static const pw_registry_events& RegistryEvents();
    static const pw_stream_events& StreamEvents();

    pw_thread_loop* m_pLoop = nullptr;
    pw_context* m_pContext = nullptr;
    pw_core* m_pCore = nullptr;
    pw_registry* m_pRegistry = nullptr;
    pw_stream* m_pStream = nullptr;
    spa_hook m_coreListener {};
    spa_hook m_registryListener {};
    spa_hook m_streamListener {};

    // Loop thread only (or the opening thread with the loop locked).
    std::uint32_t m_nNodeId = NO_PIPEWIRE_NODE;
    bool m_bNodeListed = false;
    int m_nSyncSequence = 0;
    bool m_bSynced = false;
    CStreamPicture m_picture; // no pixel format while there is no agreed format
    CBufferPoolPtr m_pPicturePool;

    mutable std::mutex m_mutex;
    CFramePtr m_pNewest;            // guarded by m_mutex: the newest picture not read yet
    bool m_bEnded = false;          // guarded by m_mutex
    std::string m_strEndCause;      // guarded by m_mutex
    std::int64_t m_nFramesLost = 0; // guarded by m_mutex
    // Capture thread only.
    CFramePtr m_pLastRead;
    CMonotonicClock::time_point m_lastReadTime {};
};

CPipeWireSource::CConnection::~CConnection()
{
    // With the loop stopped nothing calls back any more, so the objects go
    // in order without the lock.
    if (m_pLoop)
        pw_thread_loop_stop(m_pLoop);
    if (m_pStream)
        pw_stream_destroy(m_pStream);
    if (m_pRegistry)
        pw_proxy_destroy(reinterpret_cast<pw_proxy*>(m_pRegistry));
    if (m_pCore)
        pw_core_disconnect(m_pCore);
    if (m_pContext)
        pw_context_destroy(m_pContext);
    if (m_pLoop)
        pw_thread_loop_destroy(m_pLoop);
}

bool CPipeWireSource::CConnection::Open(const CPipeWireStream& stream, std::string& strReason)
{
    if (stream.nNodeId == NO_PIPEWIRE_NODE) {
        strReason = "no PipeWire stream was chosen";
        return false;
    }
    m_nNodeId = stream.nNodeId;
    InitialisePipeWire();
    m_pLoop = pw_thread_loop_new("pipewire-video", nullptr);
    m_pContext = m_pLoop ? pw_context_new(pw_thread_loop_get_loop(m_pLoop), nullptr, 0) : nullptr;
    if (!m_pContext) {
        strReason = std::string("cannot set up PipeWire: ") + std::strerror(errno);
        return false;
    }
    if (pw_thread_loop_start(m_pLoop) < 0) {
        strReason = "cannot start PipeWire's thread";
        return false;
    }
    pw_thread_loop_lock(m_pLoop);
    const bool bOpened = Connect(stream.nFd, strReason) && FindNode(strReason) && ConnectStream(strReason);
    pw_thread_loop_unlock(m_pLoop);
    return bOpened;
}

bool CPipeWireSource::CConnection::Connect(int nFd, std::string& strReason)
{
    if (nFd >= 0) {
        // PipeWire closes the descriptor it connects through; the caller
        // keeps its own.
        const int nOwnFd = fcntl(nFd, F_DUPFD_CLOEXEC, 0);
        if (nOwnFd < 0) {
            strReason = "the PipeWire connection " + std::to_string(nFd) + " is not open: " + std::strerror(errno);
            return false;
        }
        m_pCore = pw_context_connect_fd(m_pContext, nOwnFd, nullptr, 0);
    } else {
        m_pCore = pw_context_connect(m_pContext, nullptr, 0);
    }
    if (!m_pCore) {
        strReason = std::string("cannot connect to PipeWire: ") + std::strerror(errno);
        return false;
    }
    pw_core_add_listener(m_pCore, &m_coreListener, &CoreEvents(), this);
    m_pRegistry = pw_core_get_registry(m_pCore, PW_VERSION_REGISTRY, 0);
    if (!m_pRegistry) {
        strReason = std::string("cannot list PipeWire's objects: ") + std::strerror(errno);
        return false;
    }
    pw_registry_add_listener(m_pRegistry, &m_registryListener, &RegistryEvents(), this);
    return true;
}

bool CPipeWireSource::CConnection::FindNode(std::string& strReason)
{
    // The registry lists every object it has before it answers the sync.
    m_nSyncSequence = pw_core_sync(m_pCore, PW_ID_CORE, 0);
    const bool bAnswered = WaitFor([this] { return m_bSynced || HasEnded(); });
    if (!bAnswered || HasEnded()) {
        strReason = bAnswered ? EndCause() : "PipeWire does not answer";
        return false;
    }
    if (!m_bNodeListed) {
        strReason = "PipeWire has no node " + std::to_string(m_nNodeId) + " (its screen cast may have ended)";
        return false;
    }
    return true;
}

bool CPipeWireSource::CConnection::ConnectStream(std::string& strReason)
{
    pw_properties* pProperties = pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture",
                                                   PW_KEY_MEDIA_ROLE, "Screen", nullptr);
    // pw_stream_new owns the properties, also when it fails.
    m_pStream = pw_stream_new(m_pCore, "SkinRecorder", pProperties);
    if (!m_pStream) {
        strReason = std::string("cannot make a PipeWire stream: ") + std::strerror(errno);
        return false;
    }
    pw_stream_add_listener(m_pStream, &m_streamListener, &StreamEvents(), this);
    std::array<std::uint8_t, POD_BUFFER_SIZE> podBuffer {};
    spa_pod_builder builder {};
    spa_pod_builder_init(&builder, podBuffer.data(), podBuffer.size());
    const spa_pod* params[] = { BuildRawVideoFormats(builder) };
    const auto eFlags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS);
    const int nResult = pw_stream_connect(m_pStream, PW_DIRECTION_INPUT, m_nNodeId, eFlags, params, 1);
    if (nResult < 0) {
        strReason = "cannot connect to PipeWire node " + std::to_string(m_nNodeId) + ": " + spa_strerror(nResult);
        return false;
    }
    if (!WaitFor([this] { return m_picture.ePixelFormat != AV_PIX_FMT_NONE || HasEnded(); })) {
        strReason = "PipeWire node " + std::to_string(m_nNodeId)
            + " offered no raw RGB picture in shared memory within " + std::to_string(NEGOTIATION_TIMEOUT.count())
            + " s";
        return false;
    }
    if (HasEnded()) {
        strReason = EndCause();
        return false;
    }
    return true;
}

template <typename TDone>
bool CPipeWireSource::CConnection::WaitFor(TDone done)
{
    const auto deadline = CMonotonicClock::now() + NEGOTIATION_TIMEOUT;
    while (!done()) {
        const auto left = std::chrono::ceil<std::chrono::seconds>(deadline - CMonotonicClock::now());
        if (left.count() <= 0 || pw_thread_loop_timed_wait(m_pLoop, static_cast<int>(left.count())) != 0)
            return done();
    }
    return true;
}

void CPipeWireSource::CConnection::End(const std::string& strCause)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_bEnded)
            return;
        m_bEnded = true;
        m_strEndCause = strCause;
    }
    pw_thread_loop_signal(m_pLoop, false);
}

bool CPipeWireSource::CConnection::HasEnded() const
{
    std::lock_guard lock(m_mutex);
    return m_bEnded;
}

std::string CPipeWireSource::CConnection::EndCause() const
{
    std::lock_guard lock(m_mutex);
    return m_strEndCause;
}

const pw_core_events& CPipeWireSource::CConnection::CoreEvents()
{
    static const pw_core_events s_events = [] {
        pw_core_events events {};
        events.version = PW_VERSION_CORE_EVENTS;
        events.done = &CConnection::OnCoreDone;
        events.error = &CConnection::OnCoreError;
        return events;
    }();
    return s_events;
}

const pw_registry_events& CPipeWireSource::CConnection::RegistryEvents()
{
    static const pw_registry_events s_events = [] {
        pw_registry_events events {};
        events.version = PW_VERSION_REGISTRY_EVENTS;
        events.global = &CConnection::OnGlobal;
        events.global_remove = &CConnection::OnGlobalRemove;
        return events;
    }();
    return s_events;
}

const pw_stream_events& CPipeWireSource::CConnection::StreamEvents()
{
    static const pw_stream_events s_events = [] {
        pw_stream_events events {};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = &CConnection::OnStateChanged;
        events.param_changed = &CConnection::OnParamChanged;
        events.process = &CConnection::OnProcess;
        return events;
    }();
    return s_events;
}

void CPipeWireSource::CConnection::OnCoreDone(void* pData, std::uint32_t nId, int nSequence)
{
    auto* pThis = static_cast<CConnection*>(pData);
    if (nId == PW_ID_CORE && nSequence == pThis->m_nSyncSequence) {
        pThis->m_bSynced = true;
        pw_thread_loop_signal(pThis->m_pLoop, false);
    }
}

void CPipeWireSource::CConnection::OnCoreError(void* pData, std::uint32_t nId, int, int nResult, const char* pszMessage)
{
    // Errors of other objects reach the stream's state too; one of the core
    // itself means the connection is gone.
    if (nId == PW_ID_CORE)
        static_cast<CConnection*>(pData)->End(std::string("the connection to PipeWire was lost: ")
                                              + (pszMessage ? pszMessage : spa_strerror(nResult)));
}

void CPipeWireSource::CConnection::OnGlobal(void* pData, std::uint32_t nId, std::uint32_t, const char* pszType,
                                            std::uint32_t, const spa_dict*)
{
    auto* pThis = static_cast<CConnection*>(pData);
    if (nId == pThis->m_nNodeId && std::strcmp(pszType, PW_TYPE_INTERFACE_Node) == 0)
        pThis->m_bNodeListed = true;
}

void CPipeWireSource::CConnection::OnGlobalRemove(void* pData, std::uint32_t nId)
{
    auto* pThis = static_cast<CConnection*>(pData);
    // A screen cast's node goes when the user stops sharing from the desktop.
    if (nId == pThis->m_nNodeId)
        pThis->End("the screen sharing ended: PipeWire node " + std::to_string(nId) + " is gone");
}

void CPipeWireSource::CConnection::OnStateChanged(void* pData, pw_stream_state, pw_stream_state eState,
                                                  const char* pszError)
{
    auto* pThis = static_cast<CConnection*>(pData);
    if (eState == PW_STREAM_STATE_ERROR)
        pThis->End(std::string("the screen sharing ended: ") + (pszError ? pszError : "the stream failed"));
    else if (eState == PW_STREAM_STATE_UNCONNECTED)
        pThis->End("the screen sharing ended: the stream was disconnected");
}

void CPipeWireSource::CConnection::OnParamChanged(void* pData, std::uint32_t nId, const spa_pod* pParam)
{
    if (nId == SPA_PARAM_Format)
        static_cast<CConnection*>(pData)->OnFormat(pParam);
}

void CPipeWireSource::CConnection::OnFormat(const spa_pod* pParam)
{
    // No format: the stream is being renegotiated; pictures wait for the next.
    m_picture.ePixelFormat = AV_PIX_FMT_NONE;
    if (!pParam)
        return;
    const std::optional<CStreamPicture> picture = ParseStreamPicture(pParam);
    if (!picture) {
        pw_stream_set_error(m_pStream, -EINVAL, "unusable picture format");
        return;
    }
    // A window resized mid-stream comes back here with its new size; pictures
    // of the old one still in the pipeline keep their pool alive.
    const int nPictureBytes = av_image_get_buffer_size(picture->ePixelFormat, picture->nWidth, picture->nHeight, 1);
    m_pPicturePool.reset(nPictureBytes > 0 ? av_buffer_pool_init(static_cast<std::size_t>(nPictureBytes), nullptr)
                                           : nullptr);
    if (!m_pPicturePool) {
        pw_stream_set_error(m_pStream, -ENOMEM, "out of memory");
        return;
    }
    std::array<std::uint8_t, POD_BUFFER_SIZE> podBuffer {};
    spa_pod_builder builder {};
    spa_pod_builder_init(&builder, podBuffer.data(), podBuffer.size());
    const spa_pod* params[] = { BuildSharedMemoryBuffers(builder) };
    pw_stream_update_params(m_pStream, params, 1);
    m_picture = *picture;
    pw_thread_loop_signal(m_pLoop, false);
}

void CPipeWireSource::CConnection::OnProcess(void* pData)
{
    static_cast<CConnection*>(pData)->OnPicture();
}

void CPipeWireSource::CConnection::OnPicture()
{
    // Only the newest picture counts; older ones still queued go back unread.
    pw_buffer* pNewest = nullptr;
    while (pw_buffer* pBuffer = pw_stream_dequeue_buffer(m_pStream)) {
        if (pNewest)
            pw_stream_queue_buffer(m_pStream, pNewest);
        pNewest = pBuffer;
    }
    if (!pNewest)
        return;
    const spa_buffer* pSpaBuffer = pNewest->buffer;
    CFramePtr pPicture;
    if (m_picture.ePixelFormat != AV_PIX_FMT_NONE && pSpaBuffer->n_datas > 0)
        pPicture = CopyPicture(pSpaBuffer->datas[0], m_picture, m_pPicturePool.get());
    pw_stream_queue_buffer(m_pStream, pNewest);
    if (!pPicture)
        return;
    pPicture->pts = MonotonicMicroseconds(CMonotonicClock::now());
    pPicture->best_effort_timestamp = pPicture->pts;
    std::lock_guard lock(m_mutex);
    if (m_pNewest)
        ++m_nFramesLost;
    m_pNewest = std::move(pPicture);
}

int CPipeWireSource::CConnection::ReadFrame(AVFrame* pFrame)
{
    const CMonotonicClock::time_point now = CMonotonicClock::now();
    CFramePtr pNewest;
    {
        std::lock_guard lock(m_mutex);
        pNewest = std::move(m_pNewest);
        if (!pNewest && m_bEnded)
            return AVERROR_EOF;
    }
    if (pNewest) {
        m_pLastRead = std::move(pNewest);
    } else if (!m_pLastRead || now - m_lastReadTime < std::chrono::microseconds(m_nStillIntervalUs)) {
        return AVERROR(EAGAIN);
    } else {
        // The screen did not change: the same picture, now.
        m_pLastRead->pts = MonotonicMicroseconds(now);
        m_pLastRead->best_effort_timestamp = m_pLastRead->pts;
    }
    m_lastReadTime = now;
    return av_frame_ref(pFrame, m_pLastRead.get());
}

std::int64_t CPipeWireSource::CConnection::TakeFramesLost()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_nFramesLost, 0);
}

CPipeWireSource::CPipeWireSource() = default;

CPipeWireSource::~CPipeWireSource() = default;

bool CPipeWireSource::Open(const CPipeWireStream& stream, AVRational frameRate, std::string& strReason)
{
    m_pConnection = std::make_unique<CConnection>();
    m_pConnection->m_nStillIntervalUs =
        av_rescale(STILL_PICTURE_INTERVALS * MICROSECOND_TIME_BASE.den, frameRate.den, frameRate.num);
    if (m_pConnection->Open(stream, strReason))
        return true;
    m_pConnection.reset();
    return false;
}

int CPipeWireSource::ReadFrame(AVFrame* pFrame)
{
    return m_pConnection ? m_pConnection->ReadFrame(pFrame) : AVERROR_EOF;
}

AVRational CPipeWireSource::TimeBase() const
{
    return MICROSECOND_TIME_BASE;
}

std::string CPipeWireSource::EndCause(int nResult) const
{
    return m_pConnection && nResult == AVERROR_EOF ? m_pConnection->EndCause() : CFrameSource::EndCause(nResult);
}

std::int64_t CPipeWireSource::TakeFramesLost()
{
    return m_pConnection ? m_pConnection->TakeFramesLost() : 0;
}
