#pragma once
// "BarCode" (template 133): a one-dimensional barcode, its readable line, bar height,
// module width and margin chosen, the data typed and checked, then printed.
#include "dialogs/CTemplateDlg.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tallyx {

class CBarCodeDlg : public CTemplateDlg {
    Q_OBJECT
public:
    CBarCodeDlg(Sender& sender, QWidget* parent);

    // Selection indexes of the readable-line position, its font and the symbology, and the
    // numbers of the height, width and margin edits, from their defaults at every opening.
    int g_hriPosition;
    int g_hriFont;
    int g_symbology;
    int g_barHeight;
    int g_barWidth;
    int g_barLeftMargin;

    // save: the controls into the state (a number field that holds no integer is reported
    // and keeps its value; returns false then); otherwise the state into the controls.
    bool UpdateData(bool save);

public slots:
    void OnBarcodePrint();
    void OnSelchangeSymbology();

private:
    QComboBox* m_hriPosition;
    QComboBox* m_hriFont;
    QComboBox* m_type;
    QLineEdit* m_height;
    QLineEdit* m_width;
    QLineEdit* m_margin;
    QLabel* m_hint;
    QLineEdit* m_data;
};

} // namespace tallyx
