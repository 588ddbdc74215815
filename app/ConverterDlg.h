#pragma once

#include <QTimer>

#include "skin/SkinDialog.h"

// The program's main window: loads the default skin at start, keeps a place
// for the recorder at the skin's control rectangle and answers the skin's
// commands.
class CConverterDlg : public CSkinDialog
{
    Q_OBJECT

public:
    static inline const QString DEFAULT_SKIN = QStringLiteral("Pink.skn");
    // How often the exit button repaints.
    static constexpr int EXIT_REFRESH_MS = 50;

    explicit CConverterDlg(IPrompt& prompt, QWidget* pParent = nullptr);

    // Where the recorder sits: the skin's control rectangle.
    QWidget* RecorderArea() const { return m_pRecorderArea; }

protected:
    void OnSkinCommand(const QString& strName) override;
    // Options have no effect in this window.
    void OnSkinOptionSelected(const QString&) override {}
    void OnSkinChanged() override;

private:
    void LoadStartupSkin();
    void PlaceRecorderArea();
    void RefreshExitButton();

    QWidget* m_pRecorderArea = nullptr;
    QTimer m_timerExitRefresh;
};
