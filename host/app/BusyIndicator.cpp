#include "host/app/BusyIndicator.h"

#include "host/app/TApplication.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace host {

namespace {

std::unique_ptr<BusyIndicator>& slot() {
    static std::unique_ptr<BusyIndicator> indicator;
    return indicator;
}

constexpr int kSpokes = 12;

} // namespace

BusyIndicator* ExistingBusyIndicator() {
    return slot().get();
}

void DestroyBusyIndicator() {
    slot().reset();
}

BusyIndicator& TheBusyIndicator() {
    if (!slot())
        slot() = std::make_unique<BusyIndicator>();
    return *slot();
}

BusyIndicator::BusyIndicator()
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      timer_(new QTimer(this)), cancelButton_(new QPushButton(QStringLiteral("Cancelar"), this)) {
    cancelButton_->setObjectName(QStringLiteral("btnCancelar"));
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, [this] { pressCancel(); });
    setObjectName(QStringLiteral("ShowAvi"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kSpokes;
        update();
    });
}

QSize BusyIndicator::sizeHint() const {
    const QSize base = caption().isEmpty() ? QSize(96, 96) : QSize(300, 110);
    return cancel_ ? QSize(std::max(base.width(), 160), base.height() + 36) : base;
}

void BusyIndicator::offerCancel(std::function<void()> cancel) {
    cancel_ = std::move(cancel);
    cancelButton_->setEnabled(true);
    cancelButton_->show();
    if (!levels_.empty())
        present(over_);
}

void BusyIndicator::withdrawCancel() {
    if (!cancel_)
        return;
    cancel_ = nullptr;
    cancelButton_->hide();
    if (!levels_.empty())
        present(over_);
}

void BusyIndicator::pressCancel() {
    // Once only: the call ends as soon as it can, and a second press must not reach the next one.
    if (std::function<void()> cancel = std::exchange(cancel_, nullptr)) {
        cancelButton_->setEnabled(false);
        cancel();
    }
}

void BusyIndicator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize button(100, 26);
    cancelButton_->setGeometry(
        QRect(QPoint((width() - button.width()) / 2, height() - button.height() - 8), button));
}

void BusyIndicator::push(QWidget* over, int kind, const QString& caption) {
    if (levels_.empty())
        wasActive_ = QApplication::activeWindow();
    levels_.push_back({kind, caption});
    present(over);
}

void BusyIndicator::pop() {
    if (levels_.empty())
        return;
    levels_.pop_back();
    if (levels_.empty()) {
        withdrawCancel();
        timer_->stop();
        hide();
        // Some platforms leave no window active once a tool window hides; the focus of the form
        // the indicator covered must not be lost with it.
        if (wasActive_ && !QApplication::activeWindow())
            wasActive_->activateWindow();
        emit Application().busyEnded();
        return;
    }
    present(over_);
}

void BusyIndicator::present(QWidget* over) {
    over_ = over;
    resize(sizeHint());
    QRect area;
    if (over && over->isVisible())
        area = QRect(over->mapToGlobal(QPoint(0, 0)), over->size());
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
    show();
    if (!Headless())
        raise();
    timer_->start();
    // The call this announces blocks the event loop: the window must be on the screen before it
    // starts, but no click or key may reach the form meanwhile.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().dark().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const bool withText = !caption().isEmpty();
    const QPointF centre(width() / 2.0, withText ? 38.0 : height() / 2.0);
    const double outer = 22, inner = 10;
    for (int i = 0; i < kSpokes; ++i) {
        QColor colour = palette().highlight().color();
        colour.setAlphaF(0.15 + 0.85 * ((i + kSpokes - frame_) % kSpokes) / double(kSpokes));
        painter.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.translate(centre);
        painter.rotate(i * 360.0 / kSpokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer));
        painter.restore();
    }
    if (withText) {
        painter.setPen(palette().windowText().color());
        const int below = cancel_ ? 36 : 0;
        painter.drawText(QRect(8, 70, width() - 16, height() - 78 - below),
                         Qt::AlignCenter | Qt::TextWordWrap, caption());
    }
}

} // namespace host
