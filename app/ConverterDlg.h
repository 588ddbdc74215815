#pragma once

#include <QDialog>
#include <QIcon>
#include <QTimer>

#include "encoder/Encorda.h"
#include "settings/AudioDeviceDlg.h"
#include "settings/AviProfileDlg.h"
#include "settings/EncoderOwner.h"
#include "settings/MpegProfileDlg.h"
#include "settings/SyncModeDlg.h"
#include "settings/VideoDeviceDlg.h"
#include "settings/VideoFrameDlg.h"
#include "skin/SkinDialog.h"

// The program's main window: loads the default skin at start, hosts the
// recorder in the skin's control rectangle and turns the skin's commands
// into recordings and settings dialogs.
class CConverterDlg : public CSkinDialog, public IEncoderOwner
{
    Q_OBJECT

public:
    static inline const QString DEFAULT_SKIN = QStringLiteral("Pink.skn");
    // How often the exit button repaints.
    static constexpr int EXIT_REFRESH_MS = 50;
    // The output-type selector's rows.
    static inline const QString MPEG1_ROW = QStringLiteral("MPEG1");
    static inline const QString MPEG2_ROW = QStringLiteral("MPEG2");
    static inline const QString AVI_ROW = QStringLiteral("AVI");
    static constexpr int AVI_ROW_INDEX = 2;
    static inline const QString CAPTURE_FAILURE =
        QStringLiteral("Capture Failure, Video/Audio compressor not correct or capture file opening");
    static inline const QString FILE_BEING_RECORDED =
        QStringLiteral("This file is being recorded now. Choose another file for the new recording.");

    explicit CConverterDlg(IPrompt& prompt, QWidget* pParent = nullptr);

    // The settings dialogs reach the recorder through their owner.
    CEncorda& Encoder() override { return m_encoder; }
    IPrompt& MessagePrompt() override { return Prompt(); }
    QDialog& VideoFrameDlg() { return m_videoFrameDlg; }
    bool IsPaused() const { return m_paused; }

    // ISkinParent: the shared flag is what the repaint timer reads.
    void SetDropDownOpen(bool bOpen) override;

    // The level meter's position, 0 to 100, for a level in dB of full scale:
    // -60 dB and below show empty, 0 dB full, linearly between.
    static int LevelMeterPosition(double dDbfs);

    // ISkinParent: the mute box acts at once.
    CSkinCheck* OnCheckClicked(int nIndex) override;

    // The program was asked to end (a signal): the recording is stopped as
    // by the Stop button, dialogs open over the window are dismissed, and
    // the window closes.
    void EndOnQuitSignal();

protected:
    void OnSkinCommand(const QString& strName) override;
    // Options have no effect in this window.
    void OnSkinOptionSelected(const QString&) override {}
    void OnSkinSliderMoved(const QString& strName, int nPos) override;
    void OnSkinChanged() override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void LoadStartupSkin();
    void PlaceEncoder();
    void FillOutputTypes();
    // The selector's selection mark: 0 MPEG1, 1 MPEG2, 2 AVI, -1 none.
    int OutputTypeRow() const;
    void RefreshExitButton();
    void ShowButton(const QString& strName, bool bShow);

    // The conversion commands.
    void ApplyDeviceSelections();
    void Convert();
    void Play();
    // What Play sends of the custom frame; Convert too, for AVI.
    void WriteCustomFrame();
    void Pause();
    void Stop();
    // Play shown, Pause hidden, not paused.
    void ShowStopped();
    void OnRecordingFinished(const QString& strError);
    void ShowAudioLevel();
    // A new skin's mute box shows the state the recorder is in.
    void ShowMuteState();

    CEncorda m_encoder;
    QIcon m_hIcon;
    bool m_paused = false;
    // The output type the user last chose, kept across skin changes.
    int m_nOutputTypeRow = 0;
    CMpegProfileDlg m_mpegProfileDlg;
    CVideoFrameDlg m_videoFrameDlg;
    CAviProfileDlg m_aviProfileDlg;
    CSyncModeDlg m_syncModeDlg;
    CAudioDeviceDlg m_audioDeviceDlg;
    CVideoDeviceDlg m_videoDeviceDlg;
    QTimer m_timerExitRefresh;
};
