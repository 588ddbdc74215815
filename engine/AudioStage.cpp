#include "engine/AudioStage.h"

#include <algorithm>
#include <span>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

#include "engine/AudioLevel.h"
#include "engine/Encoding.h"

namespace {

// Taken where the encoder has it (MPEG audio has only this one); otherwise
// the encoder's first.
constexpr AVSampleFormat PREFERRED_SAMPLE_FORMAT = AV_SAMPLE_FMT_S16;
constexpr int FREE_FRAME_SAMPLES = 1024;
// Drift correction: the captured blocks carry their recording-clock times,
// already smoothed, so the resampler follows them closely: it stretches or
// squeezes the audio in proportion to how far it is off, by at most 0.5 %
// (a pitch change nobody hears, above the 0.2 % of the worst sound card),
// working any difference off within about a second. Only a gap or overlap
// of a frame's length (a device that lost or repeated blocks) gets silence
// inserted or audio dropped at once.
constexpr double SYNC_MIN_COMPENSATION_SECONDS = 0.0001;
constexpr double SYNC_MAX_SOFT_COMPENSATION = 0.005;
constexpr double SYNC_COMPENSATION_DURATION_SECONDS = 1.0;
constexpr double SYNC_MIN_HARD_COMPENSATION_SECONDS = 0.04;

// MPEG audio layer II codes only these rates, in kbit/s: ISO 11172-3's at
// 32, 44.1 and 48 kHz, ISO 13818-3's at half those sample rates. FFmpeg's
// encoder would refuse others in kbit/s, or round 224500 down unasked.
constexpr int MPEG_AUDIO_SAMPLE_RATES[] = { 32000, 44100, 48000 };
constexpr int MPEG_AUDIO_HALF_SAMPLE_RATES[] = { 16000, 22050, 24000 };
constexpr int MPEG_AUDIO_BITRATES_KBIT[] = { 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 };
constexpr int MPEG_AUDIO_HALF_RATE_BITRATES_KBIT[] = { 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 };
constexpr int BITS_PER_KBIT = 1000;

bool Contains(std::span<const int> values, int nValue)
{
    return std::find(values.begin(), values.end(), nValue) != values.end();
}

std::string BitrateList(std::span<const int> bitratesKbit)
{
    std::string strList;
    for (std::size_t nIndex = 0; nIndex < bitratesKbit.size(); ++nIndex) {
        strList += nIndex == 0 ? "" : nIndex + 1 == bitratesKbit.size() ? " or " : ", ";
        strList += std::to_string(bitratesKbit[nIndex] * BITS_PER_KBIT);
    }
    return strList;
}

// At a sample rate MPEG audio has, the bit rate must be one of its table;
// another sample rate is the encoder's to refuse.
bool CheckMpegAudioBitrate(int nSampleRate, int nBitrate, std::string& strReason)
{
    const bool bHalfRate = Contains(MPEG_AUDIO_HALF_SAMPLE_RATES, nSampleRate);
    if (!bHalfRate && !Contains(MPEG_AUDIO_SAMPLE_RATES, nSampleRate))
        return true;
    const std::span<const int> bitratesKbit =
        bHalfRate ? std::span<const int>(MPEG_AUDIO_HALF_RATE_BITRATES_KBIT) : MPEG_AUDIO_BITRATES_KBIT;
    if (nBitrate % BITS_PER_KBIT == 0 && Contains(bitratesKbit, nBitrate / BITS_PER_KBIT))
        return true;
    strReason = "MPEG audio at " + std::to_string(nSampleRate) + " Hz is coded at " + BitrateList(bitratesKbit)
        + " bit/s, not " + std::to_string(nBitrate);
    return false;
}

AVSampleFormat ChooseSampleFormat(const AVCodec* pCodec)
{
    if (!pCodec->sample_fmts)
        return PREFERRED_SAMPLE_FORMAT;
    for (const AVSampleFormat* pFormat = pCodec->sample_fmts; *pFormat != AV_SAMPLE_FMT_NONE; ++pFormat) {
        if (*pFormat == PREFERRED_SAMPLE_FORMAT)
            return PREFERRED_SAMPLE_FORMAT;
    }
    return pCodec->sample_fmts[0];
}

} // namespace

