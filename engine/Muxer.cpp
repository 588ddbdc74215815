#include "engine/Muxer.h"

#include <filesystem>

extern "C" {
#include <libavutil/opt.h>
}

#include "engine/RecordingSettings.h"

namespace {

// The kind of a file error that a person can act on: free space, or choose
// another folder; eOther for the rest.
EFailure FileFailure(int nError, const std::string& strFileName, EFailure eOther)
{
    if (nError == AVERROR(ENOSPC) || nError == AVERROR(EDQUOT))
        return EFailure::eDiskFull;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(strFileName, error).parent_path();
    // A folder that is a file is a mistake of another kind, told as such.
    if ((nError == AVERROR(ENOENT) || nError == AVERROR(ENOTDIR)) && !std::filesystem::exists(folder, error))
        return EFailure::eFolderMissing;
    return eOther;
}

} // namespace

CMuxer::CMuxer(CSessionState& state, const CRecordingProfile& profile)
    : m_state(state)
    , m_nWorkMode(profile.nWorkMode)
    , m_layout(MpegStreamLayout(profile))
{
}

CMuxer::~CMuxer()
{
    Close();
}

int CMuxer::AddStream(const AVCodecContext* pEncoder, std::string& strReason)
{
    if (!m_pOutput) {
        const bool bMpeg = m_nWorkMode == WORK_MODE_MPEG;
        const char* pszMuxer = bMpeg ? m_layout.pszMuxer : "avi";
        AVFormatContext* pRawOutput = nullptr;
        int nResult = avformat_alloc_output_context2(&pRawOutput, nullptr, pszMuxer, nullptr);
        if (nResult < 0) {
            strReason = std::string("cannot set up the ") + pszMuxer + " muxer: " + AvErrorText(nResult);
            return -1;
        }
        m_pOutput.reset(pRawOutput);
        if (bMpeg && !UseLayout(strReason))
            return -1;
    }
    AVStream* pStream = avformat_new_stream(m_pOutput.get(), nullptr);
    if (!pStream) {
        strReason = "out of memory";
        return -1;
    }
    const int nResult = avcodec_parameters_from_context(pStream->codecpar, pEncoder);
    if (nResult < 0) {
        strReason = "cannot describe the encoded stream to the muxer: " + AvErrorText(nResult);
        return -1;
    }
    pStream->time_base = pEncoder->time_base;
    if (pEncoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        pStream->sample_aspect_ratio = pEncoder->sample_aspect_ratio;
        pStream->avg_frame_rate = pEncoder->framerate;
        // The muxer sizes its buffers from the VBV figures the encoder uses.
        AVCPBProperties* pProperties = av_cpb_properties_alloc(nullptr);
        if (pProperties) {
            pProperties->max_bitrate = pEncoder->rc_max_rate;
            pProperties->buffer_size = pEncoder->rc_buffer_size;
            pProperties->avg_bitrate = pEncoder->bit_rate;
            // the stream's side data takes over pProperties
            if (av_stream_add_side_data(pStream, AV_PKT_DATA_CPB_PROPERTIES, reinterpret_cast<uint8_t*>(pProperties),
                                        sizeof(*pProperties))
                < 0)
                av_free(pProperties);
        }
    }
    m_encoderTimeBases.push_back(pEncoder->time_base);
    return pStream->index;
}

bool CMuxer::UseLayout(std::string& strReason)
{
    // Authoring tools check that every pack fills one disc sector and that
    // the stream's clock runs at the disc's reading rate.
    if (m_layout.nPacketBytes > 0)
        m_pOutput->packet_size = static_cast<unsigned int>(m_layout.nPacketBytes);
    if (m_layout.nMuxRateBits > 0) {
        const int nResult = av_opt_set_int(m_pOutput->priv_data, "muxrate", m_layout.nMuxRateBits, 0);
        if (nResult < 0) {
            strReason =
                std::string("the ") + m_layout.pszMuxer + " muxer refuses its mux rate: " + AvErrorText(nResult);
            return false;
        }
    }
    return true;
}

