#include "tests/engine/PipeWireProducer.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int BYTES_PER_PIXEL = 4; // BGRx
constexpr int BAR_WIDTH_DIVISOR = 8;
constexpr std::uint32_t RED = 0x00ff0000; // as a little-endian BGRx word
constexpr std::uint32_t BLUE = 0x000000ff;
constexpr std::uint32_t GREY = 0x00808080;
constexpr std::uint32_t WHITE = 0x00ffffff;
constexpr int START_TIMEOUT_SECONDS = 10;
constexpr int MIN_BUFFERS = 2;
constexpr int DEFAULT_BUFFERS = 4;
constexpr int MAX_BUFFERS = 16;
constexpr std::size_t POD_BUFFER_SIZE = 1024;
constexpr std::int64_t NANOSECONDS = 1000000000;

const spa_pod* FixedFormat(spa_pod_builder& builder, int nWidth, int nHeight, int nRate)
{
    const spa_rectangle size { static_cast<std::uint32_t>(nWidth), static_cast<std::uint32_t>(nHeight) };
    const spa_fraction rate { static_cast<std::uint32_t>(nRate), 1 };
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video),
        SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_Id(SPA_VIDEO_FORMAT_BGRx), SPA_FORMAT_VIDEO_size, SPA_POD_Rectangle(&size), SPA_FORMAT_VIDEO_framerate,
        SPA_POD_Fraction(&rate)));
}

// The steady clock is the monotonic one PipeWire's timers run on.
std::int64_t MonotonicNanoseconds(std::chrono::steady_clock::time_point time = std::chrono::steady_clock::now())
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

std::filesystem::path SocketPath()
{
    const char* pszFolder = std::getenv("PIPEWIRE_RUNTIME_DIR");
    const char* pszName = std::getenv("PIPEWIRE_REMOTE");
    return std::filesystem::path(pszFolder ? pszFolder : "") / (pszName ? pszName : "pipewire-0");
}

} // namespace

// The node and its loop; callbacks run on the loop's thread with it locked.
class CPipeWireProducer::CNode
{
public:
    ~CNode();
    bool Start(int nWidth, int nHeight, int nRate, std::string& strReason);
    void Resize(int nWidth, int nHeight);
    void MarkSeconds(std::int64_t nOriginNs);

    std::atomic<std::uint32_t> m_nNodeId = PW_ID_ANY;
    std::atomic<int> m_nPicturesSent = 0;
    std::atomic<int> m_nLastWidth = 0;
    std::atomic<bool> m_bStill = false;
    // Nanoseconds of the monotonic clock; 0: no marks.
    std::atomic<std::int64_t> m_nMarkOriginNs = 0;

private:
    void Paint(std::uint8_t* pPixels, int nStride) const;
    bool IsMarkDue() const;
    void ArmTimer();
    static void OnStateChanged(void* pData, pw_stream_state, pw_stream_state eState, const char*);
    static void OnParamChanged(void* pData, std::uint32_t nId, const spa_pod* pParam);
    static void OnProcess(void* pData);
    static void OnTimer(void* pData, std::uint64_t);
    static const pw_stream_events& Events();

    pw_thread_loop* m_pLoop = nullptr;
    pw_stream* m_pStream = nullptr;
    spa_hook m_listener {};
    spa_source* m_pTimer = nullptr;
    int m_nRate = 0;
    // Loop thread only: the negotiated size, and where the bar is.
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPicture = 0;
    bool m_bFailed = false;
    bool m_bStreaming = false;
};

CPipeWireProducer::CNode::~CNode()
{
    if (m_pLoop)
        pw_thread_loop_stop(m_pLoop);
    if (m_pStream)
        pw_stream_destroy(m_pStream);
    if (m_pLoop)
        pw_thread_loop_destroy(m_pLoop);
}

const pw_stream_events& CPipeWireProducer::CNode::Events()
{
    static const pw_stream_events s_events = [] {
        pw_stream_events events {};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = &CNode::OnStateChanged;
        events.param_changed = &CNode::OnParamChanged;
        events.process = &CNode::OnProcess;
        return events;
    }();
    return s_events;
}

bool CPipeWireProducer::CNode::Start(int nWidth, int nHeight, int nRate, std::string& strReason)
{
    pw_init(nullptr, nullptr);
    m_nRate = nRate;
    m_pLoop = pw_thread_loop_new("test-producer", nullptr);
    if (!m_pLoop || pw_thread_loop_start(m_pLoop) < 0) {
        strReason = "cannot start a PipeWire loop";
        return false;
    }
    pw_thread_loop_lock(m_pLoop);
    m_pTimer = pw_loop_add_timer(pw_thread_loop_get_loop(m_pLoop), &CNode::OnTimer, this);
    m_pStream = pw_stream_new_simple(
        pw_thread_loop_get_loop(m_pLoop), "skinrecorder-test-producer",
        pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source", PW_KEY_NODE_NAME, "skinrecorder-test-producer", nullptr),
        &Events(), this);
    std::array<std::uint8_t, POD_BUFFER_SIZE> podBuffer {};
    spa_pod_builder builder {};
    spa_pod_builder_init(&builder, podBuffer.data(), podBuffer.size());
    const spa_pod* params[] = { FixedFormat(builder, nWidth, nHeight, nRate) };
    const auto eFlags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS);
    bool bStarted =
        m_pStream && m_pTimer && pw_stream_connect(m_pStream, PW_DIRECTION_OUTPUT, PW_ID_ANY, eFlags, params, 1) == 0;
    while (bStarted && m_nNodeId == PW_ID_ANY && !m_bFailed)
        bStarted = pw_thread_loop_timed_wait(m_pLoop, START_TIMEOUT_SECONDS) == 0;
    pw_thread_loop_unlock(m_pLoop);
    if (!bStarted || m_bFailed) {
        strReason = "the test producer's node did not come up on PipeWire";
        return false;
    }
    return true;
}