CAudioStage::CAudioStage(const CRecordingSettings& settings, CSessionState& state)
    : CEncoderStage(settings, state, FRAME_QUEUE_SIZE, "audio")
{
}

bool CAudioStage::CheckMpegProfile(std::string& strReason) const
{
    if (m_settings.nAudioChannels < 1 || m_settings.nAudioChannels > 2) {
        strReason = "MPEG audio carries 1 or 2 channels, not " + std::to_string(m_settings.nAudioChannels);
        return false;
    }
    if (m_settings.nAudioSampleRate <= 0 || m_settings.nAudioBitrate <= 0) {
        strReason = "the audio sample rate and bitrate must be positive";
        return false;
    }
    // A bit rate among the encoder's own options replaces the profile's.
    const auto userOptions = m_settings.compressorOptions.find(m_settings.strAudioEncoder);
    if (userOptions != m_settings.compressorOptions.end() && userOptions->second.count("b"))
        return true;
    return CheckMpegAudioBitrate(m_settings.nAudioSampleRate, m_settings.nAudioBitrate, strReason);
}

bool CAudioStage::OpenEncoder(std::string& strReason)
{
    if (m_settings.nWorkMode == WORK_MODE_MPEG && !CheckMpegProfile(strReason))
        return false;
    const AVCodec* pCodec = AllocateEncoder(m_settings.strAudioEncoder, strReason);
    if (!pCodec)
        return false;
    AVCodecContext* pEncoder = m_pEncoder.get();
    pEncoder->sample_fmt = ChooseSampleFormat(pCodec);
    pEncoder->sample_rate = m_settings.nAudioSampleRate;
    if (m_settings.nAudioBitrate > 0)
        pEncoder->bit_rate = m_settings.nAudioBitrate;
    pEncoder->time_base = AVRational { 1, m_settings.nAudioSampleRate };
    av_channel_layout_default(&pEncoder->ch_layout, m_settings.nAudioChannels);
    if (!OpenEncoderWithOptions(pEncoder, pCodec, m_settings.compressorOptions, strReason))
        return false;
    // Encoders without a frame size of their own (PCM) take any; blocks
    // of a fixed size keep the packets small and evenly timed.
    m_nFrameSize = pEncoder->frame_size > 0 ? pEncoder->frame_size : FREE_FRAME_SAMPLES;
    m_pFifo.reset(av_audio_fifo_alloc(pEncoder->sample_fmt, m_settings.nAudioChannels, m_nFrameSize));
    m_pConverted.reset(av_frame_alloc());
    if (!m_pFifo || !m_pConverted) {
        strReason = "out of memory";
        return false;
    }
    return true;
}

void CAudioStage::Run()
{
    while (std::optional<CCapturedFrame> captured = Input().Pop()) {
        AVFrame* pFrame = captured->pFrame.get();
        if (m_state.m_bAudioMuted && !Silence(pFrame)) {
            m_bFailed = true;
            m_state.Fail(EFailure::eOutOfMemory, "out of memory");
        }
        m_state.RaiseAudioPeak(PeakAmplitude(pFrame));
        if (m_bFailed || !captured->bRecord || !m_pEncoder)
            continue;
        m_state.RaiseElapsed(captured->nTimeUs);
        Resample(captured->pFrame.get(), captured->nTimeUs);
        if (!m_bFailed)
            EncodeWholeFrames(false);
    }
    if (!m_pEncoder || m_bFailed)
        return;
    if (m_pResampler)
        Resample(nullptr, 0);
    if (EncodeWholeFrames(true))
        EncodeToMuxer(nullptr);
}

