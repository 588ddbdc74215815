#include "tools/syncprobe/SyncMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

extern "C" {
#include <libavutil/channel_layout.h>
}

#include "engine/AvPtr.h"

namespace {

// A white picture is brighter than any of the test pattern's: its mean luma
// is near 235 where the pattern's stays near the middle.
constexpr double WHITE_MEAN_LUMA = 200;
// A pixel in this many along and down stands for its neighbours.
constexpr int LUMA_SAMPLE_STEP = 4;
// A burst is at half of full scale; the codec's noise around it and the
// silence between bursts stay far below this.
constexpr float BURST_LEVEL = 0.15f;
// A burst's samples pass the level twice a millisecond, so a few
// milliseconds of quiet end it. Whole bursts come out of the codec 49.9 ms
// long; one shorter than 48 ms was cut by a pause or the end of the
// recording (a longer cut one would move its middle by up to a
// millisecond), and one much longer is a cut one run into the next by a
// pause.
constexpr double BURST_GAP_SECONDS = 0.005;
constexpr double BURST_SECONDS = 0.05;
constexpr double MIN_BURST_SECONDS = 0.048;
constexpr double MAX_BURST_SECONDS = 0.052;
// Marks come once a second: the first burst more than half a second from
// its flash belongs to another flash. After that the offset moves along a
// line, at the rate the clocks drift apart, give or take the flashes'
// spread around whole seconds; a burst this much further from where that
// line puts it belongs to another mark: one whose flash or burst a pause
// cut off, which the cut brought next to this one.
constexpr double MAX_FIRST_PAIRING_ERROR_SECONDS = 0.5;
constexpr double MAX_PAIRING_ERROR_SECONDS = 0.04;

struct CDecodedStream
{
    int nIndex = -1;
    AVRational timeBase { 1, 1 };
    AVRational frameRate { 0, 1 };
    CCodecContextPtr pDecoder;
};

// The flash falls on the picture nearest each whole second, up to half a
// picture before or after it. At num/den pictures a second the pictures
// meet the seconds on a grid of 1/den of a picture, so the flashes spread
// over (den - 1)/den of a picture: not at all at a whole number a second.
double FlashSpreadSeconds(AVRational frameRate)
{
    if (frameRate.num <= 0 || frameRate.den <= 0)
        return 0;
    return static_cast<double>(frameRate.den - 1) / frameRate.num;
}

bool OpenDecoder(AVFormatContext* pInput, AVMediaType eType, CDecodedStream& stream, std::string& strError)
{
    const AVCodec* pCodec = nullptr;
    stream.nIndex = av_find_best_stream(pInput, eType, -1, -1, &pCodec, 0);
    if (stream.nIndex < 0 || !pCodec) {
        strError = std::string("no decodable ") + av_get_media_type_string(eType) + " stream";
        return false;
    }
    AVStream* pStream = pInput->streams[stream.nIndex];
    stream.timeBase = pStream->time_base;
    if (eType == AVMEDIA_TYPE_VIDEO)
        stream.frameRate = av_guess_frame_rate(pInput, pStream, nullptr);
    stream.pDecoder.reset(avcodec_alloc_context3(pCodec));
    if (!stream.pDecoder) {
        strError = "out of memory";
        return false;
    }
    int nResult = avcodec_parameters_to_context(stream.pDecoder.get(), pStream->codecpar);
    if (nResult >= 0) {
        stream.pDecoder->pkt_timebase = stream.timeBase;
        nResult = avcodec_open2(stream.pDecoder.get(), pCodec, nullptr);
    }
    if (nResult < 0) {
        strError = std::string("cannot decode the ") + av_get_media_type_string(eType) + ": " + AvErrorText(nResult);
        return false;
    }
    return true;
}

double MeanLuma(const AVFrame* pFrame)
{
    // The decoders of MPEG and the other formats we record give planar YUV,
    // whose first plane is the luma.
    double dSum = 0;
    std::int64_t nCount = 0;
    for (int nY = 0; nY < pFrame->height; nY += LUMA_SAMPLE_STEP) {
        const std::uint8_t* pRow = pFrame->data[0] + static_cast<std::ptrdiff_t>(nY) * pFrame->linesize[0];
        for (int nX = 0; nX < pFrame->width; nX += LUMA_SAMPLE_STEP, ++nCount)
            dSum += pRow[nX];
    }
    return nCount > 0 ? dSum / static_cast<double>(nCount) : 0;
}

// Collects the flashes from decoded pictures and the bursts from decoded
// audio, in presentation order.
class CMarkCollector
{
public:
    explicit CMarkCollector(CSyncMarks& marks)
        : m_marks(marks)
    {
    }

    void AddPicture(const AVFrame* pFrame, double dSeconds)
    {
        const bool bWhite = MeanLuma(pFrame) > WHITE_MEAN_LUMA;
        if (bWhite && !m_bLastWhite)
            m_marks.flashSeconds.push_back(dSeconds);
        m_bLastWhite = bWhite;
    }

