#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>
#include <QString>

class CRecorder;
class QLabel;
class QWidget;
struct CCompressorOption;
enum class ECompressorKind;

// A compressor's settings: one row per option of the encoder (its own, then
// the generic ones), labelled with FFmpeg's help text and named in its
// tooltip. A row is a drop-down where the option has named values, a list
// of check boxes for flags, a text field otherwise; empty, or the drop-down's
// default entry, or the default flags, keep the encoder's default. Restore
// Defaults puts every row back so. OK stores every change in the recorder,
// or names the value the encoder refuses and stays open.
class CCompressorPage : public QDialog
{
    Q_OBJECT

public:
    CCompressorPage(CRecorder& recorder, ECompressorKind eKind, short nIndex, QWidget* pParent);

    void accept() override;

private:
    struct CRow
    {
        QString strOption;
        QString strInitial;
        // A QComboBox for named values, a QListWidget for flags, else a
        // QLineEdit.
        QWidget* pEditor = nullptr;
        std::int64_t nDefaultFlags = 0;
    };

    static QWidget* MakeEditor(const CCompressorOption& option, const QString& strValue);
    static QString EditorValue(const CRow& row);
    static void ClearEditor(const CRow& row);
    void ClearAll();

    CRecorder& m_recorder;
    ECompressorKind m_eKind;
    short m_nIndex;
    std::vector<CRow> m_arrRows;
    QLabel* m_pError = nullptr;
};
