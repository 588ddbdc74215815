#pragma once

#include "engine/AvPtr.h"
#include "engine/BoundedQueue.h"
#include "engine/DiscStandard.h"
#include "engine/SessionState.h"

#include <string>
#include <vector>

// Writes the MPEG program stream or, in AVI work mode, the AVI file: owns
// the output file, takes packets from the encoders through one queue and
// interleaves them. After a write error
// it keeps draining the queue (so no encoder waits forever) and still writes
// the trailer, so what reached the disk stays playable.
class CMuxer
{
public:
    static constexpr std::size_t PACKET_QUEUE_SIZE = 64;

    // An MPEG program stream is laid out for the disc the profile suits.
    CMuxer(CSessionState& state, const CRecordingProfile& profile);
    ~CMuxer();
    CMuxer(const CMuxer&) = delete;
    CMuxer& operator=(const CMuxer&) = delete;

    // Adds a stream for an opened encoder; returns its index, -1 on failure.
    int AddStream(const AVCodecContext* pEncoder, std::string& strReason);

    // Opens the file and writes the header, with the title (if any) in the
    // container's metadata. The file stays locked until it is closed: a
    // file another recording (of any process) holds is refused with
    // eFileBeingRecorded and left as it is. A file this call created is
    // removed again when the header cannot be written. eCause tells a full
    // disk and a missing folder from other failures.
    bool Open(const std::string& strFileName, const std::string& strTitle, EFailure& eCause, std::string& strReason);

    CBoundedQueue<CEncodedPacket>& Input() { return m_packets; }

    // Thread body: writes until the queue is closed and drained, then the
    // trailer.
    void Run();

    // For a recording that never got going: closes the file and removes it
    // when Open created it. A file that existed before is left as it is.
    void Discard();

    // Whether a stream of that type was added, and got a packet; after Run.
    bool HasStream(AVMediaType eType) const;
    bool WroteAny(AVMediaType eType) const;

private:
    bool UseLayout(std::string& strReason);
    bool ClaimFile(const std::string& strFileName, EFailure& eCause, std::string& strReason);
    void ReleaseFile();
    void WritePacket(CEncodedPacket& packet);
    void Close();

    CSessionState& m_state;
    int m_nWorkMode;
    CStreamLayout m_layout;
    COutputContextPtr m_pOutput;
    std::string m_strFileName;
    bool m_bCreatedFile = false;
    // Our own descriptor of the file, which holds its lock and tells at the
    // end whether the file still has a name; FFmpeg writes through its own.
    int m_nFileDescriptor = -1;
    std::vector<AVRational> m_encoderTimeBases;
    std::vector<AVMediaType> m_streamTypes;
    std::vector<std::int64_t> m_packetCounts;
    CBoundedQueue<CEncodedPacket> m_packets { PACKET_QUEUE_SIZE };
    bool m_bHeaderWritten = false;
    bool m_bWriteFailed = false;
};
