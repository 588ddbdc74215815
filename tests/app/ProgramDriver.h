#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/SkinButton.h"
#include "settings/ConversionSettings.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"

// Drives the main window the way a person does: clicks on its skin's
// buttons, with the built-in sources chosen.

inline void ClickButton(CConverterDlg& dialog, const char* pszName)
{
    CSkinButton* pButton = dialog.FindButton(pszName);
    ASSERT_NE(pButton, nullptr) << pszName;
    QTest::mouseClick(pButton, Qt::LeftButton, {}, pButton->rect().center());
}

// How long a test waits for the built-in sources to get going, on a loaded
// machine and under the sanitizers.
inline constexpr int RECORDING_START_TIMEOUT_MS = 30000;

// Waits, without sleeping blind, until the window's encoder has run
// dSeconds; the encoder's last error otherwise.
inline ::testing::AssertionResult WaitForElapsed(const CEncorda& encoder, double dSeconds)
{
    if (WaitUntil([&] { return encoder.GetStatus().dElapsedSeconds >= dSeconds; }, RECORDING_START_TIMEOUT_MS))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << dSeconds << " s not reached: " << encoder.GetLastError().toStdString();
}

// The built-in sources at a picture small enough for a loaded build machine
// to keep up in real time, for a window started with them.
inline ConversionSettings BuiltInSourceSettings()
{
    ConversionSettings settings;
    settings.strVideoDeviceName = QStringLiteral("Test Pattern");
    settings.strAudioDeviceName = QStringLiteral("Test Tone");
    settings.nMpegWidth = 352;
    settings.nMpegHeight = 240;
    return settings;
}

// A test of the whole window on the program's own skins, in a current
// directory of its own, with the built-in sources and a scripted prompt.
class CProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        ASSERT_TRUE(m_current.IsValid());
    }

    CProgramCurrentDirectory m_current;
    // What the test's windows start with.
    ConversionSettings m_settings = BuiltInSourceSettings();
    CScriptedPrompt m_prompt;
};