bool CMuxer::Open(const std::string& strFileName, const std::string& strTitle, EFailure& eCause, std::string& strReason)
{
    if (!strTitle.empty() && av_dict_set(&m_pOutput->metadata, "title", strTitle.c_str(), 0) < 0) {
        strReason = "out of memory";
        return false;
    }
    std::error_code error;
    const bool bExisted = std::filesystem::exists(strFileName, error);
    int nResult = avio_open(&m_pOutput->pb, strFileName.c_str(), AVIO_FLAG_WRITE);
    if (nResult < 0) {
        strReason = "cannot create " + strFileName + ": " + AvErrorText(nResult);
        eCause = FileFailure(nResult, strFileName, EFailure::eOutputFile);
        return false;
    }
    m_strFileName = strFileName;
    m_bCreatedFile = !bExisted;
    nResult = avformat_write_header(m_pOutput.get(), nullptr);
    if (nResult < 0) {
        strReason = "cannot write to " + strFileName + ": " + AvErrorText(nResult);
        eCause = FileFailure(nResult, strFileName, EFailure::eOutputFile);
        Discard();
        return false;
    }
    m_bHeaderWritten = true;
    return true;
}

void CMuxer::Discard()
{
    if (m_pOutput && m_pOutput->pb)
        avio_closep(&m_pOutput->pb);
    m_bHeaderWritten = false;
    if (m_bCreatedFile) {
        std::error_code error;
        std::filesystem::remove(m_strFileName, error);
        m_bCreatedFile = false;
    }
}

void CMuxer::Run()
{
    while (std::optional<CEncodedPacket> packet = m_packets.Pop()) {
        if (!m_bWriteFailed)
            WritePacket(*packet);
    }
    Close();
}

void CMuxer::WritePacket(CEncodedPacket& packet)
{
    AVPacket* pPacket = packet.pPacket.get();
    pPacket->stream_index = packet.nStream;
    av_packet_rescale_ts(pPacket, m_encoderTimeBases[packet.nStream], m_pOutput->streams[packet.nStream]->time_base);
    // the muxer takes the packet's buffers; pPacket returns blank
    const int nResult = av_interleaved_write_frame(m_pOutput.get(), pPacket);
    const int nIoError = m_pOutput->pb ? m_pOutput->pb->error : 0;
    if (nResult < 0 || nIoError < 0) {
        m_bWriteFailed = true;
        const int nError = nResult < 0 ? nResult : nIoError;
        m_state.Fail(FileFailure(nError, m_strFileName, EFailure::eWritingFile),
                     "writing the file failed: " + AvErrorText(nError));
        return;
    }
    m_state.m_nBytesWritten = avio_tell(m_pOutput->pb);
}

void CMuxer::Close()
{
    if (!m_pOutput)
        return;
    if (m_bHeaderWritten) {
        const int nResult = av_write_trailer(m_pOutput.get());
        if (nResult < 0 && !m_bWriteFailed)
            m_state.Fail(FileFailure(nResult, m_strFileName, EFailure::eWritingFile),
                         "finishing the file failed: " + AvErrorText(nResult));
        m_bHeaderWritten = false;
    }
    if (m_pOutput->pb) {
        avio_flush(m_pOutput->pb);
        if (m_pOutput->pb->error < 0 && !m_bWriteFailed)
            m_state.Fail(FileFailure(m_pOutput->pb->error, m_strFileName, EFailure::eWritingFile),
                         "writing the file failed: " + AvErrorText(m_pOutput->pb->error));
        // A trailer may go back to complete the header (AVI does), leaving
        // the position short of the end.
        const std::int64_t nSize = avio_size(m_pOutput->pb);
        m_state.m_nBytesWritten = nSize >= 0 ? nSize : avio_tell(m_pOutput->pb);
        const int nResult = avio_closep(&m_pOutput->pb);
        if (nResult < 0 && !m_bWriteFailed)
            m_state.Fail(FileFailure(nResult, m_strFileName, EFailure::eWritingFile),
                         "closing the file failed: " + AvErrorText(nResult));
    }
    m_pOutput.reset();
}
