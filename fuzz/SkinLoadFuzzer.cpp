// Loads the input as a skin package the way the window does: unpacked into
// a private folder, Skin.ini read, every control made and the window drawn,
// on the offscreen platform with one application for the whole run.

#include <cstddef>
#include <cstdint>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

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
    // Lives for the whole run; libFuzzer never returns to main's end.
    new QApplication(*pArgc, *pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const QTemporaryDir workFolder;
    const QString strPackage = workFolder.filePath("input.skn");
    {
        QFile file(strPackage);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(pData), qint64(nSize));
    }
    {
        CSilentPrompt prompt;
        CSkinDialog dialog(prompt);
        dialog.MakeSkinCurrent(strPackage);
        dialog.grab();
    }
    // What the skin load handed to the event loop to delete, and anything
    // else it queued, is done before the next input.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