void CPipeWireProducer::CNode::Resize(int nWidth, int nHeight)
{
    pw_thread_loop_lock(m_pLoop);
    std::array<std::uint8_t, POD_BUFFER_SIZE> podBuffer {};
    spa_pod_builder builder {};
    spa_pod_builder_init(&builder, podBuffer.data(), podBuffer.size());
    const spa_pod* params[] = { FixedFormat(builder, nWidth, nHeight, m_nRate) };
    pw_stream_update_params(m_pStream, params, 1);
    pw_thread_loop_unlock(m_pLoop);
}

void CPipeWireProducer::CNode::OnStateChanged(void* pData, pw_stream_state, pw_stream_state eState, const char*)
{
    auto* pThis = static_cast<CNode*>(pData);
    if (eState == PW_STREAM_STATE_ERROR)
        pThis->m_bFailed = true;
    if (eState == PW_STREAM_STATE_PAUSED || eState == PW_STREAM_STATE_STREAMING)
        pThis->m_nNodeId = pw_stream_get_node_id(pThis->m_pStream);
    pThis->m_bStreaming = eState == PW_STREAM_STATE_STREAMING;
    pThis->ArmTimer();
    pw_thread_loop_signal(pThis->m_pLoop, false);
}

void CPipeWireProducer::CNode::ArmTimer()
{
    // The node drives its own graph: a picture every 1/rate s while linked,
    // and with marks on, each on the rate's grid from their origin, so that
    // one picture falls on each whole second.
    const std::int64_t nIntervalNs = NANOSECONDS / m_nRate;
    timespec interval { 0, static_cast<long>(nIntervalNs) };
    timespec start { 0, 1 };
    const std::int64_t nOriginNs = m_nMarkOriginNs;
    if (nOriginNs != 0) {
        const std::int64_t nNowNs = MonotonicNanoseconds();
        const std::int64_t nStartNs = nOriginNs + ((nNowNs - nOriginNs) / nIntervalNs + 1) * nIntervalNs;
        start = { static_cast<time_t>(nStartNs / NANOSECONDS), static_cast<long>(nStartNs % NANOSECONDS) };
    }
    pw_loop_update_timer(pw_thread_loop_get_loop(m_pLoop), m_pTimer, m_bStreaming ? &start : nullptr,
                         m_bStreaming ? &interval : nullptr, nOriginNs != 0);
}

void CPipeWireProducer::CNode::MarkSeconds(std::int64_t nOriginNs)
{
    pw_thread_loop_lock(m_pLoop);
    m_nMarkOriginNs = nOriginNs;
    ArmTimer();
    pw_thread_loop_unlock(m_pLoop);
}

void CPipeWireProducer::CNode::OnParamChanged(void* pData, std::uint32_t nId, const spa_pod* pParam)
{
    auto* pThis = static_cast<CNode*>(pData);
    spa_video_info_raw info {};
    if (nId != SPA_PARAM_Format || !pParam || spa_format_video_raw_parse(pParam, &info) < 0)
        return;
    pThis->m_nWidth = static_cast<int>(info.size.width);
    pThis->m_nHeight = static_cast<int>(info.size.height);
    const int nStride = pThis->m_nWidth * BYTES_PER_PIXEL;
    std::array<std::uint8_t, POD_BUFFER_SIZE> podBuffer {};
    spa_pod_builder builder {};
    spa_pod_builder_init(&builder, podBuffer.data(), podBuffer.size());
    const spa_pod* params[] = { static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
        SPA_POD_CHOICE_RANGE_Int(DEFAULT_BUFFERS, MIN_BUFFERS, MAX_BUFFERS), SPA_PARAM_BUFFERS_blocks, SPA_POD_Int(1),
        SPA_PARAM_BUFFERS_size, SPA_POD_Int(nStride * pThis->m_nHeight), SPA_PARAM_BUFFERS_stride, SPA_POD_Int(nStride),
        SPA_PARAM_BUFFERS_dataType, SPA_POD_CHOICE_FLAGS_Int(1 << SPA_DATA_MemFd))) };
    pw_stream_update_params(pThis->m_pStream, params, 1);
}

void CPipeWireProducer::CNode::OnTimer(void* pData, std::uint64_t)
{
    auto* pThis = static_cast<CNode*>(pData);
    if (!pThis->m_bStill)
        pw_stream_trigger_process(pThis->m_pStream);
}

