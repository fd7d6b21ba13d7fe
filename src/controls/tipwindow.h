#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

namespace kav {

// A borderless window that shows a short mark-up text beside a point of the screen; a click
// anywhere (on it or elsewhere in the program), Escape, or the application or the window losing
// the focus, hides it. Whatever shows tips owns one.
class TipWindow : public QWidget {
public:
    TipWindow();

    void showMarkupTip(const QString& markup, QPoint point, bool above, int width);
    const QString& htmlText() const { return m_htmlText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_htmlText;
};

// A label whose owner may take over its painting.
class OwnerDrawnLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void(OwnerDrawnLabel* sender)> onPaint;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kav