    // Mono float samples, the first at dSeconds.
    void AddSamples(const float* pSamples, int nCount, int nSampleRate, double dSeconds)
    {
        for (int nIndex = 0; nIndex < nCount; ++nIndex) {
            const double dTime = dSeconds + static_cast<double>(nIndex) / nSampleRate;
            if (std::fabs(pSamples[nIndex]) > BURST_LEVEL) {
                if (!m_bInBurst)
                    m_dBurstStart = dTime;
                m_bInBurst = true;
                m_dLastLoud = dTime;
            } else if (m_bInBurst && dTime - m_dLastLoud > BURST_GAP_SECONDS) {
                EndBurst();
            }
        }
    }

    void Finish()
    {
        if (m_bInBurst)
            EndBurst();
    }

private:
    void EndBurst()
    {
        m_bInBurst = false;
        // The middle of the burst is where both its edges agree, whatever
        // the codec smeared onto either of them.
        const double dLength = m_dLastLoud - m_dBurstStart;
        if (dLength >= MIN_BURST_SECONDS && dLength <= MAX_BURST_SECONDS)
            m_marks.burstSeconds.push_back((m_dBurstStart + m_dLastLoud - BURST_SECONDS) / 2);
        else
            m_marks.cutBurstSeconds.push_back(m_dBurstStart);
    }

    CSyncMarks& m_marks;
    bool m_bLastWhite = false;
    bool m_bInBurst = false;
    double m_dBurstStart = 0;
    double m_dLastLoud = 0;
};

double FrameSeconds(const AVFrame* pFrame, AVRational timeBase)
{
    return static_cast<double>(pFrame->best_effort_timestamp) * av_q2d(timeBase);
}

// Reads a file's pictures and audio into a collector.
class CMarkReader
{
public:
    bool Open(const std::string& strFile, std::string& strError)
    {
        AVFormatContext* pRawInput = nullptr;
        // avformat_open_input frees the context itself when it fails.
        const int nResult = avformat_open_input(&pRawInput, strFile.c_str(), nullptr, nullptr);
        if (nResult < 0) {
            strError = "cannot open " + strFile + ": " + AvErrorText(nResult);
            return false;
        }
        m_pInput.reset(pRawInput);
        if (avformat_find_stream_info(m_pInput.get(), nullptr) < 0) {
            strError = "cannot read the streams of " + strFile;
            return false;
        }
        m_pPacket.reset(av_packet_alloc());
        m_pFrame.reset(av_frame_alloc());
        m_pMono.reset(av_frame_alloc());
        if (!m_pPacket || !m_pFrame || !m_pMono) {
            strError = "out of memory";
            return false;
        }
        return OpenDecoder(m_pInput.get(), AVMEDIA_TYPE_VIDEO, m_video, strError)
            && OpenDecoder(m_pInput.get(), AVMEDIA_TYPE_AUDIO, m_audio, strError);
    }

    AVRational VideoFrameRate() const { return m_video.frameRate; }

    bool ReadAll(CMarkCollector& collector, std::string& strError)
    {
        while (av_read_frame(m_pInput.get(), m_pPacket.get()) >= 0) {
            const int nStream = m_pPacket->stream_index;
            // the decoder takes its own reference; the packet is ours to reuse
            const bool bDecoded = (nStream != m_video.nIndex || Decode(m_video, m_pPacket.get(), collector, strError))
                && (nStream != m_audio.nIndex || Decode(m_audio, m_pPacket.get(), collector, strError));
            av_packet_unref(m_pPacket.get());
            if (!bDecoded)
                return false;
        }
        if (!Decode(m_video, nullptr, collector, strError) || !Decode(m_audio, nullptr, collector, strError))
            return false;
        collector.Finish();
        return true;
    }

private:
    bool Decode(CDecodedStream& stream, const AVPacket* pPacket, CMarkCollector& collector, std::string& strError)
    {
        int nResult = avcodec_send_packet(stream.pDecoder.get(), pPacket);
        // A damaged packet costs a mark at most; the rest still counts.
        if (nResult == AVERROR_INVALIDDATA)
            return true;
        while (nResult >= 0) {
            nResult = avcodec_receive_frame(stream.pDecoder.get(), m_pFrame.get());
            if (nResult == AVERROR(EAGAIN) || nResult == AVERROR_EOF)
                return true;
            if (nResult >= 0) {
                const double dSeconds = FrameSeconds(m_pFrame.get(), stream.timeBase);
                if (&stream == &m_video) {
                    collector.AddPicture(m_pFrame.get(), dSeconds);
                } else {
                    // An audio frame without a timestamp follows the one before.
                    const double dStart =
                        m_pFrame->best_effort_timestamp != AV_NOPTS_VALUE ? dSeconds : m_dNextAudioSeconds;
                    m_dNextAudioSeconds = dStart + static_cast<double>(m_pFrame->nb_samples) / m_pFrame->sample_rate;
                    nResult = AddAudio(collector, dStart);
                }
                av_frame_unref(m_pFrame.get());
            }
        }
        strError = "cannot decode: " + AvErrorText(nResult);
        return false;
    }

