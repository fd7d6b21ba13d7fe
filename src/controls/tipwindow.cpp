#include "controls/tipwindow.h"

#include "controls/markup.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace kav {

namespace {
constexpr int kMargin = 10;
}

TipWindow::TipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    setPalette(p);
    // Another window taking the focus, or the application losing it, hides the tip.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            hide();
    });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window && window != windowHandle())
            hide();
    });
}

void TipWindow::showMarkupTip(const QString& markup, QPoint point, bool above, int width)
{
    m_htmlText = markup;
    width = std::max(width, 2 * kMargin + 1);
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter measure(&scratch);
    measure.setFont(font());
    const int textHeight
        = drawMarkupText(measure, markup, QRect(kMargin, kMargin, width - 2 * kMargin, 1000), true).height;
    measure.end();
    const int height = textHeight + 2 * kMargin;
    QPoint topLeft(point.x() - width / 2, above ? point.y() - height : point.y());
    // Kept inside the screen at the right and the bottom.
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect s = screen->geometry();
        if (topLeft.x() + width > s.right() + 1)
            topLeft.setX(s.right() + 1 - width);
        if (topLeft.y() + height > s.bottom() + 1)
            topLeft.setY(s.bottom() + 1 - height);
    }
    setGeometry(QRect(topLeft, QSize(width, height)));
    show();
    update();
}

void TipWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    drawMarkupText(p, m_htmlText, rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), false);
}

void TipWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    qApp->installEventFilter(this);
}

void TipWindow::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

bool TipWindow::eventFilter(QObject* watched, QEvent* event)
{
    // While shown it watches the whole program: any click, or Escape, puts it away.
    const QEvent::Type type = event->type();
    const bool click = type == QEvent::MouseButtonPress || type == QEvent::NonClientAreaMouseButtonPress;
    const bool escape = type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (click || escape)
        hide();
    return QWidget::eventFilter(watched, event);
}

void OwnerDrawnLabel::paintEvent(QPaintEvent* event)
{
    if (onPaint)
        onPaint(this);
    else
        QLabel::paintEvent(event);
}

} // namespace kav
