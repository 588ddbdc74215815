// A skin names its files inside its package; whatever a name says, the
// window opens nothing outside it.

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

// Counts the openings of watched files. The kernel queues each event as the
// file is opened, so once a call returns its openings can be read at once.
class COpenWatch
{
public:
    COpenWatch()
        : m_nDescriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(m_nDescriptor, 0);
    }
    COpenWatch(const COpenWatch&) = delete;
    COpenWatch& operator=(const COpenWatch&) = delete;
    ~COpenWatch() { ::close(m_nDescriptor); }

    void Watch(const QString& strPath)
    {
        EXPECT_GE(inotify_add_watch(m_nDescriptor, QFile::encodeName(strPath).constData(), IN_OPEN), 0)
            << qPrintable(strPath);
    }

    int TakeOpenings()
    {
        int nOpenings = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t nRead = ::read(m_nDescriptor, buffer, sizeof(buffer));
            if (nRead <= 0)
                return nOpenings;
            for (ssize_t nAt = 0; nAt < nRead;) {
                const auto* pEvent = reinterpret_cast<const inotify_event*>(buffer + nAt);
                nOpenings += (pEvent->mask & IN_OPEN) ? 1 : 0;
                nAt += ssize_t(sizeof(inotify_event) + pEvent->len);
            }
        }
    }

private:
    int m_nDescriptor;
};

TEST(SkinConfinement, FilesOutsideThePackageAreNeverOpened)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CTestSkinFolder outside(dir.filePath("outside"));
    const CTestSkinFolder skin(dir.filePath("Test"));
    outside.WriteBackground("back.bmp", QSize(120, 80), Qt::darkBlue, 0);
    outside.WriteStrip("strip.bmp", { Qt::red });
    skin.WriteStrip("strip.bmp", { Qt::green });
    ASSERT_TRUE(QFile::link(outside.FilePath("back.bmp"), skin.FilePath("back.bmp")));
    ASSERT_TRUE(QFile::link(outside.FilePath("strip.bmp"), skin.FilePath("link.bmp")));
    const struct
    {
        const char* pszEscape;
        QString strBackground;
        QString strStrip;
    } rows[] = {
        { "absolute", outside.FilePath("back.bmp"), outside.FilePath("strip.bmp") },
        { "climbing out", "../outside/back.bmp", "..\\outside\\STRIP.bmp" },
        { "a link inside pointing out", "back.bmp", "link.bmp" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszEscape);
        skin.WriteIni("[Screen]\nMain=" + row.strBackground + "\n[ICON]\nICON=" + row.strStrip
                      + ",0,0,8,8\n[BUTTONINFO]\n1=BUTTON_A," + row.strStrip
                      + ",0,0,8,8,,\n[PROGRESSINFO]\n1=PROGRESS_LEVEL,0,10,40,18," + row.strStrip
                      + "\n[SLIDERINFO]\n1=SLIDER_A," + row.strStrip + ',' + row.strStrip + ',' + row.strStrip
                      + ",0,20,40,30,H,0,\n");
        COpenWatch watch;
        watch.Watch(outside.FilePath("back.bmp"));
        watch.Watch(outside.FilePath("strip.bmp"));
        CScriptedPrompt prompt;
        CSkinTestDialog dialog(prompt);
        dialog.SetSkinFile(skin.SkinFile());
        dialog.LoadSkin();
        EXPECT_EQ(watch.TakeOpenings(), 0);
        EXPECT_TRUE(dialog.BackgroundCopy().isNull());
    }
}

} // namespace
