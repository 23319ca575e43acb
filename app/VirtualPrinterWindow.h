#pragma once
// "虚拟打印机 — 127.0.0.1:PORT · PTY": the virtual printer's whole roll for this run, every
// receipt newest at the bottom with a tear line where it was cut, following the newest
// output unless the operator has scrolled up to read.
#include <QImage>
#include <QList>
#include <QStringList>
#include <QMainWindow>
#include <cstdint>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QVBoxLayout;

namespace tallyx {

namespace vprinter {
class VirtualPrinter;
}
class ReceiptView;

// "虚拟打印机 — 127.0.0.1:9100 · /tmp/tallyx-vprinter-42"; a part that is not there is left out.
QString RollTitle(const std::string& host, uint16_t tcpPort, const std::string& ptyPath);

// What the empty roll says: how to reach the printer from the main window (and its page).
QString EmptyRollHint(const std::string& host, uint16_t tcpPort, const std::string& ptyPath, const std::string& page);

// Where a window of `size` (frame included) goes: wholly inside `screen`, beside `main`
// (right, else left) when there is room, and over it otherwise.
QRect PlaceBeside(const QRect& main, const QRect& screen, QSize size);
// Where the main window goes so that the two stand side by side: unchanged when there is
// room beside it already or the screen is too narrow for both, else the pair centred.
QPoint MakeRoomBeside(const QRect& main, const QRect& screen, QSize size);

class VirtualPrinterWindow : public QMainWindow {
    Q_OBJECT
public:
    // The printer must outlive the window; the window sets the printer's change callback
    // and clears it again when it is destroyed.
    explicit VirtualPrinterWindow(vprinter::VirtualPrinter& printer, QWidget* parent = nullptr);
    ~VirtualPrinterWindow() override;

    // Moves and sizes the window beside the main window's frame, on that screen.
    void PlaceNextTo(const QRect& mainFrame, const QRect& screen);
    // The frame size the window asks for.
    static QSize WantedFrame();

    // A finished receipt joins the roll, with the text lines it printed (may be empty).
    void AddReceipt(const QImage& image, const QStringList& lines);
    // The receipt still coming out (null: none).
    void SetGrowing(const QImage& image);
    // Forgets every finished receipt.
    void ClearRoll();
    // Saves one receipt as a PNG file; false when it could not be written.
    static bool SaveReceipt(const ReceiptView& view, const QString& path);

    // The roll as it stands: finished receipts, then the growing one when there is one.
    QList<ReceiptView*> Receipts() const;
    bool FollowsNewest() const { return m_follow; }
    // What the window shows of the newest receipt (for tests).
    QImage ShownImage() const;
    // How to reach the printer, shown while the roll is empty.
    const QLabel* Hint() const { return m_hint; }
    // The menu of the printer's sensors: one check box per condition.
    QMenu* StatusMenu() const { return m_statusMenu; }

signals:
    // Emitted on a printer thread, delivered on the window's thread.
    void PrinterChanged(int finished, QImage image, QStringList lines, QString voice);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnPrinterChanged(int finished, const QImage& image, const QStringList& lines, const QString& voice);
    void OnSave(ReceiptView* view);

private:
    ReceiptView* NewView();
    void FitWidths();
    void BuildStatusMenu();
    void OnStatusToggled();

    vprinter::VirtualPrinter& m_printer;
    QScrollArea* m_scroll;
    QWidget* m_roll;
    QVBoxLayout* m_rollLayout;
    QLabel* m_hint = nullptr;
    QMenu* m_statusMenu = nullptr;
    QList<QAction*> m_conditions;   // in the order of vprinter::kStatusConditions
    QList<ReceiptView*> m_finished;
    ReceiptView* m_growing = nullptr;
    int m_finishedSeen = 0;
    int m_numbered = 0;
    bool m_follow = true;
};

} // namespace tallyx
