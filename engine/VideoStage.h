#pragma once

#include "engine/EncoderStage.h"
#include "engine/FramePicture.h"
#include "engine/RecorderTypes.h"

#include <memory>
#include <string>

// The video thread of a recording: scales captured frames into the coded
// picture keeping their shape (black bars fill the rest), lays the frame
// picture over them, feeds the preview, places them on the constant frame
// grid MPEG and AVI need and encodes them.
class CVideoStage : public CEncoderStage
{
public:
    static constexpr std::size_t FRAME_QUEUE_SIZE = 8;

    CVideoStage(const CRecordingSettings& settings, CSessionState& state, CPreviewCallback previewCallback,
                int nPreviewWidth, int nPreviewHeight);

    // Opens the video encoder the settings name, in a pixel format it
    // takes (YUV 4:2:0 where it can); only needed when recording to a file.
    bool OpenEncoder(std::string& strReason);

    // Thread body: runs until the input is closed and drained, then flushes.
    void Run();

private:
    // bWritable: the picture is drawn on, so it must not be the capture's own.
    AVFrame* ToCodedPicture(CCapturedFrame& captured, bool bWritable);
    void SendPreview(const AVFrame* pFrame);
    void Record(AVFrame* pFrame, std::int64_t nTimeUs);
    bool CheckMpegBitrate(std::string& strReason) const;
    bool UseStandardGops(AVCodecContext* pEncoder, std::string& strReason) const;
    bool UseStreamLayout(AVCodecContext* pEncoder, std::string& strReason) const;
    bool UseBestQuality(AVCodecContext* pEncoder, std::string& strReason) const;
    // The picture in the encoder's pixel format; the pipeline before it
    // (scaling, frame picture, preview) works in YUV 4:2:0.
    AVFrame* ToEncoderFormat(AVFrame* pFrame);
    bool Encode(AVFrame* pCoded, std::int64_t nPts);
    void KeepForRepeating(const AVFrame* pFrame);

    CPreviewCallback m_previewCallback;
    int m_nPreviewWidth = 0;
    int m_nPreviewHeight = 0;

    CSwsPtr m_pScaler;
    CFramePtr m_pScaled;
    CSwsPtr m_pPreviewScaler;
    CFramePtr m_pPreview;
    CSteadyTime m_lastPreviewTime {};
    CSwsPtr m_pConverter;
    CFramePtr m_pConverted;
    CFramePtr m_pLastRecorded; // repeated when the capture leaves a slot empty

    EFieldOrder m_eCodedFields = EFieldOrder::eProgressive;
    std::int64_t m_nNextPts = 0; // in the encoder's time base, one per frame
    bool m_bFirstRecorded = true;
};
