// Loads the input as a skin package the way the window does: unpacked into
// a private folder, Skin.ini read, every control made and the window drawn,
// on the offscreen platform with one application for the whole run.

#include <cstddef>
#include <cstdint>

#include <QApplication>

#include "fuzz/FuzzInput.h"
#include "skin/Prompt.h"
#include "skin/SkinDialog.h"

namespace {

// Messages a person would see are not what the fuzzer looks for; every
// question is answered No, so a damaged package is never retried.
class CSilentPrompt : public IPrompt
{
public:
    void ShowMessage(const QString&, EIcon, const QString&) override { }
    EAnswer AskYesNo(const QString&, EIcon) override { return EAnswer::No; }
    QString AskSaveFile(const QString&, const QStringList&, const QString&, const QString&) override
    {
        return QString();
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns on every shaped window; printing that for
    // each input would take much of the run. A fatal message still aborts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // One application for the whole run, as the program has, and never
    // destroyed: libFuzzer ends with exit(), when a static's destructor
    // would meet Qt's thread storage already gone.
    static const QApplication* const pApplication = new QApplication(*pArgc, *pArgv);
    Q_UNUSED(pApplication);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const QString strPackage = WriteFuzzInput(QStringLiteral("input.skn"), pData, nSize);
    if (strPackage.isEmpty())
        return 0;
    {
        CSilentPrompt prompt;
        CSkinDialog dialog(prompt);
        dialog.MakeSkinCurrent(strPackage);
        // Shown first, as the program shows it: a hidden widget's picture
        // would take in its children wherever they lie, far outside any
        // window.
        dialog.show();
        dialog.grab();
    }
    // What the skin load handed to the event loop to delete, and anything
    // else it queued, is done before the next input.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
