#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QPushButton;
class QTimer;

namespace host {

// The small frameless window that says the screen is working: an animation, and under it a status
// text for the kinds that carry one. It never takes the focus or the activation, so showing it
// changes nothing for the form underneath. Activations nest: the innermost shows, and when it ends
// the one around it shows again.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    BusyIndicator();

    void push(QWidget* over, int kind, const QString& caption);
    void pop();
    int depth() const { return static_cast<int>(levels_.size()); }
    int kind() const { return levels_.empty() ? -1 : levels_.back().kind; }
    QString caption() const { return levels_.empty() ? QString() : levels_.back().caption; }

    // Shows Cancelar under the text; pressing it (or Esc) runs cancel once. Withdrawn with the
    // call it belongs to, or when the indicator goes.
    void offerCancel(std::function<void()> cancel);
    void withdrawCancel();
    bool cancelOffered() const { return static_cast<bool>(cancel_); }
    // Cancelar, as if pressed; nothing when it is not offered.
    void pressCancel();
    QPushButton* cancelButton() const { return cancelButton_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Level {
        int kind;
        QString caption;
    };
    void present(QWidget* over);

    std::vector<Level> levels_;
    QPointer<QWidget> over_;
    // The window that was active when the indicator came up; it gets the activation back.
    QPointer<QWidget> wasActive_;
    QTimer* timer_;
    QPushButton* cancelButton_;
    std::function<void()> cancel_;
    int frame_ = 0;
};

// The process's indicator, created on first use.
BusyIndicator& TheBusyIndicator();
// The indicator if it was ever shown, or nothing.
BusyIndicator* ExistingBusyIndicator();
void DestroyBusyIndicator();

} // namespace host
