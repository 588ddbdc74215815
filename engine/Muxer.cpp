#include "engine/Muxer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/opt.h>
}

#include "engine/RecordingSettings.h"

namespace {

// The C structs share their names with functions.
using CFileLock = struct flock;
using CFileStatus = struct stat;

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
    ReleaseFile();
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
    m_streamTypes.push_back(pEncoder->codec_type);
    m_packetCounts.push_back(0);
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
    eCause = EFailure::eOutputFile;
    if (!strTitle.empty() && av_dict_set(&m_pOutput->metadata, "title", strTitle.c_str(), 0) < 0) {
        strReason = "out of memory";
        return false;
    }
    if (!ClaimFile(strFileName, eCause, strReason))
        return false;
    // The file is this recording's now; FFmpeg may empty it.
    int nResult = avio_open(&m_pOutput->pb, strFileName.c_str(), AVIO_FLAG_WRITE);
    if (nResult < 0) {
        strReason = "cannot create " + strFileName + ": " + AvErrorText(nResult);
        eCause = FileFailure(nResult, strFileName, EFailure::eOutputFile);
        Discard();
        return false;
    }
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

bool CMuxer::ClaimFile(const std::string& strFileName, EFailure& eCause, std::string& strReason)
{
    // An existing file is opened as it is, not emptied: the lock decides
    // first whether it may be written. O_EXCL tells whether this call made
    // the file, however another process races it.
    m_nFileDescriptor = open(strFileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    m_bCreatedFile = m_nFileDescriptor >= 0;
    if (m_nFileDescriptor < 0 && errno == EEXIST)
        m_nFileDescriptor = open(strFileName.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_nFileDescriptor < 0) {
        const int nError = errno;
        strReason = "cannot create " + strFileName + ": " + std::strerror(nError);
        eCause = FileFailure(AVERROR(nError), strFileName, EFailure::eOutputFile);
        return false;
    }
    m_strFileName = strFileName;
    // Only a regular file holds a recording that a second writer would
    // corrupt; a device such as /dev/full or a pipe is shared as it is.
    CFileStatus status {};
    if (fstat(m_nFileDescriptor, &status) == 0 && !S_ISREG(status.st_mode))
        return true;
    // An open-file-description lock: it conflicts with another recording's
    // in this process as in any other, and goes when the descriptor closes.
    CFileLock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fcntl(m_nFileDescriptor, F_OFD_SETLK, &lock) == 0)
        return true;
    const int nError = errno;
    if (nError != EAGAIN && nError != EACCES) {
        // A file system without locks still records, unguarded.
        return true;
    }
    // Even a file this call made may have been claimed by another
    // recording before the lock came: it is that one's now.
    m_bCreatedFile = false;
    ReleaseFile();
    eCause = EFailure::eFileBeingRecorded;
    strReason = "\"" + strFileName + "\" is being recorded by another recording; choose another file";
    return false;
}

void CMuxer::ReleaseFile()
{
    if (m_nFileDescriptor >= 0)
        close(m_nFileDescriptor);
    m_nFileDescriptor = -1;
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
    ReleaseFile();
}

bool CMuxer::HasStream(AVMediaType eType) const
{
    return std::find(m_streamTypes.begin(), m_streamTypes.end(), eType) != m_streamTypes.end();
}

bool CMuxer::WroteAny(AVMediaType eType) const
{
    for (std::size_t nStream = 0; nStream < m_streamTypes.size(); ++nStream) {
        if (m_streamTypes[nStream] == eType && m_packetCounts[nStream] > 0)
            return true;
    }
    return false;
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
    ++m_packetCounts[packet.nStream];
    m_state.m_nBytesWritten = avio_tell(m_pOutput->pb);
}

void CMuxer::Close()
{
    if (!m_pOutput)
        return;
    const bool bRecorded = m_bHeaderWritten;
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
    // Whatever was written went with the last name of the file (or with
    // its folder); the recording is lost and must not pass for done.
    CFileStatus status {};
    if (bRecorded && m_nFileDescriptor >= 0 && fstat(m_nFileDescriptor, &status) == 0 && status.st_nlink == 0)
        m_state.Fail(EFailure::eFileDeleted, "the file " + m_strFileName + " was deleted while it was being recorded");
    ReleaseFile();
}