bool CAudioStage::Silence(AVFrame* pFrame)
{
    // A decoder's frame may share its buffers; the silence must not reach them.
    if (av_frame_make_writable(pFrame) < 0)
        return false;
    return av_samples_set_silence(pFrame->extended_data, 0, pFrame->nb_samples, pFrame->ch_layout.nb_channels,
                                  static_cast<AVSampleFormat>(pFrame->format))
        >= 0;
}

bool CAudioStage::SetUpResampler(const AVFrame* pFrame)
{
    SwrContext* pResampler = nullptr;
    // swr_alloc_set_opts2 only reads the layouts it is given.
    int nResult = swr_alloc_set_opts2(&pResampler, &m_pEncoder->ch_layout, m_pEncoder->sample_fmt,
                                      m_pEncoder->sample_rate, const_cast<AVChannelLayout*>(&pFrame->ch_layout),
                                      static_cast<AVSampleFormat>(pFrame->format), pFrame->sample_rate, 0, nullptr);
    m_pResampler.reset(pResampler);
    if (nResult < 0) {
        m_state.Fail(EFailure::eProcessing, "cannot convert the captured audio: " + AvErrorText(nResult));
        return false;
    }
    if (m_settings.nSyncMode != SYNC_MODE_NONE) {
        const std::pair<const char*, double> compensation[] = {
            { "min_comp", SYNC_MIN_COMPENSATION_SECONDS },
            { "max_soft_comp", SYNC_MAX_SOFT_COMPENSATION },
            { "comp_duration", SYNC_COMPENSATION_DURATION_SECONDS },
            { "min_hard_comp", SYNC_MIN_HARD_COMPENSATION_SECONDS },
        };
        for (const auto& [pszOption, dValue] : compensation) {
            nResult = av_opt_set_double(pResampler, pszOption, dValue, 0);
            if (nResult < 0) {
                m_state.Fail(EFailure::eProcessing,
                             std::string("the resampler refuses ") + pszOption + ": " + AvErrorText(nResult));
                return false;
            }
        }
    }
    nResult = swr_init(pResampler);
    if (nResult < 0) {
        m_state.Fail(EFailure::eProcessing, "cannot convert the captured audio: " + AvErrorText(nResult));
        return false;
    }
    m_nInputSampleRate = pFrame->sample_rate;
    return true;
}

void CAudioStage::Resample(const AVFrame* pFrame, std::int64_t nTimeUs)
{
    if (pFrame && !m_pResampler && !SetUpResampler(pFrame)) {
        m_bFailed = true;
        return;
    }
    const int nOutputRate = m_pEncoder->sample_rate;
    if (pFrame && m_settings.nSyncMode != SYNC_MODE_NONE) {
        // swr_next_pts works in units of 1 / (input rate * output rate).
        const std::int64_t nPts =
            av_rescale(nTimeUs, static_cast<std::int64_t>(m_nInputSampleRate) * nOutputRate, 1000000);
        const std::int64_t nOutputPts = swr_next_pts(m_pResampler.get(), nPts);
        if (m_bFirstRecorded)
            m_nNextPts = std::max<std::int64_t>(0, nOutputPts / m_nInputSampleRate);
        if (m_bFirstRecorded && m_settings.nWorkMode == WORK_MODE_AVI && !LeadInSilence())
            return;
    }
    m_bFirstRecorded = false;
    const int nInputSamples = pFrame ? pFrame->nb_samples : 0;
    const int nCapacity = swr_get_out_samples(m_pResampler.get(), nInputSamples);
    if (nCapacity <= 0)
        return;
    av_frame_unref(m_pConverted.get());
    m_pConverted->format = m_pEncoder->sample_fmt;
    m_pConverted->sample_rate = nOutputRate;
    m_pConverted->nb_samples = nCapacity;
    if (av_channel_layout_copy(&m_pConverted->ch_layout, &m_pEncoder->ch_layout) < 0
        || av_frame_get_buffer(m_pConverted.get(), 0) < 0) {
        m_bFailed = true;
        m_state.Fail(EFailure::eOutOfMemory, "out of memory");
        return;
    }
    const int nConverted =
        swr_convert(m_pResampler.get(), m_pConverted->extended_data, nCapacity,
                    pFrame ? const_cast<const uint8_t**>(pFrame->extended_data) : nullptr, nInputSamples);
    if (nConverted < 0) {
        m_bFailed = true;
        m_state.Fail(EFailure::eProcessing, "cannot convert the captured audio: " + AvErrorText(nConverted));
        return;
    }
    const int nWritten =
        av_audio_fifo_write(m_pFifo.get(), reinterpret_cast<void**>(m_pConverted->extended_data), nConverted);
    if (nWritten < nConverted) {
        m_bFailed = true;
        m_state.Fail(EFailure::eOutOfMemory,
                     "cannot queue the converted audio: " + AvErrorText(nWritten < 0 ? nWritten : AVERROR(ENOMEM)));
    }
}

