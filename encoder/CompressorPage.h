#pragma once

#include <vector>

#include <QDialog>
#include <QString>

class CRecorder;
class QLabel;
class QWidget;
struct CCompressorOption;
enum class ECompressorKind;

// A compressor's settings: one row per option of the encoder (its own, then
// the generic ones), empty when it keeps the default. Emptying a row, or
// Restore Defaults for all of them, puts the option back to its default. OK
// stores every change in the recorder, or names the value the encoder
// refuses and stays open.
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
        QWidget* pEditor = nullptr; // a QComboBox for named values, else a QLineEdit
    };

    QWidget* MakeEditor(const CCompressorOption& option, const QString& strValue);
    static QString EditorValue(const QWidget* pEditor);
    static void ClearEditor(QWidget* pEditor);
    void ClearAll();

    CRecorder& m_recorder;
    ECompressorKind m_eKind;
    short m_nIndex;
    std::vector<CRow> m_arrRows;
    QLabel* m_pError = nullptr;
};
