#pragma once

#include <QString>

// The choices of the settings dialogs, read by the conversion commands when
// a command is given. The main window holds the one store of a run and hands
// it to its dialogs; every start begins from these defaults and nothing is
// saved. UI thread only.
struct ConversionSettings
{
    // Devices (the device dialogs)
    QString strVideoDeviceName;
    int nVideoDeviceIndex = 0;
    QString strVideoFormatName;
    int nVideoFormatIndex = 0;
    QString strVideoInputName;
    int nVideoInputIndex = 0;
    QString strAudioDeviceName;
    int nAudioDeviceIndex = 0;
    QString strAudioInputName;
    int nAudioInputIndex = 0;

    // Compressors and capture switches (the AVI profile dialog)
    bool bUseVideoCompressor = false;
    QString strVideoCompressorName;
    int nVideoCompressorIndex = 9;
    bool bUseAudioCompressor = false;
    QString strAudioCompressorName;
    int nAudioCompressorIndex = 3;
    bool bUseCustomFrame = false;
    int nCustomFrameWidth = 320;
    int nCustomFrameHeight = 240;
    bool bUseVideoCompressorWhenCapture = true;
    bool bUseAudioCompressorWhenCapture = true;
    bool bShowPreviewWhenCapture = true;
    bool bAudioCapture = true;
    bool bVideoCapture = true;
    bool bMuteTV = true;

    // MPEG profile (the MPEG profile dialog)
    double dFrameRate = 23.976;
    int nFrameRateIndex = 0;
    int nAudioSampleRate = 44100;
    int nAudioSampleRateIndex = 1;
    int nVideoBitrate = 4600000;
    int nAudioBitrate = 224000;
    int nAudioChannels = 2;
    int nMpegWidth = 720;
    int nMpegHeight = 480;
    bool bScaleTo16By9 = false;

    // Synchronisation and frame picture (the sync mode and frame dialogs)
    int nSyncMode = 1;
    QString strSyncModeName;
    int nAudioOffset = 1;
    int nFramePictureIndex = 0;
    QString strFramePictureName;
};