bool CAudioStage::LeadInSilence()
{
    // AVI has no timestamps: audio that starts late starts with silence.
    const int nSamples = static_cast<int>(m_nNextPts);
    m_nNextPts = 0;
    if (nSamples == 0)
        return true;
    std::vector<std::uint8_t*> planes(static_cast<std::size_t>(m_settings.nAudioChannels));
    int nResult =
        av_samples_alloc(planes.data(), nullptr, m_settings.nAudioChannels, nSamples, m_pEncoder->sample_fmt, 0);
    if (nResult >= 0) {
        nResult = av_samples_set_silence(planes.data(), 0, nSamples, m_settings.nAudioChannels, m_pEncoder->sample_fmt);
        if (nResult >= 0)
            nResult = av_audio_fifo_write(m_pFifo.get(), reinterpret_cast<void**>(planes.data()), nSamples);
        av_freep(&planes[0]); // av_samples_alloc made one buffer for every plane
    }
    if (nResult < nSamples) {
        m_bFailed = true;
        m_state.Fail(EFailure::eOutOfMemory,
                     "cannot queue the lead-in silence: " + AvErrorText(nResult < 0 ? nResult : AVERROR(ENOMEM)));
        return false;
    }
    return true;
}

bool CAudioStage::EncodeWholeFrames(bool bPadLast)
{
    const int nFrameSize = m_nFrameSize;
    while (av_audio_fifo_size(m_pFifo.get()) >= nFrameSize || (bPadLast && av_audio_fifo_size(m_pFifo.get()) > 0)) {
        CFramePtr pFrame(av_frame_alloc());
        if (!pFrame) {
            m_state.Fail(EFailure::eOutOfMemory, "out of memory");
            return false;
        }
        pFrame->format = m_pEncoder->sample_fmt;
        pFrame->sample_rate = m_pEncoder->sample_rate;
        pFrame->nb_samples = nFrameSize;
        if (av_channel_layout_copy(&pFrame->ch_layout, &m_pEncoder->ch_layout) < 0
            || av_frame_get_buffer(pFrame.get(), 0) < 0) {
            m_state.Fail(EFailure::eOutOfMemory, "out of memory");
            return false;
        }
        const int nRead =
            av_audio_fifo_read(m_pFifo.get(), reinterpret_cast<void**>(pFrame->extended_data), nFrameSize);
        // An encoder with a frame size gets whole frames only, its last one
        // padded with silence: AVI counts such audio in frames. One without
        // (PCM) takes the rest as it is.
        if (nRead < nFrameSize && m_pEncoder->frame_size == 0) {
            pFrame->nb_samples = nRead;
        } else if (nRead < nFrameSize) {
            av_samples_set_silence(pFrame->extended_data, nRead, nFrameSize - nRead, m_settings.nAudioChannels,
                                   m_pEncoder->sample_fmt);
        }
        pFrame->pts = m_nNextPts;
        m_nNextPts += pFrame->nb_samples;
        if (!EncodeToMuxer(pFrame.get()))
            return false;
    }
    return true;
}