    int AddAudio(CMarkCollector& collector, double dSeconds)
    {
        // Mixed down to mono float at the same rate: only the level counts.
        // The resampler sets itself up from the first frame it converts.
        if (!m_pResampler)
            m_pResampler.reset(swr_alloc());
        if (!m_pResampler)
            return AVERROR(ENOMEM);
        int nResult = ConvertToMono();
        if (nResult == AVERROR_INPUT_CHANGED) {
            swr_close(m_pResampler.get());
            nResult = ConvertToMono();
        }
        if (nResult < 0)
            return nResult;
        collector.AddSamples(reinterpret_cast<const float*>(m_pMono->data[0]), m_pMono->nb_samples,
                             m_pMono->sample_rate, dSeconds);
        return 0;
    }

    int ConvertToMono()
    {
        av_frame_unref(m_pMono.get());
        m_pMono->format = AV_SAMPLE_FMT_FLT;
        m_pMono->sample_rate = m_pFrame->sample_rate;
        av_channel_layout_default(&m_pMono->ch_layout, 1);
        return swr_convert_frame(m_pResampler.get(), m_pMono.get(), m_pFrame.get());
    }

    CInputContextPtr m_pInput;
    CPacketPtr m_pPacket;
    CFramePtr m_pFrame;
    CFramePtr m_pMono;
    CSwrPtr m_pResampler;
    CDecodedStream m_video;
    CDecodedStream m_audio;
    double m_dNextAudioSeconds = 0;
};

// The time in an ascending list nearest to dTime; infinity for none.
double Nearest(const std::vector<double>& times, double dTime)
{
    const auto after = std::lower_bound(times.begin(), times.end(), dTime);
    double dNearest = std::numeric_limits<double>::infinity();
    if (after != times.end())
        dNearest = *after;
    if (after != times.begin() && dTime - *(after - 1) < std::fabs(dNearest - dTime))
        dNearest = *(after - 1);
    return dNearest;
}

// Where the offset at a flash should lie, and how far from there its burst
// may be.
struct COffsetForecast
{
    double dOffsetSeconds = 0;
    double dMaxErrorSeconds = 0;
};

// Carries the last offset along the line from the first: after an hour of a
// skewed clock its burst may lie seconds from its flash, nearer to another
// mark's. Each offset is off its line by up to half the flashes' spread, so
// the forecast is off by the spread, and by the slope's error, that spread
// over the line's length, for every second since the last pair.
COffsetForecast ForecastOffset(const std::vector<CSyncOffset>& offsets, double dFlashSeconds,
                               double dFlashSpreadSeconds)
{
    if (offsets.empty())
        return { 0, MAX_FIRST_PAIRING_ERROR_SECONDS };
    const CSyncOffset& first = offsets.front();
    const CSyncOffset& last = offsets.back();
    const double dLineSeconds = last.dVideoSeconds - first.dVideoSeconds;
    if (dLineSeconds <= 0)
        return { last.dOffsetSeconds, MAX_PAIRING_ERROR_SECONDS + dFlashSpreadSeconds };
    const double dSinceLastSeconds = dFlashSeconds - last.dVideoSeconds;
    const double dSlope = (last.dOffsetSeconds - first.dOffsetSeconds) / dLineSeconds;
    return { last.dOffsetSeconds + dSlope * dSinceLastSeconds,
             MAX_PAIRING_ERROR_SECONDS + dFlashSpreadSeconds * (1 + dSinceLastSeconds / dLineSeconds) };
}

} // namespace

std::optional<CSyncMarks> FindSyncMarks(const std::string& strFile, std::string& strError)
{
    CSyncMarks marks;
    CMarkCollector collector(marks);
    CMarkReader reader;
    if (!reader.Open(strFile, strError) || !reader.ReadAll(collector, strError))
        return std::nullopt;
    marks.dFlashSpreadSeconds = FlashSpreadSeconds(reader.VideoFrameRate());
    return marks;
}

std::vector<CSyncOffset> PairSyncMarks(const CSyncMarks& marks)
{
    std::vector<CSyncOffset> offsets;
    for (const double dFlash : marks.flashSeconds) {
        const COffsetForecast forecast = ForecastOffset(offsets, dFlash, marks.dFlashSpreadSeconds);
        const double dExpected = dFlash + forecast.dOffsetSeconds;
        const double dBurst = Nearest(marks.burstSeconds, dExpected);
        if (std::fabs(dBurst - dExpected) > forecast.dMaxErrorSeconds
            || std::fabs(Nearest(marks.cutBurstSeconds, dExpected) - dExpected) < std::fabs(dBurst - dExpected))
            continue;
        offsets.push_back({ dFlash, dBurst - dFlash });
    }
    return offsets;
}
