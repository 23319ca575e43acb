#pragma once
// One receipt on the virtual printer's roll: its paper, drawn crisp (whole dots, never
// blurred) at the scale the roll gives it, and a tear line where it was cut. Screen
// readers hear its printed text through its accessible description.
#include <QImage>
#include <QStringList>
#include <QWidget>

namespace tallyx {

class ReceiptView : public QWidget {
    Q_OBJECT
public:
    ReceiptView(int number, QWidget* parent = nullptr);

    // The paper so far; `cut`: it is finished and ends with a tear line, which a partial cut
    // leaves joined in the middle.
    void SetPaper(const QImage& image, const QStringList& lines, bool cut, bool partial = false);
    // Shown width of the paper in pixels: the paper's own width when it fits, smaller when not.
    void SetAvailableWidth(int width);

    const QImage& Image() const { return m_image; }
    const QStringList& Lines() const { return m_lines; }
    bool IsCut() const { return m_cut; }
    bool IsPartialCut() const { return m_cut && m_partial; }
    int Number() const { return m_number; }
    QSize sizeHint() const override;

signals:
    void SaveRequested(tallyx::ReceiptView* view);
    void ClearRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QSize PaperSize() const;

    int m_number;
    QImage m_image;
    QStringList m_lines;
    bool m_cut = false;
    bool m_partial = false;
    int m_available = 0;
};

} // namespace tallyx
