#include "app/SendLogWindow.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/SendLogStore.h"
#include "res/Messages.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {
constexpr int kRefreshMs = 300;
constexpr char kObjectName[] = "sendLogWindow";
} // namespace

SendLogWindow::SendLogWindow(SendLogStore& store, QWidget* parent)
    : QDialog(parent), m_store(store), m_text(new QPlainTextEdit(this)),
      m_copy(new QPushButton(ToQString(kSendLogCopy), this)), m_clear(new QPushButton(ToQString(kSendLogClear), this)),
      m_timer(new QTimer(this))
{
    setObjectName(kObjectName);
    setWindowTitle(ToQString(kSendLogTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setAccessibleName(ToQString(kSendLogTitle));
    auto* close = new QPushButton(ToQString(kSendLogClose), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(760, 360);

    connect(m_copy, &QPushButton::clicked, this, &SendLogWindow::OnCopy);
    connect(m_clear, &QPushButton::clicked, this, &SendLogWindow::OnClear);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_timer, &QTimer::timeout, this, &SendLogWindow::Refresh);
    m_timer->start(kRefreshMs);
    Refresh();
}

void SendLogWindow::Refresh()
{
    const size_t generation = m_store.Generation();
    if (generation == m_shownGeneration) return;
    m_shownGeneration = generation;
    QStringList lines;
    for (const std::string& line : m_store.Lines()) lines << QString::fromStdString(line);
    m_text->setPlainText(lines.join('\n'));
    // Newest last, and in view.
    m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->maximum());
}

void SendLogWindow::OnCopy()
{
    Refresh();
    QString text = m_text->toPlainText();
    if (!text.isEmpty()) text += '\n';
    QGuiApplication::clipboard()->setText(text);
}

void SendLogWindow::OnClear()
{
    m_store.Clear();
    Refresh();
}

SendLogWindow* ShowSendLogWindow(QWidget* owner)
{
    auto* window = owner->findChild<SendLogWindow*>(kObjectName, Qt::FindDirectChildrenOnly);
    if (!window) window = new SendLogWindow(TheSendLog(), owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace tallyx