void CPipeWireProducer::CNode::OnProcess(void* pData)
{
    auto* pThis = static_cast<CNode*>(pData);
    pw_buffer* pBuffer = pw_stream_dequeue_buffer(pThis->m_pStream);
    if (!pBuffer)
        return;
    spa_data& data = pBuffer->buffer->datas[0];
    const int nStride = pThis->m_nWidth * BYTES_PER_PIXEL;
    const std::uint32_t nSize = static_cast<std::uint32_t>(nStride * pThis->m_nHeight);
    if (data.data && nSize > 0 && data.maxsize >= nSize) {
        if (pThis->IsMarkDue())
            std::memset(data.data, 0xff, nSize);
        else
            pThis->Paint(static_cast<std::uint8_t*>(data.data), nStride);
        data.chunk->offset = 0;
        data.chunk->stride = nStride;
        data.chunk->size = nSize;
        ++pThis->m_nPicture;
        pThis->m_nLastWidth = pThis->m_nWidth;
        ++pThis->m_nPicturesSent;
    }
    pw_stream_queue_buffer(pThis->m_pStream, pBuffer);
}

bool CPipeWireProducer::CNode::IsMarkDue() const
{
    const std::int64_t nOriginNs = m_nMarkOriginNs;
    const std::int64_t nNowNs = MonotonicNanoseconds();
    if (nOriginNs == 0 || nNowNs < nOriginNs + NANOSECONDS / 2)
        return false;
    // Within half a picture of a whole second: the picture nearest it.
    const std::int64_t nPlaceNs = (nNowNs - nOriginNs + NANOSECONDS / 2) % NANOSECONDS - NANOSECONDS / 2;
    return std::abs(nPlaceNs) * 2 * m_nRate < NANOSECONDS;
}

void CPipeWireProducer::CNode::Paint(std::uint8_t* pPixels, int nStride) const
{
    const int nBarWidth = m_nWidth / BAR_WIDTH_DIVISOR;
    const int nBarLeft = m_nPicture * m_nWidth / PRODUCER_BAR_STEP_DIVISOR % m_nWidth;
    for (int nRow = 0; nRow < m_nHeight; ++nRow) {
        auto* pRow = reinterpret_cast<std::uint32_t*>(pPixels + static_cast<std::ptrdiff_t>(nRow) * nStride);
        const int nThird = nRow * 3 / m_nHeight;
        for (int nColumn = 0; nColumn < m_nWidth; ++nColumn) {
            const bool bBar = (nColumn - nBarLeft + m_nWidth) % m_nWidth < nBarWidth;
            pRow[nColumn] = nThird == 0 ? RED : nThird == 2 ? BLUE : bBar ? WHITE : GREY;
        }
    }
}

CPipeWireProducer::CPipeWireProducer() = default;

CPipeWireProducer::~CPipeWireProducer() = default;

bool CPipeWireProducer::Start(int nWidth, int nHeight, int nRate, std::string& strReason)
{
    m_pNode = std::make_unique<CNode>();
    return m_pNode->Start(nWidth, nHeight, nRate, strReason);
}

std::uint32_t CPipeWireProducer::NodeId() const
{
    return m_pNode ? m_pNode->m_nNodeId.load() : PW_ID_ANY;
}

void CPipeWireProducer::Resize(int nWidth, int nHeight)
{
    if (m_pNode)
        m_pNode->Resize(nWidth, nHeight);
}

void CPipeWireProducer::MarkSeconds(std::chrono::steady_clock::time_point origin)
{
    if (m_pNode)
        m_pNode->MarkSeconds(MonotonicNanoseconds(origin));
}

void CPipeWireProducer::SetStill(bool bStill)
{
    if (m_pNode)
        m_pNode->m_bStill = bStill;
}

void CPipeWireProducer::Stop()
{
    m_pNode.reset();
}

int CPipeWireProducer::PicturesSent() const
{
    return m_pNode ? m_pNode->m_nPicturesSent.load() : 0;
}

int CPipeWireProducer::LastPictureWidth() const
{
    return m_pNode ? m_pNode->m_nLastWidth.load() : 0;
}

int ConnectToPipeWire()
{
    const std::string strPath = SocketPath().string();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (strPath.size() >= sizeof(address.sun_path))
        return -1;
    std::memcpy(address.sun_path, strPath.c_str(), strPath.size() + 1);
    const int nFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (nFd < 0)
        return -1;
    if (connect(nFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        close(nFd);
        return -1;
    }
    return nFd;
}

bool IsPipeWireReachable(std::string& strWhyNot)
{
    // The user's own desktop daemon is never used: only the private one.
    if (!std::getenv("PIPEWIRE_RUNTIME_DIR")) {
        strWhyNot = "no private PipeWire daemon; run under tests/pipewire-exec.sh";
        return false;
    }
    const int nFd = ConnectToPipeWire();
    if (nFd < 0) {
        strWhyNot = "PipeWire does not answer at " + SocketPath().string() + " (is pipewire installed?)";
        return false;
    }
    close(nFd);
    return true;
}
